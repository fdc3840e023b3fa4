// The "Selection List" tab of the main window on a small product database, on the offscreen
// platform: the rows, sorting by a header click, choosing a model by a row click, comparing three
// refrigerants, the columns kept between runs and the spreadsheet file; and the column editor's
// rules without a window.

#include "compare_frame.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "data_store.hpp"
#include "list_dialogs.hpp"
#include "main_window.hpp"
#include "property_library.hpp"
#include "refrigerant.hpp"
#include "safe_file.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"

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

constexpr std::int16_t kR407C = 7;

// The selection fixture with a third refrigerant, R407C, that has one compressor of family 1.
ProductDatabase ThreeRefrigerants() {
    ProductDatabase db = testing::SelectionFixtureDatabase();
    db.header.push_back({kR407C, "R407C", 'R', 'G', 1.13f});
    CompressorRow row = testing::FixtureCompressor(40, "KS-11", 1, kR407C, testing::kSupply50);
    row.motorCodes[0] = 1;
    db.compressors.push_back(row);
    testing::AddFixtureSet(db, testing::FixtureSet(40, 1.05));
    return db;
}

class CompareFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), ThreeRefrigerants());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
        // R134a compressors of family 1 at -10/40 degC, 10 K superheat, 10 kW required
        Settings settings;
        settings.refrigerant = "R134a";
        settings.compressorFamilies.Clear();
        settings.compressorFamilies.Add(1);
        OperatingConditions& c = settings.conditions;
        c.evapTemp = -10;
        c.condTemp = 40;
        c.superheat = 10;
        c.useSGR = false;
        c.subcooling = 0;
        c.liquidTempGiven = false;
        c.capacity = 10;
        settings.activeTab = 0;
        ASSERT_TRUE(SaveSettingsFile(user.path() / std::string(kSettingsFileName), settings));
    }

    std::unique_ptr<TfrmActivity> Start() {
        auto window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([this](const QString& text) { errors << text; });
        window->resize(1200, 700);
        window->show();
        return window;
    }

    static TframeCompare* Frame(TfrmActivity& window) {
        auto* frame = window.findChild<TframeCompare*>("frameCompare");
        // the tab must be shown for clicks to reach its grid
        auto* tabs = window.findChild<QTabWidget*>("pgResults");
        tabs->setCurrentWidget(frame);
        return frame;
    }

    static QStringList Names(const TframeCompare& frame) {
        QStringList names;
        for (int r = 0; r < frame.grid()->rowCount(); ++r) names << frame.grid()->item(r, 0)->text();
        return names;
    }

    static int RowOf(const TframeCompare& frame, const QString& name, const QString& refrigerant) {
        for (int r = 0; r < frame.grid()->rowCount(); ++r)
            if (frame.grid()->item(r, 0)->text() == name &&
                (refrigerant.isEmpty() || frame.grid()->item(r, 1)->text().startsWith(refrigerant)))
                return r;
        return -1;
    }

    static void ClickHeader(const TframeCompare& frame, int column) {
        QHeaderView* header = frame.grid()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    static void ClickRow(const TframeCompare& frame, int row, bool twice = false) {
        QTableWidget* grid = frame.grid();
        grid->scrollToItem(grid->item(row, 0));
        const QPoint at = grid->visualItemRect(grid->item(row, 0)).center();
        if (twice)
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
    QStringList errors;
};

TEST_F(CompareFrameTest, TheTabListsTheCandidatesAndAHeaderClickSorts) {
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable()) << window->databaseProblem().toStdString();
    TframeCompare* frame = Frame(*window);
    ASSERT_NE(frame, nullptr);
    QTableWidget* grid = frame->grid();
    ASSERT_EQ(grid->rowCount(), 5);
    QStringList names = Names(*frame);
    names.sort();
    EXPECT_EQ(names, (QStringList{"KS-05", "KS-07", "KS-09N", "KS-10", "KS-12"}));
    EXPECT_EQ(grid->columnCount(), 1 + 6);
    EXPECT_TRUE(grid->horizontalHeaderItem(0)->text().startsWith("Compressor"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Cooling capacity\nkW");
    // sorted by displacement: only that title carries the triangle
    EXPECT_FALSE(grid->horizontalHeaderItem(6)->icon().isNull());
    EXPECT_TRUE(grid->horizontalHeaderItem(1)->icon().isNull());

    ClickHeader(*frame, 0);
    EXPECT_EQ(Names(*frame), (QStringList{"KS-05", "KS-07", "KS-09N", "KS-10", "KS-12"}));
    EXPECT_FALSE(grid->horizontalHeaderItem(0)->icon().isNull());
    EXPECT_TRUE(grid->horizontalHeaderItem(6)->icon().isNull());

    // by COP: KS-09N, outside its envelope at -10 degC, goes last, in its status colour
    ClickHeader(*frame, 3);
    EXPECT_EQ(window->driver()->list().sortColumn(), 2);
    EXPECT_EQ(Names(*frame).last(), "KS-09N");
    EXPECT_EQ(grid->item(4, 3)->text(), "-");
    EXPECT_NE(grid->item(4, 0)->background().color(), QColor(Qt::white));
    EXPECT_EQ(grid->item(0, 0)->background().color(), QColor(Qt::white));
    // the current model's name is blue
    const int current = RowOf(*frame, "KS-10", {});
    EXPECT_EQ(grid->item(current, 0)->foreground().color(), QColor(Qt::blue));
}

TEST_F(CompareFrameTest, ClickingARowSelectsThatModel) {
    auto window = Start();
    TframeCompare* frame = Frame(*window);
    ASSERT_EQ(window->driver()->selectedModel()->name, "KS-10");
    ASSERT_TRUE(window->driver()->autoSelect());
    const int row = RowOf(*frame, "KS-05", {});
    ASSERT_GE(row, 0);
    ClickRow(*frame, row);
    ASSERT_NE(window->driver()->selectedModel(), nullptr);
    EXPECT_EQ(window->driver()->selectedModel()->name, "KS-05");
    EXPECT_FALSE(window->driver()->autoSelect());  // a model chosen by hand
    const int now = RowOf(*frame, "KS-05", {});
    EXPECT_EQ(frame->grid()->item(now, 0)->foreground().color(), QColor(Qt::blue));

    // a model outside its envelope is selected too, with its status in the status bar
    ClickRow(*frame, RowOf(*frame, "KS-09N", {}));
    EXPECT_EQ(window->driver()->selectedModel()->name, "KS-09N");
    EXPECT_EQ(window->findChild<QLabel*>("lblStatus")->text().trimmed(), "Evaporating temperature too low");

    // the clipboard gets the list as text
    frame->btnCopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              window->driver()->list().clipboardText());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Compressor\tCooling capacity\t"));

    ClickRow(*frame, RowOf(*frame, "KS-05", {}));
    // previous and next follow the displayed order
    window->driver()->list().sortBy(-1);  // by name: KS-05 first
    frame->showList();
    frame->btnNextClick();
    EXPECT_EQ(window->driver()->selectedModel()->name, "KS-07");
    frame->btnPreviousClick();
    EXPECT_EQ(window->driver()->selectedModel()->name, "KS-05");
}

TEST_F(CompareFrameTest, AnotherRefrigerantsRowIsSelectedOnlyByADoubleClick) {
    auto window = Start();
    TframeCompare* frame = Frame(*window);
    SelectionDriver& driver = *window->driver();
    Trefrigerant* r404a = driver.store().FindRefrigerantByName("R404A");
    Trefrigerant* r407c = driver.store().FindRefrigerantByName("R407C");
    frame->setDialogRunner([&](QDialog& dialog) {
        auto* chooser = dynamic_cast<TfrmRefDlg*>(&dialog);
        EXPECT_NE(chooser, nullptr);
        if (chooser == nullptr) return int(QDialog::Rejected);
        chooser->setTicked(driver.refrigerant(), false);  // the main one stays ticked
        chooser->setTicked(r404a, true);
        chooser->setTicked(r407c, true);
        return int(QDialog::Accepted);
    });
    frame->btnSelectRefsClick();
    ASSERT_TRUE(driver.list().isComparison());
    EXPECT_EQ(driver.list().refrigerants().size(), 3u);
    EXPECT_TRUE(window->listLocked());
    ASSERT_EQ(frame->grid()->rowCount(), 5 + 1 + 1);
    EXPECT_EQ(frame->grid()->horizontalHeaderItem(1)->text(), "REFRIGERANT\n");

    const int row = RowOf(*frame, "KS-10", "R404A");
    ASSERT_GE(row, 0);
    const TCModel* before = driver.selectedModel();
    ClickRow(*frame, row);
    EXPECT_EQ(driver.selectedModel(), before);
    EXPECT_TRUE(driver.autoSelect());  // not even switched to the choice by hand
    EXPECT_EQ(driver.refrigerant()->name, "R134a");
    EXPECT_TRUE(driver.list().isComparison());

    ClickRow(*frame, RowOf(*frame, "KS-10", "R404A"), true);
    EXPECT_EQ(driver.refrigerant(), r404a);
    ASSERT_NE(driver.selectedModel(), nullptr);
    EXPECT_EQ(driver.selectedModel()->name, "KS-10");
    EXPECT_EQ(driver.selectedModel()->refrigerant, r404a);
    EXPECT_FALSE(driver.list().isComparison());
    EXPECT_FALSE(window->listLocked());
    EXPECT_EQ(window->findChild<QComboBox*>("boxRefrig")->currentText().left(5), "R404A");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(CompareFrameTest, AColumnChosenFromTheHeaderMenuIsThereInTheNextRun) {
    {
        auto window = Start();
        TframeCompare* frame = Frame(*window);
        window->driver()->list().sortBy(3);  // the current column, sorted
        QMenu* menu = frame->headerMenu(4);
        ASSERT_NE(menu, nullptr);
        QAction* massFlow = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == "Mass flow") massFlow = action;
        ASSERT_NE(massFlow, nullptr);
        massFlow->trigger();
        EXPECT_EQ(window->driver()->list().columns()[3], (ListColumn{'P', q::MassFlow}));
        // the sorted column got a new quantity: sorted by name again
        EXPECT_EQ(window->driver()->list().sortColumn(), -1);
        EXPECT_FALSE(frame->grid()->horizontalHeaderItem(0)->icon().isNull());
        EXPECT_EQ(frame->grid()->horizontalHeaderItem(4)->text(), "Mass flow\ng/s");
        EXPECT_EQ(frame->headerMenu(0), nullptr);  // the name column offers no choice
        EXPECT_TRUE(window->close());
    }
    auto again = Start();
    EXPECT_EQ(again->driver()->list().columns()[3], (ListColumn{'P', q::MassFlow}));
    EXPECT_EQ(Frame(*again)->grid()->horizontalHeaderItem(4)->text(), "Mass flow\ng/s");
}

TEST_F(CompareFrameTest, TheSpreadsheetFileIsWrittenOrTheFailureShown) {
    auto window = Start();
    TframeCompare* frame = Frame(*window);
    const auto file = user.path() / "list.XLS";
    frame->setSavePathAsker([&](const QString&) { return QString::fromStdString(file.string()); });
    frame->btnExcelClick();
    const FileContents contents = ReadWholeFile(file);
    ASSERT_TRUE(contents.exists);
    EXPECT_EQ(contents.bytes.rfind("\r\nKelvra 7\tVersion", 0), 0u);
    EXPECT_NE(contents.bytes.find("\r\nKS-12\t"), std::string::npos);
    EXPECT_TRUE(errors.isEmpty());

    const auto missing = user.path() / "gone" / "list.XLS";
    frame->setSavePathAsker([&](const QString&) { return QString::fromStdString(missing.string()); });
    frame->btnExcelClick();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().startsWith("Unable to write to"));
}

