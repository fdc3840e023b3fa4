// The refrigerant-properties window: the values of both blocks for a single-component
// refrigerant, a blend and CO2 above its critical point, their formatting, and which rows the
// window shows for each layout.

#include "refrigerant_properties.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <cmath>

#include "refprop_dialog.hpp"
#include "refrigerant.hpp"
#include "selection_fixture.hpp"

namespace kelvra {
namespace {

class RefrigerantPropertiesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(libraries.loaded.general && libraries.loaded.co2); }
    testing::PropertyLibraries libraries;
};

TEST_F(RefrigerantPropertiesTest, SingleComponentHasEqualDewAndBubblePoints) {
    Trefrigerant r134a("R134a", 1, 'N', 1.11f);
    RefPropInputs in;
    in.evapTemp = -10;
    in.condTemp = 45;
    in.suctionValue = 10;  // superheat
    in.subcooling = 5;
    const RefPropSheet s = ComputeRefrigerantProperties(r134a, in);
    EXPECT_EQ(s.title, "R134a");
    EXPECT_FALSE(s.transcritical);
    EXPECT_NEAR(s.highDewPoint, 45, 1e-3);
    EXPECT_NEAR(s.highBubblePoint, s.highDewPoint, 1e-3);
    EXPECT_NEAR(s.lowBubblePoint, s.lowDewPoint, 1e-3);
    EXPECT_NEAR(s.highPressure, 11.6, 0.2);   // R134a at 45 degC
    EXPECT_NEAR(s.lowPressure, 2.006, 0.05);  // and at -10 degC
    EXPECT_NEAR(s.liquidTemp, 40, 1e-3);
    EXPECT_NEAR(s.vapourAt, 0, 1e-3);
    // saturated vapour at 45 degC: about 17 dm3/kg; suction gas at 2 bar, 0 degC: about 105
    EXPECT_NEAR(s.saturatedVapourVolume, 17, 2);
    EXPECT_NEAR(s.vapourVolume, 105, 8);
    // the enthalpies rise from the liquid over the saturated vapour at 45 degC (it lies
    // above the superheated suction gas at 0 degC)
    EXPECT_GT(s.liquidEnthalpy, 200);
    EXPECT_GT(s.vapourEnthalpy, s.liquidEnthalpy);
    EXPECT_GT(s.saturatedVapourEnthalpy, s.vapourEnthalpy);
    EXPECT_FALSE(r134a.stickyError);
}

TEST_F(RefrigerantPropertiesTest, BlendGlideGivenLiquidAndReturnGas) {
    Trefrigerant r407c("R407C", 7, 'M', 1.12f);
    RefPropInputs in;
    in.evapTemp = 0;
    in.condTemp = 45;
    in.useSGR = true;
    in.suctionValue = 18;
    in.liquidTempGiven = true;
    in.liquidTemp = 38;
    in.subcooling = 99;  // not used with the liquid temperature given
    const RefPropSheet s = ComputeRefrigerantProperties(r407c, in);
    EXPECT_EQ(s.title, "Mid Point R407C");
    EXPECT_GT(s.highDewPoint - s.highBubblePoint, 3.0);  // R407C glides some 4-5 K
    EXPECT_GT(s.lowDewPoint - s.lowBubblePoint, 3.0);
    EXPECT_DOUBLE_EQ(s.liquidTemp, 38);
    EXPECT_DOUBLE_EQ(s.vapourAt, 18);
}

