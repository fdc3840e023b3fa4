#include "fluid.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kelvra::fluids {

const char* describe(Status s) {
    switch (s) {
        case Status::ok: return "no error";
        case Status::unknown_fluid: return "unknown fluid";
        case Status::invalid_argument: return "invalid argument (not a finite number, or a pressure not above zero)";
        case Status::out_of_range: return "outside the range of the equation of state";
        case Status::no_such_phase: return "the requested phase does not exist at this state";
        case Status::not_converged: return "the solution did not converge";
    }
    return "unknown error";
}

namespace {

constexpr int kMaxSteps = 100;
constexpr double kT0 = 273.15;
constexpr int kTableNodes = 320;
// A state counts as on the requested side of a saturation line within this relative pressure band.
constexpr double kPhaseTolerance = 1e-7;

bool finite(double x) { return std::isfinite(x); }

// Four-point Lagrange interpolation on a uniform grid at s (in node units), nodes j..j+3.
double lagrange4(const double* y, double s, int j) {
    const double x = s - j;  // position relative to node j, in [0, 3]
    const double x1 = x - 1, x2 = x - 2, x3 = x - 3;
    return -y[0] * x1 * x2 * x3 / 6 + y[1] * x * x2 * x3 / 2 - y[2] * x * x1 * x3 / 2 +
           y[3] * x * x1 * x2 / 6;
}

double lagrange4_deriv(const double* y, double s, int j) {
    const double x = s - j;
    const double x1 = x - 1, x2 = x - 2, x3 = x - 3;
    return -y[0] * (x2 * x3 + x1 * x3 + x1 * x2) / 6 + y[1] * (x2 * x3 + x * x3 + x * x2) / 2 -
           y[2] * (x1 * x3 + x * x3 + x * x1) / 2 + y[3] * (x1 * x2 + x * x2 + x * x1) / 6;
}


// Safeguarded Newton iteration for p(rho) = p at the prepared temperature. The solution is
// looked for on one side of the two-phase region: `liquid_side` moves out of an unstable
// (dp/drho <= 0) region towards higher densities, otherwise towards lower ones. lo and hi bound
// the root where known (hi may be infinite).
bool density_newton(const HelmholtzModel& model, const HelmholtzModel::TauCache& c, double RT,
                    double rr, double p, double r, double lo, double hi, bool liquid_side,
                    double& rho_out) {
    for (int it = 0; it < kMaxSteps; ++it) {
        double d, dd;
        model.residual_pressure(r / rr, c, d, dd);
        const double f = r * RT * (1 + d) - p;
        const double fp = RT * (1 + 2 * d + dd);
        if (!std::isfinite(f) || !std::isfinite(fp)) return false;
        const double noise = 1e-11 * p + 1e-14 * r * std::fabs(fp);
        if (fp > 0) {
            if (std::fabs(f) <= noise) {
                rho_out = r;
                return true;
            }
            if (f < 0) lo = std::max(lo, r); else hi = std::min(hi, r);
        }
        double rn = fp > 0 ? r - f / fp : std::numeric_limits<double>::quiet_NaN();
        if (!(rn > lo && rn < hi)) {
            if (fp <= 0) rn = liquid_side ? (std::isfinite(hi) ? 0.5 * (r + hi) : 1.1 * r) : 0.5 * (lo + r);
            else rn = std::isfinite(hi) ? 0.5 * (lo + hi) : 1.5 * r;
        }
        if (std::fabs(rn - r) <= 1e-15 * r) {
            if (fp > 0 && std::fabs(f) <= 1000 * noise) {
                rho_out = r;
                return true;
            }
            return false;
        }
        r = rn;
    }
    return false;
}

}  // namespace

double ancillary_value(const Ancillary& a, double T) {
    const double theta = 1.0 - T / a.T_r;
    double sum = 0;
    if (theta > 0) {
        const double lt = std::log(theta);
        for (std::size_t i = 0; i < a.n.size(); ++i) sum += a.n[i] * std::exp(a.t[i] * lt);
    }
    if (a.form == Ancillary::Form::noexp_sum) return a.reducing_value * (1 + sum);
    if (a.using_tau_r) sum *= a.T_r / T;
    return a.reducing_value * std::exp(sum);
}

