#include "units.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kelvra {

namespace {

constexpr double kBtuPerHourPerWatt = 3.41214;  // kW -> kBtu/h, and COP -> EER
constexpr double kMcalPerHourPerKW = 0.8596;    // kW -> Mcal/h
constexpr double kPoundPerHourPerGramPerSecond = 7.93656;
constexpr double kPsiPerBar = 14.5;
constexpr double kFahrenheitPerKelvin = 1.8;

// How a quantity's value is converted for display.
enum class Kind {
    None,         // shown as held, no label
    Capacity,     // kW | kBtu/h | Mcal/h
    Power,        // kW in every system
    Current,      // A in every system
    Efficiency,   // COP | EER (Btu/h/W) | COP
    MassFlow,     // g/s | lb/h | kg/s
    Temperature,  // degC | degF | degC
    Pressure,     // bar | psi | bar
    Volume,       // m3/h in every system
    TempDiff,     // K | degF | K
};

Kind KindOf(QuantityCode code) {
    switch (code) {
        case quantity::CoolingCapacity:
        case quantity::HeatRejection:
        case quantity::HeatingCapacity:
        case quantity::CapacityReserved:
        case quantity::EconomiserCapacity:
            return Kind::Capacity;
        case quantity::PowerInput:
            return Kind::Power;
        case quantity::Current:
            return Kind::Current;
        case quantity::COP:
        case quantity::RefrigerationCOP:
            return Kind::Efficiency;
        case quantity::MassFlow:
        case quantity::InjectionMassFlow:
            return Kind::MassFlow;
        case quantity::CondensingTemp:
        case quantity::DischargeTemp:
        case quantity::LiquidTemp:
        case quantity::IntermediateSatTemp:
        case quantity::VapourOutletTemp:
        case quantity::LiquidTempInjectionInlet:
        case quantity::LiquidTempEconomiserOutlet:
            return Kind::Temperature;
        case quantity::PressureDifference:
        case quantity::SuctionPressure:
        case quantity::IntermediatePressure:
            return Kind::Pressure;
        case quantity::Displacement:
            return Kind::Volume;
        case quantity::TemperatureDifference:
            return Kind::TempDiff;
        default:
            // Efficiencies, power factor, load, speed, the discharge pressure and the
            // vapour-injection and bubble temperatures are shown as held, without a unit.
            return Kind::None;
    }
}

// Anything that is not Imperial or kcal-metric is treated as SI.
UnitSystem Effective(UnitSystem system) {
    return system == UnitSystem::Imperial || system == UnitSystem::Kcal ? system : UnitSystem::SI;
}

bool HasCapacitySteps(QuantityCode code) {
    switch (code) {
        case quantity::CoolingCapacity:
        case quantity::PowerInput:
        case quantity::HeatRejection:
        case quantity::HeatingCapacity:
        case quantity::CapacityReserved:
        case quantity::EconomiserCapacity:
            return true;
        default:
            return false;
    }
}

// value / step rounded to a whole number, halves to even, then multiplied back. The step is given
// as its reciprocal when it is below 1 so that results such as 12.35 come out as the nearest
// double to the decimal figure. A quotient within a few units in the last place of a half is
// taken as a half: 2.345 to 0.01 is the half 234.5 even though 2.345 is not exact in binary.
double RoundToStep(double value, double step, double perUnit) {
    const double q = perUnit > 0 ? value * perUnit : value / step;
    if (!std::isfinite(q)) return value;
    const double lower = std::floor(q);
    const double frac = q - lower;
    const double tolerance =
        8 * std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(q));
    double n;
    if (std::fabs(frac - 0.5) <= tolerance) {
        n = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    } else {
        n = frac < 0.5 ? lower : lower + 1;
    }
    const double result = perUnit > 0 ? n / perUnit : n * step;
    return result == 0 ? 0.0 : result;  // no "-0" in a grid
}

}  // namespace

