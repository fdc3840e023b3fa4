#pragma once

// Inside of the compressor evaluation: the fields of a rating data set that the evaluation reads,
// the rating polynomials, and the state one evaluation step carries from the operating point to
// the results. Used by the compressor's own sources only.

#include <array>
#include <cstdint>
#include <stdexcept>

#include "operating_conditions.hpp"

namespace kelvra {

class TcrateObj;
class TComp;
class Trefrigerant;

namespace compressor_detail {

// A fault inside an evaluation step (a division by zero, a value that is not a number); the
// step ends with EvaluationFailed.
class EvaluationFault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// num / den; an EvaluationFault naming `what` when den is 0 or the quotient is not finite.
double Quotient(double num, double den, const char* what);

using Coefficients = std::array<double, 10>;

// The fields of a rating data set that the evaluation reads.
struct RatingFields {
    double displacement = 0;          // m3/s
    double motorPowerLimit = 0;       // kW, 0 = none
    double maxDischargeTemp = 0;      // degC
    double injectionPowerFactor = 0;  // vapour injection, kinds 10-12
    int technologyCode = 0;
    std::uint16_t optionWord = 0;
    double builtInVolumeRatio = 0;
    int kind = 0;
    Coefficients blockA{}, blockB{}, blockC{}, blockD{};
    std::uint16_t dataFlags = 0;  // kind 0: volumetric-efficiency form
    std::uint16_t powerUnit = 0;  // kind 0: power-loss form
    std::uint16_t powerLossFlags = 0;
    std::uint16_t massFlowUnit = 0;
    std::uint16_t nominalSpeed = 0;
    bool ratedSuperheatMode = false;  // the rated value is a superheat, else a suction gas temp
    double ratedSuction = 0;          // K or degC
    double ratedSubcooling = 0;       // K
    std::uint16_t optionBits = 0;
    double volumetricScale = 0;

    // data flags
    bool Fahrenheit() const { return (dataFlags & 1u) != 0; }
    bool CapacityInWatts() const { return (dataFlags & 2u) != 0; }
    bool DewData() const { return (dataFlags & 4u) != 0; }
    bool PowerInWatts() const { return (powerUnit & 3u) != 0; }
    // option word
    bool IgnoresSubcooling() const { return optionWord == 4 || optionWord == 8; }
    bool IsentropicDischarge() const { return (optionWord & 1u) != 0; }
    bool CapsSubcooling() const { return (optionWord & 8u) != 0; }
    bool CapsDischarge() const { return (optionWord & 16u) != 0; }
};

RatingFields ReadRatingFields(const TcrateObj& set);

// Kinds 10-12 evaluate as 0-2 and add vapour injection.
constexpr int BaseKind(int kind) {
    return kind >= 10 ? kind - 10 : kind;
}
constexpr bool IsInjectionKind(int kind) {
    return kind == 3 || kind == 4 || kind >= 10;
}

// EN 12900 form: C1 + C2 S + C3 D + C4 S^2 + C5 S D + C6 D^2 + C7 S^3 + C8 D S^2 + C9 S D^2 +
// C10 D^3.
double EN12900(const Coefficients& c, double S, double D);

// Absolute-temperature form with the first nine coefficients, Tc and Te in K, pressures in bar.
double AbsoluteTemperatureForm(const Coefficients& c, double Tc, double Te, double pd, double ps);

inline double ToFahrenheit(double t) {
    return t * 1.8 + 32.0;
}
inline double FromFahrenheit(double t) {
    return (t - 32.0) / 1.8;
}

// Vapour enthalpies and volumes of one evaluation step, kept so that a state the step asks for
// more than once costs one property call. A repeated request reports the first one's failure.
class VapourStates {
  public:
    double Enthalpy(Trefrigerant& ref, double p, double T);
    double Volume(Trefrigerant& ref, double p, double T);

  private:
    struct Entry {
        double p = 0, T = 0, value = 0;
        bool failed = false;
    };
    static constexpr int kSize = 8;
    template <class Call>
    static double Lookup(std::array<Entry, kSize>& table, int& count, Trefrigerant& ref, double p,
                         double T, Call call);

