// Orda controls valves on hand-built correction groups: the table look-ups, the sizing of every
// valve kind with its corrections applied, the failure statuses, the type's activity mode and
// the load ratio.

#include "valve.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "compressor_fixture.hpp"
#include "performance_table.hpp"
#include "record_bytes.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;

// A correction group as the correction file holds it: one record per row, the first giving the
// type and the origins; factor(i, j) for row i and column j (0-based).
TordaObj Group(char type, float y0, float x0, int rows, int columns,
               const std::function<double(int, int)>& factor) {
    TordaObj group;
    for (int i = 0; i < rows; ++i) {
        std::vector<std::uint8_t> record(TordaObj::kRecordSize, 0);
        PutI16(record, 0, 7);
        PutU16(record, 2, 99);
        PutByte(record, 4, static_cast<std::uint8_t>(type));
        PutSingle(record, 5, y0 + 5.0f * static_cast<float>(i));
        PutSingle(record, 9, x0);
        for (int j = 0; j < columns; ++j)
            PutDouble(record, 13 + 8 * static_cast<std::size_t>(j), factor(i, j));
        group.AddRecord(record);
    }
    return group;
}

// Linear in both directions, so that interpolation is exact.
double Linear(int i, int j) {
    return 0.8 + 0.01 * i + 0.02 * j;
}

TEST(TordaObjTest, TableFactorInterpolatesOnTheGridAndHasNoDataOutsideIt) {
    // Rows 20..30 degC, columns -40..-25 degC.
    const TordaObj g = Group('E', 20, -40, 3, 4, Linear);
    ASSERT_EQ(g.RowCount(), 3);
    ASSERT_EQ(g.ColumnCount(), 4);
    const auto expected = [](double x, double y) {
        return 0.8 + 0.01 * (y - 20) / 5 + 0.02 * (x + 40) / 5;
    };
    struct Case {
        double x, y;
        bool data;
    };
    const std::vector<Case> cases = {
        {-40, 20, true},     {-35, 25, true},     {-37.5, 22.5, true}, {-31, 28.8, true},
        {-25, 22, true},     {-33, 30, true},     {-25, 30, true},     {-24.99, 25, false},
        {-30, 30.01, false}, {-40.01, 25, false}, {-30, 19.99, false}, {-10, 25, false},
        {-30, 60, false},    {NAN, 25, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.x) + " / " + std::to_string(k.y));
        if (k.data)
            EXPECT_NEAR(g.TableFactor(k.x, k.y), expected(k.x, k.y), 1e-12);
        else
            EXPECT_EQ(g.TableFactor(k.x, k.y), 0.0);
    }

    // A grid value that is not above 0 spoils every cell around it.
    const TordaObj holed =
        Group('E', 20, -40, 3, 4, [](int i, int j) { return i == 1 && j == 1 ? 0.0 : 1.0; });
    EXPECT_EQ(holed.TableFactor(-37, 22), 0.0);
    EXPECT_EQ(holed.TableFactor(-33, 27), 0.0);
    EXPECT_DOUBLE_EQ(holed.TableFactor(-28, 27), 1.0);
    // Columns count up to the last one holding a factor in any row.
    const TordaObj ragged =
        Group('E', 20, -40, 2, 6, [](int i, int j) { return j >= 3 + i ? 0.0 : 1.0; });
    EXPECT_EQ(ragged.ColumnCount(), 4);
}

TEST(TordaObjTest, FirstRowFactor) {
    const TordaObj g = Group('U', 20, -40, 2, 4, [](int i, int j) { return 1.0 + 0.1 * j + i; });
    struct Case {
        double x, factor;
    };
    const std::vector<Case> cases = {
        {4, 1.0},   {25, 1.0},  {-40, 1.0}, {-40.5, 0.0}, {-37.5, 1.05},
        {-30, 1.2}, {-25, 1.3}, {-24, 0.0}, {0, 0.0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.x);
        EXPECT_NEAR(g.FirstRowFactor(k.x), k.factor, 1e-12);
    }
    EXPECT_EQ(TordaObj().FirstRowFactor(-10), 0.0);
    EXPECT_EQ(TordaObj().FirstRowFactor(10), 1.0);
}

