// The summary rows of the result tabs for controls, heat pumps and compressors with vapour
// injection, on hand-made models whose results are set directly (no display, no database).

#include "result_rows.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "heat_pump.hpp"
#include "valve.hpp"

namespace kelvra {
namespace {

namespace q = quantity;

// A compressor-like model with vapour injection whose results are whatever the test sets.
class InjectionModel : public TCModel {
  public:
    bool HasVapourInjection() const override { return true; }
};

// The value of the first row with this label, or "(none)".
std::string ValueOf(const std::vector<ResultRow>& rows, const std::string& label) {
    for (const ResultRow& row : rows)
        if (row.label == label) return row.value;
    return "(none)";
}

bool HasLabelStarting(const std::vector<ResultRow>& rows, const std::string& start) {
    for (const ResultRow& row : rows)
        if (row.label.rfind(start, 0) == 0) return true;
    return false;
}

OperatingConditions Point() {
    OperatingConditions c;
    c.evapTemp = -10;
    c.condTemp = 45;
    c.capacity = 10;
    c.liquidTemp = 40;
    return c;
}

TEST(SummaryRowsTest, ValvesShowTheirOrificeCapacityAndPressureDifference) {
    Tvalve valve;
    valve.SetName("OTX-6");
    valve.secondName = "Orifice 06";
    valve.nominalCapacity = 5.0f;
    ResultVector results;
    results.Set(q::CoolingCapacity, 12.5);
    results.Set(q::PressureDifference, 14.6);
    results.SetStatus(0);
    valve.SetResults(results);

    const auto expansion =
        SummaryRows(&valve, Point(), ActivityMode::ExpansionValves, UnitSystem::SI, false);
    EXPECT_EQ(ValueOf(expansion, "Valve"), "OTX-6");
    EXPECT_EQ(ValueOf(expansion, "Orifice"), "Orifice 06");
    EXPECT_TRUE(HasLabelStarting(expansion, "Cooling capacity"));
    EXPECT_TRUE(HasLabelStarting(expansion, "Pressure difference"));
    EXPECT_EQ(ValueOf(expansion, "Nominal capacity"), "(none)");

    // A solenoid valve is chosen by pressure difference: no capacity row, its nominal value.
    const auto solenoid =
        SummaryRows(&valve, Point(), ActivityMode::SolenoidValves, UnitSystem::SI, false);
    EXPECT_FALSE(HasLabelStarting(solenoid, "Cooling capacity"));
    EXPECT_EQ(ValueOf(solenoid, "Nominal capacity"), "5.00");

    // Outside its correction data only the heading rows and why there are no figures.
    results.SetStatus(Tvalve::kNoData);
    valve.SetResults(results);
    const auto failed =
        SummaryRows(&valve, Point(), ActivityMode::ExpansionValves, UnitSystem::SI, false);
    EXPECT_EQ(ValueOf(failed, ""), "Operating conditions outside limits");
    EXPECT_FALSE(HasLabelStarting(failed, "Cooling capacity"));
}

TEST(SummaryRowsTest, HeatPumpsNameTheirCompressorOrSayWhyThereAreNoFigures) {
    THeatPump heatPump;
    heatPump.SetName("B1-08");
    ResultVector results;
    results.Set(q::HeatingCapacity, 8.2);
    results.Set(q::PowerInput, 2.1);
    results.Set(q::COP, 3.9);
    results.SetStatus(0);
    heatPump.SetResults(results);
    OperatingConditions c = Point();
    c.sourceInletTemp = 0;
    c.waterOutletTemp = 35;

    const auto rows =
        SummaryRows(&heatPump, c, ActivityMode::BrineWaterHeatPumps, UnitSystem::SI, false);
    EXPECT_EQ(ValueOf(rows, "Operating Point"), "0.0 / 35.0 \u00B0C");
    EXPECT_EQ(ValueOf(rows, "Heat Pump"), "B1-08");
    EXPECT_EQ(ValueOf(rows, "Compressor"), "");
    EXPECT_TRUE(HasLabelStarting(rows, "Heating capacity"));

    results.SetStatus(-5);
    heatPump.SetResults(results);
    const auto failed =
        SummaryRows(&heatPump, c, ActivityMode::BrineWaterHeatPumps, UnitSystem::SI, false);
    EXPECT_EQ(ValueOf(failed, ""), "Operating conditions outside compressor limits");
    EXPECT_FALSE(HasLabelStarting(failed, "Heating capacity"));
}

TEST(SummaryRowsTest, InjectionBlockShowsDashesWithoutEconomiserDuty) {
    InjectionModel model;
    model.SetName("KVR-30");
    ResultVector results;
    results.Set(q::CoolingCapacity, 9.0);
    results.Set(q::PowerInput, 4.0);
    results.Set(q::LiquidTemp, 40.0);
    results.Set(q::IntermediateSatTemp, 12.0);
    results.SetStatus(0);
    model.SetResults(results);

    const auto rows = SummaryRows(&model, Point(), ActivityMode::Compressors, UnitSystem::SI, false);
    ASSERT_TRUE(HasLabelStarting(rows, "Vapour Injection Data"));
    EXPECT_EQ(ValueOf(rows, "Intermediate pressure bar"), "--");
    EXPECT_EQ(ValueOf(rows, "Intermediate saturation temperature \u00B0C"), "--");
    EXPECT_EQ(ValueOf(rows, "Vapour outlet temperature \u00B0C"), "--");
    EXPECT_EQ(ValueOf(rows, "Liquid temperature, economiser outlet \u00B0C"), "--");
    // the liquid temperatures themselves are always shown
    EXPECT_EQ(ValueOf(rows, "Liquid temperature, injection inlet \u00B0C"), "40.0");
    EXPECT_EQ(ValueOf(rows, "Liquid temperature, liquid outlet \u00B0C"), "40.0");

    // With economiser duty the intermediate and vapour outlet temperatures appear: the outlet is
    // 5 K above the intermediate temperature unless the economiser gives its own superheat.
    results.Set(q::EconomiserCapacity, 1.5);
    model.SetResults(results);
    const auto working =
        SummaryRows(&model, Point(), ActivityMode::Compressors, UnitSystem::SI, false);
    EXPECT_EQ(ValueOf(working, "Intermediate saturation temperature \u00B0C"), "12.0");
    EXPECT_EQ(ValueOf(working, "Vapour outlet temperature \u00B0C"), "17.0");
    EXPECT_EQ(ValueOf(working, "Economiser capacity kW"), "1.50");
}

}  // namespace
}  // namespace kelvra
