#include "number_cell.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace kelvra {
namespace {

// A font whose digit "5" is 8 pixels wide and every other character much wider: the layout must
// use the width of "5" for every character.
int Advance(char c) {
    return c == '5' ? 8 : 100;
}

const CellRect kCell{10, 20, 110, 40};

std::vector<int> Xs(const NumberCellLayout& l) {
    std::vector<int> xs;
    for (const NumberGlyph& g : l.glyphs) xs.push_back(g.x);
    return xs;
}

std::vector<int> Advances(const NumberCellLayout& l) {
    std::vector<int> a;
    for (const NumberGlyph& g : l.glyphs) a.push_back(g.advance);
    return a;
}

std::string Chars(const NumberCellLayout& l) {
    std::string s;
    for (const NumberGlyph& g : l.glyphs) s += g.character;
    return s;
}

TEST(NumberCell, NumberFillingItsFieldHasAHalfWidthSeparator) {
    const NumberCellLayout l = LayoutNumberCell(6, 2, kCell, 3.14159, Advance);
    EXPECT_EQ(l.text, "  3.14");
    EXPECT_EQ(Chars(l), l.text);
    EXPECT_EQ(Advances(l), (std::vector<int>{8, 8, 8, 4, 8, 8}));
    // Right edge 5 pixels inside the cell's right border, top 2 pixels below its top.
    EXPECT_EQ(l.right, 105);
    EXPECT_EQ(l.top, 22);
    EXPECT_EQ(Xs(l), (std::vector<int>{61, 69, 77, 85, 89, 97}));
    EXPECT_EQ(l.clip.left, 10);
    EXPECT_EQ(l.clip.top, 20);
    EXPECT_EQ(l.clip.right, 110);
    EXPECT_EQ(l.clip.bottom, 40);
    EXPECT_FALSE(l.fill.has_value());
}

TEST(NumberCell, FormatsInFixedPointRightAligned) {
    struct Case {
        int width;
        int decimals;
        double value;
        const char* text;
    };
    const std::vector<Case> table = {
        {6, 2, 3.14159, "  3.14"},
        {8, 1, -12.34, "   -12.3"},
        {8, 2, 0.0, "    0.00"},
        {6, 0, 2899.6, "  2900"},
        {6, 2, 12345.678, "12345.68"},  // wider than the field: nothing cut off
        {0, 3, 1.5, "1.500"},
        {-4, 1, 1.25, "1.2"},                   // a negative width is no width
        {6, -2, 7.7, "     8"},                 // negative decimals are none
        {30, 1, 1.0, "                  1.0"},  // at most 21 characters
        {6, 2, std::numeric_limits<double>::quiet_NaN(), "   nan"},
        {6, 2, HUGE_VAL, "   inf"},
    };
    for (const Case& c : table) {
        EXPECT_EQ(FormatNumberCell(c.width, c.decimals, c.value), c.text)
            << "width " << c.width << " decimals " << c.decimals << " value " << c.value;
    }
}

TEST(NumberCell, TooLongNumbersKeepTheirValue) {
    // 20 decimals do not fit 21 characters: fewer decimals, not a cut-off number.
    EXPECT_EQ(FormatNumberCell(8, 20, 5.0), "5.0000000000000000000");
    // Too large for fixed point in 21 characters: exponent notation.
    const std::string big = FormatNumberCell(8, 2, 1.0e25);
    EXPECT_EQ(big, "1.00e+25");
    EXPECT_EQ(FormatNumberCell(8, 2, -1.0e300), "-1.00e+300");
    EXPECT_EQ(FormatNumberCell(8, 0, 9.87654321e299), "9.88e+299");
    EXPECT_EQ(FormatNumberCell(12, 2, 9.87654321e299), "9.87654e+299");
    EXPECT_EQ(FormatNumberCell(8, 2, std::numeric_limits<double>::max()), "1.80e+308");
    for (double v : {1.0e20, -1.0e20, 123456789.0e15, -9.87654321e299}) {
        for (int w : {0, 6, 8, 21}) {
            for (int d : {0, 2, 8, 20}) {
                const std::string s = FormatNumberCell(w, d, v);
                EXPECT_LE(s.size(), 21u) << v << " " << d;
                EXPECT_NEAR(std::strtod(s.c_str(), nullptr) / v, 1.0, 1e-2) << s;
            }
        }
    }
}

TEST(NumberCell, SeparatorOfAWiderNumberKeepsItsHalfWidth) {
    const NumberCellLayout l = LayoutNumberCell(6, 2, kCell, 12345.678, Advance);
    EXPECT_EQ(l.text, "12345.68");
    EXPECT_EQ(Advances(l), (std::vector<int>{8, 8, 8, 8, 8, 4, 8, 8}));
    EXPECT_EQ(l.glyphs.back().x + l.glyphs.back().advance, 105);
    // The separator lines up with the one of a number that fills the field.
    const NumberCellLayout narrow = LayoutNumberCell(6, 2, kCell, 3.14159, Advance);
    EXPECT_EQ(l.glyphs[5].x, narrow.glyphs[3].x);
}

TEST(NumberCell, WholeNumbersHaveEqualWidths) {
    const NumberCellLayout l = LayoutNumberCell(6, 0, kCell, 2899.6, Advance);
    EXPECT_EQ(l.text, "  2900");
    EXPECT_EQ(Advances(l), (std::vector<int>(6, 8)));
    EXPECT_EQ(Xs(l), (std::vector<int>{57, 65, 73, 81, 89, 97}));
}

TEST(NumberCell, OddDigitWidthHalvesDownward) {
    const NumberCellLayout l =
        LayoutNumberCell(8, 1, kCell, -12.34, [](char c) { return c == '5' ? 7 : 0; });
    EXPECT_EQ(l.text, "   -12.3");
    EXPECT_EQ(Advances(l), (std::vector<int>{7, 7, 7, 7, 7, 7, 3, 7}));
    EXPECT_EQ(l.glyphs.front().x, 105 - 52);
}

TEST(NumberCell, TextWiderThanTheCellStartsLeftOfItAndIsClipped) {
    const CellRect tiny{0, 0, 30, 18};
    const NumberCellLayout l = LayoutNumberCell(8, 2, tiny, 1234.5, Advance);
    EXPECT_EQ(l.text, " 1234.50");
    EXPECT_EQ(l.right, 25);
    EXPECT_EQ(l.glyphs.front().x, 25 - 60);
    EXPECT_EQ(l.clip.right, 30);
}

TEST(NumberCell, FilledVariantPaintsTheCellFirst) {
    const NumberCellLayout plain = LayoutNumberCell(8, 2, kCell, 42.0, Advance);
    const NumberCellLayout filled = LayoutFilledNumberCell(8, 2, kCell, 42.0, 0xDDDDFF, Advance);
    ASSERT_TRUE(filled.fill.has_value());
    EXPECT_EQ(*filled.fill, 0xDDDDFFu);
    EXPECT_EQ(filled.text, plain.text);
    EXPECT_EQ(Xs(filled), Xs(plain));
    EXPECT_EQ(Advances(filled), Advances(plain));
}

TEST(NumberCell, MissingFontMetricsGiveZeroWidthsNotACrash) {
    const NumberCellLayout none = LayoutNumberCell(6, 2, kCell, 1.0, CharAdvance{});
    EXPECT_EQ(none.text, "  1.00");
    EXPECT_EQ(Advances(none), (std::vector<int>(6, 0)));
    const NumberCellLayout negative = LayoutNumberCell(6, 2, kCell, 1.0, [](char) { return -9; });
    EXPECT_EQ(Advances(negative), (std::vector<int>(6, 0)));
}

}  // namespace
}  // namespace kelvra