double ancillary_dlog_dT(const Ancillary& a, double T) {
    const double theta = 1.0 - T / a.T_r;
    if (theta <= 0) return 0;
    const double lt = std::log(theta);
    double s = 0, ds = 0;  // sum and d(sum)/dtheta
    for (std::size_t i = 0; i < a.n.size(); ++i) {
        const double v = a.n[i] * std::exp(a.t[i] * lt);
        s += v;
        ds += a.t[i] * v / theta;
    }
    // dtheta/dT = -1/T_r
    if (a.using_tau_r) return -a.T_r / (T * T) * s - ds / T;
    return -ds / a.T_r;
}

struct Fluid::Table {
    int n = 0;
    int k0 = 0;          // first usable node (0 is the critical point)
    double u_max = 0, du = 0;
    std::vector<double> lnp_dew, lnp_bub, rhoL, rhoV, hL;  // rho in mol/m3, h in J/kg

    // Stencil start and position in node units for u; false when u lies outside the table.
    bool locate(double u, double& s, int& j) const {
        s = u / du;
        if (s < k0 - 1e-9 || s > n - 1 + 1e-9) return false;
        int i = static_cast<int>(std::floor(s));
        j = std::clamp(i - 1, k0, n - 4);
        return true;
    }
    double at(const std::vector<double>& y, double s, int j) const { return lagrange4(&y[j], s, j); }
};

// Starting densities above the critical temperature (see supercritical_grid).
struct Fluid::SupercriticalGrid {
    static constexpr int nT = 40, np = 40;
    double T0 = 0, dT = 0, lp0 = 0, dlp = 0;
    std::vector<double> ln_rho;  // molar density; NaN where no state was found
    double at(int i, int j) const { return ln_rho[static_cast<std::size_t>(i * np + j)]; }
};

Fluid::~Fluid() = default;

Fluid::Fluid(const FluidData& data) : data_(data), model_(data_) { R_ = data_.gas_constant; }

std::unique_ptr<Fluid> Fluid::create(const FluidData& data, std::string& error) {
    std::unique_ptr<Fluid> f(new Fluid(data));
    const FluidData& d = f->data_;
    if (d.pseudo_pure) {
        f->T_crit_ = d.T_crit;
        f->p_crit_ = d.p_crit;
        f->rho_crit_molar_ = d.rho_crit;
        f->T_min_sat_ = std::max({d.T_triple, d.p_liquid.Tmin, d.p_vapour.Tmin});
        f->T_crit_ = std::min({d.T_crit, d.p_liquid.Tmax, d.p_vapour.Tmax, d.p_liquid.T_r});
        f->p_min_dew_ = ancillary_value(d.p_vapour, f->T_min_sat_);
        f->p_min_bub_ = ancillary_value(d.p_liquid, f->T_min_sat_);
    } else {
        if (f->critical_point_of_eos() != Status::ok) {
            error = d.name + ": the critical point of the equation of state was not found";
            return nullptr;
        }
        f->T_min_sat_ = std::max(d.T_triple, d.p_sat.Tmin);
    }

    // Reference state: h = 200 kJ/kg, s = 1 kJ/(kg K) for saturated (bubble) liquid at 0 degC.
    Saturation sat;
    if (f->saturation_solve(kT0, sat, false) != Status::ok) {
        error = d.name + ": no saturated liquid at 0 degC for the reference state";
        return nullptr;
    }
    double rho_molar = sat.rho_liquid / d.molar_mass;
    HelmholtzModel::TauCache c;
    f->model_.prepare(d.T_reducing / kT0, c);
    Props raw = f->props_molar(kT0, rho_molar, c);
    f->h_offset_ = 200000.0 - raw.h;
    f->s_offset_ = 1000.0 - raw.s;

    if (!d.pseudo_pure) {
        Saturation low;
        if (f->saturation_solve(f->T_min_sat_, low, false) != Status::ok) {
            error = d.name + ": no saturation at the lowest temperature";
            return nullptr;
        }
        f->p_min_dew_ = f->p_min_bub_ = low.p_dew;
    }
    return f;
}

