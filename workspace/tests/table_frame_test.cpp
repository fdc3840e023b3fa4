// The performance-table tab of the main window and the custom-table dialog on the offscreen
// platform: the table of the selected compressor, a click that shows a cell's status, a
// double-click that moves the operating point, a user table from "table.dat", and the dialog's
// count and end rules.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "custom_table_dialog.hpp"
#include "data_store.hpp"
#include "language_texts.hpp"
#include "main_window.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"
#include "status_text.hpp"
#include "table_frame.hpp"
#include "table_layouts.hpp"
#include "table_view.hpp"
#include "refrigerant.hpp"

namespace kelvra {
namespace {

namespace q = quantity;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "workspace_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

QPoint CentreOf(QTableWidget* grid, int row, int column) {
    grid->scrollToItem(grid->item(row, column));
    return grid->visualItemRect(grid->item(row, column)).center();
}

// A double-click as the window system delivers it: press and release, then the double-click.
void DoubleClick(QTableWidget* grid, QPoint at) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

class TableTabTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
    }

    // R134a compressors of family 1 at -10/40 degC with 10 K superheat, 10 kW required: KS-10.
    void WriteSettings(int defaultTable = 0) const {
        Settings settings;
        settings.refrigerant = "R134a";
        settings.compressorFamilies.Clear();
        settings.compressorFamilies.Add(1);
        settings.defaultTables.For(TableProduct::Compressors, UnitSystem::SI) = defaultTable;
        OperatingConditions& c = settings.conditions;
        c.evapTemp = -10;
        c.condTemp = 40;
        c.superheat = 10;
        c.useSGR = false;
        c.subcooling = 0;
        c.liquidTempGiven = false;
        c.capacity = 10;
        ASSERT_TRUE(SaveSettingsFile(user.path() / std::string(kSettingsFileName), settings));
    }

    std::unique_ptr<TfrmActivity> Start() {
        auto window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([this](const QString& text) { errors << text; });
        window->show();
        window->resize(1200, 800);
        window->findChild<QTabWidget*>("pgResults")->setCurrentIndex(1);
        QApplication::processEvents();
        return window;
    }

    static QTableWidget* Grid(const TfrmActivity& window) {
        return window.findChild<QTableWidget*>("theGrid");
    }

    // The grid cell whose header values are `evap` and `cond` (as shown).
    static std::pair<int, int> CellAt(QTableWidget* grid, const QString& evap, const QString& cond) {
        int row = -1;
        int column = -1;
        for (int c = 1; c < grid->columnCount(); ++c)
            if (grid->item(0, c) && grid->item(0, c)->text() == evap) column = c;
        for (int r = 1; r < grid->rowCount(); ++r)
            if (grid->item(r, 0) && grid->item(r, 0)->text() == cond) row = r;
        return {row, column};
    }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
    QStringList errors;
};

