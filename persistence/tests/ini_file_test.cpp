#include "ini_file.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

#include "file_fixtures.hpp"
#include "text_encoding.hpp"

namespace kelvra {
namespace {

using testing::PseudoRandomBytes;
using namespace std::string_literals;

TEST(IniFileTest, SectionsAndKeysAreFoundIgnoringCase) {
    const IniFile ini = IniFile::Parse(
        "; made by hand\n[DEFAULTS]\nmode=2\nRefrigerant = R134a \n\n[settings]\nCOND=2550\n");
    EXPECT_TRUE(ini.HasSection("defaults"));
    EXPECT_FALSE(ini.HasSection("DEALER"));
    EXPECT_EQ(ini.ReadInteger("Defaults", "MODE", 0), 2);
    EXPECT_EQ(ini.ReadString("DEFAULTS", "refrigerant", "x"), "R134a");  // blanks around go
    EXPECT_DOUBLE_EQ(ini.ReadHundredths("SETTINGS", "cond", 30), 25.5);
    EXPECT_EQ(ini.ReadString("DEFAULTS", "missing", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("nowhere", "mode", "fallback"), "fallback");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"DEFAULTS", "settings"}));
}

TEST(IniFileTest, LineBreaksOfEveryKindReadAlike) {
    for (const std::string lineBreak : {"\r\n", "\n", "\r"}) {
        const IniFile ini =
            IniFile::Parse("[a]" + lineBreak + "one=1" + lineBreak + "two=2" + lineBreak);
        EXPECT_EQ(ini.ReadInteger("a", "one", 0), 1);
        EXPECT_EQ(ini.ReadInteger("a", "two", 0), 2);
    }
    const IniFile mixed = IniFile::Parse("[a]\r\none=1\ntwo=2\rthree=3");
    EXPECT_EQ(mixed.ReadInteger("a", "three", 0), 3);
    // A file keeps its own line breaks.
    IniFile windows = IniFile::Parse("[a]\r\none=1\r\n");
    windows.WriteInteger("a", "two", 2);
    EXPECT_EQ(windows.Serialize(), "[a]\r\none=1\r\ntwo=2\r\n");
}

TEST(IniFileTest, ByteOrderMarkAndWindowsText) {
    IniFile marked = IniFile::Parse(
        "\xEF\xBB\xBF[DEALER]\ncompany=Gr\xC3\xBC\xC3\x9F"
        "e\n");
    EXPECT_EQ(marked.ReadString("DEALER", "company", ""),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(marked.Serialize().substr(0, 3), "\xEF\xBB\xBF");

    // A file from a Windows machine: Windows-1252, written back as UTF-8.
    IniFile windows = IniFile::Parse("[DEALER]\r\ncompany=M\xFCller K\xE4lte\r\n");
    EXPECT_EQ(windows.ReadString("DEALER", "company", ""), "M\xC3\xBCller K\xC3\xA4lte");
    EXPECT_EQ(windows.Serialize(), "[DEALER]\r\ncompany=M\xC3\xBCller K\xC3\xA4lte\r\n");
}

TEST(IniFileTest, DuplicatesMissingSectionsAndBareLines) {
    IniFile ini = IniFile::Parse(
        "stray=before any section\n"
        "[a]\nkey=first\nkey=second\nno equals sign here\n=no key\n"
        "[b]\nother=1\n"
        "[A]\nkey=third\nlate=4\n");
    EXPECT_EQ(ini.ReadString("a", "key", ""), "first");  // the first occurrence counts
    EXPECT_EQ(ini.ReadInteger("a", "late", 0), 4);       // repeated sections read as one
    EXPECT_FALSE(ini.HasKey("a", "no equals sign here"));
    EXPECT_EQ(ini.ReadString("", "stray", "none"), "none");
    EXPECT_EQ(ini.SectionEntries("a").size(), 4u);
    EXPECT_EQ(ini.SectionNames("a"),
              (std::vector<std::string>{"key", "key", "no equals sign here", "key", "late"}));

    ini.WriteString("a", "key", "changed");
    EXPECT_EQ(ini.Serialize(),
              "stray=before any section\n"
              "[a]\nkey=changed\nkey=second\nno equals sign here\n=no key\n"
              "[b]\nother=1\n"
              "[A]\nkey=third\nlate=4\n");
}

TEST(IniFileTest, CutOffLastLine) {
    EXPECT_EQ(IniFile::Parse("[a]\nkey=value").ReadString("a", "key", ""), "value");
    EXPECT_FALSE(IniFile::Parse("[a]\nke").HasKey("a", "ke"));
    EXPECT_FALSE(IniFile::Parse("[a").HasSection("a"));
    EXPECT_EQ(IniFile::Parse("").Sections().size(), 0u);
}

TEST(IniFileTest, IntegersOutsideTheFormatReadAsTheDefault) {
    struct Case {
        std::string value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"12", 12},
        {" -7 ", -7},
        {"+5", 5},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"", 99},
        {"abc", 99},
        {"1.5", 99},
        {"12abc", 99},
        {"+-5", 99},
        {"0x10", 99},
        {"2147483648", 99},
        {"99999999999999999999", 99},
        {"-99999999999999999999", 99},
        {"1e5", 99},
    };
    for (const Case& c : cases) {
        const IniFile ini = IniFile::Parse("[s]\nn=" + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("s", "n", 99), c.expected) << c.value;
    }
    const IniFile absurd = IniFile::Parse("[s]\ncool=99999999999999999999\ncond=abc\n");
    EXPECT_EQ(absurd.ReadHundredths("s", "cool", 0), 0);
    EXPECT_EQ(absurd.ReadHundredths("s", "cond", 30), 30);
}