Status Fluid::critical_point_of_eos() {
    const FluidData& d = data_;
    const double Tr = d.T_reducing, rr = d.rho_reducing;
    bool nonanalytic = std::any_of(d.residual.begin(), d.residual.end(), [](const ResidualTerm& t) {
        return t.kind == ResidualTerm::Kind::nonanalytic;
    });
    HelmholtzModel::TauCache c;
    auto f1 = [&](double tau, double delta) {
        model_.prepare(tau, c);
        double dd1, dd2;
        model_.residual_pressure(delta, c, dd1, dd2);
        return 1 + 2 * dd1 + dd2;
    };
    auto f2 = [&](double tau, double delta) {
        const double h = 1e-4 * delta;
        return (f1(tau, delta + h) - f1(tau, delta - h)) / (2 * h);
    };
    double tau = Tr / d.T_crit, delta = d.rho_crit / rr;
    bool ok = false;
    if (!nonanalytic) {
        for (int it = 0; it < 60; ++it) {
            const double a = f1(tau, delta), b = f2(tau, delta);
            const double ht = 1e-5 * tau, hd = 1e-4 * delta;
            const double a_t = (f1(tau + ht, delta) - f1(tau - ht, delta)) / (2 * ht);
            const double a_d = (f1(tau, delta + hd) - f1(tau, delta - hd)) / (2 * hd);
            const double b_t = (f2(tau + ht, delta) - f2(tau - ht, delta)) / (2 * ht);
            const double b_d = (f2(tau, delta + hd) - f2(tau, delta - hd)) / (2 * hd);
            const double det = a_t * b_d - a_d * b_t;
            if (!finite(det) || det == 0) break;
            const double dtau = -(a * b_d - b * a_d) / det;
            const double ddelta = -(a_t * b - b_t * a) / det;
            tau += dtau;
            delta += ddelta;
            if (!finite(tau) || !finite(delta) || delta <= 0 || tau <= 0) break;
            if (std::fabs(dtau) < 1e-12 * tau && std::fabs(ddelta) < 1e-9 * delta) {
                ok = true;
                break;
            }
        }
        if (ok && (std::fabs(Tr / tau - d.T_crit) > 1.0 || std::fabs(delta * rr / d.rho_crit - 1) > 0.1))
            ok = false;
    }
    if (!ok) {  // the published point (equations with non-analytic terms are built to meet it)
        tau = Tr / d.T_crit;
        delta = d.rho_crit / rr;
    }
    T_crit_ = Tr / tau;
    rho_crit_molar_ = delta * rr;
    model_.prepare(tau, c);
    p_crit_ = pressure_molar(T_crit_, rho_crit_molar_, c);
    return finite(p_crit_) && p_crit_ > 0 ? Status::ok : Status::not_converged;
}

double Fluid::pressure_molar(double T, double rho_molar, const HelmholtzModel::TauCache& c) const {
    double d, dd;
    model_.residual_pressure(rho_molar / data_.rho_reducing, c, d, dd);
    return rho_molar * R_ * T * (1 + d);
}

double Fluid::pressure(double T, double rho) const {
    HelmholtzModel::TauCache c;
    model_.prepare(data_.T_reducing / T, c);
    return pressure_molar(T, rho / data_.molar_mass, c);
}

Props Fluid::props(double T, double rho) const {
    HelmholtzModel::TauCache c;
    model_.prepare(data_.T_reducing / T, c);
    return props_molar(T, rho / data_.molar_mass, c);
}

Props Fluid::props_molar(double T, double rho_molar, const HelmholtzModel::TauCache& c) const {
    const double delta = rho_molar / data_.rho_reducing;
    const ResidualDerivs r = model_.residual(delta, c);
    const IdealDerivs i = model_.ideal(c.tau);
    const double M = data_.molar_mass;
    const double RM = R_ / M;
    Props p;
    p.T = T;
    p.rho = rho_molar * M;
    p.v = 1.0 / p.rho;
    p.p = rho_molar * R_ * T * (1 + r.d);
    p.h = RM * T * (1 + i.t + r.t + r.d) + h_offset_;
    p.s = RM * (i.t + r.t - i.a - std::log(delta) - r.a) + s_offset_;
    const double cv_R = -(i.tt + r.tt);
    const double num = 1 + r.d - r.dt;
    const double den = 1 + 2 * r.d + r.dd;
    p.cv = RM * cv_R;
    p.cp = RM * (cv_R + num * num / den);
    const double w2 = RM * T * (den + num * num / cv_R);
    p.w = w2 > 0 ? std::sqrt(w2) : 0;
    return p;
}

// ---------------------------------------------------------------- saturation, exact

Status Fluid::check_saturation_T(double T) const {
    if (!finite(T)) return Status::invalid_argument;
    if (T < T_min_sat_ - 1e-9 || T > T_crit_) return Status::out_of_range;
    return Status::ok;
}