TEST_F(TableTabTest, TheSelectedCompressorsTableShowsItsCapacityAtTheOperatingPoint) {
    WriteSettings();
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    const TCModel* model = window->driver()->selectedModel();
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->name, "KS-10");
    const double capacity = model->Result(q::CoolingCapacity);

    QTableWidget* grid = Grid(*window);
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->isVisibleTo(window.get()));
    EXPECT_FALSE(window->findChild<QLabel*>("lblTableMessage")->isVisibleTo(window.get()));
    // the built-in table follows the envelope: -40 .. 15 degC across, 10 .. 65 degC down
    EXPECT_EQ(grid->item(0, 1)->text(), "-40.0");
    EXPECT_EQ(grid->item(0, grid->columnCount() - 1)->text(), "15.0");
    EXPECT_EQ(grid->item(1, 0)->text(), "10.0");
    EXPECT_EQ(grid->item(grid->rowCount() - 1, 0)->text(), "65.0");

    // the operating point is the current cell and shows the summary's capacity
    const auto [row, column] = CellAt(grid, "-10.0", "40.0");
    ASSERT_GT(row, 0);
    ASSERT_GT(column, 0);
    EXPECT_EQ(grid->currentRow(), row);
    EXPECT_EQ(grid->currentColumn(), column);
    EXPECT_EQ(grid->item(row, column)->text(),
              QString::fromStdString(TableCellText(TableCellNumber(q::CoolingCapacity,
                                                                   UnitSystem::SI, capacity))));
    // computing the table left the model's own results alone
    EXPECT_DOUBLE_EQ(model->Result(q::CoolingCapacity), capacity);

    // another quantity redraws the grid in it
    auto* box = window->findChild<QComboBox*>("boxQuantity");
    ASSERT_NE(box, nullptr);
    const int power = box->findData(q::PowerInput);
    ASSERT_GE(power, 0);
    box->setCurrentIndex(power);
    EXPECT_EQ(grid->item(row, column)->text(),
              QString::fromStdString(TableCellText(TableCellNumber(
                  q::PowerInput, UnitSystem::SI, model->Result(q::PowerInput)))));

    // Imperial units: the headers in degF, the quantity kept
    window->setUnitSystem(UnitSystem::Imperial);
    EXPECT_EQ(grid->item(0, 1)->text(), "-40.0");
    EXPECT_EQ(grid->item(1, 0)->text(), "50.0");
    EXPECT_EQ(window->tableFrame()->chosenQuantity(), q::PowerInput);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(TableTabTest, ADoubleClickMovesTheOperatingPoint) {
    WriteSettings();
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    QTableWidget* grid = Grid(*window);
    ASSERT_NE(grid, nullptr);
    auto [row, column] = CellAt(grid, "-20.0", "50.0");
    ASSERT_GT(row, 0);
    ASSERT_GT(column, 0);

    DoubleClick(grid, CentreOf(grid, row, column));
    EXPECT_DOUBLE_EQ(window->driver()->conditions().evapTemp, -20.0);
    EXPECT_DOUBLE_EQ(window->driver()->conditions().condTemp, 50.0);
    EXPECT_DOUBLE_EQ(window->findChild<QDoubleSpinBox*>("edEvap")->value(), -20.0);
    EXPECT_DOUBLE_EQ(window->findChild<QDoubleSpinBox*>("edCond")->value(), 50.0);
    const TCModel* model = window->driver()->selectedModel();
    ASSERT_NE(model, nullptr);
    // the table followed: its current cell is the new point
    std::tie(row, column) = CellAt(grid, "-20.0", "50.0");
    EXPECT_EQ(grid->currentRow(), row);
    EXPECT_EQ(grid->currentColumn(), column);
    EXPECT_EQ(grid->item(row, column)->text(),
              QString::fromStdString(TableCellText(TableCellNumber(
                  q::CoolingCapacity, UnitSystem::SI, model->Result(q::CoolingCapacity)))));
}

TEST_F(TableTabTest, AUserTableFromTheTableFileShowsStatusesBeyondTheEnvelope) {
    TableLayoutRecord wide;
    wide.name = "Wide";
    wide.setting1 = 3;
    wide.setting2 = 2;
    wide.axis1 = {-50, -10, 30};
    wide.axis2 = {40, 45};
    ASSERT_TRUE(SaveTableLayouts(user.path() / "table.dat", {wide}));
    WriteSettings(1);
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    QTableWidget* grid = Grid(*window);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->columnCount(), 4);
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(0, 1)->text(), "-50.0");
    // -50 degC lies beyond the envelope: no number, the status colour
    const TTableObject* table = window->tableFrame()->table();
    ASSERT_NE(table, nullptr);
    const ModelStatus outside = table->CellStatus(0, 1);
    ASSERT_LT(outside, 0);
    EXPECT_TRUE(grid->item(1, 1)->text().isEmpty());
    EXPECT_EQ(grid->item(1, 1)->background().color().rgb() & 0xFFFFFFu,
              TableStatusColour(outside));
    EXPECT_FALSE(grid->item(1, 2)->text().isEmpty());

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CentreOf(grid, 1, 1));
    const StatusPanelText expected =
        showModelStatus(outside, ActivityMode::Compressors, window->driver()->autoSelect());
    EXPECT_EQ(window->findChild<QLabel*>("lblStatus")->text(), QString::fromStdString(expected.text));
    EXPECT_FALSE(expected.text.empty());
}

