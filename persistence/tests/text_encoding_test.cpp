#include "text_encoding.hpp"

#include <gtest/gtest.h>

#include "family_set_text.hpp"

namespace kelvra {
namespace {

TEST(TextEncodingTest, Utf8Validity) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain ASCII = 7 bit", true},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         true},                       // Grüße
        {"\xE2\x82\xAC 12", true},    // euro sign
        {"\xF0\x9F\x98\x80", true},   // four bytes
        {"M\xFCller", false},         // Windows-1252 ü
        {"\xC0\x80", false},          // overlong NUL
        {"\xE0\x80\xAF", false},      // overlong slash
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xE2\x82", false},          // cut short
        {"\x80", false},              // stray continuation byte
        {"\xFE\xFF", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextEncodingTest, Windows1252BecomesUtf8) {
    EXPECT_EQ(Windows1252ToUtf8("M\xFCller K\xE4lte"), "M\xC3\xBCller K\xC3\xA4lte");
    EXPECT_EQ(Windows1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(Windows1252ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");      // undefined: control character
    EXPECT_EQ(Windows1252ToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    // Decided per piece of text: UTF-8 stays, anything else is Windows-1252.
    EXPECT_EQ(DecodeText("Gr\xC3\xBC\xC3\x9F"
                         "e"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(DecodeText("Gr\xFC\xDF"
                         "e"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
}

// Every byte of a Windows machine's text comes back as the same byte.
TEST(TextEncodingTest, EveryWindowsByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
        ASSERT_TRUE(IsValidUtf8(utf8)) << b;
        std::size_t pos = 0;
        const char32_t c = NextCodePoint(utf8, pos);
        EXPECT_EQ(pos, utf8.size()) << b;
        const auto back = Windows1252Byte(c);
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, b);
    }
    EXPECT_FALSE(Windows1252Byte(0x0100).has_value());
    EXPECT_FALSE(Windows1252Byte(0x4E2D).has_value());
}

TEST(FamilySetTextTest, CharactersStandForFamilyCodes) {
    struct Case {
        std::string text;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"", {}},
        {"A", {1}},
        {"CK", {3, 11}},
        {"KC", {3, 11}},   // any order
        {"CCK", {3, 11}},  // duplicates
        {"@?1 ", {}},      // characters below "A" name no family
        {"\xE2\x80\xA0\xE2\x80\xA1\xCB\x86\xE2\x80\xB0", {70, 71, 72, 73}},  // heat-pump families
    };
    for (const Case& c : cases) EXPECT_EQ(ParseFamilySet(c.text).Codes(), c.codes) << c.text;
    FamilySelection set;
    set.Add(11);
    set.Add(3);
    EXPECT_EQ(FamilySetText(set), "CK");
    set.Add(0);  // custom families are not written
    EXPECT_EQ(FamilySetText(set), "CK");
}

TEST(FamilySetTextTest, EveryCodeSurvivesTheRoundTrip) {
    FamilySelection all;
    for (int code = 1; code <= 255; ++code) {
        FamilySelection one;
        one.Add(code);
        EXPECT_EQ(ParseFamilySet(FamilySetText(one)).Codes(), std::vector<int>{code}) << code;
        all.Add(code);
    }
    EXPECT_EQ(ParseFamilySet(FamilySetText(all)), all);
    // Codes up to 191 are one Windows-1252 character each, as older versions wrote them.
    FamilySelection old;
    old.Add(191);
    EXPECT_EQ(FamilySetText(old), Windows1252ToUtf8("\xFF"));
}

}  // namespace
}  // namespace kelvra