TEST_F(RefrigerantPropertiesTest, CarbonDioxideAboveTheCriticalPoint) {
    Trefrigerant co2("R744", Trefrigerant::CO2Id, 'N', 1.3f);
    ASSERT_NEAR(co2.criticalPressure, 73.77, 0.05);
    RefPropInputs in;
    in.evapTemp = -10;
    in.condTemp = 35;
    in.condPressure = 0;  // a condensing temperature above the critical one has no pressure
    in.liquidTemp = 35;   // gas-cooler outlet
    in.suctionValue = 10;
    RefPropSheet s = ComputeRefrigerantProperties(co2, in);
    EXPECT_TRUE(s.transcritical);
    EXPECT_DOUBLE_EQ(s.highPressure, 74.0);  // critical pressure truncated + 1 bar
    // the gas leaving the cooler at 74 bar and 35 degC: a real enthalpy, not a failed call
    EXPECT_TRUE(std::isfinite(s.liquidEnthalpy));
    EXPECT_GT(s.liquidEnthalpy, 250);
    EXPECT_LT(s.liquidEnthalpy, 480);
    EXPECT_NEAR(s.lowPressure, 26.5, 0.3);

    in.liquidTemp = 28;  // leaving the cooler below the critical temperature: liquid-like
    s = ComputeRefrigerantProperties(co2, in);
    EXPECT_DOUBLE_EQ(s.highPressure, 74.0);
    EXPECT_GT(s.liquidEnthalpy, 200);
    EXPECT_LT(s.liquidEnthalpy, 320);

    in.liquidTemp = 35;
    in.condPressure = 90;  // a gas-cooler pressure given
    in.condTemp = 20;
    s = ComputeRefrigerantProperties(co2, in);
    EXPECT_TRUE(s.transcritical);
    EXPECT_DOUBLE_EQ(s.highPressure, 90.0);

    in.condPressure = 57;  // subcritical
    in.condTemp = 20;
    s = ComputeRefrigerantProperties(co2, in);
    EXPECT_FALSE(s.transcritical);
    EXPECT_NEAR(s.highPressure, 57.3, 0.3);
}

TEST(RefrigerantPropertiesFormat, FifteenWideFiveDecimals) {
    EXPECT_EQ(FormatPropertyValue(12.3456789), "       12.34568");
    EXPECT_EQ(FormatPropertyValue(-0.5), "       -0.50000");
    EXPECT_EQ(FormatPropertyValue(0), "        0.00000");
    EXPECT_EQ(FormatPropertyValue(123456789.0), "123456789.00000");  // wider than 15: not cut
}

TEST_F(RefrigerantPropertiesTest, WindowHidesTheSaturationRowsWhenTranscritical) {
    static int argc = 1;
    static char name[] = "refprop_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    (void)application;

    TfrmRefPropDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Refrigerant Properties");
    ASSERT_NE(dialog.valueLabel("lblCondAt"), nullptr);
    EXPECT_EQ(dialog.valueLabel("lblCondAt")->text(), "Not known");

    Trefrigerant co2("R744", Trefrigerant::CO2Id, 'N', 1.3f);
    RefPropInputs in;
    in.evapTemp = -10;
    in.condTemp = 35;
    in.liquidTemp = 35;
    in.suctionValue = 10;
    dialog.showProperties(co2, in);
    for (const char* row : {"lblCondAt", "lblHighDew", "lblHighBubble", "lblSatVapEnth", "lblSatVapVol"})
        EXPECT_TRUE(dialog.valueLabel(row)->isHidden()) << row;
    EXPECT_FALSE(dialog.valueLabel("lblHighPress")->isHidden());
    EXPECT_EQ(dialog.valueLabel("lblHighPress")->text(), "       74.00000");
    EXPECT_EQ(dialog.captionLabel("lblHighPress")->text(), "Discharge pressure");
    EXPECT_EQ(dialog.captionLabel("lblLiqTemp")->text(), "Gas cooler outlet");

    Trefrigerant r134a("R134a", 1, 'N', 1.11f);
    in.condTemp = 45;
    dialog.showProperties(r134a, in);
    EXPECT_FALSE(dialog.valueLabel("lblCondAt")->isHidden());
    EXPECT_EQ(dialog.valueLabel("lblCondAt")->text(), "       45.00000");
    EXPECT_EQ(dialog.captionLabel("lblHighPress")->text(), "Condensing Pressure");
}

}  // namespace
}  // namespace kelvra
