// The advanced operating-conditions window: its parameters, the pressure equivalents of the line
// drops, the subcooling after each edit, the record the main window takes on OK, and the window
// itself opened from the main window on the small product database.

#include "advanced_window.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QTest>
#include <QPushButton>
#include <cmath>
#include <memory>

#include <fmt/format.h>

#include "main_window.hpp"
#include "property_library.hpp"
#include "refrigerant.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"

namespace kelvra {
namespace {

using P = AdvancedParameter;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "advanced_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

class AdvancedEditorTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(libraries.loaded.general && libraries.loaded.co2); }

    static OperatingConditions Point(Trefrigerant& ref, double te, double tc) {
        OperatingConditions c;
        c.evapTemp = te;
        c.condTemp = tc;
        c.superheat = 10;
        c.usefulSuperheat = 5;
        c.subcooling = 2;
        EXPECT_EQ(Resolve(c, &ref), ResolveOk);
        return c;
    }

    testing::PropertyLibraries libraries;
};

TEST_F(AdvancedEditorTest, LineDropsShowTheirSaturationPressureDifference) {
    Trefrigerant r404a("R404A", 5, 'G', 1.12f);
    const OperatingConditions c = Point(r404a, -10, 45);
    const double suction = r404a.DewPressure(-10) - r404a.DewPressure(-11);
    const double discharge = r404a.DewPressure(46) - r404a.DewPressure(45);

    AdvancedConditionsEditor si(&r404a, c, UnitSystem::SI, false);
    EXPECT_EQ(si.pressureDropText(P::SuctionLineDrop), "(0 mbar)");
    si.setDisplayValue(P::SuctionLineDrop, 1.0);
    si.setDisplayValue(P::DischargeLineDrop, 1.0);
    EXPECT_EQ(si.pressureDropText(P::SuctionLineDrop),
              fmt::format("({} mbar)", std::lround(suction * 1000)));
    EXPECT_EQ(si.pressureDropText(P::DischargeLineDrop),
              fmt::format("({} mbar)", std::lround(discharge * 1000)));
    EXPECT_EQ(si.pressureDropText(P::LiquidTemp), "");

    // Imperial: a drop of 1 K is typed as 1.8 F and shown in psi with one decimal
    AdvancedConditionsEditor imperial(&r404a, c, UnitSystem::Imperial, false);
    imperial.setDisplayValue(P::SuctionLineDrop, 1.8);
    EXPECT_NEAR(imperial.conditions().suctionLineDrop, 1.0, 1e-9);
    EXPECT_EQ(imperial.pressureDropText(P::SuctionLineDrop),
              fmt::format("({:.1f} psi)", suction * 14.5037738));

    // differences below zero are none
    si.setDisplayValue(P::SuctionLineDrop, -3);
    EXPECT_DOUBLE_EQ(si.conditions().suctionLineDrop, 0.0);
    EXPECT_EQ(si.pressureDropText(P::SuctionLineDrop), "(0 mbar)");
}

TEST_F(AdvancedEditorTest, EveryEditDerivesTheSubcoolingFromTheLiquidTemperature) {
    Trefrigerant r404a("R404A", 5, 'G', 1.12f);
    OperatingConditions c = Point(r404a, -10, 45);
    AdvancedConditionsEditor editor(&r404a, c, UnitSystem::SI, false);
    editor.select(P::LiquidTemp);
    const double bubble = r404a.BubbleTemperature(c.condPressure);
    editor.setDisplayValue(P::LiquidTemp, 40);
    EXPECT_NEAR(editor.conditions().subcooling, bubble - 40, 1e-9);
    EXPECT_FALSE(editor.liquidWarning());
    editor.setDisplayValue(P::LiquidTemp, bubble + 1);  // warmer than the bubble point
    EXPECT_LT(editor.conditions().subcooling, 0);
    EXPECT_TRUE(editor.liquidWarning());
    editor.select(P::SuctionGasReturn);
    EXPECT_FALSE(editor.liquidWarning());  // only while the liquid is edited

    // a single-component refrigerant counts from the condensing temperature
    Trefrigerant r134a("R134a", 1, 'N', 1.11f);
    AdvancedConditionsEditor pure(&r134a, Point(r134a, -10, 40), UnitSystem::SI, false);
    pure.setDisplayValue(P::LiquidTemp, 33);
    EXPECT_NEAR(pure.conditions().subcooling, 7, 1e-9);
}

