#include "least_squares.hpp"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace kelvra {

LeastSquaresResult LeastSquares(int pointCount, int termCount, std::span<const double> design,
                                std::span<const double> response) {
    LeastSquaresResult r;
    if (pointCount <= 0 || termCount <= 0 ||
        design.size() < static_cast<std::size_t>(pointCount) * static_cast<std::size_t>(termCount) ||
        response.size() < static_cast<std::size_t>(pointCount))
        return r;
    r.coefficients.assign(termCount, 0.0);
    r.fitted.assign(pointCount, 0.0);
    const int n = termCount >= pointCount ? pointCount - 1 : termCount;
    r.terms_used = n;
    if (n <= 0) return r;

    Eigen::MatrixXd A(pointCount, n);
    Eigen::VectorXd y(pointCount);
    for (int k = 0; k < pointCount; ++k) {
        for (int i = 0; i < n; ++i) A(k, i) = design[static_cast<std::size_t>(k) * termCount + i];
        y(k) = response[k];
    }
    if (!A.allFinite() || !y.allFinite()) return r;
    // Scale the columns to unit size so that the rank decision does not depend on units.
    Eigen::VectorXd scale = A.colwise().norm().transpose();
    for (int i = 0; i < n; ++i)
        if (scale(i) > 0) A.col(i) /= scale(i); else scale(i) = 1.0;
    const Eigen::VectorXd x = A.colPivHouseholderQr().solve(y);
    if (!x.allFinite()) return r;
    for (int i = 0; i < n; ++i) r.coefficients[i] = x(i) / scale(i);
    for (int k = 0; k < pointCount; ++k) {
        double v = 0;
        for (int i = 0; i < n; ++i) v += r.coefficients[i] * design[static_cast<std::size_t>(k) * termCount + i];
        r.fitted[k] = v;
    }
    r.ok = true;
    return r;
}

std::array<double, 10> En12900Terms(double S, double D) {
    return {1.0, S, D, S * S, S * D, D * D, S * S * S, S * S * D, S * D * D, D * D * D};
}

double En12900Value(std::span<const double> c, double S, double D) {
    const auto t = En12900Terms(S, D);
    double v = 0;
    for (std::size_t i = 0; i < 10 && i < c.size(); ++i) v += c[i] * t[i];
    return v;
}

PolynomialFit FitEn12900(std::span<const RatingPoint> points) {
    PolynomialFit f;
    const int N = static_cast<int>(points.size());
    std::vector<double> design;
    std::vector<double> y;
    design.reserve(points.size() * 10);
    for (const RatingPoint& p : points) {
        const auto t = En12900Terms(p.S, p.D);
        design.insert(design.end(), t.begin(), t.end());
        y.push_back(p.value);
    }
    const LeastSquaresResult r = LeastSquares(N, 10, design, y);
    if (!r.ok) return f;
    std::copy(r.coefficients.begin(), r.coefficients.end(), f.c.begin());
    for (int k = 0; k < N; ++k) {
        const double d = std::fabs(r.fitted[k] - points[k].value);
        f.worst_abs = std::max(f.worst_abs, d);
        if (points[k].value != 0) f.worst_relative = std::max(f.worst_relative, d / std::fabs(points[k].value));
    }
    f.ok = true;
    return f;
}

}  // namespace kelvra
