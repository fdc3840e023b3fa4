#pragma once

// The saturation and state properties of a refrigerant at an operating point, as the
// refrigerant-properties window lists them: a high-side (condensing or gas-cooler) block and a
// low-side (evaporating) block, in SI units whatever the display unit system.

#include <string>

namespace kelvra {

class Trefrigerant;

struct RefPropInputs {
    bool useSGR = false;           // the suction value is a suction gas return temperature
    bool liquidTempGiven = false;  // the liquid temperature is the input, not the subcooling
    double condPressure = 0;       // bar
    double liquidTemp = 0;         // degC (gas-cooler outlet when transcritical)
    double subcooling = 0;         // K
    double suctionValue = 0;       // degC suction gas return, or K superheat
    double evapTemp = 0;           // degC
    double condTemp = 0;           // degC
};

struct RefPropSheet {
    std::string title;           // the refrigerant's display name
    bool transcritical = false;  // CO2 above its critical point on the high side

    // high side
    double condensingAt = 0;        // degC; hidden when transcritical
    double highPressure = 0;        // bar: condensing pressure, or the gas-cooler pressure
    double highDewPoint = 0;        // degC; hidden when transcritical
    double highBubblePoint = 0;     // degC; hidden when transcritical
    double saturatedVapourEnthalpy = 0;  // kJ/kg; hidden when transcritical
    double saturatedVapourVolume = 0;    // dm3/kg; hidden when transcritical
    double liquidTemp = 0;          // degC: liquid temperature, or gas-cooler outlet
    double liquidEnthalpy = 0;      // kJ/kg

    // low side
    double evaporatingAt = 0;  // degC
    double lowPressure = 0;    // bar
    double lowDewPoint = 0;    // degC
    double lowBubblePoint = 0; // degC
    double vapourAt = 0;       // degC, the suction gas
    double vapourVolume = 0;   // dm3/kg
    double vapourEnthalpy = 0; // kJ/kg
};

// Computes the sheet through the refrigerant's property functions. A failed property call
// leaves whatever value the function returns (0); the refrigerant's error flags are cleared
// again afterwards.
RefPropSheet ComputeRefrigerantProperties(Trefrigerant& refrigerant, const RefPropInputs& in);

// A value as the window shows it: "%15.5f".
std::string FormatPropertyValue(double value);

}  // namespace kelvra