TEST_F(AdvancedEditorTest, ParametersTabOrderAndTheTranscriticalLayout) {
    Trefrigerant r404a("R404A", 5, 'G', 1.12f);
    AdvancedConditionsEditor editor(&r404a, Point(r404a, -10, 45), UnitSystem::SI, true);
    const std::vector<P> plain = {P::SuctionLineDrop, P::DischargeLineDrop, P::LiquidTemp,
                                  P::UsefulSuperheat, P::SuctionGasReturn};
    EXPECT_EQ(editor.parameters(), plain);
    editor.setHeatGainView(true);
    EXPECT_EQ(editor.parameters().back(), P::LiquidTempRise);
    editor.select(P::SuctionGasReturn);
    editor.selectNext();
    EXPECT_EQ(editor.current(), P::LiquidTempRise);
    editor.selectNext();  // wraps
    EXPECT_EQ(editor.current(), P::SuctionLineDrop);
    EXPECT_EQ(editor.minimum(P::UsefulSuperheat), 0.0);
    EXPECT_EQ(editor.minimum(P::SuctionGasReturn), -1000.0);

    // the heat gain warms the expanded liquid: the evaporator inlet moves to higher enthalpy
    const double inletBefore = editor.diagram().cycle.evaporatorInlet.h;
    editor.setDisplayValue(P::LiquidTempRise, 5);
    EXPECT_GT(editor.diagram().cycle.evaporatorInlet.h, inletBefore + 3);
    editor.setHeatGainView(false);
    EXPECT_NEAR(editor.diagram().cycle.evaporatorInlet.h, inletBefore, 1e-9);

    // no heat-gain view without vapour injection
    AdvancedConditionsEditor plainModel(&r404a, Point(r404a, -10, 45), UnitSystem::SI, false);
    plainModel.setHeatGainView(true);
    EXPECT_EQ(plainModel.parameters(), plain);

    Trefrigerant co2("R744", Trefrigerant::CO2Id, 'N', 1.3f);
    OperatingConditions c;
    c.evapTemp = -10;
    c.condByPressure = 1;
    c.condPressure = 90;
    c.gasCoolerOutletTemp = 35;
    c.superheat = 10;
    c.usefulSuperheat = 5;
    ASSERT_EQ(Resolve(c, &co2), ResolveOk);
    AdvancedConditionsEditor gas(&co2, c, UnitSystem::SI, false);
    EXPECT_TRUE(gas.transcritical());
    const std::vector<P> transcritical = {P::SuctionLineDrop, P::LiquidTemp, P::UsefulSuperheat,
                                          P::SuctionGasReturn};
    EXPECT_EQ(gas.parameters(), transcritical);
    EXPECT_EQ(gas.caption(P::LiquidTemp), "Gas cooler outlet \u00B0C");
    gas.setDisplayValue(P::LiquidTemp, 32);
    EXPECT_DOUBLE_EQ(gas.conditions().gasCoolerOutletTemp, 32);

    // on OK the gas-cooler pressure stays the input, so that the point stays transcritical
    OperatingConditions taken = gas.accepted();
    EXPECT_TRUE(taken.advanced);
    EXPECT_EQ(taken.condByPressure, 1);
    ASSERT_EQ(Resolve(taken, &co2), ResolveOk);
    EXPECT_DOUBLE_EQ(taken.condPressure, 90);
    EXPECT_TRUE(gas.diagram().cycle.transcritical);
}

TEST_F(AdvancedEditorTest, TheRecordTakenOnOk) {
    Trefrigerant r404a("R404A", 5, 'G', 1.12f);
    OperatingConditions c = Point(r404a, -10, 45);
    c.condByPressure = 1;
    c.evapByPressure = 1;
    AdvancedConditionsEditor editor(&r404a, c, UnitSystem::SI, false);
    editor.setDisplayValue(P::SuctionLineDrop, 2);
    editor.setDisplayValue(P::SuctionGasReturn, 15);
    const OperatingConditions taken = editor.accepted();
    EXPECT_TRUE(taken.advanced);
    EXPECT_FALSE(taken.usefulAll);
    EXPECT_EQ(taken.condByPressure, 0);
    EXPECT_EQ(taken.evapByPressure, 0);
    EXPECT_TRUE(taken.liquidTempGiven);
    EXPECT_TRUE(taken.useSGR);
    EXPECT_DOUBLE_EQ(taken.suctionLineDrop, 2);
    EXPECT_DOUBLE_EQ(taken.suctionGasReturn, 15);
    // the diagram shows the suction pressure 2 K of saturation below the evaporating one
    const PhDiagram d = editor.diagram();
    ASSERT_TRUE(d.cycleValid);
    EXPECT_NEAR(d.cycle.suction.p, r404a.DewPressure(-12), 0.02);
}

// --- the window ---

class AdvancedWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
        Settings settings;
        settings.refrigerant = "R134a";
        settings.compressorFamilies.Clear();
        settings.compressorFamilies.Add(1);
        OperatingConditions& c = settings.conditions;
        c.evapTemp = -10;
        c.condTemp = 40;
        c.superheat = 10;
        c.usefulSuperheat = 10;
        c.useSGR = false;
        c.subcooling = 0;
        c.capacity = 10;
        ASSERT_TRUE(SaveSettingsFile(user.path() / std::string(kSettingsFileName), settings));
    }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
};

