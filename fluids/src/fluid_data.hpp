#pragma once
// The transcribed equation-of-state data of one refrigerant, as read from a ".fluid" file.

#include <string>
#include <string_view>
#include <vector>

namespace kelvra::fluids {

// Ideal-gas Helmholtz terms (reduced, functions of tau = T_r/T only, besides ln delta).
struct IdealTerm {
    enum class Kind { lead, logtau, power, planck, offset, cp0constant, cp0poly };
    Kind kind{};
    double a1 = 0, a2 = 0;  // lead, offset: a1 + a2 tau; logtau: a1 ln tau
    double n = 0, t = 0;    // power: n tau^t; planck: n ln(1 - exp(-t tau)); cp0: c = n, exponent t
    double Tc = 0, T0 = 0;  // cp0constant, cp0poly
};

// Residual Helmholtz terms.
struct ResidualTerm {
    enum class Kind { power, lemmon, gaussian, gaob, nonanalytic };
    Kind kind{};
    double n = 0, d = 0, t = 0;
    double l = 0, m = 0;                            // power, lemmon
    double eta = 0, epsilon = 0, beta = 0, gamma = 0, b = 0;  // gaussian, gaob
    double a = 0, A = 0, B = 0, C = 0, D = 0;       // nonanalytic (uses b and beta as well)
};

// Ancillary saturation equations, used as starting values (pure fluids) or as the dew and
// bubble lines themselves (pseudo-pure blends).
struct Ancillary {
    enum class Form { exp_sum, noexp_sum };  // X_r exp([T_r/T] sum n theta^t) / X_r (1 + sum n theta^t)
    bool present = false;
    Form form = Form::exp_sum;
    bool using_tau_r = false;
    double T_r = 0, reducing_value = 0, Tmin = 0, Tmax = 0;
    std::vector<double> n, t;
};

struct FluidData {
    std::string name;
    std::vector<std::string> aliases;
    std::string reference;  // literature key of the equation of state
    double molar_mass = 0;  // kg/mol
    double gas_constant = 0;  // J/(mol K)
    double T_reducing = 0, rho_reducing = 0;  // K, mol/m3
    double T_crit = 0, p_crit = 0, rho_crit = 0;  // published critical point
    double T_triple = 0, T_max = 0, p_max = 0;
    bool pseudo_pure = false;
    std::vector<IdealTerm> ideal;
    std::vector<ResidualTerm> residual;
    Ancillary p_sat, p_liquid, p_vapour, rho_liquid, rho_vapour;
};

struct ParseResult {
    bool ok = false;
    FluidData data;
    std::string error;  // "line N: what is wrong" when not ok
};

// Reads the text of a ".fluid" file. Never throws; reports the first problem with its line.
ParseResult parse_fluid(std::string_view text);

}  // namespace kelvra::fluids
