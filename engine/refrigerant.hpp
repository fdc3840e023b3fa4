// The refrigerant object: one per refrigerant of the product database. Every thermodynamic
// quantity the program needs comes through it: it forwards each request to one of the two
// property libraries (the CO2 library for R744, the general library for every other fluid),
// converts units on the way in and out, records errors, and adds the derived operations
// (mid-point conversions for zeotropic blends, isentropic compression, secant inversions).
//
// Units at this interface: temperatures in degC, pressures in bar absolute, enthalpy in kJ/kg,
// entropy in kJ/(kg K), specific volume in m3/kg.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvra {

// Program-wide words of the display name; the language tables may replace them.
inline std::string strMidPoint = "Mid Point";
inline std::string strDewPoint = "Dew Point";

class Trefrigerant {
  public:
    // error codes
    static constexpr std::int32_t ErrorNone = 0;
    static constexpr std::int32_t ErrorVapourProperty =
        -1;  // a vapour enthalpy or entropy call failed
    static constexpr std::int32_t ErrorNotConverged = -6;  // an iteration did not converge

    static constexpr std::int16_t CO2Id = 10;
    static constexpr std::size_t MaxNameLength = 35;
    static constexpr double R410ALimitTemperature = 67.5;  // degC
    // Below the triple point the CO2 saturation calls answer these without asking the library.
    static constexpr double CO2MinTemperature = -56.0;  // degC
    static constexpr double CO2MinPressure = 5.2;       // bar

    // Secant inversions
    static constexpr double InversionTolerance = 1e-5;
    static constexpr int InversionMaxSteps = 100;

    // Creates the refrigerant from a row of the product database: name (trimmed, at most 35
    // characters), number, basis letter and compression exponent. Sets the CO2 and id-23 flags,
    // initialises the critical point (see `initialised`), then changes basis 'G' to 'D'.
    Trefrigerant(std::string_view name, std::int16_t id, char basis, float exponent);

    // Fields
    std::string name;
    std::int16_t id = 0;
    char basis = 'N';  // 'N' single component or azeotrope, 'D' dew point, 'M' mid point
    float exponent = 0;

    std::int32_t errorCode = ErrorNone;
    bool lastError = false;    // the last property call failed
    bool stickyError = false;  // OR of every last error since a caller cleared it

    bool isCO2 = false;
    bool id23 = false;
    bool limitedR410A = false;

    double criticalPressure = 0;     // bar absolute
    double criticalTemperature = 0;  // degC
    double criticalThird = 0;        // second output of the CO2 critical-point call; kept, not used
    double r410ALimit = 0;           // degC, 67.5 when limitedR410A

    // True when the critical point was obtained from the property library. False means the
    // library this refrigerant needs is missing or does not know the fluid: the product database
    // cannot be used with it.
    bool initialised = false;

    // Asks the library for the critical point again and sets the R410A flag and limit.
    // Returns `initialised`.
    bool Initialise();

    // Clears the error code, the last error and the sticky error.
    void ClearErrors();

    // Saturation and state properties
    double DewPressure(double T);
    double BubblePressure(double T);
    double DewTemperature(double p);
    double BubbleTemperature(double p);
    double LiquidEnthalpy(double p, double T);
    double VapourEnthalpy(double p, double T);
    double VapourVolume(double p, double T);
    double VapourEntropy(double p, double T);

    std::string DisplayName() const;
    bool IsAboveR410ALimit(double T) const;

    // Mid-point operations
    double MidPointPressure(double T);
    double MidPointTemperature(double p);
    void MidTemperaturesToPressures(double subcooling, double condMidTemp, double evapMidTemp,
                                    double& condPressure, double& evapPressure);
    void PressuresToMidTemperatures(double subcooling, double condPressure, double evapPressure,
                                    double& condMidTemp, double& evapMidTemp);

    // Inversions (secant iteration)
    double IsentropicTemperature(double dischargePressure, double suctionPressure, double startTemp,
                                 double suctionTemp, double& entropy);
    double IsentropicTemperature(double dischargePressure, double suctionPressure, double startTemp,
                                 double suctionTemp);
    double VapourTemperatureFromEnthalpy(double h, double startTemp, double p);
    double LiquidTemperatureFromEnthalpy(double h, double p);

    // kW, from a mass flow in kg/s
    double IsentropicPower(double massFlow, double dischargePressure, double suctionPressure,
                           double startTemp, double suctionTemp);

  private:
    // Sets the last error and ORs it into the sticky error.
    void Record(bool failed);
    // Ends a request: on failure the result is 0.
    double Finish(bool failed, double value);
    double IsentropicTemperatureImpl(double dischargePressure, double suctionPressure,
                                     double startTemp, double suctionTemp, double& entropy,
                                     bool& converged);
};

}  // namespace kelvra