TEST(ColumnChoiceEditorTest, FieldsMoveBetweenTheListsAndOkNeedsOne) {
    const std::vector<ListChoice> choices = {{{'P', q::CoolingCapacity}, "Capacity"},
                                             {{'P', q::PowerInput}, "Power"},
                                             {{'P', q::COP}, "COP"},
                                             {{'P', q::RefrigerationCOP}, "Ref COP", false},
                                             {{'M', 10}, "Weight"}};
    ColumnChoiceEditor editor(choices, {{'P', q::COP}, {'P', q::LoadRatio}},
                              [](const ListColumn&) { return std::string("Load ratio"); });
    const auto texts = [](const std::vector<ListChoice>& list) {
        std::vector<std::string> out;
        for (const ListChoice& c : list) out.push_back(c.text);
        return out;
    };
    using V = std::vector<std::string>;
    // a disabled choice is never offered; a column without a choice keeps its title
    EXPECT_EQ(texts(editor.available()), (V{"Capacity", "Power", "Weight"}));
    EXPECT_EQ(texts(editor.chosen()), (V{"COP", "Load ratio"}));

    editor.add({2, 0});
    EXPECT_EQ(texts(editor.chosen()), (V{"COP", "Load ratio", "Capacity", "Weight"}));
    EXPECT_EQ(texts(editor.available()), (V{"Power"}));
    EXPECT_FALSE(editor.canMove({0}, true));
    EXPECT_FALSE(editor.canMove({3}, false));
    EXPECT_FALSE(editor.canMove({1, 2}, true));  // only one at a time
    EXPECT_EQ(editor.move(3, true), 2);
    EXPECT_EQ(texts(editor.chosen()), (V{"COP", "Load ratio", "Weight", "Capacity"}));
    editor.remove({0, 1});
    EXPECT_EQ(texts(editor.chosen()), (V{"Weight", "Capacity"}));
    EXPECT_EQ(texts(editor.available()), (V{"Power", "COP"}));  // back in the choices' order
    EXPECT_EQ(editor.columns(), (std::vector<ListColumn>{{'M', 10}, {'P', q::CoolingCapacity}}));

    editor.removeAll();
    EXPECT_FALSE(editor.canAccept());
    editor.addAll();
    EXPECT_TRUE(editor.canAccept());
    EXPECT_EQ(texts(editor.chosen()), (V{"Capacity", "Power", "COP", "Weight"}));
}

}  // namespace
}  // namespace kelvra
