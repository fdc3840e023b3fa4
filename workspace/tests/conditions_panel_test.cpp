// The conditions panel inside the main window, on the offscreen platform: the inputs each mode
// shows, pressures typed in Imperial units, the standard-point buttons and the EN/ARI choice,
// the required pressure difference of solenoid valves, and the status bar without candidates.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <memory>
#include <string>

#include "conditions_panel.hpp"
#include "main_window.hpp"
#include "property_library.hpp"
#include "refrigerant.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"
#include "units.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "conditions_panel_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

constexpr double F(double fahrenheit) { return (fahrenheit - 32.0) * 5.0 / 9.0; }

class ConditionsPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
    }

    // R134a at -10/40 degC, 10 K superheat, 10 kW; scroll compressors and the solenoid valves
    // ticked.
    std::unique_ptr<TfrmActivity> Start(UnitSystem units, int compressorFamily = 1,
                                        bool automatic = true) {
        Settings settings;
        settings.units = units;
        settings.refrigerant = "R134a";
        settings.autoSelect = automatic;
        settings.compressorFamilies.Clear();
        settings.compressorFamilies.Add(compressorFamily);
        settings.condensingUnitFamilies.Clear();
        settings.condensingUnitFamilies.Add(1);
        settings.controlsFamilies.Clear();
        settings.controlsFamilies.Add(3);
        OperatingConditions& c = settings.conditions;
        c.evapTemp = -10;
        c.condTemp = 40;
        c.superheat = 10;
        c.useSGR = false;
        c.subcooling = 0;
        c.liquidTempGiven = false;
        c.capacity = 10;
        EXPECT_TRUE(SaveSettingsFile(user.path() / std::string(kSettingsFileName), settings));
        auto window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([](const QString& text) { ADD_FAILURE() << text.toStdString(); });
        window->show();
        EXPECT_TRUE(window->databaseUsable());
        return window;
    }

    template <typename W>
    static W* Child(const TfrmActivity& window, const char* name) {
        W* widget = window.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static bool Shown(const TfrmActivity& window, const char* name) {
        const QWidget* widget = window.findChild<QWidget*>(name);
        return widget != nullptr && widget->isVisibleTo(&window);
    }

    static void Type(QDoubleSpinBox* edit, const QString& text) {
        auto* line = edit->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        QTest::keyClicks(line, text);
    }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
};

