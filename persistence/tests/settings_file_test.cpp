#include "settings_file.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "conditions_keys.hpp"
#include "family_set_text.hpp"
#include "file_fixtures.hpp"
#include "safe_file.hpp"

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using testing::AsOrdinaryUser;
using testing::PseudoRandomBytes;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr std::string_view kStartupHelp = "/opt/kelvra/english.chm";

FamilySelection Families(std::initializer_list<int> codes) {
    FamilySelection set;
    for (const int code : codes) set.Add(code);
    return set;
}

void ExpectSameSettings(const Settings& a, const Settings& b) {
    EXPECT_EQ(a.window, b.window);
    EXPECT_EQ(a.autoSelect, b.autoSelect);
    EXPECT_EQ(a.activeTab, b.activeTab);
    EXPECT_EQ(a.language, b.language);
    EXPECT_EQ(a.help, b.help);
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.units, b.units);
    EXPECT_EQ(a.defaultTables, b.defaultTables);
    EXPECT_EQ(a.refrigerant, b.refrigerant);
    EXPECT_EQ(a.glide, b.glide);
    EXPECT_EQ(a.powerSupply, b.powerSupply);
    EXPECT_EQ(a.compressorFamilies, b.compressorFamilies);
    EXPECT_EQ(a.condensingUnitFamilies, b.condensingUnitFamilies);
    EXPECT_EQ(a.controlsFamilies, b.controlsFamilies);
    EXPECT_EQ(a.heatPumpFamilies, b.heatPumpFamilies);
    EXPECT_EQ(a.modelName, b.modelName);
    EXPECT_EQ(a.heatPumpFile, b.heatPumpFile);
    EXPECT_EQ(a.dealer, b.dealer);
    EXPECT_EQ(a.place, b.place);
    EXPECT_EQ(a.currency, b.currency);
    EXPECT_EQ(a.electricity, b.electricity);
    EXPECT_EQ(a.directCost, b.directCost);
    EXPECT_EQ(a.conditions.evapTemp, b.conditions.evapTemp);
    EXPECT_EQ(a.conditions.condTemp, b.conditions.condTemp);
    EXPECT_EQ(a.conditions.superheat, b.conditions.superheat);
    EXPECT_EQ(a.conditions.useSGR, b.conditions.useSGR);
    EXPECT_EQ(a.selectionList, b.selectionList);
    EXPECT_EQ(a.customFamilies, b.customFamilies);
}

Settings Everything() {
    Settings s;
    s.window = {-1200, 40, 1024, 768, true};
    s.autoSelect = false;
    s.activeTab = 3;
    s.language = "german.lng";
    s.help = "/opt/kelvra/german.chm";
    s.mode = ActivityMode::AirWaterHeatPumps;
    s.units = UnitSystem::Imperial;
    s.defaultTables.metric = {1, 2, 3};
    s.defaultTables.imperial = {4, 0, 6};
    s.refrigerant = "R407C";
    s.glide = 'M';
    s.powerSupply = 43;
    s.compressorFamilies = Families({3, 11});
    s.condensingUnitFamilies = Families({});
    s.controlsFamilies = Families({1, 2, 3, 4, 5, 6, 7});
    s.heatPumpFamilies = Families({70, 71, 72, 73});
    s.modelName = "HP Air 12";
    s.heatPumpFile = "/home/me/.local/share/kelvra/my pumps.ZQV";
    s.dealer.salesman = "Anna K\xC3\xA4lte";
    s.dealer.company = "Cool & Co";
    s.dealer.address1 =
        "Hauptstra\xC3\x9F"
        "e 1";
    s.dealer.postcode = "D-80331";
    s.dealer.phone = "+49 89 123456";
    s.dealer.fax = "+49 89 123457";
    s.dealer.email = "anna@example.com";
    s.place = "M\xC3\xBCnchen";
    s.currency = {"\xE2\x82\xAC", 1, 5, 2};
    s.electricity = "0.31";
    s.directCost = "0,12";
    s.conditions.evapTemp = -25.5;
    s.conditions.condTemp = 45;
    s.conditions.superheat = 7.5;
    s.conditions.useSGR = false;
    s.selectionList = SelectionListColumns{4, "PPME", {1, 2, 17, 5}};
    s.customFamilies = std::vector<CustomFamilyRecord>{
        {"My scrolls", 'C', 1, {101, 102, 205}},
        {"Heat pump set", 'P', 11, {}},
        {"Units", 'U', 12, {7}},
    };
    return s;
}