TEST(IniFileTest, HundredthsAreRoundedHalfAwayFromZero) {
    struct Case {
        double value;
        std::string stored;
    };
    const Case cases[] = {
        {25.5, "2550"},
        {25.555, "2556"},
        {-25.555, "-2556"},
        {1.005, "101"},  // 100.49999999999999 in binary
        {0.285, "29"},
        {4.35, "435"},
        {-10.15, "-1015"},
        {0.004, "0"},
        {-0.004, "0"},
        {1e12, "2147483647"},
        {-1e12, "-2147483648"},
        {std::numeric_limits<double>::infinity(), "2147483647"},
        {std::numeric_limits<double>::quiet_NaN(), "-1800"},  // the fallback, -18
    };
    for (const Case& c : cases) {
        IniFile ini;
        ini.WriteHundredths("s", "v", c.value, -18);
        EXPECT_EQ(ini.ReadString("s", "v", ""), c.stored) << c.value;
    }
}

TEST(IniFileTest, ValuesReadBackAsTheyWereWritten) {
    const std::string values[] = {
        "",           " padded ",          "\"quoted\"",           "a=b=c",
        "semi;colon", "[bracket]",         "\xC3\xBC\xE2\x82\xAC", "tab\tinside",
        "\"",         "ends with quote\"",
    };
    for (const std::string& value : values) {
        IniFile ini;
        ini.WriteString("s", "key", value);
        const IniFile back = IniFile::Parse(ini.Serialize());
        EXPECT_EQ(back.ReadString("s", "key", "missing"), value) << value;
    }
    EXPECT_EQ(IniFile::Parse("[s]\nkey=\"in quotes\"\n").ReadString("s", "key", ""), "in quotes");
}

// A value can never break the file into other lines, keys or sections.
TEST(IniFileTest, LineBreaksInValuesCannotInjectKeys) {
    IniFile ini;
    ini.WriteString("DEFAULTS", "project", "Cold store\r\n[settings]\nmode=5\0x"s);
    const IniFile back = IniFile::Parse(ini.Serialize());
    EXPECT_FALSE(back.HasSection("settings"));
    EXPECT_EQ(back.ReadString("DEFAULTS", "project", ""), "Cold store  [settings] mode=5 x");
}

