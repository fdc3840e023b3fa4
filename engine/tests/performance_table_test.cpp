// Performance tables: the table object and its axes, the compressor's axes from its envelope,
// and the compressor's cells against direct evaluations at the same points.

#include "performance_table.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "compressor.hpp"
#include "compressor_fixture.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;
namespace st = model_status;

std::vector<double> Range(double first, double last, double step) {
    std::vector<double> v;
    for (double x = first; x <= last + 1e-9; x += step) v.push_back(x);
    return v;
}

std::vector<double> Concat(std::vector<double> a, const std::vector<double>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<double> Columns(const TTableObject& t) {
    std::vector<double> v;
    for (int j = 0; j < t.ColumnCount(); ++j) v.push_back(t.ColumnValue(j));
    return v;
}

std::vector<double> Rows(const TTableObject& t) {
    std::vector<double> v;
    for (int i = 0; i < t.RowCount(); ++i) v.push_back(t.RowValue(i));
    return v;
}

double FromFahrenheit(double f) {
    return (f - 32.0) / 1.8;
}

// --- the table object ----------------------------------------------------------------------

TEST(TTableObject, EmptyTableIsSIWithoutAxesOrRows) {
    TTableObject t;
    EXPECT_EQ(t.AxisUnitSystem(), UnitSystem::SI);
    EXPECT_EQ(t.RowCount(), 0);
    EXPECT_EQ(t.ColumnCount(), 0);
    EXPECT_TRUE(t.Rows().empty());
    EXPECT_FALSE(t.AutomaticAxes());
    EXPECT_FALSE(t.Computed());
    EXPECT_THROW(t.CellStatus(0, 1), std::out_of_range);
}

TEST(TTableObject, DefinitionIsCopiedWithCountsAndNameLimited) {
    TableDefinition d;
    d.name = std::string(300, 'x');
    d.unitSystem = UnitSystem::Imperial;
    d.columnCount = 40;
    d.rowCount = -3;
    for (int j = 0; j < kMaxTableAxis; ++j) d.columnValues[j] = static_cast<float>(-40 + 10 * j);
    const TTableObject t(d, true);
    EXPECT_EQ(t.Name().size(), TableDefinition::kNameLength);
    EXPECT_EQ(t.ColumnCount(), kMaxTableAxis);
    EXPECT_EQ(t.RowCount(), 0);
    EXPECT_TRUE(t.AutomaticAxes());
    EXPECT_EQ(t.AxisUnitSystem(), UnitSystem::Imperial);
    // The degC values follow the display values at once.
    EXPECT_FLOAT_EQ(t.ColumnValueSI(0), -40.0f);
    EXPECT_FLOAT_EQ(t.ColumnValueSI(7), static_cast<float>(FromFahrenheit(30.0)));
}

TEST(TTableObject, EvenAxesAndConversion) {
    struct Case {
        UnitSystem system;
        double firstRowSI, firstColumnSI;
    };
    for (const Case k : {Case{UnitSystem::SI, 20.0, -40.0}, Case{UnitSystem::Kcal, 20.0, -40.0},
                         Case{UnitSystem::Imperial, FromFahrenheit(20.0), -40.0}}) {
        SCOPED_TRACE(ToInt(k.system));
        TTableObject t;
        t.SetUnitSystem(k.system);
        t.SetEvenAxes(30, 4, 7.5, 2.5, 20.0, -40.0);
        EXPECT_EQ(t.ColumnCount(), kMaxTableAxis);
        EXPECT_EQ(t.RowCount(), 4);
        EXPECT_DOUBLE_EQ(t.RowValue(3), 42.5);
        EXPECT_DOUBLE_EQ(t.ColumnValue(21), -40.0 + 21 * 2.5);
        EXPECT_NEAR(t.RowValueSI(0), k.firstRowSI, 1e-5);
        EXPECT_NEAR(t.ColumnValueSI(0), k.firstColumnSI, 1e-5);
        // Out of the axis: nothing.
        EXPECT_EQ(t.RowValue(-1), 0.0);
        EXPECT_EQ(t.ColumnValueSI(kMaxTableAxis), 0.0);
    }
    TTableObject t;
    t.SetEvenAxes(-5, 3, 1, 1, 0, 0);
    EXPECT_EQ(t.ColumnCount(), 0);
}

TEST(TTableObject, ChangingTheUnitSystemConvertsTheStoredValuesAgain) {
    TTableObject t;
    const std::vector<double> rows = {32.0, 212.0};
    t.SetRows(rows);
    EXPECT_DOUBLE_EQ(t.RowValueSI(1), 212.0);
    t.SetUnitSystem(UnitSystem::Imperial);
    EXPECT_NEAR(t.RowValueSI(0), 0.0, 1e-5);
    EXPECT_NEAR(t.RowValueSI(1), 100.0, 1e-4);
}

TEST(TTableObject, RowsCellsAndTheirLimits) {
    TTableObject t;
    const std::vector<double> columns = {-10, 0};
    t.SetColumns(columns);
    TrowObj& row = t.AddRow(104.0, 40.0);
    EXPECT_EQ(row.Value(), 104.0);
    EXPECT_EQ(row.ValueSI(), 40.0);
    for (int j = 0; j < kMaxTableAxis; ++j) EXPECT_EQ(row.Cell(j), ResultVector{});
    row.Cell(1).SetStatus(st::CondTooHigh);
    row.Cell(0).Set(q::CoolingCapacity, 12.5);
    EXPECT_EQ(t.CellStatus(0, 2), st::CondTooHigh);
    EXPECT_EQ(t.CellResult(0, 1, q::CoolingCapacity), 12.5);

    EXPECT_THROW(t.CellStatus(0, 0), std::out_of_range);  // columns count from 1
    EXPECT_THROW(t.CellStatus(0, 3), std::out_of_range);  // beyond the column count
    EXPECT_THROW(t.CellStatus(1, 1), std::out_of_range);  // a row not filled
    EXPECT_THROW(t.CellStatus(-1, 1), std::out_of_range);
    EXPECT_THROW(row.Cell(kMaxTableAxis), std::out_of_range);

    for (int i = 1; i < kMaxTableAxis; ++i) t.AddRow(i, i);
    EXPECT_THROW(t.AddRow(0, 0), std::length_error);
    t.SetComputed(true);
    t.Reset();
    EXPECT_TRUE(t.Rows().empty());
    EXPECT_FALSE(t.Computed());
    EXPECT_EQ(t.ColumnCount(), 2);  // the layout stays
}

// --- compressor axes from the envelope ------------------------------------------------------

TEST(CompressorTableAxes, Columns) {
    const double nan = std::nan("");
    struct Case {
        const char* name;
        double xMin, xMax;
        UnitSystem system;
        std::vector<double> expected;
    };
    const std::vector<Case> cases = {
        {"-40 to 12.5", -40, 12.5, UnitSystem::SI, Concat(Range(-40, 0, 5), {5, 7, 10, 12.5})},
        {"kcal as SI", -40, 12.5, UnitSystem::Kcal, Concat(Range(-40, 0, 5), {5, 7, 10, 12.5})},
        {"a bound a hair below a grid value", -25, 9.99999, UnitSystem::SI,
         Concat(Range(-25, 0, 5), {5, 7, 10})},
        {"truncated toward zero", -38, 10, UnitSystem::SI, Concat(Range(-35, 0, 5), {5, 7, 10})},
        {"above 15 in fives", 5, 30, UnitSystem::SI, {5, 7, 10, 12.5, 15, 20, 25, 30}},
        {"at most 22", -100, 50, UnitSystem::SI, Range(-100, 5, 5)},
        {"Imperial", -40, 12.5, UnitSystem::Imperial, Range(-40, 50, 10)},
        {"Imperial rounded to the nearest ten", -23, 7, UnitSystem::Imperial, Range(-10, 40, 10)},
        {"no extent", nan, nan, UnitSystem::SI, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(CompressorTableColumns(k.xMin, k.xMax, k.system), k.expected);
    }
}

TEST(CompressorTableAxes, Rows) {
    struct Case {
        const char* name;
        double yMin, yMax;
        UnitSystem system;
        bool transcritical;
        std::vector<double> expected;
    };
    const std::vector<Case> cases = {
        {"last row at the bound", 20, 63, UnitSystem::SI, false, Concat(Range(20, 60, 5), {63})},
        {"bound too far from the next step", 20, 61.5, UnitSystem::SI, false, Range(20, 60, 5)},
        {"bound on the grid", -10, 75, UnitSystem::SI, false, Range(-10, 75, 5)},
        {"start below the bound", 22.3, 50, UnitSystem::SI, false, Concat({22}, Range(25, 50, 5))},
        {"one narrow row", 22.6, 22.6, UnitSystem::SI, false, {22.6}},
        {"at most 22", 20, 200, UnitSystem::SI, false, Range(20, 125, 5)},
        {"transcritical", 20, 130, UnitSystem::SI, true, Range(5, 40, 5)},
        {"Imperial", 20, 63, UnitSystem::Imperial, false, Range(70, 140, 10)},
        {"Imperial start raised above the bound", 22, 63, UnitSystem::Imperial, false,
         Range(80, 140, 10)},
        {"Imperial transcritical", 75, 130, UnitSystem::Imperial, true, Range(30, 100, 10)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const std::vector<double> rows =
            CompressorTableRows(k.yMin, k.yMax, k.system, k.transcritical);
        ASSERT_EQ(rows.size(), k.expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_NEAR(rows[i], k.expected[i], 1e-9);
    }
}

// --- compressor tables ----------------------------------------------------------------------

class PerformanceTableTest : public CompressorFixture {
  protected:
    // A compressor inside -20..10 degC evaporating and 20..50 degC condensing.
    std::unique_ptr<TComp> Narrow(Trefrigerant& ref, std::uint16_t type = kNormalType) {
        return Compressor(
            ref, &Build(Bare(rating_kind::EN12900)
                            .Envelope(1, type, {{-20, 20}, {-20, 50}}, {{10, 20}, {10, 50}})));
    }

    // The direct evaluation the table makes for the cell at (x, y) degC.
    static ResultVector Direct(TComp& comp, OperatingConditions c, double x, double y,
                               ActivityMode mode = ActivityMode::Compressors) {
        c.evapTemp = c.satSuctionTemp = x;
        c.condTemp = c.satDischargeTemp = y;
        const ModelStatus status = ClampTableStatus(comp.EvaluateGuarded(c, mode));
        ResultVector r;
        if (status >= 0) r = comp.Results();
        r.SetStatus(status);
        return r;
    }

    // Every cell of the filled table against the direct evaluation at its point.
    static void ExpectCellsAreDirectEvaluations(TComp& comp, const TTableObject& t,
                                                const OperatingConditions& c,
                                                ActivityMode mode = ActivityMode::Compressors) {
        ASSERT_EQ(static_cast<int>(t.Rows().size()), t.RowCount());
        for (int i = 0; i < t.RowCount(); ++i)
            for (int j = 1; j <= t.ColumnCount(); ++j) {
                SCOPED_TRACE(::testing::Message() << "row " << i << " column " << j);
                EXPECT_EQ(t.Cell(i, j),
                          Direct(comp, c, t.ColumnValueSI(j - 1), t.RowValueSI(i), mode));
            }
    }

    static void ExpectNoResults(const ResultVector& cell) {
        for (QuantityCode code = 1; code < kResultCount; ++code) EXPECT_EQ(cell[code], 0.0);
    }
};

TEST_F(PerformanceTableTest, AutomaticAxesFromTheCompressorsEnvelope) {
    auto comp = Compressor(r134a, &Build(Bare(rating_kind::EN12900)
                                             .Envelope(1, kNormalType, {{-40, 20}, {-40, 63}},
                                                       {{12.5, 20}, {12.5, 63}})));
    for (const UnitSystem system : {UnitSystem::SI, UnitSystem::Imperial}) {
        SCOPED_TRACE(ToInt(system));
        TTableObject t(TableDefinition{}, true);
        comp->SetUpTableAxes(t, system);
        EXPECT_EQ(t.AxisUnitSystem(), system);
        EXPECT_EQ(Columns(t), CompressorTableColumns(-40, 12.5, system));
        EXPECT_EQ(Rows(t), CompressorTableRows(20, 63, system, false));
        const bool imperial = system == UnitSystem::Imperial;
        EXPECT_NEAR(t.RowValueSI(0), imperial ? FromFahrenheit(70) : 20.0, 1e-5);
        EXPECT_NEAR(t.ColumnValueSI(t.ColumnCount() - 1), imperial ? FromFahrenheit(50) : 12.5,
                    1e-5);
    }
}

TEST_F(PerformanceTableTest, AxesFollowTheEnvelopeOfTheLoadStep) {
    TcrateObj& a =
        Build(Bare(rating_kind::EN12900)
                  .Envelope(1, kNormalType, {{-40, 10}, {-40, 60}}, {{10, 10}, {10, 60}}));
    TcrateObj& b = Build(Bare(rating_kind::EN12900)
                             .Envelope(1, kNormalType, {{-30, 20}, {-30, 50}}, {{0, 20}, {0, 50}}));
    auto comp = Compressor(r134a, &a, &b);
    TTableObject t(TableDefinition{}, true);
    comp->SetUpTableAxes(t, UnitSystem::SI);
    EXPECT_EQ(t.ColumnValue(0), -40.0);
    EXPECT_EQ(t.RowValue(0), 10.0);
    comp->SetLoad(50);
    comp->SetUpTableAxes(t, UnitSystem::SI);
    EXPECT_EQ(Columns(t), Range(-30, 0, 5));
    EXPECT_EQ(Rows(t), Range(20, 50, 5));
}

TEST_F(PerformanceTableTest, WithoutEnvelopeSixRowsAndTheWideColumns) {
    auto comp = Compressor(r134a, &Build(Bare(rating_kind::EN12900)));
    TTableObject t(TableDefinition{}, true);
    const std::vector<double> rows = {25, 35, 45, 55, 65, 75, 85};
    t.SetRows(rows);
    comp->SetUpTableAxes(t, UnitSystem::SI);
    EXPECT_EQ(Columns(t), Range(-70, 20, 5));
    ASSERT_EQ(t.RowCount(), kUnboundedTableRows);
    EXPECT_EQ(t.RowValue(5), 75.0);  // the row values stay
}

TEST_F(PerformanceTableTest, CellsAtAndBeyondTheEnvelope) {
    auto comp = Narrow(r134a);
    const OperatingConditions c = Point(r134a, -10, 40);
    TTableObject t;
    const std::vector<double> columns = {-25, -20, 10, 15};
    const std::vector<double> rows = {15, 20, 45, 55};
    t.SetColumns(columns);
    t.SetRows(rows);
    comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_TRUE(t.Computed());
    ASSERT_EQ(t.Rows().size(), 4u);

    // Row by row, columns left to right: on the envelope's sides the cells are valid.
    const ModelStatus expected[4][4] = {
        {st::EvapTooLow, st::CondTooLow, st::CondTooLow, st::EvapTooHigh},
        {st::EvapTooLow, st::Valid, st::Valid, st::EvapTooHigh},
        {st::EvapTooLow, st::Valid, st::Valid, st::EvapTooHigh},
        {st::EvapTooLow, st::CondTooHigh, st::CondTooHigh, st::EvapTooHigh},
    };
    for (int i = 0; i < 4; ++i)
        for (int j = 1; j <= 4; ++j) {
            SCOPED_TRACE(::testing::Message() << "row " << i << " column " << j);
            const ResultVector& cell = t.Cell(i, j);
            if (expected[i][j - 1] < 0) {
                // Outside: a status of the side it lies on, and nothing else.
                EXPECT_LT(cell.Status(), 0);
                ExpectNoResults(cell);
            } else {
                EXPECT_EQ(cell.Status(), st::Valid);
                EXPECT_GT(cell[q::CoolingCapacity], 0.0);
                EXPECT_GT(cell[q::PowerInput], 0.0);
            }
        }
    EXPECT_EQ(t.CellStatus(1, 1), st::EvapTooLow);
    EXPECT_EQ(t.CellStatus(1, 4), st::EvapTooHigh);
    EXPECT_EQ(t.CellStatus(0, 2), st::CondTooLow);
    EXPECT_EQ(t.CellStatus(3, 3), st::CondTooHigh);
    ExpectCellsAreDirectEvaluations(*comp, t, c);
}

TEST_F(PerformanceTableTest, WarningsAreLimitedToThreeExceptTheExtendedEnvelope) {
    struct Case {
        const char* name;
        std::uint16_t type;
        ModelStatus model, cell;
    };
    for (const Case k : {Case{"preliminary data", kPreliminaryType, st::PreliminaryData, 3},
                         Case{"other envelope kind", kOtherKindType, st::OtherEnvelopeKind, 1}}) {
        SCOPED_TRACE(k.name);
        auto comp = Narrow(r134a, k.type);
        const OperatingConditions c = Point(r134a, -10, 40);
        ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), k.model);
        const ResultVector direct = comp->Results();
        TTableObject t;
        t.SetEvenAxes(1, 1, 0, 0, 40, -10);
        comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
        EXPECT_EQ(t.CellStatus(0, 1), k.cell);
        // The results are the model's; only the status is the table's.
        for (QuantityCode code = 1; code < kResultCount; ++code)
            EXPECT_EQ(t.CellResult(0, 1, code), direct[code]) << code;
    }
    for (const ModelStatus s : {-40, -25, -1, 0, 3, 4, 5, 7, 8, 9})
        EXPECT_EQ(ClampTableStatus(s), s < -25 ? -25 : (s > 3 && s != 8 ? 3 : s)) << s;
}

TEST_F(PerformanceTableTest, CellsEqualDirectEvaluationsForEachRefrigerantBasis) {
    struct Case {
        const char* name;
        Trefrigerant* ref;
    };
    for (const Case k : {Case{"pure", &r134a}, Case{"mid point", &r407c}, Case{"dew", &r404a}}) {
        SCOPED_TRACE(k.name);
        auto comp = Narrow(*k.ref);
        const OperatingConditions c = Point(*k.ref, -10, 40, 15, 4);
        TTableObject t(TableDefinition{}, true);
        comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
        ASSERT_TRUE(t.Computed());
        EXPECT_EQ(Columns(t), Concat(Range(-20, 0, 5), {5, 7, 10}));
        EXPECT_EQ(Rows(t), Range(20, 50, 5));
        ExpectCellsAreDirectEvaluations(*comp, t, c);
    }
}

TEST_F(PerformanceTableTest, HeatPumpModeCellsUseTheModesEvaluation) {
    auto comp = Narrow(r134a);
    const OperatingConditions c = Point(r134a, -5, 45);
    TTableObject t(TableDefinition{}, true);
    comp->FillTable(t, c, ActivityMode::HeatPumpCompressors, UnitSystem::SI);
    ASSERT_TRUE(t.Computed());
    ExpectCellsAreDirectEvaluations(*comp, t, c, ActivityMode::HeatPumpCompressors);
    EXPECT_GT(t.CellResult(2, 2, q::COP), t.CellResult(2, 2, q::RefrigerationCOP));
}

TEST_F(PerformanceTableTest, CustomAxesInImperialUnits) {
    auto comp = Narrow(r134a);
    const OperatingConditions c = Point(r134a, -10, 40);
    TableDefinition d;
    d.name = "Customer points";
    d.unitSystem = UnitSystem::Imperial;
    d.columnCount = 3;
    d.rowCount = 2;
    d.columnValues = {-30.0f, 20.0f, 45.0f};
    d.rowValues = {90.0f, 130.0f};
    TTableObject t(d, false);
    // Filled in SI display: the layout keeps its own axes and unit system.
    comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_TRUE(t.Computed());
    EXPECT_EQ(t.AxisUnitSystem(), UnitSystem::Imperial);
    ASSERT_EQ(t.Rows().size(), 2u);
    EXPECT_EQ(t.Rows()[1]->Value(), 130.0);
    EXPECT_NEAR(t.Rows()[1]->ValueSI(), FromFahrenheit(130), 1e-5);
    EXPECT_EQ(Columns(t), (std::vector<double>{-30, 20, 45}));
    EXPECT_EQ(t.CellStatus(0, 1), st::EvapTooLow);   // -34.4 degC
    EXPECT_EQ(t.CellStatus(0, 2), st::Valid);        // -6.7 / 32.2 degC
    EXPECT_EQ(t.CellStatus(1, 3), st::CondTooHigh);  // 54.4 degC
    ExpectCellsAreDirectEvaluations(*comp, t, c);
}

TEST_F(PerformanceTableTest, TenByTenTable) {
    auto comp = Narrow(r404a);
    const OperatingConditions c = Point(r404a, -10, 40);
    TTableObject t;
    t.SetEvenAxes(10, 10, 5, 5, 10, -30);  // -30..15 across, 10..55 down
    comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_TRUE(t.Computed());
    ASSERT_EQ(t.Rows().size(), 10u);
    int valid = 0;
    for (int i = 0; i < 10; ++i)
        for (int j = 1; j <= 10; ++j) {
            const double x = t.ColumnValueSI(j - 1), y = t.RowValueSI(i);
            const bool inside = y >= 20 && y <= 50 && x >= -20 && x <= 10;
            EXPECT_EQ(t.CellStatus(i, j) >= 0, inside) << i << " " << j;
            valid += inside ? 1 : 0;
        }
    EXPECT_EQ(valid, 7 * 7);
    ExpectCellsAreDirectEvaluations(*comp, t, c);
    // Capacity falls with the condensing temperature and rises with the evaporating one.
    EXPECT_GT(t.CellResult(2, 5, q::CoolingCapacity), t.CellResult(8, 5, q::CoolingCapacity));
    EXPECT_LT(t.CellResult(5, 3, q::CoolingCapacity), t.CellResult(5, 9, q::CoolingCapacity));
}

TEST_F(PerformanceTableTest, CellsHoldAtTheModelsSpeedAndLoad) {
    std::array<double, 40> speed{};
    speed[0] = 0.003;    // capacity per rpm
    speed[10] = 0.0006;  // power per rpm
    const std::vector<EnvelopeCorner> left = {{-20, 20}, {-20, 50}};
    const std::vector<EnvelopeCorner> right = {{10, 20}, {10, 50}};
    auto variable = Compressor(r134a, &Build(Bare(rating_kind::EN12900)
                                                 .NominalSpeed(3000)
                                                 .SpeedEnvelope(1, kNormalType, 2400, left, right)
                                                 .SpeedLevel(1, 1200, left, right)
                                                 .SpeedLevel(1, 6000, left, right)
                                                 .SpeedPolynomials(speed)));
    ASSERT_TRUE(variable->IsVariableSpeed());
    auto stepped =
        Compressor(r134a, &Build(Bare(rating_kind::EN12900).Envelope(1, kNormalType, left, right)),
                   &Build(Bare(rating_kind::EN12900)
                              .Coefficients(CoefficientBlock::A, Scaled(kCapacity, 0.5))
                              .Envelope(1, kNormalType, left, right)));
    const OperatingConditions c = Point(r134a, -10, 40);
    struct Case {
        const char* name;
        TComp* comp;
        std::int32_t rpm, load;
    };
    for (const Case k :
         {Case{"low speed", variable.get(), 1800, 100},
          Case{"high speed", variable.get(), 5400, 100}, Case{"part load", stepped.get(), 0, 75}}) {
        SCOPED_TRACE(k.name);
        if (k.rpm != 0) k.comp->SetSpeed(k.rpm);
        k.comp->SetLoad(k.load);
        TTableObject t(TableDefinition{}, true);
        k.comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
        ASSERT_TRUE(t.Computed());
        ASSERT_GT(t.RowCount(), 0);
        EXPECT_EQ(t.CellStatus(2, 3), st::Valid);
        EXPECT_EQ(t.CellResult(2, 3, q::Speed), k.rpm);
        EXPECT_EQ(t.CellResult(2, 3, q::Load), k.load);
        ExpectCellsAreDirectEvaluations(*k.comp, t, c);
    }
}

TEST_F(PerformanceTableTest, TheModelKeepsItsOwnResults) {
    auto comp = Narrow(r134a);
    const OperatingConditions c = Point(r134a, -10, 40);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const ResultVector before = comp->Results();
    TTableObject t(TableDefinition{}, true);
    comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_TRUE(t.Computed());
    EXPECT_EQ(comp->Results(), before);
    EXPECT_EQ(comp->Status(), st::Valid);
}

TEST_F(PerformanceTableTest, AdvancedInputsLeaveTheTableUncomputed) {
    auto comp = Narrow(r134a);
    OperatingConditions c = Point(r134a, -10, 40);
    c.advanced = true;
    TTableObject t(TableDefinition{}, true);
    t.AddRow(1, 1);
    comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
    EXPECT_FALSE(t.Computed());
    EXPECT_TRUE(t.Rows().empty());
}

TEST_F(PerformanceTableTest, ATableWithoutAxesHasNoRows) {
    auto comp = Narrow(r134a);
    TTableObject t;
    comp->FillTable(t, Point(r134a, -10, 40), ActivityMode::Compressors, UnitSystem::SI);
    EXPECT_TRUE(t.Computed());
    EXPECT_TRUE(t.Rows().empty());
}

TEST_F(PerformanceTableTest, NonsenseAxisValuesGiveErrorCells) {
    auto comp = Narrow(r134a);
    TTableObject t;
    const std::vector<double> columns = {std::nan(""), -10, 1e30};
    const std::vector<double> rows = {40, -1e30};
    t.SetColumns(columns);
    t.SetRows(rows);
    comp->FillTable(t, Point(r134a, -10, 40), ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_EQ(t.Rows().size(), 2u);
    EXPECT_LT(t.CellStatus(0, 1), 0);
    EXPECT_EQ(t.CellStatus(0, 2), st::Valid);
    EXPECT_LT(t.CellStatus(0, 3), 0);
    for (int j = 1; j <= 3; ++j) EXPECT_LT(t.CellStatus(1, j), 0);
}

TEST_F(PerformanceTableTest, TranscriticalCO2RowsAndPressures) {
    auto comp = Compressor(co2, &Build(CO2Set()));
    ASSERT_TRUE(comp->IsCO2Transcritical());
    const OperatingConditions c = CO2Point(co2, -10, 90, 35);
    TTableObject t(TableDefinition{}, true);
    comp->FillTable(t, c, ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_TRUE(t.Computed());
    EXPECT_EQ(Rows(t), Range(5, 40, 5));
    EXPECT_EQ(Columns(t), Range(-45, 5, 5));

    for (int i = 0; i < t.RowCount(); ++i) {
        const double y = t.RowValueSI(i);
        for (int j = 1; j <= t.ColumnCount(); ++j) {
            SCOPED_TRACE(::testing::Message() << "row " << y << " column " << j);
            OperatingConditions at = c;
            at.gasCoolerOutletTemp = y;
            at.evapTemp = at.satSuctionTemp = t.ColumnValueSI(j - 1);
            if (y < co2.criticalTemperature) {
                at.condTemp = at.satDischargeTemp = y;
                at.condPressure = at.dischargePressure = co2.BubblePressure(y);
            } else {
                at.condPressure = at.dischargePressure = comp->OptimumGasCoolerPressure(at);
            }
            const ModelStatus status =
                ClampTableStatus(comp->EvaluateGuarded(at, ActivityMode::Compressors));
            EXPECT_EQ(t.CellStatus(i, j), status);
            if (status < 0) {
                ExpectNoResults(t.Cell(i, j));
                continue;
            }
            EXPECT_EQ(t.CellResult(i, j, q::PressureDifference), at.condPressure);
            for (const QuantityCode code : {q::CoolingCapacity, q::PowerInput, q::MassFlow})
                EXPECT_EQ(t.CellResult(i, j, code), comp->Result(code)) << code;
        }
    }
    // Below the envelope's pressures when subcritical, inside it when transcritical.
    EXPECT_LT(t.CellStatus(0, 5), 0);
    EXPECT_GE(t.CellStatus(7, 5), 0);
    EXPECT_GE(t.CellResult(7, 5, q::PressureDifference), 75.0);
    EXPECT_LE(t.CellResult(7, 5, q::PressureDifference), 130.0);
}

TEST_F(PerformanceTableTest, ATableOfAnotherKindIsNotFilled) {
    struct Other : ModelTable {
        void ClearRows() override {}
        bool AutomaticAxes() const override { return true; }
        void SetComputed(bool c) override { computed = c; }
        bool computed = true;
    } other;
    auto comp = Narrow(r134a);
    comp->FillTable(other, Point(r134a, -10, 40), ActivityMode::Compressors, UnitSystem::SI);
    EXPECT_FALSE(other.computed);
}

}  // namespace
}  // namespace kelvra::testing