TEST(SettingsFileTest, SettingsSurviveTheRoundTrip) {
    TempFolder folder;
    const fs::path file = folder / std::string(kSettingsFileName);
    const Settings saved = Everything();
    ASSERT_TRUE(SaveSettingsFile(file, saved));
    const SettingsLoad load = LoadSettingsFile(file, kStartupHelp);
    ASSERT_TRUE(load.status);
    EXPECT_TRUE(load.exists);
    ExpectSameSettings(load.settings, saved);
}

TEST(SettingsFileTest, AMissingFileIsAFirstStartWithTheDefaults) {
    TempFolder folder;
    const SettingsLoad load = LoadSettingsFile(folder / "kelvra71.ini", kStartupHelp);
    EXPECT_TRUE(load.status);
    EXPECT_FALSE(load.exists);
    const Settings& s = load.settings;
    EXPECT_EQ(s.window, (WindowPlacement{0, 0, 790, 550, false}));
    EXPECT_TRUE(s.autoSelect);
    EXPECT_EQ(s.activeTab, 0);
    EXPECT_EQ(s.language, "english.lng");
    EXPECT_EQ(s.help, kStartupHelp);
    EXPECT_EQ(s.mode, ActivityMode::Compressors);
    EXPECT_EQ(s.units, UnitSystem::SI);
    EXPECT_EQ(s.defaultTables, DefaultTables{});
    EXPECT_EQ(s.refrigerant, "R404A");
    EXPECT_EQ(s.powerSupply, 1);
    EXPECT_EQ(s.compressorFamilies.Codes(), std::vector<int>{3});
    EXPECT_EQ(s.condensingUnitFamilies.Codes(), std::vector<int>{1});
    EXPECT_EQ(s.controlsFamilies.Codes(), std::vector<int>{1});
    EXPECT_EQ(s.heatPumpFamilies.Codes(), std::vector<int>{1});
    EXPECT_EQ(s.modelName, "");
    EXPECT_EQ(s.heatPumpFile, "X");
    EXPECT_EQ(s.dealer, DealerDetails{});
    EXPECT_EQ(s.dealer.printFont, "Arial");
    EXPECT_EQ(s.place, "X");
    EXPECT_EQ(s.currency, (CurrencyFormat{"$", 0, 0, 2}));
    EXPECT_EQ(s.electricity, "1");
    EXPECT_EQ(s.directCost, "1");
    EXPECT_EQ(s.conditions.capacity, 0);
    EXPECT_FALSE(s.selectionList.has_value());
    EXPECT_FALSE(s.customFamilies.has_value());
}

TEST(SettingsFileTest, ValuesReadAsTheyAlwaysHaveBeen) {
    struct Case {
        std::string lines;
        bool maximised;
        bool autoSelect;
    };
    const Case cases[] = {
        {"winmax=MAX\nautoSelect=True\n", true, true},
        {"winmax=Max\nautoSelect=false\n", true, true},  // lower-case "false": still automatic
        {"winmax=max\nautoSelect=False\n", false, false},
        {"winmax=Normal\nautoSelect=F\n", false, false},
        {"winmax=\nautoSelect=\n", false, true},
        {"winmax=NORMAL\nautoSelect=0\n", false, true},
    };
    for (const Case& c : cases) {
        const Settings s = ReadSettings(IniFile::Parse("[DEFAULTS]\n" + c.lines), kStartupHelp);
        EXPECT_EQ(s.window.maximised, c.maximised) << c.lines;
        EXPECT_EQ(s.autoSelect, c.autoSelect) << c.lines;
    }
    const Settings s =
        ReadSettings(IniFile::Parse("[DEFAULTS]\ngroup=CK\nhelp=\nname=X\n"), kStartupHelp);
    EXPECT_EQ(s.compressorFamilies.Codes(), (std::vector<int>{3, 11}));
    EXPECT_EQ(s.help, "english.chm");
    EXPECT_EQ(s.modelName, "");
    EXPECT_EQ(
        ReadSettings(IniFile::Parse("[DEFAULTS]\nhelp=C:\\K\\deutsch.hlp\n"), kStartupHelp).help,
        "C:\\K\\deutsch.chm");
}

