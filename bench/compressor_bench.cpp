// Cost of one compressor evaluation at a typical operating point, with the property libraries of
// the build: an EN 12900 polynomial model, a vapour-injection model and a transcritical CO2
// model.
//
//   build/bin/compressor_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "compressor.hpp"
#include "operating_conditions.hpp"
#include "product_records.hpp"
#include "property_library.hpp"
#include "rating_set_builder.hpp"
#include "refrigerant.hpp"

namespace {

using namespace kelvra;

constexpr std::array<double, 10> kCapacity = {20.0, 0.7, -0.25, 0.009, -0.004, 0.0005, 0, 0, 0, 0};
constexpr std::array<double, 10> kPower = {1.2, 0.005, 0.045, 0.0, 0.0, 0.0002, 0, 0, 0, 0};
constexpr std::array<double, 10> kCurrent = {3.0, 0.0, 0.06, 0, 0, 0, 0, 0, 0, 0};

// Libraries, refrigerants, envelope types and the three models, built once.
struct Models {
    Models() {
        loaded = LoadPropertyLibraries();
        r134a = std::make_unique<Trefrigerant>("R134a", 1, 'N', 1.1f);
        co2 = std::make_unique<Trefrigerant>("R744", 10, 'N', 1.3f);
        data.AddEnvelopeType(1, 1, 30.0f);
        supply.voltage = 400.0f;
        supply.phases = 3.0f;

        const auto base = [](int kind) {
            RatingSetBuilder b(1);
            b.Kind(kind)
                .Displacement(0.0055)
                .Coefficients(CoefficientBlock::A, kCapacity)
                .Coefficients(CoefficientBlock::B, kPower)
                .Coefficients(CoefficientBlock::C, kCurrent)
                .RatedSuperheat(10.0f)
                .Envelope(1, 1, {{-50, -10}, {-50, 75}}, {{20, -10}, {20, 75}})
                .ForCompressor(1, 1);
            return b;
        };
        polynomial = Make(*r134a, data.Build(base(rating_kind::EN12900)));
        injection =
            Make(*r134a, data.Build(base(rating_kind::InjectionTemperature)
                                        .Coefficients(CoefficientBlock::D,
                                                      {20, 0.2, 0.3, 0, 0, 0, 0, 0, 0, 0})));
        RatingSetBuilder c(1);
        c.Kind(rating_kind::CO2Pressure)
            .TechnologyCode(TcrateObj::kTechCO2Transcritical)
            .Displacement(0.0014)
            .Coefficients(CoefficientBlock::D, {0.11, 0.003, -0.0002, 0, 0, 0, 0, 0, 0, 0})
            .Coefficients(CoefficientBlock::B, {1.0, 0.03, 0.05, 0, 0, 0, 0, 0, 0, 0})
            .Coefficients(CoefficientBlock::C, {5.0, 0.0, 0.1, 0, 0, 0, 0, 0, 0, 0})
            .RatedSuperheat(10.0f)
            .Envelope(1, 1, {{-45, 75}, {-45, 130}}, {{5, 75}, {5, 130}})
            .ForCompressor(10, 1);
        transcritical = Make(*co2, data.Build(c));

        // A typical point: -10 / 40 degC, 20 K superheat, 3 K subcooling.
        point.evapTemp = -10;
        point.condTemp = 40;
        point.superheat = 20;
        point.subcooling = 3;
        Resolve(point, r134a.get());
        co2Point.evapTemp = -10;
        co2Point.condTemp = 35;
        co2Point.condPressure = 90;
        co2Point.gasCoolerOutletTemp = 35;
        co2Point.superheat = 20;
        Resolve(co2Point, co2.get());
        // Sixteen different transcritical points, so that no evaluation repeats its predecessor's
        // states: 80..110 bar, gas-cooler outlet 32..40 degC, evaporating -15..-5 degC.
        for (int k = 0; k < 16; ++k) {
            OperatingConditions c = co2Point;
            c.condPressure = 80 + 2 * k;
            c.gasCoolerOutletTemp = 32 + (k % 5) * 2;
            c.condTemp = c.gasCoolerOutletTemp;
            c.evapTemp = -15 + (k % 3) * 5;
            Resolve(c, co2.get());
            co2Points.push_back(c);
        }
    }
    ~Models() { UnloadPropertyLibraries(); }

    std::unique_ptr<TComp> Make(Trefrigerant& ref, TcrateObj& set) {
        auto comp = std::make_unique<TComp>();
        comp->refrigerant = &ref;
        comp->supply = &supply;
        comp->familyNumber = 1;
        comp->ratingSetA = &set;
        comp->SetLoad(100);
        return comp;
    }

    LoadedPropertyLibraries loaded;
    std::unique_ptr<Trefrigerant> r134a, co2;
    RatingDataFixture data;
    TSupply supply;
    std::unique_ptr<TComp> polynomial, injection, transcritical;
    OperatingConditions point, co2Point;
    std::vector<OperatingConditions> co2Points;
};

Models& Shared() {
    static Models models;
    return models;
}

void Run(benchmark::State& state, TComp& comp, const OperatingConditions& c) {
    if (comp.Evaluate(c, ActivityMode::Compressors) < 0) {
        state.SkipWithError("the model does not evaluate at the point");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(comp.Evaluate(c, ActivityMode::Compressors));
    }
}

void EvaluatePolynomialModel(benchmark::State& state) {
    Run(state, *Shared().polynomial, Shared().point);
}
void EvaluateVapourInjectionModel(benchmark::State& state) {
    Run(state, *Shared().injection, Shared().point);
}
void EvaluateCO2TranscriticalModel(benchmark::State& state) {
    Run(state, *Shared().transcritical, Shared().co2Point);
}

// One evaluation after another at changing transcritical points.
void EvaluateCO2TranscriticalChangingPoints(benchmark::State& state) {
    Models& m = Shared();
    for (const OperatingConditions& c : m.co2Points) {
        if (m.transcritical->Evaluate(c, ActivityMode::Compressors) < 0) {
            state.SkipWithError("the model does not evaluate at every point");
            return;
        }
    }
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            m.transcritical->Evaluate(m.co2Points[k], ActivityMode::Compressors));
        k = (k + 1) % m.co2Points.size();
    }
}

BENCHMARK(EvaluatePolynomialModel)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvaluateVapourInjectionModel)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvaluateCO2TranscriticalModel)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvaluateCO2TranscriticalChangingPoints)->Unit(benchmark::kMicrosecond);

}  // namespace
