#pragma once
// Reduced Helmholtz energy alpha(delta, tau) = alpha0 + alphar and its derivatives.

#include <array>
#include <vector>

#include "fluid_data.hpp"

namespace kelvra::fluids {

// Residual part and its derivatives, scaled: d = delta * dalpha/ddelta, dd = delta^2 * d2/ddelta2,
// t = tau * d/dtau, tt = tau^2 * d2/dtau2, dt = delta * tau * d2/ddelta dtau.
struct ResidualDerivs {
    double a = 0, d = 0, dd = 0, t = 0, tt = 0, dt = 0;
};

// Ideal part (without ln delta): a, t = tau * da/dtau, tt = tau^2 * d2a/dtau2.
struct IdealDerivs {
    double a = 0, t = 0, tt = 0;
};

class HelmholtzModel {
public:
    static constexpr std::size_t kMaxTerms = 64;  // residual terms per fluid (checked when loading)

    explicit HelmholtzModel(const FluidData& data);

    // Factors that depend on tau only, computed once per temperature and reused by every
    // density evaluation at that temperature.
    struct TauCache {
        double tau = 0;
        std::array<double, kMaxTerms> f, ft, ftt;  // per separable term: n T(tau), tau T'/T, tau^2 T''/T
        double second_virial = 0;  // lim delta->0 of alphar_delta (the reduced second virial coefficient)
    };

    void prepare(double tau, TauCache& cache) const;

    // Full set of residual derivatives at delta for the prepared tau.
    ResidualDerivs residual(double delta, const TauCache& cache) const;
    // Only what a density solve needs: delta*alphar_delta and delta^2*alphar_deltadelta.
    void residual_pressure(double delta, const TauCache& cache, double& d, double& dd) const;

    IdealDerivs ideal(double tau) const;

private:
    struct Separable {
        double n, d, t;
        int delta_kind;  // 0: delta^d exp(-delta^l) (l may be 0); 1: delta^d exp(eta_s (delta-eps)^2)
        int tau_kind;    // 0: tau^t exp(-tau^m) (m may be 0); 1: tau^t exp(-beta (tau-gamma)^2); 2: gaob
        double l, m, eta_s, eps, beta, gamma, b;
        int d_int;       // d as an integer when it is one, else -1
        int l_int;       // l as an integer when it is one, else -1
        int t_index;     // index of tau^t among the distinct exponents

    };
    std::vector<Separable> sep_;
    std::vector<double> tau_exponents_;  // the distinct exponents t of tau, each computed once
    std::vector<ResidualTerm> nonanalytic_;
    std::vector<IdealTerm> ideal_;
    double T_r_ = 0;
    int max_l_ = 0;

    void add_nonanalytic(double delta, double tau, ResidualDerivs& r) const;
    struct DeltaPowers;  // powers of delta shared by every term at one density
    void delta_part(const Separable& s, double delta, const DeltaPowers& p, double& D, double& g1,
                    double& g2) const;
};

}  // namespace kelvra::fluids
