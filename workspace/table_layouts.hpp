#pragma once

// Performance-table layouts: the built-in tables, the user's own tables of "table.dat" and which
// of them the main window uses for an activity mode and unit system. No widgets here.
//
// A layout of "table.dat" keeps its column count in table setting 1 and its row count in table
// setting 2; its axis values are in the display units of the unit system it was made for
// (degF for Imperial tables, degC for the others).

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "activity_mode.hpp"
#include "io_status.hpp"
#include "operating_conditions.hpp"
#include "performance_table.hpp"
#include "settings_file.hpp"
#include "table_layout_file.hpp"
#include "units.hpp"

namespace kelvra {

class TCModel;

// The product whose tables a mode uses: compressors in mode 0, condensing units in mode 1,
// heat-pump compressors in mode 2; the other modes have only the built-in table.
std::optional<TableProduct> TableProductOf(ActivityMode mode);

// Record <-> layout. Counts outside 0..22 are limited to it and values that are not numbers
// read as 0, so a damaged record gives a table that can be shown or a table without rows, never
// a crash.
TableDefinition DefinitionFromRecord(const TableLayoutRecord& record);
TableLayoutRecord RecordFromDefinition(const TableDefinition& definition);

// The built-in table of a product and unit system. Its axes are laid out by each model from its
// own envelope when the table is filled; the values here are what a model without an envelope
// keeps: evaporating -40 to 10 degC in steps of 5 and condensing 25 to 60 degC in steps of 5
// (-40 to 50 degF and 80 to 140 degF in steps of 10 for Imperial).
TableDefinition BuiltInTableLayout(TableProduct product, UnitSystem system);

// A new user table of a product and unit system: named with the text "strNewTable" and laid out
// as the built-in one.
TableDefinition NewTableLayout(TableProduct product, UnitSystem system);

// True when the layout's columns and its rows each advance by one step (fewer than three values
// count as even): a table the custom-table dialog can show as start, increment and end.
bool IsRegularLayout(const TableDefinition& layout);

// The user's tables and the default table of each product and kind of unit system.
class TableLayouts {
  public:
    // Reads the user's "table.dat" when the user folder holds one, else the one in the
    // installation folder. A missing file is no failure (no user tables); a damaged one keeps
    // every whole record and reports the rest.
    IoStatus Load(const std::filesystem::path& userFolder,
                  const std::filesystem::path& installationFolder);
    // Writes every user table to "table.dat" in the user folder.
    IoStatus Save(const std::filesystem::path& userFolder) const;

    std::vector<TableLayoutRecord>& Tables() { return tables_; }
    const std::vector<TableLayoutRecord>& Tables() const { return tables_; }

    DefaultTables& Defaults() { return defaults_; }
    const DefaultTables& Defaults() const { return defaults_; }

    // The user table in use for a mode and unit system: the default one of the settings, or
    // nothing when the built-in table is the default (or the mode has only the built-in table).
    std::optional<TableLayoutRecord> UserTableFor(ActivityMode mode, UnitSystem system) const;

    // The performance table to fill for a mode and unit system: the default user table with its
    // own axes, else the built-in table whose axes the model lays out.
    std::unique_ptr<TTableObject> MakeTable(ActivityMode mode, UnitSystem system) const;

  private:
    std::vector<TableLayoutRecord> tables_;
    DefaultTables defaults_;
};

// Computes `table` for `model` at `conditions` as the main window does before it shows the
// table: the computed flag is cleared, then the model fills the table - in condensing-unit mode
// only when the unit's capacity at the operating point is above 0. The model's results and
// status are the same afterwards as before, also when the computation throws (the exception is
// passed on). Nothing is computed without a model. Returns whether the table was filled.
bool ComputeTable(TTableObject& table, TCModel* model, const OperatingConditions& conditions,
                  ActivityMode mode, UnitSystem system);

}  // namespace kelvra
