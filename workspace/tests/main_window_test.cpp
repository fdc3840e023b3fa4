// The main window on a small product database, on the offscreen platform: the settings written
// when it closes, typing an operating point in Imperial units, and the question about a changed
// project before closing.

#include "main_window.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "project_file.hpp"
#include "property_library.hpp"
#include "refrigerant.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"
#include "units.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "workspace_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own objects may already be gone.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

// Capacity scale of the fixture's R134a compressors of family 1 at 50 Hz.
double ScaleOf(const std::string& name) {
    static const std::map<std::string, double> scales = {
        {"KS-05", 0.5}, {"KS-07", 0.75}, {"KS-10", 1.0}, {"KS-12", 1.2}, {"KS-09N", 0.9}};
    const auto found = scales.find(name);
    return found == scales.end() ? 0.0 : found->second;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
    }

    std::unique_ptr<TfrmActivity> Start() {
        auto window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([this](const QString& text) { errors << text; });
        window->show();
        return window;
    }

    std::filesystem::path SettingsPath() const {
        return user.path() / std::string(kSettingsFileName);
    }

    // R134a compressors of family 1 at -10/40 degC with 10 K superheat, 10 kW required.
    void WriteSettings(UnitSystem units) const {
        Settings settings;
        settings.units = units;
        settings.refrigerant = "R134a";
        settings.compressorFamilies.Clear();
        settings.compressorFamilies.Add(1);
        OperatingConditions& c = settings.conditions;
        c.evapTemp = -10;
        c.condTemp = 40;
        c.superheat = 10;
        c.useSGR = false;
        c.subcooling = 0;
        c.liquidTempGiven = false;
        c.capacity = 10;
        ASSERT_TRUE(SaveSettingsFile(SettingsPath(), settings));
    }

    static QString Cell(const TfrmActivity& window, const char* grid, int row, int column) {
        const auto* table = window.findChild<QTableWidget*>(grid);
        if (table == nullptr || table->item(row, column) == nullptr) return {};
        return table->item(row, column)->text();
    }

    // The value of the summary row whose label begins with `label`.
    static QString SummaryValue(const TfrmActivity& window, const QString& label) {
        const auto* table = window.findChild<QTableWidget*>("detsGrid");
        for (int row = 0; table != nullptr && row < table->rowCount(); ++row)
            if (table->item(row, 0) && table->item(row, 0)->text().startsWith(label))
                return table->item(row, 1)->text();
        return {};
    }

    static void Type(QDoubleSpinBox* edit, const QString& text) {
        // the spin box's own line edit, as the user's keys reach it
        auto* line = edit->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        QTest::keyClicks(line, text);
    }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
    QStringList errors;
};

TEST_F(MainWindowTest, FirstRunThenClosedWritesTheSettingsFile) {
    ASSERT_FALSE(std::filesystem::exists(SettingsPath()));
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable()) << window->databaseProblem().toStdString();
    EXPECT_TRUE(window->firstRun());
    ASSERT_NE(window->driver(), nullptr);
    EXPECT_EQ(window->driver()->refrigerant()->name, "R404A");
    // refrigeration: the scroll refrigeration family is ticked, not the air-conditioning one
    EXPECT_TRUE(window->driver()->families()[FamilyPage::Compressors].Contains(2));
    EXPECT_FALSE(window->driver()->families()[FamilyPage::Compressors].Contains(1));
    const TCModel* selected = window->driver()->selectedModel();
    if (selected != nullptr) {
        EXPECT_EQ(selected->familyNumber, 2);
        EXPECT_EQ(selected->refrigerant->name, "R404A");
    }
    // the summary shows the model, or says that there is none
    EXPECT_EQ(window->findChild<QLabel*>("lblNoModel")->isVisibleTo(window.get()),
              selected == nullptr);
    const std::string selectedName = selected ? selected->name : std::string();

    EXPECT_TRUE(window->close());
    ASSERT_TRUE(std::filesystem::exists(SettingsPath()));
    const SettingsLoad load = LoadSettingsFile(SettingsPath(), kDefaultHelpFile);
    ASSERT_TRUE(load.status) << load.status.FullText();
    EXPECT_EQ(load.settings.refrigerant, "R404A");
    EXPECT_EQ(load.settings.mode, ActivityMode::Compressors);
    EXPECT_EQ(load.settings.units, UnitSystem::SI);
    EXPECT_NEAR(load.settings.conditions.evapTemp, -10, 1e-9);
    EXPECT_NEAR(load.settings.conditions.condTemp, 45, 1e-9);
    EXPECT_NEAR(load.settings.conditions.capacity, 20, 1e-9);
    EXPECT_TRUE(load.settings.compressorFamilies.Contains(2));
    EXPECT_FALSE(load.settings.compressorFamilies.Contains(1));
    EXPECT_EQ(load.settings.modelName, selectedName);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();

    // the next start reads it back: no first run any more
    auto again = Start();
    EXPECT_FALSE(again->firstRun());
    EXPECT_EQ(again->driver()->refrigerant()->name, "R404A");
}