class ValveTest : public CompressorFixture {
  protected:
    std::unique_ptr<Tvalve> Valve(const TordaObj& group, Trefrigerant& ref, float nominal,
                                  float second) {
        auto v = std::make_unique<Tvalve>();
        v->SetName("OV-1");
        v->refrigerant = &ref;
        v->correctionGroup = &group;
        v->nominalCapacity = nominal;
        v->secondValue = second;
        return v;
    }

    // The operating point of the sizing cases: -10/40 degC, 10 kW required.
    static OperatingConditions At(Trefrigerant& ref, double te = -10, double tc = 40,
                                  double subcooling = 0, float componentDrop = 0.1f) {
        OperatingConditions c = Point(ref, te, tc, 10.0, subcooling);
        c.capacity = 10;
        c.ordaComponentDrop = componentDrop;
        c.ordaSystemDrop = 1.5f;
        return c;
    }

    // Rows 20..50 degC, columns -40..10 degC.
    static double K(double x, double y) { return 0.8 + 0.01 * (y - 20) / 5 + 0.02 * (x + 40) / 5; }
};

TEST_F(ValveTest, EveryValveKindIsSizedWithItsCorrections) {
    const double te = -10;
    const double tc = 40;
    const double pStepEvap = r134a.DewPressure(te + 1) - r134a.DewPressure(te);
    const double pStepCond = r134a.DewPressure(tc + 1) - r134a.DewPressure(tc);
    const double across = r134a.DewPressure(tc) - r134a.DewPressure(te) - 1.5;
    const double f = 1.12;  // first row of the U and Z groups at -10 degC

    struct Case {
        const char* name;
        char type;
        float nominal, second;
        double subcooling;
        float componentDrop;
        ModelStatus status;
        double capacity;    // result 1
        double difference;  // result 15
    };
    const double kS = K(te, tc);
    const std::vector<Case> cases = {
        {"solenoid", 'S', 10, 0, 0, 0.1f, 0, 0, 0.15 * kS * kS},
        {"solenoid, subcooled liquid", 'S', 10, 0, 10, 0.1f, 0, 0, 0.15 * K(te, 30) * K(te, 30)},
        {"head pressure at its low rating", 'P', 8, 12, 0, 0.07f, 0, 8 / kS, 0.07f},
        {"head pressure at its high rating", 'P', 8, 12, 0, 0.14f, 0, 12 / kS, 0.14f},
        {"head pressure between", 'P', 8, 12, 0, 0.105f, 0, (8 + 4 * (0.105f - 0.07) / 0.07) / kS,
         0.105f},
        {"head pressure below its range", 'P', 8, 12, 0, 0.06f, -2, 0, 0},
        {"head pressure above its range", 'P', 8, 12, 0, 0.15f, -3, 0, 0},
        {"pressure-rated control", 'Q', 8, 0.2f, 0, 0.1f, 0, 8 / kS / std::sqrt(0.2 / double(0.1f)),
         0.1f},
        {"pressure-rated control, no drop", 'Q', 8, 0.2f, 0, 0.0f, -1, 0, 0},
        {"regulator", 'R', 6, 0, 0, 0.1f, 0, 6 / kS, 0},
        {"evaporator-side component", 'W', 6, 0, 0, 0.1f, 0, 6 / kS, pStepEvap},
        {"condenser-side component", 'Y', 6, 0, 0, 0.1f, 0, 6 / kS, pStepCond},
        {"component without capacity", 'X', 6, 0, 0, 0.1f, 0, 0, 0.1f},
        {"filter drier with a fixed drop", 'U', 5, 0.3f, 0, 0.1f, 0, 5 / f, 0.3f},
        {"filter drier without one", 'U', 5, 0, 0, 0.1f, 0, 5 / f, pStepEvap},
        {"suction filter", 'Z', 5, 0, 0, 0.1f, 0, 5 / f, pStepEvap},
        {"expansion valve", 'E', 7, 4, 0, 0.1f, 0, 7 / kS / std::sqrt(4 / across), across},
        {"expansion valve, subcooled", 'E', 7, 4, 10, 0.1f, 0,
         7 / K(te, 30) / std::sqrt(4 / across), across},
        {"thermostatic valve, deep subcooling", 'T', 7, 4, 20, 0.1f, 0,
         7 / K(te, 20) / std::sqrt(4 / across) / 0.8, across},
        {"thermostatic valve, 15 K is no correction", 'T', 7, 4, 15, 0.1f, 0,
         7 / K(te, 25) / std::sqrt(4 / across), across},
        {"expansion valve without nominal drop", 'E', 7, 0, 0, 0.1f, -1, 0, 0},
        {"expansion valve without capacity", 'E', 0, 4, 0, 0.1f, -1, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const bool firstRowKind = k.type == 'U' || k.type == 'Z';
        const TordaObj g =
            firstRowKind ? Group(k.type, 20, -40, 7, 11, [](int, int j) { return 1.0 + 0.02 * j; })
                         : Group(k.type, 20, -40, 7, 11, Linear);
        auto v = Valve(g, r134a, k.nominal, k.second);
        const OperatingConditions c = At(r134a, te, tc, k.subcooling, k.componentDrop);
        EXPECT_EQ(v->Evaluate(c, v->TypeMode()), k.status);
        EXPECT_EQ(v->Status(), k.status);
        EXPECT_EQ(v->Results().Status(), k.status);
        EXPECT_NEAR(v->Result(q::CoolingCapacity), k.capacity, 1e-6 * (1 + k.capacity));
        EXPECT_NEAR(v->Result(q::PressureDifference), k.difference, 1e-6);
        EXPECT_NEAR(v->Result(q::LiquidTemp), tc - k.subcooling, 1e-9);
    }
}

TEST_F(ValveTest, ASolenoidValveOutsideItsPressureDropRangeIsTooLargeOrTooSmall) {
    const TordaObj g = Group('S', 20, -40, 7, 11, Linear);
    const double k = K(-10, 40);
    // Nominal capacities that give the drops at 10 kW: dp = 0.15 (k Q / Qnom)^2.
    struct Case {
        double drop;
        ModelStatus status;
    };
    for (const Case& c : {Case{0.04, -2}, Case{0.8, -3}, Case{0.06, 0}, Case{0.7, 0}}) {
        SCOPED_TRACE(c.drop);
        const float nominal = static_cast<float>(k * 10 / std::sqrt(c.drop / 0.15));
        auto v = Valve(g, r134a, nominal, 0);
        EXPECT_EQ(v->Evaluate(At(r134a), ActivityMode::SolenoidValves), c.status);
        if (c.status < 0) {
            EXPECT_EQ(v->Result(q::PressureDifference), 0.0);
            EXPECT_EQ(v->Result(q::CoolingCapacity), 0.0);
        } else {
            EXPECT_NEAR(v->Result(q::PressureDifference), c.drop, 1e-6);
            EXPECT_NEAR(v->SelectionValue(ActivityMode::SolenoidValves), c.drop, 1e-6);
        }
    }
}

TEST_F(ValveTest, AnExpansionValveOutsideItsTableHasNoResults) {
    const TordaObj g = Group('E', 20, -40, 7, 11, Linear);
    auto v = Valve(g, r134a, 7, 4);
    ASSERT_EQ(v->Evaluate(At(r134a), ActivityMode::ExpansionValves), 0);
    ASSERT_GT(v->Result(q::CoolingCapacity), 0.0);
    struct Case {
        const char* name;
        double te, tc;
    };
    for (const Case& k : {Case{"too cold", -45, 40}, Case{"too warm", 12, 40},
                          Case{"liquid too warm", -10, 52}, Case{"liquid too cold", -10, 18}}) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(v->Evaluate(At(r134a, k.te, k.tc), ActivityMode::ExpansionValves), -1);
        EXPECT_EQ(v->Result(q::CoolingCapacity), 0.0);
        EXPECT_EQ(v->Result(q::PressureDifference), 0.0);
        EXPECT_EQ(v->Results().Status(), -1);
    }
}

