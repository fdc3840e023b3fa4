#pragma once
// Orda controls from orifice flow.
//
// Every component is an effective flow area. Liquid-line components (expansion valves,
// solenoid valves, head-pressure controls, system protectors) pass liquid, m = Cd A sqrt(2 rho dp),
// whose cooling capacity is m (h of the evaporating vapour - h of the liquid); suction-line
// components pass vapour at a pressure drop of one kelvin of saturation temperature (filter
// driers, suction-line components) or at a fixed regulating drop (pressure regulators). The
// correction tables hold the nominal capacity over the capacity at each grid point, so that the
// valve model's capacity is the nominal one divided by the table's factor.
//
// The property library gives no liquid density; it is estimated with the Rackett equation from
// the refrigerant's critical point (from the library), critical density and molar mass.

#include <array>
#include <vector>

#include "catalogue_source.hpp"
#include "refrigerant.hpp"

namespace kelvra::catalogue {

inline constexpr double kOrificeDischargeCoefficient = 0.65;
inline constexpr double kRegulatorDrop = 0.2;   // bar, pressure regulators
inline constexpr double kProtectorDrop = 0.07;  // bar, nominal drop of system protectors ('Q')
inline constexpr double kSolenoidDrop = 0.15;   // bar, nominal drop of solenoid valves
inline constexpr double kHeadPressureLow = 0.07, kHeadPressureHigh = 0.14;  // bar, 'P'

// Saturated-liquid density (kg/m3) at T (degC), Rackett equation.
double LiquidDensity(const RefrigerantDef& def, const Trefrigerant& ref, double T);

// The nominal point of the Orda range: evaporating 4 degC, condensing 38 degC (43 for R407C),
// 1 K subcooling; pressures on the refrigerant's basis.
struct NominalPoint {
    double te = 4, tc = 38, liquid = 37;
    double pe = 0, pc = 0;
};
NominalPoint OrdaNominalPoint(const RefrigerantDef& def, Trefrigerant& ref);

// One correction table: rows on a 5 K grid from y0, columns on a 5 K grid from x0.
struct CorrectionTable {
    char type = 'T';
    double y0 = 0, x0 = 0;
    std::vector<std::array<double, 30>> rows;
};

// The table of a component type for a refrigerant.
CorrectionTable BuildCorrectionTable(char type, const RefrigerantDef& def, Trefrigerant& ref);

// Capacity of the component at the nominal point (kW), and its second value (what the valve
// model reads beside it: nominal pressure difference, capacity at 0.14 bar, ...).
struct ValveRating {
    double nominal = 0;
    double second = 0;
};
ValveRating RateValve(const OrdaValveDef& valve, const RefrigerantDef& def, Trefrigerant& ref);

}  // namespace kelvra::catalogue
