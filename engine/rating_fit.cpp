#include "rating_fit.hpp"

#include <algorithm>
#include <cmath>

namespace kelvra {

namespace {

void Deviations(std::span<const double> fitted, std::span<const double> y, double& worstAbs,
                double& worstRelative) {
    worstAbs = 0;
    worstRelative = 0;
    for (std::size_t k = 0; k < y.size(); ++k) {
        const double d = std::fabs(fitted[k] - y[k]);
        worstAbs = std::max(worstAbs, d);
        if (y[k] != 0) worstRelative = std::max(worstRelative, d / std::fabs(y[k]));
    }
}

}  // namespace

TermFit FitTerms(int termCount, std::span<const double> design, std::span<const double> y,
                 bool relative) {
    TermFit f;
    const int n = static_cast<int>(y.size());
    f.points = n;
    if (termCount <= 0 || n < termCount ||
        design.size() < static_cast<std::size_t>(n) * static_cast<std::size_t>(termCount))
        return f;
    std::vector<double> A(design.begin(), design.begin() + static_cast<std::ptrdiff_t>(n) * termCount);
    std::vector<double> b(y.begin(), y.end());
    if (relative) {
        for (int k = 0; k < n; ++k) {
            const double w = y[k] != 0 ? 1.0 / std::fabs(y[k]) : 1.0;
            for (int i = 0; i < termCount; ++i) A[static_cast<std::size_t>(k) * termCount + i] *= w;
            b[k] *= w;
        }
    }
    const LeastSquaresResult r = LeastSquares(n, termCount, A, b);
    if (!r.ok) return f;
    f.c = r.coefficients;
    std::vector<double> fitted(static_cast<std::size_t>(n), 0.0);
    for (int k = 0; k < n; ++k) {
        double v = 0;
        for (int i = 0; i < termCount; ++i)
            v += f.c[i] * design[static_cast<std::size_t>(k) * termCount + i];
        fitted[k] = v;
    }
    Deviations(fitted, y, f.worst_abs, f.worst_relative);
    f.ok = std::all_of(f.c.begin(), f.c.end(), [](double v) { return std::isfinite(v); });
    return f;
}

PolynomialFit FitEn12900Relative(std::span<const RatingPoint> points) {
    PolynomialFit out;
    std::vector<double> design;
    std::vector<double> y;
    design.reserve(points.size() * 10);
    for (const RatingPoint& p : points) {
        const auto t = En12900Terms(p.S, p.D);
        design.insert(design.end(), t.begin(), t.end());
        y.push_back(p.value);
    }
    const TermFit f = FitTerms(10, design, y, true);
    if (!f.ok) return out;
    std::copy(f.c.begin(), f.c.end(), out.c.begin());
    out.worst_abs = f.worst_abs;
    out.worst_relative = f.worst_relative;
    out.ok = true;
    return out;
}

std::array<double, 9> AbsoluteTemperatureTerms(double Tc, double Te, double pd, double ps) {
    const double root = std::sqrt(ps);
    return {1.0, Tc, Te, pd, ps, Tc * Te, pd * ps, pd / root, root};
}

double AbsoluteTemperatureValue(std::span<const double> c, double Tc, double Te, double pd,
                                double ps) {
    const auto t = AbsoluteTemperatureTerms(Tc, Te, pd, ps);
    double v = 0;
    for (std::size_t i = 0; i < t.size() && i < c.size(); ++i) v += c[i] * t[i];
    return v;
}

std::array<double, 6> VolumetricEfficiencyTerms(int form, double r, double pd, double ps,
                                                double tdew) {
    switch (form) {
        case 1:
            return {1.0, r, r * pd, pd, 0, 0};
        case 2:
            return {1.0, r, r * pd, tdew + 273.15, ps * ps, std::sqrt(r)};
        case 3:
            return {1.0, r, pd, 0, 0, 0};
        case 4:
            return {1.0, r, r * pd, pd, pd * pd, 0};
        case 5:
            return {1.0, r, r * pd, pd, pd * pd * r, 0};
        default:
            return {};
    }
}

std::array<double, 4> PowerLossTerms(int form, double ps, double pd, double Te, double Tc) {
    switch (form) {
        case 1:
            return {1.0, ps, ps * pd, pd};
        case 2:
            return {1.0, Te, Te * Tc, Tc};
        case 3:
            return {1.0, ps, Te * Tc, Tc};
        case 4:
            return {1.0, ps, 0, pd};
        default:
            return {};
    }
}

std::array<double, 10> SpeedPolynomialTerms(double a, double b, double c) {
    return {c, c * b, c * a, c * b * b, c * a * b, c * a * a, c * c, c * c * b, c * c * a, c * c * c};
}

SpeedPolynomialFit FitWithSpeedPolynomial(std::span<const SpeedRatingPoint> points) {
    SpeedPolynomialFit out;
    std::vector<double> design;
    std::vector<double> y;
    design.reserve(points.size() * 20);
    for (const SpeedRatingPoint& p : points) {
        const auto t = En12900Terms(p.S, p.D);
        const auto s = SpeedPolynomialTerms(p.D, p.S, p.n);
        design.insert(design.end(), t.begin(), t.end());
        design.insert(design.end(), s.begin(), s.end());
        y.push_back(p.value);
    }
    const TermFit f = FitTerms(20, design, y, true);
    if (!f.ok) return out;
    std::copy(f.c.begin(), f.c.begin() + 10, out.polynomial.begin());
    std::copy(f.c.begin() + 10, f.c.end(), out.speed.begin());
    out.worst_abs = f.worst_abs;
    out.worst_relative = f.worst_relative;
    out.ok = true;
    return out;
}

InverterFit FitInverterFunction(std::span<const InverterPoint> points) {
    InverterFit out;
    std::vector<double> design;
    std::vector<double> y;
    for (const InverterPoint& p : points) {
        const double s = p.x / 50.0 * p.base;
        design.insert(design.end(), {s, s * p.x, s * p.x * p.x});
        y.push_back(p.value);
    }
    const TermFit f = FitTerms(3, design, y, true);
    if (!f.ok) return out;
    out.c = {1.0, f.c[0], f.c[1], f.c[2]};
    out.worst_abs = f.worst_abs;
    out.worst_relative = f.worst_relative;
    out.ok = true;
    return out;
}

LineFit FitLine(std::span<const double> d, std::span<const double> value) {
    LineFit out;
    if (d.size() != value.size()) return out;
    std::vector<double> design;
    for (double v : d) design.insert(design.end(), {v, 1.0});
    const TermFit f = FitTerms(2, design, value, true);
    if (!f.ok) return out;
    out.slope = f.c[0];
    out.intercept = f.c[1];
    out.worst_abs = f.worst_abs;
    out.worst_relative = f.worst_relative;
    out.ok = true;
    return out;
}

}  // namespace kelvra
