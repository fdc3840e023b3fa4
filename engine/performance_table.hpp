#pragma once

// Performance tables: one model evaluated over a grid of operating points, evaporating (or
// heat-source) temperature across and condensing (or ambient, or water outlet) temperature down.
//
// A table holds its axes twice: in the display units of the unit system it was laid out in, and
// in degC for the evaluations. Each model lays out sensible axes from its own envelope
// (SetUpTableAxes) and fills the grid (FillTable); the table view, the spreadsheet export and
// the reports then read the cells one by one. Every cell keeps a full result vector whose entry 0
// is the cell's status, so a cell outside the envelope says on which side it lies.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model.hpp"
#include "model_object.hpp"
#include "model_status.hpp"
#include "units.hpp"

namespace kelvra {

// Most columns, and most rows, a table has.
inline constexpr int kMaxTableAxis = 22;

// What a table is made from: a saved layout, the built-in default or a table made on the fly.
// Axis values are in the display units of `unitSystem` (degF for Imperial, else degC).
struct TableDefinition {
    static constexpr std::size_t kNameLength = 255;  // characters

    std::string name;                        // UTF-8
    std::int32_t productType = 0;            // 0 compressors, 1 condensing units, 2 heat pumps
    UnitSystem unitSystem = UnitSystem::SI;  // of the axis values
    std::int32_t columnCount = 0;            // first axis: evaporating or source temperatures
    std::int32_t rowCount = 0;               // second axis: condensing, ambient or water outlet
    std::array<float, kMaxTableAxis> columnValues{};
    std::array<float, kMaxTableAxis> rowValues{};

    bool operator==(const TableDefinition&) const = default;
};

// One row of a performance table: its axis value and a result vector per column. A fresh row
// has every cell zero (status 0, no results).
class TrowObj : public TKobject {
  public:
    TrowObj(double value, double valueSI) : value_(value), valueSI_(valueSI) {}

    double Value() const { return value_; }      // display units of the table
    double ValueSI() const { return valueSI_; }  // degC

    // The cell of column `index`, counted from 0. Throws std::out_of_range outside 0..21.
    ResultVector& Cell(int index);
    const ResultVector& Cell(int index) const;

  private:
    double value_;
    double valueSI_;
    std::array<ResultVector, kMaxTableAxis> cells_{};
};

// A performance table.
class TTableObject : public ModelTable {
  public:
    // An empty table: SI, no rows, no columns, axes given by the caller.
    TTableObject() = default;
    // A table of the definition: its name, unit system, counts (limited to 0..22) and axis
    // values. With `automaticAxes` the model lays out the axes itself when it fills the table.
    TTableObject(const TableDefinition& definition, bool automaticAxes);
    ~TTableObject() override;

    TTableObject(const TTableObject&) = delete;
    TTableObject& operator=(const TTableObject&) = delete;

    // --- what a model needs ---
    void ClearRows() override;
    bool AutomaticAxes() const override { return automaticAxes_; }
    void SetComputed(bool computed) override { computed_ = computed; }

    bool Computed() const { return computed_; }
    void SetAutomaticAxes(bool automatic) { automaticAxes_ = automatic; }
    // Frees the rows and marks the table not computed: what a changed layout or operating point
    // does to a table shown earlier.
    void Reset();

    const TableDefinition& Definition() const { return definition_; }
    const std::string& Name() const { return definition_.name; }

    // --- axes ---
    UnitSystem AxisUnitSystem() const { return unitSystem_; }
    // The unit system the display values are in; the degC values follow.
    void SetUnitSystem(UnitSystem system);

    int ColumnCount() const { return columnCount_; }
    int RowCount() const { return rowCount_; }
    // Counts limited to 0..22; the values of the axis stay as they are.
    void SetColumnCount(int count);
    void SetRowCount(int count);

    // Axis values by index from 0 (0 outside 0..21): in display units and in degC.
    double ColumnValue(int index) const;
    double RowValue(int index) const;
    double ColumnValueSI(int index) const;
    double RowValueSI(int index) const;

    // A whole axis in display units: the count becomes the number of values (at most 22, the
    // rest ignored); values beyond them keep what they held.
    void SetColumns(std::span<const double> values);
    void SetRows(std::span<const double> values);

    // Evenly spaced axes in display units: row i = rowStart + i * rowStep, column
    // j = columnStart + j * columnStep; both counts limited to 0..22.
    void SetEvenAxes(int columnCount, int rowCount, double rowStep, double columnStep,
                     double rowStart, double columnStart);

    // Fills the degC values from the display values: (t + 40) / 1.8 - 40 for Imperial, a copy
    // otherwise. Every change of the axes or the unit system does this too, so the degC values
    // never lag behind; a model that lays out axes still ends with it.
    void ConvertAxes();

    // --- rows and cells ---
    // Rows filled so far (at most the row count).
    const std::vector<std::unique_ptr<TrowObj>>& Rows() const { return rows_; }
    // Appends a fresh row. Throws std::length_error when the table already has 22 rows.
    TrowObj& AddRow(double value, double valueSI);

    // Status and result entry of a cell: row counted from 0 in the list of rows, column from
    // 1. Throws std::out_of_range for a row that was not filled or a column outside
    // 1..ColumnCount().
    ModelStatus CellStatus(int row, int column) const;
    double CellResult(int row, int column, QuantityCode code) const;
    const ResultVector& Cell(int row, int column) const;

  private:
    TableDefinition definition_;
    UnitSystem unitSystem_ = UnitSystem::SI;
    int rowCount_ = 0;
    int columnCount_ = 0;
    std::array<float, kMaxTableAxis> columnValues_{};
    std::array<float, kMaxTableAxis> rowValues_{};
    bool automaticAxes_ = false;
    bool computed_ = false;
    std::array<float, kMaxTableAxis> columnValuesSI_{};
    std::array<float, kMaxTableAxis> rowValuesSI_{};
    std::vector<std::unique_ptr<TrowObj>> rows_;
};

// --- axes of a compressor table, from the extent of its envelopes ---

// Evaporating temperatures (display units of `system`) from xMin to xMax (degC): Imperial in
// steps of 10 degF from xMin rounded to a multiple of 10; otherwise from xMin rounded and
// truncated to a multiple of 5, in steps of 5 that close up around 0 to 15 degC (..., 0, 5, 7,
// 10, 12.5, 15, 20, ...). At most 22 values.
std::vector<double> CompressorTableColumns(double xMin, double xMax, UnitSystem system);

// Condensing temperatures (display units of `system`) from yMin to yMax (degC). Imperial: in
// steps of 10 degF from the first multiple of 10 not below yMin. Otherwise: in steps of 5 from
// yMin truncated to a multiple of 5 (yMin rounded when that lies below it), with a last row at
// yMax when the next step would overshoot it by less than 3.1 K. A transcritical CO2 model has
// fixed gas-cooler outlet rows instead: 30 to 100 degF, or 5 to 40 degC, in the same steps. At
// most 22 values.
std::vector<double> CompressorTableRows(double yMin, double yMax, UnitSystem system,
                                        bool transcritical);

// The columns when the model gives no envelope: -70, -65, ..., 20.
std::vector<double> UnboundedTableColumns();
// Rows a table keeps when the model gives no envelope (their values stay as they were).
inline constexpr int kUnboundedTableRows = 6;

}  // namespace kelvra