TEST(IniFileTest, WritingKeepsEverythingElseOfTheFile) {
    const std::string original =
        "; Kelvra settings\r\n"
        "[DEFAULTS]\r\n"
        "mode = 1\r\n"
        "userKey=kept\r\n"
        "\r\n"
        "[Other program]\r\n"
        "x=\"  spaced  \"\r\n"
        "garbage line\r\n"
        "\r\n"
        "[DEALER]\r\n"
        "company=ACME\r\n";
    IniFile ini = IniFile::Parse(original);
    ini.WriteInteger("DEFAULTS", "mode", 2);    // existing key: changed in place
    ini.WriteInteger("defaults", "units", 3);   // new key: end of its section, before blanks
    ini.WriteString("CUST", "place", "Leeds");  // new section: end of the file
    EXPECT_EQ(ini.Serialize(),
              "; Kelvra settings\r\n"
              "[DEFAULTS]\r\n"
              "mode=2\r\n"
              "userKey=kept\r\n"
              "units=3\r\n"
              "\r\n"
              "[Other program]\r\n"
              "x=\"  spaced  \"\r\n"
              "garbage line\r\n"
              "\r\n"
              "[DEALER]\r\n"
              "company=ACME\r\n"
              "\r\n"
              "[CUST]\r\n"
              "place=Leeds\r\n");
}

TEST(IniFileTest, ErasingKeysAndSections) {
    IniFile ini = IniFile::Parse("[a]\nk=1\nj=2\nK=3\n[b]\nk=4\n[a]\nk=5\n");
    ini.EraseKey("A", "k");
    EXPECT_EQ(ini.Serialize(), "[a]\nj=2\n[b]\nk=4\n[a]\n");
    ini.EraseSection("a");
    EXPECT_EQ(ini.Serialize(), "[b]\nk=4\n");
    ini.WriteInteger("a", "k", 6);
    EXPECT_EQ(ini.ReadInteger("a", "k", 0), 6);
}

// Garbage reads without a fault; what is read is written back and reads the same again.
TEST(IniFileTest, BinaryGarbageIsKeptAndReadsTheSameAgain) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::string bytes = PseudoRandomBytes(4096 + seed * 37, seed);
        if (seed % 2) bytes = "[DEFAULTS]\nmode=3\n" + bytes;
        IniFile ini = IniFile::Parse(bytes);
        (void)ini.ReadInteger("DEFAULTS", "mode", 0);
        const std::string once = ini.Serialize();
        EXPECT_TRUE(IsValidUtf8(once));
        EXPECT_EQ(IniFile::Parse(once).Serialize(), once) << seed;
        ini.WriteInteger("DEFAULTS", "units", 2);
        const IniFile again = IniFile::Parse(ini.Serialize());
        EXPECT_EQ(again.ReadInteger("DEFAULTS", "units", 0), 2) << seed;
    }
}

// Files of 10 MB in the shapes that are hardest for a reader: many keys, one huge line, nothing
// but line breaks, nothing but section headers. Each reads, answers and writes in moments.
TEST(IniFileTest, TenMegabyteFilesReadWithoutHanging) {
    constexpr std::size_t kSize = 10 * 1024 * 1024;
    std::vector<std::string> files;
    {
        std::string keys = "[settings]\n";
        for (int i = 0; keys.size() < kSize; ++i) keys += fmt::format("key{}=12345\n", i);
        keys += "cond=2550\n";
        files.push_back(std::move(keys));
    }
    files.push_back("[settings]\ncond=" + std::string(kSize, '7') + "\n");
    files.push_back(std::string(kSize, '\n') + "[settings]\ncond=2550\n");
    {
        std::string headers;
        for (int i = 0; headers.size() < kSize; ++i) headers += fmt::format("[s{}]\n", i);
        headers += "[settings]\ncond=2550\n";
        files.push_back(std::move(headers));
    }
    for (const std::string& bytes : files) {
        const auto start = std::chrono::steady_clock::now();
        IniFile ini = IniFile::Parse(bytes);
        double cond = 0;
        for (int i = 0; i < 50; ++i) cond = ini.ReadHundredths("settings", "cond", 30);
        for (int i = 0; i < 50; ++i) ini.WriteInteger("DEFAULTS", fmt::format("k{}", i), i);
        const std::string out = ini.Serialize();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_TRUE(cond == 25.5 || cond == 30);  // the huge number is no number in range
        EXPECT_GT(out.size(), kSize);
        EXPECT_LT(seconds, 60.0);  // a second or two; generous for sanitizer builds
    }
}

}  // namespace
}  // namespace kelvra