TEST_F(ValveTest, ExpansionValvesFollowTheRefrigerantsSaturationBasis) {
    const TordaObj g = Group('E', 20, -40, 7, 11, Linear);
    const double te = -10, tc = 40, s = 3;
    // Mid-point blend: pressures from the mid-point temperatures, the table at the dew
    // temperature of the evaporating pressure and the bubble temperature less subcooling.
    {
        auto v = Valve(g, r407c, 7, 4);
        double pc = 0, pe = 0;
        r407c.MidTemperaturesToPressures(s, tc, te, pc, pe);
        const double liquid = r407c.BubbleTemperature(pc) - s;
        const double across = pc - pe - 1.5;
        ASSERT_EQ(v->Evaluate(At(r407c, te, tc, s), ActivityMode::ExpansionValves), 0);
        EXPECT_NEAR(v->Result(q::LiquidTemp), liquid, 1e-9);
        EXPECT_NEAR(v->Result(q::PressureDifference), across, 1e-9);
        EXPECT_NEAR(v->Result(q::CoolingCapacity),
                    7 / K(r407c.DewTemperature(pe), liquid) / std::sqrt(4 / across), 1e-9);
    }
    // Dew-point blend: dew pressures, liquid at the bubble temperature of the condensing pressure.
    {
        auto v = Valve(g, r404a, 7, 4);
        const double pc = r404a.DewPressure(tc), pe = r404a.DewPressure(te);
        const double liquid = r404a.BubbleTemperature(pc) - s;
        const double across = pc - pe - 1.5;
        ASSERT_EQ(v->Evaluate(At(r404a, te, tc, s), ActivityMode::ExpansionValves), 0);
        EXPECT_NEAR(v->Result(q::LiquidTemp), liquid, 1e-9);
        EXPECT_NEAR(v->Result(q::PressureDifference), across, 1e-9);
        EXPECT_NEAR(v->Result(q::CoolingCapacity), 7 / K(te, liquid) / std::sqrt(4 / across), 1e-9);
    }
}

