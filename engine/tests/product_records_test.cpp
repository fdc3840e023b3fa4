// Families and supplies, and the short-text rules their names follow.

#include "product_records.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model_text.hpp"

namespace kelvra {
namespace {

TEST(TSupply, FrequencyText) {
    const struct {
        int frequency;
        std::string name, expected;
    } cases[] = {
        {50, "380/420V-3-50", "50Hz"},
        {60, "460V-3-60", "60Hz"},
        {41, "odd", "41Hz"},
        {40, "DC 40", "DC 40"},  // not above 40: the supply is named instead
        {0, "Battery", "Battery"},
        {-50, "", ""},
        // A name longer than a supply name may be is cut to 25 characters.
        {0, "12345678901234567890123456789", "1234567890123456789012345"},
    };
    for (const auto& c : cases) {
        TSupply supply;
        supply.frequency = c.frequency;
        supply.name = c.name;
        EXPECT_EQ(supply.FrequencyText(), c.expected) << c.frequency << " " << c.name;
    }
}

TEST(ProductRecords, NamesAreTrimmedAndCut) {
    TFamily family;
    family.SetName(std::string_view("  Scroll AC \0\0\0", 15));  // padded record field
    EXPECT_EQ(family.name, "Scroll AC");
    family.SetName(std::string(40, 'F'));
    EXPECT_EQ(family.name, std::string(35, 'F'));
    // Trimmed first, then cut: leading padding does not use up the length.
    family.SetName("   " + std::string(35, 'G') + "H");
    EXPECT_EQ(family.name, std::string(35, 'G'));

    TSupply supply;
    supply.SetName("\t220-240V-1-50   ");
    EXPECT_EQ(supply.name, "220-240V-1-50");
    supply.SetName(std::string(30, 'S'));
    EXPECT_EQ(supply.name, std::string(25, 'S'));
}

TEST(ProductRecords, FreshRecords) {
    const TFamily family;
    EXPECT_TRUE(family.name.empty());
    EXPECT_FALSE(family.selected);
    EXPECT_EQ(family.listSection, -1);  // not in the family list yet
    const TSupply supply;
    EXPECT_EQ(supply.FrequencyText(), "");
    EXPECT_EQ(supply.voltage, 0);
}

TEST(ModelText, CutCountsCharactersNotBytes) {
    const struct {
        std::string text;
        std::size_t max;
        std::string expected;
    } cases[] = {
        {"abc", 5, "abc"},
        {"abc", 3, "abc"},
        {"abc", 2, "ab"},
        {"abc", 0, ""},
        {"", 4, ""},
        {"45 \u00B0C", 4, "45 \u00B0"},             // the degree sign is one character of two bytes
        {"45 \u00B0C", 3, "45 "},                   // and is never split
        {"\u20AC\u20AC\u20AC", 2, "\u20AC\u20AC"},  // three-byte characters
        {"\xF0\x9F\x94\xA5x", 1, "\xF0\x9F\x94\xA5"},  // a four-byte character
    };
    for (const auto& c : cases) EXPECT_EQ(CutToCharacters(c.text, c.max), c.expected) << c.text;
}

TEST(ModelText, Trim) {
    EXPECT_EQ(TrimText(""), "");
    EXPECT_EQ(TrimText("   \t\r\n"), "");
    EXPECT_EQ(TrimText(std::string("R404A\0\0", 7)), "R404A");
    EXPECT_EQ(TrimText(" two words "), "two words");
}

}  // namespace
}  // namespace kelvra
