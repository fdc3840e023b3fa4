#pragma once

// The arithmetic of the custom-table dialog, without widgets: an evenly spaced axis from its
// start, increment and end, and the counts a user may type.

#include <optional>
#include <string_view>
#include <vector>

#include "performance_table.hpp"

namespace kelvra {

// An evenly spaced axis: the count is the whole number nearest to (end - start) / increment,
// plus 1, at most 22; the end is corrected to start + (count - 1) * increment. An increment of
// 0 (or one that is not a number) gives the start alone, and so does an end on the wrong side of
// the start: an axis always has at least one value.
struct RegularAxis {
    double start = 0;
    double increment = 0;
    double end = 0;
    int count = 1;
    std::vector<double> values;
};
RegularAxis MakeRegularAxis(double start, double increment, double end);

// A typed count: at most 22 (a larger one becomes 22), at least 1; nothing when the text is not
// a whole number.
std::optional<int> CustomAxisCount(std::string_view typed);

// A number typed into a grid cell ("-12.5", "  7 "), or nothing when the cell does not hold
// one (the cell then keeps its old value).
std::optional<double> ParseAxisValue(std::string_view typed);

// Start, increment and end that describe a layout's axis as the dialog first shows it: the first
// value, the step between the first two (5 when there is only one) and the last value.
struct AxisRange {
    double start = 0;
    double increment = 5;
    double end = 0;
};
AxisRange RangeOfAxis(const std::array<float, kMaxTableAxis>& values, int count);

}  // namespace kelvra
