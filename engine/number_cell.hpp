#pragma once

// Layout of a number drawn right-aligned in a grid cell.
//
// Numbers in a column line up because every character is given the advance width of the digit
// "5" of the cell's font, and the decimal separator half of it. The grid painter asks for the
// layout and only draws: it clips to `clip`, optionally fills it first, and draws each glyph at
// its x with the text's top at `top`.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvra {

// A cell rectangle in pixels; right and bottom are exclusive.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct NumberGlyph {
    char character = ' ';
    int x = 0;        // left edge of the character's box
    int advance = 0;  // width given to the character
};

struct NumberCellLayout {
    std::string text;                 // the formatted number, blanks included
    std::vector<NumberGlyph> glyphs;  // one per character of `text`, left to right
    int top = 0;                      // top of the text
    int right = 0;                    // right edge of the last character
    CellRect clip;                    // drawing is clipped to the cell
    // Set by the filled variant: paint `clip` in this colour (0xRRGGBB) first, then draw the
    // text with a transparent background.
    std::optional<std::uint32_t> fill;
};

// The advance width, in pixels, of a character in the cell's font.
using CharAdvance = std::function<int(char)>;

inline constexpr int kNumberCellMaxChars = 21;
inline constexpr int kNumberCellRightInset = 5;
inline constexpr int kNumberCellTopInset = 2;

// `value` in fixed-point notation with `decimals` decimals (0..20), right-aligned in a field of at
// least `width` characters (at most 21). A number too long for 21 characters is shown with fewer
// decimals, or in exponent notation, rather than cut off.
std::string FormatNumberCell(int width, int decimals, double value);

// Where the characters of FormatNumberCell(width, decimals, value) go in `cell`.
NumberCellLayout LayoutNumberCell(int width, int decimals, const CellRect& cell, double value,
                                  const CharAdvance& advanceOf);

// The same on a cell first painted in `colour` (0xRRGGBB).
NumberCellLayout LayoutFilledNumberCell(int width, int decimals, const CellRect& cell, double value,
                                        std::uint32_t colour, const CharAdvance& advanceOf);

}  // namespace kelvra