Status Fluid::pure_saturation(double T, double rhoL0, double rhoV0, double& p_out, double& rhoL_out,
                              double& rhoV_out) const {
    const double rr = data_.rho_reducing;
    HelmholtzModel::TauCache c;
    model_.prepare(data_.T_reducing / T, c);
    double dL = rhoL0 / rr, dV = rhoV0 / rr;
    if (!(dL > dV && dV > 0)) return Status::not_converged;
    for (int it = 0; it < kMaxSteps; ++it) {
        const ResidualDerivs L = model_.residual(dL, c);
        const ResidualDerivs V = model_.residual(dV, c);
        const double JL = dL * (1 + L.d), JV = dV * (1 + V.d);
        const double KL = L.d + L.a + std::log(dL), KV = V.d + V.a + std::log(dV);
        const double JdL = 1 + 2 * L.d + L.dd, JdV = 1 + 2 * V.d + V.dd;
        const double KdL = JdL / dL, KdV = JdV / dV;
        const double G1 = JV - JL, G2 = KV - KL;
        const double det = JdV * KdL - JdL * KdV;
        if (!finite(det) || det == 0) return Status::not_converged;
        double stepL = (G2 * JdV - G1 * KdV) / det;
        double stepV = (G2 * JdL - G1 * KdL) / det;
        if (!finite(stepL) || !finite(stepV)) return Status::not_converged;
        double scale = 1.0;
        for (int k = 0; k < 40; ++k) {
            const double nL = dL + scale * stepL, nV = dV + scale * stepV;
            if (nV > 0 && nL > nV) break;
            scale *= 0.5;
        }
        dL += scale * stepL;
        dV += scale * stepV;
        // Rounding in the sums of large terms (low temperatures) bounds the attainable step.
        const double rel = std::max(std::fabs(scale * stepL) / dL, std::fabs(scale * stepV) / dV);
        if (rel <= 1e-12 || (it >= 8 && rel <= 1e-9)) break;
        if (it == kMaxSteps - 1) return Status::not_converged;
    }
    if (!(dL > dV * (1 + 1e-7))) return Status::not_converged;  // collapsed onto one phase
    double d, dd;
    model_.residual_pressure(dV, c, d, dd);
    p_out = dV * rr * R_ * T * (1 + d);
    rhoL_out = dL * rr;
    rhoV_out = dV * rr;
    return finite(p_out) && p_out > 0 ? Status::ok : Status::not_converged;
}

Status Fluid::saturation_exact(double T, Saturation& out) const {
    return saturation_solve(T, out, true);
}

Status Fluid::saturation_solve(double T, Saturation& out, bool use_table) const {
    if (Status s = check_saturation_T(T); s != Status::ok) return s;
    T = std::max(T, T_min_sat_);
    const FluidData& d = data_;
    out.T = T;
    const double M = d.molar_mass;
    if (d.pseudo_pure) {
        out.p_dew = ancillary_value(d.p_vapour, T);
        out.p_bub = ancillary_value(d.p_liquid, T);
        HelmholtzModel::TauCache c;
        model_.prepare(d.T_reducing / T, c);
        double rl = 0, rv = 0;
        if (T >= T_crit_) {
            out.rho_liquid = out.rho_vapour = rho_crit_molar_ * M;
            return Status::ok;
        }
        // Solve each side from the density ancillaries without consulting the tables.
        auto solve_from = [&](double p, double start, bool liquid, double& rho) {
            const double inf = std::numeric_limits<double>::infinity();
            return density_newton(model_, c, R_ * T, d.rho_reducing, p, start, 0.0,
                                  inf, liquid, rho);
        };
        if (!solve_from(out.p_bub, ancillary_value(d.rho_liquid, T), true, rl) ||
            !solve_from(out.p_dew, ancillary_value(d.rho_vapour, T), false, rv))
            return Status::not_converged;
        out.rho_liquid = rl * M;
        out.rho_vapour = rv * M;
        return Status::ok;
    }
    if (T >= T_crit_) {
        out.p_dew = out.p_bub = p_crit_;
        out.rho_liquid = out.rho_vapour = rho_crit_molar_ * M;
        return Status::ok;
    }
    double p, rl, rv;
    Status s = Status::not_converged;
    if (use_table) {
        const Table& t = table();
        double x;
        int j;
        if (t.locate(std::sqrt(std::max(0.0, 1 - T / T_crit_)), x, j))
            s = pure_saturation(T, t.at(t.rhoL, x, j), t.at(t.rhoV, x, j), p, rl, rv);
    }
    if (s != Status::ok)
        s = pure_saturation(T, ancillary_value(d.rho_liquid, T), ancillary_value(d.rho_vapour, T), p, rl, rv);
    if (s != Status::ok) {
        // Close to the critical point the ancillaries can start on the wrong side; start from the
        // classical scaling around the critical density instead.
        const double u = std::sqrt(std::max(0.0, 1 - T / T_crit_));
        const double spread = 2.0 * u * rho_crit_molar_;
        s = pure_saturation(T, rho_crit_molar_ + spread, std::max(rho_crit_molar_ - spread, 1e-3 * rho_crit_molar_),
                            p, rl, rv);
    }
    if (s != Status::ok) return s;
    out.p_dew = out.p_bub = p;
    out.rho_liquid = rl * M;
    out.rho_vapour = rv * M;
    return Status::ok;
}