TEST_F(ValveTest, AValveWithoutDataOrWithNonsenseInputFails) {
    const TordaObj g = Group('E', 20, -40, 7, 11, Linear);
    Tvalve bare;
    EXPECT_EQ(bare.Evaluate(At(r134a), ActivityMode::ExpansionValves), -1);
    auto noRefrigerant = Valve(g, r134a, 7, 4);
    noRefrigerant->refrigerant = nullptr;
    EXPECT_EQ(noRefrigerant->Evaluate(At(r134a), ActivityMode::ExpansionValves), -1);
    auto v = Valve(g, r134a, 7, 4);
    OperatingConditions c = At(r134a);
    c.satSuctionTemp = std::nan("");
    EXPECT_EQ(v->Evaluate(c, ActivityMode::ExpansionValves), -1);
    // A system drop larger than the pressure difference leaves nothing across the valve.
    c = At(r134a);
    c.ordaSystemDrop = 50.0f;
    EXPECT_EQ(v->Evaluate(c, ActivityMode::ExpansionValves), -1);
}

TEST(TvalveTest, TypeLettersBelongToTheirActivityModes) {
    struct Case {
        char type;
        ActivityMode mode;
    };
    const std::vector<Case> cases = {
        {'S', ActivityMode::SolenoidValves},       {'P', ActivityMode::HeadPressureControls},
        {'Q', ActivityMode::HeadPressureControls}, {'E', ActivityMode::ExpansionValves},
        {'T', ActivityMode::ExpansionValves},      {'R', ActivityMode::FilterDriers},
        {'U', ActivityMode::FilterDriers},         {'X', ActivityMode::FilterDriers},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.type);
        const TordaObj g = Group(k.type, 20, -40, 1, 1, Linear);
        Tvalve v;
        v.correctionGroup = &g;
        EXPECT_EQ(v.TypeMode(), k.mode);
        EXPECT_EQ(v.TypeLetter(), k.type);
    }
    EXPECT_EQ(Tvalve().TypeMode(), ActivityMode::FilterDriers);
}

