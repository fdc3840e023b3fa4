#include "refrigerant.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "library_folders.hpp"
#include "property_library.hpp"

// Reference values: saturation pressures and enthalpies from published tables (IIR reference
// state: h = 200 kJ/kg, s = 1 kJ/(kg K) for saturated liquid at 0 degC) and from the project's
// reference property table, computed by an independent implementation of the same equations.

namespace kelvra {
namespace {

using testing::BuildLibraries;
using testing::TempFolder;

class RefrigerantTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(libraries.loaded.general);
        ASSERT_TRUE(libraries.loaded.co2);
    }

    BuildLibraries libraries;
    Trefrigerant r134a{"R134a", 1, 'N', 1.1f};
    Trefrigerant co2{"R744", 10, 'N', 1.3f};
    Trefrigerant r407c{"R407C", 5, 'M', 1.1f};
};

// --- creation -----------------------------------------------------------------------------------

TEST_F(RefrigerantTest, CreationSetsFlagsAndCriticalPoint) {
    EXPECT_TRUE(r134a.initialised);
    EXPECT_FALSE(r134a.isCO2);
    EXPECT_NEAR(r134a.criticalTemperature, 101.06, 0.01);
    EXPECT_NEAR(r134a.criticalPressure, 40.593, 0.001);

    EXPECT_TRUE(co2.initialised);
    EXPECT_TRUE(co2.isCO2);
    EXPECT_NEAR(co2.criticalTemperature, 30.978, 0.001);
    EXPECT_NEAR(co2.criticalPressure, 73.773, 0.001);
    EXPECT_GT(co2.criticalThird, 0);  // the critical density, kept
    EXPECT_FALSE(co2.lastError);

    Trefrigerant r23("R23", 23, 'N', 1.2f);
    EXPECT_TRUE(r23.id23);
    EXPECT_FALSE(r134a.id23);
}

TEST_F(RefrigerantTest, NameIsTrimmedAndCutAndBasisGBecomesD) {
    Trefrigerant padded("  R404A   ", 6, 'G', 1.1f);
    EXPECT_EQ(padded.name, "R404A");
    EXPECT_EQ(padded.basis, 'D');
    EXPECT_TRUE(padded.initialised);  // the trimmed name is the one the library knows

    Trefrigerant longName(std::string(40, 'X'), 99, 'N', 1.0f);
    EXPECT_EQ(longName.name.size(), 35u);
}

TEST_F(RefrigerantTest, UnknownFluidFailsToInitialise) {
    Trefrigerant unknown("R9999", 77, 'N', 1.0f);
    EXPECT_FALSE(unknown.initialised);
    EXPECT_TRUE(unknown.lastError);
    EXPECT_TRUE(unknown.stickyError);
}

// --- display name and limits
// ----------------------------------------------------------------------

struct DisplayCase {
    const char* label;
    const char* name;
    char basis;
    const char* expected;
};

