#include "operating_conditions.hpp"

#include <gtest/gtest.h>

#include "library_folders.hpp"
#include "refrigerant.hpp"

// Saturation values checked against published tables: R134a dew pressure 2.0060 bar at -10 degC
// and 7.7020 bar at 30 degC; CO2 26.487 bar at -10 degC, 57.291 bar at 20 degC, critical point
// 30.978 degC / 73.773 bar.

namespace kelvra {
namespace {

using testing::BuildLibraries;

class ResolveTest : public ::testing::Test {
  public:  // the parameter tables name the refrigerants
    void SetUp() override {
        ASSERT_TRUE(libraries.loaded.general);
        ASSERT_TRUE(libraries.loaded.co2);
        ASSERT_TRUE(r134a.initialised && r407c.initialised && r404a.initialised && co2.initialised);
    }

    BuildLibraries libraries;
    Trefrigerant r134a{"R134a", 1, 'N', 1.1f};
    Trefrigerant r407c{"R407C", 5, 'M', 1.1f};
    Trefrigerant r404a{"R404A", 6, 'G', 1.1f};  // rated at the dew point
    Trefrigerant co2{"R744", 10, 'N', 1.3f};
};

TEST(OperatingConditionsTest, DefaultsOfANewRecord) {
    const OperatingConditions c;
    EXPECT_EQ(c.subcooling, 0);
    EXPECT_EQ(c.suctionGasReturn, 25);
    EXPECT_EQ(c.superheat, 20);
    EXPECT_EQ(c.usefulSuperheat, 20);
    EXPECT_EQ(c.evapTemp, -10);
    EXPECT_EQ(c.condTemp, 30);
    EXPECT_EQ(c.capacity, 20);
    EXPECT_EQ(c.ambientTemp, 32);
    EXPECT_EQ(c.satDischargeTemp, 30);
    EXPECT_EQ(c.satSuctionTemp, -10);
    EXPECT_FLOAT_EQ(c.ordaSystemDrop, 1.5f);
    EXPECT_FLOAT_EQ(c.ordaComponentDrop, 0.1f);
    EXPECT_FLOAT_EQ(c.ordaDiffPressure, 0.15f);
    EXPECT_EQ(c.capacityRatio, 1.0);
    EXPECT_EQ(c.gasCoolerOutletTemp, 30);
    EXPECT_EQ(c.nightLoadPercent, 66.7);
    EXPECT_EQ(c.condPressure, 30);
    EXPECT_EQ(c.dischargePressure, 30);
    EXPECT_FLOAT_EQ(c.minAmbient, -18);
    EXPECT_EQ(c.rpm, 3000);
    EXPECT_EQ(c.inverterRpm, 1500);
    EXPECT_EQ(c.loadPercent, 100);
    EXPECT_EQ(c.economiserSubcooling, 5);
    EXPECT_EQ(c.economiserApproach, 5);
    EXPECT_EQ(c.vapourOutletSuperheat, 5);
    EXPECT_FLOAT_EQ(c.totalNetworkCapacity, 40);
    EXPECT_FLOAT_EQ(c.waterOutletTemp, 30);
    EXPECT_FLOAT_EQ(c.sourceInletTemp, -10);
    EXPECT_EQ(c.capacitySteps, 2);
    EXPECT_EQ(c.networkUnitCount, 4);
    EXPECT_EQ(c.networkKind, 2);
    EXPECT_EQ(c.unitCount, 1);
    EXPECT_EQ(c.economiserMode, 0);
    EXPECT_FALSE(c.useSGR || c.advanced || c.liquidTempGiven || c.useBase || c.invalid);
    EXPECT_TRUE(c.usefulAll);
}

// --- simple resolution --------------------------------------------------------------------------

TEST_F(ResolveTest, PureFluidFromTemperatures) {
    OperatingConditions c;
    c.invalid = true;
    c.subcooling = 3;
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_FALSE(c.invalid);
    EXPECT_NEAR(c.evapPressure, 2.0060, 1e-4);
    EXPECT_NEAR(c.condPressure, 7.7020, 1e-4);
    EXPECT_EQ(c.suctionPressure, c.evapPressure);
    EXPECT_EQ(c.dischargePressure, c.condPressure);
    EXPECT_EQ(c.satSuctionTemp, -10);
    EXPECT_EQ(c.satDischargeTemp, 30);
    EXPECT_NEAR(c.liquidTemp, 27, 1e-12);
    EXPECT_EQ(c.compSubcooling, 3);
    EXPECT_NEAR(c.suctionGasReturn, 10, 1e-12);
    EXPECT_EQ(c.usefulSuperheat, c.superheat);
    EXPECT_EQ(c.capacityRatio, 1.0);
}

TEST_F(ResolveTest, PureFluidInputKinds) {
    OperatingConditions c;
    c.evapByPressure = 1;
    c.evapPressure = 2.00603307;
    c.condByPressure = 1;
    c.condPressure = 7.70196303;
    c.liquidTempGiven = true;
    c.liquidTemp = 25;
    c.useSGR = true;
    c.suctionGasReturn = 20;
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_NEAR(c.evapTemp, -10, 1e-4);
    EXPECT_NEAR(c.condTemp, 30, 1e-4);
    EXPECT_NEAR(c.subcooling, 5, 1e-4);
    EXPECT_NEAR(c.superheat, 30, 1e-4);
    EXPECT_EQ(c.evapPressure, 2.00603307);  // inputs stay as given
    EXPECT_EQ(c.condPressure, 7.70196303);
}

TEST_F(ResolveTest, MidPointBlendFromTemperatures) {
    OperatingConditions c;
    c.condTemp = 40;
    c.subcooling = 2;
    c.superheat = 10;
    ASSERT_EQ(Resolve(c, &r407c), ResolveOk);
    // Condensing: the mean of dew and bubble pressure at 40 degC.
    EXPECT_NEAR(c.condPressure, (15.4119 + 17.4886) / 2, 2e-3);
    // Evaporating: between dew and bubble pressure at -10 degC, weighted by the inlet enthalpy.
    EXPECT_GT(c.evapPressure, 3.1980);
    EXPECT_LT(c.evapPressure, 4.0470);
    double pc = 0, pe = 0;
    r407c.MidTemperaturesToPressures(2, 40, -10, pc, pe);
    EXPECT_DOUBLE_EQ(c.evapPressure, pe);
    // At that pressure -10 degC lies inside the glide.
    EXPECT_LT(r407c.BubbleTemperature(c.evapPressure), -10);
    EXPECT_GT(r407c.DewTemperature(c.evapPressure), -10);
    // Liquid: 2 K below the bubble point at the condensing pressure.
    EXPECT_NEAR(c.liquidTemp, r407c.BubbleTemperature(c.condPressure) - 2, 1e-9);
    EXPECT_LT(c.liquidTemp, 40 - 2);
    // Suction gas: the superheat counts from the evaporating temperature.
    EXPECT_NEAR(c.suctionGasReturn, 0, 1e-12);
}

TEST_F(ResolveTest, MidPointBlendFromPressures) {
    OperatingConditions c;
    c.condByPressure = 1;
    c.condPressure = 16.45;
    c.evapByPressure = 1;
    c.evapPressure = 3.5;
    c.superheat = 10;
    ASSERT_EQ(Resolve(c, &r407c), ResolveOk);
    EXPECT_NEAR(c.condTemp, r407c.MidPointTemperature(16.45), 1e-9);
    double condMid = 0, evapMid = 0;
    r407c.PressuresToMidTemperatures(0, 16.45, 3.5, condMid, evapMid);
    EXPECT_DOUBLE_EQ(c.evapTemp, evapMid);
    EXPECT_GT(c.evapTemp, r407c.BubbleTemperature(3.5));
    EXPECT_LT(c.evapTemp, r407c.DewTemperature(3.5));
    // With the pressure given the superheat counts from the dew point.
    EXPECT_NEAR(c.suctionGasReturn, r407c.DewTemperature(3.5) + 10, 1e-9);
}

TEST_F(ResolveTest, DewPointBlend) {
    ASSERT_EQ(r404a.basis, 'D');
    OperatingConditions c;
    c.condTemp = 40;
    c.subcooling = 5;
    ASSERT_EQ(Resolve(c, &r404a), ResolveOk);
    EXPECT_NEAR(c.evapPressure, r404a.DewPressure(-10), 1e-12);
    EXPECT_NEAR(c.condPressure, r404a.DewPressure(40), 1e-12);
    // The liquid counts from the bubble point, a little below the dew point.
    const double bubble = r404a.BubbleTemperature(c.condPressure);
    EXPECT_LT(bubble, 40);
    EXPECT_GT(bubble, 39);
    EXPECT_NEAR(c.liquidTemp, bubble - 5, 1e-12);
    EXPECT_NEAR(c.suctionGasReturn, 10, 1e-12);
}

// --- CO2 ----------------------------------------------------------------------------------------

TEST_F(ResolveTest, CO2Subcritical) {
    OperatingConditions c;
    c.condTemp = 20;
    c.subcooling = 2;
    ASSERT_EQ(Resolve(c, &co2), ResolveOk);
    EXPECT_NEAR(c.condPressure, 57.291, 1e-3);
    EXPECT_NEAR(c.evapPressure, 26.487, 1e-3);
    EXPECT_NEAR(c.liquidTemp, 18, 1e-12);
}

struct TranscriticalCase {
    const char* label;
    std::int32_t condByPressure;
    double condTemp, condPressure, liquidTemp;
    // expected
    double condTempAfter, condPressureAfter, liquidTempAfter;
};

class CO2ConditionsTest : public ResolveTest,
                          public ::testing::WithParamInterface<TranscriticalCase> {};

TEST_P(CO2ConditionsTest, CondensingAndLiquidSide) {
    const TranscriticalCase& t = GetParam();
    OperatingConditions c;
    c.condByPressure = t.condByPressure;
    c.condTemp = t.condTemp;
    c.condPressure = t.condPressure;
    c.liquidTemp = t.liquidTemp;
    c.subcooling = 1.5;
    ASSERT_EQ(Resolve(c, &co2), ResolveOk);
    EXPECT_NEAR(c.condTemp, t.condTempAfter, 1e-3);
    EXPECT_NEAR(c.condPressure, t.condPressureAfter, 1e-3);
    EXPECT_NEAR(c.liquidTemp, t.liquidTempAfter, 1e-3);
    EXPECT_EQ(c.dischargePressure, c.condPressure);
    EXPECT_EQ(c.satDischargeTemp, c.condTemp);
    EXPECT_EQ(c.compSubcooling, c.subcooling);
}

const double kCO2CriticalPressure = 73.773;

INSTANTIATE_TEST_SUITE_P(
    Points, CO2ConditionsTest,
    ::testing::Values(
        // gas-cooler pressure given: transcritical, the liquid (gas-cooler outlet) stays
        TranscriticalCase{"pressure90", 1, 30, 90, 35, 30, 90, 35},
        TranscriticalCase{"unsetLiquid", 1, 30, 90, -300, 30, 90, 35},
        // temperature above critical, pressure below: raised to critical + 1 bar
        TranscriticalCase{"raisedPressure", 0, 40, 30, 35, 40, kCO2CriticalPressure + 1, 35},
        TranscriticalCase{"keptPressure", 0, 40, 100, 32, 40, 100, 32},
        // an unset condensing temperature becomes 30 degC, just subcritical
        TranscriticalCase{"unsetCondensing", 0, -300, 90, 0, 30, 72.137, 28.5},
        // a pressure below the critical one is an ordinary subcritical point
        TranscriticalCase{"subcriticalPressure", 1, 0, 57.2905258, 0, 20, 57.2905258, 18.5}),
    [](const ::testing::TestParamInfo<TranscriticalCase>& info) { return info.param.label; });

// --- advanced mode ------------------------------------------------------------------------------

OperatingConditions AdvancedR134a() {
    OperatingConditions c;
    c.advanced = true;
    c.usefulAll = false;
    c.useSGR = true;
    c.suctionGasReturn = 10;
    c.usefulSuperheat = 15;
    c.subcooling = 3;
    c.suctionLineDrop = 2;
    c.dischargeLineDrop = 1;
    return c;
}

TEST_F(ResolveTest, AdvancedLineDrops) {
    OperatingConditions c = AdvancedR134a();
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_EQ(c.satSuctionTemp, -12);
    EXPECT_EQ(c.satDischargeTemp, 31);
    EXPECT_NEAR(c.superheat, 22, 1e-12);  // re-derived from the compressor's suction
    EXPECT_NEAR(c.suctionPressure, r134a.DewPressure(-12), 1e-12);
    EXPECT_NEAR(c.dischargePressure, r134a.DewPressure(31), 1e-12);
    EXPECT_LT(c.suctionPressure, c.evapPressure);
    EXPECT_GT(c.dischargePressure, c.condPressure);
    EXPECT_NEAR(c.evapPressure, 2.0060, 1e-4);  // the evaporator keeps its pressure
    EXPECT_NEAR(c.liquidTemp, 27, 1e-12);
    EXPECT_NEAR(c.compSubcooling, 4, 1e-6);  // 31 - 27

    // Useful superheat 15 K of 22 K: the capacity is corrected by the enthalpy ratio.
    const double hl = r134a.LiquidEnthalpy(c.dischargePressure, 27);
    const double expected = (r134a.VapourEnthalpy(c.suctionPressure, 10) - hl) /
                            (r134a.VapourEnthalpy(c.evapPressure, -10 + 15) - hl);
    EXPECT_NEAR(c.capacityRatio, expected, 1e-12);
    EXPECT_GT(c.capacityRatio, 1.0);
    EXPECT_LT(c.capacityRatio, 1.05);

    // Back to plain conditions, the correction goes with it.
    c.advanced = false;
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_EQ(c.capacityRatio, 1.0);
    EXPECT_EQ(c.satSuctionTemp, -10);
    EXPECT_EQ(c.usefulSuperheat, c.superheat);
}

TEST_F(ResolveTest, AdvancedWithoutDropsKeepsThePressures) {
    OperatingConditions c = AdvancedR134a();
    c.suctionLineDrop = 0;
    c.dischargeLineDrop = 0;
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_EQ(c.suctionPressure, c.evapPressure);
    EXPECT_EQ(c.dischargePressure, c.condPressure);
    EXPECT_EQ(c.compSubcooling, 3);
    EXPECT_NEAR(c.superheat, 20, 1e-12);

    // All superheat useful: no correction.
    c.usefulAll = true;
    c.capacityRatio = 1.3;
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_EQ(c.capacityRatio, 1.0);
}

TEST_F(ResolveTest, AdvancedMidPointBlend) {
    OperatingConditions c = AdvancedR134a();
    c.condTemp = 40;
    ASSERT_EQ(Resolve(c, &r407c), ResolveOk);
    double pd = 0, ps = 0;
    r407c.MidTemperaturesToPressures(c.subcooling, 41, -12, pd, ps);
    EXPECT_DOUBLE_EQ(c.dischargePressure, pd);
    EXPECT_DOUBLE_EQ(c.suctionPressure, ps);
    EXPECT_LT(c.suctionPressure, c.evapPressure);
    EXPECT_NEAR(c.compSubcooling, r407c.BubbleTemperature(pd) - c.liquidTemp, 1e-12);
    EXPECT_GE(c.capacityRatio, 1.0);
}

TEST_F(ResolveTest, AdvancedTranscriticalCO2) {
    OperatingConditions c;
    c.advanced = true;
    c.usefulAll = false;
    c.useSGR = true;
    c.condByPressure = 1;
    c.condPressure = 90;
    c.liquidTemp = 35;  // gas-cooler outlet
    c.suctionGasReturn = 0;
    c.usefulSuperheat = 5;
    c.suctionLineDrop = 2;
    c.subcooling = 0;
    ASSERT_EQ(Resolve(c, &co2), ResolveOk);
    EXPECT_EQ(c.satSuctionTemp, -12);
    EXPECT_NEAR(c.suctionPressure, co2.DewPressure(-12), 1e-12);
    // No saturation temperature above the critical point: the compressor discharges at the
    // gas-cooler pressure.
    EXPECT_EQ(c.dischargePressure, 90);
    EXPECT_EQ(c.compSubcooling, 0);
    // The correction uses the gas-cooler outlet enthalpy at (90 bar, 35 degC).
    const double hOut = 299.0429;
    const double expected = (co2.VapourEnthalpy(c.suctionPressure, 0) - hOut) /
                            (co2.VapourEnthalpy(c.evapPressure, -10 + 5) - hOut);
    EXPECT_NEAR(c.capacityRatio, expected, 1e-5);
    EXPECT_GT(c.capacityRatio, 1.0);
}

struct StatusCase {
    const char* label;
    Trefrigerant ResolveTest::*refrigerant;
    bool useSGR;
    double suctionGasReturn, superheat, usefulSuperheat;
    bool usefulAll;
    double liquidTemp;  // below -100: not given
    std::int32_t status;
};

class AdvancedStatusTest : public ResolveTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(AdvancedStatusTest, Status) {
    const StatusCase& s = GetParam();
    OperatingConditions c = AdvancedR134a();
    c.suctionLineDrop = 0;
    c.dischargeLineDrop = 0;
    c.useSGR = s.useSGR;
    c.suctionGasReturn = s.suctionGasReturn;
    c.superheat = s.superheat;
    c.usefulSuperheat = s.usefulSuperheat;
    c.usefulAll = s.usefulAll;
    if (s.liquidTemp > -100) {
        c.liquidTempGiven = true;
        c.liquidTemp = s.liquidTemp;
    }
    EXPECT_EQ(Resolve(c, &(this->*s.refrigerant)), s.status);
    EXPECT_EQ(c.invalid, s.status != ResolveOk);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdvancedStatusTest,
    ::testing::Values(StatusCase{"valid", &ResolveTest::r134a, true, 10, 0, 15, false, -999,
                                 ResolveOk},
                      StatusCase{"usefulEqualsSuperheat", &ResolveTest::r134a, true, 10, 0, 20,
                                 false, -999, ResolveOk},
                      // suction gas colder than the evaporator outlet (the dew point for a blend)
                      StatusCase{"suctionGasTooCold", &ResolveTest::r407c, true, 0, 0, 9, false,
                                 -999, ResolveSuctionGasTooCold},
                      StatusCase{"suctionGasTooColdAllUseful", &ResolveTest::r134a, false, 0, 10,
                                 15, true, -999, ResolveSuctionGasTooCold},
                      // a useful superheat above the superheat is checked last and wins
                      StatusCase{"usefulAboveSuperheat", &ResolveTest::r134a, false, 0, 10, 15,
                                 false, -999, ResolveUsefulAboveSuperheat},
                      // no liquid enthalpy above the critical temperature
                      StatusCase{"propertyError", &ResolveTest::r134a, true, 10, 0, 15, false, 105,
                                 ResolvePropertyError}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return info.param.label; });

// --- failures -----------------------------------------------------------------------------------

TEST_F(ResolveTest, NoRefrigerant) {
    OperatingConditions c;
    c.condPressure = 12.5;
    ASSERT_EQ(Resolve(c, nullptr), ResolveNoRefrigerant);
    EXPECT_TRUE(c.invalid);
    EXPECT_EQ(c.condPressure, 12.5);  // nothing derived
    EXPECT_EQ(c.evapPressure, 0);
}

TEST_F(ResolveTest, PropertyFailureIsNotReportedAsValid) {
    OperatingConditions c;
    c.condTemp = 120;  // above the critical temperature of R134a
    EXPECT_EQ(Resolve(c, &r134a), ResolvePropertyError);
    EXPECT_TRUE(c.invalid);

    c.condTemp = 30;
    EXPECT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_FALSE(c.invalid);

    // Advanced, with all superheat useful (no correction ratio to compute).
    c = AdvancedR134a();
    c.usefulAll = true;
    c.condTemp = 120;
    EXPECT_EQ(Resolve(c, &r134a), ResolvePropertyError);
    EXPECT_TRUE(c.invalid);
}

TEST_F(ResolveTest, MissingLibrary) {
    UnloadPropertyLibraries();
    OperatingConditions c;
    EXPECT_EQ(Resolve(c, &r134a), ResolvePropertyError);
    EXPECT_TRUE(c.invalid);
}

// --- rating presets -----------------------------------------------------------------------------

struct PresetCase {
    const char* label;
    int ratingClass;
    RatingStandard standard;
    bool useSGR;
    double superheat, suctionGasReturn, subcooling;
    bool liquidTempGiven;
    double liquidTemp, gasCoolerOutletTemp;
};

class PresetTest : public ::testing::TestWithParam<PresetCase> {};

// A record far from any rating point: evaporating -10 degC, suction gas 5 degC as input.
OperatingConditions Unrated() {
    OperatingConditions c;
    c.evapTemp = -10;
    c.condTemp = 45;
    c.useSGR = true;
    c.suctionGasReturn = 5;
    c.superheat = 3;
    c.usefulSuperheat = 2;
    c.usefulAll = false;
    c.advanced = true;
    c.suctionLineDrop = 2;
    c.dischargeLineDrop = 1;
    c.satSuctionTemp = -12;
    c.satDischargeTemp = 46;
    c.subcooling = 7;
    c.compSubcooling = 8;
    c.capacityRatio = 1.3;
    c.condByPressure = 1;
    c.evapByPressure = 1;
    c.liquidTempGiven = true;
    c.liquidTemp = 12;
    c.gasCoolerOutletTemp = 30;
    return c;
}

TEST_P(PresetTest, SetsTheRatingDefinition) {
    const PresetCase& p = GetParam();
    OperatingConditions c = Unrated();
    Preset(p.ratingClass, p.standard, c);

    // always: a plain point
    EXPECT_FALSE(c.advanced);
    EXPECT_TRUE(c.usefulAll);
    EXPECT_EQ(c.suctionLineDrop, 0);
    EXPECT_EQ(c.dischargeLineDrop, 0);
    EXPECT_EQ(c.satSuctionTemp, -10);
    EXPECT_EQ(c.satDischargeTemp, 45);
    EXPECT_EQ(c.condByPressure, 0);
    EXPECT_EQ(c.evapByPressure, 0);
    EXPECT_EQ(c.capacityRatio, 1.0);
    EXPECT_EQ(c.evapTemp, -10);
    EXPECT_EQ(c.condTemp, 45);

    EXPECT_EQ(c.useSGR, p.useSGR);
    EXPECT_NEAR(c.superheat, p.superheat, 1e-12);
    EXPECT_NEAR(c.suctionGasReturn, p.suctionGasReturn, 1e-12);
    EXPECT_NEAR(c.subcooling, p.subcooling, 1e-12);
    EXPECT_EQ(c.compSubcooling, c.subcooling);
    EXPECT_EQ(c.liquidTempGiven, p.liquidTempGiven);
    EXPECT_EQ(c.liquidTemp, p.liquidTemp);
    EXPECT_EQ(c.gasCoolerOutletTemp, p.gasCoolerOutletTemp);
}

constexpr auto EN = RatingStandard::EN;
constexpr auto ARI = RatingStandard::ARI;

INSTANTIATE_TEST_SUITE_P(
    Classes, PresetTest,
    ::testing::Values(
        PresetCase{"EN1", 1, EN, true, 30, 20, 0, false, 12, 30},
        PresetCase{"ARI1", 1, ARI, true, 10 + 55.0 / 3, 55.0 / 3, 0, false, 12, 30},
        PresetCase{"EN2", 2, EN, false, 10, 0, 0, false, 12, 30},
        PresetCase{"ARI2", 2, ARI, false, 100.0 / 9, -10 + 100.0 / 9, 25.0 / 3, false, 12, 30},
        PresetCase{"EN3", 3, EN, false, 20, 10, 0, false, 12, 30},
        PresetCase{"ARI3", 3, ARI, false, 200.0 / 9, -10 + 200.0 / 9, 0, false, 12, 30},
        PresetCase{"EN4", 4, EN, false, 5, -5, 4, false, 12, 30},
        PresetCase{"ARI4", 4, ARI, false, 5, -5, 4, false, 12, 30},
        PresetCase{"EN5", 5, EN, false, 5, -5, 0, false, 12, 30},
        PresetCase{"ARI5", 5, ARI, false, 50.0 / 9, -10 + 50.0 / 9, 0, false, 12, 30},
        // only the plain point: the suction gas stays the input
        PresetCase{"EN6", 6, EN, true, 15, 5, 0, false, 12, 30},
        PresetCase{"EN7", 7, EN, false, 5, -5, 4, false, 12, 30},
        PresetCase{"ARI7", 7, ARI, true, 15, 5, 0, false, 12, 30},
        PresetCase{"EN8", 8, EN, false, 10, 0, 0, false, 12, 30},
        PresetCase{"ARI8", 8, ARI, false, 200.0 / 9, -10 + 200.0 / 9, 0, false, 12, 30},
        PresetCase{"EN9", 9, EN, false, 10, 0, 0, true, 12, 35},
        PresetCase{"ARI9", 9, ARI, false, 10, 0, 0, true, 35, 30},
        PresetCase{"EN10", 10, EN, false, 10, 0, 0, true, 12, 35},
        PresetCase{"ARI10", 10, ARI, false, 10, 0, 0, true, 35, 30},
        PresetCase{"ARI0", 0, ARI, true, 15, 5, 0, false, 12, 30}),
    [](const ::testing::TestParamInfo<PresetCase>& info) { return info.param.label; });

TEST_F(ResolveTest, PresetThenResolve) {
    // ARI class 1 on a record with the superheat as input: the suction gas becomes the input.
    OperatingConditions c;
    c.useSGR = false;
    Preset(1, RatingStandard::ARI, c);
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_TRUE(c.useSGR);
    EXPECT_NEAR(c.suctionGasReturn, 18.3333, 1e-4);
    EXPECT_NEAR(c.superheat, 28.3333, 1e-4);
    EXPECT_NEAR(c.liquidTemp, 30, 1e-12);

    // ARI class 2 subcools by 15 degF.
    Preset(2, RatingStandard::ARI, c);
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    EXPECT_NEAR(c.liquidTemp, 30 - 8.3333, 1e-4);
    EXPECT_NEAR(c.suctionGasReturn, -10 + 11.1111, 1e-4);
}

}  // namespace
}  // namespace kelvra
