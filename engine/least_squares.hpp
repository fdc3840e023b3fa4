#pragma once
// Linear least-squares fitting of rating polynomials: the one routine behind the catalogue's
// rating data and the export of a model's polynomials.

#include <array>
#include <span>
#include <vector>

namespace kelvra {

struct LeastSquaresResult {
    bool ok = false;                  // false when there is nothing to fit (no points or no terms)
    std::vector<double> coefficients;  // one per term; terms beyond the usable count stay 0
    std::vector<double> fitted;        // the fitted value at every point
    int terms_used = 0;                // at most pointCount - 1 when pointCount <= termCount
};

// Fits y ~ sum_i c_i * design[k * termCount + i] over k = 0 .. pointCount-1. When termCount is
// not below pointCount only the first pointCount - 1 terms are fitted. Solved by a
// column-pivoting QR decomposition, which keeps the cubic rating polynomials accurate where
// normal equations would lose most of their digits.
LeastSquaresResult LeastSquares(int pointCount, int termCount, std::span<const double> design,
                                std::span<const double> response);

// The ten terms of an EN 12900 rating polynomial in the order of its coefficients C1..C10:
// 1, S, D, S^2, S*D, D^2, S^3, S^2*D, S*D^2, D^3 (S evaporating, D condensing temperature).
std::array<double, 10> En12900Terms(double S, double D);

// The polynomial itself: C1 + C2 S + C3 D + C4 S^2 + C5 S D + C6 D^2 + C7 S^3 + C8 D S^2 + C9 S D^2
// + C10 D^3.
double En12900Value(std::span<const double> c, double S, double D);

struct RatingPoint {
    double S = 0, D = 0, value = 0;
};

struct PolynomialFit {
    bool ok = false;
    std::array<double, 10> c{};
    double worst_abs = 0;       // largest |fitted - value|
    double worst_relative = 0;  // largest |fitted - value| / |value| over points with value != 0
};

// Fits the ten EN 12900 coefficients to rating points.
PolynomialFit FitEn12900(std::span<const RatingPoint> points);

}  // namespace kelvra