TEST_F(TableTabTest, PartialUsefulSuperheatShowsTheRedMessageInsteadOfATable) {
    WriteSettings();
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    ASSERT_NE(window->driver()->selectedModel(), nullptr);
    EXPECT_TRUE(Grid(*window)->isVisibleTo(window.get()));
    OperatingConditions partial = window->driver()->conditions();
    partial.usefulAll = false;
    window->applyConditions(partial);
    ASSERT_FALSE(window->driver()->conditions().usefulAll);
    EXPECT_FALSE(Grid(*window)->isVisibleTo(window.get()));
    auto* message = window->findChild<QLabel*>("lblTableMessage");
    EXPECT_TRUE(message->isVisibleTo(window.get()));
    EXPECT_EQ(message->text().toStdString(),
              Text("strCantShow", "The table cannot be shown with these operating conditions"));
    // all superheat useful again: the table is back
    partial.usefulAll = true;
    window->applyConditions(partial);
    EXPECT_TRUE(Grid(*window)->isVisibleTo(window.get()));
    EXPECT_FALSE(message->isVisibleTo(window.get()));
}

TEST_F(TableTabTest, ACondensingUnitsTableRunsDownTheAmbientTemperatures) {
    WriteSettings();
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    window->setActivityMode(ActivityMode::CondensingUnits);
    const TCModel* unit = window->driver()->selectedModel();
    ASSERT_NE(unit, nullptr);
    ASSERT_GT(unit->Result(q::CoolingCapacity), 0);
    QTableWidget* grid = Grid(*window);
    ASSERT_TRUE(grid->isVisibleTo(window.get()));
    QStringList rows;
    for (int r = 1; r < grid->rowCount(); ++r) rows << grid->item(r, 0)->text();
    EXPECT_EQ(rows, QStringList({"27.0", "32.0", "38.0", "43.0", "46.0", "49.0"}));
    EXPECT_EQ(grid->item(0, 0)->text(), "TABLEUOPS");
    // the unit's power is its total, the current the compressor's
    auto* box = window->findChild<QComboBox*>("boxQuantity");
    const QString power = box->itemText(box->findData(q::PowerInput));
    EXPECT_TRUE(power.startsWith(QString::fromStdString(Text("strTotal", "Total") + " ")))
        << power.toStdString();
    // the ambient temperature of the point picks the row
    const int row = grid->currentRow();
    ASSERT_GT(row, 0);
    EXPECT_EQ(grid->item(row, 0)->text(), "32.0");
}

// --- the frame on its own -----------------------------------------------------------------------

class TableFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        ASSERT_TRUE(libraries.loaded.general);
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        store = std::make_unique<TdataStore>(DatabaseSources{data.path(), nullptr});
        ASSERT_TRUE(store->Valid() && !store->Missing());
        for (const auto& model : store->Compressors())
            if (model->name == "KS-10" && model->refrigerant->name == "R134a" &&
                model->supply->frequency == 50)
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

    void Show(TframeTable& frame) {
        auto table = frame.layouts().MakeTable(ActivityMode::Compressors, UnitSystem::SI);
        ASSERT_TRUE(ComputeTable(*table, compressor, conditions, ActivityMode::Compressors,
                                 UnitSystem::SI));
        frame.showTable(conditions, compressor, ActivityMode::Compressors, UnitSystem::SI,
                        std::move(table), compressor->supply, false);
        frame.resize(1100, 700);
        frame.show();
        QApplication::processEvents();
    }

    testing::PropertyLibraries libraries;
    testing::ScratchFolder data;
    std::unique_ptr<TdataStore> store;
    TCModel* compressor = nullptr;
    OperatingConditions conditions;
};

