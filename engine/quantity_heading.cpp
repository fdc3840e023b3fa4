#include "quantity_heading.hpp"

#include <array>

#include "language_texts.hpp"
#include "operating_conditions.hpp"

namespace kelvra {

namespace {

struct Heading {
    std::string_view key;
    std::string_view english;
};

// Built-in English headings; the language tables may replace any of them by key.
constexpr std::array kEnglish{
    Heading{"litCapacity", "Cooling capacity"},
    Heading{"strRefrigCap", "Refrigeration capacity"},
    Heading{"strEvapCap", "Evaporator capacity"},
    Heading{"litPower", "Power input"},
    Heading{"litCurrent", "Current"},
    Heading{"litCOP", "COP"},
    Heading{"litEER", "EER"},
    Heading{"litSysCOP", "System COP"},
    Heading{"litSysEER", "System EER"},
    Heading{"litVolEff", "Volumetric efficiency"},
    Heading{"litIsenEff", "Isentropic efficiency"},
    Heading{"litMassFlow", "Mass flow"},
    Heading{"litHeatRejection", "Heat rejection"},
    Heading{"litCondTemp", "Condensing temperature"},
    Heading{"strDiscTemp", "Discharge temperature"},
    Heading{"strHeatCapacity", "Heating capacity"},
    Heading{"strLiquidTemp", "Liquid temperature"},
    Heading{"litPowFact", "Power factor"},
    Heading{"strTSI", "Intermediate saturation temperature"},
    Heading{"lblDiffPress", "Pressure difference"},
    Heading{"strDisp", "Displacement"},
    Heading{"strLoadRatio", "Load ratio"},
    Heading{"strSubCap", "Economiser capacity"},
    Heading{"strRefCop", "Refrigeration COP"},
    Heading{"strInjMassFlow", "Injection mass flow"},
    Heading{"strTVI", "Vapour injection temperature"},
    Heading{"strTsiBubble", "Intermediate bubble temperature"},
    Heading{"strSpeed", "Speed"},
    Heading{"lblLoading", "Load"},
    Heading{"strIpress", "Intermediate pressure"},
    Heading{"strVOTemp", "Vapour outlet temperature"},
    Heading{"strLiqTempLI", "Liquid temperature, injection inlet"},
    Heading{"strLiqTempLX", "Liquid temperature, economiser outlet"},
};

std::string Lookup(std::string_view key) {
    for (const Heading& h : kEnglish) {
        if (h.key == key) return Text(key, h.english);
    }
    return Text(key, key);  // not reached for catalogue keys
}

}  // namespace

std::string_view HeadingKey(QuantityCode code) {
    switch (code) {
        case quantity::CoolingCapacity:
            return "litCapacity";
        case quantity::PowerInput:
            return "litPower";
        case quantity::Current:
            return "litCurrent";
        case quantity::COP:
            return "litCOP";
        case quantity::VolumetricEfficiency:
            return "litVolEff";
        case quantity::IsentropicEfficiency:
            return "litIsenEff";
        case quantity::MassFlow:
            return "litMassFlow";
        case quantity::HeatRejection:
            return "litHeatRejection";
        case quantity::CondensingTemp:
            return "litCondTemp";
        case quantity::DischargeTemp:
            return "strDiscTemp";
        case quantity::HeatingCapacity:
            return "strHeatCapacity";
        case quantity::LiquidTemp:
            return "strLiquidTemp";
        case quantity::PowerFactor:
            return "litPowFact";
        case quantity::IntermediateSatTemp:
            return "strTSI";
        case quantity::PressureDifference:
            return "lblDiffPress";
        case quantity::Displacement:
            return "strDisp";
        case quantity::LoadRatio:
            return "strLoadRatio";
        case quantity::EconomiserCapacity:
            return "strSubCap";
        case quantity::RefrigerationCOP:
            return "strRefCop";
        case quantity::InjectionMassFlow:
            return "strInjMassFlow";
        case quantity::InjectionTemp:
            return "strTVI";
        case quantity::IntermediateBubbleTemp:
            return "strTsiBubble";
        case quantity::Speed:
            return "strSpeed";
        case quantity::Load:
            return "lblLoading";
        case quantity::IntermediatePressure:
            return "strIpress";
        case quantity::VapourOutletTemp:
            return "strVOTemp";
        case quantity::LiquidTempInjectionInlet:
            return "strLiqTempLI";
        case quantity::LiquidTempEconomiserOutlet:
            return "strLiqTempLX";
        default:
            return {};
    }
}

std::string QuantityHeading(QuantityCode code, UnitSystem system, ActivityMode mode,
                            const OperatingConditions& conditions) {
    const bool advanced = conditions.advanced;
    const bool usefulAll = conditions.usefulAll;

    if (code == quantity::CoolingCapacity) {
        if (mode == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(mode))
            return Lookup("strRefrigCap");
        if ((mode == ActivityMode::Compressors && advanced) ||
            (mode == ActivityMode::CondensingUnits && !usefulAll))
            return Lookup("strEvapCap");
        return Lookup("litCapacity");
    }
    if (code == quantity::COP) {
        if (system == UnitSystem::Imperial)
            return Lookup(advanced && mode != ActivityMode::HeatPumpCompressors ? "litSysEER"
                                                                                : "litEER");
        return Lookup(advanced ? "litSysCOP" : "litCOP");
    }
    const std::string_view key = HeadingKey(code);
    return key.empty() ? std::string() : Lookup(key);
}

}  // namespace kelvra
