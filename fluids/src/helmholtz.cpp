#include "helmholtz.hpp"

#include <algorithm>
#include <cmath>

namespace kelvra::fluids {
namespace {

int as_int(double x) {
    return (x == std::floor(x) && std::fabs(x) < 64) ? static_cast<int>(x) : -1;
}

}  // namespace

HelmholtzModel::HelmholtzModel(const FluidData& data) : ideal_(data.ideal), T_r_(data.T_reducing) {
    for (const auto& t : data.residual) {
        if (t.kind == ResidualTerm::Kind::nonanalytic) {
            nonanalytic_.push_back(t);
            continue;
        }
        Separable s{};
        s.n = t.n;
        s.d = t.d;
        s.t = t.t;
        s.l = t.l;
        s.m = t.m;
        s.eps = t.epsilon;
        s.beta = t.beta;
        s.gamma = t.gamma;
        s.b = t.b;
        switch (t.kind) {
            case ResidualTerm::Kind::power:
                s.delta_kind = 0, s.tau_kind = 0, s.m = 0;
                break;
            case ResidualTerm::Kind::lemmon:
                s.delta_kind = 0, s.tau_kind = 0;
                break;
            case ResidualTerm::Kind::gaussian:
                s.delta_kind = 1, s.tau_kind = 1, s.eta_s = -t.eta;
                break;
            case ResidualTerm::Kind::gaob:
                s.delta_kind = 1, s.tau_kind = 2, s.eta_s = t.eta;
                break;
            case ResidualTerm::Kind::nonanalytic:
                break;
        }
        s.d_int = as_int(s.d);
        s.l_int = as_int(s.l);
        auto found = std::find(tau_exponents_.begin(), tau_exponents_.end(), s.t);
        s.t_index = static_cast<int>(found - tau_exponents_.begin());
        if (found == tau_exponents_.end()) tau_exponents_.push_back(s.t);
        if (s.delta_kind == 0 && s.l_int > max_l_) max_l_ = s.l_int;
        sep_.push_back(s);
    }
}

void HelmholtzModel::prepare(double tau, TauCache& c) const {
    c.tau = tau;
    const std::size_t n = sep_.size();
    const double ln_tau = std::log(tau);
    // Many terms share an exponent; whole and half exponents need no exp() at all.
    const double sqrt_tau = std::sqrt(tau);
    std::array<double, kMaxTerms> tpow;
    for (std::size_t k = 0; k < tau_exponents_.size(); ++k) {
        const double t = tau_exponents_[k];
        const double t2 = 2 * t;
        if (t2 == std::floor(t2) && t >= 0 && t <= 40) {
            double v = (static_cast<int>(t2) % 2) ? sqrt_tau : 1.0;
            double base = tau;
            for (int e = static_cast<int>(t); e > 0; e >>= 1, base *= base)
                if (e & 1) v *= base;
            tpow[k] = v;
        } else {
            tpow[k] = std::exp(t * ln_tau);
        }
    }
    double b2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Separable& s = sep_[i];
        double f = tpow[s.t_index];
        // g1 = tau * h', g2 = tau^2 * h'' for h = ln T(tau)
        double g1 = s.t, g2 = -s.t;
        if (s.tau_kind == 0) {
            if (s.m > 0) {
                double tm = std::exp(s.m * ln_tau);
                f *= std::exp(-tm);
                g1 -= s.m * tm;
                g2 -= s.m * (s.m - 1) * tm;
            }
        } else if (s.tau_kind == 1) {
            double x = tau - s.gamma;
            f *= std::exp(-s.beta * x * x);
            g1 -= 2 * s.beta * x * tau;
            g2 -= 2 * s.beta * tau * tau;
        } else {
            double x = tau - s.gamma;
            double q = s.beta * x * x + s.b;
            f *= std::exp(1.0 / q);
            g1 -= 2 * s.beta * x / (q * q) * tau;
            g2 += (-2 * s.beta / (q * q) + 8 * s.beta * s.beta * x * x / (q * q * q)) * tau * tau;
        }
        c.f[i] = s.n * f;
        c.ft[i] = g1;
        c.ftt[i] = g1 * g1 + g2;
        // Second virial coefficient: only terms with d = 1 survive delta -> 0.
        if (s.d == 1.0) {
            double e = 1.0;
            if (s.delta_kind == 1) e = std::exp(s.eta_s * s.eps * s.eps);
            else if (s.l > 0) e = 1.0;
            b2 += c.f[i] * e;
        }
    }
    c.second_virial = b2;
}