Status Fluid::saturated_liquid_enthalpy_exact(double T, double& h) const {
    Saturation sat;
    if (Status s = saturation_exact(T, sat); s != Status::ok) return s;
    h = props(sat.T, sat.rho_liquid).h;
    return Status::ok;
}

Status Fluid::blend_temperature(const Ancillary& anc, double p, double T0, double& T) const {
    // Newton on ln p(T) of the blend's ancillary, safeguarded by bisection.
    double lo = T_min_sat_, hi = T_crit_;
    const double target = std::log(p);
    T = std::clamp(T0, lo, hi);
    for (int it = 0; it < kMaxSteps; ++it) {
        const double f = std::log(ancillary_value(anc, T)) - target;
        if (f < 0) lo = T; else hi = T;
        if (std::fabs(f) < 1e-14) return Status::ok;
        const double fp = ancillary_dlog_dT(anc, T);
        double Tn = fp > 0 ? T - f / fp : 0.5 * (lo + hi);
        if (!(Tn > lo && Tn < hi)) Tn = 0.5 * (lo + hi);
        if (std::fabs(Tn - T) < 1e-12) {
            T = Tn;
            return Status::ok;
        }
        T = Tn;
    }
    return Status::not_converged;
}

Status Fluid::dew_temperature_exact(double p, double& T) const {
    if (!finite(p) || p <= 0) return Status::invalid_argument;
    if (p > p_crit_ || p < p_min_dew_ * (1 - 1e-12)) return Status::out_of_range;
    if (data_.pseudo_pure) return blend_temperature(data_.p_vapour, p, 0.5 * (T_min_sat_ + T_crit_), T);
    // Newton with the Clausius-Clapeyron slope, bracketed by the saturation range.
    double lo = T_min_sat_, hi = T_crit_;
    double Tx = lo;
    temperature_from_table(p, true, Tx);
    Tx = std::clamp(Tx, lo, hi);
    for (int it = 0; it < kMaxSteps; ++it) {
        Saturation s;
        if (saturation_exact(Tx, s) != Status::ok) return Status::not_converged;
        const double f = std::log(s.p_dew / p);
        if (f < 0) lo = Tx; else hi = Tx;
        if (std::fabs(f) < 1e-13) break;
        const Props L = props(Tx, s.rho_liquid), V = props(Tx, s.rho_vapour);
        const double slope = (V.h - L.h) / (Tx * (V.v - L.v)) / s.p_dew;  // d ln p / dT
        double Tn = Tx - f / slope;
        if (!(Tn > lo && Tn < hi) || !finite(Tn)) Tn = 0.5 * (lo + hi);
        if (std::fabs(Tn - Tx) < 1e-11) {
            Tx = Tn;
            break;
        }
        Tx = Tn;
        if (it == kMaxSteps - 1) return Status::not_converged;
    }
    T = Tx;
    return Status::ok;
}

Status Fluid::bubble_temperature_exact(double p, double& T) const {
    if (!data_.pseudo_pure) return dew_temperature_exact(p, T);
    if (!finite(p) || p <= 0) return Status::invalid_argument;
    if (p > p_crit_ || p < p_min_bub_ * (1 - 1e-12)) return Status::out_of_range;
    return blend_temperature(data_.p_liquid, p, 0.5 * (T_min_sat_ + T_crit_), T);
}

// ---------------------------------------------------------------- saturation, tabulated