TEST(SettingsFileTest, OutOfRangeAndUnsafeValuesTakeTheDefaults) {
    const Settings s = ReadSettings(
        IniFile::Parse("[DEFAULTS]\nwinwidth=0\nwinheight=-5\nActivity=-1\nmode=12\nunits=7\n"
                       "DefCTable=-3\nlanguage=../../etc/passwd\nrefrigerant=" +
                       std::string(50, 'R') + "\n[DEALER]\nsalesman=" + std::string(40, 's') +
                       "\nphone=" + std::string(25, '1') +
                       "\npdfFont=\n"
                       "[CUST]\ncurrFormat=4\ncurrNeg=16\ncurrDps=2000000000\n"
                       "electricity=123456789012\n"),
        kStartupHelp);
    EXPECT_EQ(s.window.width, 790);
    EXPECT_EQ(s.window.height, 550);
    EXPECT_EQ(s.activeTab, 0);
    EXPECT_EQ(s.mode, ActivityMode::Compressors);
    EXPECT_EQ(s.units, UnitSystem::SI);
    EXPECT_EQ(s.defaultTables.metric[0], 0);
    EXPECT_EQ(s.language, "english.lng");
    EXPECT_EQ(s.refrigerant, std::string(35, 'R'));
    EXPECT_EQ(s.dealer.salesman, std::string(30, 's'));
    EXPECT_EQ(s.dealer.phone, std::string(20, '1'));
    EXPECT_EQ(s.dealer.pdfFont, "Arial");
    EXPECT_EQ(s.currency, (CurrencyFormat{"$", 0, 0, 2}));
    EXPECT_EQ(s.electricity, "1234567890");
}

// A settings file from a Windows machine: CRLF, Windows-1252 text, heat-pump families written as
// single bytes, keys of other programs. It reads right and is written back with all of it.
TEST(SettingsFileTest, WindowsFileReadsAndKeepsWhatItHolds) {
    TempFolder folder;
    const fs::path file = folder / "kelvra71.ini";
    WriteBytes(file,
               "[DEFAULTS]\r\nmode=7\r\ngroupP=\x86\x87\x88\x89\r\nrefrigerant=r407c\r\n"
               "userChoice=keep me\r\n"
               "[DEALER]\r\ncompany=M\xFC"
               "ller K\xE4lte GmbH\r\n"
               "[Printer]\r\ntray=2\r\n"
               "[settings]\r\nCOND=4550\r\nuseSGR=False\r\n");
    const SettingsLoad load = LoadSettingsFile(file, kStartupHelp);
    ASSERT_TRUE(load.status);
    EXPECT_EQ(load.settings.mode, ActivityMode::BrineWaterHeatPumps);
    EXPECT_EQ(load.settings.heatPumpFamilies.Codes(), (std::vector<int>{70, 71, 72, 73}));
    EXPECT_EQ(load.settings.dealer.company, "M\xC3\xBCller K\xC3\xA4lte GmbH");
    EXPECT_EQ(load.settings.conditions.condTemp, 45.5);
    EXPECT_FALSE(load.settings.conditions.useSGR);

    ASSERT_TRUE(SaveSettingsFile(file, load.settings));
    const std::string written = ReadBytes(file);
    EXPECT_EQ(written.find("\n\n"), std::string::npos);  // still CRLF throughout
    const SettingsLoad again = LoadSettingsFile(file, kStartupHelp);
    ExpectSameSettings(again.settings, load.settings);
    const IniFile ini = IniFile::Parse(written);
    EXPECT_EQ(ini.ReadString("DEFAULTS", "userChoice", ""), "keep me");
    EXPECT_EQ(ini.ReadInteger("Printer", "tray", 0), 2);
    EXPECT_EQ(ini.ReadString("DEALER", "company", ""), "M\xC3\xBCller K\xC3\xA4lte GmbH");
}

