#include "language_table.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "file_fixtures.hpp"

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kFile =
    "[Language]\r\n"
    "langNumber=3\r\n"
    "[Sections]\r\n"
    "Captions=\r\n"
    "messages\r\n"  // a name without "=" counts too; section names ignore case
    "[Captions]\r\n"
    "frmPreferences=Pr\xC3\xA9"
    "f\xC3\xA9rences\r\n"
    "btnPrint=Imprimer\r\n"
    "hntPrint=Imprimer le tableau\r\n"
    "lblSupply=Alimentation\r\n"
    "lblSupply=Alimentation \xC3\xA9lectrique\r\n"  // later in its section: wins
    "strEmpty=\r\n"
    "strNoDrawings=Pas de dessin\r\n"
    "no equals sign\r\n"
    "[Messages]\r\n"
    "strNoDrawings=Aucun dessin disponible\r\n"  // later section: wins
    "strA=a=b\r\n"                               // split at the first "="
    "[Unlisted]\r\n"
    "strHidden=never loaded\r\n";

TEST(LanguageTableTest, LaterEntriesWinAndKeysMatchExactly) {
    LanguageTable table;
    table.LoadText(kFile);
    EXPECT_EQ(table.Lookup("lblSupply"), "Alimentation \xC3\xA9lectrique");
    EXPECT_EQ(table.Lookup("strNoDrawings"), "Aucun dessin disponible");
    EXPECT_EQ(table.Lookup("strA"), "a=b");
    EXPECT_EQ(table.Lookup("strHidden"), "");
    EXPECT_EQ(table.Lookup("lblsupply"), "");  // case counts
    EXPECT_EQ(table.Lookup("lblSupp"), "");
    EXPECT_EQ(table.Lookup("no equals sign"), "");
    EXPECT_EQ(table.Entries().size(), 9u);
    EXPECT_EQ(table.LanguageNumber(), "3");
    EXPECT_EQ(table.LanguageCode(), "03");
}

TEST(LanguageTableTest, BoundedFieldsKeepTheirBuiltInText) {
    LanguageTable table;
    table.LoadText(kFile);
    std::string field = "Supply";
    table.LookupInto("lblSupply", 15, field);
    EXPECT_EQ(field, "Alimentation \xC3\xA9l");  // cut to 15 characters, not bytes
    std::string missing = "No drawings";
    table.LookupInto("strMissing", 100, missing);
    EXPECT_EQ(missing, "No drawings");
    std::string empty = "Built-in";
    table.LookupInto("strEmpty", 100, empty);
    EXPECT_EQ(empty, "Built-in");
}

TEST(LanguageTableTest, LanguageNumbers) {
    struct Case {
        std::string file;
        std::string number;
        std::string code;
    };
    const Case cases[] = {
        {"[Language]\nlangNumber=3\n", "3", "03"},
        {"[Language]\nlangNumber=12\n", "12", "12"},
        {"[Sections]\n", "1", "01"},
        {"[Language]\nlangNumber=\n", "1", "01"},
        {"[Language]\nlangNumber=..\\..\\x\n", "1", "01"},  // names files: digits only
    };
    for (const Case& c : cases) {
        LanguageTable table;
        table.LoadText(c.file);
        EXPECT_EQ(table.LanguageNumber(), c.number) << c.file;
        EXPECT_EQ(table.LanguageCode(), c.code) << c.file;
    }
    EXPECT_EQ(TwoDigitLanguageCode(""), "0");
}

TEST(LanguageTableTest, LongKeysAndTextsAreCut) {
    const std::string longText(300, 'x');
    LanguageTable table;
    table.LoadText("[Sections]\nS=\n[S]\nstrLong=" + longText + "\n");
    EXPECT_EQ(table.Lookup("strLong"), std::string(255, 'x'));
}

TEST(LanguageTableTest, WindowsTextAndDamagedFiles) {
    LanguageTable table;
    table.LoadText("[Sections]\r\nS=\r\n[S]\r\nlitPower=Leistungsaufnahme\r\nstrHeat=W\xE4rme");
    EXPECT_EQ(table.Lookup("strHeat"), "W\xC3\xA4rme");  // Windows-1252, last line cut off
    for (unsigned seed = 1; seed < 10; ++seed) {
        LanguageTable garbage;
        garbage.LoadText("[Sections]\nS=\n[S]\n" + testing::PseudoRandomBytes(5000, seed));
        for (const TLangObj& entry : garbage.Entries()) EXPECT_FALSE(entry.key.empty());
    }
}

// A section named over and over in "Sections" cannot make the table grow without bound, and the
// look-ups are those of loading it each time.
TEST(LanguageTableTest, SectionsNamedRepeatedly) {
    std::string file = "[Sections]\n";
    for (int i = 0; i < 100000; ++i) file += i % 2 ? "A=\n" : "B=\n";
    file += "[A]\n";
    for (int i = 0; i < 1000; ++i) file += fmt::format("strA{}=a\n", i);
    file += "strBoth=from A\n[B]\nstrBoth=from B\n";
    LanguageTable table;
    table.LoadText(file);
    EXPECT_EQ(table.Entries().size(), 1002u);
    EXPECT_EQ(table.Lookup("strBoth"), "from A");  // A is named last
}

