// The user's heat pumps in the windows, on the offscreen platform: the editor refuses fields that
// are not numbers and stays open, its graph handles change its fields, the administration window
// adds, copies, edits and deletes only what is confirmed, the main window asks about unsaved heat
// pumps before closing, and the heat-pump diagrams draw the selected heat pump's rules.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <memory>

#include "heat_pump_diagram.hpp"
#include "heat_pump_editing.hpp"
#include "heat_pump_file.hpp"
#include "heat_pump_windows.hpp"
#include "main_window.hpp"
#include "property_library.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "heat_pump_windows_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

constexpr std::uint16_t kHeatPumpCompressorId = 11;  // "KP-10", family 5 (heat pump), R134a

HeatPumpRow AirRow(std::int16_t sequence, std::string name) {
    HeatPumpRow row;
    row.sequence = sequence;
    row.name = std::move(name);
    row.source = 'A';
    row.familyCode = 73;
    row.compressorId = kHeatPumpCompressorId;
    row.auxiliaryPower = 0.2f;
    row.superheat = 5;
    row.subcooling = 2;
    row.evapSlope = 2.0 / 7.0;
    row.evapReference = 8;
    row.evapMin = 5;
    row.evapMax = 14;
    row.condSlope = 0.08;
    row.condIntercept = 2.2;
    row.condMin = 3;
    row.condMax = 10;
    row.cyclingCoefficient = 0.9;
    return row;
}

class HeatPumpWindowsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Application();
        LoadPropertyLibraries(InstallationFolder());
    }

    void SetUp() override {
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        store = std::make_unique<TdataStore>(DatabaseSources{data.path(), nullptr});
        ASSERT_TRUE(store->Valid());
        for (const auto& comp : store->Compressors())
            if (comp->key == kHeatPumpCompressorId) compressor = comp.get();
        ASSERT_NE(compressor, nullptr);
    }

    void WriteHeatPumps(const std::filesystem::path& file, std::vector<HeatPumpRow> rows) const {
        const std::vector<std::uint8_t> bytes = EncodeHeatPumpFile(store->Date(), rows);
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    void LoadTwo() {
        WriteHeatPumps(user.path() / "two.zqv", {AirRow(0, "Air one"), AirRow(1, "Air two")});
        ASSERT_TRUE(store->LoadUserHeatPumps(user.path() / "two.zqv").ok());
    }

    THeatPump& Pump(std::size_t i) { return dynamic_cast<THeatPump&>(*store->HeatPumps().at(i)); }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    std::unique_ptr<TdataStore> store;
    TComp* compressor = nullptr;
};

// --- the editor ---

TEST_F(HeatPumpWindowsTest, EditorRefusesAFieldThatIsNotANumberStaysOpenAndStoresNothing) {
    struct Case {
        const char* field;
        const char* text;
    };
    const Case cases[] = {
        {"edPower", "abc"},   {"edEvap1", ""},      {"edEvap2", "4 K"},   {"edCond60", "nan"},
        {"edCondMax", "inf"}, {"edSuperheat", "1,2,3"}, {"edCycling", "--1"}, {"edFrostAir", "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = \"" + c.text + "\"");
        TfrmHeatFile editor(*store);
        QStringList notices;
        editor.setNotice([&](const QString& text) { notices << text; });
        HeatPumpDraft draft = HeatPumpDraft::New(true, compressor, *store);
        editor.setDraft(draft);
        editor.show();
        auto* edit = editor.findChild<QLineEdit*>(c.field);
        ASSERT_NE(edit, nullptr);
        edit->setText(c.text);
        ASSERT_TRUE(editor.btnOK->isEnabled());
        QTest::mouseClick(editor.btnOK, Qt::LeftButton);
        ASSERT_EQ(notices.size(), 1);
        EXPECT_EQ(notices[0], "Error - enter numbers for fanpower and TDs");
        EXPECT_TRUE(editor.isVisible());
        EXPECT_NE(editor.result(), QDialog::Accepted);
        // nothing of the typed values reached the draft
        EXPECT_EQ(editor.draft().evapFirst, draft.evapFirst);
        EXPECT_EQ(editor.draft().auxiliaryPower, draft.auxiliaryPower);
        EXPECT_EQ(editor.draft().name, draft.name);
    }
}

