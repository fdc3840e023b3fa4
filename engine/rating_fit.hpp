#pragma once
// Least-squares fits of the rating-model forms other than the plain EN 12900 polynomial: the
// absolute-temperature form, the efficiency model's volumetric-efficiency and power-loss forms,
// the speed polynomials and the inverter functions. Every fit goes through LeastSquares
// (least_squares.hpp) and reports its worst deviation.
//
// Fits can weight every point by the inverse of its value, so that the fit minimises relative
// rather than absolute deviations: a rating polynomial has to be as good at a small capacity at
// the edge of the envelope as at a large one.

#include <array>
#include <span>
#include <vector>

#include "least_squares.hpp"

namespace kelvra {

// A fit of y ~ sum_i c_i t_i(point).
struct TermFit {
    bool ok = false;
    std::vector<double> c;      // one per term
    double worst_abs = 0;       // largest |fitted - value|
    double worst_relative = 0;  // largest |fitted - value| / |value| over points with value != 0
    int points = 0;
};

// Fits `termCount` coefficients to the rows of `design` (row-major, one row of termCount terms
// per point) and the values `y`. With `relative` every row is weighted by 1 / |y| (a point with
// y = 0 keeps weight 1). Not ok when LeastSquares is not, or when there are fewer points than
// terms.
TermFit FitTerms(int termCount, std::span<const double> design, std::span<const double> y,
                 bool relative);

// The EN 12900 fit of FitEn12900, weighted for relative deviation.
PolynomialFit FitEn12900Relative(std::span<const RatingPoint> points);

// Terms of the absolute-temperature form in the order of its coefficients C1..C9:
// 1, Tc, Te, pd, ps, Tc Te, pd ps, pd / sqrt(ps), sqrt(ps) (Tc, Te in K, pressures in bar).
std::array<double, 9> AbsoluteTemperatureTerms(double Tc, double Te, double pd, double ps);
double AbsoluteTemperatureValue(std::span<const double> c, double Tc, double Te, double pd,
                                double ps);

// The efficiency model's volumetric-efficiency forms 1..5 (the rating set's data-flags word):
// the terms of lambda1..lambda6 at pressure ratio r, discharge pressure pd, suction pressure ps
// and dew temperature tdew of the discharge pressure (degC). Terms a form does not use are 0.
std::array<double, 6> VolumetricEfficiencyTerms(int form, double r, double pd, double ps,
                                                double tdew);
inline constexpr int kVolumetricEfficiencyForms = 5;

// The efficiency model's power-loss forms 1..4 (the power-unit word): the terms of a, b, c, d at
// suction and discharge pressure (bar) and evaporating dew and condensing mid-point temperature
// Te, Tc (K). Terms a form does not use are 0.
std::array<double, 4> PowerLossTerms(int form, double ps, double pd, double Te, double Tc);
inline constexpr int kPowerLossForms = 4;

// The ten terms of one speed polynomial K1..K10 at arguments a, b, c:
// c, c b, c a, c b^2, c a b, c a^2, c^2, c^2 b, c^2 a, c^3.
std::array<double, 10> SpeedPolynomialTerms(double a, double b, double c);

// One point of a speed-dependent rating: polynomial temperatures S (evaporating), D
// (condensing), speed n and the value.
struct SpeedRatingPoint {
    double S = 0, D = 0, n = 0, value = 0;
};

// A rating polynomial and its speed polynomial, fitted together:
// value ~ X(S, D) + speedPolynomial(a = D, b = S, c = n).
struct SpeedPolynomialFit {
    bool ok = false;
    std::array<double, 10> polynomial{};  // EN 12900 coefficients C1..C10
    std::array<double, 10> speed{};       // speed polynomial K1..K10
    double worst_abs = 0;
    double worst_relative = 0;
};
SpeedPolynomialFit FitWithSpeedPolynomial(std::span<const SpeedRatingPoint> points);

// One point of an inverter function: frequency x (Hz), the value at 50 Hz and the value at x.
struct InverterPoint {
    double x = 0, base = 0, value = 0;
};

// The inverter function (x / 50) b C1 (C2 + C3 x + C4 x^2), fitted with C1 = 1: returns
// {C1, C2, C3, C4} and the worst deviations.
struct InverterFit {
    bool ok = false;
    std::array<double, 4> c{};
    double worst_abs = 0;
    double worst_relative = 0;
};
InverterFit FitInverterFunction(std::span<const InverterPoint> points);

// The line C31 d + C32 through points (d, value): returns {C31, C32}.
struct LineFit {
    bool ok = false;
    double slope = 0, intercept = 0;
    double worst_abs = 0;
    double worst_relative = 0;
};
LineFit FitLine(std::span<const double> d, std::span<const double> value);

}  // namespace kelvra
