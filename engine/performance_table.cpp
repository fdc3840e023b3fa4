#include "performance_table.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "model_text.hpp"

namespace kelvra {

namespace {

// Slack on the upper bound of an axis, so that a bound a hair below a grid value keeps it.
constexpr double kBoundSlack = 0.0001;
// A last condensing row at the upper bound when the next grid value overshoots it by less.
constexpr double kLastRowMargin = 3.1;

int LimitCount(int count) {
    return std::clamp(count, 0, kMaxTableAxis);
}

float AxisValue(const std::array<float, kMaxTableAxis>& values, int index) {
    if (index < 0 || index >= kMaxTableAxis) return 0.0f;
    return values[static_cast<std::size_t>(index)];
}

double RoundTo(double value, double step) {
    return std::round(value / step) * step;
}

double ToFahrenheit(double celsius) {
    return celsius * 1.8 + 32.0;
}

// The next metric evaporating temperature after `v`: the grid closes up around the usual
// air-conditioning and medium-temperature points.
double NextMetricColumn(double v) {
    const double whole = std::round(v);
    if (whole == 7.0) return v + 3.0;
    if (whole == 5.0) return v + 2.0;
    if (whole >= 10.0 && whole <= 14.0) return v + 2.5;
    return v + 5.0;
}

// Values from `first` while not above `last`, each the previous plus `step`, at most 22.
std::vector<double> Steps(double first, double last, double step) {
    std::vector<double> values;
    for (double v = first; v <= last && values.size() < kMaxTableAxis; v += step)
        values.push_back(v);
    return values;
}

}  // namespace

// --- TrowObj ---

ResultVector& TrowObj::Cell(int index) {
    if (index < 0 || index >= kMaxTableAxis)
        throw std::out_of_range(
            fmt::format("table column {} does not exist (0 to {})", index, kMaxTableAxis - 1));
    return cells_[static_cast<std::size_t>(index)];
}

const ResultVector& TrowObj::Cell(int index) const {
    return const_cast<TrowObj&>(*this).Cell(index);
}

// --- TTableObject ---

TTableObject::TTableObject(const TableDefinition& definition, bool automaticAxes)
    : definition_(definition), automaticAxes_(automaticAxes) {
    definition_.name = CutToCharacters(definition.name, TableDefinition::kNameLength);
    definition_.columnCount = LimitCount(definition.columnCount);
    definition_.rowCount = LimitCount(definition.rowCount);
    unitSystem_ = definition.unitSystem;
    columnCount_ = definition_.columnCount;
    rowCount_ = definition_.rowCount;
    columnValues_ = definition.columnValues;
    rowValues_ = definition.rowValues;
    ConvertAxes();
}

TTableObject::~TTableObject() {
    ClearRows();
}

void TTableObject::ClearRows() {
    rows_.clear();
}

void TTableObject::Reset() {
    ClearRows();
    computed_ = false;
}

void TTableObject::SetUnitSystem(UnitSystem system) {
    unitSystem_ = system;
    ConvertAxes();
}

void TTableObject::SetColumnCount(int count) {
    columnCount_ = LimitCount(count);
}

void TTableObject::SetRowCount(int count) {
    rowCount_ = LimitCount(count);
}

double TTableObject::ColumnValue(int index) const {
    return AxisValue(columnValues_, index);
}
double TTableObject::RowValue(int index) const {
    return AxisValue(rowValues_, index);
}
double TTableObject::ColumnValueSI(int index) const {
    return AxisValue(columnValuesSI_, index);
}
double TTableObject::RowValueSI(int index) const {
    return AxisValue(rowValuesSI_, index);
}

void TTableObject::SetColumns(std::span<const double> values) {
    columnCount_ =
        LimitCount(static_cast<int>(std::min<std::size_t>(values.size(), kMaxTableAxis)));
    for (int j = 0; j < columnCount_; ++j)
        columnValues_[static_cast<std::size_t>(j)] = static_cast<float>(values[j]);
    ConvertAxes();
}

void TTableObject::SetRows(std::span<const double> values) {
    rowCount_ = LimitCount(static_cast<int>(std::min<std::size_t>(values.size(), kMaxTableAxis)));
    for (int i = 0; i < rowCount_; ++i)
        rowValues_[static_cast<std::size_t>(i)] = static_cast<float>(values[i]);
    ConvertAxes();
}

void TTableObject::SetEvenAxes(int columnCount, int rowCount, double rowStep, double columnStep,
                               double rowStart, double columnStart) {
    columnCount_ = LimitCount(columnCount);
    rowCount_ = LimitCount(rowCount);
    for (int i = 0; i < rowCount_; ++i)
        rowValues_[static_cast<std::size_t>(i)] = static_cast<float>(rowStart + i * rowStep);
    for (int j = 0; j < columnCount_; ++j)
        columnValues_[static_cast<std::size_t>(j)] =
            static_cast<float>(columnStart + j * columnStep);
    ConvertAxes();
}

void TTableObject::ConvertAxes() {
    const bool imperial = unitSystem_ == UnitSystem::Imperial;
    const auto convert = [imperial](float t) {
        return imperial ? static_cast<float>((t + 40.0) / 1.8 - 40.0) : t;
    };
    std::transform(columnValues_.begin(), columnValues_.end(), columnValuesSI_.begin(), convert);
    std::transform(rowValues_.begin(), rowValues_.end(), rowValuesSI_.begin(), convert);
}

TrowObj& TTableObject::AddRow(double value, double valueSI) {
    if (rows_.size() >= kMaxTableAxis)
        throw std::length_error(fmt::format("a table has at most {} rows", kMaxTableAxis));
    rows_.push_back(std::make_unique<TrowObj>(value, valueSI));
    return *rows_.back();
}

const ResultVector& TTableObject::Cell(int row, int column) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        throw std::out_of_range(
            fmt::format("table row {} was not computed ({} rows)", row, rows_.size()));
    if (column < 1 || column > columnCount_)
        throw std::out_of_range(
            fmt::format("table column {} does not exist (1 to {})", column, columnCount_));
    return rows_[static_cast<std::size_t>(row)]->Cell(column - 1);
}