const Fluid::Table& Fluid::table() const {
    std::call_once(table_once_, [this] {
        auto t = std::make_unique<Table>();
        const int n = kTableNodes;
        t->n = n;
        t->u_max = std::sqrt(1 - T_min_sat_ / T_crit_);
        t->du = t->u_max / (n - 1);
        t->lnp_dew.assign(n, 0);
        t->lnp_bub.assign(n, 0);
        t->rhoL.assign(n, 0);
        t->rhoV.assign(n, 0);
        t->hL.assign(n, 0);
        const double M = data_.molar_mass;
        int first_bad = -1;
        double prevL[2] = {0, 0}, prevV[2] = {0, 0};
        for (int k = n - 1; k >= 1; --k) {
            const double u = k * t->du;
            const double T = k == n - 1 ? T_min_sat_ : T_crit_ * (1 - u * u);
            Saturation s;
            Status st;
            if (!data_.pseudo_pure && k <= n - 3 && prevL[1] > 0) {
                // continue along the curve: linear extrapolation in u from the last two nodes
                double p, rl, rv;
                st = pure_saturation(T, 2 * prevL[0] - prevL[1], 2 * prevV[0] - prevV[1], p, rl, rv);
                if (st != Status::ok) st = saturation_solve(T, s, false);
                else s = Saturation{T, p, p, rl * M, rv * M};
            } else {
                st = saturation_solve(T, s, false);
            }
            if (st != Status::ok) {
                first_bad = k;
                break;
            }
            prevL[1] = prevL[0], prevL[0] = s.rho_liquid / M;
            prevV[1] = prevV[0], prevV[0] = s.rho_vapour / M;
            t->lnp_dew[k] = std::log(s.p_dew);
            t->lnp_bub[k] = std::log(s.p_bub);
            t->rhoL[k] = s.rho_liquid / M;
            t->rhoV[k] = s.rho_vapour / M;
            t->hL[k] = props(T, s.rho_liquid).h;
        }
        if (first_bad >= 0) {
            t->k0 = first_bad + 1;
        } else if (data_.pseudo_pure) {
            t->k0 = 1;
        } else {
            t->k0 = 0;
            t->lnp_dew[0] = t->lnp_bub[0] = std::log(p_crit_);
            t->rhoL[0] = t->rhoV[0] = rho_crit_molar_;
            t->hL[0] = props(T_crit_, rho_crit_molar_ * M).h;
        }
        if (t->k0 > n - 4) t->k0 = n;  // nothing usable: every call goes to the exact solver
        table_ = std::move(t);
    });
    return *table_;
}

Status Fluid::dew_pressure(double T, double& p) const {
    if (Status s = check_saturation_T(T); s != Status::ok) return s;
    if (data_.pseudo_pure) {
        p = ancillary_value(data_.p_vapour, std::max(T, T_min_sat_));
        return Status::ok;
    }
    const Table& t = table();
    double s;
    int j;
    if (t.locate(std::sqrt(std::max(0.0, 1 - T / T_crit_)), s, j)) {
        p = std::exp(t.at(t.lnp_dew, s, j));
        return Status::ok;
    }
    Saturation sat;
    if (Status st = saturation_exact(T, sat); st != Status::ok) return st;
    p = sat.p_dew;
    return Status::ok;
}

Status Fluid::bubble_pressure(double T, double& p) const {
    if (!data_.pseudo_pure) return dew_pressure(T, p);
    if (Status s = check_saturation_T(T); s != Status::ok) return s;
    p = ancillary_value(data_.p_liquid, std::max(T, T_min_sat_));
    return Status::ok;
}

Status Fluid::temperature_from_table(double p, bool dew, double& T) const {
    const Table& t = table();
    if (t.k0 >= t.n) return Status::not_converged;
    const std::vector<double>& y = dew ? t.lnp_dew : t.lnp_bub;
    const double L = std::log(p);
    if (L > y[t.k0] || L < y[t.n - 1]) return Status::out_of_range;
    // y falls with the node index: find i with y[i] >= L >= y[i+1]
    int lo = t.k0, hi = t.n - 1;
    while (hi - lo > 1) {
        int mid = (lo + hi) / 2;
        if (y[mid] >= L) lo = mid; else hi = mid;
    }
    const int j = std::clamp(lo - 1, t.k0, t.n - 4);
    double a = lo, b = lo + 1;
    double s = a + (y[lo] - L) / (y[lo] - y[lo + 1]);
    for (int it = 0; it < 50; ++it) {
        const double f = lagrange4(&y[j], s, j) - L;
        if (f > 0) a = s; else b = s;
        const double fp = lagrange4_deriv(&y[j], s, j);
        double sn = fp < 0 ? s - f / fp : 0.5 * (a + b);
        if (!(sn >= a && sn <= b)) sn = 0.5 * (a + b);
        if (std::fabs(sn - s) < 1e-13) {
            s = sn;
            break;
        }
        s = sn;
    }
    const double u = s * t.du;
    T = T_crit_ * (1 - u * u);
    return Status::ok;
}