// Powers of delta and exp(-delta^l) shared by every term at one density.
struct HelmholtzModel::DeltaPowers {
    double pw[16];
    double ex[16];
    double ln_delta;
    DeltaPowers(double delta, int max_l) {
        pw[0] = 1.0;
        for (int k = 1; k < 16; ++k) pw[k] = pw[k - 1] * delta;
        for (int l = 1; l <= max_l && l < 16; ++l) ex[l] = std::exp(-pw[l]);
        ln_delta = std::log(delta);
    }
};

// delta part of one separable term: D(delta), g1 = delta D'/D, g2 = delta^2 D''/D - g1^2.
inline void HelmholtzModel::delta_part(const Separable& s, double delta, const DeltaPowers& p, double& D,
                                       double& g1, double& g2) const {
    D = (s.d_int >= 0 && s.d_int < 16) ? p.pw[s.d_int] : std::exp(s.d * p.ln_delta);
    if (s.delta_kind == 0) {
        g1 = s.d;
        g2 = -s.d;
        if (s.l > 0) {
            double dl;
            if (s.l_int > 0 && s.l_int < 16) {
                dl = p.pw[s.l_int];
                D *= p.ex[s.l_int];
            } else {
                dl = std::exp(s.l * p.ln_delta);
                D *= std::exp(-dl);
            }
            g1 -= s.l * dl;
            g2 -= s.l * (s.l - 1) * dl;
        }
    } else {
        const double x = delta - s.eps;
        D *= std::exp(s.eta_s * x * x);
        g1 = s.d + 2 * s.eta_s * x * delta;
        g2 = -s.d + 2 * s.eta_s * delta * delta;
    }
}

void HelmholtzModel::residual_pressure(double delta, const TauCache& c, double& d_out,
                                       double& dd_out) const {
    const DeltaPowers powers(delta, max_l_);
    double d = 0, dd = 0;
    const std::size_t n = sep_.size();
    for (std::size_t i = 0; i < n; ++i) {
        double D, g1, g2;
        delta_part(sep_[i], delta, powers, D, g1, g2);
        const double v = c.f[i] * D;
        d += v * g1;
        dd += v * (g1 * g1 + g2);
    }
    if (!nonanalytic_.empty()) {
        ResidualDerivs r;
        add_nonanalytic(delta, c.tau, r);
        d += r.d;
        dd += r.dd;
    }
    d_out = d;
    dd_out = dd;
}

ResidualDerivs HelmholtzModel::residual(double delta, const TauCache& c) const {
    const DeltaPowers powers(delta, max_l_);
    ResidualDerivs r;
    const std::size_t n = sep_.size();
    for (std::size_t i = 0; i < n; ++i) {
        double D, g1, g2;
        delta_part(sep_[i], delta, powers, D, g1, g2);
        const double v = c.f[i] * D;
        r.a += v;
        r.d += v * g1;
        r.dd += v * (g1 * g1 + g2);
        r.t += v * c.ft[i];
        r.tt += v * c.ftt[i];
        r.dt += v * g1 * c.ft[i];
    }
    add_nonanalytic(delta, c.tau, r);
    return r;
}