TEST(LanguageTableTest, InstalledLanguageAnswersTheProgramsTexts) {
    TempFolder folder;
    WriteBytes(folder / "french.lng", kFile);
    ASSERT_TRUE(LoadLanguage(folder / "french.lng"));
    EXPECT_EQ(Text("strNoDrawings", "No drawings"), "Aucun dessin disponible");
    EXPECT_EQ(Text("strEmpty", "Built-in"), "Built-in");
    EXPECT_EQ(Text("strUnknown", "Built-in"), "Built-in");
    EXPECT_EQ(InstalledLanguageCode(), "03");

    // A language that cannot be loaded leaves the installed one in place.
    const IoStatus failed = LoadLanguage(folder / "missing.lng");
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.message, "Unable to read " + (folder / "missing.lng").string());
    EXPECT_EQ(Text("strNoDrawings", "No drawings"), "Aucun dessin disponible");

    InstallLanguage(nullptr);
    EXPECT_EQ(Text("strNoDrawings", "No drawings"), "No drawings");
    EXPECT_EQ(InstalledLanguage(), nullptr);
    EXPECT_EQ(InstalledLanguageCode(), "01");

    LanguageTable missing;
    EXPECT_FALSE(missing.Load(folder / "missing.lng"));
    EXPECT_TRUE(missing.Empty());
    EXPECT_EQ(missing.LanguageNumber(), "1");
}

TEST(LanguageTableTest, ProductTextsFillOnlyWhatTheLanguageLeavesOpen) {
    TempFolder folder;
    WriteBytes(folder / "french.lng", kFile + "[Captions]\r\n11=Cylindr\xC3\xA9e\r\n");
    WriteBytes(folder / "catalogue-texts.ini",
               "; product texts\n[Catalogue]\n11=Displacement\n12=Compressor type\n"
               "strCS1=KSA scroll\n[Other]\n13=never taken\n");
    ASSERT_TRUE(LoadLanguage(folder / "french.lng", folder / "catalogue-texts.ini"));
    EXPECT_EQ(Text("11", "M11"), "Cylindr\xC3\xA9e");  // the language's own translation wins
    EXPECT_EQ(Text("12", "M12"), "Compressor type");
    EXPECT_EQ(Text("strCS1", ""), "KSA scroll");
    EXPECT_EQ(Text("13", "M13"), "M13");  // only the product section counts
    EXPECT_EQ(Text("strNoDrawings", "No drawings"), "Aucun dessin disponible");

    // Without the product texts the language still loads.
    ASSERT_TRUE(LoadLanguage(folder / "french.lng", folder / "missing.ini"));
    EXPECT_EQ(Text("12", "M12"), "M12");
    EXPECT_EQ(Text("strNoDrawings", "No drawings"), "Aucun dessin disponible");
    // A language that cannot be read installs nothing, product texts or not.
    EXPECT_FALSE(LoadLanguage(folder / "missing.lng", folder / "catalogue-texts.ini"));
    EXPECT_EQ(Text("12", "M12"), "M12");
    InstallLanguage(nullptr);
}

TEST(LanguageTableTest, ComponentsTakeCaptionsAndHintsByName) {
    auto table = std::make_shared<LanguageTable>();
    table->LoadText(kFile);
    InstallLanguage(table);
    struct Case {
        std::string name;
        ComponentKind kind;
        std::optional<std::string> caption;
        std::optional<std::string> hint;
    };
    const Case cases[] = {
        {"btnPrint", ComponentKind::Button, "Imprimer", "Imprimer le tableau"},
        {"btnPrint", ComponentKind::OtherControl, std::nullopt, "Imprimer le tableau"},
        {"btnPrint", ComponentKind::MenuItem, "Imprimer", std::nullopt},
        {"btnPrint", ComponentKind::NonVisual, std::nullopt, std::nullopt},
        {"lblSupply", ComponentKind::Label, "Alimentation \xC3\xA9lectrique", std::nullopt},
        {"strEmpty", ComponentKind::Label, std::nullopt, std::nullopt},  // empty text: no change
        {"edCapacity", ComponentKind::OtherControl, std::nullopt, std::nullopt},
        {"", ComponentKind::Label, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const ComponentTexts texts = TextsForComponent(c.name, c.kind);
        EXPECT_EQ(texts.caption, c.caption) << c.name;
        EXPECT_EQ(texts.hint, c.hint) << c.name;
    }
    EXPECT_EQ(HintKey("btnPrint"), "hntPrint");
    EXPECT_EQ(HintKey("ab"), "hnt");
    EXPECT_EQ(WindowCaption("frmPreferences"),
              "Pr\xC3\xA9"
              "f\xC3\xA9rences");
    EXPECT_EQ(WindowCaption("frmCustomer"), std::nullopt);
    InstallLanguage(nullptr);
}

TEST(LanguageTableTest, LanguageFilesOfAFolder) {
    TempFolder folder;
    WriteBytes(folder / "german.lng", "");
    WriteBytes(folder / "ENGLISH.LNG", "");
    WriteBytes(folder / "notes.txt", "");
    fs::create_directory(folder / "folder.lng");
    EXPECT_EQ(LanguageFiles(folder.path()),
              (std::vector<std::string>{"ENGLISH.LNG", "german.lng"}));
}

}  // namespace
}  // namespace kelvra