TEST_F(ConditionsPanelTest, EachModeShowsItsOwnInputs) {
    auto window = Start(UnitSystem::SI);
    struct Case {
        ActivityMode mode;
        bool suction, liquid, orda, heatPump, nominal, ari;
        const char* condensingLabel;  // shown instead of the condensing box, or none
    };
    const Case cases[] = {
        {ActivityMode::Compressors, true, true, false, false, false, true, nullptr},
        {ActivityMode::CondensingUnits, true, false, false, false, false, false, "Ambient temp"},
        {ActivityMode::HeatPumpCompressors, true, true, false, false, false, false, nullptr},
        {ActivityMode::ExpansionValves, false, true, true, false, true, true, nullptr},
        {ActivityMode::SolenoidValves, false, true, true, false, false, true, nullptr},
        {ActivityMode::HeadPressureControls, false, true, true, false, false, true, nullptr},
        {ActivityMode::FilterDriers, false, true, true, false, false, false, nullptr},
        {ActivityMode::BrineWaterHeatPumps, false, false, false, true, false, false, nullptr},
        {ActivityMode::AirWaterHeatPumps, false, false, false, true, false, false, nullptr},
        {ActivityMode::Compressors, true, true, false, false, false, true, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(ToInt(k.mode));
        window->setActivityMode(k.mode);
        ASSERT_EQ(window->driver()->activityMode(), k.mode);
        const TfrmActivity& w = *window;
        EXPECT_EQ(Shown(w, "edEvap"), !k.heatPump);
        EXPECT_EQ(Shown(w, "edCond"), !k.heatPump);
        EXPECT_EQ(Shown(w, "edSuction"), k.suction);
        EXPECT_EQ(Shown(w, "edLiquid"), k.liquid);
        EXPECT_EQ(Shown(w, "edOrda"), k.orda);
        EXPECT_EQ(Shown(w, "edWaterOut"), k.heatPump);
        EXPECT_EQ(Shown(w, "edSourceIn"), k.heatPump);
        EXPECT_EQ(Shown(w, "pnlHeatPumpDiagrams"), k.heatPump);
        EXPECT_EQ(Shown(w, "btnHP1"), k.heatPump);
        EXPECT_EQ(Shown(w, "btnLT"), !k.heatPump);
        EXPECT_EQ(Shown(w, "btnNominal"), k.nominal);
        EXPECT_EQ(Shown(w, "radARI"), k.ari);
        EXPECT_EQ(Shown(w, "boxCond"), !k.heatPump && k.condensingLabel == nullptr);
        if (k.condensingLabel != nullptr) {
            EXPECT_TRUE(Shown(w, "lblCond"));
            EXPECT_TRUE(Child<QLabel>(w, "lblCond")->text().startsWith(k.condensingLabel));
        }
    }
    // The heat-pump inputs name their source.
    window->setActivityMode(ActivityMode::AirWaterHeatPumps);
    EXPECT_TRUE(Child<QLabel>(*window, "lblSourceIn")->text().startsWith("Air on"));
    EXPECT_EQ(Child<QPushButton>(*window, "btnHP1")->text(), "A7/W45");
    window->setActivityMode(ActivityMode::BrineWaterHeatPumps);
    EXPECT_TRUE(Child<QLabel>(*window, "lblSourceIn")->text().startsWith("Brine inlet"));
    // Without heat pumps in the database the status bar says so in words.
    EXPECT_TRUE(window->driver()->candidates().empty());
    EXPECT_TRUE(Child<QLabel>(*window, "lblStatus")->text().startsWith("No models"))
        << Child<QLabel>(*window, "lblStatus")->text().toStdString();
    Type(Child<QDoubleSpinBox>(*window, "edWaterOut"), "40");
    EXPECT_EQ(window->driver()->conditions().waterOutletTemp, 40.0f);
    EXPECT_TRUE(Child<QLabel>(*window, "lblStatus")->text().startsWith("No models"));
    Child<QPushButton>(*window, "btnHP3")->click();
    EXPECT_EQ(window->driver()->conditions().sourceInletTemp, 5.0f);
    EXPECT_EQ(window->driver()->conditions().waterOutletTemp, 35.0f);
    EXPECT_TRUE(Child<QPushButton>(*window, "btnHP3")->isChecked());
}

TEST_F(ConditionsPanelTest, PressuresAreTypedInPsiAndStoredInBar) {
    auto window = Start(UnitSystem::Imperial);
    auto* box = Child<QComboBox>(*window, "boxCond");
    auto* cond = Child<QDoubleSpinBox>(*window, "edCond");
    EXPECT_NEAR(cond->value(), 104.0, 1e-6);
    box->setCurrentIndex(1);  // condensing pressure
    EXPECT_EQ(window->driver()->conditions().condByPressure, 1);
    const double shown = window->driver()->conditions().condPressure * 14.5;
    EXPECT_NEAR(cond->value(), shown, 0.006);
    EXPECT_TRUE(box->currentText().contains("psi")) << box->currentText().toStdString();

    Type(cond, "200");
    EXPECT_NEAR(window->driver()->conditions().condPressure, 200 / 14.5, 1e-9);
    const Trefrigerant* r134a = window->driver()->refrigerant();
    ASSERT_NE(r134a, nullptr);
    EXPECT_NEAR(window->driver()->conditions().condTemp,
                const_cast<Trefrigerant*>(r134a)->DewTemperature(200 / 14.5), 1e-6);
    // back to the temperature: it shows the temperature of that pressure in degF
    box->setCurrentIndex(0);
    EXPECT_EQ(window->driver()->conditions().condByPressure, 0);
    EXPECT_NEAR(cond->value(), window->driver()->conditions().condTemp * 1.8 + 32, 0.006);
}

TEST_F(ConditionsPanelTest, StandardButtonsLoadTheirPointAndStayDownUntilAnInputChanges) {
    auto window = Start(UnitSystem::Imperial);
    auto* mt = Child<QPushButton>(*window, "btnMT");
    auto* evap = Child<QDoubleSpinBox>(*window, "edEvap");
    mt->click();
    const OperatingConditions& c = window->driver()->conditions();
    EXPECT_NEAR(c.evapTemp, -10, 1e-12);
    EXPECT_NEAR(c.condTemp, 45, 1e-12);
    EXPECT_TRUE(c.useSGR);
    EXPECT_NEAR(c.suctionGasReturn, 20, 1e-12);
    EXPECT_NEAR(evap->value(), 14.0, 1e-6);
    EXPECT_NEAR(Child<QDoubleSpinBox>(*window, "edCond")->value(), 113.0, 1e-6);
    EXPECT_NEAR(Child<QDoubleSpinBox>(*window, "edSuction")->value(), 68.0, 1e-6);
    EXPECT_TRUE(mt->isChecked());
    EXPECT_TRUE(mt->toolTip().startsWith("EN 12900")) << mt->toolTip().toStdString();

    // ARI with MT down: the ARI point of the same button, shown in degF as defined.
    Child<QRadioButton>(*window, "radARI")->click();
    EXPECT_NEAR(c.evapTemp, F(20), 1e-9);
    EXPECT_NEAR(c.condTemp, F(120), 1e-9);
    EXPECT_NEAR(c.suctionGasReturn, F(65), 1e-9);
    EXPECT_NEAR(evap->value(), 20.0, 1e-6);
    EXPECT_TRUE(mt->isChecked());
    EXPECT_TRUE(mt->toolTip().startsWith("ARI")) << mt->toolTip().toStdString();

    Type(evap, "10");
    EXPECT_NEAR(c.evapTemp, F(10), 1e-9);
    EXPECT_FALSE(mt->isChecked());
    ASSERT_NE(window->driver()->selectedModel(), nullptr);
}

TEST_F(ConditionsPanelTest, SolenoidValvesTakeTheRequiredPressureDifference) {
    auto window = Start(UnitSystem::SI);
    window->setActivityMode(ActivityMode::SolenoidValves);
    auto* radio = Child<QRadioButton>(*window, "radCapacity");
    auto* cap = Child<QDoubleSpinBox>(*window, "edCap");
    EXPECT_TRUE(radio->text().startsWith("Required pressure difference"))
        << radio->text().toStdString();
    EXPECT_NEAR(cap->value(), 0.15, 1e-6);
    EXPECT_NEAR(cap->minimum(), 0.05, 1e-9);
    EXPECT_NEAR(cap->maximum(), 0.75, 1e-9);
    Type(cap, "0.3");
    EXPECT_EQ(window->driver()->conditions().ordaDiffPressure, 0.3f);
    EXPECT_EQ(window->driver()->conditions().capacity, 10);
    // the capacity of the valves is the Orda row's
    EXPECT_TRUE(Child<QLabel>(*window, "lblOrda")->text().startsWith("Required capacity"));
    Type(Child<QDoubleSpinBox>(*window, "edOrda"), "4");
    EXPECT_EQ(window->driver()->conditions().capacity, 4);

    window->setActivityMode(ActivityMode::Compressors);
    EXPECT_NEAR(cap->value(), 4, 1e-9);
    EXPECT_TRUE(radio->text().startsWith("Required capacity"));
}

TEST_F(ConditionsPanelTest, SpeedAndLoadInputsFollowTheCandidatesAndTheChoice) {
    // variable-speed and inverter-driven scrolls, chosen by hand
    auto window = Start(UnitSystem::SI, 3, false);
    ASSERT_TRUE(window->driver()->hasVariableSpeed());
    auto* speed = Child<QDoubleSpinBox>(*window, "edSpeed");
    auto* unit = Child<QComboBox>(*window, "boxSpeedUnit");
    EXPECT_TRUE(Shown(*window, "edSpeed"));
    EXPECT_FALSE(Shown(*window, "edLoad"));  // no load steps among these
    EXPECT_NEAR(speed->value(), 3000, 1e-9);
    unit->setCurrentIndex(1);  // Hz: the same speed, / 60
    EXPECT_NEAR(speed->value(), 50, 1e-9);
    EXPECT_EQ(window->driver()->conditions().rpm, 3000);
    Type(speed, "40");
    EXPECT_EQ(window->driver()->conditions().rpm, 2400);
    TCModel* variable = window->driver()->candidates().front();
    EXPECT_EQ(variable->Speed(), 2400);
    // automatic choice solves the speed: the input goes
    Child<QRadioButton>(*window, "radCapacity")->click();
    EXPECT_FALSE(Shown(*window, "edSpeed"));

    // models with a load step, by hand: the load input, 33 to 100 %
    auto loads = Start(UnitSystem::SI, 2, false);
    ASSERT_TRUE(loads->driver()->hasLoadControl());
    auto* load = Child<QSpinBox>(*loads, "edLoad");
    EXPECT_TRUE(Shown(*loads, "edLoad"));
    EXPECT_FALSE(Shown(*loads, "edSpeed"));
    EXPECT_EQ(load->minimum(), 33);
    EXPECT_EQ(load->value(), 100);
    load->setValue(50);
    EXPECT_EQ(loads->driver()->conditions().loadPercent, 50);
    ASSERT_NE(loads->driver()->selectedModel(), nullptr);
}

}  // namespace
}  // namespace kelvra