TEST_F(TableFrameTest, ClicksAskForTheCellsStatusAndDoubleClicksForItsPoint) {
    TframeTable frame;
    std::vector<OperatingConditions> applied;
    std::vector<ModelStatus> statuses;
    int inputsRefreshed = 0;
    frame.setCallbacks({[&](const OperatingConditions& c) { applied.push_back(c); },
                        [&] { ++inputsRefreshed; },
                        [&](ModelStatus s) { statuses.push_back(s); }});
    Show(frame);
    auto* grid = frame.findChild<QTableWidget*>("theGrid");
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(grid->isVisible());
    EXPECT_EQ(frame.operatingCell(), (TableCell{7, 7}));

    const int row = 9;     // 50 degC
    const int column = 5;  // -20 degC
    ASSERT_EQ(grid->item(row, 0)->text(), "50.0");
    ASSERT_EQ(grid->item(0, column)->text(), "-20.0");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CentreOf(grid, row, column));
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0], frame.table()->CellStatus(row - 1, column));
    EXPECT_TRUE(applied.empty());

    DoubleClick(grid, CentreOf(grid, row, column));
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_DOUBLE_EQ(applied[0].evapTemp, -20.0);
    EXPECT_DOUBLE_EQ(applied[0].condTemp, 50.0);
    EXPECT_EQ(inputsRefreshed, 1);

    // header cells move nothing
    DoubleClick(grid, CentreOf(grid, 0, column));
    EXPECT_EQ(applied.size(), 1u);
}

TEST_F(TableFrameTest, TheSupplyChangeRebuildsTheQuantityListAndKeepsTheChoice) {
    TframeTable frame;
    Show(frame);
    auto* box = frame.findChild<QComboBox*>("boxQuantity");
    ASSERT_NE(box, nullptr);
    box->setCurrentIndex(box->findData(quantity::COP));
    EXPECT_EQ(frame.chosenQuantity(), quantity::COP);
    frame.resetTable();
    EXPECT_EQ(frame.chosenQuantity(), quantity::COP);
    EXPECT_EQ(box->currentData().toInt(), quantity::COP);
    // heat-pump compressor mode switches to the heating capacity
    auto table = frame.layouts().MakeTable(ActivityMode::HeatPumpCompressors, UnitSystem::SI);
    ComputeTable(*table, compressor, conditions, ActivityMode::HeatPumpCompressors, UnitSystem::SI);
    frame.showTable(conditions, compressor, ActivityMode::HeatPumpCompressors, UnitSystem::SI,
                    std::move(table), compressor->supply, false);
    EXPECT_EQ(frame.chosenQuantity(), quantity::HeatingCapacity);
}

// A carbon dioxide model that never needs evaluating: the table is made by hand.
class TranscriticalModel : public TCModel {
  public:
    bool IsCO2Transcritical() const override { return true; }
};

TEST(TableFrameTranscritical, TheGasCoolerRowsFollowTheSeparatorAndTheApproachLine) {
    Application();
    Trefrigerant co2("R744", 7, 'N', 1.0f);
    co2.isCO2 = true;
    co2.criticalTemperature = 31.0;
    TranscriticalModel model;
    model.refrigerant = &co2;
    model.SetName("KCO-T");
    TableDefinition d;
    d.columnCount = 2;
    d.rowCount = 3;
    d.columnValues = {-10, 0};
    d.rowValues = {25, 35, 40};
    auto table = std::make_unique<TTableObject>(d, false);
    for (int i = 0; i < 3; ++i) {
        TrowObj& row = table->AddRow(table->RowValue(i), table->RowValueSI(i));
        for (int j = 0; j < 2; ++j) {
            row.Cell(j).Set(q::CoolingCapacity, 10.0 + i + j);
            row.Cell(j).Set(q::PressureDifference, 90.0 + i);
        }
    }
    table->SetComputed(true);
    OperatingConditions c;
    c.evapTemp = -10;
    c.gasCoolerOutletTemp = 36;
    c.subcooling = 2.5;
    TframeTable frame;
    frame.showTable(c, &model, ActivityMode::Compressors, UnitSystem::SI, std::move(table),
                    nullptr, true);
    auto* grid = frame.findChild<QTableWidget*>("theGrid");
    ASSERT_EQ(grid->rowCount(), 5);  // header, 25, Tgc, 35, 40
    EXPECT_EQ(grid->item(1, 0)->text(), "25.0");
    EXPECT_EQ(grid->item(2, 0)->text(), "Tgc");
    EXPECT_TRUE(grid->item(2, 1)->text().isEmpty());
    EXPECT_EQ(grid->item(3, 0)->text(), "35.0");
    EXPECT_EQ(frame.operatingCell(), (TableCell{3, 1}));
    EXPECT_EQ(frame.findChild<QLabel*>("lblTranscrit")->text().toStdString(),
              Text("strTranscrit", "Transcritical operation, gas cooler approach") + " = 2.5 K");
    // the discharge pressure takes the 15th place of the quantity list
    auto* box = frame.findChild<QComboBox*>("boxQuantity");
    EXPECT_GE(box->findData(q::PressureDifference), 0);
}

