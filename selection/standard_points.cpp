#include "standard_points.hpp"

#include <algorithm>
#include <cctype>
#include <string>

#include "refrigerant.hpp"

namespace kelvra {

namespace {

// ARI points are defined in degrees Fahrenheit; held as the exact Celsius quotients.
constexpr double Fahrenheit(double f) { return (f - 32.0) * 5.0 / 9.0; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

bool IsCO2(const Trefrigerant* refrigerant) {
    return refrigerant != nullptr && refrigerant->isCO2;
}

bool IsControlsMode(ActivityMode mode) {
    const int m = ToInt(mode);
    return m >= 3 && m <= 6;
}

// Back to a plain point: no line drops, all superheat useful, saturated temperatures at the
// compressor equal to the evaporating and condensing temperatures, the dependent one of
// superheat and suction gas return derived from the other.
void ResetDerived(OperatingConditions& c) {
    c.advanced = false;
    c.usefulAll = true;
    c.suctionLineDrop = 0;
    c.dischargeLineDrop = 0;
    c.liquidLineTempRise = 0;
    c.satSuctionTemp = c.evapTemp;
    c.satDischargeTemp = c.condTemp;
    c.compSubcooling = c.subcooling;
    if (c.useSGR)
        c.superheat = c.suctionGasReturn - c.satSuctionTemp;
    else
        c.suctionGasReturn = c.satSuctionTemp + c.superheat;
    c.usefulSuperheat = c.superheat;
    c.capacityRatio = 1.0;
}

void SuperheatInput(OperatingConditions& c, double superheat) {
    c.useSGR = false;
    c.superheat = superheat;
    c.usefulSuperheat = superheat;
    c.suctionGasReturn = c.evapTemp + superheat;
}

void SuctionGasInput(OperatingConditions& c, double temperature) {
    c.useSGR = true;
    c.suctionGasReturn = temperature;
    c.superheat = temperature - c.evapTemp;
    c.usefulSuperheat = c.superheat;
}

void Temperatures(OperatingConditions& c, double evaporating, double condensing) {
    c.evapTemp = evaporating;
    c.condTemp = condensing;
    c.satSuctionTemp = evaporating;
    c.satDischargeTemp = condensing;
}

// Compressors (mode 0, not carbon dioxide) and controls (modes 3 to 6).
OperatingConditions CompressorOrControls(StandardButton button, bool controls,
                                         RatingStandard standard, const Trefrigerant* refrigerant,
                                         OperatingConditions c) {
    const bool ari = standard == RatingStandard::ARI;
    int type = 1;
    switch (button) {
        case StandardButton::LT:
            type = !controls && refrigerant != nullptr &&
                           refrigerant->id == StandardPoints::kClass5Refrigerant
                       ? 5
                       : 1;
            break;
        case StandardButton::MT:
            type = controls ? 2 : 1;
            break;
        case StandardButton::HT:
            type = controls ? 3 : 2;
            break;
    }
    Preset(type, standard, c);
    switch (button) {
        case StandardButton::LT:
            Temperatures(c, ari ? Fahrenheit(-25) : -35.0, ari ? Fahrenheit(105) : 40.0);
            break;
        case StandardButton::MT:
            Temperatures(c, ari ? Fahrenheit(20) : -10.0, ari ? Fahrenheit(120) : 45.0);
            if (ari) {
                SuctionGasInput(c, Fahrenheit(65));
                c.subcooling = 0;
                c.compSubcooling = 0;
            }
            break;
        case StandardButton::HT:
            Temperatures(c, ari ? Fahrenheit(45) : 5.0, ari ? Fahrenheit(130) : 50.0);
            break;
    }
    // The input of the preset stays the input; the other follows the new temperatures.
    if (c.useSGR)
        c.superheat = c.usefulSuperheat = c.suctionGasReturn - c.evapTemp;
    else
        c.suctionGasReturn = c.evapTemp + c.superheat;
    return c;
}

OperatingConditions CarbonDioxide(StandardButton button, RatingStandard standard,
                                  OperatingConditions c) {
    switch (button) {
        case StandardButton::LT:
            Preset(8, standard, c);
            Temperatures(c, -35, -5);
            break;
        case StandardButton::MT:
            Preset(9, standard, c);
            c.evapTemp = c.satSuctionTemp = -10;
            c.condPressure = 90;
            c.condByPressure = 1;
            break;
        case StandardButton::HT:
            Preset(10, standard, c);
            c.evapTemp = c.satSuctionTemp = -5;
            c.condPressure = 90;
            c.condByPressure = 1;
            break;
    }
    c.suctionGasReturn = c.evapTemp + c.superheat;
    return c;
}

// Condensing units (EN 13215) and heat-pump compressors: no preset; the flags of pressure and
// liquid-temperature entry are cleared before the values are set.
OperatingConditions WithoutPreset(StandardButton button, ActivityMode mode,
                                  OperatingConditions c) {
    ResetDerived(c);
    c.evapByPressure = 0;
    c.condByPressure = 0;
    c.liquidTempGiven = false;
    if (mode == ActivityMode::CondensingUnits) {
        const double evaporating = button == StandardButton::LT   ? -35.0
                                   : button == StandardButton::MT ? -10.0
                                                                  : 5.0;
        Temperatures(c, evaporating, c.condTemp);
        c.ambientTemp = 32;
        if (button == StandardButton::HT)
            SuperheatInput(c, 10);
        else
            SuctionGasInput(c, 20);
    } else {
        switch (button) {
            case StandardButton::LT: Temperatures(c, -15, 60); break;
            case StandardButton::MT: Temperatures(c, -7, 35); break;
            case StandardButton::HT: Temperatures(c, -7, 50); break;
        }
        SuperheatInput(c, 5);
    }
    c.subcooling = mode == ActivityMode::CondensingUnits ? 0.0 : 4.0;
    c.compSubcooling = c.subcooling;
    return c;
}

}  // namespace

bool StandardPoints::HasStandardButtons(ActivityMode mode) {
    const int m = ToInt(mode);
    return m >= 0 && m <= 6;
}

bool StandardPoints::UsesRatingStandard(ActivityMode mode) {
    return mode == ActivityMode::Compressors || IsControlsMode(mode);
}

bool StandardPoints::ShowsRatingStandard(ActivityMode mode) {
    return UsesRatingStandard(mode) && mode != ActivityMode::FilterDriers;
}

OperatingConditions StandardPoints::Standard(StandardButton button, ActivityMode mode,
                                             RatingStandard standard,
                                             const Trefrigerant* refrigerant,
                                             OperatingConditions current) {
    switch (mode) {
        case ActivityMode::Compressors:
            if (IsCO2(refrigerant)) return CarbonDioxide(button, standard, current);
            return CompressorOrControls(button, false, standard, refrigerant, current);
        case ActivityMode::CondensingUnits:
        case ActivityMode::HeatPumpCompressors:
            return WithoutPreset(button, mode, current);
        default:
            if (IsControlsMode(mode))
                return CompressorOrControls(button, true, standard, refrigerant, current);
            return current;
    }
}

std::string_view StandardPoints::HintKey(StandardButton button, ActivityMode mode,
                                         RatingStandard standard,
                                         const Trefrigerant* refrigerant) {
    const int b = button == StandardButton::LT ? 0 : button == StandardButton::MT ? 1 : 2;
    static constexpr std::string_view kEN[] = {"hntEN12900LTCond", "hntEN12900MTCond",
                                               "hntEN12900HTCond"};
    static constexpr std::string_view kARI[] = {"hntLTARI", "hntMTARI", "hntHTARI"};
    static constexpr std::string_view kCO2[] = {"hntLTR744", "hntMTR744", "hntHTR744"};
    static constexpr std::string_view kUnits[] = {"hntEN13215LTCond", "hntEN13215MTCond",
                                                  "hntEN13215HTCond"};
    static constexpr std::string_view kHeatPump[] = {"hntHP_L", "hntHP_M", "hntHP_H"};
    if (mode == ActivityMode::CondensingUnits) return kUnits[b];
    if (mode == ActivityMode::HeatPumpCompressors) return kHeatPump[b];
    if (!HasStandardButtons(mode)) return {};
    if (mode == ActivityMode::Compressors && IsCO2(refrigerant)) return kCO2[b];
    return standard == RatingStandard::ARI ? kARI[b] : kEN[b];
}

OperatingConditions StandardPoints::HeatPump(int button, ActivityMode mode,
                                             OperatingConditions current) {
    struct Point {
        float source;
        float water;
    };
    static constexpr Point kBrine[] = {{0, 35}, {0, 45}, {5, 35}, {5, 45}};
    static constexpr Point kAir[] = {{7, 45}, {7, 35}, {-7, 35}, {2, 35}};
    if (button < 1 || button > 4) return current;
    const Point* points = mode == ActivityMode::BrineWaterHeatPumps ? kBrine
                          : mode == ActivityMode::AirWaterHeatPumps ? kAir
                                                                    : nullptr;
    if (points == nullptr) return current;
    current.sourceInletTemp = points[button - 1].source;
    current.waterOutletTemp = points[button - 1].water;
    return current;
}

std::string_view StandardPoints::HeatPumpHintKey(int button, ActivityMode mode) {
    static constexpr std::string_view kBrine[] = {"hntGrd1", "hntGrd2", "hntGrd3", "hntGrd4"};
    static constexpr std::string_view kAir[] = {"hntAir1", "hntAir2", "hntAir3", "hntAir4"};
    if (button < 1 || button > 4) return {};
    if (mode == ActivityMode::BrineWaterHeatPumps) return kBrine[button - 1];
    if (mode == ActivityMode::AirWaterHeatPumps) return kAir[button - 1];
    return {};
}

OperatingConditions StandardPoints::Nominal(const Trefrigerant* refrigerant,
                                            OperatingConditions c) {
    c.suctionLineDrop = 0;
    c.dischargeLineDrop = 0;
    c.usefulAll = true;
    c.evapByPressure = 0;
    c.condByPressure = 0;
    c.liquidTempGiven = false;
    c.subcooling = 1;
    c.compSubcooling = 1;
    const std::string name = refrigerant != nullptr ? refrigerant->name : std::string();
    double evaporating = 4;
    double condensing = 38;
    if (IsCO2(refrigerant)) {
        evaporating = -40;
        condensing = -10;
    } else if (SameName(name, "R23")) {
        evaporating = -60;
        condensing = -25;
    } else if (SameName(name, "R124")) {
        evaporating = 20;
        condensing = 80;
    } else if (SameName(name, "R407C")) {
        evaporating = 4;
        condensing = 43;
    }
    Temperatures(c, evaporating, condensing);
    if (c.useSGR)
        c.superheat = c.suctionGasReturn - c.evapTemp;
    else
        c.suctionGasReturn = c.evapTemp + c.superheat;
    c.usefulSuperheat = c.superheat;
    c.ordaSystemDrop = 0.0f;
    c.ordaComponentDrop = 0.07f;
    c.ordaDiffPressure = 0.15f;
    return c;
}

OperatingConditions StandardPoints::ClearAdvanced(OperatingConditions c) {
    ResetDerived(c);
    return c;
}

}  // namespace kelvra