ModelStatus TTableObject::CellStatus(int row, int column) const {
    return Cell(row, column).Status();
}

double TTableObject::CellResult(int row, int column, QuantityCode code) const {
    return Cell(row, column).Get(code);
}

// --- compressor axes ---

std::vector<double> UnboundedTableColumns() {
    return Steps(-70.0, 20.0, 5.0);
}

std::vector<double> CompressorTableColumns(double xMin, double xMax, UnitSystem system) {
    if (system == UnitSystem::Imperial) {
        const double low = ToFahrenheit(xMin);
        return Steps(RoundTo(low, 10.0), ToFahrenheit(xMax) + kBoundSlack, 10.0);
    }
    xMin = RoundTo(xMin, 0.01);
    xMax = RoundTo(xMax, 0.01);
    std::vector<double> values;
    for (double v = std::trunc(std::round(xMin) / 5.0) * 5.0;
         v <= xMax + kBoundSlack && values.size() < kMaxTableAxis; v = NextMetricColumn(v))
        values.push_back(v);
    return values;
}

std::vector<double> CompressorTableRows(double yMin, double yMax, UnitSystem system,
                                        bool transcritical) {
    if (system == UnitSystem::Imperial) {
        if (transcritical) return Steps(30.0, 100.0, 10.0);
        const double low = ToFahrenheit(yMin);
        double start = RoundTo(low, 10.0);
        if (start < low) start += 10.0;
        return Steps(start, ToFahrenheit(yMax), 10.0);
    }
    if (transcritical) return Steps(5.0, 40.0, 5.0);

    yMin = RoundTo(yMin, 0.01);
    yMax = RoundTo(yMax, 0.01);
    const double start = std::trunc(std::round(yMin) / 5.0) * 5.0;
    std::vector<double> values;
    double v = start;
    if (start < yMin) {
        // The grid starts below the envelope: the first row is the bound itself, the grid
        // continues from the next multiple of 5.
        if (std::round(yMin) <= yMax + kBoundSlack) values.push_back(std::round(yMin));
        v = start + 5.0;
    }
    for (; v <= yMax + kBoundSlack && values.size() < kMaxTableAxis; v += 5.0) values.push_back(v);
    if (values.size() < kMaxTableAxis && v > yMax && v - yMax < kLastRowMargin)
        values.push_back(RoundTo(yMax, 0.1));
    return values;
}

}  // namespace kelvra