Status Fluid::dew_temperature(double p, double& T) const {
    if (!finite(p) || p <= 0) return Status::invalid_argument;
    if (p > p_crit_ || p < p_min_dew_ * (1 - 1e-12)) return Status::out_of_range;
    if (p >= p_crit_) {
        T = T_crit_;
        return Status::ok;
    }
    double T0 = 0;
    Status s = temperature_from_table(p, true, T0);
    if (data_.pseudo_pure)
        return blend_temperature(data_.p_vapour, p, s == Status::ok ? T0 : 0.5 * (T_min_sat_ + T_crit_), T);
    if (s == Status::ok) {
        T = std::clamp(T0, T_min_sat_, T_crit_);
        return Status::ok;
    }
    return dew_temperature_exact(p, T);
}

Status Fluid::bubble_temperature(double p, double& T) const {
    if (!data_.pseudo_pure) return dew_temperature(p, T);
    if (!finite(p) || p <= 0) return Status::invalid_argument;
    if (p > p_crit_ || p < p_min_bub_ * (1 - 1e-12)) return Status::out_of_range;
    if (p >= p_crit_) {
        T = T_crit_;
        return Status::ok;
    }
    double T0 = 0;
    Status s = temperature_from_table(p, false, T0);
    return blend_temperature(data_.p_liquid, p, s == Status::ok ? T0 : 0.5 * (T_min_sat_ + T_crit_), T);
}

Status Fluid::saturated_liquid_enthalpy(double T, double& h) const {
    if (Status s = check_saturation_T(T); s != Status::ok) return s;
    const Table& t = table();
    double s;
    int j;
    if (t.locate(std::sqrt(std::max(0.0, 1 - T / T_crit_)), s, j)) {
        h = t.at(t.hL, s, j);
        return Status::ok;
    }
    return saturated_liquid_enthalpy_exact(T, h);
}

Status Fluid::saturated_liquid(double T, Props& out) const {
    if (Status s = check_saturation_T(T); s != Status::ok) return s;
    if (T >= T_crit_) return Status::out_of_range;
    const Table& t = table();
    double s;
    int j;
    double rho;
    if (t.locate(std::sqrt(std::max(0.0, 1 - T / T_crit_)), s, j)) {
        rho = t.at(t.rhoL, s, j) * data_.molar_mass;
    } else {
        Saturation sat;
        if (Status st = saturation_exact(T, sat); st != Status::ok) return st;
        rho = sat.rho_liquid;
    }
    out = props(T, rho);
    return Status::ok;
}

// ---------------------------------------------------------------- single phase

Status Fluid::solve_density(double T, double p, Phase phase, const HelmholtzModel::TauCache& c,
                            double& rho_molar) const {
    const double rr = data_.rho_reducing;
    const double RT = R_ * T;
    const double inf = std::numeric_limits<double>::infinity();
    double lo = 0, hi = inf, r;

    // Starting value from the second virial coefficient: p/(RT) = rho (1 + B rho).
    const double B = c.second_virial / rr;
    const double x = p / RT;
    double r_virial = x;
    if (B < 0 && 1 + 4 * B * x > 0) r_virial = (-1 + std::sqrt(1 + 4 * B * x)) / (2 * B);

    if (T < T_crit_) {
        const Table& t = table();
        double s;
        int j;
        const bool in_table = t.locate(std::sqrt(std::max(0.0, 1 - T / T_crit_)), s, j);
        double psat;
        if (phase == Phase::vapour) {
            if (Status st = dew_pressure(T, psat); st != Status::ok) return st;
            if (p > psat * (1 + kPhaseTolerance)) return Status::no_such_phase;
            double rv;
            if (in_table) {
                rv = t.at(t.rhoV, s, j);
            } else {
                Saturation sat;
                if (Status st = saturation_exact(T, sat); st != Status::ok) return st;
                rv = sat.rho_vapour / data_.molar_mass;
            }
            hi = rv * 1.02;
            r = std::min(r_virial, rv);
        } else {
            if (Status st = bubble_pressure(T, psat); st != Status::ok) return st;
            if (p < psat * (1 - kPhaseTolerance)) return Status::no_such_phase;
            double rl;
            if (in_table) {
                rl = t.at(t.rhoL, s, j);
            } else {
                Saturation sat;
                if (Status st = saturation_exact(T, sat); st != Status::ok) return st;
                rl = sat.rho_liquid / data_.molar_mass;
            }
            lo = rl * 0.98;
            r = rl;
        }
    } else {
        r = p < p_crit_ ? r_virial : std::max(r_virial, 2.0 * rho_crit_molar_);
        if (!(r > 0)) r = x;
        double tabulated;
        if (supercritical_start(T, p, tabulated)) r = tabulated;
    }

    if (!density_newton(model_, c, RT, rr, p, r, lo, hi, phase == Phase::liquid,
                        rho_molar)) {
        // A neighbour's start that failed gets no second chance at spoiling the answer: the
        // usual start is tried once more.
        if (T < T_crit_) return Status::not_converged;
        r = p < p_crit_ ? r_virial : std::max(r_virial, 2.0 * rho_crit_molar_);
        if (!(r > 0)) r = x;
        if (!density_newton(model_, c, RT, rr, p, r, lo, hi, false, rho_molar))
            return Status::not_converged;
    }
    return Status::ok;
}