double ToDisplay(QuantityCode code, UnitSystem system, double value) {
    const UnitSystem s = Effective(system);
    if (s == UnitSystem::SI) return value;
    const bool imperial = s == UnitSystem::Imperial;
    switch (KindOf(code)) {
        case Kind::Capacity:
            return value * (imperial ? kBtuPerHourPerWatt : kMcalPerHourPerKW);
        case Kind::Efficiency:
            return imperial ? value * kBtuPerHourPerWatt : value;
        case Kind::MassFlow:
            return imperial ? value * kPoundPerHourPerGramPerSecond : value / 1000.0;
        case Kind::Temperature:
            return imperial ? (value + 40.0) * kFahrenheitPerKelvin - 40.0 : value;
        case Kind::Pressure:
            return imperial ? value * kPsiPerBar : value;
        case Kind::TempDiff:
            return imperial ? value * kFahrenheitPerKelvin : value;
        default:
            return value;
    }
}

double FromDisplay(QuantityCode code, UnitSystem system, double value) {
    const UnitSystem s = Effective(system);
    if (s == UnitSystem::SI) return value;
    const bool imperial = s == UnitSystem::Imperial;
    switch (KindOf(code)) {
        case Kind::Capacity:
            return value / (imperial ? kBtuPerHourPerWatt : kMcalPerHourPerKW);
        case Kind::Efficiency:
            return imperial ? value / kBtuPerHourPerWatt : value;
        case Kind::MassFlow:
            return imperial ? value / kPoundPerHourPerGramPerSecond : value * 1000.0;
        case Kind::Temperature:
            return imperial ? (value + 40.0) / kFahrenheitPerKelvin - 40.0 : value;
        case Kind::Pressure:
            return imperial ? value / kPsiPerBar : value;
        case Kind::TempDiff:
            return imperial ? value / kFahrenheitPerKelvin : value;
        default:
            return value;
    }
}

std::string UnitLabel(QuantityCode code, UnitSystem system) {
    const UnitSystem s = Effective(system);
    const bool imperial = s == UnitSystem::Imperial;
    const bool kcal = s == UnitSystem::Kcal;
    switch (KindOf(code)) {
        case Kind::Capacity:
            return imperial ? "kBtu/h" : kcal ? "MCal/h" : "kW";
        case Kind::Power:
            return "kW";
        case Kind::Current:
            return "A";
        case Kind::Efficiency:
            return imperial ? "Btu/h/W" : "";
        case Kind::MassFlow:
            return imperial ? "lb/h" : kcal ? "kg/s" : "g/s";
        case Kind::Temperature:
            return imperial ? "\u00B0F" : "\u00B0C";
        case Kind::Pressure:
            return imperial ? "psi" : "bar";
        case Kind::Volume:
            return "m3/h";
        case Kind::TempDiff:
            return imperial ? "\u00B0F" : "K";
        default:
            return "";
    }
}

int Decimals(QuantityCode code) {
    switch (code) {
        case quantity::CondensingTemp:
        case quantity::DischargeTemp:
        case quantity::LiquidTemp:
        case quantity::IntermediateSatTemp:
        case quantity::InjectionTemp:
        case quantity::IntermediateBubbleTemp:
        case quantity::VapourOutletTemp:
        case quantity::LiquidTempInjectionInlet:
        case quantity::LiquidTempEconomiserOutlet:
        case quantity::TemperatureDifference:
            return 1;
        default:
            return 2;
    }
}

