// The heat pumps of our own range, as the program reads them from the default heat-pump file of
// the compiled data folder: every one lies on a compressor of the database and, at the rating
// points of heat-pump standards, heats with a condenser duty and a COP that follow from its
// compressor at its own evaporating and condensing temperatures.

#include <gtest/gtest.h>

#include <cmath>

#include "catalogue_support.hpp"
#include "data_store.hpp"
#include "heat_pump.hpp"
#include "heat_pump_catalogue.hpp"
#include "heat_pump_file.hpp"
#include "refrigerant.hpp"

namespace kelvra::catalogue {
namespace {

using namespace testing;
namespace q = quantity;

class ShippedHeatPumps : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadLibraries());
        source_ = new CatalogueSource(ReadCatalogueSource(kSourceFolder));
        store_ = new TdataStore(DatabaseSources{kDataFolder, nullptr});
        load_ = store_->LoadUserHeatPumps(HeatPumpFileToRead("X", kDataFolder));
    }
    static void TearDownTestSuite() {
        delete store_;
        delete source_;
    }

    static CatalogueSource* source_;
    static TdataStore* store_;
    static UserHeatPumpLoad load_;
};
CatalogueSource* ShippedHeatPumps::source_ = nullptr;
TdataStore* ShippedHeatPumps::store_ = nullptr;
UserHeatPumpLoad ShippedHeatPumps::load_;

TEST_F(ShippedHeatPumps, EveryHeatPumpOfTheSourceLoadsOnItsCompressor) {
    ASSERT_TRUE(store_->Valid());
    ASSERT_TRUE(load_.ok()) << load_.error;
    EXPECT_TRUE(load_.found);
    EXPECT_EQ(load_.dropped, 0);
    ASSERT_EQ(store_->HeatPumps().size(), source_->heatPumps.size());
    int ground = 0;
    int air = 0;
    for (std::size_t i = 0; i < source_->heatPumps.size(); ++i) {
        const HeatPumpDef& def = source_->heatPumps[i];
        const auto& pump = dynamic_cast<const THeatPump&>(*store_->HeatPumps()[i]);
        SCOPED_TRACE(def.name);
        EXPECT_EQ(pump.name, def.name);
        EXPECT_EQ(pump.key, static_cast<int>(i));
        ASSERT_NE(pump.compressor, nullptr);
        EXPECT_EQ(pump.compressor->name, def.compressorModel);
        ASSERT_NE(pump.refrigerant, nullptr);
        EXPECT_EQ(pump.refrigerant->name, def.refrigerant);
        ASSERT_NE(pump.supply, nullptr);
        EXPECT_EQ(pump.supply->id, def.supply);
        EXPECT_EQ(pump.motorCodes, pump.compressor->motorCodes);
        ASSERT_NE(pump.family, nullptr);
        EXPECT_EQ(pump.family->kind, TFamily::kHeatPump);
        (pump.IsAirSource() ? air : ground)++;
        EXPECT_EQ(pump.family->code, pump.IsAirSource() ? 73 : 71);
        // the editor shows the source's two points again
        const auto evap = EvaporatorPointsFromRule(pump.IsAirSource(), {pump.evapSlope, pump.evapOffset});
        EXPECT_NEAR(evap[0], def.evapFirst, 1e-9);
        EXPECT_NEAR(evap[1], def.evapSecond, 1e-9);
        const auto cond = CondenserPointsFromRule({pump.condSlope, pump.condOffset});
        EXPECT_NEAR(cond[0], def.cond60, 1e-9);
        EXPECT_NEAR(cond[1], def.cond35, 1e-9);
    }
    EXPECT_GE(ground, 2);
    EXPECT_GE(air, 2);
}

