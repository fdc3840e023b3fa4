#include "table_view.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "compressor.hpp"
#include "heat_pump.hpp"
#include "language_texts.hpp"
#include "product_records.hpp"
#include "quantity_heading.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace q = quantity;

namespace {

// Slack of the comparisons of an operating point with the axis values (K).
constexpr double kAxisSlack = 0.001;

bool IsCoolingOrUnitMode(ActivityMode mode) {
    return mode == ActivityMode::Compressors || mode == ActivityMode::CondensingUnits;
}

bool IsHeatingMode(ActivityMode mode) {
    return mode == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(mode);
}

bool IsVapourInjectionQuantity(QuantityCode code) {
    return code == q::LiquidTemp || code == q::IntermediateSatTemp ||
           code == q::EconomiserCapacity || code == q::InjectionTemp ||
           code == q::IntermediateBubbleTemp;
}

std::string WithUnit(const std::string& heading, const std::string& unit) {
    return unit.empty() ? heading : heading + " " + unit;
}

std::string VoltageOf(const TSupply* supply) {
    if (supply == nullptr || !std::isfinite(supply->voltage)) return {};
    return fmt::format("{}V, ", static_cast<long long>(std::nearbyint(supply->voltage)));
}

}  // namespace

std::uint32_t TableStatusColour(ModelStatus status) {
    switch (status) {
        case 0: return 0xFFFFFF;
        case 1: return 0xFBD5FD;
        case 2: return 0xFFFF00;
        case 3: return 0xFF8000;
        case 4: return 0xFFFFFF;
        case 5: return 0xFFD0A3;
        case 6:
        case 7: return 0xFFFFFF;
        case 8: return 0xD0F0FF;
        case -1: return 0xBED6F8;
        case -2: return 0xFBC8BB;
        case -3: return 0xFFE6D7;
        case -4: return 0xFFD6D6;
        case -5: return 0xFFFFC0;
        case -6: return 0xBBFBF7;
        case -7:
        case -8:
        case -9: return 0xE7D2AF;
        case -10: return 0xD0CCEA;
        case -11: return 0xC7EFD0;
        case -12: return 0xCAF4C1;
        case -13:
        case -14: return 0xE7D2AF;
        case -15: return 0xBAFCD5;
        case -16: return 0xD8FCBA;
        case -17: return 0xFFDD99;
        case -18: return 0xE7D2AF;
        case -19: return 0xFF00FF;
        case -20: return 0x00FFFF;
        case -21: return 0xFFD6D6;
        case -22: return 0xABD5AB;
        case -23: return 0xE7C5C5;
        case -24: return 0xFBAC2F;
        case -25: return 0xABD5AB;
        default: return 0xFFFFFF;
    }
}

std::uint32_t TableQuantityColour(QuantityCode code) {
    switch (code) {
        case 1: return 0x800000;
        case 2: return 0x800080;
        case 3: return 0x000080;
        case 4: return 0x008000;
        case 8: return 0x800000;
        case 9: return 0xFF0000;
        case 10: return 0xFF0000;
        case 13: return 0x000080;
        case 18: return 0xFF0000;
        case 19: return 0x800000;
        case 20: return 0x008000;
        default: return 0x000000;
    }
}

std::optional<std::string> TableMessage(const TCModel* model, const TTableObject* table,
                                        ActivityMode mode, const OperatingConditions& c) {
    const bool shown = model != nullptr && table != nullptr && !table->Rows().empty() &&
                       table->Computed() &&
                       !(mode == ActivityMode::Compressors && c.advanced) &&
                       !(IsCoolingOrUnitMode(mode) && !c.usefulAll);
    if (shown) return std::nullopt;
    if (model == nullptr) return Text("strNoModels", "No models available");
    if (mode == ActivityMode::Compressors)
        return Text("strCantShow", "The table cannot be shown with these operating conditions");
    if (mode == ActivityMode::CondensingUnits && c.usefulAll)
        return Text("strCantCalc", "The table cannot be calculated at this operating point");
    if (mode == ActivityMode::ExpansionValves || mode == ActivityMode::SolenoidValves)
        return std::string("No table available");
    return Text("strCantShowCU", "No table can be shown for these conditions");
}

QuantityCode InitialTableQuantity(ActivityMode mode) {
    return IsHeatingMode(mode) ? q::HeatingCapacity : q::CoolingCapacity;
}