    std::array<Entry, kSize> enthalpy_{};
    std::array<Entry, kSize> volume_{};
    int enthalpyCount_ = 0;
    int volumeCount_ = 0;
};

// Everything one evaluation step works with. Temperatures degC, pressures bar, enthalpies
// kJ/kg, mass flows kg/s, powers kW.
struct StepState {
    const OperatingConditions* c = nullptr;
    Trefrigerant* ref = nullptr;
    TcrateObj* set = nullptr;
    const TcrateObj* speedData = nullptr;  // set A: its speed and inverter polynomials
    RatingFields f;
    int kind = 0;
    int baseKind = 0;
    bool injection = false;         // this set is evaluated with vapour injection
    bool modelInjection = false;    // the compressor has vapour injection (set A)
    bool inverter = false;          // set A has inverter polynomials
    bool speedPolynomials = false;  // set A has speed polynomials
    bool inverterScaled = false;    // the rated capacity went through the inverter functions
    double n = 0;                   // speed setting, rpm
    bool transcritical = false;
    double supplyVoltage = 0;
    int phases = 0;

    double E = 0;           // subcooling considered, K
    double liquidRise = 0;  // K

    // saturation states
    double te = 0, tc = 0;
    double teDew = 0, tcDew = 0, teMid = 0, tcMid = 0;
    double ps = 0, pd = 0, tBub = 0;
    double teRate = 0;
    // polynomial temperatures (degC or degF as the data)
    double tePoly = 0, tcPoly = 0;

    double SH = 0, SGT = 0;
    double TliqCond = 0;  // condenser (or gas-cooler) outlet
    double Tliq = 0;      // entering the evaporator
    double SGTr = 0;
    double dhRated = 0;

    // rating model
    double Q = 0, mRated = 0, Vdot = 0, lambda = 0, P = 0, I = 0;

    // actual state
    double hSuc = 0, hLiq = 0, lambdaActual = 0, VdotActual = 0, m = 0, Qa = 0;

    VapourStates vapour;
    double Hv(double p, double T) { return vapour.Enthalpy(*ref, p, T); }
    double Vv(double p, double T) { return vapour.Volume(*ref, p, T); }

    // vapour injection
    double H = 0;                   // intermediate saturation temperature of the rating data
    double G = 0;                   // intermediate saturation temperature at the point
    double Teco = 0;                // economiser liquid outlet (result 12)
    double approach = 5;            // K
    double vapourSuperheat = 5;     // K
    double injectionFlow = 0;       // kg/s
    double economiserDuty = 0;      // kW, seen by the main liquid
    double injectionTemp = 0;       // bubble temperature of the intermediate state of G (result 25)
    double intermediateBubble = 0;  // T_bub(p_i) (result 26)
};

// Intermediate state of a temperature T at the intermediate level, for subcooling `sub`.
struct IntermediateState {
    double p = 0;  // intermediate pressure, bar
    double X = 0;  // bubble temperature, degC
    double Z = 0;  // evaporating mid-point temperature (dew data of mid-point refrigerants)
};
IntermediateState IntermediateOf(StepState& s, double T, double sub);

// Vapour injection, before the suction correction: intermediate state of the rating data,
// economiser outlet, the liquid temperature entering the evaporator, and the rated enthalpy
// difference, mass flow, volumetric efficiency and (kinds 3 and 4) power and current.
void InjectionRating(TComp& comp, StepState& s);
// Vapour injection, after the suction correction: economiser duty, injection flow and the
// power of compressing the injected vapour.
void InjectionFlow(StepState& s);

// The envelope check of the step's rating data set at the speed setting, after the
// speed-dependent envelopes have been brought to that speed; y and x are the condensing and
// evaporating temperatures of the evaluation's envelope pair.
std::int32_t CheckStepEnvelope(TComp& comp, StepState& s, double y, double x);

// Speed corrections of the rating polynomials: speed polynomial set k (1..4) at (tc, te, n) in
// the polynomial's own temperatures; 0 without speed polynomials.
double SpeedCorrection(const StepState& s, int k, double tcPoly, double tePoly);
// Inverter functions: capacity and power at speed n, current from power.
double InverterCapacity(const StepState& s, double capacity);
double InverterPower(const StepState& s, double power);
double InverterCurrent(const StepState& s, double power);

}  // namespace compressor_detail
}  // namespace kelvra
