// The pressure-enthalpy diagram's geometry: the saturation dome, the isotherms and the cycle of
// an operating point, sub- and transcritical, and the logarithmic pressure axis.

#include "ph_diagram.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "refrigerant.hpp"
#include "selection_fixture.hpp"

namespace kelvra {
namespace {

class PhDiagramTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(libraries.loaded.general && libraries.loaded.co2); }

    static OperatingConditions Point(Trefrigerant& ref, double te, double tc) {
        OperatingConditions c;
        c.evapTemp = te;
        c.condTemp = tc;
        c.superheat = 10;
        c.useSGR = false;
        c.subcooling = 5;
        c.liquidTempGiven = false;
        EXPECT_EQ(Resolve(c, &ref), ResolveOk);
        return c;
    }

    testing::PropertyLibraries libraries;
};

TEST_F(PhDiagramTest, DomeOfABlendClosesAtTheCriticalPoint) {
    Trefrigerant r404a("R404A", 5, 'G', 1.12f);
    const PhDiagram d = PhDiagram::Compute(r404a, Point(r404a, -10, 45));
    ASSERT_GT(d.bubbleLine.size(), 20u);
    ASSERT_GT(d.dewLine.size(), 20u);
    // both lines rise in pressure; at equal temperature the liquid lies left of the vapour
    for (std::size_t i = 1; i < d.bubbleLine.size(); ++i) {
        EXPECT_GT(d.bubbleLine[i].p, d.bubbleLine[i - 1].p);
        EXPECT_GT(d.bubbleLine[i].h, d.bubbleLine[i - 1].h);
    }
    for (std::size_t i = 0; i < std::min(d.bubbleLine.size(), d.dewLine.size()) - 3; ++i)
        EXPECT_LT(d.bubbleLine[i].h, d.dewLine[i].h) << i;
    // the dome reaches close to the critical pressure, and its top lies between its sides
    EXPECT_GT(d.bubbleLine.back().p, 0.9 * r404a.criticalPressure);
    EXPECT_DOUBLE_EQ(d.critical.p, r404a.criticalPressure);
    EXPECT_GT(d.critical.h, d.bubbleLine.back().h);
    EXPECT_LT(d.critical.h, d.dewLine.back().h);
    // IIR reference: saturated liquid at 0 degC has 200 kJ/kg; the dome spans it
    EXPECT_LT(d.bubbleLine.front().h, 200);
    EXPECT_GT(d.dewLine.front().h, 300);
}

TEST_F(PhDiagramTest, SubcriticalCycleOfR404A) {
    Trefrigerant r404a("R404A", 5, 'G', 1.12f);
    const OperatingConditions c = Point(r404a, -10, 45);
    const PhDiagram d = PhDiagram::Compute(r404a, c);
    ASSERT_TRUE(d.cycleValid);
    const PhCycle& y = d.cycle;
    EXPECT_FALSE(y.transcritical);
    EXPECT_NEAR(y.evaporatorDew.p, 4.34, 0.15);  // R404A dew pressure at -10 degC
    EXPECT_NEAR(y.condenserDew.p, 20.5, 0.5);    // and at 45 degC
    // expansion keeps the enthalpy; evaporation, superheat and compression add to it
    EXPECT_DOUBLE_EQ(y.evaporatorInlet.h, y.liquid.h);
    EXPECT_LT(y.evaporatorInlet.p, y.liquid.p);
    EXPECT_GT(y.evaporatorDew.h, y.evaporatorInlet.h);
    EXPECT_GT(y.suction.h, y.evaporatorDew.h);
    EXPECT_GT(y.discharge.h, y.suction.h);
    // condensing gives the heat back: discharge > saturated vapour > saturated liquid > liquid
    EXPECT_GT(y.discharge.h, y.condenserDew.h);
    EXPECT_GT(y.condenserDew.h, y.condenserBubble.h);
    EXPECT_GT(y.condenserBubble.h, y.liquid.h);  // 5 K of subcooling
    // with the assumed efficiency the discharge lies well above the condensing temperature
    EXPECT_GT(y.dischargeTemp, 60);
    EXPECT_LT(y.dischargeTemp, 110);
    // the whole cycle lies inside the axes
    for (const PhPoint& p : y.Path()) {
        EXPECT_GT(p.h, d.hMin);
        EXPECT_LT(p.h, d.hMax);
        EXPECT_GT(p.p, d.pMin);
        EXPECT_LT(p.p, d.pMax);
    }
    EXPECT_EQ(y.Path().size(), 8u);

    // a known discharge temperature is used as it is
    const PhDiagram given = PhDiagram::Compute(r404a, c, 80.0);
    EXPECT_DOUBLE_EQ(given.cycle.dischargeTemp, 80.0);
    EXPECT_NEAR(given.cycle.discharge.h, r404a.VapourEnthalpy(c.condPressure, 80.0), 1e-9);
}