// Hostile files never make reading fail or writing lose what the file held.
TEST(SettingsFileTest, HostileFilesReadWithDefaultsAndKeepTheUsersKeys) {
    const std::string userKeys = "[Mine]\nsecret=42\n";
    struct Case {
        std::string name;
        std::string bytes;
    };
    std::vector<Case> cases{
        {"empty", ""},
        {"cut mid-line", "[DEFAULTS]\nwinwidth=1024\nmode=3\nrefrig"},
        {"garbage", PseudoRandomBytes(20000, 7)},
        {"absurd numbers",
         "[DEFAULTS]\nwinleft=99999999999999999999\nmode=abc\nunits=1.5\n"
         "[settings]\ncool=99999999999999999999\ncond=abc\nRPM=-\n"
         "[sellist]\nnumcols=2000000000\n"
         "[FAMILIES]\nnumFam=2000000000\nfam0=Mine\nnumfam0=2000000000\nF0M0=12\n"},
        {"missing sections", "[Other]\nx=1\n"},
        {"ten megabytes", "[DEFAULTS]\nmode=2\n" + std::string(10 * 1024 * 1024, 'z') + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path file = folder / "kelvra71.ini";
        WriteBytes(file, c.bytes + "\n" + userKeys);
        const SettingsLoad load = LoadSettingsFile(file, kStartupHelp);
        ASSERT_TRUE(load.status);
        const Settings& s = load.settings;
        EXPECT_TRUE(IsActivityMode(ToInt(s.mode)));
        EXPECT_GE(s.window.width, 1);
        if (c.name == "absurd numbers") {
            EXPECT_EQ(s.window.left, 0);
            EXPECT_EQ(s.mode, ActivityMode::Compressors);
            EXPECT_EQ(s.conditions.subcooling, 0);
            EXPECT_EQ(s.conditions.condTemp, 30);
            EXPECT_EQ(s.conditions.rpm, 3000);
            EXPECT_EQ(s.selectionList->count, 6);
            ASSERT_EQ(s.customFamilies->size(), 1u);
            EXPECT_EQ((*s.customFamilies)[0].memberIds, std::vector<std::int32_t>{12});
        }
        ASSERT_TRUE(SaveSettingsFile(file, s));
        const IniFile back = IniFile::Parse(ReadBytes(file));
        EXPECT_EQ(back.ReadInteger("Mine", "secret", 0), 42);
    }
}

TEST(SettingsFileTest, FailedWritesLeaveTheOldFile) {
    TempFolder folder;
    const fs::path file = folder / "kelvra71.ini";
    const std::string old = "[DEFAULTS]\r\nmode=1\r\n[Mine]\r\nsecret=42\r\n";
    WriteBytes(file, old);
    ::chmod(folder.path().c_str(), 0555);
    IoStatus status;
    {
        AsOrdinaryUser user;
        if (!user.active) GTEST_SKIP() << "cannot drop root rights";
        status = SaveSettingsFile(file, Everything());
    }
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Unable to write to " + file.string());
    EXPECT_EQ(ReadBytes(file), old);
}

// A file too large to read is not replaced by one that would lose it.
TEST(SettingsFileTest, UnreadableFileIsNotOverwritten) {
    TempFolder folder;
    const fs::path file = folder / "kelvra71.ini";
    WriteBytes(file, "[DEFAULTS]\nmode=1\n");
    fs::resize_file(file, kMaxReadableFileBytes + 1);  // sparse: costs no disk space
    const SettingsLoad load = LoadSettingsFile(file, kStartupHelp);
    EXPECT_FALSE(load.status);
    EXPECT_TRUE(load.exists);
    EXPECT_EQ(load.settings.mode, ActivityMode::Compressors);
    const IoStatus status = SaveSettingsFile(file, load.settings);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Unable to write to " + file.string());
    EXPECT_EQ(fs::file_size(file), kMaxReadableFileBytes + 1);
    std::string start(18, '\0');
    std::ifstream(file, std::ios::binary).read(start.data(), 18);
    EXPECT_EQ(start, "[DEFAULTS]\nmode=1\n");
}

TEST(SettingsFileTest, KeysAreWrittenInTheirOrder) {
    IniFile ini;
    Settings s;
    s.help = "h.chm";
    s.language.clear();
    s.powerSupply.reset();
    s.refrigerant.clear();
    WriteSettings(ini, s);
    std::vector<std::string> keys;
    for (const auto& [key, value] : ini.SectionEntries("DEFAULTS")) keys.push_back(key);
    EXPECT_EQ(keys,
              (std::vector<std::string>{
                  "winmax",    "Activity",   "autoSelect", "hpfile",     "mode",       "winleft",
                  "wintop",    "winwidth",   "winheight",  "help",       "units",      "DefCTable",
                  "DefFTable", "DefUCTable", "DefUFTable", "DefHCTable", "DefHFTable", "group",
                  "groupU",    "groupV",     "groupP",     "name"}));
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"DEFAULTS", "DEALER", "CUST", "settings"}));
    EXPECT_EQ(ini.ReadString("DEFAULTS", "name", ""), "X");
    EXPECT_FALSE(ini.HasKey("DEALER", "printFont"));  // read only
}