TEST_F(HeatPumpWindowsTest, EditorStoresTheRulesFromItsTwoPoints) {
    TfrmHeatFile editor(*store);
    editor.setDraft(HeatPumpDraft::New(false, compressor, *store));
    editor.show();
    EXPECT_FALSE(editor.findChild<QLineEdit*>("edDefrostCap")->isEnabled());  // ground source
    editor.edName->setText("Brine 12");
    editor.edEvap1->setText("5");
    editor.edEvap2->setText(" 4,0 ");  // a decimal comma is taken
    editor.edCond60->setText("7");
    editor.edCond35->setText("5");
    QTest::mouseClick(editor.btnOK, Qt::LeftButton);
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    auto pump = editor.draft().Preview();
    EXPECT_EQ(pump->name, "Brine 12");
    EXPECT_EQ(pump->sourceKind, 'W');
    EXPECT_NEAR(pump->evapSlope, 0.2, 1e-12);
    EXPECT_NEAR(pump->evapOffset, 5.0, 1e-12);
    EXPECT_NEAR(pump->condSlope, 0.08, 1e-12);
    EXPECT_NEAR(pump->condOffset, 2.2, 1e-12);
    EXPECT_EQ(pump->compressor, compressor);
    EXPECT_EQ(pump->compressorId, kHeatPumpCompressorId);
    ASSERT_NE(pump->family, nullptr);
    EXPECT_EQ(pump->family->code, 70);  // the first ground family
}

TEST_F(HeatPumpWindowsTest, EditorWithoutCompressorOrNameCannotConfirm) {
    TfrmHeatFile editor(*store);
    editor.setDraft(HeatPumpDraft::New(true, nullptr, *store));
    EXPECT_FALSE(editor.btnOK->isEnabled());
    EXPECT_EQ(editor.lblCompressor->text(), "None selected");
    editor.setChooseCompressor([&](TComp*) -> std::optional<TComp*> { return compressor; });
    QTest::mouseClick(editor.btnChoose, Qt::LeftButton);
    EXPECT_TRUE(editor.btnOK->isEnabled());
    editor.edName->setText("   ");
    EXPECT_FALSE(editor.btnOK->isEnabled());
}

TEST_F(HeatPumpWindowsTest, DraggingAGraphHandleChangesItsField) {
    TfrmHeatFile editor(*store);
    editor.setDraft(HeatPumpDraft::New(true, compressor, *store));
    editor.resize(900, 700);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    TdGraphBox* graph = editor.evapGraph;
    const QPointF handle = graph->handlePosition(0);  // the point at +7 degC, 10 K
    const QPoint from = handle.toPoint();
    const QPoint to = from + QPoint(0, 25);  // lower: a smaller difference
    QTest::mousePress(graph, Qt::LeftButton, {}, from);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, to);
    const double dragged = graph->value(0);
    EXPECT_LT(dragged, 10.0);
    EXPECT_EQ(editor.edEvap1->text().toDouble(), dragged);
    // and typing moves the handle back
    editor.edEvap1->setText("10");
    EXPECT_EQ(graph->value(0), 10.0);
}

// --- the administration window ---

TEST_F(HeatPumpWindowsTest, AdministrationChangesTheStoreOnlyWhenConfirmed) {
    LoadTwo();
    TfrmHPAdmin admin(*store);
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    admin.setQuestion([&](const QString& text, QMessageBox::StandardButtons) {
        questions << text;
        return answer;
    });
    bool confirm = false;
    std::string typedName;
    admin.setEditor([&](HeatPumpDraft& draft) {
        if (!typedName.empty()) draft.name = typedName;
        return confirm;
    });
    admin.openFor(&Pump(1));
    EXPECT_TRUE(admin.radAir->isChecked());
    ASSERT_EQ(admin.listed().size(), 2u);
    EXPECT_TRUE(admin.btnEdit->isEnabled());

    // cancelled edits, copies and additions change nothing
    admin.btnEditClick();
    admin.btnCopyClick();
    admin.btnAddClick();
    EXPECT_EQ(store->HeatPumps().size(), 2u);
    EXPECT_FALSE(admin.changed());

    // a confirmed copy is added under its name with " (Copy)"
    confirm = true;
    admin.selectRow(0);
    admin.btnCopyClick();
    ASSERT_EQ(store->HeatPumps().size(), 3u);
    EXPECT_EQ(Pump(2).name, "Air one (Copy)");
    EXPECT_EQ(Pump(2).compressor, compressor);
    EXPECT_TRUE(admin.changed());

    // a new heat pump in the ground list
    admin.radGround->click();
    EXPECT_TRUE(admin.listed().empty());
    EXPECT_FALSE(admin.btnEdit->isEnabled());
    typedName = "Brine new";
    admin.btnAddClick();
    // no remembered compressor: the editor's draft has none, so nothing can be added
    EXPECT_EQ(store->HeatPumps().size(), 3u);
    admin.openFor(compressor);  // opened for a compressor: it is remembered for new heat pumps
    EXPECT_TRUE(admin.radGround->isChecked());
    admin.btnAddClick();
    ASSERT_EQ(store->HeatPumps().size(), 4u);
    EXPECT_EQ(Pump(3).name, "Brine new");
    EXPECT_EQ(Pump(3).sourceKind, 'W');

    // delete asks; Cancel keeps it, OK removes it
    admin.radAir->click();
    admin.selectRow(1);
    answer = QMessageBox::Cancel;
    admin.btnDeleteClick();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], "Delete Air two?");
    EXPECT_EQ(store->HeatPumps().size(), 4u);
    answer = QMessageBox::Ok;
    admin.btnDeleteClick();
    EXPECT_EQ(store->HeatPumps().size(), 3u);
    for (const auto& pump : store->HeatPumps()) EXPECT_NE(pump->name, "Air two");
}

