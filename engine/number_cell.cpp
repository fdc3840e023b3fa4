#include "number_cell.hpp"

#include <fmt/format.h>

#include <algorithm>

namespace kelvra {

namespace {

constexpr int kMaxDecimals = 20;

}  // namespace

std::string FormatNumberCell(int width, int decimals, double value) {
    width = std::clamp(width, 0, kNumberCellMaxChars);
    decimals = std::clamp(decimals, 0, kMaxDecimals);

    // {fmt} formats independently of the locale, so the separator is always '.'.
    for (int d = decimals; d >= 0; --d) {
        std::string text = fmt::format("{:>{}.{}f}", value, width, d);
        if (static_cast<int>(text.size()) <= kNumberCellMaxChars) return text;
    }
    // Too large for fixed-point notation in 21 characters: exponent notation with as many digits
    // as fit the field, at least three significant ones. "-1.2345678901234e+300" is 21
    // characters, so 13 digits after the point always fit.
    std::string text;
    for (int p = 13; p >= 2; --p) {
        text = fmt::format("{:>{}.{}e}", value, width, p);
        if (static_cast<int>(text.size()) <= width) break;
    }
    return text;
}

NumberCellLayout LayoutNumberCell(int width, int decimals, const CellRect& cell, double value,
                                  const CharAdvance& advanceOf) {
    NumberCellLayout layout;
    layout.text = FormatNumberCell(width, decimals, value);
    layout.clip = cell;
    layout.top = cell.top + kNumberCellTopInset;
    layout.right = cell.right - kNumberCellRightInset;

    const int digit = advanceOf ? std::max(0, advanceOf('5')) : 0;
    const int length = static_cast<int>(layout.text.size());

    // The decimal separator gets half a digit's width. For a number that fills its field it sits
    // at position width - decimals - 1; a wider number pushes it to the right with its digits,
    // and the half width goes with it so that the column still lines up.
    int half = -1;
    const std::size_t point = layout.text.find('.');
    if (point != std::string::npos && layout.text.find('e') == std::string::npos)
        half = static_cast<int>(point);

    layout.glyphs.resize(layout.text.size());
    int total = 0;
    for (int i = 0; i < length; ++i) {
        layout.glyphs[i].character = layout.text[i];
        layout.glyphs[i].advance = i == half ? digit / 2 : digit;
        total += layout.glyphs[i].advance;
    }
    int x = layout.right - total;
    for (NumberGlyph& g : layout.glyphs) {
        g.x = x;
        x += g.advance;
    }
    return layout;
}

NumberCellLayout LayoutFilledNumberCell(int width, int decimals, const CellRect& cell, double value,
                                        std::uint32_t colour, const CharAdvance& advanceOf) {
    NumberCellLayout layout = LayoutNumberCell(width, decimals, cell, value, advanceOf);
    layout.fill = colour & 0xFFFFFFu;
    return layout;
}

}  // namespace kelvra
