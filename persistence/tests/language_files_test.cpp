// The language files of the installation: "english.lng" holds every key the program uses with
// exactly its built-in English text, every translation holds the same keys, and the build puts
// them into the installation folder.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "file_fixtures.hpp"
#include "language_keys.hpp"
#include "language_table.hpp"
#include "operating_conditions.hpp"
#include "property_library.hpp"
#include "quantity_heading.hpp"
#include "safe_file.hpp"
#include "text_encoding.hpp"

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using testing::FoundText;

const fs::path kSource = KELVRA_SOURCE_DIR;
const fs::path kLanguageFolder = kSource / "lang";

TEST(LanguageKeysTest, SourcesGiveTheirKeysAndDefaults) {
    const std::string source = R"src(
        // Text("strComment", "ignored") /* Text("strBlock", "ignored") */
        constexpr std::string_view kLong = "Liquid temperature, liquid outlet";
        const char quote = '"';
        const unsigned mask = 0xFFFF'FFFFu;
        a = Text("strA", "Alpha");
        b = Text("strB", kLong);
        c = Text(key, "dynamic");
        t = T("tabE", "Epsilon");
        u = Caption("btnF", "&Zeta");
        v = QT("strNotShorthand", "x");
        d = node.Text("strMember", "not a language text");
        e = node->Text("strPointer", "not a language text");
        Heading{"litC", "Gamma" " joined"},
        {"notAKey", "x"},
        {"strD", "Delta \"quoted\""}
    )src";
    const auto found = testing::ScanSource(source, "x.cpp");
    std::map<std::string, std::string> texts;
    for (const FoundText& f : found) texts[f.key] = f.english;
    EXPECT_EQ(texts, (std::map<std::string, std::string>{
                         {"strA", "Alpha"},
                         {"strB", "Liquid temperature, liquid outlet"},
                         {"litC", "Gamma joined"},
                         {"strD", "Delta \"quoted\""},
                         {"tabE", "Epsilon"},
                         {"btnF", "&Zeta"},
                     }));

    const std::string ui = R"ui(
        <widget class="QDialog" name="frmCustomer">
         <property name="windowTitle"><string>Project Details</string></property>
         <widget class="QPushButton" name="btnOK">
          <property name="text"><string>&amp;OK</string></property>
          <property name="toolTip"><string notr="true">Keep the details</string></property>
         </widget>
         <widget class="QLineEdit" name="edProject"/>
         <action name="mnuFileSave"><property name="text"><string>Save Project</string></property></action>
        </widget>
    )ui";
    texts.clear();
    for (const FoundText& f : testing::ScanUi(ui, "x.ui")) texts[f.key] = f.english;
    EXPECT_EQ(texts, (std::map<std::string, std::string>{
                         {"frmCustomer", "Project Details"},
                         {"btnOK", "&OK"},
                         {"hntOK", "Keep the details"},
                         {"mnuFileSave", "Save Project"},
                     }));
}

// Keys of a language file, each once, with their texts.
std::map<std::string, std::string> KeysOf(const fs::path& file, std::string* number = nullptr) {
    LanguageTable table;
    const IoStatus status = table.Load(file);
    EXPECT_TRUE(status) << status.FullText();
    std::map<std::string, std::string> keys;
    for (const TLangObj& entry : table.Entries()) {
        EXPECT_TRUE(keys.emplace(entry.key, entry.text).second)
            << file.filename() << " defines " << entry.key << " twice";
        EXPECT_FALSE(entry.text.empty()) << file.filename() << ": " << entry.key;
    }
    if (number) *number = table.LanguageNumber();
    return keys;
}

TEST(LanguageFilesTest, EnglishHoldsEveryKeyWithItsBuiltInText) {
    const std::vector<FoundText> found = testing::CollectLanguageTexts(kSource);
    ASSERT_FALSE(found.empty());
    std::map<std::string, FoundText> code;
    for (const FoundText& f : found) {
        const auto [it, added] = code.emplace(f.key, f);
        EXPECT_TRUE(added || it->second.english == f.english)
            << f.key << " has two built-in texts: \"" << it->second.english << "\" ("
            << it->second.where << ") and \"" << f.english << "\" (" << f.where << ")";
    }
    std::string number;
    const auto english = KeysOf(kLanguageFolder / "english.lng", &number);
    EXPECT_EQ(number, "1");
    for (const auto& [key, f] : code) {
        const auto it = english.find(key);
        if (it == english.end()) {
            ADD_FAILURE() << "english.lng lacks " << key << "=" << f.english << " (" << f.where
                          << ")";
            continue;
        }
        EXPECT_EQ(it->second, f.english) << key << " differs from its built-in text in " << f.where;
    }
}