TEST_F(AdvancedWindowTest, EditsShowOnTheDiagramAndTabStepsThroughTheParameters) {
    testing::PropertyLibraries libraries;
    ASSERT_TRUE(libraries.loaded.general);
    Trefrigerant r134a("R134a", 1, 'N', 1.11f);
    OperatingConditions c;
    c.evapTemp = -10;
    c.condTemp = 40;
    c.superheat = 10;
    c.usefulSuperheat = 5;
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    TfrmAdvancedWin window(&r134a, c, UnitSystem::SI, false);
    EXPECT_EQ(window.windowTitle(), "Operating Conditions");
    EXPECT_TRUE(window.shownDiagram().cycleValid);
    const double before = window.shownDiagram().cycle.suction.p;
    EXPECT_FALSE(window.findChild<QPushButton*>("btnHeatGain")->isEnabled());

    auto* edit = window.findChild<QDoubleSpinBox*>("edValue");
    ASSERT_NE(edit, nullptr);
    edit->setValue(3);  // suction line drop
    EXPECT_DOUBLE_EQ(window.editor().conditions().suctionLineDrop, 3);
    EXPECT_LT(window.shownDiagram().cycle.suction.p, before - 0.1);

    window.show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(window.editor().current(), P::DischargeLineDrop);

    // a click at a value label on the picture chooses its parameter
    QWidget* box = window.diagramWidget();
    const PhAxes axes(window.shownDiagram(), QRectF(box->rect()));
    const QPoint liquid = axes.toPixel(AdvancedAnchor(window.shownDiagram().cycle, P::LiquidTemp)).toPoint();
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, liquid + QPoint(2, -2));
    EXPECT_EQ(window.editor().current(), P::LiquidTemp);
    const QPoint suction =
        axes.toPixel(AdvancedAnchor(window.shownDiagram().cycle, P::SuctionGasReturn)).toPoint();
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, suction);
    EXPECT_EQ(window.editor().current(), P::SuctionGasReturn);
    EXPECT_DOUBLE_EQ(edit->value(), window.editor().displayValue(P::SuctionGasReturn));
}

TEST_F(AdvancedWindowTest, ReadOnlyViewOfAnInjectionCycle) {
    testing::PropertyLibraries libraries;
    ASSERT_TRUE(libraries.loaded.general);
    Trefrigerant r134a("R134a", 1, 'N', 1.11f);
    OperatingConditions c;
    c.evapTemp = -8;
    c.condTemp = 50;
    c.superheat = 5;
    c.usefulSuperheat = 5;
    ASSERT_EQ(Resolve(c, &r134a), ResolveOk);
    TfrmAdvancedWin window(&r134a, c, UnitSystem::SI, true, true, 0, nullptr,
                           PhInjection{10.0, 15.0, 15.0});
    window.show();
    EXPECT_FALSE(window.findChild<QDoubleSpinBox*>("edValue")->isVisible());
    EXPECT_FALSE(window.findChild<QPushButton*>("btnHeatGain")->isEnabled());
    EXPECT_TRUE(window.editor().heatGainView());
    EXPECT_EQ(window.editor().parameters().back(), P::LiquidTempRise);
    bool cancel = false;
    for (QPushButton* button : window.findChildren<QPushButton*>())
        cancel = cancel || (button->isVisible() && button->text().contains("Cancel"));
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(window.shownDiagram().cycleValid);
    EXPECT_TRUE(window.shownDiagram().cycle.injection);
}

TEST_F(AdvancedWindowTest, OpenedFromTheMainWindowAndTakenOnOk) {
    auto window = std::make_unique<TfrmActivity>(folders);
    window->setErrorNotice([](const QString&) {});
    window->show();
    ASSERT_TRUE(window->databaseUsable());
    auto* button = window->findChild<QPushButton*>("btnAdvanced");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());

    window->setDialogRunner([](QDialog& dialog) {
        auto* advanced = dynamic_cast<TfrmAdvancedWin*>(&dialog);
        if (advanced == nullptr) return int(QDialog::Rejected);
        advanced->editor().setDisplayValue(P::SuctionLineDrop, 2);
        advanced->editor().setDisplayValue(P::UsefulSuperheat, 5);
        return int(QDialog::Accepted);
    });
    button->click();
    const OperatingConditions& c = window->driver()->conditions();
    EXPECT_TRUE(c.advanced);
    EXPECT_FALSE(c.usefulAll);
    EXPECT_DOUBLE_EQ(c.suctionLineDrop, 2);
    EXPECT_NEAR(c.satSuctionTemp, -12, 1e-6);

    // Cancel takes nothing back
    window->setDialogRunner([](QDialog& dialog) {
        if (auto* advanced = dynamic_cast<TfrmAdvancedWin*>(&dialog))
            advanced->editor().setDisplayValue(P::SuctionLineDrop, 4);
        return int(QDialog::Rejected);
    });
    button->click();
    EXPECT_DOUBLE_EQ(window->driver()->conditions().suctionLineDrop, 2);
}

}  // namespace
}  // namespace kelvra
