// The family pages of the main window on the small product database, on the offscreen platform:
// each mode shows its own page of families, a tick there selects from those families, and the
// result tabs that do not apply to the mode are hidden.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <memory>

#include "main_window.hpp"
#include "property_library.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "family_pages_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own objects may already be gone.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

class FamilyPagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
        Settings settings;
        settings.refrigerant = "R134a";
        ASSERT_TRUE(SaveSettingsFile(user.path() / std::string(kSettingsFileName), settings));
        window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([](const QString&) {});
        window->show();
        ASSERT_TRUE(window->databaseUsable()) << window->databaseProblem().toStdString();
    }

    // The entry of the family called `name` in the list `list`.
    QTreeWidgetItem* FamilyEntry(const char* list, const QString& name) const {
        auto* tree = window->findChild<QTreeWidget*>(list);
        for (int s = 0; tree != nullptr && s < tree->topLevelItemCount(); ++s) {
            QTreeWidgetItem* section = tree->topLevelItem(s);
            for (int i = 0; i < section->childCount(); ++i)
                if (section->child(i)->text(0) == name) return section->child(i);
        }
        return nullptr;
    }

    QString SummaryValue(const QString& label) const {
        const auto* table = window->findChild<QTableWidget*>("detsGrid");
        for (int row = 0; table != nullptr && row < table->rowCount(); ++row)
            if (table->item(row, 0) && table->item(row, 0)->text() == label)
                return table->item(row, 1) ? table->item(row, 1)->text() : QString();
        return {};
    }

    bool TabShown(const QString& caption) const {
        const auto* tabs = window->findChild<QTabWidget*>("pgResults");
        for (int i = 0; tabs != nullptr && i < tabs->count(); ++i)
            if (tabs->tabText(i) == caption) return tabs->isTabVisible(i);
        return false;
    }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
    std::unique_ptr<TfrmActivity> window;
};

TEST_F(FamilyPagesTest, ControlsModesSelectFromTheOrdaPage) {
    window->setActivityMode(ActivityMode::SolenoidValves);
    const auto* pages = window->findChild<QTabWidget*>("pgFamilies");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->currentIndex(), static_cast<int>(FamilyPage::Orda));

    // Both valve families are listed under their sections; ticking the solenoid valves selects
    // from them.
    ASSERT_NE(FamilyEntry("lstOrda", "Thermal Valves"), nullptr);
    QTreeWidgetItem* solenoids = FamilyEntry("lstOrda", "Solenoid Valves");
    ASSERT_NE(solenoids, nullptr);
    EXPECT_EQ(solenoids->parent()->text(0), "Solenoid Valves");
    solenoids->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(window->driver()->families()[FamilyPage::Orda].Contains(3));
    ASSERT_EQ(window->driver()->candidates().size(), 1u);
    ASSERT_NE(window->driver()->selectedModel(), nullptr);
    EXPECT_EQ(window->driver()->selectedModel()->name, "SV-3");

    // The summary names the valve; the fixture's correction table has no data at this point, so
    // the summary says so instead of showing figures. No envelope, drawing, motor codes or notes
    // for a valve.
    EXPECT_EQ(SummaryValue("Valve"), "SV-3");
    EXPECT_LT(window->driver()->selectedModel()->Status(), 0);
    EXPECT_EQ(SummaryValue(""), "Operating conditions outside limits");
    EXPECT_TRUE(SummaryValue("Nominal capacity").isEmpty());
    EXPECT_FALSE(TabShown("Envelope"));
    EXPECT_FALSE(TabShown("Drawing"));
    EXPECT_FALSE(TabShown("Motor Codes"));
    EXPECT_TRUE(TabShown("Tech Data"));

    // Back to compressors: their page and tabs return.
    window->setActivityMode(ActivityMode::Compressors);
    EXPECT_EQ(pages->currentIndex(), static_cast<int>(FamilyPage::Compressors));
    EXPECT_TRUE(TabShown("Envelope"));
    EXPECT_TRUE(TabShown("Motor Codes"));
}

TEST_F(FamilyPagesTest, HeatPumpModesShowTheHeatPumpPage) {
    window->setActivityMode(ActivityMode::AirWaterHeatPumps);
    const auto* pages = window->findChild<QTabWidget*>("pgFamilies");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->currentIndex(), static_cast<int>(FamilyPage::HeatPumps));
    EXPECT_FALSE(TabShown("Tech Data"));
    EXPECT_FALSE(TabShown("Accessories"));
    EXPECT_TRUE(TabShown("Envelope"));
}

}  // namespace
}  // namespace kelvra
