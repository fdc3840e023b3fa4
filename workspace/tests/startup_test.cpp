// The start of the program: the start-up window's rules, the first settings its answers give,
// a first run answered in the start-up window and then closed, on the small product database.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <memory>

#include "main_window.hpp"
#include "product_records.hpp"
#include "property_library.hpp"
#include "refrigerant.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"
#include "startup_choices.hpp"
#include "startup_window.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "startup_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

void Touch(const std::filesystem::path& file, const std::string& text = "x") {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

std::unique_ptr<TFamily> Family(std::int16_t code, char kind, float category) {
    auto family = std::make_unique<TFamily>();
    family->code = code;
    family->kind = kind;
    family->category = category;
    return family;
}

// A database's families: scroll A/C (1) and refrigeration (2), semi-hermetic A/C (11) and
// refrigeration (12), heat-pump compressors, condensing units of categories 1, 3, 11 and 12,
// and built-in heat-pump families.
std::vector<std::unique_ptr<TFamily>> Families() {
    std::vector<std::unique_ptr<TFamily>> f;
    f.push_back(Family(1, TFamily::kCompressor, 1));
    f.push_back(Family(2, TFamily::kCompressor, 2));
    f.push_back(Family(3, TFamily::kCompressor, 11));
    f.push_back(Family(4, TFamily::kCompressor, 12));
    f.push_back(Family(5, TFamily::kHeatPumpCompressor, 2));
    f.push_back(Family(6, TFamily::kHeatPumpCompressor, 12));
    f.push_back(Family(1, TFamily::kCondensingUnit, 1));
    f.push_back(Family(2, TFamily::kCondensingUnit, 3));
    f.push_back(Family(3, TFamily::kCondensingUnit, 11));
    f.push_back(Family(4, TFamily::kCondensingUnit, 12));
    f.push_back(Family(70, TFamily::kHeatPump, 1));
    f.push_back(Family(72, TFamily::kHeatPump, 11));
    return f;
}

std::vector<int> Codes(const FamilySelection& set) {
    std::vector<int> codes;
    for (int code = 0; code <= 255; ++code)
        if (set.Contains(code)) codes.push_back(code);
    return codes;
}

struct FirstRunCase {
    const char* name;
    StartupApplication application;
    bool scroll;
    bool semi;
    ActivityMode mode;
    const char* refrigerant;
    std::vector<int> compressors;
    std::vector<int> units;
};

class FirstRunSettingsTest : public ::testing::TestWithParam<FirstRunCase> {};

TEST_P(FirstRunSettingsTest, TicksTheFamiliesOfTheChosenApplicationAndLines) {
    const FirstRunCase& c = GetParam();
    StartupChoices choices;
    choices.application = c.application;
    choices.scroll = c.scroll;
    choices.semiHermetic = c.semi;
    const Settings s = FirstRunSettings(choices, Families(), "/nonexistent");
    EXPECT_EQ(s.mode, c.mode);
    EXPECT_EQ(s.refrigerant, c.refrigerant);
    EXPECT_EQ(Codes(s.compressorFamilies), c.compressors);
    EXPECT_EQ(Codes(s.condensingUnitFamilies), c.units);
    EXPECT_EQ(Codes(s.heatPumpFamilies), std::vector<int>{70});
    EXPECT_TRUE(s.controlsFamilies.Empty());  // controls are never ticked at a first run
    EXPECT_NEAR(s.conditions.capacity, 20, 1e-12);
    // the first run's window and choice defaults
    EXPECT_EQ(s.window, WindowPlacement{});
    EXPECT_TRUE(s.autoSelect);
    EXPECT_EQ(s.units, UnitSystem::SI);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, FirstRunSettingsTest,
    ::testing::Values(
        FirstRunCase{"AirConditioningBoth", StartupApplication::AirConditioning, true, true,
                     ActivityMode::Compressors, "R407C", {1, 3}, {}},
        FirstRunCase{"RefrigerationSemiOnly", StartupApplication::Refrigeration, false, true,
                     ActivityMode::Compressors, "R404A", {4}, {}},
        FirstRunCase{"RefrigerationScrollOnly", StartupApplication::Refrigeration, true, false,
                     ActivityMode::Compressors, "R404A", {2}, {}},
        // condensing units: scroll below category 10 but not 3, semi-hermetic above 10
        FirstRunCase{"CondensingUnitsScroll", StartupApplication::CondensingUnits, true, false,
                     ActivityMode::CondensingUnits, "R404A", {}, {1}},
        FirstRunCase{"CondensingUnitsBoth", StartupApplication::CondensingUnits, true, true,
                     ActivityMode::CondensingUnits, "R404A", {}, {1, 3, 4}},
        // heating: every heat-pump compressor family, whatever the lines
        FirstRunCase{"Heating", StartupApplication::Heating, true, false,
                     ActivityMode::HeatPumpCompressors, "R407C", {5, 6}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirstRunConditionsTest, EachApplicationStartsAtItsOwnPoint) {
    auto settingsFor = [](StartupApplication application) {
        StartupChoices choices;
        choices.application = application;
        return FirstRunSettings(choices, Families(), "/nonexistent").conditions;
    };
    const OperatingConditions ac = settingsFor(StartupApplication::AirConditioning);
    EXPECT_DOUBLE_EQ(ac.evapTemp, 5);
    EXPECT_DOUBLE_EQ(ac.condTemp, 50);
    EXPECT_FALSE(ac.useSGR);
    EXPECT_DOUBLE_EQ(ac.superheat, 10);

    const OperatingConditions refrigeration = settingsFor(StartupApplication::Refrigeration);
    EXPECT_DOUBLE_EQ(refrigeration.evapTemp, -10);
    EXPECT_DOUBLE_EQ(refrigeration.condTemp, 45);
    EXPECT_TRUE(refrigeration.useSGR);
    EXPECT_DOUBLE_EQ(refrigeration.suctionGasReturn, 20);

    const OperatingConditions units = settingsFor(StartupApplication::CondensingUnits);
    EXPECT_DOUBLE_EQ(units.evapTemp, -10);
    EXPECT_DOUBLE_EQ(units.ambientTemp, 32);
    EXPECT_TRUE(units.useSGR);
    EXPECT_DOUBLE_EQ(units.suctionGasReturn, 20);
    EXPECT_DOUBLE_EQ(units.subcooling, 0);

    const OperatingConditions heating = settingsFor(StartupApplication::Heating);
    EXPECT_DOUBLE_EQ(heating.evapTemp, -8);
    EXPECT_DOUBLE_EQ(heating.condTemp, 50);
    EXPECT_DOUBLE_EQ(heating.subcooling, 4);
    EXPECT_DOUBLE_EQ(heating.superheat, 5);
    EXPECT_FALSE(heating.useSGR);
    for (const OperatingConditions* c : {&units, &heating}) {
        EXPECT_DOUBLE_EQ(c->suctionLineDrop, 0);
        EXPECT_DOUBLE_EQ(c->dischargeLineDrop, 0);
        EXPECT_TRUE(c->usefulAll);
        EXPECT_FALSE(c->liquidTempGiven);
        EXPECT_EQ(c->evapByPressure, 0);
        EXPECT_EQ(c->condByPressure, 0);
    }
}

TEST(FirstRunFallbackTest, ADatabaseWithoutTheChosenLinesStillOffersItsFamilies) {
    std::vector<std::unique_ptr<TFamily>> families;
    families.push_back(Family(8, TFamily::kCompressor, 13));
    StartupChoices choices;
    choices.application = StartupApplication::Refrigeration;
    EXPECT_EQ(Codes(FirstRunSettings(choices, families, "/nonexistent").compressorFamilies),
              std::vector<int>{8});
}

TEST(StartupRulesTest, OkNeedsALineThatTheApplicationHas) {
    struct Case {
        StartupApplication application;
        bool scroll;
        bool semi;
        bool ok;
    };
    const Case cases[] = {
        {StartupApplication::AirConditioning, true, true, true},
        {StartupApplication::AirConditioning, false, true, true},
        {StartupApplication::Refrigeration, false, false, false},
        {StartupApplication::Heating, true, false, true},
        {StartupApplication::Heating, false, true, false},  // heating has no semi-hermetic line
    };
    for (const Case& c : cases) {
        StartupChoices choices;
        choices.application = c.application;
        choices.scroll = c.scroll;
        choices.semiHermetic = c.semi;
        EXPECT_EQ(StartupOkEnabled(choices), c.ok)
            << static_cast<int>(c.application) << " " << c.scroll << " " << c.semi;
    }
    EXPECT_FALSE(WithApplication(StartupChoices{}, StartupApplication::Heating).semiHermetic);
}

TEST(StartupOfferTest, ListsLanguageFilesAndHelpSetsWithEnglishFirstChosen) {
    testing::ScratchFolder folder;
    Touch(folder.path() / "german.lng");
    Touch(folder.path() / "ENGLISH.LNG");
    Touch(folder.path() / "notes.txt");
    Touch(folder.path() / "help" / "english" / "index.html");
    Touch(folder.path() / "help" / "deutsch" / "index.html");
    Touch(folder.path() / "help" / "empty" / "other.html");  // no contents page: no help set
    const StartupOffer offer = StartupOfferFor(folder.path());
    EXPECT_EQ(offer.languages, (std::vector<std::string>{"ENGLISH", "GERMAN"}));
    EXPECT_EQ(offer.language, 0);
    EXPECT_EQ(offer.helps, (std::vector<std::string>{"deutsch", "english"}));
    EXPECT_EQ(offer.help, 1);

    // the choice names the files as the folder spells them
    StartupChoices choices;
    choices.language = "GERMAN";
    choices.help = "deutsch";
    Settings s = FirstRunSettings(choices, Families(), folder.path());
    EXPECT_EQ(s.language, "german.lng");
    EXPECT_EQ(s.help, (folder.path() / "deutsch.chm").string());
    // a help set that is not there leaves the help file alone
    choices.help = "francais";
    s = FirstRunSettings(choices, Families(), folder.path());
    EXPECT_EQ(s.help, Settings().help);
}

TEST(StartupOfferTest, AnEmptyFolderOffersNothing) {
    testing::ScratchFolder folder;
    const StartupOffer offer = StartupOfferFor(folder.path());
    EXPECT_TRUE(offer.languages.empty());
    EXPECT_EQ(offer.language, -1);
    EXPECT_EQ(offer.help, -1);
}

class StartupWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { Application(); }
    StartupOffer offer{{"ENGLISH", "GERMAN"}, {"english"}, 0, 0};
};

TEST_F(StartupWindowTest, HeatingUnticksAndDisablesTheSemiHermeticLine) {
    TfrmStartup window(InstallationFolder(), offer);
    auto* semi = window.findChild<QCheckBox*>("chkSemi");
    auto* scroll = window.findChild<QCheckBox*>("chkScroll");
    ASSERT_TRUE(semi && scroll);
    EXPECT_EQ(window.choices().application, StartupApplication::AirConditioning);
    EXPECT_TRUE(semi->isChecked());

    window.chooseApplication(StartupApplication::Heating);
    EXPECT_FALSE(semi->isChecked());
    EXPECT_FALSE(semi->isEnabled());
    EXPECT_TRUE(window.okEnabled());
    scroll->setChecked(false);
    EXPECT_FALSE(window.okEnabled());

    window.chooseApplication(StartupApplication::Refrigeration);
    EXPECT_TRUE(semi->isEnabled());
    EXPECT_FALSE(window.okEnabled());  // neither line ticked
    semi->setChecked(true);
    EXPECT_TRUE(window.okEnabled());
    const StartupChoices choices = window.choices();
    EXPECT_EQ(choices.application, StartupApplication::Refrigeration);
    EXPECT_FALSE(choices.scroll);
    EXPECT_TRUE(choices.semiHermetic);
    EXPECT_EQ(choices.language, "ENGLISH");
    EXPECT_EQ(choices.help, "english");
}

TEST_F(StartupWindowTest, AClickOnAPanelOrAPictureChooses) {
    TfrmStartup window(InstallationFolder(), offer);
    window.show();
    auto* panel = window.findChild<QFrame*>("pnlCondUnits");
    ASSERT_NE(panel, nullptr);
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window.choices().application, StartupApplication::CondensingUnits);
    EXPECT_TRUE(window.findChild<QRadioButton*>("radCondUnits")->isChecked());

    auto* picture = window.findChild<QLabel*>("picScroll");
    ASSERT_NE(picture, nullptr);
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_FALSE(window.choices().scroll);
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_TRUE(window.choices().scroll);
}

// A first run answered in the start-up window and then closed: the answers are in the settings.
class FirstRunWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
    }
    std::filesystem::path SettingsPath() const { return user.path() / std::string(kSettingsFileName); }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
};