double RoundForDisplay(QuantityCode code, double value) {
    if (!std::isfinite(value)) return value;

    // Each step with its reciprocal (0 for steps of 1 and more).
    struct Step {
        double step;
        double perUnit;
    };
    Step step{0.01, 100};

    switch (code) {
        case quantity::Current:
        case quantity::COP:
        case quantity::VolumetricEfficiency:
        case quantity::IsentropicEfficiency:
        case quantity::PressureDifference:
            step = {0.01, 100};
            break;
        case quantity::Speed:
            step = {1, 0};
            break;
        default:
            if (HasCapacitySteps(code)) {
                if (value < 0.075)
                    step = {0.0001, 10000};
                else if (value < 0.15)
                    step = {0.0005, 2000};
                else if (value <= 1)
                    step = {0.001, 1000};
                else if (value <= 2)
                    step = {0.005, 200};
                else if (value <= 10)
                    step = {0.01, 100};
                else if (value <= 20)
                    step = {0.05, 20};
                else if (value <= 100)
                    step = {0.1, 10};
                else if (value <= 200)
                    step = {0.5, 2};
                else
                    step = {1, 0};
            } else {
                if (value < 75)
                    step = {0.1, 10};
                else if (value < 150)
                    step = {0.5, 2};
                else if (value <= 1000)
                    step = {1, 0};
                else if (value <= 2000)
                    step = {5, 0};
                else if (value <= 10000)
                    step = {10, 0};
                else if (value <= 20000)
                    step = {50, 0};
                else if (value <= 100000)
                    step = {100, 0};
                else if (value <= 200000)
                    step = {500, 0};
                else
                    step = {1000, 0};
            }
            break;
    }
    return RoundToStep(value, step.step, step.perUnit);
}

QuantityCode SummaryQuantity(ActivityMode mode, int index) {
    static constexpr std::array<QuantityCode, 9> kCompressors{1, 2, 4, 3, 7, 6, 8, 11, 19};
    static constexpr std::array<QuantityCode, 7> kCondensingUnits{1, 2, 4, 3, 7, 8, 9};
    static constexpr std::array<QuantityCode, 7> kHeatPumpCompressors{11, 2, 4, 3, 7, 1, 19};
    static constexpr std::array<QuantityCode, 4> kHeatPumps{11, 2, 4, 3};

    const QuantityCode* list = nullptr;
    int count = 0;
    switch (mode) {
        case ActivityMode::Compressors:
            list = kCompressors.data();
            count = static_cast<int>(kCompressors.size());
            break;
        case ActivityMode::CondensingUnits:
            list = kCondensingUnits.data();
            count = static_cast<int>(kCondensingUnits.size());
            break;
        case ActivityMode::HeatPumpCompressors:
            list = kHeatPumpCompressors.data();
            count = static_cast<int>(kHeatPumpCompressors.size());
            break;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            list = kHeatPumps.data();
            count = static_cast<int>(kHeatPumps.size());
            break;
        default:
            break;
    }
    if (index < 1 || index > 16 || index > count) return -1;
    return list[index - 1];
}

std::string RemoveCharacter(char32_t character, std::string_view text) {
    // Encode the code point as UTF-8; UTF-8 sequences never overlap, so removing every whole
    // occurrence of the sequence cannot cut another character apart.
    char encoded[4];
    std::size_t length = 0;
    const auto c = static_cast<std::uint32_t>(character);
    if (c < 0x80) {
        encoded[length++] = static_cast<char>(c);
    } else if (c < 0x800) {
        encoded[length++] = static_cast<char>(0xC0 | (c >> 6));
        encoded[length++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c <= 0xDFFF) return std::string(text);  // surrogate: not a character
        encoded[length++] = static_cast<char>(0xE0 | (c >> 12));
        encoded[length++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        encoded[length++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c <= 0x10FFFF) {
        encoded[length++] = static_cast<char>(0xF0 | (c >> 18));
        encoded[length++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        encoded[length++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        encoded[length++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        return std::string(text);
    }
    const std::string_view needle(encoded, length);

    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t hit = text.find(needle, pos);
        if (hit == std::string_view::npos) {
            result.append(text.substr(pos));
            break;
        }
        result.append(text.substr(pos, hit - pos));
        pos = hit + needle.size();
    }
    return result;
}

}  // namespace kelvra
