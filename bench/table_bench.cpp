// Cost of filling a 10 x 10 performance table (-30..15 degC evaporating, 20..65 degC condensing)
// with the property libraries of the build: a fixed-speed EN 12900 compressor, and a
// variable-speed one with speed-correction polynomials and speed-dependent envelopes run at
// 4500 rpm. Most cells lie inside the envelopes, so each evaluates fully.
//
//   build/bin/table_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <vector>

#include "compressor.hpp"
#include "operating_conditions.hpp"
#include "performance_table.hpp"
#include "product_records.hpp"
#include "property_library.hpp"
#include "rating_set_builder.hpp"
#include "refrigerant.hpp"

namespace {

using namespace kelvra;

constexpr std::array<double, 10> kCapacity = {20.0, 0.7, -0.25, 0.009, -0.004, 0.0005, 0, 0, 0, 0};
constexpr std::array<double, 10> kPower = {1.2, 0.005, 0.045, 0.0, 0.0, 0.0002, 0, 0, 0, 0};
constexpr std::array<double, 10> kCurrent = {3.0, 0.0, 0.06, 0, 0, 0, 0, 0, 0, 0};

// Capacity and power corrections over speed, in the layout of the speed data.
std::array<double, 40> SpeedData() {
    std::array<double, 40> v{};
    v[0] = 0.003;
    v[1] = 0.00002;
    v[2] = -0.00001;
    v[6] = 1e-8;
    v[10] = 0.0006;
    v[11] = 0.000001;
    v[20] = 0.00001;
    v[30] = 0.0002;
    return v;
}

struct Models {
    Models() {
        loaded = LoadPropertyLibraries();
        r404a = std::make_unique<Trefrigerant>("R404A", 6, 'D', 1.1f);
        data.AddEnvelopeType(1, 1, 30.0f);
        supply.voltage = 400.0f;
        supply.phases = 3.0f;

        const std::vector<EnvelopeCorner> left = {{-40, 10}, {-40, 60}};
        const std::vector<EnvelopeCorner> right = {{15, 10}, {15, 60}};
        const auto base = [] {
            RatingSetBuilder b(1);
            b.Kind(rating_kind::EN12900)
                .Displacement(0.0055)
                .Coefficients(CoefficientBlock::A, kCapacity)
                .Coefficients(CoefficientBlock::B, kPower)
                .Coefficients(CoefficientBlock::C, kCurrent)
                .RatedSuperheat(10.0f);
            return b;
        };
        fixedSpeed = Make(data.Build(base().Envelope(1, 1, left, right).ForCompressor(6, 1)));
        variableSpeed = Make(data.Build(base()
                                            .NominalSpeed(3000)
                                            .SpeedEnvelope(1, 1, 2400, left, right)
                                            .SpeedLevel(1, 1200, left, right)
                                            .SpeedLevel(1, 7200, left, right)
                                            .SpeedPolynomials(SpeedData())
                                            .ForCompressor(6, 1)));
        variableSpeed->SetSpeed(4500);

        point.evapTemp = -10;
        point.condTemp = 40;
        point.superheat = 10;
        point.subcooling = 3;
        Resolve(point, r404a.get());
    }
    ~Models() { UnloadPropertyLibraries(); }

    std::unique_ptr<TComp> Make(TcrateObj& set) {
        auto comp = std::make_unique<TComp>();
        comp->refrigerant = r404a.get();
        comp->supply = &supply;
        comp->familyNumber = 1;
        comp->ratingSetA = &set;
        comp->SetLoad(100);
        return comp;
    }

    LoadedPropertyLibraries loaded;
    std::unique_ptr<Trefrigerant> r404a;
    RatingDataFixture data;
    TSupply supply;
    std::unique_ptr<TComp> fixedSpeed, variableSpeed;
    OperatingConditions point;
};

Models& Shared() {
    static Models models;
    return models;
}

void Fill(benchmark::State& state, TComp& comp) {
    TTableObject table;
    table.SetEvenAxes(10, 10, 5.0, 5.0, 20.0, -30.0);
    comp.FillTable(table, Shared().point, ActivityMode::Compressors, UnitSystem::SI);
    int valid = 0;
    for (int i = 0; i < 10 && table.Rows().size() == 10; ++i)
        for (int j = 1; j <= 10; ++j) valid += table.CellStatus(i, j) >= 0 ? 1 : 0;
    if (valid < 50) {
        state.SkipWithError("most cells of the table do not evaluate");
        return;
    }
    state.counters["valid cells"] = valid;
    for (auto _ : state) {
        comp.FillTable(table, Shared().point, ActivityMode::Compressors, UnitSystem::SI);
        benchmark::DoNotOptimize(table.Rows().data());
    }
}

void FillTableFixedSpeed(benchmark::State& state) {
    Fill(state, *Shared().fixedSpeed);
}
void FillTableVariableSpeed(benchmark::State& state) {
    Fill(state, *Shared().variableSpeed);
}

BENCHMARK(FillTableFixedSpeed)->Unit(benchmark::kMillisecond);
BENCHMARK(FillTableVariableSpeed)->Unit(benchmark::kMillisecond);

}  // namespace
