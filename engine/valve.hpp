#pragma once

// Orda controls valves and their correction groups.
//
// A valve is sized from its nominal capacity and the correction table of its group: the table's
// factor at the evaporating and the liquid or condensing temperature corrects the nominal
// capacity, and the pressure difference across the valve corrects it further. An evaluation
// reports the valve's capacity at the operating point (result 1) and the pressure difference or
// drop (result 15).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model.hpp"
#include "record_bytes.hpp"

namespace kelvra {

// One row of a correction table: its row temperature and the factors of columns 1..30.
struct TordaRow {
    static constexpr int kColumns = 30;
    double value = 0;
    std::array<double, kColumns> factors{};
};

// One correction group: consecutive records of the correction file with the same group id.
class TordaObj : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = 261;

    // The group id of a record of the correction file (RecordError when it is short).
    static std::int16_t GroupIdOf(RecordBytes record);

    // Appends the record as the group's next row. The group's first record also gives the id,
    // the group value, the type letter and the row and column origins. RecordError for a
    // record shorter than kRecordSize.
    void AddRecord(RecordBytes record);

    std::int16_t id = 0;
    std::uint16_t value = 0;  // group value kept with the group
    char typeLetter = ' ';    // valve type
    double rowOrigin = 0;     // y0: rows lie on a 5 K grid from it
    double columnOrigin = 0;  // x0: columns lie on a 5 K grid from it

    // Rows and columns lie on this grid (K) from their origins.
    static constexpr double kGridStep = 5.0;

    const std::vector<TordaRow>& Rows() const { return rows_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The highest column (1..30) that holds a factor above 0 in any row; 0 for none.
    int ColumnCount() const { return columnCount_; }

    // The correction factor at evaporating temperature x and row temperature y, interpolated
    // bilinearly on the grid. 0 (no data) outside the table or where a grid value used is not
    // above 0.
    double TableFactor(double x, double y) const;
    // The factor along the first row at evaporating temperature x: 1 at 4 degC and above, 0
    // outside the row.
    double FirstRowFactor(double x) const;

  private:
    std::vector<TordaRow> rows_;
    int columnCount_ = 0;
};

// A controls valve (class letter 'V'). Its key is the valve id, which is also its key for
// technical data and accessories.
class Tvalve : public TCModel {
  public:
    static constexpr std::size_t kSecondNameLength = 25;

    // Results of the valve evaluation beyond the common statuses.
    static constexpr ModelStatus kNoData = -1;    // no correction data at the point
    static constexpr ModelStatus kTooLarge = -2;  // pressure difference too small: valve too large
    static constexpr ModelStatus kTooSmall = -3;  // pressure difference too large: valve too small

    // Solenoid valves: pressure drop at the nominal capacity and the accepted range (bar).
    static constexpr double kSolenoidNominalDrop = 0.15;
    static constexpr double kSolenoidMinDrop = 0.05;
    static constexpr double kSolenoidMaxDrop = 0.75;
    // Head-pressure controls rated at two pressure drops (bar).
    static constexpr double kLowRatedDrop = 0.07;
    static constexpr double kHighRatedDrop = 0.14;

    Tvalve();
    ~Tvalve() override = default;

    // The valve type: the type letter of its correction group (' ' without one).
    char TypeLetter() const;
    // The activity mode the valve is selected in: solenoid valves 4, head-pressure controls and
    // system protectors 5, expansion valves 3, everything else 6.
    ActivityMode TypeMode() const;

    // Sizes the valve at the operating point (the mode is not used). Status 0, kNoData,
    // kTooLarge or kTooSmall, stored with the results; a negative status leaves capacity and
    // pressure difference at 0.
    ModelStatus Evaluate(OperatingConditions conditions, ActivityMode mode) override;

    // The required capacity as a percentage of the valve's capacity; 0 when that is 0.
    double LoadRatio(double required) const;

    // Condensing temperatures down and evaporating temperatures across, over the range of the
    // correction group (its liquid rows raised by the subcooling of the last filled table); a
    // valve without correction rows gets the open axes of a model without envelope.
    void SetUpTableAxes(ModelTable& table, UnitSystem unitSystem) override;
    // Each cell sized at its point; failed cells keep their status only. A valve of type 'U'
    // has no rows.
    void FillTable(ModelTable& table, OperatingConditions conditions, ActivityMode mode,
                   UnitSystem unitSystem) override;

    std::string secondName;                     // trimmed, at most 25 characters
    float nominalCapacity = 0;                  // kW
    float secondValue = 0;                      // meaning depends on the valve type
    const TordaObj* correctionGroup = nullptr;  // not owned
    std::uint16_t drawingNumber = 0;

  protected:
    Tvalve(const Tvalve&) = default;
    Tvalve& operator=(const Tvalve&) = default;

  private:
    ModelStatus EvaluateUnguarded(const OperatingConditions& conditions);

    double tableSubcooling_ = 0;  // K, of the table being filled
};

// Evaporating columns of a valve table (display units of `system`) from xMin to xMax (degC):
// Imperial in steps of 10 degF (20 over a range wider than 220 degF) from xMin rounded to a
// multiple of 10; otherwise in steps of 5 K (10 K over a range wider than 110 K) from xMin
// rounded and truncated to a multiple of the step. At most 22 values.
std::vector<double> ValveTableColumns(double xMin, double xMax, UnitSystem system);

}  // namespace kelvra