QuantityCode TableCellQuantity(ActivityMode mode, QuantityCode chosen) {
    switch (mode) {
        case ActivityMode::ExpansionValves:
        case ActivityMode::HeadPressureControls:
        case ActivityMode::FilterDriers: return q::CoolingCapacity;
        case ActivityMode::SolenoidValves: return q::PressureDifference;
        default: return chosen;
    }
}

std::string TableCaption(ActivityMode mode, UnitSystem system, const OperatingConditions& c) {
    switch (mode) {
        case ActivityMode::ExpansionValves:
        case ActivityMode::HeadPressureControls:
        case ActivityMode::FilterDriers:
            return WithUnit(QuantityHeading(q::CoolingCapacity, system, mode, c),
                            UnitLabel(q::CoolingCapacity, system));
        case ActivityMode::SolenoidValves:
            return WithUnit(Text("lblSysPD", "System pressure difference"),
                            UnitLabel(q::PressureDifference, system));
        default: return {};
    }
}

std::vector<TableQuantity> TableQuantities(const TCModel& model, ActivityMode mode,
                                           UnitSystem system, const OperatingConditions& c,
                                           const TSupply* supply) {
    std::vector<TableQuantity> list;
    if (ToInt(mode) >= ToInt(ActivityMode::ExpansionValves) &&
        ToInt(mode) <= ToInt(ActivityMode::FilterDriers))
        return list;
    const bool co2 = model.refrigerant != nullptr && model.refrigerant->isCO2;
    for (int i = 1; i <= 16; ++i) {
        QuantityCode code = SummaryQuantity(mode, i);
        if (co2 && i == 15) code = q::PressureDifference;
        if (code < 1) continue;
        if (IsVapourInjectionQuantity(code) && !model.HasVapourInjection()) continue;
        if (mode == ActivityMode::Compressors) {
            if (code == q::HeatRejection && model.showsHeatingCapacity) continue;
            if (code == q::HeatingCapacity && !model.showsHeatingCapacity) continue;
        }
        std::string text;
        if (code == q::Current) {
            text = Text("strCurrentAt", "Current at") + " " + VoltageOf(supply) +
                   UnitLabel(q::Current, system);
        } else if (code == q::LiquidTemp) {
            text = WithUnit(Text("strLiqTempLO", "Liquid temperature, liquid outlet"),
                            UnitLabel(q::LiquidTemp, system));
        } else if (code == q::PressureDifference && co2) {
            text = WithUnit(Text("strDiscPress", "Discharge pressure"),
                            UnitLabel(q::PressureDifference, system));
        } else {
            text = WithUnit(QuantityHeading(code, system, mode, c), UnitLabel(code, system));
        }
        if (mode == ActivityMode::CondensingUnits) {
            if (code == q::PowerInput) text = Text("strTotal", "Total") + " " + text;
            if (code == q::Current) text = Text("strCompressor", "Compressor") + " " + text;
        }
        list.push_back({code, text});
    }
    return list;
}

int TranscriticalSeparator(const TTableObject& table, const TCModel& model) {
    if (!model.IsCO2Transcritical() || model.refrigerant == nullptr) return -1;
    const double critical = model.refrigerant->criticalTemperature;
    const auto& rows = table.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i]->ValueSI() >= critical) return static_cast<int>(i);
    return -1;
}

std::vector<TableGridRow> TableGridRows(const TTableObject& table, int separator) {
    std::vector<TableGridRow> rows;
    const int count = static_cast<int>(table.Rows().size());
    for (int i = 0; i < count; ++i) {
        if (i == separator) rows.push_back({-1, true});
        rows.push_back({i, false});
    }
    return rows;
}

TableCell OperatingCell(const TTableObject& table, int separator, const OperatingConditions& c,
                        ActivityMode mode, bool transcriticalPoint) {
    TableCell cell;
    const double x = IsHeatPumpMode(mode) ? c.sourceInletTemp : c.evapTemp;
    for (int j = 0; j < table.ColumnCount(); ++j)
        if (table.ColumnValueSI(j) <= x + kAxisSlack) cell.column = j + 1;

    const std::vector<TableGridRow> rows = TableGridRows(table, separator);
    const bool gasCooler = transcriticalPoint && separator >= 0;
    double y = c.condTemp;
    if (gasCooler)
        y = c.gasCoolerOutletTemp;
    else if (mode == ActivityMode::CondensingUnits)
        y = c.ambientTemp;
    else if (IsHeatPumpMode(mode))
        y = c.waterOutletTemp;
    bool pastSeparator = false;
    for (std::size_t g = 0; g < rows.size(); ++g) {
        if (rows[g].separator) {
            pastSeparator = true;
            continue;
        }
        if (gasCooler && !pastSeparator) continue;
        if (table.Rows()[static_cast<std::size_t>(rows[g].tableRow)]->ValueSI() <= y + kAxisSlack)
            cell.row = static_cast<int>(g) + 1;
    }
    return cell;
}