// --- the diagrams ---

TEST(HeatPumpDiagramCurve, FlatBelowAndAboveTheLimitsSlopedBetween) {
    struct Case {
        const char* name;
        bool evaporator;
        double slope, offset, min, max;
        double low, high;
        std::array<TdCurvePoint, 4> expected;
    };
    const Case cases[] = {
        {"air evaporator", true, 2.0 / 7.0, 8, 5, 14, -15, 30,
         {{{-15, 5}, {-10.5, 5}, {21, 14}, {30, 14}}}},
        {"ground evaporator, limits beyond the range", true, 0.1, 5, 3, 8, -15, 30,
         {{{-15, 3.5}, {-15, 3.5}, {30, 8}, {30, 8}}}},
        {"flat rule", true, 0, 20, 5, 15, -15, 30, {{{-15, 15}, {-15, 15}, {30, 15}, {30, 15}}}},
        {"falling rule", true, -0.5, 5, 2, 10, -15, 30, {{{-15, 10}, {-10, 10}, {6, 2}, {30, 2}}}},
        {"condenser", false, 0.08, 2.2, 3, 10, 15, 65, {{{15, 3.4}, {15, 3.4}, {65, 7.4}, {65, 7.4}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THeatPump pump;
        (c.evaporator ? pump.evapSlope : pump.condSlope) = c.slope;
        (c.evaporator ? pump.evapOffset : pump.condOffset) = c.offset;
        (c.evaporator ? pump.evapMin : pump.condMin) = c.min;
        (c.evaporator ? pump.evapMax : pump.condMax) = c.max;
        const auto curve = TdCurve(pump, c.evaporator, c.low, c.high);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(curve[i].t, c.expected[i].t, 1e-9) << i;
            EXPECT_NEAR(curve[i].td, c.expected[i].td, 1e-9) << i;
        }
    }
}

// --- the main window ---

class HeatPumpMainWindowTest : public HeatPumpWindowsTest {
  protected:
    void SetUp() override {
        HeatPumpWindowsTest::SetUp();
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
        WriteHeatPumps(user.path() / "mine.zqv", {AirRow(0, "Air one"), AirRow(1, "Air two")});
        Settings settings;
        settings.refrigerant = "R134a";
        settings.mode = ActivityMode::AirWaterHeatPumps;
        settings.heatPumpFamilies.Clear();
        settings.heatPumpFamilies.Add(73);
        settings.heatPumpFile = (user.path() / "mine.zqv").string();
        settings.conditions.sourceInletTemp = 7;
        settings.conditions.waterOutletTemp = 35;
        ASSERT_TRUE(SaveSettingsFile(user.path() / std::string(kSettingsFileName), settings));
    }

    std::unique_ptr<TfrmActivity> Start() {
        auto window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([this](const QString& text) { errors << text; });
        window->show();
        return window;
    }

    WorkspaceFolders folders;
    QStringList errors;
};

TEST_F(HeatPumpMainWindowTest, ClosingWithUnsavedHeatPumpsAsksAndCancelKeepsTheWindowOpen) {
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable()) << window->databaseProblem().toStdString();
    HeatPumpCommands* commands = window->heatPumpCommands();
    ASSERT_NE(commands, nullptr);
    EXPECT_EQ(commands->keeper().path(), (user.path() / "mine.zqv").string());
    const auto before = std::filesystem::last_write_time(user.path() / "mine.zqv");

    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    window->setQuestion([&](const QString& text, QMessageBox::StandardButtons buttons) {
        questions << text;
        EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return answer;
    });

    commands->keeper().markChanged();
    EXPECT_FALSE(window->close());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], "Save Heat Pump file before closing?");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(commands->keeper().changed());
    EXPECT_EQ(std::filesystem::last_write_time(user.path() / "mine.zqv"), before);

    // "No" closes without writing the heat pumps
    answer = QMessageBox::No;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(std::filesystem::last_write_time(user.path() / "mine.zqv"), before);
    const SettingsLoad saved = LoadSettingsFile(user.path() / std::string(kSettingsFileName), "english.chm");
    EXPECT_EQ(saved.settings.heatPumpFile, (user.path() / "mine.zqv").string());
}

