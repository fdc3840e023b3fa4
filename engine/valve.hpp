#pragma once

// Orda controls valves and their correction groups.
//
// A valve is sized from its nominal capacity and the correction table of its group. This holds
// what the data store gives a valve and a group from the product database; the valve's own
// performance is not evaluated yet: Evaluate is the base model's.

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

    const std::vector<TordaRow>& Rows() const { return rows_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The highest column (1..30) that holds a factor above 0 in any row; 0 for none.
    int ColumnCount() const { return columnCount_; }

  private:
    std::vector<TordaRow> rows_;
    int columnCount_ = 0;
};

// A controls valve (class letter 'V'). Its key is the valve id, which is also its key for
// technical data and accessories.
class Tvalve : public TCModel {
  public:
    static constexpr std::size_t kSecondNameLength = 25;

    Tvalve();
    ~Tvalve() override = default;

    std::string secondName;                     // trimmed, at most 25 characters
    float nominalCapacity = 0;                  // kW
    float secondValue = 0;                      // meaning depends on the valve type
    const TordaObj* correctionGroup = nullptr;  // not owned
    std::uint16_t drawingNumber = 0;

  protected:
    Tvalve(const Tvalve&) = default;
    Tvalve& operator=(const Tvalve&) = default;
};

}  // namespace kelvra