TEST_F(PhDiagramTest, EconomiserOfAnInjectionCompressor) {
    Trefrigerant r407c("R407C", 7, 'D', 1.12f);
    OperatingConditions c = Point(r407c, -10, 50);
    const PhInjection economiser{15.0, 20.0, 20.0};  // intermediate 15, vapour 20, liquid 20 degC
    const PhDiagram plain = PhDiagram::Compute(r407c, c);
    const PhDiagram d = PhDiagram::Compute(r407c, c, 0, &economiser);
    ASSERT_TRUE(d.cycleValid);
    const PhCycle& y = d.cycle;
    ASSERT_TRUE(y.injection);
    EXPECT_EQ(y.Path().size(), plain.cycle.Path().size() + 1);
    // the injected flow is expanded to the intermediate pressure and evaporated there
    EXPECT_NEAR(y.injectionInlet.p, r407c.DewPressure(15.0), 1e-6);
    EXPECT_DOUBLE_EQ(y.injectionInlet.h, y.liquid.h);
    EXPECT_GT(y.injectionOutlet.h, y.injectionInlet.h + 100);
    EXPECT_GT(y.injectionInlet.p, y.evaporatorInlet.p);
    EXPECT_LT(y.injectionInlet.p, y.liquid.p);
    // the main flow leaves the economiser much colder: more capacity per kilogram
    EXPECT_LT(y.economiserLiquid.h, y.liquid.h - 30);
    EXPECT_DOUBLE_EQ(y.evaporatorInlet.h, y.economiserLiquid.h);
    // heat gained after the economiser warms it again
    c.liquidLineTempRise = 5;
    const PhDiagram warm = PhDiagram::Compute(r407c, c, 0, &economiser);
    EXPECT_GT(warm.cycle.evaporatorInlet.h, y.evaporatorInlet.h + 3);
}

TEST_F(PhDiagramTest, LineDropsLowerTheSuctionAndRaiseTheDischargePressure) {
    Trefrigerant r404a("R404A", 5, 'G', 1.12f);
    OperatingConditions c = Point(r404a, -10, 45);
    c.advanced = true;
    c.usefulAll = true;
    c.usefulSuperheat = 5;
    c.suctionLineDrop = 2;
    c.dischargeLineDrop = 1;
    ASSERT_EQ(Resolve(c, &r404a), ResolveOk);
    const PhDiagram d = PhDiagram::Compute(r404a, c);
    ASSERT_TRUE(d.cycleValid);
    EXPECT_LT(d.cycle.suction.p, d.cycle.evaporatorDew.p - 0.1);
    EXPECT_GT(d.cycle.discharge.p, d.cycle.condenserDew.p + 0.1);
}

TEST_F(PhDiagramTest, TranscriticalCycleOfCarbonDioxide) {
    Trefrigerant co2("R744", Trefrigerant::CO2Id, 'N', 1.3f);
    OperatingConditions c;
    c.evapTemp = -10;
    c.condByPressure = 1;
    c.condPressure = 90;
    c.gasCoolerOutletTemp = 35;
    c.superheat = 10;
    ASSERT_EQ(Resolve(c, &co2), ResolveOk);
    const PhDiagram d = PhDiagram::Compute(co2, c);
    ASSERT_TRUE(d.cycleValid);
    EXPECT_TRUE(d.cycle.transcritical);
    EXPECT_EQ(d.cycle.Path().size(), 6u);  // no condensing corners
    EXPECT_DOUBLE_EQ(d.cycle.liquid.p, 90);
    EXPECT_GT(d.cycle.discharge.h, d.cycle.liquid.h);
    // the dense gas at 90 bar and 35 degC lies left of the critical enthalpy
    EXPECT_LT(d.cycle.liquid.h, d.critical.h + 20);
    EXPECT_GT(d.pMax, 90);
    EXPECT_LT(d.bubbleLine.back().p, co2.criticalPressure);
    // just above the critical pressure with the gas cooled below the critical temperature
    OperatingConditions near = c;
    near.condPressure = 75;
    near.gasCoolerOutletTemp = 28;
    ASSERT_EQ(Resolve(near, &co2), ResolveOk);
    const PhDiagram n = PhDiagram::Compute(co2, near);
    EXPECT_TRUE(n.cycleValid);
    EXPECT_TRUE(n.cycle.transcritical);
    EXPECT_LT(n.cycle.liquid.h, d.cycle.liquid.h);  // colder gas-cooler outlet, less enthalpy

    // an isotherm above the critical temperature runs through the whole pressure range
    bool supercritical = false;
    for (const PhIsotherm& iso : d.isotherms)
        if (iso.temperature > co2.criticalTemperature && iso.points.size() > 20) supercritical = true;
    EXPECT_TRUE(supercritical);
}

TEST_F(PhDiagramTest, LogarithmicPressureAxis) {
    PhDiagram d;
    d.hMin = 100;
    d.hMax = 600;
    d.pMin = 2;
    d.pMax = 50;
    const PhAxes axes(d, QRectF(0, 0, 600, 400));
    const QRectF plot = axes.plot();
    EXPECT_NEAR(axes.toPixel(100, 2).x(), plot.left(), 1e-9);
    EXPECT_NEAR(axes.toPixel(600, 2).x(), plot.right(), 1e-9);
    EXPECT_NEAR(axes.toPixel(500, 2).y(), plot.bottom(), 1e-9);
    EXPECT_NEAR(axes.toPixel(500, 50).y(), plot.top(), 1e-9);
    // equal pressure ratios are equal distances
    const double a = axes.toPixel(300, 2).y() - axes.toPixel(300, 4).y();
    const double b = axes.toPixel(300, 10).y() - axes.toPixel(300, 20).y();
    EXPECT_NEAR(a, b, 1e-9);
    const std::vector<double> expected = {2, 5, 10, 20, 50};
    EXPECT_EQ(axes.pressureTicks(), expected);
    const std::vector<double> h = {100, 200, 300, 400, 500, 600};
    EXPECT_EQ(axes.enthalpyTicks(), h);
    d.hMax = 300;  // a narrower range gets 50 kJ/kg ticks
    const std::vector<double> fine = {100, 150, 200, 250, 300};
    EXPECT_EQ(PhAxes(d, QRectF(0, 0, 600, 400)).enthalpyTicks(), fine);
}

}  // namespace
}  // namespace kelvra