// What the program actually asks for while it builds its headings is in the file too.
TEST(LanguageFilesTest, HeadingsAskOnlyForKeysOfTheFile) {
    class Recorder : public LanguageTextProvider {
      public:
        std::string Lookup(std::string_view key) const override {
            keys.insert(std::string(key));
            return {};
        }
        mutable std::set<std::string> keys;
    };
    const auto english = KeysOf(kLanguageFolder / "english.lng");
    auto recorder = std::make_shared<Recorder>();
    for (const bool advanced : {false, true})
        for (const bool usefulAll : {false, true})
            for (const UnitSystem system : {UnitSystem::SI, UnitSystem::Imperial, UnitSystem::Kcal})
                for (std::int32_t mode = 0; mode < kActivityModeCount; ++mode)
                    for (QuantityCode code = 0; code <= 40; ++code) {
                        OperatingConditions conditions;
                        conditions.advanced = advanced;
                        conditions.usefulAll = usefulAll;
                        const auto activity = static_cast<ActivityMode>(mode);
                        InstallLanguageTexts(recorder);
                        const std::size_t before = recorder->keys.size();
                        (void)QuantityHeading(code, system, activity, conditions);
                        InstallLanguageTexts(nullptr);
                        const std::string builtIn =
                            QuantityHeading(code, system, activity, conditions);
                        if (recorder->keys.size() == before || builtIn.empty()) continue;
                        // The English file gives exactly the built-in heading.
                        auto table = std::make_shared<LanguageTable>();
                        ASSERT_TRUE(table->Load(kLanguageFolder / "english.lng"));
                        InstallLanguageTexts(table);
                        EXPECT_EQ(QuantityHeading(code, system, activity, conditions), builtIn);
                        InstallLanguageTexts(nullptr);
                    }
    EXPECT_FALSE(recorder->keys.empty());
    for (const std::string& key : recorder->keys) EXPECT_TRUE(english.count(key)) << key;
}

TEST(LanguageFilesTest, TranslationsHoldTheSameKeys) {
    const auto english = KeysOf(kLanguageFolder / "english.lng");
    std::string number;
    const auto german = KeysOf(kLanguageFolder / "german.lng", &number);
    EXPECT_EQ(number, "2");
    for (const std::string& name : LanguageFiles(kLanguageFolder)) {
        SCOPED_TRACE(name);
        const FileContents bytes = ReadWholeFile(kLanguageFolder / name);
        EXPECT_TRUE(IsValidUtf8(bytes.bytes));
        std::map<std::string, std::string> keys = KeysOf(kLanguageFolder / name);
        for (const auto& [key, text] : english) EXPECT_TRUE(keys.count(key)) << "lacks " << key;
        for (const auto& [key, text] : keys) EXPECT_TRUE(english.count(key)) << "unknown " << key;
    }
    // A translation, not a copy: most texts differ from the English ones.
    std::size_t same = 0;
    for (const auto& [key, text] : german) same += english.at(key) == text;
    EXPECT_LT(same * 4, german.size());
}

// The build copies the language files into the installation folder beside the programs.
TEST(LanguageFilesTest, InstalledBesideThePrograms) {
    const fs::path installation = InstallationFolder();
    for (const std::string& name : LanguageFiles(kLanguageFolder)) {
        const FileContents installed = ReadWholeFile(installation / name);
        ASSERT_TRUE(installed.status) << installed.status.FullText();
        EXPECT_EQ(installed.bytes, ReadWholeFile(kLanguageFolder / name).bytes) << name;
    }
    const IoStatus loaded = LoadLanguage(installation / "german.lng");
    EXPECT_TRUE(loaded) << loaded.FullText();
    EXPECT_EQ(Text("litPower", "Power input"), "Leistungsaufnahme");
    EXPECT_EQ(InstalledLanguageCode(), "02");
    InstallLanguage(nullptr);
}

}  // namespace
}  // namespace kelvra
