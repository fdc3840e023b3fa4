// Entry points of the CO2 property library (R744). Every argument is passed by reference;
// the option must be 99; a volume of -1.0 asks for the saturated state at T. Failures give a
// quiet NaN and no exception leaves the library.

#include <cmath>
#include <limits>

#include "kelvra_property_api.h"
#include "registry.hpp"

using namespace kelvra::fluids;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kOption = 99;

const Fluid* co2() { return Registry::instance().find("R744"); }

bool saturated(double v) { return v == -1.0; }

bool args_ok(const double* a, const double* b, const int* option) {
    return a && b && option && *option == kOption && std::isfinite(*a) && std::isfinite(*b);
}

double finite_or_nan(double x) { return std::isfinite(x) ? x : kNaN; }

// Temperature at which the equation of state gives pressure p at specific volume v. Inside the
// two-phase dome the equation is not physical and may give any pressure, so the bracket is
// searched downwards from the top of the range: the highest root is the physical state.
Status temperature_from_pv(const Fluid& f, double p, double v, double& T) {
    if (!(p > 0) || !(v > 0)) return Status::invalid_argument;
    const double rho = 1.0 / v;
    double hi = f.data().T_max;
    double fhi = f.pressure(hi, rho) - p;
    if (!(fhi >= 0)) return Status::out_of_range;
    double lo = hi, flo = fhi;
    for (int k = 0; k < 200 && flo >= 0; ++k) {
        hi = lo, fhi = flo;
        lo = std::max(f.data().T_triple, hi - std::max(2.0, 0.1 * (hi - f.data().T_triple)));
        flo = f.pressure(lo, rho) - p;
        if (lo <= f.data().T_triple && flo >= 0) return Status::out_of_range;
    }
    if (!(flo < 0)) return Status::out_of_range;
    for (int it = 0; it < 200; ++it) {
        double Tm = lo - flo * (hi - lo) / (fhi - flo);
        if (!(Tm > lo && Tm < hi) || it % 3 == 2) Tm = 0.5 * (lo + hi);
        const double fm = f.pressure(Tm, rho) - p;
        if (std::fabs(fm) <= 1e-12 * p || hi - lo < 1e-12) {
            T = Tm;
            return Status::ok;
        }
        if (fm < 0) lo = Tm, flo = fm; else hi = Tm, fhi = fm;
    }
    return Status::not_converged;
}

}  // namespace

extern "C" {

void KRITCO2(double* p_crit, double* third, double* T_crit, double* scratch) {
    (void)scratch;
    try {
        const Fluid* f = co2();
        if (p_crit) *p_crit = f ? f->p_crit() : kNaN;
        if (third) *third = f ? f->rho_crit() : kNaN;
        if (T_crit) *T_crit = f ? f->T_crit() : kNaN;
    } catch (...) {
        if (p_crit) *p_crit = kNaN;
        if (T_crit) *T_crit = kNaN;
    }
}

void PTVCO2(double* T, double* v, int* option, double* p) {
    if (!p) return;
    *p = kNaN;
    try {
        const Fluid* f = co2();
        if (!f || !args_ok(T, v, option)) return;
        double out = kNaN;
        if (saturated(*v)) {
            if (*T >= f->T_crit() || f->dew_pressure(*T, out) != Status::ok) return;
        } else {
            if (!(*v > 0) || *T < f->data().T_triple || *T > f->data().T_max) return;
            out = f->pressure(*T, 1.0 / *v);
        }
        *p = finite_or_nan(out);
    } catch (...) {
        *p = kNaN;
    }
}

void TPVCO2(double* p, double* v, int* option, double* T) {
    if (!T) return;
    *T = kNaN;
    try {
        const Fluid* f = co2();
        if (!f || !args_ok(p, v, option)) return;
        double out = kNaN;
        if (saturated(*v)) {
            if (*p >= f->p_crit() || f->dew_temperature(*p, out) != Status::ok) return;
        } else if (temperature_from_pv(*f, *p, *v, out) != Status::ok) {
            return;
        }
        *T = finite_or_nan(out);
    } catch (...) {
        *T = kNaN;
    }
}

static double volume(double* p, double* T, int* option, Phase phase) {
    try {
        const Fluid* f = co2();
        if (!f || !args_ok(p, T, option)) return kNaN;
        Props s;
        if (f->state(*p, *T, phase, s) != Status::ok) return kNaN;
        return finite_or_nan(s.v);
    } catch (...) {
        return kNaN;
    }
}

double VPTCO2(double* p, double* T, int* option) { return volume(p, T, option, Phase::vapour); }

double VLPTCO2(double* p, double* T, int* option) { return volume(p, T, option, Phase::liquid); }

static double caloric(double* T, double* v, int* option, bool enthalpy) {
    try {
        const Fluid* f = co2();
        if (!f || !args_ok(T, v, option)) return kNaN;
        Props s;
        if (saturated(*v)) {
            if (*T >= f->T_crit() || f->saturated_liquid(*T, s) != Status::ok) return kNaN;
        } else {
            if (!(*v > 0) || *T < f->data().T_triple || *T > f->data().T_max) return kNaN;
            s = f->props(*T, 1.0 / *v);
        }
        return finite_or_nan(enthalpy ? s.h : s.s);
    } catch (...) {
        return kNaN;
    }
}

double HTVCO2(double* T, double* v, int* option) { return caloric(T, v, option, true); }

double STVCO2(double* T, double* v, int* option) { return caloric(T, v, option, false); }

}  // extern "C"
