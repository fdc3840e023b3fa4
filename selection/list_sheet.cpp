#include "list_sheet.hpp"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

#include "language_texts.hpp"
#include "product_records.hpp"
#include "refrigerant.hpp"
#include "safe_file.hpp"

namespace kelvra {

namespace {

constexpr const char* kLineEnd = "\r\n";

// "%.1f%s" of an internal value shown as quantity `code` in the unit system.
std::string Shown(QuantityCode code, UnitSystem system, double value) {
    return fmt::format("{:.1f}{}", ToDisplay(code, system, value) + 0.0, UnitLabel(code, system));
}

bool SecondColumn(ActivityMode mode) {
    return mode != ActivityMode::Compressors && mode != ActivityMode::HeatPumpCompressors &&
           mode != ActivityMode::SolenoidValves;
}

}  // namespace

std::string DefaultRealText(double value) {
    if (!std::isfinite(value)) value = 0;
    // "1.53000000000000E+01" -> the exponent widened to four digits
    const std::string plain = fmt::format("{:.14E}", std::fabs(value));
    const std::size_t e = plain.find('E');
    const int exponent = std::atoi(plain.c_str() + e + 1);
    return fmt::format("{}{}E{}{:04d}", value < 0 ? '-' : ' ', plain.substr(0, e),
                       exponent < 0 ? '-' : '+', std::abs(exponent));
}

std::string SelectionListSheet(const SelectionList& list, const ListSheetHeader& header) {
    std::string out;
    const auto line = [&out](const std::string& text = {}) { out += text + kLineEnd; };
    const ActivityMode mode = list.mode();
    const UnitSystem units = list.unitSystem();
    const OperatingConditions& c = list.conditions();
    const bool several = list.isComparison();

    // 1. Title block
    line();
    line(header.title + "\t" + Text("strVersion", "Version") + header.versionLabel + "\t\t\t" +
         header.date);
    line();

    // 2. Refrigerant and supply of the first listed model
    if (!list.empty()) {
        const ListItem& first = list.items()[static_cast<std::size_t>(list.order().front())];
        if (!several && first.refrigerant != nullptr)
            line(Text("strRefrig", "Refrigerant") + "\t" + first.refrigerant->DisplayName());
        std::string supply = first.model->supply != nullptr ? first.model->supply->name : "";
        const auto begin = supply.find_first_not_of(' ');
        supply = begin == std::string::npos ? std::string()
                                            : supply.substr(begin, supply.find_last_not_of(' ') -
                                                                       begin + 1);
        line(Text("lblSupply", "Supply") + "\t" + supply);
        line();
    }

    // 3. Operating conditions
    namespace q = quantity;
    const bool heatPumps = IsHeatPumpMode(mode);
    line(Text("strCompOpConds", "Operating Conditions"));
    if (!heatPumps)
        line(Text("strEvapTemp", "Evaporating Temp") + "\t" + Shown(q::CondensingTemp, units, c.evapTemp));
    if (mode == ActivityMode::CondensingUnits)
        line(Text("strAmbtTemp", "Ambient temperature") + "\t" +
             Shown(q::CondensingTemp, units, c.ambientTemp));
    else if (heatPumps)
        line(Text("strWaterOut", "Water outlet temperature") + "\t" +
             Shown(q::CondensingTemp, units, c.waterOutletTemp));
    else
        line(Text("strCondensTemp", "Condensing temperature") + "\t" +
             Shown(q::CondensingTemp, units, c.condTemp));
    if (mode == ActivityMode::BrineWaterHeatPumps)
        line(Text("strBrineInlet", "Brine inlet temperature") + "\t" +
             Shown(q::CondensingTemp, units, c.sourceInletTemp));
    else if (mode == ActivityMode::AirWaterHeatPumps)
        line(Text("strAirOn", "Air on temperature") + "\t" +
             Shown(q::CondensingTemp, units, c.sourceInletTemp));
    else if (c.useSGR)
        line(Text("strSuctRetTemp", "Suction gas return temperature") + "\t" +
             Shown(q::CondensingTemp, units, c.suctionGasReturn));
    else
        line(Text("strSuctSuperheat", "Suction superheat") + "\t" +
             Shown(q::TemperatureDifference, units, c.superheat));
    if (mode != ActivityMode::CondensingUnits && !heatPumps)
        line(Text("strLiqSubcool", "Liquid subcooling") + "\t" +
             Shown(q::TemperatureDifference, units, c.subcooling));
    line();

    // 4. Requirement, in kW
    line((mode == ActivityMode::HeatPumpCompressors
              ? Text("strReqHeatCap", "Required heating capacity")
              : Text("strReqCap", "Required capacity")) +
         "\t" + DefaultRealText(list.requiredCapacity()));
    line();

    // 5. Captions
    std::string captions;
    switch (mode) {
        case ActivityMode::CondensingUnits:
            captions = Text("strCondUnit", "Condensing Unit");
            break;
        case ActivityMode::Compressors:
        case ActivityMode::HeatPumpCompressors:
            captions = Text("strCompressor", "Compressor");
            break;
        case ActivityMode::ExpansionValves:
        case ActivityMode::SolenoidValves:
            captions = Text("strValve", "Valve");
            break;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            captions = Text("strHeatPump", "Heat Pump");
            break;
        default:
            break;
    }
    captions += "\t";
    if (mode == ActivityMode::CondensingUnits || heatPumps)
        captions += Text("strCompressor", "Compressor") + "\t";
    else if (SecondColumn(mode))
        captions += Text("strOrifice", "Orifice") + "\t";
    if (several) captions += Text("strRefrig", "Refrigerant") + "\t";
    for (int column = 0; column < list.userCount(); ++column)
        captions += list.columnTitle(column) + "\t";
    line(captions);

    // 6. One line per listed model
    for (const int index : list.order()) {
        const ListItem& item = list.items()[static_cast<std::size_t>(index)];
        std::string row = item.model->name + "\t";
        if (SecondColumn(mode)) row += list.secondColumnText(item) + "\t";
        if (several)
            row += (item.refrigerant != nullptr ? item.refrigerant->DisplayName() : "") + "\t";
        for (const ListColumn& column : list.columns()) {
            if (column.kind == 'M' || column.kind == 'E') {
                row += list.techText(item, column) + "\t";
                continue;
            }
            const auto value = list.columnValue(item, column, header.vapourOutletGiven);
            if (value)
                row += DefaultRealText(
                    RoundForDisplay(column.code, ToDisplay(column.code, units, *value)));
            row += "\t";
        }
        line(row);
    }
    return out;
}

IoStatus WriteSelectionListSheet(const std::filesystem::path& path, const SelectionList& list,
                                 const ListSheetHeader& header) {
    return WriteFileSafely(path, SelectionListSheet(list, header));
}

}  // namespace kelvra