void HelmholtzModel::add_nonanalytic(double delta, double tau, ResidualDerivs& r) const {
    if (nonanalytic_.empty()) return;
    // The distance function is singular at delta = 1; its limits there are finite, so nudge.
    if (std::fabs(delta - 1.0) < 1e-10) delta = 1.0 + 1e-10;
    if (std::fabs(tau - 1.0) < 1e-14) tau = 1.0 + 1e-14;
    const double dm1 = delta - 1.0;
    const double dm1sq = dm1 * dm1;
    const double ln_dm1sq = std::log(dm1sq);
    const double tm1 = tau - 1.0;
    // Powers are taken as exp(x ln y) from shared logarithms: this is the costliest term kind.
    for (const ResidualTerm& k : nonanalytic_) {
        const double n = k.n, a = k.a, b = k.b, beta = k.beta, A = k.A, B = k.B, C = k.C, D = k.D;
        const double psi = std::exp(-C * dm1sq - D * tm1 * tm1);
        const double psi_d = -2 * C * dm1 * psi;
        const double psi_dd = (2 * C * dm1sq - 1) * 2 * C * psi;
        const double psi_t = -2 * D * tm1 * psi;
        const double psi_tt = (2 * D * tm1 * tm1 - 1) * 2 * D * psi;
        const double psi_dt = 4 * C * D * dm1 * tm1 * psi;

        const double e1 = 1.0 / (2 * beta);
        const double q_e1 = std::exp(e1 * ln_dm1sq);  // (dm1^2)^(1/(2 beta))
        const double q_a = std::exp(a * ln_dm1sq);    // (dm1^2)^a
        const double q_e1m1 = q_e1 / dm1sq, q_e1m2 = q_e1m1 / dm1sq;
        const double q_am1 = q_a / dm1sq, q_am2 = q_am1 / dm1sq;
        const double theta = (1 - tau) + A * q_e1;
        const double Delta = theta * theta + B * q_a;
        const double Delta_d = dm1 * (A * theta * 2 / beta * q_e1m1 + 2 * B * a * q_am1);
        const double Delta_dd = Delta_d / dm1 + dm1sq * (4 * B * a * (a - 1) * q_am2 +
                                                         2 * A * A / (beta * beta) * q_e1m1 * q_e1m1 +
                                                         A * theta * 4 / beta * (e1 - 1) * q_e1m2);

        const double Db = std::exp(b * std::log(Delta));  // Delta^b
        const double Db1 = Db / Delta, Db2 = Db1 / Delta;  // Delta^(b-1), Delta^(b-2)
        const double Db_d = b * Db1 * Delta_d;
        const double Db_dd = b * (Db1 * Delta_dd + (b - 1) * Db2 * Delta_d * Delta_d);
        const double Db_t = -2 * theta * b * Db1;
        const double Db_tt = 2 * b * Db1 + 4 * theta * theta * b * (b - 1) * Db2;
        const double Db_dt = -A * b * 2 / beta * Db1 * dm1 * q_e1m1 - 2 * theta * b * (b - 1) * Db2 * Delta_d;

        const double ar = n * Db * delta * psi;
        const double ar_d = n * (Db * (psi + delta * psi_d) + Db_d * delta * psi);
        const double ar_dd = n * (Db * (2 * psi_d + delta * psi_dd) + 2 * Db_d * (psi + delta * psi_d) +
                                  Db_dd * delta * psi);
        const double ar_t = n * delta * (Db_t * psi + Db * psi_t);
        const double ar_tt = n * delta * (Db_tt * psi + 2 * Db_t * psi_t + Db * psi_tt);
        const double ar_dt = n * (Db * (psi_t + delta * psi_dt) + delta * Db_d * psi_t +
                                  Db_t * (psi + delta * psi_d) + Db_dt * delta * psi);
        r.a += ar;
        r.d += delta * ar_d;
        r.dd += delta * delta * ar_dd;
        r.t += tau * ar_t;
        r.tt += tau * tau * ar_tt;
        r.dt += delta * tau * ar_dt;
    }
}

IdealDerivs HelmholtzModel::ideal(double tau) const {
    IdealDerivs r;
    const double ln_tau = std::log(tau);
    for (const IdealTerm& k : ideal_) {
        switch (k.kind) {
            case IdealTerm::Kind::lead:
            case IdealTerm::Kind::offset:
                r.a += k.a1 + k.a2 * tau;
                r.t += k.a2 * tau;
                break;
            case IdealTerm::Kind::logtau:
                r.a += k.a1 * ln_tau;
                r.t += k.a1;
                r.tt -= k.a1;
                break;
            case IdealTerm::Kind::power: {
                double v = k.n * std::exp(k.t * ln_tau);
                r.a += v;
                r.t += k.t * v;
                r.tt += k.t * (k.t - 1) * v;
                break;
            }
            case IdealTerm::Kind::planck: {
                double x = k.t * tau;
                double em = std::exp(-x);
                r.a += k.n * std::log1p(-em);
                double q = em / (1 - em);  // 1/(e^x - 1)
                r.t += k.n * x * q;
                r.tt -= k.n * x * x * q * (1 + q);
                break;
            }
            case IdealTerm::Kind::cp0constant: {
                double c = k.n, tau0 = k.Tc / k.T0;
                r.a += c - c * tau / tau0 + c * std::log(tau / tau0);
                r.t += -c * tau / tau0 + c;
                r.tt += -c;
                break;
            }
            case IdealTerm::Kind::cp0poly: {
                double c = k.n, t = k.t;
                if (t == 0) {
                    double tau0 = k.Tc / k.T0;
                    r.a += c - c * tau / tau0 + c * std::log(tau / tau0);
                    r.t += -c * tau / tau0 + c;
                    r.tt += -c;
                } else {
                    double Tct = std::pow(k.Tc, t);
                    double tmt = std::exp(-t * ln_tau);  // tau^-t
                    r.a += -c * Tct * tmt / (t * (t + 1)) - c * std::pow(k.T0, t + 1) * tau / (k.Tc * (t + 1)) +
                           c * std::pow(k.T0, t) / t;
                    // d/dtau: c Tc^t tau^(-t-1)/(t+1) - c T0^(t+1)/(Tc (t+1))
                    r.t += c * Tct * tmt / (t + 1) - c * std::pow(k.T0, t + 1) * tau / (k.Tc * (t + 1));
                    // d2/dtau2: -c Tc^t tau^(-t-2)
                    r.tt += -c * Tct * tmt;
                }
                break;
            }
        }
    }
    return r;
}

}  // namespace kelvra::fluids
