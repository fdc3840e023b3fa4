#pragma once
// One refrigerant: its equation of state, saturation and single-phase state solvers.
//
// Units throughout: K, Pa, kg/m3, J/kg, J/(kg K), m3/kg. Enthalpy and entropy are on the IIR
// reference state (h = 200 kJ/kg, s = 1 kJ/(kg K) for saturated liquid at 0 degC; bubble-point
// liquid for the pseudo-pure blends).

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fluid_data.hpp"
#include "helmholtz.hpp"

namespace kelvra::fluids {

enum class Status {
    ok = 0,
    unknown_fluid,
    invalid_argument,  // NaN, infinite, p <= 0
    out_of_range,      // outside the equation's range or above the critical point for saturation
    no_such_phase,     // the requested phase does not exist at this state
    not_converged,
};
const char* describe(Status s);

enum class Phase { vapour, liquid };

struct Props {
    double T = 0, p = 0;
    double rho = 0;  // kg/m3
    double v = 0;    // m3/kg
    double h = 0, s = 0, cp = 0, cv = 0, w = 0;
};

// Saturated states at one temperature. For pure fluids p_dew == p_bub.
struct Saturation {
    double T = 0, p_dew = 0, p_bub = 0;
    double rho_liquid = 0, rho_vapour = 0;  // kg/m3: bubble-point liquid, dew-point vapour
};

class Fluid {
public:
    // Builds the fluid; on failure returns null and says why in `error`.
    static std::unique_ptr<Fluid> create(const FluidData& data, std::string& error);
    ~Fluid();

    const FluidData& data() const { return data_; }
    const std::string& name() const { return data_.name; }
    bool pseudo_pure() const { return data_.pseudo_pure; }

    // Critical point of the equation of state itself (for pure fluids the point where
    // dp/drho = d2p/drho2 = 0; for the pseudo-pure blends their published critical point).
    double T_crit() const { return T_crit_; }
    double p_crit() const { return p_crit_; }
    double rho_crit() const { return rho_crit_molar_ * data_.molar_mass; }
    // Lowest temperature of the saturation lines, and the pressure there.
    double T_min_saturation() const { return T_min_sat_; }

    // --- fast calls (tabulated saturation, good starting values) ---
    Status dew_pressure(double T, double& p) const;
    Status bubble_pressure(double T, double& p) const;
    Status dew_temperature(double p, double& T) const;
    Status bubble_temperature(double p, double& T) const;
    // Saturated liquid (bubble line) enthalpy at T.
    Status saturated_liquid_enthalpy(double T, double& h) const;
    // Saturated liquid (bubble line) state at T, below the critical temperature.
    Status saturated_liquid(double T, Props& out) const;
    // Single-phase state at (p, T) in the requested phase: vapour for T at or above the dew
    // temperature, liquid at or below the bubble temperature; above the critical temperature
    // both name the one fluid state.
    Status state(double p, double T, Phase phase, Props& out) const;

    // --- exact solvers (no tables), used to build and check the fast ones ---
    Status saturation_exact(double T, Saturation& out) const;
    Status dew_temperature_exact(double p, double& T) const;
    Status bubble_temperature_exact(double p, double& T) const;
    Status saturated_liquid_enthalpy_exact(double T, double& h) const;

    // Equation of state at (T, rho[kg/m3]).
    double pressure(double T, double rho) const;
    Props props(double T, double rho) const;

private:
    explicit Fluid(const FluidData& data);

    struct Table;  // saturation lines tabulated on a grid uniform in u = sqrt(1 - T/Tc)
    const Table& table() const;
    struct SupercriticalGrid;  // starting densities above the critical temperature
    const SupercriticalGrid& supercritical_grid() const;
    bool supercritical_start(double T, double p, double& rho_molar) const;

    Status check_saturation_T(double T) const;
    // Exact saturation; use_table lets pure fluids start from the tabulated densities, which
    // near the critical point are far better starting values than the ancillaries.
    Status saturation_solve(double T, Saturation& out, bool use_table) const;
    Status solve_density(double T, double p, Phase phase, const HelmholtzModel::TauCache& c,
                         double& rho_molar) const;
    Status pure_saturation(double T, double rhoL0, double rhoV0, double& pL, double& rhoL,
                           double& rhoV) const;
    Status temperature_from_table(double p, bool dew, double& T) const;
    Status blend_temperature(const Ancillary& anc, double p, double T0, double& T) const;
    Status critical_point_of_eos();
    Props props_molar(double T, double rho_molar, const HelmholtzModel::TauCache& c) const;
    double pressure_molar(double T, double rho_molar, const HelmholtzModel::TauCache& c) const;

    FluidData data_;
    HelmholtzModel model_;
    double R_ = 0;  // J/(mol K)
    double T_crit_ = 0, p_crit_ = 0, rho_crit_molar_ = 0;
    double T_min_sat_ = 0, p_min_dew_ = 0, p_min_bub_ = 0;
    double h_offset_ = 0, s_offset_ = 0;  // J/kg, J/(kg K)

    mutable std::once_flag table_once_;
    mutable std::unique_ptr<Table> table_;
    mutable std::once_flag grid_once_;
    mutable std::unique_ptr<SupercriticalGrid> grid_;
};

// Value of an ancillary equation at T (pressure in Pa or density in mol/m3).
double ancillary_value(const Ancillary& a, double T);
// d(ln value)/dT of an exponential-form ancillary.
double ancillary_dlog_dT(const Ancillary& a, double T);

}  // namespace kelvra::fluids
