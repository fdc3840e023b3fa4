#pragma once
// The physical description of a compressor, from which its rating data are computed.
//
// A compressor is a displacement with a volumetric efficiency and an isentropic efficiency that
// depend on the pressure ratio, a fixed built-in volume ratio where it has one (scroll), an
// electric motor with constant (iron) and load-dependent (copper) losses, and a current drawn
// as active plus magnetising current (or, on a drive, in proportion to the power). The suction
// gas is heated on its way into the compression, which the volumetric efficiency's dependence on
// the suction gas temperature describes; the compression work is that of the heated gas, taken
// at a reference suction state 10 K above saturation, so the power input depends on the pressures and the speed but not on the suction gas temperature.
// Variable
// speed changes volumetric and isentropic efficiency with the speed ratio; vapour injection adds
// an economiser whose vapour enters the compression at an intermediate pressure set by the
// injection port.
//
// Units: temperatures degC, pressures bar, enthalpies kJ/kg, mass flow kg/s, power kW, current A.

#include "refrigerant.hpp"

namespace kelvra::catalogue {

// Volumetric efficiency at 25 degC suction gas over the pressure ratio r:
//   eta0 - clearance (r^(1/kappa) - 1) - leakage (r - 1).
struct VolumetricCurve {
    double eta0 = 0.95;
    double clearance = 0.0;  // re-expansion of the clearance volume
    double leakage = 0.0;    // internal leakage, per unit of pressure ratio
};

// Isentropic (internal) efficiency over the pressure ratio:
//   peak - curvature ln(r / optimumRatio)^2, never below floor.
struct IsentropicCurve {
    double peak = 0.7;
    double optimumRatio = 3.0;
    double curvature = 0.05;
    double floor = 0.25;
};

// Motor losses: electrical input = shaft power + iron f + copper * shaft power^2 (kW), where f is
// the speed ratio (a motor fed at a lower frequency has lower iron losses).
struct MotorLosses {
    double iron = 0.0;
    double copper = 0.0;
};

// Current drawn from the supply.
struct Electrical {
    double voltage = 400.0;  // V
    int phases = 3;
    // A motor on the line: sqrt(active^2 + (magnetising + reactiveGrowth P^2)^2) with the active
    // current 1000 P / (sqrt(3) U) on three phases or 1000 P / U on one.
    double magnetising = 0.0;     // A
    double reactiveGrowth = 0.0;  // A / kW^2
    // A motor on a frequency drive: the drive's input current, in proportion to the power.
    bool drive = false;
    double drivePowerFactor = 0.95;
    double standby = 0.0;  // A
};

// How efficiencies change with the speed ratio f = speed / nominal speed.
struct SpeedResponse {
    double volumetric1 = 0.0;  // volumetric efficiency x (1 + v1 (f-1) + v2 (f-1)^2)
    double volumetric2 = 0.0;
    double leakage = 0.0;      // - leakage (r - 1) (1/f - 1): leakage weighs more at low speed
    double isentropic2 = 0.0;  // isentropic efficiency x (1 - i2 (f-1)^2)
};

// Vapour injection through an economiser.
struct Injection {
    bool present = false;
    double portExponent = 0.5;  // intermediate pressure = ps^(1-a) pd^a
    double efficiency = 0.787;  // electrical efficiency of compressing the injected vapour
    double approach = 5.0;      // K, economiser liquid outlet above the intermediate saturation
    double vapourSuperheat = 5.0;  // K, injected vapour above the intermediate saturation
};

struct CompressorPhysics {
    double displacement = 0.0;  // m3/s at the nominal speed
    double kappa = 1.15;        // the refrigerant's compression exponent
    VolumetricCurve volumetric;
    IsentropicCurve isentropic;
    double builtInVolumeRatio = 0.0;  // 0: no fixed built-in volume ratio
    // Mechanical friction, kW per m3/h of displacement: base + perBar (pd - ps).
    double frictionBase = 0.0;
    double frictionPerBar = 0.0;
    double extraShaftLoss = 0.0;      // kW, e.g. the idle cylinders of an unloaded step
    MotorLosses motor;
    Electrical electrical;
    SpeedResponse speed;
    Injection injection;
};

// The operating state at the compressor.
struct PhysicalState {
    double ps = 0;          // suction pressure
    double pd = 0;          // discharge pressure
    double SGT = 0;         // suction gas temperature
    double liquidTemp = 0;  // liquid leaving the condenser (gas leaving the gas cooler)
    bool transcritical = false;
    double speedRatio = 1.0;
};

struct PhysicalResult {
    bool ok = false;
    double lambda = 0;     // volumetric efficiency at the suction gas temperature
    double lambda25 = 0;   // the same referred to 25 degC suction gas
    double m = 0;          // suction mass flow
    double Q = 0;          // cooling capacity
    double Pshaft = 0;     // shaft power of the main compression
    double Pbase = 0;      // electrical power without the injected vapour's compression
    double P = 0;          // electrical power input
    double Ibase = 0;      // current at Pbase
    double I = 0;          // current
    double hSuction = 0;
    double hLiquidIn = 0;  // liquid entering the evaporator
    // vapour injection
    double intermediatePressure = 0;
    double intermediateTemp = 0;  // saturation temperature at the intermediate pressure
    double economiserLiquid = 0;  // liquid leaving the economiser
    double economiserDuty = 0;
    double injectionFlow = 0;
};

// Suction-gas heating of the volumetric efficiency: the efficiency at suction gas temperature T
// of a compressor whose efficiency at 25 degC is l:
//   l (1 + (T - 25)(0.0186 - 0.03673 l + 0.018368 l^2)).
double SuctionGasEfficiency(double l25, double T);

// Volumetric efficiency at 25 degC suction gas, pressure ratio r and speed ratio f.
double VolumetricEfficiency25(const CompressorPhysics& c, double r, double f);
// Isentropic efficiency at pressure ratio r and speed ratio f.
double IsentropicEfficiency(const CompressorPhysics& c, double r, double f);
// Loss of compressing against the fixed built-in volume ratio, kW (0 without one).
double BuiltInRatioLoss(const CompressorPhysics& c, double ps, double pd, double Vdot);
// Electrical input of the shaft power.
double ElectricalPower(const CompressorPhysics& c, double shaftPower, double speedRatio = 1.0);
double Current(const CompressorPhysics& c, double power);

// The compressor at one state. ok is false when a property request failed.
PhysicalResult Evaluate(const CompressorPhysics& c, Trefrigerant& ref, const PhysicalState& s);

}  // namespace kelvra::catalogue