TEST_F(HeatPumpMainWindowTest, YesWithoutAFileAsksForOneAndCancellingThatKeepsTheWindowOpen) {
    // no file of the user's: the default heat pumps of the data folder are read, never written
    const std::filesystem::path settingsFile = user.path() / std::string(kSettingsFileName);
    SettingsLoad settings = LoadSettingsFile(settingsFile, "english.chm");
    settings.settings.heatPumpFile = "X";
    ASSERT_TRUE(SaveSettingsFile(settingsFile, settings.settings));
    WriteHeatPumps(data.path() / "hpump7.ZQV", {AirRow(0, "Shipped")});
    auto window = Start();
    HeatPumpCommands* commands = window->heatPumpCommands();
    ASSERT_NE(commands, nullptr);
    ASSERT_EQ(window->driver()->candidates().size(), 1u);
    EXPECT_FALSE(commands->keeper().pathIsSet());

    window->setQuestion([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
    std::filesystem::path chosen;
    int asked = 0;
    commands->hooks().chooseFile = [&](bool save) {
        EXPECT_TRUE(save);
        ++asked;
        return chosen;
    };
    commands->keeper().markChanged();
    EXPECT_FALSE(window->close());  // the save dialog was cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->isVisible());

    chosen = user.path() / "saved.zqv";
    EXPECT_TRUE(window->close());
    const std::vector<std::uint8_t> bytes = [&] {
        std::ifstream in(chosen, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    const HeatPumpFileRows rows = DecodeHeatPumpFile(bytes);
    ASSERT_TRUE(rows.ok) << rows.error;
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0].name, "Shipped");
    const SettingsLoad saved = LoadSettingsFile(user.path() / std::string(kSettingsFileName), "english.chm");
    EXPECT_EQ(saved.settings.heatPumpFile, chosen.string());
    // the default file is untouched
    EXPECT_EQ(std::filesystem::file_size(data.path() / "hpump7.ZQV"), 2u * HeatPumpRow::kSize);
}

TEST_F(HeatPumpMainWindowTest, OpeningADamagedFileKeepsTheHeatPumpsAndSaysWhy) {
    auto window = Start();
    HeatPumpCommands* commands = window->heatPumpCommands();
    ASSERT_EQ(window->driver()->candidates().size(), 2u);
    {
        std::ofstream out(user.path() / "broken.zqv", std::ios::binary);
        out << std::string(200, 'x');
    }
    commands->hooks().chooseFile = [&](bool) { return user.path() / "broken.zqv"; };
    commands->openFile();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("broken.zqv"));
    EXPECT_EQ(window->driver()->candidates().size(), 2u);
    EXPECT_EQ(commands->keeper().path(), (user.path() / "mine.zqv").string());

    // a sound file replaces them and becomes the file
    WriteHeatPumps(user.path() / "three.zqv", {AirRow(0, "a"), AirRow(1, "b"), AirRow(2, "c")});
    commands->hooks().chooseFile = [&](bool) { return user.path() / "three.zqv"; };
    commands->openFile();
    EXPECT_EQ(window->driver()->candidates().size(), 3u);
    EXPECT_EQ(commands->keeper().path(), (user.path() / "three.zqv").string());
    window->setQuestion([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::No; });
    EXPECT_TRUE(window->close());
}

TEST_F(HeatPumpMainWindowTest, ADamagedFileAtStartUpIsReportedAndLoadsNothing) {
    const std::vector<HeatPumpRow> rows = {AirRow(0, "a"), AirRow(1, "b")};
    std::vector<std::uint8_t> bytes = EncodeHeatPumpFile(store->Date(), rows);
    bytes.resize(bytes.size() - 7);  // cut short
    {
        std::ofstream out(user.path() / "mine.zqv", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    QCoreApplication::processEvents();  // the message comes once the window is up
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("mine.zqv"));
    EXPECT_TRUE(window->driver()->candidates().empty());
    // the damaged file is not replaced unasked: the heat pumps count as unchanged
    EXPECT_FALSE(window->heatPumpCommands()->keeper().changed());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(std::filesystem::file_size(user.path() / "mine.zqv"), bytes.size());
}

TEST_F(HeatPumpMainWindowTest, DiagramsDrawTheSelectedHeatPump) {
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    auto* diagrams = window->findChild<THeatPumpDiagrams*>();
    ASSERT_NE(diagrams, nullptr);
    const TCModel* selected = window->driver()->selectedModel();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(diagrams->heatPump(), selected);
    // releasing the heat pumps (before a file replaces them) leaves nothing pointing at them
    window->driver()->releaseHeatPumps();
    EXPECT_EQ(diagrams->heatPump(), nullptr);
    EXPECT_EQ(window->driver()->selectedModel(), nullptr);
    window->driver()->rebuildCandidates();
    EXPECT_NE(diagrams->heatPump(), nullptr);
    window->setQuestion([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::No; });
    EXPECT_TRUE(window->close());
}

}  // namespace
}  // namespace kelvra
