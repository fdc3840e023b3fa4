#include "output.hpp"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "cli_support.hpp"
#include "quantity_heading.hpp"
#include "refrigerant.hpp"
#include "result_quantities.hpp"
#include "status_text.hpp"

namespace kelvra::cli {

namespace {

namespace q = quantity;

struct QuantityName {
    QuantityCode code;
    const char* key;
};
constexpr std::array<QuantityName, 26> kQuantityKeys{{
    {q::CoolingCapacity, "capacity"},
    {q::PowerInput, "power"},
    {q::Current, "current"},
    {q::COP, "cop"},
    {q::VolumetricEfficiency, "volumetric_efficiency"},
    {q::IsentropicEfficiency, "isentropic_efficiency"},
    {q::MassFlow, "mass_flow"},
    {q::HeatRejection, "heat_rejection"},
    {q::CondensingTemp, "condensing_temperature"},
    {q::DischargeTemp, "discharge_temperature"},
    {q::HeatingCapacity, "heating_capacity"},
    {q::LiquidTemp, "liquid_temperature"},
    {q::PowerFactor, "power_factor"},
    {q::IntermediateSatTemp, "intermediate_saturation_temperature"},
    {q::PressureDifference, "pressure_difference"},
    {q::Displacement, "displacement"},
    {q::LoadRatio, "load_ratio"},
    {q::EconomiserCapacity, "economiser_capacity"},
    {q::RefrigerationCOP, "refrigeration_cop"},
    {q::SuctionPressure, "suction_pressure"},
    {q::DischargePressure, "discharge_pressure"},
    {q::InjectionMassFlow, "injection_mass_flow"},
    {q::InjectionTemp, "injection_temperature"},
    {q::IntermediateBubbleTemp, "intermediate_bubble_temperature"},
    {q::Speed, "speed"},
    {q::Load, "load"},
}};

// Width of a UTF-8 text in characters.
std::size_t Width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    }));
}

std::string Pad(const std::string& text, std::size_t width, bool right) {
    const std::size_t w = Width(text);
    if (w >= width) return text;
    const std::string fill(width - w, ' ');
    return right ? fill + text : text + fill;
}

// The unit of a quantity that the unit catalogue shows without a label: the internal unit it is
// held and shown in.
std::string HeldUnit(QuantityCode code) {
    switch (code) {
        case q::VolumetricEfficiency:
        case q::IsentropicEfficiency:
        case q::LoadRatio:
        case q::Load:
            return "%";
        case q::DischargePressure:
            return "bar";
        case q::InjectionTemp:
        case q::IntermediateBubbleTemp:
            return "\u00B0C";
        case q::Speed:
            return "rpm";
        default:
            return "";
    }
}

std::string Shown(QuantityCode code, UnitSystem units, double value) {
    std::string text = DisplayValueText(code, units, value);
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? text : text.substr(first);
}

}  // namespace

bool Fills(const TCModel& model, QuantityCode code, ActivityMode mode) {
    const auto codes = filledQuantities(model, mode);
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

Format ParseFormat(const std::string& text) {
    const std::string name = Lower(text);
    if (name == "table") return Format::Table;
    if (name == "tsv") return Format::Tsv;
    if (name == "json") return Format::Json;
    throw CliError(kExitBadArguments,
                   fmt::format("unknown format \"{}\" (one of: table, tsv, json)", text));
}

void TextTable::Print(std::ostream& out, Format format) const {
    const std::size_t columns = headings.size();
    const auto line = [&](const std::vector<std::string>& cells,
                          const std::vector<std::size_t>& widths) {
        std::string text;
        for (std::size_t i = 0; i < columns; ++i) {
            const std::string cell = i < cells.size() ? cells[i] : std::string();
            if (format == Format::Tsv) {
                text += (i ? "\t" : "") + cell;
            } else {
                const bool right = i < rightAligned.size() && rightAligned[i];
                text += (i ? "  " : "") + Pad(cell, widths[i], right);
            }
        }
        if (format != Format::Tsv) text.erase(text.find_last_not_of(' ') + 1);
        out << text << '\n';
    };
    std::vector<std::size_t> widths(columns, 0);
    const auto measure = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < columns && i < cells.size(); ++i)
            widths[i] = std::max(widths[i], Width(cells[i]));
    };
    measure(headings);
    if (!units.empty()) measure(units);
    for (const auto& row : rows) measure(row);
    line(headings, widths);
    if (!units.empty()) line(units, widths);
    for (const auto& row : rows) line(row, widths);
}

std::string QuantityKey(QuantityCode code) {
    for (const auto& k : kQuantityKeys)
        if (k.code == code) return k.key;
    return fmt::format("q{}", code);
}

QuantityColumn MakeColumn(QuantityCode code, UnitSystem units, ActivityMode mode,
                          const OperatingConditions& conditions) {
    QuantityColumn column;
    column.code = code;
    column.key = QuantityKey(code);
    column.heading = QuantityHeading(code, units, mode, conditions);
    if (column.heading.empty()) {
        // Quantities whose heading the caller words.
        if (code == q::SuctionPressure) column.heading = "Suction pressure";
        if (code == q::DischargePressure) column.heading = "Discharge pressure";
    }
    column.unit = UnitLabel(code, units);
    if (column.unit.empty()) column.unit = HeldUnit(code);
    return column;
}

std::vector<QuantityColumn> ColumnsFor(const std::vector<TCModel*>& models, ActivityMode mode,
                                       UnitSystem units, const OperatingConditions& conditions) {
    std::set<QuantityCode> codes;
    for (const TCModel* model : models)
        for (const QuantityCode code : filledQuantities(*model, mode)) codes.insert(code);
    std::vector<QuantityColumn> columns;
    for (const QuantityCode code : codes)
        columns.push_back(MakeColumn(code, units, mode, conditions));
    return columns;
}

