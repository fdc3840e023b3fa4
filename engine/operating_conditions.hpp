// The operating point: one plain record, always in SI (temperatures in degC, temperature
// differences in K, pressures in bar absolute, capacities in kW). The user enters some members;
// `Resolve` derives the others for the current refrigerant; `Preset` fills the members that a
// rating standard fixes.
#pragma once

#include <cstdint>

namespace kelvra {

class Trefrigerant;

struct OperatingConditions {
    double subcooling = 0;            // K, below the bubble point at the condensing pressure
    double suctionGasReturn = 25;     // degC, at the compressor inlet
    double superheat = 20;            // K
    double usefulSuperheat = 20;      // K, the part of the superheat gained in the evaporator
    double evapTemp = -10;            // degC (dew or mid point per refrigerant)
    double condTemp = 30;             // degC
    double capacity = 20;             // kW, required capacity
    double liquidTemp = 0;            // degC, at the expansion device
    double ambientTemp = 32;          // degC, air entering the condenser of a condensing unit
    double satDischargeTemp = 30;     // degC, condensing temperature plus discharge-line drop
    double satSuctionTemp = -10;      // degC, evaporating temperature minus suction-line drop
    double compSubcooling = 0;        // K, referred to the saturated discharge pressure
    double suctionLineDrop = 0;       // K, as a saturation-temperature drop
    double dischargeLineDrop = 0;     // K, as a saturation-temperature rise
    double liquidLineTempRise = 0;    // K, economiser outlet to load inlet
    float ordaSystemDrop = 1.5f;      // bar
    float ordaComponentDrop = 0.1f;   // bar
    float ordaDiffPressure = 0.15f;   // bar
    double capacityRatio = 1.0;       // useful-superheat correction, never below 1
    double gasCoolerOutletTemp = 30;  // degC
    double nightLoadPercent = 66.7;
    double condPressure = 30;       // bar, condensing or gas-cooler pressure
    double evapPressure = 0;        // bar
    double suctionPressure = 0;     // bar, saturation pressure at satSuctionTemp
    double dischargePressure = 30;  // bar, saturation pressure at satDischargeTemp
    float demand = 0;
    float minAmbient = -18;  // degC
    std::int32_t rpm = 3000;
    std::int32_t inverterRpm = 1500;
    std::int32_t loadPercent = 100;
    double economiserSubcooling = 5;   // K
    double economiserApproach = 5;     // K
    double economiserLiquidTemp = 0;   // degC
    double vapourOutletSuperheat = 5;  // K
    float totalNetworkCapacity = 40;   // kW
    float baseLoad = 0;
    float waterOutletTemp = 30;   // degC
    float sourceInletTemp = -10;  // degC
    std::int32_t capacitySteps = 2;
    std::int32_t networkUnitCount = 4;
    std::int32_t networkKind = 2;
    std::int32_t unitCount = 1;
    std::int32_t economiserMode =
        0;  // 0 from rating data, 1 liquid outlet given, 2 subcooling given
    std::int32_t condByPressure = 0;  // condensing side entered as pressure
    std::int32_t evapByPressure = 0;  // evaporating side entered as pressure
    bool useSGR = false;              // suction gas return is the input, superheat derived
    bool advanced = false;            // line drops and useful superheat in use
    bool liquidTempGiven = false;     // liquid temperature is the input, subcooling derived
    bool usefulAll = true;            // all superheat is useful
    bool useBase = false;
    bool invalid = false;  // set when resolving failed
};

enum class RatingStandard { EN, ARI };

// Statuses of Resolve
inline constexpr std::int32_t ResolveOk = 0;
inline constexpr std::int32_t ResolvePropertyError = -5;
inline constexpr std::int32_t ResolveSuctionGasTooCold = -6;
inline constexpr std::int32_t ResolveNoRefrigerant = -7;
inline constexpr std::int32_t ResolveUsefulAboveSuperheat = -19;

// Overwrites the superheat, suction-gas, subcooling and gas-cooler members with the values of a
// rating standard for superheat-definition class `ratingClass`. The caller then resolves.
void Preset(int ratingClass, RatingStandard standard, OperatingConditions& conditions);

// Derives the dependent members for `refrigerant`. Returns ResolveOk, or a negative status with
// the invalid flag set.
std::int32_t Resolve(OperatingConditions& conditions, Trefrigerant* refrigerant);

}  // namespace kelvra
