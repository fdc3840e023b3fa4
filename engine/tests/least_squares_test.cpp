#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "least_squares.hpp"

namespace kelvra {
namespace {

// Capacity-like coefficients of a typical compressor (kW, degC).
constexpr std::array<double, 10> kTrue = {25.1, 0.92, -0.31, 0.0121, -0.0063, 0.0009, 1.2e-4, -3.1e-5, 1.7e-5, -6.0e-6};

std::vector<RatingPoint> grid(const std::array<double, 10>& c, double noise = 0, unsigned seed = 1) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> n(0, noise);
    std::vector<RatingPoint> pts;
    for (double S = -35; S <= 12.5; S += 2.5)
        for (double D = 25; D <= 65; D += 5)
            if (D - S > 20) pts.push_back({S, D, En12900Value(c, S, D) + (noise > 0 ? n(rng) : 0.0)});
    return pts;
}

TEST(LeastSquares, RecoversExactPolynomialOverAnEnvelopeShapedGrid) {
    const PolynomialFit f = FitEn12900(grid(kTrue));
    ASSERT_TRUE(f.ok);
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(f.c[i], kTrue[i], 1e-9 * std::max(1.0, std::fabs(kTrue[i]))) << i;
    EXPECT_LT(f.worst_abs, 1e-9);
}

TEST(LeastSquares, ImperialScaleDataKeepsItsDigits) {
    // The same machine in degF and Btu/h: values of 1e5 with S, D up to 150 make the normal
    // equations badly conditioned; the fit must still reproduce every point closely.
    std::vector<RatingPoint> pts;
    for (const RatingPoint& p : grid(kTrue))
        pts.push_back({p.S * 1.8 + 32, p.D * 1.8 + 32, p.value * 3412.14});
    const PolynomialFit f = FitEn12900(pts);
    ASSERT_TRUE(f.ok);
    EXPECT_LT(f.worst_relative, 1e-9);
}

TEST(LeastSquares, NoisyDataReportsItsWorstDeviation) {
    const auto pts = grid(kTrue, 0.05);
    const PolynomialFit f = FitEn12900(pts);
    ASSERT_TRUE(f.ok);
    double worst = 0;
    for (const RatingPoint& p : pts) worst = std::max(worst, std::fabs(En12900Value(f.c, p.S, p.D) - p.value));
    EXPECT_NEAR(f.worst_abs, worst, 1e-12);
    EXPECT_GT(f.worst_abs, 0.01);
    EXPECT_LT(f.worst_abs, 0.3);
}

TEST(LeastSquares, FewPointsFitFewerTerms) {
    // four points: three terms are fitted, the rest stay 0
    const double design[] = {1, 0, 1, 1, 1, 2, 1, 3};  // terms 1 and x
    const double y[] = {1, 3, 5, 7};
    LeastSquaresResult r = LeastSquares(4, 2, design, y);
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.coefficients[0], 1, 1e-12);
    EXPECT_NEAR(r.coefficients[1], 2, 1e-12);
    const double d3[] = {1, 0, 0, 1, 1, 1, 1, 2, 4};
    r = LeastSquares(3, 3, d3, y);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.terms_used, 2);
    EXPECT_EQ(r.coefficients[2], 0.0);
    EXPECT_FALSE(LeastSquares(1, 10, design, y).ok);  // one point: nothing to fit
    EXPECT_FALSE(LeastSquares(0, 10, design, y).ok);
    const double bad[] = {1, NAN, 1, 1, 1, 2};
    EXPECT_FALSE(LeastSquares(3, 2, bad, y).ok);
}

}  // namespace
}  // namespace kelvra
