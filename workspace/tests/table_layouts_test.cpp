// The performance-table tab without a display: which layout a mode and unit system use, user
// layouts through "table.dat", the computation that must leave the model's own results alone,
// the operating cell, a double-click's new operating point, the quantities offered and the
// custom-table arithmetic.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "custom_table.hpp"
#include "data_store.hpp"
#include "language_texts.hpp"
#include "selection_fixture.hpp"
#include "table_layouts.hpp"
#include "table_view.hpp"

namespace kelvra {
namespace {

namespace q = quantity;

TableLayoutRecord Record(std::string name, TableProduct product, UnitSystem system,
                         std::vector<float> columns, std::vector<float> rows) {
    TableLayoutRecord r;
    r.name = std::move(name);
    r.productType = static_cast<std::int32_t>(product);
    r.unitSystem = ToInt(system);
    r.setting1 = static_cast<std::int32_t>(columns.size());
    r.setting2 = static_cast<std::int32_t>(rows.size());
    std::copy(columns.begin(), columns.end(), r.axis1.begin());
    std::copy(rows.begin(), rows.end(), r.axis2.begin());
    return r;
}

std::vector<double> Columns(const TTableObject& table) {
    std::vector<double> values;
    for (int j = 0; j < table.ColumnCount(); ++j) values.push_back(table.ColumnValue(j));
    return values;
}

std::vector<double> Rows(const TTableObject& table) {
    std::vector<double> values;
    for (const auto& row : table.Rows()) values.push_back(row->Value());
    return values;
}

// --- layouts per mode and unit system -------------------------------------------------------

TEST(TableLayouts, EachModeAndUnitSystemTakesItsOwnDefaultOrTheBuiltInTable) {
    TableLayouts layouts;
    layouts.Tables() = {
        Record("C metric 1", TableProduct::Compressors, UnitSystem::SI, {-30, -20}, {40, 50}),
        Record("C imperial 1", TableProduct::Compressors, UnitSystem::Imperial, {0, 20}, {100}),
        Record("U metric 1", TableProduct::CondensingUnits, UnitSystem::SI, {-10}, {32}),
        Record("C metric 2", TableProduct::Compressors, UnitSystem::Kcal, {-10, 0}, {45}),
        Record("H metric 1", TableProduct::HeatPumpCompressors, UnitSystem::SI, {-5}, {50}),
    };
    layouts.Defaults().For(TableProduct::Compressors, UnitSystem::SI) = 2;
    layouts.Defaults().For(TableProduct::Compressors, UnitSystem::Imperial) = 1;
    layouts.Defaults().For(TableProduct::CondensingUnits, UnitSystem::SI) = 1;
    layouts.Defaults().For(TableProduct::HeatPumpCompressors, UnitSystem::SI) = 3;  // beyond

    struct Case {
        ActivityMode mode;
        UnitSystem system;
        const char* expected;  // empty: the built-in table
    };
    const Case cases[] = {
        {ActivityMode::Compressors, UnitSystem::SI, "C metric 2"},
        {ActivityMode::Compressors, UnitSystem::Kcal, "C metric 2"},  // kcal shares the SI tables
        {ActivityMode::Compressors, UnitSystem::Imperial, "C imperial 1"},
        {ActivityMode::CondensingUnits, UnitSystem::SI, "U metric 1"},
        {ActivityMode::CondensingUnits, UnitSystem::Imperial, ""},     // default 0
        {ActivityMode::HeatPumpCompressors, UnitSystem::SI, ""},       // count beyond the list
        {ActivityMode::ExpansionValves, UnitSystem::SI, ""},           // only the built-in table
        {ActivityMode::BrineWaterHeatPumps, UnitSystem::Imperial, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(ToInt(c.mode)) + "/" + std::to_string(ToInt(c.system)));
        const auto user = layouts.UserTableFor(c.mode, c.system);
        const auto table = layouts.MakeTable(c.mode, c.system);
        if (*c.expected == '\0') {
            EXPECT_FALSE(user.has_value());
            EXPECT_TRUE(table->AutomaticAxes());
        } else {
            ASSERT_TRUE(user.has_value());
            EXPECT_EQ(user->name, c.expected);
            EXPECT_FALSE(table->AutomaticAxes());
            EXPECT_EQ(table->Name(), c.expected);
        }
    }
    // the Imperial user table keeps its degF values and converts them for the evaluations
    const auto imperial = layouts.MakeTable(ActivityMode::Compressors, UnitSystem::Imperial);
    EXPECT_EQ(imperial->AxisUnitSystem(), UnitSystem::Imperial);
    EXPECT_EQ(Columns(*imperial), (std::vector<double>{0, 20}));
    EXPECT_NEAR(imperial->ColumnValueSI(0), -17.7778, 1e-3);
    EXPECT_NEAR(imperial->RowValueSI(0), 37.7778, 1e-3);
}

TEST(TableLayouts, ACustomLayoutSurvivesTheTableFileAndComesBackAsTheSameTable) {
    testing::ScratchFolder user;
    testing::ScratchFolder installation;
    TableDefinition custom;
    custom.name = "K\u00FChlraum";
    custom.productType = 0;
    custom.unitSystem = UnitSystem::SI;
    custom.columnCount = 4;
    custom.rowCount = 3;
    custom.columnValues = {-35, -25, -12.5f, 2};
    custom.rowValues = {30, 42.5f, 55};

    TableLayouts saved;
    saved.Tables().push_back(RecordFromDefinition(custom));
    saved.Tables().push_back(RecordFromDefinition(NewTableLayout(TableProduct::CondensingUnits,
                                                                 UnitSystem::Imperial)));
    ASSERT_TRUE(saved.Save(user.path()));

    TableLayouts loaded;
    ASSERT_TRUE(loaded.Load(user.path(), installation.path()));
    ASSERT_EQ(loaded.Tables().size(), 2u);
    EXPECT_EQ(DefinitionFromRecord(loaded.Tables()[0]), custom);
    EXPECT_EQ(loaded.Tables()[1].productType, 1);
    EXPECT_TRUE(loaded.Tables()[1].IsImperial());

    loaded.Defaults().For(TableProduct::Compressors, UnitSystem::SI) = 1;
    const auto table = loaded.MakeTable(ActivityMode::Compressors, UnitSystem::SI);
    EXPECT_EQ(Columns(*table), (std::vector<double>{-35, -25, -12.5, 2}));
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_DOUBLE_EQ(table->RowValue(1), 42.5);
}

TEST(TableLayouts, WithoutAnyTableFileThereAreNoUserTablesAndNoComplaint) {
    testing::ScratchFolder user;
    testing::ScratchFolder installation;
    TableLayouts layouts;
    layouts.Defaults().For(TableProduct::Compressors, UnitSystem::SI) = 1;
    EXPECT_TRUE(layouts.Load(user.path(), installation.path()));
    EXPECT_TRUE(layouts.Tables().empty());
    EXPECT_TRUE(layouts.MakeTable(ActivityMode::Compressors, UnitSystem::SI)->AutomaticAxes());
}

TEST(TableLayouts, ADamagedTableFileKeepsItsWholeRecordsAndSaysWhatIsWrong) {
    testing::ScratchFolder user;
    testing::ScratchFolder installation;
    TableLayoutRecord wild = Record("wild", TableProduct::Compressors, UnitSystem::SI, {1}, {2});
    wild.setting1 = 5000;  // more columns than a table has
    wild.setting2 = -3;
    wild.axis1[0] = std::nanf("");
    ASSERT_TRUE(SaveTableLayouts(installation.path() / "table.dat", {wild}));
    {
        std::ofstream out(installation.path() / "table.dat", std::ios::binary | std::ios::app);
        out << "half a record";
    }
    TableLayouts layouts;
    const IoStatus status = layouts.Load(user.path(), installation.path());
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.message.empty());
    ASSERT_EQ(layouts.Tables().size(), 1u);
    const TableDefinition d = DefinitionFromRecord(layouts.Tables()[0]);
    EXPECT_EQ(d.columnCount, kMaxTableAxis);
    EXPECT_EQ(d.rowCount, 0);
    EXPECT_EQ(d.columnValues[0], 0.0f);
}

TEST(TableLayouts, BuiltInLayoutsAndTheRegularTest) {
    const TableDefinition si = BuiltInTableLayout(TableProduct::Compressors, UnitSystem::SI);
    EXPECT_EQ(si.columnCount, 11);
    EXPECT_EQ(si.columnValues[0], -40.0f);
    EXPECT_EQ(si.columnValues[10], 10.0f);
    EXPECT_EQ(si.rowCount, 8);
    EXPECT_EQ(si.rowValues[7], 60.0f);
    EXPECT_TRUE(IsRegularLayout(si));
    const TableDefinition imperial =
        BuiltInTableLayout(TableProduct::Compressors, UnitSystem::Imperial);
    EXPECT_EQ(imperial.unitSystem, UnitSystem::Imperial);
    EXPECT_EQ(imperial.rowValues[0], 80.0f);
    const TableDefinition fresh = NewTableLayout(TableProduct::Compressors, UnitSystem::Kcal);
    EXPECT_EQ(fresh.name, Text("strNewTable", "New Table"));
    EXPECT_EQ(fresh.unitSystem, UnitSystem::SI);

    TableDefinition uneven = si;
    uneven.columnValues[5] = -14.0f;
    EXPECT_FALSE(IsRegularLayout(uneven));
}

// --- computing and showing the table of a fixture compressor ----------------------------------

class TableOnFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(libraries.loaded.general);
        WriteProductDatabase(folder.path(), testing::SelectionFixtureDatabase());
        store = std::make_unique<TdataStore>(DatabaseSources{folder.path(), nullptr});
        ASSERT_TRUE(store->Valid() && !store->Missing());
        for (const auto& model : store->Compressors())
            if (model->name == "KS-10" && model->refrigerant != nullptr &&
                model->refrigerant->name == "R134a" && model->supply && model->supply->frequency == 50)
                compressor = model.get();
        ASSERT_NE(compressor, nullptr);
        conditions.evapTemp = -10;
        conditions.condTemp = 40;
        conditions.superheat = 10;
        conditions.subcooling = 0;
        conditions.useSGR = false;
        ASSERT_GE(Resolve(conditions, compressor->refrigerant), 0);
        ASSERT_GE(compressor->Evaluate(conditions, ActivityMode::Compressors), 0);
    }

    testing::PropertyLibraries libraries;
    testing::ScratchFolder folder;
    std::unique_ptr<TdataStore> store;
    TCModel* compressor = nullptr;
    OperatingConditions conditions;
};