TEST_F(FirstRunWindowTest, HeatingAnsweredInTheStartupWindowIsWrittenWhenTheWindowCloses) {
    int asked = 0;
    auto answer = [&asked](const StartupOffer& offer) {
        ++asked;
        TfrmStartup window(InstallationFolder(), offer);
        window.chooseApplication(StartupApplication::Heating);
        EXPECT_TRUE(window.okEnabled());
        return window.choices();
    };
    QStringList errors;
    auto window = std::make_unique<TfrmActivity>(folders, answer);
    window->setErrorNotice([&errors](const QString& text) { errors << text; });
    window->show();
    ASSERT_TRUE(window->databaseUsable());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->firstRun());
    EXPECT_EQ(window->driver()->activityMode(), ActivityMode::HeatPumpCompressors);
    // the small database has no R407C: its first refrigerant stands in
    ASSERT_NE(window->driver()->refrigerant(), nullptr);
    EXPECT_TRUE(window->driver()->families()[FamilyPage::Compressors].Contains(5));
    EXPECT_NEAR(window->driver()->conditions().evapTemp, -8, 1e-9);
    EXPECT_NEAR(window->driver()->conditions().subcooling, 4, 1e-9);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();

    const SettingsLoad load = LoadSettingsFile(SettingsPath(), kDefaultHelpFile);
    ASSERT_TRUE(load.exists);
    EXPECT_EQ(load.settings.mode, ActivityMode::HeatPumpCompressors);
    EXPECT_EQ(Codes(load.settings.compressorFamilies), std::vector<int>{5});
    EXPECT_NEAR(load.settings.conditions.evapTemp, -8, 1e-9);
    EXPECT_NEAR(load.settings.conditions.condTemp, 50, 1e-9);
    EXPECT_NEAR(load.settings.conditions.superheat, 5, 1e-9);
    EXPECT_FALSE(load.settings.conditions.useSGR);

    // the next start asks nothing
    auto again = std::make_unique<TfrmActivity>(folders, answer);
    again->show();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(again->firstRun());
    EXPECT_EQ(again->driver()->activityMode(), ActivityMode::HeatPumpCompressors);
}

}  // namespace
}  // namespace kelvra