TEST_F(ValveTest, LoadRatioIsTheRequirementOverTheCapacity) {
    const TordaObj g = Group('R', 20, -40, 7, 11, Linear);
    auto v = Valve(g, r134a, 6, 0);
    EXPECT_EQ(v->LoadRatio(5), 0.0);  // not evaluated: no capacity
    ASSERT_EQ(v->Evaluate(At(r134a), ActivityMode::FilterDriers), 0);
    EXPECT_NEAR(v->LoadRatio(5), 5 / (6 / K(-10, 40)) * 100, 1e-9);
}

// --- the valve's performance table -------------------------------------------------------------

TEST_F(ValveTest, TableAxesCoverTheCorrectionGroupAndCellsAreTheValveAtThatPoint) {
    // Liquid rows 20..50 degC, evaporating columns -40..10 degC; 3 K subcooling raises the
    // condensing range to 23..53 degC.
    const TordaObj group = Group('T', 20, -40, 7, 11, Linear);
    auto v = Valve(group, r134a, 8, 6);  // 8 kW at 6 bar across the valve
    OperatingConditions c = At(r134a, -10, 40, 3);

    TTableObject table(TableDefinition{}, true);
    v->FillTable(table, c, ActivityMode::ExpansionValves, UnitSystem::SI);
    ASSERT_TRUE(table.Computed());
    const std::vector<double> rows = {23, 25, 30, 35, 40, 45, 50, 53};
    ASSERT_EQ(table.RowCount(), static_cast<int>(rows.size()));
    for (int i = 0; i < table.RowCount(); ++i) EXPECT_DOUBLE_EQ(table.RowValue(i), rows[i]);
    ASSERT_EQ(table.ColumnCount(), 11);
    EXPECT_DOUBLE_EQ(table.ColumnValue(0), -40);
    EXPECT_DOUBLE_EQ(table.ColumnValue(10), 10);

    int valid = 0;
    for (int i = 0; i < table.RowCount(); ++i) {
        for (int j = 1; j <= table.ColumnCount(); ++j) {
            SCOPED_TRACE(::testing::Message() << rows[i] << " / " << table.ColumnValue(j - 1));
            OperatingConditions at = c;
            at.condTemp = at.satDischargeTemp = rows[i];
            at.evapTemp = at.satSuctionTemp = table.ColumnValue(j - 1);
            const ModelStatus status = v->Evaluate(at, ActivityMode::ExpansionValves);
            EXPECT_EQ(table.CellStatus(i, j), status);
            if (status >= 0) {
                ++valid;
                EXPECT_EQ(table.Cell(i, j), v->Results());
            } else {
                EXPECT_EQ(table.CellResult(i, j, q::CoolingCapacity), 0.0);
                EXPECT_EQ(table.CellResult(i, j, q::PressureDifference), 0.0);
            }
        }
    }
    EXPECT_GT(valid, 0);

    // A system protector of type 'U' has no rows.
    const TordaObj open = Group('U', 20, -40, 7, 11, Linear);
    auto protector = Valve(open, r134a, 8, 0);
    TTableObject none(TableDefinition{}, true);
    protector->FillTable(none, c, ActivityMode::FilterDriers, UnitSystem::SI);
    EXPECT_TRUE(none.Rows().empty());
    EXPECT_EQ(none.ColumnCount(), 19);
}

TEST(ValveTableColumnsTest, StepsWidenOverLongRanges) {
    struct Case {
        double from, to;
        UnitSystem system;
        std::vector<double> expected;
    };
    const std::vector<Case> cases = {
        {-40, 10, UnitSystem::SI, {-40, -35, -30, -25, -20, -15, -10, -5, 0, 5, 10}},
        {-42.4, -20, UnitSystem::SI, {-40, -35, -30, -25, -20}},
        {-80, 40, UnitSystem::SI, {-80, -70, -60, -50, -40, -30, -20, -10, 0, 10, 20, 30, 40}},
        {-40, 10, UnitSystem::Imperial, {-40, -30, -20, -10, 0, 10, 20, 30, 40, 50}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << k.from << ".." << k.to);
        EXPECT_EQ(ValveTableColumns(k.from, k.to, k.system), k.expected);
    }
}

}  // namespace
}  // namespace kelvra::testing
