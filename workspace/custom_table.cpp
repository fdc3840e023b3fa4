#include "custom_table.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace kelvra {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

RegularAxis MakeRegularAxis(double start, double increment, double end) {
    RegularAxis axis;
    axis.start = std::isfinite(start) ? start : 0.0;
    axis.increment = std::isfinite(increment) ? increment : 0.0;
    int count = 1;
    if (axis.increment != 0.0 && std::isfinite(end)) {
        const double steps = std::nearbyint((end - axis.start) / axis.increment);
        if (steps >= 0) count = static_cast<int>(std::min<double>(steps + 1, kMaxTableAxis));
    }
    axis.count = count;
    axis.end = axis.start + (count - 1) * axis.increment;
    for (int i = 0; i < count; ++i) axis.values.push_back(axis.start + i * axis.increment);
    return axis;
}

std::optional<int> CustomAxisCount(std::string_view typed) {
    typed = Trimmed(typed);
    if (typed.empty()) return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), value);
    if (error == std::errc::result_out_of_range && typed.front() != '-') return kMaxTableAxis;
    if (error != std::errc() || end != typed.data() + typed.size()) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(value, 1, kMaxTableAxis));
}

std::optional<double> ParseAxisValue(std::string_view typed) {
    typed = Trimmed(typed);
    if (typed.empty()) return std::nullopt;
    if (typed.front() == '+') typed.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), value);
    if (error != std::errc() || end != typed.data() + typed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

AxisRange RangeOfAxis(const std::array<float, kMaxTableAxis>& values, int count) {
    AxisRange range;
    count = std::clamp(count, 0, kMaxTableAxis);
    if (count == 0) return range;
    range.start = values[0];
    range.end = values[static_cast<std::size_t>(count - 1)];
    if (count >= 2 && values[1] != values[0]) range.increment = values[1] - values[0];
    return range;
}

}  // namespace kelvra