std::vector<QuantityColumn> ColumnsNamed(const std::string& list, ActivityMode mode,
                                         UnitSystem units, const OperatingConditions& conditions) {
    std::vector<QuantityColumn> columns;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string item = Lower(list.substr(start, comma - start));
        start = comma + 1;
        item.erase(0, item.find_first_not_of(' '));
        item.erase(item.find_last_not_of(' ') + 1);
        if (item.empty()) continue;
        QuantityCode found = -1;
        for (const auto& k : kQuantityKeys)
            if (item == k.key || item == std::to_string(k.code)) found = k.code;
        if (found < 0) {
            std::string keys;
            for (const auto& k : kQuantityKeys)
                keys += (keys.empty() ? "" : ", ") + std::string(k.key);
            throw CliError(kExitBadArguments,
                           fmt::format("unknown quantity \"{}\" (one of: {})", item, keys));
        }
        columns.push_back(MakeColumn(found, units, mode, conditions));
    }
    if (columns.empty()) throw CliError(kExitBadArguments, "--columns names no quantity");
    return columns;
}

std::string ResultText(const TCModel& model, QuantityCode code, UnitSystem units,
                       ActivityMode mode) {
    if (!Fills(model, code, mode)) return "";
    if (!IsValidStatus(model.Status())) return "-";
    return Shown(code, units, model.Result(code));
}

Json ModelJson(const TCModel& model, const std::vector<QuantityColumn>& columns, UnitSystem units,
               ActivityMode mode, bool autoSelect) {
    Json j;
    j["name"] = model.name;
    j["refrigerant"] = model.refrigerant != nullptr ? Json(model.refrigerant->name) : Json();
    j["supply"] = model.supply != nullptr ? Json(model.supply->name) : Json();
    j["family"] = model.family != nullptr ? Json(model.family->name) : Json();
    j["status"] = model.Status();
    j["status_text"] = statusWords(model.Status(), mode, autoSelect);
    j["valid"] = IsValidStatus(model.Status());
    Json results = Json::object();
    for (const QuantityColumn& c : columns) {
        if (!Fills(model, c.code, mode)) continue;
        Json r;
        r["code"] = c.code;
        r["heading"] = c.heading;
        r["unit"] = c.unit;
        if (IsValidStatus(model.Status())) {
            const double value = ToDisplay(c.code, units, model.Result(c.code));
            r["value"] = std::isfinite(value) ? Json(value) : Json();
            r["text"] = Shown(c.code, units, model.Result(c.code));
        } else {
            r["value"] = nullptr;
            r["text"] = "-";
        }
        results[c.key] = std::move(r);
    }
    j["results"] = std::move(results);
    return j;
}

std::vector<std::pair<std::string, std::string>> ConditionLines(const OperatingConditions& c,
                                                                UnitSystem units,
                                                                bool transcritical) {
    const auto value = [units](QuantityCode code, double v, int decimals) {
        return fmt::format("{:.{}f} {}", ToDisplay(code, units, v) + 0.0, decimals,
                           UnitLabel(code, units));
    };
    std::vector<std::pair<std::string, std::string>> lines = {
        {"Evaporating temperature", value(q::CondensingTemp, c.evapTemp, 2)},
        {"Evaporating pressure", value(q::SuctionPressure, c.evapPressure, 3)},
    };
    if (transcritical) {
        lines.push_back({"Gas-cooler pressure", value(q::SuctionPressure, c.condPressure, 3)});
        lines.push_back(
            {"Gas-cooler outlet temperature", value(q::CondensingTemp, c.gasCoolerOutletTemp, 2)});
    } else {
        lines.push_back({"Condensing temperature", value(q::CondensingTemp, c.condTemp, 2)});
        lines.push_back({"Condensing pressure", value(q::SuctionPressure, c.condPressure, 3)});
    }
    lines.push_back({"Superheat", value(q::TemperatureDifference, c.superheat, 2)});
    lines.push_back({"Suction gas temperature", value(q::CondensingTemp, c.suctionGasReturn, 2)});
    if (!transcritical) {
        lines.push_back({"Subcooling", value(q::TemperatureDifference, c.subcooling, 2)});
        lines.push_back({"Liquid temperature", value(q::CondensingTemp, c.liquidTemp, 2)});
    }
    return lines;
}

Json ConditionsJson(const OperatingConditions& c, UnitSystem units) {
    const auto value = [units](QuantityCode code, double v) {
        Json j;
        j["value"] = ToDisplay(code, units, v) + 0.0;
        j["unit"] = UnitLabel(code, units);
        return j;
    };
    Json j;
    j["evaporating_temperature"] = value(q::CondensingTemp, c.evapTemp);
    j["evaporating_pressure"] = value(q::SuctionPressure, c.evapPressure);
    j["condensing_temperature"] = value(q::CondensingTemp, c.condTemp);
    j["condensing_pressure"] = value(q::SuctionPressure, c.condPressure);
    j["superheat"] = value(q::TemperatureDifference, c.superheat);
    j["suction_gas_temperature"] = value(q::CondensingTemp, c.suctionGasReturn);
    j["subcooling"] = value(q::TemperatureDifference, c.subcooling);
    j["liquid_temperature"] = value(q::CondensingTemp, c.liquidTemp);
    j["gas_cooler_outlet_temperature"] = value(q::CondensingTemp, c.gasCoolerOutletTemp);
    j["required_capacity"] = value(q::CoolingCapacity, c.capacity);
    j["required_pressure_difference"] = value(q::PressureDifference, c.ordaDiffPressure);
    return j;
}

}  // namespace kelvra::cli
