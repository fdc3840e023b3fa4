// The shipped rating data tell the truth: compressors of every rating kind, loaded from the
// database compiled at build time, evaluated by the compressor model at superheats, suction gas
// temperatures and subcoolings other than those their data are rated at (and at other load
// steps and speeds), give the capacity, power and current of the physical description they were
// computed from -- within the deviation the catalogue reported for the fit, plus a margin.
//
// The margins are the rating methods' own approximations, stated here:
// - 1 % for any model: the conversions between dew, mid-point and bubble states and the
//   suction-gas correction of the volumetric efficiency, which the rating points never exercise.
// - Vapour injection, capacity and power: 1.2 % per kelvin of subcooling away from the rated
//   one. The rating method moves the intermediate saturation temperature with the subcooling (the
//   economiser's liquid outlet follows the condenser's liquid), where the injection port of the
//   physical compressor holds the intermediate pressure; the injected flow and its power follow.
// - Efficiency model with vapour injection (kind 10), power: 0.6 % per kelvin of suction gas
//   temperature away from the rated one. That model keeps the rated mass flow when it computes
//   the isentropic power at the actual suction gas temperature.
// - Speed polynomials away from the nominal speed, capacity: 0.4 % per kelvin of suction gas
//   temperature away from the rated one. The method refers the volumetric efficiency at any speed
//   to the displacement at the nominal speed, so it corrects for the suction gas temperature as
//   for a compressor of smaller volumetric efficiency.
// - The current of a vapour-injection model is its rated current scaled with the power; the
//   current of a speed-polynomial model does not follow the speed. Neither is compared.

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "catalogue_compiler.hpp"
#include "catalogue_support.hpp"
#include "data_store.hpp"

namespace kelvra::catalogue {
namespace {

using namespace testing;

constexpr double kMargin = 0.01;
constexpr double kInjectionSubcoolingMargin = 0.012;  // per K
constexpr double kEfficiencyInjectionMargin = 0.006;  // per K
constexpr double kSpeedPolynomialMargin = 0.004;      // per K

struct Deviations {
    double capacity = 0, power = 0, current = 0;
};

// The rating case: offsets from the rated superheat (or suction gas temperature) and the rated
// subcooling, load and speed.
struct TruthCase {
    const char* name;
    double suction;     // K added to the rated superheat or suction gas temperature
    double subcooling;  // K added to the rated subcooling
    int load;           // %: 100, or the lowest load step
    double speedRatio;  // of the nominal speed (speed-controlled models)
};

const TruthCase kCases[] = {
    {"more superheat", 8, 0, 100, 1.0},
    {"less superheat", -4, 0, 100, 1.0},
    {"subcooled", 0, 3, 100, 1.0},
    {"superheat and subcooling", 6, 2, 100, 1.0},
    {"lowest load step", 5, 2, 0, 1.0},
    {"low speed", 5, 2, 100, 0.6},
    {"high speed", 5, 0, 100, 1.2},
};

// Test names show the case's name.
void PrintTo(const TruthCase& c, std::ostream* os) {
    *os << c.name;
}

class RatingTruth : public ::testing::TestWithParam<TruthCase> {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadLibraries());
        source_ = new CatalogueSource(ReadCatalogueSource(kSourceFolder));
        refrigerants_ = new RefrigerantSet(*source_);
        store_ = new TdataStore(DatabaseSources{kDataFolder, nullptr});
        entries_ = new std::vector<CompressorEntry>(EnumerateCompressors(*source_));
        // The reported deviations of every set, by compressor id and load step.
        const nlohmann::json report = ReadJson(kDataFolder / kFitReportFile);
        fits_ = new std::map<std::pair<int, int>, Deviations>;
        for (const auto& c : report["compressors"])
            for (const auto& s : c["sets"]) {
                const int step = s["step"].get<std::string>()[0] - 'A';
                (*fits_)[{c["id"].get<int>(), step}] = {s["capacity"], s["power"], s["current"]};
            }
    }
    static void TearDownTestSuite() {
        delete fits_;
        delete entries_;
        delete store_;
        delete refrigerants_;
        delete source_;
    }

    // A sample of the shipped compressors: the smallest and the largest model of every
    // refrigerant variant of every family.
    static std::vector<const CompressorEntry*> Sample() {
        std::map<const VariantDef*, std::vector<const CompressorEntry*>> byVariant;
        for (const CompressorEntry& e : *entries_) byVariant[e.variant].push_back(&e);
        std::vector<const CompressorEntry*> out;
        for (const auto& [variant, list] : byVariant) {
            out.push_back(list.front());
            if (list.back()->model != list.front()->model) out.push_back(list.back());
        }
        return out;
    }

    static TComp* Compressor(int id) {
        for (const auto& c : store_->Compressors())
            if (store_->KeysOf(*c).id == id) return c.get();
        return nullptr;
    }