TEST_F(MainWindowTest, TypingAnEvaporatingTemperatureInImperialUnitsRecomputes) {
    WriteSettings(UnitSystem::Imperial);
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    auto* evap = window->findChild<QDoubleSpinBox*>("edEvap");
    ASSERT_NE(evap, nullptr);
    EXPECT_NEAR(evap->value(), 14.0, 1e-6);  // -10 degC
    // automatic choice: the capacity radio is on, whatever the 50/60 Hz radios show
    EXPECT_TRUE(window->findChild<QRadioButton*>("radCapacity")->isChecked());
    EXPECT_FALSE(window->findChild<QRadioButton*>("radManual")->isChecked());
    EXPECT_TRUE(window->findChild<QRadioButton*>("rad50")->isChecked());
    ASSERT_NE(window->driver()->selectedModel(), nullptr);
    EXPECT_EQ(window->driver()->selectedModel()->name, "KS-10");
    EXPECT_EQ(SummaryValue(*window, "Operating"), QString::fromUtf8("14.0 / 104.0 \u00B0F"));

    Type(evap, "5");  // 5 degF = -15 degC
    EXPECT_NEAR(window->driver()->conditions().evapTemp, -15.0, 1e-9);
    const TCModel* model = window->driver()->selectedModel();
    ASSERT_NE(model, nullptr);
    const double scale = ScaleOf(model->name);
    ASSERT_GT(scale, 0) << model->name;
    const double kw = testing::FixtureCapacity(scale, -15, 40);
    EXPECT_NEAR(model->Result(quantity::CoolingCapacity), kw, 1e-3 * kw);
    // at -15 degC KS-10 falls short of 98 % of 10 kW; KS-12 is the closest above
    EXPECT_EQ(model->name, "KS-12");

    EXPECT_EQ(SummaryValue(*window, "Operating"), QString::fromUtf8("5.0 / 104.0 \u00B0F"));
    EXPECT_EQ(Cell(*window, "detsGrid", 1, 1), "KS-12");
    const QString capacity = SummaryValue(*window, "Cooling capacity");
    ASSERT_FALSE(capacity.isEmpty());
    bool number = false;
    const double shown = capacity.trimmed().toDouble(&number);
    ASSERT_TRUE(number) << capacity.toStdString();
    EXPECT_NEAR(shown, kw * 3.412142, 0.06);  // kBtu/h
    const auto* table = window->findChild<QTableWidget*>("detsGrid");
    bool unitShown = false;
    for (int row = 0; row < table->rowCount(); ++row)
        unitShown = unitShown || table->item(row, 0)->text().contains("kBtu/h");
    EXPECT_TRUE(unitShown);
}

TEST_F(MainWindowTest, SwitchingUnitsConvertsTheInputsAndKeepsThePoint) {
    WriteSettings(UnitSystem::SI);
    auto window = Start();
    auto* evap = window->findChild<QDoubleSpinBox*>("edEvap");
    auto* cap = window->findChild<QDoubleSpinBox*>("edCap");
    ASSERT_NE(evap, nullptr);
    EXPECT_NEAR(evap->value(), -10.0, 1e-6);
    window->setUnitSystem(UnitSystem::Imperial);
    EXPECT_NEAR(evap->value(), 14.0, 1e-6);
    EXPECT_NEAR(cap->value(), 34.12, 0.01);
    // showing the values in other units changes nothing of the point
    EXPECT_NEAR(window->driver()->conditions().evapTemp, -10.0, 1e-9);
    EXPECT_NEAR(window->driver()->conditions().capacity, 10.0, 1e-9);
    EXPECT_EQ(window->driver()->selectedModel()->name, "KS-10");
}