// ---------------------------------------------------------------- supercritical starts

// Above the critical temperature the virial start is poor for dense states and Newton needs
// eight or nine steps. A grid of densities over (T, ln p), computed once per fluid by
// continuation along each isotherm, gives starts within a few per cent: two to four steps. The
// start depends on (T, p) only, so every answer is the same whatever was asked before.

const Fluid::SupercriticalGrid& Fluid::supercritical_grid() const {
    std::call_once(grid_once_, [this] {
        auto g = std::make_unique<SupercriticalGrid>();
        const int nT = SupercriticalGrid::nT, np = SupercriticalGrid::np;
        g->T0 = T_crit_;
        g->dT = (data_.T_max - T_crit_) / (nT - 1);
        g->lp0 = std::log(0.05 * p_crit_);
        g->dlp = (std::log(data_.p_max) - g->lp0) / (np - 1);
        g->ln_rho.assign(static_cast<std::size_t>(nT * np),
                         std::numeric_limits<double>::quiet_NaN());
        const double inf = std::numeric_limits<double>::infinity();
        for (int i = 0; i < nT && g->dT > 0; ++i) {
            const double T = g->T0 + i * g->dT;
            HelmholtzModel::TauCache c;
            model_.prepare(data_.T_reducing / T, c);
            const double RT = R_ * T;
            const double B = c.second_virial / data_.rho_reducing;
            double previous = 0;
            for (int j = 0; j < np; ++j) {
                const double p = std::exp(g->lp0 + j * g->dlp);
                double r = p / RT;
                if (B < 0 && 1 + 4 * B * r > 0) r = (-1 + std::sqrt(1 + 4 * B * r)) / (2 * B);
                if (previous > 0) r = std::max(r, previous);  // density rises with pressure
                double rho;
                if (density_newton(model_, c, RT, data_.rho_reducing, p, r, 0, inf, false, rho)) {
                    g->ln_rho[static_cast<std::size_t>(i * np + j)] = std::log(rho);
                    previous = rho;
                }
            }
        }
        grid_ = std::move(g);
    });
    return *grid_;
}

bool Fluid::supercritical_start(double T, double p, double& rho_molar) const {
    const SupercriticalGrid& g = supercritical_grid();
    if (!(g.dT > 0) || !(g.dlp > 0)) return false;
    const double x = (T - g.T0) / g.dT, y = (std::log(p) - g.lp0) / g.dlp;
    if (!(x >= 0) || !(y >= 0)) return false;
    const int i = std::min(static_cast<int>(x), SupercriticalGrid::nT - 2);
    const int j = std::min(static_cast<int>(y), SupercriticalGrid::np - 2);
    if (x > i + 1 || y > j + 1) return false;
    const double a = g.at(i, j), b = g.at(i + 1, j), c = g.at(i, j + 1), d = g.at(i + 1, j + 1);
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d))
        return false;
    const double u = x - i, v = y - j;
    rho_molar = std::exp((1 - u) * (1 - v) * a + u * (1 - v) * b + (1 - u) * v * c + u * v * d);
    return true;
}

Status Fluid::state(double p, double T, Phase phase, Props& out) const {
    if (!finite(p) || !finite(T) || p <= 0 || T <= 0) return Status::invalid_argument;
    if (T < data_.T_triple || T > data_.T_max || p > data_.p_max) return Status::out_of_range;
    HelmholtzModel::TauCache c;
    model_.prepare(data_.T_reducing / T, c);
    double rho;
    if (Status s = solve_density(T, p, phase, c, rho); s != Status::ok) return s;
    out = props_molar(T, rho, c);
    out.p = p;
    return Status::ok;
}

}  // namespace kelvra::fluids