// --- the custom-table dialog ------------------------------------------------------------------

TableDefinition Layout() {
    TableDefinition d = BuiltInTableLayout(TableProduct::Compressors, UnitSystem::SI);
    d.name = "Mine";
    return d;
}

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST(CustomTableDialog, RegularAxesCountAndCorrectTheirEnd) {
    Application();
    TfrmCustabDLG dialog(Layout(), true, ActivityMode::Compressors);
    auto* start = dialog.findChild<QLineEdit*>("edColStart");
    auto* increment = dialog.findChild<QLineEdit*>("edColInc");
    auto* end = dialog.findChild<QLineEdit*>("edColEnd");
    auto* count = dialog.findChild<QLineEdit*>("edColCount");
    ASSERT_TRUE(start && increment && end && count);
    EXPECT_EQ(start->text(), "-40.000000");
    EXPECT_FALSE(count->isEnabled());

    Type(increment, "5");
    Type(end, "-5");
    EXPECT_EQ(count->text(), "8");
    Type(end, "-3");
    EXPECT_EQ(count->text(), "8");
    QMetaObject::invokeMethod(end, "editingFinished");
    EXPECT_EQ(end->text(), "-5.000000");

    const TableDefinition result = dialog.result();
    EXPECT_EQ(result.columnCount, 8);
    EXPECT_EQ(result.columnValues[7], -5.0f);
    EXPECT_EQ(result.rowCount, 8);  // the rows untouched: 25 .. 60
    EXPECT_EQ(result.rowValues[7], 60.0f);
    auto* grid = dialog.findChild<QTableWidget*>("colGrid");
    ASSERT_EQ(grid->columnCount(), 8);
    EXPECT_EQ(grid->item(0, 7)->text(), "-5");
}

TEST(CustomTableDialog, CustomCountsStopAt22AndUnreadableCellsKeepTheirValues) {
    Application();
    TfrmCustabDLG dialog(Layout(), false, ActivityMode::Compressors);
    auto* count = dialog.findChild<QLineEdit*>("edColCount");
    auto* rows = dialog.findChild<QLineEdit*>("edRowCount");
    ASSERT_TRUE(count && rows);
    EXPECT_TRUE(count->isEnabled());
    EXPECT_FALSE(dialog.findChild<QLineEdit*>("edColStart")->isEnabled());

    Type(count, "30");
    EXPECT_EQ(count->text(), "22");
    auto* grid = dialog.findChild<QTableWidget*>("colGrid");
    EXPECT_EQ(grid->columnCount(), 22);
    EXPECT_EQ(dialog.result().columnCount, 22);

    Type(rows, "3");
    auto* rowGrid = dialog.findChild<QTableWidget*>("rowGrid");
    ASSERT_EQ(rowGrid->rowCount(), 3);
    rowGrid->item(0, 0)->setText("27.5");
    rowGrid->item(1, 0)->setText("warm");  // not a number: keeps 30
    const TableDefinition result = dialog.result();
    EXPECT_EQ(result.rowCount, 3);
    EXPECT_EQ(result.rowValues[0], 27.5f);
    EXPECT_EQ(result.rowValues[1], 30.0f);
    EXPECT_EQ(result.rowValues[2], 35.0f);
}

TEST(CustomTableDialog, OkNeedsAName) {
    Application();
    TfrmCustabDLG dialog(Layout(), true, ActivityMode::CondensingUnits);
    auto* ok = dialog.findChild<QPushButton*>("btnOK");
    auto* name = dialog.findChild<QLineEdit*>("edName");
    ASSERT_TRUE(ok && name);
    EXPECT_TRUE(ok->isEnabled());
    name->clear();
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(name, "Units 2");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.result().name, "Units 2");
    EXPECT_EQ(dialog.windowTitle().toStdString(), Text("frmCustabDLG", "Define Custom Table"));
}

}  // namespace
}  // namespace kelvra