// Heating capacity, power and COP at one rating point, checked against the compressor evaluated
// on its own at the heat pump's temperatures, and the capacity against the condenser's energy
// balance from the mass flow.
TEST_F(ShippedHeatPumps, RatingPointsFollowFromTheCompressor) {
    struct Point {
        const char* name;
        bool air;
        double source, water;
    };
    const Point points[] = {
        {"B0/W35", false, 0, 35}, {"B0/W45", false, 0, 45}, {"B5/W35", false, 5, 35},
        {"A7/W35", true, 7, 35},  {"A2/W35", true, 2, 35},  {"A-7/W35", true, -7, 35},
    };
    ASSERT_FALSE(store_->HeatPumps().empty());
    int evaluated = 0;
    int derated = 0;
    for (const auto& model : store_->HeatPumps()) {
        auto& pump = dynamic_cast<THeatPump&>(*model);
        for (const Point& p : points) {
            if (p.air != pump.IsAirSource()) continue;
            SCOPED_TRACE(pump.name + " at " + p.name);
            const ActivityMode mode = p.air ? ActivityMode::AirWaterHeatPumps : ActivityMode::BrineWaterHeatPumps;
            OperatingConditions c;
            c.sourceInletTemp = p.source;
            c.waterOutletTemp = p.water;
            const ModelStatus status = pump.EvaluateGuarded(c, mode);
            ASSERT_GE(status, 0);
            ++evaluated;
            const double heating = pump.Result(q::HeatingCapacity);
            const double power = pump.Result(q::PowerInput);
            const double cop = pump.Result(q::COP);
            EXPECT_GT(heating, 1.0);
            EXPECT_GT(power, pump.auxiliaryPower);
            EXPECT_NEAR(cop, heating / power, 1e-9);
            // a plausible heating COP at these points (pumps and fans included)
            EXPECT_GT(cop, 1.8);
            EXPECT_LT(cop, 7.0);

            // The compressor alone at the heat pump's evaporating and condensing temperatures.
            OperatingConditions k;
            k.evapTemp = pump.EvaporatingFromSource(p.source);
            k.condTemp = pump.CondensingFromWater(p.water);
            k.superheat = pump.superheat;
            k.subcooling = pump.subcooling;
            k.useSGR = false;
            k.liquidTempGiven = false;
            ASSERT_GE(Resolve(k, pump.compressor->refrigerant), 0);
            ASSERT_GE(pump.compressor->EvaluateGuarded(k, mode), 0);
            double factorQ = 1.0;
            double factorP = 1.0;
            if (pump.IsAirSource() && p.source >= pump.frostSourceLimit && k.evapTemp <= pump.frostEvapLimit) {
                factorQ = (100.0 - pump.defrostCapacityLoss) / 100.0;
                factorP = (100.0 - pump.defrostPowerLoss) / 100.0;
                ++derated;
            }
            const double compHeating = pump.compressor->Result(q::HeatingCapacity);
            const double compPower = pump.compressor->Result(q::PowerInput);
            constexpr double kTolerance = 1e-6;  // relative: the same evaluation, reproduced
            EXPECT_NEAR(heating, factorQ * compHeating, kTolerance * compHeating);
            EXPECT_NEAR(power, factorP * compPower + pump.auxiliaryPower, kTolerance * compPower);
            EXPECT_NEAR(pump.Result(q::CondensingTemp), k.condTemp, 1e-9);

            // Condenser duty from the mass flow: discharge gas down to the subcooled liquid, within
            // 2 % (the rating polynomials are fits of the physical model).
            Trefrigerant& r = *pump.compressor->refrigerant;
            const double pd = k.dischargePressure;
            const double hGas = r.VapourEnthalpy(pd, pump.compressor->Result(q::DischargeTemp));
            const double hLiquid = r.LiquidEnthalpy(pd, k.liquidTemp);
            ASSERT_FALSE(r.lastError);
            const double duty = pump.compressor->Result(q::MassFlow) / 1000.0 * (hGas - hLiquid);
            EXPECT_NEAR(compHeating, duty, 0.02 * duty);
        }
    }
    EXPECT_GE(evaluated, 12);
    EXPECT_GT(derated, 0);  // the defrost rule is exercised at A2
}

TEST_F(ShippedHeatPumps, SourceRefusesAHeatPumpOnACompressorTheCatalogueDoesNotOffer) {
    TempFolder temp;
    WriteSmallSource(temp.Path() / "source");
    WriteFile(temp.Path() / "source" / "pumps.json", R"({"heatPumps": [{
        "name": "Nowhere", "family": 71, "source": "W",
        "compressor": {"model": "NO-SUCH", "refrigerant": "R404A", "supply": 1},
        "auxiliaryPower": 0.1,
        "evaporatorTD": {"at0": 5, "atMinus5": 4, "min": 3, "max": 8},
        "condenserTD": {"at60": 7, "at35": 5, "min": 3, "max": 10}}]})");
    try {
        ReadCatalogueSource(temp.Path() / "source");
        ADD_FAILURE() << "accepted";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.File(), "pumps.json");
        EXPECT_EQ(e.Path(), "/heatPumps/0");
        EXPECT_NE(e.Problem().find("NO-SUCH"), std::string::npos) << e.what();
    }
    // an air heat pump in a ground family, and points named for the other source
    WriteFile(temp.Path() / "source" / "pumps.json", R"({"heatPumps": [{
        "name": "Mixed", "family": 71, "source": "A",
        "compressor": {"model": "NO-SUCH", "refrigerant": "R404A", "supply": 1},
        "auxiliaryPower": 0.1,
        "evaporatorTD": {"at0": 5, "atMinus5": 4, "min": 3, "max": 8},
        "condenserTD": {"at60": 7, "at35": 5, "min": 3, "max": 10}}]})");
    EXPECT_THROW(ReadCatalogueSource(temp.Path() / "source"), SourceError);
}

}  // namespace
}  // namespace kelvra::catalogue