double TableHeaderValue(double stored, UnitSystem layoutSystem, UnitSystem displaySystem) {
    const bool layoutImperial = layoutSystem == UnitSystem::Imperial;
    const bool displayImperial = displaySystem == UnitSystem::Imperial;
    if (layoutImperial == displayImperial) return stored;
    return ToDisplay(q::CondensingTemp, displaySystem,
                     FromDisplay(q::CondensingTemp, layoutSystem, stored));
}

std::string TableHeaderText(double stored, UnitSystem layoutSystem, UnitSystem displaySystem) {
    return fmt::format("{:.1f}", TableHeaderValue(stored, layoutSystem, displaySystem) + 0.0);
}

TableNumber TableCellNumber(QuantityCode code, UnitSystem system, double internalValue) {
    TableNumber number;
    number.value = RoundForDisplay(code, ToDisplay(code, system, internalValue)) + 0.0;
    number.decimals = number.value > 999.99 ? 0 : Decimals(code);
    return number;
}

std::string TableCellText(const TableNumber& number) {
    return fmt::format("{:.{}f}", number.value, number.decimals);
}

ModelStatus TableCellStatus(const TTableObject& table, int separator, TableCell cell) {
    const std::vector<TableGridRow> rows = TableGridRows(table, separator);
    if (cell.row < 1 || cell.row > static_cast<int>(rows.size()) || cell.column < 1 ||
        cell.column > table.ColumnCount())
        return model_status::Valid;
    const TableGridRow& row = rows[static_cast<std::size_t>(cell.row - 1)];
    if (row.separator) return model_status::Valid;
    return table.CellStatus(row.tableRow, cell.column);
}

std::optional<OperatingConditions> ConditionsAtCell(const TTableObject& table, int separator,
                                                    TableCell cell, OperatingConditions c,
                                                    ActivityMode mode) {
    if (c.advanced) return std::nullopt;
    const std::vector<TableGridRow> rows = TableGridRows(table, separator);
    if (cell.row < 1 || cell.row > static_cast<int>(rows.size()) || cell.column < 1 ||
        cell.column > table.ColumnCount())
        return std::nullopt;
    const TableGridRow& row = rows[static_cast<std::size_t>(cell.row - 1)];
    if (row.separator) return std::nullopt;
    const double x = table.ColumnValueSI(cell.column - 1);
    const double y = table.Rows()[static_cast<std::size_t>(row.tableRow)]->ValueSI();

    if (separator >= 0 && row.tableRow >= separator && mode == ActivityMode::Compressors) {
        c.gasCoolerOutletTemp = y;
        c.evapTemp = x;
        c.evapByPressure = 0;
        const double pressure = table.CellResult(row.tableRow, cell.column, q::PressureDifference);
        // A cell outside the envelope has no gas-cooler pressure: keep the one there is.
        if (table.CellStatus(row.tableRow, cell.column) >= 0 && pressure > 0)
            c.condPressure = pressure;
        c.condByPressure = 1;
        return c;
    }
    if (IsHeatPumpMode(mode)) {
        c.sourceInletTemp = static_cast<float>(x);
        c.waterOutletTemp = static_cast<float>(y);
    } else {
        c.evapTemp = x;
        if (mode == ActivityMode::CondensingUnits)
            c.ambientTemp = y;
        else
            c.condTemp = y;
    }
    c.evapByPressure = 0;
    c.condByPressure = 0;
    return c;
}

std::string TranscriticalLine(const OperatingConditions& c, UnitSystem system) {
    return Text("strTranscrit", "Transcritical operation, gas cooler approach") +
           fmt::format(" = {:.1f} ", ToDisplay(q::TemperatureDifference, system, c.subcooling)) +
           UnitLabel(q::TemperatureDifference, system);
}

bool TableShowsPreliminary(const TCModel* model, ActivityMode mode) {
    if (model == nullptr) return false;
    switch (mode) {
        case ActivityMode::Compressors:
        case ActivityMode::CondensingUnits:
        case ActivityMode::HeatPumpCompressors: return model->FirstOptionFlag();
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps: {
            const auto* pump = dynamic_cast<const THeatPump*>(model);
            return pump != nullptr && pump->compressor != nullptr &&
                   pump->compressor->FirstOptionFlag();
        }
        default: return false;
    }
}

}  // namespace kelvra