TEST(SettingsFileTest, CustomFamilies) {
    const IniFile ini = IniFile::Parse(
        "[FAMILIES]\nnumFam=4\n"
        "fam0=Scrolls\nkind0=H\ncat0=2\nnumfam0=3\nF0M0=11\nF0M1=abc\nF0M2=13\n"
        "fam1=\nnumfam1=1\nF1M0=99\n"  // no name: skipped
        "fam2=" +
        std::string(40, 'n') +
        "\nnumfam2=2\nF2M1=7\n"  // defaults, a member missing
        "fam3=Last\nkind3=\ncat3=x\n");
    const std::vector<CustomFamilyRecord> families = ReadCustomFamilies(ini);
    ASSERT_EQ(families.size(), 3u);
    EXPECT_EQ(families[0], (CustomFamilyRecord{"Scrolls", 'H', 2, {11, 13}}));
    EXPECT_EQ(families[1], (CustomFamilyRecord{std::string(35, 'n'), 'C', 9, {7}}));
    EXPECT_EQ(families[2], (CustomFamilyRecord{"Last", 'C', 9, {}}));

    // Writing replaces the section: nothing of a longer list is left behind.
    IniFile out = ini;
    WriteCustomFamilies(out, {{"Only", 'C', 1, {5}}});
    EXPECT_EQ(out.SectionEntries("FAMILIES").size(), 6u);
    EXPECT_EQ(ReadCustomFamilies(out), (std::vector<CustomFamilyRecord>{{"Only", 'C', 1, {5}}}));

    TempFolder folder;
    WriteBytes(folder / "kelvra71.ini", out.Serialize());
    EXPECT_EQ(SettingsFileCustomFamilies(folder / "kelvra71.ini").CustomFamilies(),
              ReadCustomFamilies(out));
    EXPECT_TRUE(SettingsFileCustomFamilies(folder / "none.ini").CustomFamilies().empty());
}

TEST(SettingsFileTest, SelectionListColumns) {
    const IniFile ini = IniFile::Parse("[sellist]\nnumcols=3\nitemKind=PEM\nc0=4\nc2=x\n");
    const SelectionListColumns columns = ReadSelectionListColumns(ini);
    EXPECT_EQ(columns, (SelectionListColumns{3, "PEM", {4, -1, -1}}));
    IniFile out;
    WriteSelectionListColumns(out, {2, "PP", {1}});
    EXPECT_EQ(out.Serialize(), "[sellist]\nnumcols=2\nitemKind=PP\nc0=1\nc1=-1\n");
    EXPECT_EQ(ReadSelectionListColumns(IniFile::Parse("[sellist]\nnumcols=52\n")).count, 6);
}

}  // namespace
}  // namespace kelvra