TEST_F(TableOnFixture, TheBuiltInTableFollowsTheEnvelopeAndKeepsTheModelsOwnResults) {
    const ResultVector before = compressor->Results();
    TableLayouts layouts;
    const auto table = layouts.MakeTable(ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_TRUE(ComputeTable(*table, compressor, conditions, ActivityMode::Compressors,
                             UnitSystem::SI));
    EXPECT_TRUE(table->Computed());
    EXPECT_EQ(compressor->Results(), before);
    // envelope -40..15 degC evaporating, 10..65 degC condensing
    EXPECT_EQ(Columns(*table), (std::vector<double>{-40, -35, -30, -25, -20, -15, -10, -5, 0, 5,
                                                    7, 10, 12.5, 15}));
    EXPECT_EQ(Rows(*table).front(), 10);
    EXPECT_EQ(Rows(*table).back(), 65);
    EXPECT_FALSE(TableMessage(compressor, table.get(), ActivityMode::Compressors, conditions));

    // the cell of the operating point holds the model's own capacity there
    const TableCell cell = OperatingCell(*table, -1, conditions, ActivityMode::Compressors, false);
    EXPECT_EQ(cell, (TableCell{7, 7}));  // 40 degC is the 7th row, -10 degC the 7th column
    EXPECT_NEAR(table->CellResult(cell.row - 1, cell.column, q::CoolingCapacity),
                before.Get(q::CoolingCapacity), 1e-9);
}

TEST_F(TableOnFixture, AUserTableBeyondTheEnvelopeShowsOnlyStatusesThere) {
    TableLayouts layouts;
    layouts.Tables() = {Record("wide", TableProduct::Compressors, UnitSystem::SI,
                               {-50, -10, 12.5f, 20}, {40, 66})};
    layouts.Defaults().For(TableProduct::Compressors, UnitSystem::SI) = 1;
    const auto table = layouts.MakeTable(ActivityMode::Compressors, UnitSystem::SI);
    ASSERT_TRUE(ComputeTable(*table, compressor, conditions, ActivityMode::Compressors,
                             UnitSystem::SI));
    ASSERT_EQ(table->Rows().size(), 2u);
    // at 40 degC: too cold, inside, inside, too warm
    EXPECT_LT(table->CellStatus(0, 1), 0);
    EXPECT_EQ(table->CellResult(0, 1, q::CoolingCapacity), 0.0);
    EXPECT_GE(table->CellStatus(0, 2), 0);
    EXPECT_GE(table->CellStatus(0, 3), 0);
    EXPECT_LT(table->CellStatus(0, 4), 0);
    EXPECT_LT(table->CellStatus(1, 2), 0);  // above the envelope's 65 degC
    EXPECT_NE(TableStatusColour(table->CellStatus(0, 1)), 0xFFFFFFu);
    EXPECT_EQ(TableCellStatus(*table, -1, {1, 1}), table->CellStatus(0, 1));
}

TEST_F(TableOnFixture, NoTableForAdvancedConditionsPartialUsefulSuperheatOrWithoutAModel) {
    TableLayouts layouts;
    auto table = layouts.MakeTable(ActivityMode::Compressors, UnitSystem::SI);
    OperatingConditions advanced = conditions;
    advanced.advanced = true;
    ComputeTable(*table, compressor, advanced, ActivityMode::Compressors, UnitSystem::SI);
    EXPECT_EQ(TableMessage(compressor, table.get(), ActivityMode::Compressors, advanced),
              Text("strCantShow", "The table cannot be shown with these operating conditions"));

    OperatingConditions partial = conditions;
    partial.usefulAll = false;
    ComputeTable(*table, compressor, partial, ActivityMode::Compressors, UnitSystem::SI);
    EXPECT_TRUE(table->Computed());
    EXPECT_TRUE(TableMessage(compressor, table.get(), ActivityMode::Compressors, partial));

    EXPECT_FALSE(ComputeTable(*table, nullptr, conditions, ActivityMode::Compressors,
                              UnitSystem::SI));
    EXPECT_EQ(TableMessage(nullptr, table.get(), ActivityMode::Compressors, conditions),
              Text("strNoModels", "No models available"));
    EXPECT_EQ(TableMessage(compressor, nullptr, ActivityMode::SolenoidValves, conditions),
              "No table available");
}

TEST_F(TableOnFixture, TheQuantityListFollowsTheSummaryOfTheMode) {
    const auto codes = [&](ActivityMode mode) {
        std::vector<QuantityCode> list;
        for (const TableQuantity& entry :
             TableQuantities(*compressor, mode, UnitSystem::SI, conditions, compressor->supply))
            list.push_back(entry.code);
        return list;
    };
    // without vapour injection the economiser capacity is not offered; the fixture compressor
    // reports heat rejection, not heating
    EXPECT_EQ(codes(ActivityMode::Compressors), (std::vector<QuantityCode>{1, 2, 4, 3, 7, 6, 8}));
    EXPECT_EQ(codes(ActivityMode::HeatPumpCompressors),
              (std::vector<QuantityCode>{11, 2, 4, 3, 7, 1}));
    EXPECT_TRUE(codes(ActivityMode::ExpansionValves).empty());
    const auto list =
        TableQuantities(*compressor, ActivityMode::Compressors, UnitSystem::SI, conditions,
                        compressor->supply);
    EXPECT_EQ(list[3].text, Text("strCurrentAt", "Current at") + " 400V, A");
    const auto units = TableQuantities(*compressor, ActivityMode::CondensingUnits,
                                       UnitSystem::Imperial, conditions, compressor->supply);
    ASSERT_GE(units.size(), 4u);
    EXPECT_EQ(units[1].text.rfind(Text("strTotal", "Total") + " ", 0), 0u);
    EXPECT_EQ(units[3].text.rfind(Text("strCompressor", "Compressor") + " ", 0), 0u);
    EXPECT_NE(units[0].text.find("kBtu/h"), std::string::npos);
}

// --- the grid's arithmetic ------------------------------------------------------------------------

TEST(TableView, TheOperatingCellIsTheLastValueAtOrBelowThePoint) {
    TableDefinition d = BuiltInTableLayout(TableProduct::Compressors, UnitSystem::SI);
    TTableObject table(d, false);
    for (int i = 0; i < table.RowCount(); ++i) table.AddRow(table.RowValue(i), table.RowValueSI(i));
    struct Case {
        double evap;
        double cond;
        TableCell expected;
    };
    const Case cases[] = {
        {-12.0, 41.0, {4, 6}},      // between two values: the lower ones
        {-10.0005, 40.0, {4, 7}},   // within 0.001 of a value: that value
        {-10.002, 39.998, {3, 6}},  // beyond 0.001: the value below
        {-60.0, 10.0, {1, 1}},      // below every value: the first row and column
        {30.0, 90.0, {8, 11}},      // above every value: the last
    };
    for (const Case& c : cases) {
        OperatingConditions conditions;
        conditions.evapTemp = c.evap;
        conditions.condTemp = c.cond;
        EXPECT_EQ(OperatingCell(table, -1, conditions, ActivityMode::Compressors, false), c.expected)
            << c.evap << "/" << c.cond;
    }
    // condensing units follow the ambient temperature, heat pumps source and water outlet
    OperatingConditions conditions;
    conditions.evapTemp = -40;
    conditions.condTemp = 25;
    conditions.ambientTemp = 35;
    conditions.sourceInletTemp = 0;
    conditions.waterOutletTemp = 45;
    EXPECT_EQ(OperatingCell(table, -1, conditions, ActivityMode::CondensingUnits, false),
              (TableCell{3, 1}));
    EXPECT_EQ(OperatingCell(table, -1, conditions, ActivityMode::AirWaterHeatPumps, false),
              (TableCell{5, 9}));
}

TEST(TableView, TheTranscriticalSeparatorSplitsCondensingFromGasCoolerRows) {
    TableDefinition d;
    d.columnCount = 2;
    d.rowCount = 4;
    d.columnValues = {-10, 0};
    d.rowValues = {20, 25, 35, 40};  // CO2: critical near 31 degC
    TTableObject table(d, false);
    for (int i = 0; i < table.RowCount(); ++i) {
        TrowObj& row = table.AddRow(table.RowValue(i), table.RowValueSI(i));
        for (int j = 0; j < 2; ++j) row.Cell(j).Set(q::PressureDifference, 80.0 + i + j);
    }
    const int separator = 2;
    const auto rows = TableGridRows(table, separator);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_TRUE(rows[2].separator);
    EXPECT_EQ(rows[3].tableRow, 2);
    EXPECT_EQ(TableCellStatus(table, separator, {3, 1}), 0);

    OperatingConditions c;
    c.evapTemp = -5;
    c.condTemp = 27;
    c.gasCoolerOutletTemp = 38;
    EXPECT_EQ(OperatingCell(table, separator, c, ActivityMode::Compressors, false),
              (TableCell{2, 1}));
    EXPECT_EQ(OperatingCell(table, separator, c, ActivityMode::Compressors, true),
              (TableCell{4, 1}));
    c.gasCoolerOutletTemp = 30;  // below every gas-cooler row: the default
    EXPECT_EQ(OperatingCell(table, separator, c, ActivityMode::Compressors, true),
              (TableCell{1, 1}));

    // a double-click on a gas-cooler row takes the cell's pressure
    c.condByPressure = 0;
    c.condPressure = 50;
    const auto moved = ConditionsAtCell(table, separator, {5, 2}, c, ActivityMode::Compressors);
    ASSERT_TRUE(moved);
    EXPECT_DOUBLE_EQ(moved->gasCoolerOutletTemp, 40);
    EXPECT_DOUBLE_EQ(moved->evapTemp, 0);
    EXPECT_DOUBLE_EQ(moved->condPressure, 84.0);
    EXPECT_EQ(moved->condByPressure, 1);
    // the separator row moves nothing
    EXPECT_FALSE(ConditionsAtCell(table, separator, {3, 2}, c, ActivityMode::Compressors));
}

TEST(TableView, ADoubleClickMovesThePointAsTemperatures) {
    TableDefinition d;
    d.unitSystem = UnitSystem::Imperial;
    d.columnCount = 2;
    d.rowCount = 2;
    d.columnValues = {14, 32};   // -10, 0 degC
    d.rowValues = {95, 104};     // 35, 40 degC
    TTableObject table(d, false);
    for (int i = 0; i < 2; ++i) table.AddRow(table.RowValue(i), table.RowValueSI(i));
    OperatingConditions c;
    c.evapByPressure = 1;
    c.condByPressure = 1;
    const auto normal = ConditionsAtCell(table, -1, {2, 1}, c, ActivityMode::Compressors);
    ASSERT_TRUE(normal);
    EXPECT_NEAR(normal->evapTemp, -10, 1e-4);
    EXPECT_NEAR(normal->condTemp, 40, 1e-4);
    EXPECT_EQ(normal->evapByPressure, 0);
    EXPECT_EQ(normal->condByPressure, 0);
    const auto unit = ConditionsAtCell(table, -1, {1, 2}, c, ActivityMode::CondensingUnits);
    ASSERT_TRUE(unit);
    EXPECT_NEAR(unit->ambientTemp, 35, 1e-4);
    EXPECT_DOUBLE_EQ(unit->condTemp, c.condTemp);
    const auto pump = ConditionsAtCell(table, -1, {2, 2}, c, ActivityMode::BrineWaterHeatPumps);
    ASSERT_TRUE(pump);
    EXPECT_NEAR(pump->sourceInletTemp, 0, 1e-4);
    EXPECT_NEAR(pump->waterOutletTemp, 40, 1e-4);
    // advanced conditions and header cells move nothing
    c.advanced = true;
    EXPECT_FALSE(ConditionsAtCell(table, -1, {1, 1}, c, ActivityMode::Compressors));
    c.advanced = false;
    EXPECT_FALSE(ConditionsAtCell(table, -1, {0, 1}, c, ActivityMode::Compressors));
    EXPECT_FALSE(ConditionsAtCell(table, -1, {1, 3}, c, ActivityMode::Compressors));
}

TEST(TableView, HeadersAndNumbersInTheDisplayUnits) {
    // a layout made in degC shown in degF and back; kcal shows degC as they are
    EXPECT_EQ(TableHeaderText(-10, UnitSystem::SI, UnitSystem::Imperial), "14.0");
    EXPECT_EQ(TableHeaderText(104, UnitSystem::Imperial, UnitSystem::SI), "40.0");
    EXPECT_EQ(TableHeaderText(12.5, UnitSystem::SI, UnitSystem::Kcal), "12.5");
    EXPECT_EQ(TableHeaderText(-40, UnitSystem::Imperial, UnitSystem::Imperial), "-40.0");

    struct Case {
        QuantityCode code;
        UnitSystem system;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {q::CoolingCapacity, UnitSystem::SI, 1234.5, "1234"},  // above 999.99: no decimals
        {q::CoolingCapacity, UnitSystem::SI, 12.34, "12.35"},  // rounded to 0.05
        {q::CoolingCapacity, UnitSystem::Imperial, 10, "34.10"},
        {q::DischargeTemp, UnitSystem::SI, 74.96, "75.0"},
        {q::DischargeTemp, UnitSystem::Imperial, 20, "68.0"},
        {q::COP, UnitSystem::SI, 2.499, "2.50"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TableCellText(TableCellNumber(c.code, c.system, c.value)), c.text)
            << c.code << " " << c.value;
    EXPECT_EQ(TableStatusColour(0), 0xFFFFFFu);
    EXPECT_EQ(TableStatusColour(-19), 0xFF00FFu);
    EXPECT_EQ(TableStatusColour(3), 0xFF8000u);
    EXPECT_EQ(TableQuantityColour(q::PowerInput), 0x800080u);
    EXPECT_EQ(TableQuantityColour(q::MassFlow), 0x000000u);
    EXPECT_EQ(TableCellQuantity(ActivityMode::SolenoidValves, q::COP), q::PressureDifference);
    EXPECT_EQ(TableCellQuantity(ActivityMode::FilterDriers, q::COP), q::CoolingCapacity);
    EXPECT_EQ(TableCellQuantity(ActivityMode::Compressors, q::COP), q::COP);
}

// A model whose table computation changes its results and then fails.
class FailingTableModel : public TCModel {
  public:
    void FillTable(ModelTable& table, OperatingConditions, ActivityMode, UnitSystem) override {
        table.ClearRows();
        SetResult(q::CoolingCapacity, 999);
        SetStatus(-17);
        throw std::runtime_error("no table");
    }
};

TEST(TableView, AFailedComputationLeavesTheModelsResultsAsTheyWere) {
    FailingTableModel model;
    model.SetResult(q::CoolingCapacity, 12.5);
    model.SetStatus(1);
    TTableObject table;
    OperatingConditions c;
    EXPECT_THROW(ComputeTable(table, &model, c, ActivityMode::Compressors, UnitSystem::SI),
                 std::runtime_error);
    EXPECT_DOUBLE_EQ(model.Result(q::CoolingCapacity), 12.5);
    EXPECT_EQ(model.Status(), 1);
    EXPECT_FALSE(table.Computed());
    // a condensing unit without capacity at the point gets no table
    model.SetResult(q::CoolingCapacity, 0);
    EXPECT_FALSE(ComputeTable(table, &model, c, ActivityMode::CondensingUnits, UnitSystem::SI));
}

// --- the custom-table dialog's arithmetic ---------------------------------------------------------

TEST(CustomTable, RegularAxesCountToTheNearestStepAndCorrectTheirEnd) {
    struct Case {
        double start, increment, end;
        int count;
        double correctedEnd;
    };
    const Case cases[] = {
        {-40, 5, -5, 8, -5},       // 8 columns
        {-40, 5, -3, 8, -5},       // nearest to 7.4 is 7, plus 1; the end corrected
        {-40, 5, -2, 9, 0},        // 7.6 rounds up
        {25, 2.5, 60, 15, 60},
        {-40, 1, 60, 22, -19},     // at most 22
        {10, -5, -20, 7, -20},     // descending
        {10, 5, -20, 1, 10},       // end on the wrong side: the start alone
        {10, 0, 30, 1, 10},        // no increment: the start alone
    };
    for (const Case& c : cases) {
        const RegularAxis axis = MakeRegularAxis(c.start, c.increment, c.end);
        EXPECT_EQ(axis.count, c.count) << c.start << " " << c.increment << " " << c.end;
        EXPECT_DOUBLE_EQ(axis.end, c.correctedEnd);
        ASSERT_EQ(static_cast<int>(axis.values.size()), axis.count);
        EXPECT_DOUBLE_EQ(axis.values.front(), c.start);
        EXPECT_DOUBLE_EQ(axis.values.back(), c.correctedEnd);
    }
    EXPECT_EQ(MakeRegularAxis(0, std::nan(""), 10).count, 1);
}

TEST(CustomTable, TypedCountsAndCellValues) {
    EXPECT_EQ(CustomAxisCount("30"), 22);
    EXPECT_EQ(CustomAxisCount("22"), 22);
    EXPECT_EQ(CustomAxisCount(" 7 "), 7);
    EXPECT_EQ(CustomAxisCount("0"), 1);
    EXPECT_EQ(CustomAxisCount("99999999999999999999"), 22);
    EXPECT_FALSE(CustomAxisCount(""));
    EXPECT_FALSE(CustomAxisCount("7a"));
    EXPECT_FALSE(CustomAxisCount("2.5"));
    EXPECT_EQ(ParseAxisValue("-12.5"), -12.5);
    EXPECT_EQ(ParseAxisValue(" +7 "), 7.0);
    EXPECT_FALSE(ParseAxisValue("abc"));
    EXPECT_FALSE(ParseAxisValue("5x"));
    EXPECT_FALSE(ParseAxisValue(""));
    EXPECT_FALSE(ParseAxisValue("inf"));

    const std::array<float, kMaxTableAxis> values = {-30, -25, -20};
    const AxisRange range = RangeOfAxis(values, 3);
    EXPECT_EQ(range.start, -30);
    EXPECT_EQ(range.increment, 5);
    EXPECT_EQ(range.end, -20);
    EXPECT_EQ(RangeOfAxis(values, 1).increment, 5);  // one value: the usual step
}

}  // namespace
}  // namespace kelvra
