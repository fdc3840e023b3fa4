// The tabulated saturation lines and the single-phase solver against slow, independent
// solutions at random states between the table's grid points, for every fluid.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "registry.hpp"

namespace {

using namespace kelvra::fluids;

class FastPath : public ::testing::TestWithParam<std::string> {};

struct Worst {
    double p = 0, T = 0, hL = 0, h = 0, s = 0, v = 0;
};

// Vapour density at (p, T) by plain bisection between zero and the saturated vapour density:
// slow, but shares nothing with the Newton solver under test.
double vapour_density_by_bisection(const Fluid& f, double p, double T, double rho_sat) {
    double lo = 0, hi = rho_sat;
    for (int i = 0; i < 200 && hi - lo > 1e-15 * hi; ++i) {
        const double mid = 0.5 * (lo + hi);
        (f.pressure(T, mid) < p ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

TEST_P(FastPath, HoldsTheReferenceBoundsBetweenGridPoints) {
    const Fluid* f = Registry::instance().find(GetParam());
    ASSERT_NE(f, nullptr);
    std::mt19937_64 rng(20261211);
    // Up to 1 K below the critical point, where the design's operating range ends.
    const double Tlo = f->T_min_saturation(), Thi = f->T_crit() - 1.0;
    std::uniform_real_distribution<double> Tdist(Tlo, Thi), frac(0, 1);
    Worst w;
    for (int i = 0; i < 1500; ++i) {
        const double T = Tdist(rng);
        Saturation exact;
        ASSERT_EQ(f->saturation_exact(T, exact), Status::ok) << T;
        double p = 0, pb = 0, hL = 0, hL_exact = 0;
        ASSERT_EQ(f->dew_pressure(T, p), Status::ok);
        ASSERT_EQ(f->bubble_pressure(T, pb), Status::ok);
        ASSERT_EQ(f->saturated_liquid_enthalpy(T, hL), Status::ok);
        ASSERT_EQ(f->saturated_liquid_enthalpy_exact(T, hL_exact), Status::ok);
        w.p = std::max({w.p, std::fabs(p / exact.p_dew - 1), std::fabs(pb / exact.p_bub - 1)});
        w.hL = std::max(w.hL, std::fabs(hL - hL_exact) / 1e3);

        if (i % 3 == 0) {  // dew and bubble temperatures from pressure
            double Td = 0, Tb = 0, Td_exact = 0, Tb_exact = 0;
            ASSERT_EQ(f->dew_temperature(exact.p_dew, Td), Status::ok);
            ASSERT_EQ(f->bubble_temperature(exact.p_bub, Tb), Status::ok);
            ASSERT_EQ(f->dew_temperature_exact(exact.p_dew, Td_exact), Status::ok);
            ASSERT_EQ(f->bubble_temperature_exact(exact.p_bub, Tb_exact), Status::ok);
            w.T = std::max({w.T, std::fabs(Td - Td_exact), std::fabs(Tb - Tb_exact), std::fabs(Td_exact - T)});
        }

        // a superheated state at the dew pressure of T, 0.1 to 80 K above it
        const double Tv = std::min(T + 0.1 + 80 * frac(rng), f->data().T_max);
        // at p_dew(T) and above T the vapour is less dense than the saturated vapour at T
        const double rho = vapour_density_by_bisection(*f, exact.p_dew, Tv, exact.rho_vapour);
        const Props slow = f->props(Tv, rho);
        Props fast;
        ASSERT_EQ(f->state(exact.p_dew, Tv, Phase::vapour, fast), Status::ok) << T << " " << Tv;
        w.h = std::max(w.h, std::fabs(fast.h - slow.h) / 1e3);
        w.s = std::max(w.s, std::fabs(fast.s - slow.s) / 1e3);
        w.v = std::max(w.v, std::fabs(fast.v / slow.v - 1));
    }
    std::cout << GetParam() << ": worst p " << w.p << " T " << w.T << " K hL " << w.hL << " kJ/kg, vapour h "
              << w.h << " s " << w.s << " v " << w.v << "\n";
    EXPECT_LE(w.p, 1e-4);
    EXPECT_LE(w.T, 0.005);
    EXPECT_LE(w.hL, 0.01);
    EXPECT_LE(w.h, 0.01);
    EXPECT_LE(w.s, 0.00005);
    EXPECT_LE(w.v, 1e-4);
}

// Above the critical temperature a state starts from a tabulated density. The answers must not
// depend on what was asked before: every state of a walk through the supercritical region (as a
// cycle calculation makes it, back and forth across the critical pressure) equals, to the last
// bit, the same state solved first thing on a fresh thread.
TEST(SupercriticalStates, DoNotDependOnTheStatesAskedBefore) {
    const Fluid* f = Registry::instance().find("R744");
    ASSERT_NE(f, nullptr);
    std::vector<std::pair<double, double>> walk;  // (p Pa, T K)
    std::mt19937 random(7);
    std::uniform_real_distribution<double> pressure(40e5, 140e5), temperature(305.0, 450.0);
    for (int i = 0; i < 400; ++i) walk.emplace_back(pressure(random), temperature(random));
    // ... and slow drifts, where neighbours are always close.
    for (int i = 0; i < 200; ++i) walk.emplace_back(70e5 + 0.1e5 * i, 306.0 + 0.2 * i);

    std::vector<double> warm(walk.size());
    for (std::size_t i = 0; i < walk.size(); ++i) {
        Props out;
        ASSERT_EQ(f->state(walk[i].first, walk[i].second, Phase::vapour, out), Status::ok);
        warm[i] = out.rho;
    }
    for (std::size_t i = 0; i < walk.size(); i += 7) {
        double cold = 0;
        std::thread([&] {
            Props out;
            if (f->state(walk[i].first, walk[i].second, Phase::vapour, out) == Status::ok)
                cold = out.rho;
        }).join();
        SCOPED_TRACE(::testing::Message() << walk[i].first << " Pa, " << walk[i].second << " K");
        EXPECT_EQ(warm[i], cold);
        // ... and both solve the equation of state.
        EXPECT_NEAR(f->pressure(walk[i].second, warm[i]), walk[i].first, 1e-8 * walk[i].first);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFluid, FastPath, ::testing::ValuesIn(Registry::instance().names()),
                         [](const auto& info) {
                             std::string n;
                             for (char c : info.param) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return n;
                         });

}  // namespace