    static CatalogueSource* source_;
    static RefrigerantSet* refrigerants_;
    static TdataStore* store_;
    static std::vector<CompressorEntry>* entries_;
    static std::map<std::pair<int, int>, Deviations>* fits_;
};
CatalogueSource* RatingTruth::source_ = nullptr;
RefrigerantSet* RatingTruth::refrigerants_ = nullptr;
TdataStore* RatingTruth::store_ = nullptr;
std::vector<CompressorEntry>* RatingTruth::entries_ = nullptr;
std::map<std::pair<int, int>, Deviations>* RatingTruth::fits_ = nullptr;

TEST_P(RatingTruth, CompressorModelReproducesThePhysicalModel) {
    const TruthCase& tc = GetParam();
    int compared = 0, models = 0;
    std::set<int> kinds;
    for (const CompressorEntry* e : Sample()) {
        const CompressorFamilyDef& f = *e->family;
        const PhysicsDef& p = f.physics;
        const bool speedControlled = p.speed || p.inverter;
        if (tc.speedRatio != 1.0 && !speedControlled) continue;
        if (tc.load != 100 && p.loadSteps.empty()) continue;
        // Below 3 K of superheat nothing is rated.
        if (f.rating.ratedAtSuperheat && f.rating.ratedSuction + tc.suction < 3.5) continue;
        TComp* comp = Compressor(e->id);
        ASSERT_NE(comp, nullptr) << e->model->name;

        const int step = tc.load == 100 ? 0 : static_cast<int>(p.loadSteps.size());
        const int load = step == 0 ? 100 : step == 1 ? 50 : 33;
        const int nominal = p.speed ? p.speed->nominal : 1500;
        const auto speed = static_cast<std::int32_t>(std::lround(nominal * tc.speedRatio));
        comp->SetLoad(load);
        comp->SetSpeed(speed);
        const RatingTarget t = TargetOf(*e, *refrigerants_, step);
        const CompressorPhysics physics = BuildPhysics(t);
        const Deviations fit = fits_->at({e->id, step});
        const RatingDef& r = f.rating;
        const bool injection = p.injection.has_value();

        int points = 0;
        for (const Point2& pt : FitPoints(*e->envelope, 5.0, 0)) {
            OperatingConditions c =
                ConditionsAt(t, pt.x, pt.y, r.ratedAtSuperheat ? r.ratedSuction + tc.suction : 10.0,
                             r.ratedSubcooling + tc.subcooling, 32.0);
            if (!r.ratedAtSuperheat) {
                c.useSGR = true;
                c.suctionGasReturn = r.ratedSuction + tc.suction;
                Resolve(c, t.refrigerant);
            }
            if (c.invalid || comp->Evaluate(c, ActivityMode::Compressors) < 0) continue;
            const PhysicalResult truth = PhysicalAt(t, physics, c, speedControlled ? tc.speedRatio : 1.0);
            ASSERT_TRUE(truth.ok) << e->model->name << " at " << pt.x << ", " << pt.y;

            const double suctionOffset =
                std::fabs((c.useSGR ? c.suctionGasReturn : c.satSuctionTemp + c.superheat) -
                          (r.ratedAtSuperheat ? c.satSuctionTemp + r.ratedSuction : r.ratedSuction));
            double capacityMargin = kMargin, powerMargin = kMargin;
            if (injection) {
                capacityMargin += kInjectionSubcoolingMargin * std::fabs(tc.subcooling);
                powerMargin += kInjectionSubcoolingMargin * std::fabs(tc.subcooling);
            }
            if (r.kind == 10) powerMargin += kEfficiencyInjectionMargin * suctionOffset;
            if (p.speed && tc.speedRatio != 1.0) capacityMargin += kSpeedPolynomialMargin * suctionOffset;

            const std::string where = fmt::format("{} {} on {} (kind {}, load {}, speed {}) at {}/{}", e->model->name,
                                                  e->refrigerant->name, e->supply->name, r.kind, load, speed, pt.x, pt.y);
            EXPECT_NEAR(comp->Result(quantity::CoolingCapacity) / truth.Q, 1.0, fit.capacity + capacityMargin) << where;
            EXPECT_NEAR(comp->Result(quantity::PowerInput) / truth.P, 1.0, fit.power + powerMargin) << where;
            if (!injection && !p.speed) {
                EXPECT_NEAR(comp->Result(quantity::Current) / truth.I, 1.0, fit.current + fit.power + kMargin) << where;
            }
            ++points;
        }
        comp->SetLoad(100);
        comp->SetSpeed(0);
        EXPECT_GT(points, 3) << e->model->name << " " << e->refrigerant->name << ": too few points inside its envelope";
        compared += points;
        ++models;
        kinds.insert(r.kind);
    }
    EXPECT_GT(models, 0);
    if (tc.speedRatio == 1.0 && tc.load == 100 && tc.suction >= 0) {
        EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 6, 10, 11, 12})) << "every rating kind is sampled";
    }
    RecordProperty("points", compared);
}

INSTANTIATE_TEST_SUITE_P(Cases, RatingTruth, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TruthCase>& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

}  // namespace
}  // namespace kelvra::catalogue
