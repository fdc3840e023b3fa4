// The error convention of both entry-point sets: every bad request is reported, none crashes,
// hangs or hands back a NaN as a value.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kelvra_property_api.h"

namespace {

constexpr double K = 273.15;
constexpr double nan_ = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_ = std::numeric_limits<double>::infinity();

TEST(GeneralLibraryErrors, BadRequestsReturnNonZeroAndLeaveTheOutputAlone) {
    struct Case {
        const char* what;
        unsigned char (*call)(double*);
    };
    const Case cases[] = {
        {"unknown fluid", [](double* o) { return ILK_p_D("R9999", 260.0, o); }},
        {"null name", [](double* o) { return ILK_tc(nullptr, o); }},
        {"saturation below the triple point", [](double* o) { return ILK_p_D("R134a", 150.0, o); }},
        {"saturation above the critical point", [](double* o) { return ILK_p_B("R134a", 380.0, o); }},
        {"liquid enthalpy above the critical point", [](double* o) { return ILK_h_L("R32", 360.0, o); }},
        {"NaN temperature", [](double* o) { return ILK_p_D("R22", nan_, o); }},
        {"infinite temperature", [](double* o) { return ILK_h_L("R22", inf_, o); }},
        {"zero pressure", [](double* o) { return ILK_t_D("R404A", 0.0, o); }},
        {"negative pressure", [](double* o) { return ILK_h_V("R404A", -1e5, 300.0, o); }},
        {"NaN pressure", [](double* o) { return ILK_s_V("R410A", nan_, 300.0, o); }},
        {"pressure above the critical point", [](double* o) { return ILK_t_B("R410A", 6e6, o); }},
        {"pressure below the triple point", [](double* o) { return ILK_t_D("R134a", 100.0, o); }},
        {"vapour in the liquid region", [](double* o) { return ILK_h_V("R134a", 10e5, 0 + K, o); }},
        {"temperature above the equation's range", [](double* o) { return ILK_V_V("R134a", 1e5, 900.0, o); }},
        {"pressure above the equation's range", [](double* o) { return ILK_h_V("R134a", 1e9, 400.0, o); }},
    };
    for (const Case& c : cases) {
        double out = 12345.0;
        EXPECT_NE(c.call(&out), 0) << c.what;
        EXPECT_EQ(out, 12345.0) << c.what;
    }
    EXPECT_EQ(ILK_tc("R134a", nullptr), KELVRA_PROPERTY_INVALID_ARGUMENT);
    double out = 0;
    EXPECT_EQ(ILK_p_D("R9999", 260.0, &out), KELVRA_PROPERTY_UNKNOWN_FLUID);
    EXPECT_EQ(ILK_h_V("R134a", 10e5, K, &out), KELVRA_PROPERTY_NO_SUCH_PHASE);
}

TEST(GeneralLibraryErrors, NamesAreCaseInsensitiveAndAliasesWork) {
    double a = 0, b = 0, c = 0;
    ASSERT_EQ(ILK_p_D("R404A", 253.15, &a), 0);
    ASSERT_EQ(ILK_p_D("r404a", 253.15, &b), 0);
    EXPECT_EQ(a, b);
    ASSERT_EQ(ILK_tc("R290", &a), 0);
    ASSERT_EQ(ILK_tc("propane", &c), 0);
    EXPECT_EQ(a, c);
}

TEST(GeneralLibraryErrors, SaturationEdgesAnswer) {
    double p = 0, pc = 0, T = 0, Tc = 0;
    ASSERT_EQ(ILK_tc("R134a", &Tc), 0);
    ASSERT_EQ(ILK_pc("R134a", &pc), 0);
    ASSERT_EQ(ILK_p_D("R134a", Tc, &p), 0);  // at the critical point itself
    EXPECT_NEAR(p / pc, 1.0, 1e-9);
    ASSERT_EQ(ILK_t_D("R134a", pc, &T), 0);
    EXPECT_NEAR(T, Tc, 1e-6);
    ASSERT_EQ(ILK_p_D("R134a", 169.85, &p), 0);  // at the triple point
    EXPECT_NEAR(p, 389.56, 0.01);
}

TEST(Co2LibraryErrors, FailuresGiveQuietNaN) {
    int opt = 99, bad_opt = 1;
    double sat = -1.0;
    double T = 310.0, p = 0;  // above the critical temperature
    PTVCO2(&T, &sat, &opt, &p);
    EXPECT_TRUE(std::isnan(p));
    double pp = 80e5, Tout = 0;  // above the critical pressure
    TPVCO2(&pp, &sat, &opt, &Tout);
    EXPECT_TRUE(std::isnan(Tout));
    EXPECT_TRUE(std::isnan(HTVCO2(&T, &sat, &opt)));  // no saturated liquid above Tc
    double T1 = 263.15;
    PTVCO2(&T1, &sat, &bad_opt, &p);  // only option 99 is known
    EXPECT_TRUE(std::isnan(p));
    double pl = 20e5, Tl = 290.0;  // liquid asked for in the vapour region
    EXPECT_TRUE(std::isnan(VLPTCO2(&pl, &Tl, &opt)));
    double pn = nan_, Tn = 300.0;
    EXPECT_TRUE(std::isnan(VPTCO2(&pn, &Tn, &opt)));
    double neg = -3.0;
    EXPECT_TRUE(std::isnan(HTVCO2(&T1, &neg, &opt)));  // a negative volume other than -1
    EXPECT_TRUE(std::isnan(VPTCO2(nullptr, &Tn, &opt)));
    KRITCO2(nullptr, nullptr, nullptr, nullptr);  // tolerates missing outputs
}

TEST(Co2LibraryErrors, SaturatedAndSupercriticalStates) {
    int opt = 99;
    double sat = -1.0;
    double T = 263.15, p = 0;
    PTVCO2(&T, &sat, &opt, &p);
    EXPECT_NEAR(p / 1e5, 26.4867, 1e-3);
    double Tback = 0;
    TPVCO2(&p, &sat, &opt, &Tback);
    EXPECT_NEAR(Tback, T, 1e-6);
    // a gas-cooler state at 100 bar and 35 degC: one fluid phase above the critical point
    double pg = 100e5, Tg = 308.15;
    const double v = VPTCO2(&pg, &Tg, &opt);
    ASSERT_TRUE(std::isfinite(v));
    EXPECT_NEAR(HTVCO2(&Tg, const_cast<double*>(&v), &opt) / 1e3, 289.5178, 0.01);
    double pv = 0, Tv = 0;
    double vv = v;
    PTVCO2(&Tg, &vv, &opt, &pv);  // pressure and temperature from the volume give the state back
    EXPECT_NEAR(pv / pg, 1.0, 1e-9);
    TPVCO2(&pg, &vv, &opt, &Tv);
    EXPECT_NEAR(Tv, Tg, 1e-6);
}

}  // namespace
