// Fits of the rating-model forms: each recovers the coefficients of data made from known ones,
// and the speed and inverter fits agree with the engine's own evaluation of those polynomials.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "rating_data.hpp"
#include "rating_fit.hpp"
#include "rating_set_builder.hpp"

namespace kelvra {
namespace {

TEST(RatingFit, RelativeWeightingKeepsSmallValuesAccurate) {
    // A quadratic in x fitted with a straight line: the absolute fit spends its error where the
    // values are small; the relative fit spreads it in proportion.
    std::vector<double> design, y;
    for (double x = 1; x <= 10; x += 0.5) {
        design.insert(design.end(), {1.0, x});
        y.push_back(0.2 + x * x);
    }
    const TermFit absolute = FitTerms(2, design, y, false);
    const TermFit relative = FitTerms(2, design, y, true);
    ASSERT_TRUE(absolute.ok && relative.ok);
    EXPECT_LT(relative.worst_relative, absolute.worst_relative);
    EXPECT_GT(relative.worst_abs, absolute.worst_abs);
}

TEST(RatingFit, RefusesFewerPointsThanTerms) {
    const std::vector<double> design{1, 2, 1, 3};
    const std::vector<double> y{1, 2};
    EXPECT_FALSE(FitTerms(3, design, y, false).ok);
}

TEST(RatingFit, AbsoluteTemperatureFormIsRecovered) {
    const std::array<double, 9> c{1200, 15, -40, 30, 110, 0.05, 0.8, -12, 300};
    std::vector<double> design, y;
    for (double Te = 233; Te <= 283; Te += 5)
        for (double Tc = 293; Tc <= 333; Tc += 5) {
            const double ps = 0.02 * std::exp((Te - 233) / 20.0) + 1.0, pd = 8 + (Tc - 293) * 0.5;
            const auto t = AbsoluteTemperatureTerms(Tc, Te, pd, ps);
            design.insert(design.end(), t.begin(), t.end());
            y.push_back(AbsoluteTemperatureValue(c, Tc, Te, pd, ps));
        }
    const TermFit f = FitTerms(9, design, y, true);
    ASSERT_TRUE(f.ok);
    EXPECT_LT(f.worst_relative, 1e-9);
    // The terms are those of the compressor's absolute-temperature form.
    const double Tc = 310, Te = 260, pd = 15, ps = 2.5;
    const double byHand = c[0] + c[1] * Tc + c[2] * Te + c[3] * pd + c[4] * ps + c[5] * Tc * Te +
                          c[6] * pd * ps + c[7] * pd / std::sqrt(ps) + c[8] * std::sqrt(ps);
    EXPECT_NEAR(AbsoluteTemperatureValue(c, Tc, Te, pd, ps), byHand, 1e-9);
}

TEST(RatingFit, EveryVolumetricEfficiencyFormRecoversItsCoefficients) {
    const std::array<double, 6> lambda{0.95, -0.012, 0.00015, -0.0008, 0.00002, 0.003};
    for (int form = 1; form <= kVolumetricEfficiencyForms; ++form) {
        std::vector<double> design, y;
        for (double ps = 1.0; ps <= 6.0; ps += 0.5)
            for (double pd = 10; pd <= 30; pd += 2.5) {
                const double r = pd / ps, tdew = 2.0 * pd - 5.0;
                const auto t = VolumetricEfficiencyTerms(form, r, pd, ps, tdew);
                double v = 0;
                for (int i = 0; i < 6; ++i) v += lambda[i] * t[i];
                design.insert(design.end(), t.begin(), t.end());
                y.push_back(v);
            }
        const TermFit f = FitTerms(6, design, y, true);
        ASSERT_TRUE(f.ok) << "form " << form;
        EXPECT_LT(f.worst_relative, 1e-9) << "form " << form;
    }
}

TEST(RatingFit, PowerLossFormsUseTheirOwnTerms) {
    struct Case {
        int form;
        std::array<double, 4> expected;  // at ps 2, pd 12, Te 260, Tc 310
    };
    const Case cases[] = {
        {1, {1, 2, 24, 12}},
        {2, {1, 260, 260 * 310, 310}},
        {3, {1, 2, 260 * 310, 310}},
        {4, {1, 2, 0, 12}},
        {5, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const auto t = PowerLossTerms(c.form, 2, 12, 260, 310);
        for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(t[i], c.expected[i]) << "form " << c.form << " term " << i;
    }
}

TEST(RatingFit, SpeedPolynomialFitAgreesWithTheSpeedRecord) {
    const std::array<double, 10> poly{5.0, 0.15, -0.04, 0.002, -0.0006, 0.0001, 0, 0, 0, 0};
    const std::array<double, 10> speed{0.0012, 3e-5, -1e-5, 4e-7, -2e-7, 1e-7, -2e-8, 1e-9, -5e-10, 1e-12};
    std::array<double, 40> values{};
    std::copy(speed.begin(), speed.end(), values.begin());
    const TrpmObject rpm(SpeedDataRecord(1, 1, values));
    std::vector<SpeedRatingPoint> points;
    for (double n = 1800; n <= 7200; n += 900)
        for (double S = -20; S <= 15; S += 5)
            for (double D = 25; D <= 60; D += 5)
                points.push_back({S, D, n, En12900Value(poly, S, D) + rpm.Evaluate(1, D, S, n)});
    const SpeedPolynomialFit f = FitWithSpeedPolynomial(points);
    ASSERT_TRUE(f.ok);
    EXPECT_LT(f.worst_relative, 1e-7);
    std::array<double, 40> fitted{};
    std::copy(f.speed.begin(), f.speed.end(), fitted.begin());
    const TrpmObject back(SpeedDataRecord(1, 1, fitted));
    for (const SpeedRatingPoint& p : {points.front(), points[points.size() / 2], points.back()})
        EXPECT_NEAR(En12900Value(f.polynomial, p.S, p.D) + back.Evaluate(1, p.D, p.S, p.n), p.value,
                    1e-6 * std::fabs(p.value));
}

TEST(RatingFit, InverterFunctionAgreesWithTheInverterRecord) {
    std::array<double, 40> values{};
    values[0] = 1.0;
    values[1] = 0.9;
    values[2] = 0.004;
    values[3] = -0.00002;
    const TinverterObject truth(SpeedDataRecord(1, TrpmObject::kInverterKind, values));
    std::vector<InverterPoint> points;
    for (double hz = 30; hz <= 70; hz += 10)
        for (double base : {3.0, 7.5, 12.0}) points.push_back({hz, base, truth.First(hz * 30, base)});
    const InverterFit f = FitInverterFunction(points);
    ASSERT_TRUE(f.ok);
    std::array<double, 40> fitted{};
    std::copy(f.c.begin(), f.c.end(), fitted.begin());
    const TinverterObject back(SpeedDataRecord(1, TrpmObject::kInverterKind, fitted));
    for (const InverterPoint& p : points) EXPECT_NEAR(back.First(p.x * 30, p.base), p.value, 1e-9);
}

TEST(RatingFit, LineThroughPoints) {
    const std::vector<double> d{1, 2, 4, 8};
    const std::vector<double> v{3.5, 5.5, 9.5, 17.5};
    const LineFit f = FitLine(d, v);
    ASSERT_TRUE(f.ok);
    EXPECT_NEAR(f.slope, 2.0, 1e-12);
    EXPECT_NEAR(f.intercept, 1.5, 1e-12);
}

}  // namespace
}  // namespace kelvra
