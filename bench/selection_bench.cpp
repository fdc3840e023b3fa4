// Cost of rating every compressor candidate of one refrigerant at one operating point: what the
// main window does on every keystroke. A product database of 50 compressors per refrigerant (a
// pure fluid, a dew-point blend and a mid-point blend; EN 12900 models, some with a 50 % load
// step, some with vapour injection) is written to a temporary folder and loaded by the data
// store; the candidates come from the store's candidate query.
//
//   build/bin/selection_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// BM_EvaluateCandidates resolves the point once and evaluates the 50 candidates;
// BM_RecomputeChain runs the driver's whole chain for a new point (resolve, evaluate, list
// snapshots and sort, automatic choice).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "candidates.hpp"
#include "compressor.hpp"
#include "conditions_form.hpp"
#include "data_store.hpp"
#include "property_library.hpp"
#include "rating_set_builder.hpp"
#include "record_files.hpp"
#include "selection_driver.hpp"

namespace {

using namespace kelvra;

constexpr int kModelsPerRefrigerant = 50;

constexpr std::array<double, 10> kCapacity = {17.9,   0.35,    -0.12, 0.004, -0.001,
                                              0.0002, 0.00001, 0,     0,     0};
constexpr std::array<double, 10> kPower = {1.22, 0.01, 0.072, 0.0001, 0, 0.0002, 0, 0, 0, 0};
constexpr std::array<double, 10> kCurrent = {3.0, 0, 0.05, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<double, 10> kInjection = {20, 0.2, 0.3, 0, 0, 0, 0, 0, 0, 0};

std::array<double, 10> Scaled(std::array<double, 10> c, double scale) {
    for (double& v : c) v *= scale;
    return c;
}

struct Refrigerant {
    std::int16_t code;
    const char* name;
    char basis;
};
constexpr std::array<Refrigerant, 3> kRefrigerants{{
    {1, "R134a", 'N'},
    {5, "R404A", 'G'},  // dew-point blend
    {7, "R407C", 'M'},  // mid-point blend
}};

ProductDatabase BenchDatabase() {
    ProductDatabase db;
    db.date = 45292.0;
    db.header = {{1, "Scroll", 'A', 'C', 1.0f}, {2, "Semi-Hermetic", 'A', 'C', 11.0f}};
    for (const Refrigerant& r : kRefrigerants)
        db.header.push_back({r.code, r.name, 'R', r.basis, 1.1f});
    db.suppliesAndTypes = {{"400V-3-50", 1, 0, 50, 400.0f, 3.0f},
                           {"Standard", 1, 0, 1, 30.0f, 0.0f}};

    std::uint16_t index = 0;
    const auto addSet = [&db](const RatingSetBuilder& set) {
        db.ratingSets.push_back(RatingSetRow{set.Record()});
        for (const auto& point : set.PointRecords())
            db.envelopePoints.push_back(EnvelopePointRow::FromBytes(point));
    };
    const auto set = [](std::uint16_t i, double scale, int kind) {
        RatingSetBuilder b(i);
        b.Kind(kind)
            .Displacement(0.0085 * scale)
            .Coefficients(CoefficientBlock::A, Scaled(kCapacity, scale))
            .Coefficients(CoefficientBlock::B, Scaled(kPower, scale))
            .Coefficients(CoefficientBlock::C, Scaled(kCurrent, scale))
            .RatedSuperheat(10.0f)
            .RatedSubcooling(0.0f)
            .VolumetricEfficiencyScale(1.0f)
            .MaxDischargeTemp(140.0)
            .Envelope(1, 1, {{-45, 10}, {-45, 55}}, {{12, 20}, {12, 65}});
        if (kind == rating_kind::InjectionTemperature)
            b.Coefficients(CoefficientBlock::D, kInjection);
        return b;
    };
    for (const Refrigerant& r : kRefrigerants) {
        for (int m = 0; m < kModelsPerRefrigerant; ++m) {
            const double scale = 0.3 + 0.1 * m;
            const bool injection = m % 10 == 9;
            const bool twoSteps = m % 5 == 2;
            CompressorRow row;
            row.id = ++index;
            row.name = std::string(r.name) + "-" + std::to_string(m);
            row.letter = 'C';
            row.familyCode = m < 25 ? 1 : 2;
            row.refrigerantCode = r.code;
            row.supplyCode = 1;
            row.ratingSetA = index;
            row.massFlowFactor = row.capacityFactor = row.powerFactor = 1.0f;
            row.applicationMask = 3;
            addSet(set(index, scale,
                       injection ? rating_kind::InjectionTemperature : rating_kind::EN12900));
            if (twoSteps) {
                row.ratingSetB = static_cast<std::uint16_t>(1000 + index);
                addSet(set(row.ratingSetB, scale * 0.5, rating_kind::EN12900));
            }
            db.compressors.push_back(row);
        }
    }
    return db;
}

// The database, the store and one driver per refrigerant, built once.
struct Bench {
    Bench() {
        loaded = LoadPropertyLibraries();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvra-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) folder = pattern;
        WriteProductDatabase(folder, BenchDatabase());
        store = std::make_unique<TdataStore>(DatabaseSources{folder, nullptr});
    }
    ~Bench() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    LoadedPropertyLibraries loaded;
    std::filesystem::path folder;
    std::unique_ptr<TdataStore> store;
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

OperatingConditions Point(double evap) {
    OperatingConditions c;
    c.evapTemp = evap;
    c.condTemp = 40;
    c.superheat = 10;
    c.subcooling = 2;
    c.capacity = 12;
    return c;
}

bool Ready(benchmark::State& state, const Bench& bench) {
    if (!bench.loaded.general || !bench.store->Valid()) {
        state.SkipWithError("property libraries or benchmark database not usable");
        return false;
    }
    return true;
}

void BM_EvaluateCandidates(benchmark::State& state) {
    Bench& bench = Shared();
    if (!Ready(state, bench)) return;
    const Refrigerant& r = kRefrigerants[static_cast<std::size_t>(state.range(0))];
    Trefrigerant* refrigerant = bench.store->FindRefrigerant(r.code);
    CandidateFilter filter;
    filter.refrigerantCode = r.code;
    filter.supplyCode = 1;
    filter.families.Add(1);
    filter.families.Add(2);
    std::vector<TCModel*> candidates = selectCandidates(*bench.store, filter);
    for (TCModel* model : candidates) model->SetLoad(100);
    int valid = 0;
    double evap = -10;
    for (auto _ : state) {
        // A new point each time, as typed: nothing carries over from the last one.
        evap = evap < -9 ? -8.5 : -10;
        OperatingConditions point = Point(evap);
        evaluateAtPoint(candidates, point, refrigerant, ActivityMode::Compressors);
        benchmark::DoNotOptimize(candidates.front()->Result(quantity::CoolingCapacity));
    }
    for (const TCModel* model : candidates) valid += model->Status() >= 0;
    state.SetLabel(std::string(r.name) + ", " + std::to_string(candidates.size()) +
                   " candidates, " + std::to_string(valid) + " valid");
    state.counters["per_model_us"] = benchmark::Counter(
        static_cast<double>(candidates.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EvaluateCandidates)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_RecomputeChain(benchmark::State& state) {
    Bench& bench = Shared();
    if (!Ready(state, bench)) return;
    const Refrigerant& r = kRefrigerants[static_cast<std::size_t>(state.range(0))];
    SelectionDriver driver(*bench.store);
    SelectionDriver::Setup setup;
    setup.refrigerant = bench.store->FindRefrigerant(r.code);
    setup.conditions = Point(-10);
    setup.families[FamilyPage::Compressors].Add(1);
    setup.families[FamilyPage::Compressors].Add(2);
    driver.setUp(setup);
    driver.layoutForMode();
    double evap = -10;
    for (auto _ : state) {
        evap = evap < -9 ? -8.5 : -10;
        OperatingConditions point = driver.conditions();
        point.evapTemp = evap;
        driver.applyConditions(point);
        benchmark::DoNotOptimize(driver.selectedModel());
    }
    state.SetLabel(std::string(r.name) + ", " + std::to_string(driver.candidates().size()) +
                   " candidates, chosen " +
                   (driver.selectedModel() ? driver.selectedModel()->name : std::string("none")));
}
BENCHMARK(BM_RecomputeChain)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The same chain as the conditions panel runs it for a keystroke: the evaporating temperature
// typed in degF, converted once by the panel's form, then applied (no painting).
void BM_TypedEvaporatingTemperature(benchmark::State& state) {
    Bench& bench = Shared();
    if (!Ready(state, bench)) return;
    const Refrigerant& r = kRefrigerants[static_cast<std::size_t>(state.range(0))];
    SelectionDriver driver(*bench.store);
    SelectionDriver::Setup setup;
    setup.unitSystem = UnitSystem::Imperial;
    setup.refrigerant = bench.store->FindRefrigerant(r.code);
    setup.conditions = Point(-10);
    setup.families[FamilyPage::Compressors].Add(1);
    setup.families[FamilyPage::Compressors].Add(2);
    driver.setUp(setup);
    driver.layoutForMode();
    const ConditionsForm form({ActivityMode::Compressors, UnitSystem::Imperial,
                               driver.refrigerant(), false});
    double typed = 14;
    for (auto _ : state) {
        typed = typed > 14.5 ? 14 : 16.7;  // -10 and -8.5 degC
        OperatingConditions point = driver.conditions();
        form.enter(ConditionRow::Evaporating, typed, point);
        driver.applyConditions(point);
        benchmark::DoNotOptimize(driver.selectedModel());
    }
    state.SetLabel(std::string(r.name) + ", " + std::to_string(driver.candidates().size()) +
                   " candidates");
}
BENCHMARK(BM_TypedEvaporatingTemperature)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