TEST_F(MainWindowTest, ClosingWithAChangedProjectAsksAndCancelKeepsTheWindowOpen) {
    WriteSettings(UnitSystem::SI);
    auto window = Start();
    const std::filesystem::path project = user.path() / "cold-store.kvj";
    ASSERT_TRUE(window->saveProject(project));
    std::filesystem::remove(SettingsPath());

    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    window->setQuestion([&](const QString& text, QMessageBox::StandardButtons) {
        questions << text;
        return answer;
    });

    auto* evap = window->findChild<QDoubleSpinBox*>("edEvap");
    Type(evap, "-20");
    EXPECT_NEAR(window->driver()->conditions().evapTemp, -20.0, 1e-9);

    EXPECT_FALSE(window->close());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QString::fromStdString(project.string())));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()));  // cancelled: nothing written

    // "No": the window closes, the settings are written, the project file keeps its point
    answer = QMessageBox::No;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(questions.size(), 2);
    EXPECT_TRUE(std::filesystem::exists(SettingsPath()));
    const ProjectLoad saved = ReadProjectFile(project, ProjectRecord{});
    ASSERT_TRUE(saved.status);
    EXPECT_NEAR(saved.project.conditions.evapTemp, -10.0, 1e-9);
}

TEST_F(MainWindowTest, AnsweringYesSavesTheProjectBeforeClosing) {
    WriteSettings(UnitSystem::SI);
    auto window = Start();
    const std::filesystem::path project = user.path() / "chiller.kvj";
    ASSERT_TRUE(window->saveProject(project));
    int asked = 0;
    window->setQuestion([&](const QString&, QMessageBox::StandardButtons) {
        ++asked;
        return QMessageBox::Yes;
    });
    Type(window->findChild<QDoubleSpinBox*>("edEvap"), "-25");
    EXPECT_TRUE(window->close());
    EXPECT_EQ(asked, 1);
    const ProjectLoad saved = ReadProjectFile(project, ProjectRecord{});
    ASSERT_TRUE(saved.status);
    EXPECT_NEAR(saved.project.conditions.evapTemp, -25.0, 1e-9);

    // a saved project that is unchanged closes without a question
    auto next = Start();
    ASSERT_TRUE(next->loadProject(project));
    EXPECT_NEAR(next->driver()->conditions().evapTemp, -25.0, 1e-9);
    next->setQuestion([&](const QString&, QMessageBox::StandardButtons) {
        ++asked;
        return QMessageBox::Cancel;
    });
    EXPECT_TRUE(next->close());
    EXPECT_EQ(asked, 1);
}

TEST_F(MainWindowTest, AProjectThatCannotBeSavedKeepsTheWindowOpen) {
    WriteSettings(UnitSystem::SI);
    auto window = Start();
    const std::filesystem::path folder = user.path() / "jobs";
    std::filesystem::create_directories(folder);
    const std::filesystem::path project = folder / "freezer.kvj";
    ASSERT_TRUE(window->saveProject(project));
    std::filesystem::remove_all(folder);  // the folder is gone: saving fails
    window->setQuestion([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
    Type(window->findChild<QDoubleSpinBox*>("edEvap"), "-30");

    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("freezer.kvj")) << errors[0].toStdString();
    EXPECT_NEAR(window->driver()->conditions().evapTemp, -30.0, 1e-9);  // the change is kept
}

TEST_F(MainWindowTest, AnUnusableDatabaseIsReportedAndWritesNoSettings) {
    testing::ScratchFolder empty;
    folders.data = empty.path();
    auto window = std::make_unique<TfrmActivity>(folders);
    EXPECT_FALSE(window->databaseUsable());
    EXPECT_TRUE(window->databaseProblem().contains("not usable"))
        << window->databaseProblem().toStdString();
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

}  // namespace
}  // namespace kelvra