class DisplayNameTest : public RefrigerantTest,
                        public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayNameTest, FollowsTheBasis) {
    const DisplayCase& c = GetParam();
    Trefrigerant r(c.name, 5, c.basis, 1.0f);
    EXPECT_EQ(r.DisplayName(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Bases, DisplayNameTest,
                         ::testing::Values(DisplayCase{"single", "R134a", 'N', "R134a"},
                                           DisplayCase{"midPoint", "R407C", 'M', "Mid Point R407C"},
                                           DisplayCase{"dewPoint", "R407C", 'D', "R407C Dew Point"},
                                           DisplayCase{"letterG", "R404A", 'G', "R404A Dew Point"},
                                           DisplayCase{"otherLetter", "R407C", 'X', "R407C"},
                                           // cut to 35 characters
                                           DisplayCase{"cut", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345",
                                                       'D', "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345 De"}),
                         [](const ::testing::TestParamInfo<DisplayCase>& info) {
                             return info.param.label;
                         });

TEST_F(RefrigerantTest, DisplayNameUsesTheReplaceableWords) {
    const std::string savedMid = strMidPoint, savedDew = strDewPoint;
    strMidPoint = "Punto medio";
    strDewPoint = "Taupunkt";
    Trefrigerant dew("R407C", 5, 'D', 1.0f);
    EXPECT_EQ(r407c.DisplayName(), "Punto medio R407C");
    EXPECT_EQ(dew.DisplayName(), "R407C Taupunkt");

    // A cut never splits a character of a translated word.
    strMidPoint = std::string(32, 'a') + "\xC3\xA9\xC3\xA9";  // 32 + 2 characters, 36 bytes
    EXPECT_EQ(r407c.DisplayName(), std::string(32, 'a') + "\xC3\xA9\xC3\xA9" + " ");
    strMidPoint = std::string(34, 'a') + "\xC3\xA9";
    EXPECT_EQ(r407c.DisplayName(), std::string(34, 'a') + "\xC3\xA9");
    strMidPoint = savedMid;
    strDewPoint = savedDew;
}

TEST_F(RefrigerantTest, R410ALimit) {
    Trefrigerant r410a("R410A", 3, 'N', 1.1f);
    Trefrigerant lower("r410a", 3, 'N', 1.1f);
    EXPECT_TRUE(r410a.limitedR410A);
    EXPECT_DOUBLE_EQ(r410a.r410ALimit, 67.5);
    EXPECT_TRUE(r410a.IsAboveR410ALimit(68));
    EXPECT_FALSE(r410a.IsAboveR410ALimit(67.5));
    EXPECT_TRUE(lower.IsAboveR410ALimit(68));
    EXPECT_FALSE(r407c.limitedR410A);
    EXPECT_FALSE(r407c.IsAboveR410ALimit(90));
}

// --- saturation and states
// --------------------------------------------------------------------------

TEST_F(RefrigerantTest, PureFluidSaturation) {
    EXPECT_NEAR(r134a.DewPressure(-10), 2.0060, 1e-4);
    EXPECT_NEAR(r134a.DewPressure(30), 7.7020, 1e-4);
    EXPECT_NEAR(r134a.BubblePressure(30), 7.7020, 1e-4);
    EXPECT_NEAR(r134a.DewTemperature(7.7020), 30.0, 1e-3);
    EXPECT_NEAR(r134a.BubbleTemperature(2.0060), -10.0, 1e-3);
    EXPECT_FALSE(r134a.lastError);
    EXPECT_FALSE(r134a.stickyError);
}

TEST_F(RefrigerantTest, BlendSaturationHasAGlide) {
    EXPECT_NEAR(r407c.DewPressure(40), 15.4119, 2e-3);
    EXPECT_NEAR(r407c.BubblePressure(40), 17.4886, 2e-3);
    const double p = 3.5;
    EXPECT_GT(r407c.DewTemperature(p) - r407c.BubbleTemperature(p), 4.0);
}

TEST_F(RefrigerantTest, SaturatedLiquidAtZeroIs200ForEveryFluid) {
    Trefrigerant r404a("R404A", 6, 'D', 1.1f);
    EXPECT_NEAR(r134a.LiquidEnthalpy(2.928, 0), 200.0, 1e-3);
    EXPECT_NEAR(r407c.LiquidEnthalpy(5.0, 0), 200.0, 1e-3);
    EXPECT_NEAR(r404a.LiquidEnthalpy(6.0, 0), 200.0, 1e-3);
    EXPECT_NEAR(co2.LiquidEnthalpy(co2.DewPressure(0), 0), 200.0, 1e-3);
}

TEST_F(RefrigerantTest, VapourStatesInKilojoules) {
    EXPECT_NEAR(r134a.VapourEnthalpy(2.006033075, 0), 401.1808, 1e-3);
    EXPECT_NEAR(r134a.VapourEntropy(2.006033075, 40), 1.88352, 1e-5);
    EXPECT_NEAR(r134a.VapourVolume(2.006033075, 0), 0.104475, 1e-5);
    EXPECT_NEAR(r134a.LiquidEnthalpy(6.6538, 25), 234.5458, 1e-3);
    EXPECT_NEAR(co2.VapourEnthalpy(10.04495728, 10), 483.2545, 1e-3);
    EXPECT_FALSE(r134a.stickyError);
    EXPECT_FALSE(co2.stickyError);
}

TEST_F(RefrigerantTest, CO2BelowTheTriplePointAnswersWithoutTheLibrary) {
    // With the libraries released, only the short-cuts can still answer.
    UnloadPropertyLibraries();
    EXPECT_DOUBLE_EQ(co2.DewPressure(-60), 5.2);
    EXPECT_FALSE(co2.lastError);
    EXPECT_DOUBLE_EQ(co2.BubblePressure(-60), 5.2);
    EXPECT_DOUBLE_EQ(co2.DewTemperature(3), -56.0);
    EXPECT_FALSE(co2.lastError);
    EXPECT_DOUBLE_EQ(co2.BubbleTemperature(3), -56.0);
    EXPECT_FALSE(co2.stickyError);

    EXPECT_EQ(co2.DewPressure(-10), 0.0);  // needs the library
    EXPECT_TRUE(co2.lastError);
}

TEST_F(RefrigerantTest, CO2AboveTheCriticalPointFailsWithResultZero) {
    EXPECT_NEAR(co2.DewPressure(-10), 26.4868, 1e-3);
    EXPECT_NEAR(co2.DewPressure(20), 57.2905, 1e-3);
    EXPECT_EQ(co2.DewPressure(35), 0.0);
    EXPECT_TRUE(co2.lastError);
    EXPECT_EQ(co2.DewTemperature(80), 0.0);
    EXPECT_TRUE(co2.lastError);
    // A good call clears the last error; the sticky error stays until cleared.
    EXPECT_NEAR(co2.DewTemperature(26.4868), -10.0, 1e-3);
    EXPECT_FALSE(co2.lastError);
    EXPECT_TRUE(co2.stickyError);
    co2.ClearErrors();
    EXPECT_FALSE(co2.stickyError);
}

TEST_F(RefrigerantTest, CO2LiquidEnthalpy) {
    // Subcooled liquid below the dew line: the liquid volume at (p, T).
    EXPECT_NEAR(co2.LiquidEnthalpy(57.29052581, 5), 210.1407, 1e-3);
    // Within 0.01 K of the dew temperature: the saturated liquid at T, as at any pressure above
    // the critical one; 0.1 K further down it is the subcooled liquid at (p, T).
    const double saturated = co2.LiquidEnthalpy(80, 19.995);
    EXPECT_NEAR(co2.LiquidEnthalpy(57.29052581, 19.995), saturated, 1e-9);
    EXPECT_LT(co2.LiquidEnthalpy(57.29052581, 19.9), saturated);
    // At or above the critical pressure but below the critical temperature: the saturated
    // liquid at T.
    const double saturated25 = co2.LiquidEnthalpy(co2.DewPressure(25), 25);
    EXPECT_NEAR(co2.LiquidEnthalpy(90, 25), saturated25, 1e-9);
    EXPECT_FALSE(co2.lastError);
}

TEST_F(RefrigerantTest, CO2LiquidEnthalpyAboveTheCriticalTemperatureIsTheStateAtPT) {
    // A gas-cooler outlet at 90 bar and 35 degC: no saturated liquid exists there.
    const double h = co2.LiquidEnthalpy(90, 35);
    EXPECT_FALSE(co2.lastError);
    EXPECT_NEAR(h, 299.0429, 1e-3);
    EXPECT_NEAR(co2.LiquidEnthalpy(90, 40), 343.7819, 1e-3);
    // A supercritical temperature at a subcritical pressure: the gas at (p, T).
    EXPECT_NEAR(co2.LiquidEnthalpy(10.04495728, 40), 510.9155, 1e-3);
    EXPECT_FALSE(co2.stickyError);
}

// --- errors
// -----------------------------------------------------------------------------------------

TEST_F(RefrigerantTest, VapourCallsInTheLiquidRegionSetErrorCodeMinusOne) {
    struct Case {
        const char* label;
        Trefrigerant* r;
        double (Trefrigerant::*call)(double, double);
        double p, T;
        std::int32_t code;
    };
    const Case cases[] = {
        {"R134a enthalpy", &r134a, &Trefrigerant::VapourEnthalpy, 10, 0, -1},
        {"R134a entropy", &r134a, &Trefrigerant::VapourEntropy, 10, 0, -1},
        {"R134a volume", &r134a, &Trefrigerant::VapourVolume, 10, 0, 0},
        {"CO2 enthalpy", &co2, &Trefrigerant::VapourEnthalpy, 50, 0, -1},
        {"CO2 entropy", &co2, &Trefrigerant::VapourEntropy, 50, 0, -1},
        {"CO2 volume", &co2, &Trefrigerant::VapourVolume, 50, 0, 0},
        {"R134a liquid above critical", &r134a, &Trefrigerant::LiquidEnthalpy, 50, 110, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        c.r->ClearErrors();
        EXPECT_EQ((c.r->*c.call)(c.p, c.T), 0.0);
        EXPECT_TRUE(c.r->lastError);
        EXPECT_TRUE(c.r->stickyError);
        EXPECT_EQ(c.r->errorCode, c.code);
    }
}

TEST_F(RefrigerantTest, ClearErrorsResetsAllThree) {
    r134a.VapourEnthalpy(10, 0);
    r134a.ClearErrors();
    EXPECT_EQ(r134a.errorCode, 0);
    EXPECT_FALSE(r134a.lastError);
    EXPECT_FALSE(r134a.stickyError);
}

// --- mid-point operations
// -------------------------------------------------------------------------

TEST_F(RefrigerantTest, MidPointOfABlendLiesInsideTheGlide) {
    const double p = r407c.MidPointPressure(-10);
    EXPECT_NEAR(p, (3.19802 + 4.04697) / 2, 2e-3);
    const double T = r407c.MidPointTemperature(p);
    EXPECT_NEAR(T, -10.0, 0.2);  // the mean of the pressures is not quite the mean temperature
    EXPECT_GT(T, r407c.BubbleTemperature(p));
    EXPECT_LT(T, r407c.DewTemperature(p));
    // A pure fluid has no glide.
    EXPECT_NEAR(r134a.MidPointPressure(-10), 2.0060, 1e-4);
}

TEST_F(RefrigerantTest, MidPointEvaporatingPressureIsWeightedByTheInletEnthalpy) {
    double pc = 0, pe = 0;
    r407c.MidTemperaturesToPressures(0, 40, -10, pc, pe);
    EXPECT_FALSE(r407c.lastError);
    EXPECT_NEAR(pc, (15.4119 + 17.4886) / 2, 2e-3);
    // Flash gas at the inlet moves the pressure from the plain mean towards the dew side.
    EXPECT_GT(pe, 3.19802);
    EXPECT_LT(pe, (3.19802 + 4.04697) / 2);
    // More subcooling, less flash gas: closer to the plain mean.
    double pc2 = 0, pe2 = 0;
    r407c.MidTemperaturesToPressures(10, 40, -10, pc2, pe2);
    EXPECT_GT(pe2, pe);

    // The opposite conversion lands on nearly the same mid-point temperatures.
    double Tcm = 0, Tem = 0;
    r407c.PressuresToMidTemperatures(0, pc, pe, Tcm, Tem);
    EXPECT_NEAR(Tcm, 40.0, 0.05);
    EXPECT_NEAR(Tem, -10.0, 0.1);
}

TEST_F(RefrigerantTest, MidPointOperationsFailWithResultZero) {
    double pc = 1, pe = 1;
    r407c.MidTemperaturesToPressures(0, 120, -10, pc, pe);  // above the critical point
    EXPECT_TRUE(r407c.lastError);
    EXPECT_EQ(pc, 0.0);
    EXPECT_EQ(pe, 0.0);
    EXPECT_EQ(r407c.MidPointPressure(120), 0.0);
    EXPECT_TRUE(r407c.lastError);
}

// --- inversions
// -----------------------------------------------------------------------------------

TEST_F(RefrigerantTest, TemperatureFromEnthalpyInvertsTheProperties) {
    const double hv = r134a.VapourEnthalpy(10, 70);
    EXPECT_NEAR(r134a.VapourTemperatureFromEnthalpy(hv, 0, 10), 70.0, 1e-4);
    EXPECT_FALSE(r134a.lastError);
    const double hl = r134a.LiquidEnthalpy(10, 25);
    EXPECT_NEAR(r134a.LiquidTemperatureFromEnthalpy(hl, 10), 25.0, 1e-4);
    const double hc = co2.LiquidEnthalpy(57.29052581, 5);
    EXPECT_NEAR(co2.LiquidTemperatureFromEnthalpy(hc, 57.29052581), 5.0, 1e-4);
    EXPECT_EQ(r134a.errorCode, 0);
}

TEST_F(RefrigerantTest, CO2AboveTheCriticalPressureStartsFromTheGivenTemperature) {
    const double h = co2.VapourEnthalpy(90, 80);
    EXPECT_NEAR(co2.VapourTemperatureFromEnthalpy(h, 40, 90), 80.0, 1e-4);
    EXPECT_FALSE(co2.lastError);
    // A start value where the first call fails is returned as it is, with the error set.
    EXPECT_EQ(co2.VapourTemperatureFromEnthalpy(h, 20, 90), 20.0);
    EXPECT_TRUE(co2.lastError);
}

TEST_F(RefrigerantTest, IsentropicTemperatureReachesTheSuctionEntropy) {
    const double pd = r134a.DewPressure(40), ps = r134a.DewPressure(-10);
    double s = 0;
    const double Td = r134a.IsentropicTemperature(pd, ps, 40, 10, s);
    EXPECT_FALSE(r134a.lastError);
    EXPECT_NEAR(s, r134a.VapourEntropy(ps, 10), 1e-5);
    EXPECT_NEAR(r134a.VapourEntropy(pd, Td), s, 1e-5);
    EXPECT_GT(Td, 40.0);
    EXPECT_LT(Td, 80.0);

    // Transcritical CO2 starts from the given temperature.
    const double Tco2 = co2.IsentropicTemperature(90, 30, 35, 0, s);
    EXPECT_FALSE(co2.lastError);
    EXPECT_NEAR(s, co2.VapourEntropy(30, 0), 1e-5);
    EXPECT_GT(Tco2, 60.0);
}

TEST_F(RefrigerantTest, IsentropicPower) {
    const double pd = r134a.DewPressure(40), ps = r134a.DewPressure(-10);
    const double Td = r134a.IsentropicTemperature(pd, ps, 40, 10);
    const double expected = 0.1 * (r134a.VapourEnthalpy(pd, Td) - r134a.VapourEnthalpy(ps, 10));
    EXPECT_NEAR(r134a.IsentropicPower(0.1, pd, ps, 40, 10), expected, 1e-9);
    EXPECT_GT(expected, 2.0);  // 100 g/s over a 50 K lift needs several kW
    EXPECT_LT(expected, 6.0);
}

// Targets no temperature can reach: the steps run out.
TEST_F(RefrigerantTest, InversionThatCannotConvergeReturnsZeroAndMinusSix) {
    struct Case {
        const char* label;
        double (*run)(Trefrigerant&);
    };
    const Case cases[] = {
        {"liquid below any liquid enthalpy",
         [](Trefrigerant& r) { return r.LiquidTemperatureFromEnthalpy(-500, 10); }},
        {"vapour above any vapour enthalpy",
         [](Trefrigerant& r) { return r.VapourTemperatureFromEnthalpy(5000, 0, 10); }},
        // suction entropy far above anything at the discharge pressure
        {"isentropic",
         [](Trefrigerant& r) {
             double s = 1;
             const double T = r.IsentropicTemperature(20, 0.05, 0, 150, s);
             EXPECT_EQ(s, 0.0);
             return T;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        r134a.ClearErrors();
        EXPECT_EQ(c.run(r134a), 0.0);
        EXPECT_EQ(r134a.errorCode, Trefrigerant::ErrorNotConverged);
        EXPECT_TRUE(r134a.lastError);
    }
}

TEST_F(RefrigerantTest, IsentropicPowerIsZeroWithoutAnIsentropicState) {
    r134a.ClearErrors();
    EXPECT_EQ(r134a.IsentropicPower(0.1, 20, 0.05, 0, 150), 0.0);
    EXPECT_TRUE(r134a.lastError);
    EXPECT_EQ(r134a.errorCode, Trefrigerant::ErrorNotConverged);
}

// --- missing libraries
// ----------------------------------------------------------------------------

// Every request of a refrigerant whose library is missing fails with result 0.
void ExpectEveryRequestFails(Trefrigerant& r) {
    using Call = double (*)(Trefrigerant&);
    const Call calls[] = {
        [](Trefrigerant& x) { return x.DewPressure(-10); },
        [](Trefrigerant& x) { return x.BubblePressure(-10); },
        [](Trefrigerant& x) { return x.DewTemperature(20); },
        [](Trefrigerant& x) { return x.BubbleTemperature(20); },
        [](Trefrigerant& x) { return x.LiquidEnthalpy(20, 0); },
        [](Trefrigerant& x) { return x.VapourEnthalpy(2, 20); },
        [](Trefrigerant& x) { return x.VapourVolume(2, 20); },
        [](Trefrigerant& x) { return x.VapourEntropy(2, 20); },
        [](Trefrigerant& x) { return x.MidPointPressure(-10); },
        [](Trefrigerant& x) { return x.MidPointTemperature(20); },
        [](Trefrigerant& x) { return x.LiquidTemperatureFromEnthalpy(200, 20); },
        [](Trefrigerant& x) { return x.IsentropicPower(0.1, 20, 2, 40, 10); },
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        SCOPED_TRACE(i);
        r.lastError = false;
        EXPECT_EQ(calls[i](r), 0.0);
        EXPECT_TRUE(r.lastError);
    }
    EXPECT_TRUE(r.stickyError);
}

class MissingLibraryTest : public ::testing::Test {
  protected:
    void TearDown() override { UnloadPropertyLibraries(); }
    TempFolder folder;
};

TEST_F(MissingLibraryTest, NoLibraries) {
    LoadPropertyLibraries(folder.str());
    Trefrigerant r134a("R134a", 1, 'N', 1.1f);
    Trefrigerant co2("R744", 10, 'N', 1.3f);
    EXPECT_FALSE(r134a.initialised);
    EXPECT_FALSE(co2.initialised);
    EXPECT_TRUE(r134a.lastError);
    EXPECT_TRUE(co2.lastError);
    ExpectEveryRequestFails(r134a);
    ExpectEveryRequestFails(co2);
}

TEST_F(MissingLibraryTest, GeneralLibraryOnly) {
    folder.CopyLibrary(PropertyLibraryKind::General);
    LoadPropertyLibraries(folder.str());
    Trefrigerant r134a("R134a", 1, 'N', 1.1f);
    Trefrigerant co2("R744", 10, 'N', 1.3f);
    EXPECT_TRUE(r134a.initialised);
    EXPECT_NEAR(r134a.DewPressure(-10), 2.0060, 1e-4);
    EXPECT_FALSE(co2.initialised);
    ExpectEveryRequestFails(co2);
    co2.ClearErrors();
    co2.VapourEnthalpy(2, 20);
    EXPECT_EQ(co2.errorCode, Trefrigerant::ErrorVapourProperty);
}

TEST_F(MissingLibraryTest, CO2LibraryOnly) {
    folder.CopyLibrary(PropertyLibraryKind::CO2);
    LoadPropertyLibraries(folder.str());
    Trefrigerant r134a("R134a", 1, 'N', 1.1f);
    Trefrigerant co2("R744", 10, 'N', 1.3f);
    EXPECT_TRUE(co2.initialised);
    EXPECT_NEAR(co2.DewPressure(-10), 26.4868, 1e-3);
    EXPECT_FALSE(r134a.initialised);
    ExpectEveryRequestFails(r134a);
    r134a.ClearErrors();
    r134a.VapourEntropy(2, 20);
    EXPECT_EQ(r134a.errorCode, Trefrigerant::ErrorVapourProperty);
}

// A refrigerant made while the libraries were there fails once they are released.
TEST_F(MissingLibraryTest, RequestsFailAfterUnload) {
    LoadPropertyLibraries();
    Trefrigerant r134a("R134a", 1, 'N', 1.1f);
    ASSERT_TRUE(r134a.initialised);
    UnloadPropertyLibraries();
    ExpectEveryRequestFails(r134a);
    EXPECT_FALSE(r134a.Initialise());
}

}  // namespace
}  // namespace kelvra
