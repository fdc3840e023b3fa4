#pragma once

// What the performance-table tab shows, without widgets: the message when there is no table,
// the quantities offered, how grid rows map onto table rows (with the separator before the
// gas-cooler outlet rows of a transcritical carbon dioxide model), which cell is the operating
// point, the texts and colours of the cells, and the operating point a double-click asks for.
//
// Grid rows and columns count as the window shows them: row 0 and column 0 hold the axis
// values, data cells start at 1.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "activity_mode.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"
#include "performance_table.hpp"
#include "units.hpp"

namespace kelvra {

class TSupply;

// Background of a data cell by the status of the model at its point (0xRRGGBB).
std::uint32_t TableStatusColour(ModelStatus status);
// Colour of the numbers of a quantity (0xRRGGBB).
std::uint32_t TableQuantityColour(QuantityCode code);

// The red text shown instead of the table, or nothing when the table can be shown: a model and a
// table exist, the table has rows and was computed, and - for compressors - the conditions are
// not advanced and - for compressors and condensing units - all superheat is useful.
std::optional<std::string> TableMessage(const TCModel* model, const TTableObject* table,
                                        ActivityMode mode, const OperatingConditions& conditions);

struct TableQuantity {
    QuantityCode code = 0;
    std::string text;
};

// The quantities the quantity box offers for a model, in the order of its summary (the 15th
// entry of a carbon dioxide model is the discharge pressure); the vapour-injection quantities
// only for a model with vapour injection; for compressors heat rejection only for a model that
// does not report heating and heating capacity only for one that does. Empty in modes 3 to 6,
// which show a caption instead (TableCaption).
std::vector<TableQuantity> TableQuantities(const TCModel& model, ActivityMode mode,
                                           UnitSystem system, const OperatingConditions& conditions,
                                           const TSupply* supply);
// The caption in modes 3 to 6: the capacity (pressure difference in mode 4) with its unit;
// empty in the other modes.
std::string TableCaption(ActivityMode mode, UnitSystem system, const OperatingConditions& conditions);
// The quantity the cells show: capacity in modes 3, 5 and 6, the pressure difference in mode 4,
// else the chosen one.
QuantityCode TableCellQuantity(ActivityMode mode, QuantityCode chosen);
// The quantity chosen at first, and after a switch between heat-pump and cooling modes.
QuantityCode InitialTableQuantity(ActivityMode mode);

// The table row (from 0) before which the separator row "Tgc" goes: the first row at or above
// the critical temperature of a transcritical carbon dioxide model; -1 for any other model or
// when no row reaches it.
int TranscriticalSeparator(const TTableObject& table, const TCModel& model);

// One grid row below the header: a table row, or the separator (tableRow -1).
struct TableGridRow {
    int tableRow = -1;
    bool separator = false;
};
// Grid rows 1, 2, ... in order (index 0 of the result is grid row 1).
std::vector<TableGridRow> TableGridRows(const TTableObject& table, int separator);

struct TableCell {
    int row = 1;     // grid row
    int column = 1;  // grid column
    bool operator==(const TableCell&) const = default;
};
// The cell of the operating point: the last column at or below the evaporating (source)
// temperature and the last row at or below the condensing (ambient, water outlet) temperature,
// each within 0.001 K; at a transcritical point the last gas-cooler row at or below the
// gas-cooler outlet temperature. Row 1 and column 1 when no value lies below.
TableCell OperatingCell(const TTableObject& table, int separator,
                        const OperatingConditions& conditions, ActivityMode mode,
                        bool transcriticalPoint);

// The header value of an axis value stored in `layoutSystem`, shown in `displaySystem`.
double TableHeaderValue(double stored, UnitSystem layoutSystem, UnitSystem displaySystem);
// "%.1f" of it.
std::string TableHeaderText(double stored, UnitSystem layoutSystem, UnitSystem displaySystem);

// A number in a data cell: in display units, rounded to the display step, with the quantity's
// decimals - none above 999.99.
struct TableNumber {
    double value = 0;
    int decimals = 0;
};
TableNumber TableCellNumber(QuantityCode code, UnitSystem system, double internalValue);
// The same as text, "%.*f".
std::string TableCellText(const TableNumber& number);

// The status of a grid cell for the status bar: the cell's status, 0 for the separator row and
// header cells.
ModelStatus TableCellStatus(const TTableObject& table, int separator, TableCell cell);

// The operating point a double-click on a data cell asks for, or nothing (advanced conditions,
// header or separator cells). Normally the evaporating (source inlet) temperature becomes the
// column's value and the condensing (ambient, water outlet) temperature the row's, both entered
// as temperatures; on a gas-cooler row of a compressor the gas-cooler outlet temperature
// becomes the row's value and the condensing pressure the cell's gas-cooler pressure (kept as it
// was when the cell has none).
std::optional<OperatingConditions> ConditionsAtCell(const TTableObject& table, int separator,
                                                    TableCell cell, OperatingConditions conditions,
                                                    ActivityMode mode);

// The line under the table of a transcritical model: "strTranscrit" = approach and its unit.
std::string TranscriticalLine(const OperatingConditions& conditions, UnitSystem system);

// Whether the preliminary-data label shows: the model (modes 0, 2), the unit's compressor
// (mode 1) or the heat pump's compressor (modes 7, 8) has preliminary data.
bool TableShowsPreliminary(const TCModel* model, ActivityMode mode);

}  // namespace kelvra
