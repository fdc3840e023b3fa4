#include "result_rows.hpp"

#include <fmt/format.h>

#include <cmath>

#include "compressor.hpp"
#include "data_store.hpp"
#include "language_texts.hpp"
#include "quantity_heading.hpp"
#include "heat_pump.hpp"
#include "refrigerant.hpp"
#include "status_text.hpp"
#include "unit.hpp"
#include "valve.hpp"

namespace kelvra {
namespace {

namespace q = quantity;

constexpr std::size_t kLabelMax = 60;
constexpr std::size_t kValueMax = 40;

double DisplayTemperature(double celsius, UnitSystem units) {
    return ToDisplay(q::CondensingTemp, units, celsius);
}

// The heading of the grids: what kind of product, and its name.
ResultRow ModelHeading(const TCModel& model, ActivityMode mode) {
    std::string label;
    switch (mode) {
        case ActivityMode::CondensingUnits:
            label = Text("strCondUnitMod", "Condensing Unit");
            break;
        case ActivityMode::ExpansionValves:
        case ActivityMode::SolenoidValves:
            label = Text("strValve", "Valve");
            break;
        case ActivityMode::HeadPressureControls:
            label = "Pressure Regulator";
            break;
        case ActivityMode::FilterDriers:
            label = "System Protector";
            break;
        default:
            label = Text("strCompressor", "Compressor");
            break;
    }
    return {label, model.name, true};
}

// The summary quantities of the mode, each as the model formats it; rows without a value are
// left out.
void AddQuantityRows(std::vector<ResultRow>& rows, const TCModel& model,
                     const OperatingConditions& conditions, ActivityMode mode, UnitSystem units) {
    for (int index = 1;; ++index) {
        const QuantityCode code = SummaryQuantity(mode, index);
        if (code < 0) break;
        if (code == q::LiquidTemp || code == q::IntermediateSatTemp ||
            code == q::EconomiserCapacity || code == q::InjectionTemp ||
            code == q::IntermediateBubbleTemp)
            continue;
        if (mode == ActivityMode::Compressors) {
            if (code == q::HeatRejection && model.showsHeatingCapacity) continue;
            if (code == q::HeatingCapacity && !model.showsHeatingCapacity) continue;
        }
        std::string label;
        std::string value;
        model.FormatQuantity(code, units, label, kLabelMax, value, kValueMax, conditions, mode);
        if (value.empty()) continue;
        rows.push_back({label, value});
    }
}

// A value of a quantity in display units with its decimals, and its label with the unit.
std::string QuantityValue(QuantityCode code, UnitSystem units, double value) {
    return fmt::format("{:.{}f}", ToDisplay(code, units, value), Decimals(code));
}

// The vapour-injection block of a compressor (or of the compressor a heat pump runs): the
// economiser duty, the injected mass flow, the intermediate pressure and temperature, the vapour
// outlet temperature and the liquid temperatures; "--" where there is no economiser duty.
void AddInjectionRows(std::vector<ResultRow>& rows, const TCModel& model,
                      const OperatingConditions& conditions, ActivityMode mode, UnitSystem units) {
    const double duty = model.Result(q::EconomiserCapacity);
    const bool working = duty > 0;
    const double intermediate = model.Result(q::IntermediateSatTemp);
    const auto withUnit = [&](const char* key, const char* english, QuantityCode code) {
        return Text(key, english) + " " + UnitLabel(code, units);
    };
    rows.push_back({Text("strVapInjData", "Vapour Injection Data"), "", true});
    rows.push_back({withUnit("strSubCap", "Economiser capacity", q::CoolingCapacity),
                    QuantityValue(q::CoolingCapacity, units, duty)});
    rows.push_back({withUnit("strInjMassFlow", "Injection mass flow", q::MassFlow),
                    QuantityValue(q::MassFlow, units, model.Result(q::InjectionMassFlow))});
    std::string pressure = "--";
    if (working && model.refrigerant != nullptr) {
        const double p = model.refrigerant->DewPressure(intermediate);
        if (!model.refrigerant->lastError) pressure = QuantityValue(q::SuctionPressure, units, p);
    }
    rows.push_back({withUnit("strIpress", "Intermediate pressure", q::SuctionPressure), pressure});
    rows.push_back({withUnit("strTSI", "Intermediate saturation temperature", q::CondensingTemp),
                    working ? QuantityValue(q::CondensingTemp, units, intermediate) : "--"});
    const double outletSuperheat =
        conditions.economiserMode != 0 ? conditions.vapourOutletSuperheat : 5.0;
    rows.push_back({withUnit("strVOTemp", "Vapour outlet temperature", q::CondensingTemp),
                    working ? QuantityValue(q::CondensingTemp, units, intermediate + outletSuperheat)
                            : "--"});
    rows.push_back({withUnit("strLiqTempLI", "Liquid temperature, injection inlet", q::CondensingTemp),
                    QuantityValue(q::CondensingTemp, units, conditions.liquidTemp)});
    const double liquidOut = model.Result(q::LiquidTemp);
    rows.push_back({withUnit("strLiqTempLO", "Liquid temperature, liquid outlet", q::CondensingTemp),
                    QuantityValue(q::CondensingTemp, units, liquidOut)});
    if (mode == ActivityMode::Compressors) {
        rows.push_back(
            {withUnit("strLiqTempLX", "Liquid temperature, economiser outlet", q::CondensingTemp),
             working ? QuantityValue(q::CondensingTemp, units,
                                     liquidOut + conditions.liquidLineTempRise)
                     : "--"});
    }
}

// One formatted quantity row of the model; nothing when the model gives no value.
void AddQuantityRow(std::vector<ResultRow>& rows, const TCModel& model, QuantityCode code,
                    const OperatingConditions& conditions, ActivityMode mode, UnitSystem units) {
    std::string label;
    std::string value;
    model.FormatQuantity(code, units, label, kLabelMax, value, kValueMax, conditions, mode);
    if (!value.empty()) rows.push_back({label, value});
}

}  // namespace

std::string OperatingPointText(const OperatingConditions& conditions, ActivityMode mode,
                               UnitSystem units, bool transcritical) {
    const std::string temperatureUnit = UnitLabel(q::CondensingTemp, units);
    if (transcritical) {
        return fmt::format("{:.1f} {} / {:.1f} {}", DisplayTemperature(conditions.evapTemp, units),
                           temperatureUnit,
                           ToDisplay(q::DischargePressure, units, conditions.condPressure),
                           UnitLabel(q::DischargePressure, units));
    }
    double first = conditions.evapTemp;
    double second = conditions.condTemp;
    if (mode == ActivityMode::CondensingUnits) {
        second = conditions.ambientTemp;
    } else if (IsHeatPumpMode(mode)) {
        first = conditions.sourceInletTemp;
        second = conditions.waterOutletTemp;
    }
    return fmt::format("{:.1f} / {:.1f} {}", DisplayTemperature(first, units),
                       DisplayTemperature(second, units), temperatureUnit);
}

std::vector<ResultRow> SummaryRows(const TCModel* model, const OperatingConditions& conditions,
                                   ActivityMode mode, UnitSystem units, bool transcritical) {
    std::vector<ResultRow> rows;
    if (model == nullptr) return rows;
    rows.push_back({Text("strPerfSpecPoint", "Operating Point"),
                    OperatingPointText(conditions, mode, units, transcritical)});
    const ModelStatus status = model->Status();
    switch (mode) {
        case ActivityMode::Compressors:
        case ActivityMode::HeatPumpCompressors:
            rows.push_back({Text("strCompressor", "Compressor"), model->name});
            if (model->IsVariableSpeed()) {
                rows.push_back({QuantityHeading(q::Speed, units, mode, conditions) + ", Hz",
                                fmt::format("{:.1f}", model->Speed() / 60.0)});
            }
            if (status < 0) {
                rows.push_back({"", status == -24 ? statusWords(status, mode, false)
                                                  : Text("strOpCondOutCompLim",
                                                         "Operating conditions outside "
                                                         "compressor limits")});
            } else {
                AddQuantityRows(rows, *model, conditions, mode, units);
                if (model->HasVapourInjection())
                    AddInjectionRows(rows, *model, conditions, mode, units);
            }
            break;
        case ActivityMode::CondensingUnits: {
            rows.push_back({Text("strCondUnitMod", "Condensing Unit"), model->name});
            const auto* unit = dynamic_cast<const Tunit*>(model);
            rows.push_back(
                {Text("strCompressor", "Compressor"), unit ? unit->compressorName : std::string()});
            if (status != 0 && status != 8) {
                rows.push_back(
                    {"", Text("strOpCondOutLim", "Operating conditions outside limits")});
            } else {
                AddQuantityRows(rows, *model, conditions, mode, units);
            }
            break;
        }
        case ActivityMode::ExpansionValves:
        case ActivityMode::SolenoidValves:
        case ActivityMode::HeadPressureControls:
        case ActivityMode::FilterDriers: {
            const auto* valve = dynamic_cast<const Tvalve*>(model);
            const bool valves =
                mode == ActivityMode::ExpansionValves || mode == ActivityMode::SolenoidValves;
            rows.push_back({valves ? Text("strValve", "Valve") : Text("strComponent", "Component"),
                            model->name});
            // the orifice (or type) text, where the component has one
            if (valve != nullptr && !valve->secondName.empty() &&
                mode != ActivityMode::FilterDriers)
                rows.push_back({Text("strOrifice", "Orifice"), valve->secondName});
            if (status < 0) {
                rows.push_back(
                    {"", Text("strOpCondOutLim", "Operating conditions outside limits")});
                break;
            }
            if (mode != ActivityMode::SolenoidValves)
                AddQuantityRow(rows, *model, q::CoolingCapacity, conditions, mode, units);
            AddQuantityRow(rows, *model, q::PressureDifference, conditions, mode, units);
            if (valve != nullptr && valve->TypeLetter() == 'E' &&
                model->Result(q::CoolingCapacity) != 0) {
                const double ratio = valve->LoadRatio(conditions.capacity);
                if (ratio >= 1 && ratio <= 110)
                    rows.push_back({Text("strLoadRatio", "Load ratio"),
                                    fmt::format("{} %", static_cast<int>(std::lround(ratio)))});
            }
            if (mode == ActivityMode::SolenoidValves && valve != nullptr)
                rows.push_back({Text("strNomCap", "Nominal capacity"),
                                fmt::format("{:.2f}", valve->nominalCapacity)});
            break;
        }
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps: {
            rows.push_back({Text("strHeatPump", "Heat Pump"), model->name});
            const auto* heatPump = dynamic_cast<const THeatPump*>(model);
            const TComp* compressor = heatPump != nullptr ? heatPump->compressor : nullptr;
            rows.push_back({Text("strCompressor", "Compressor"),
                            compressor != nullptr ? compressor->name : std::string()});
            if (status == 0 || status == 1 || status == 8) {
                AddQuantityRows(rows, *model, conditions, mode, units);
                if (compressor != nullptr && compressor->HasVapourInjection())
                    AddInjectionRows(rows, *compressor, conditions, mode, units);
            } else {
                rows.push_back({"", Text("strOpCondOutCompLim",
                                         "Operating conditions outside compressor limits")});
            }
            break;
        }
    }
    return rows;
}

std::vector<ResultRow> TechnicalDataRows(const TdataStore& store, const TCModel& model,
                                         ActivityMode mode) {
    std::vector<ResultRow> rows;
    std::vector<const TTecObj*> mechanical;
    std::vector<const TTecObj*> electrical;
    store.TechList(model, 'M', mechanical);
    store.TechList(model, 'E', electrical);
    if (mechanical.empty() && electrical.empty()) return rows;
    rows.push_back(ModelHeading(model, mode));
    rows.push_back({mode == ActivityMode::CondensingUnits
                        ? Text("strCondUnitMechData", "Condensing Unit Mechanical Data")
                        : Text("strMechData", "Mechanical Data"),
                    "", true});
    for (const TTecObj* item : mechanical)
        rows.push_back({item->heading ? item->heading->caption : std::string(), item->text});
    if (!electrical.empty()) {
        rows.push_back({Text("strElecData", "Electrical Data"), "", true});
        for (const TTecObj* item : electrical)
            rows.push_back({item->heading ? item->heading->caption : std::string(), item->text});
    }
    return rows;
}

std::vector<ResultRow> AccessoryRows(const TdataStore& store, const TCModel& model,
                                     ActivityMode mode) {
    std::vector<ResultRow> rows;
    std::vector<const TTecObj*> included;
    std::vector<const TTecObj*> optional;
    store.TechList(model, 'I', included);
    store.TechList(model, 'O', optional);
    if (included.empty() && optional.empty()) return rows;
    const std::string accessories = Text("strAccessoriesCAPS", "ACCESSORIES");
    rows.push_back(ModelHeading(model, mode));
    auto add = [&rows](const std::vector<const TTecObj*>& list) {
        for (const TTecObj* item : list) {
            const std::string title = item->heading ? item->heading->caption : std::string();
            rows.push_back({title, item->text});
        }
    };
    rows.push_back({accessories + " " + Text("strIncluded", "Included"), "", true});
    add(included);
    rows.push_back({accessories + " " + Text("strOptional", "Optional"), "", true});
    add(optional);
    return rows;
}

std::vector<std::string> MotorCodeHeadings() {
    return {Text("strMotorcode", "Motor Code"),
            Text("lblSupply", "Supply"),
            Text("strNomVolt", "Nominal") + " " + Text("strVoltage", "Voltage"),
            Text("strContype", "Connection"),
            Text("strDOL", "DOL"),
            Text("strApproxAmpFactor", "Approx. Amp Factor")};
}

std::vector<MotorCodeLine> MotorCodeRows(const TdataStore& store, const TCModel& model) {
    std::vector<MotorCodeLine> rows;
    double first = 0;
    bool haveFirst = false;
    int position = 0;
    while (position < static_cast<int>(model.motorCodes.size())) {
        const TmotorObj* motor = store.NextMotorCode(model.motorCodes, position);
        if (motor == nullptr) continue;
        MotorCodeLine row{motor->Code(),           motor->SupplyText(),
                         motor->NominalVoltageText(), motor->ConnectionText(),
                         motor->DirectOnLineText(), ""};
        const double current = motor->CurrentBasis();
        if (!haveFirst) {
            first = current;
            haveFirst = true;
        }
        if (first != 0) {
            const double ratio = current / first;
            if (ratio != 0) row.ampFactor = fmt::format("{:.2f}", ratio);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace kelvra
