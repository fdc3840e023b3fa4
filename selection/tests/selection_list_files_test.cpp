// The selection list on a small product database: columns kept in the settings file, candidates
// of two refrigerants side by side, the clipboard text and the spreadsheet file.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "data_store.hpp"
#include "list_sheet.hpp"
#include "safe_file.hpp"
#include "selection_driver.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"

namespace kelvra {
namespace {

namespace q = quantity;
namespace st = model_status;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

class SelectionListFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(libraries.loaded.general);
        WriteProductDatabase(folder.path(), testing::SelectionFixtureDatabase());
        store = std::make_unique<TdataStore>(DatabaseSources{folder.path(), nullptr});
        ASSERT_TRUE(store->Valid() && !store->Missing());
        r134a = store->FindRefrigerantByName("R134a");
        r404a = store->FindRefrigerantByName("R404A");
        ASSERT_NE(r404a, nullptr);
        driver = Started();
    }

    // Family 1 at -10/40 degC, 10 K superheat, 10 kW required.
    std::unique_ptr<SelectionDriver> Started() const {
        auto d = std::make_unique<SelectionDriver>(*store);
        SelectionDriver::Setup setup;
        setup.refrigerant = r134a;
        setup.conditions.evapTemp = -10;
        setup.conditions.condTemp = 40;
        setup.conditions.superheat = 10;
        setup.conditions.subcooling = 0;
        setup.conditions.capacity = 10;
        setup.families[FamilyPage::Compressors].Add(1);
        d->setUp(setup);
        d->layoutForMode();
        return d;
    }

    const ListItem& Item(const std::string& name, const Trefrigerant* refrigerant) const {
        for (const ListItem& item : driver->list().items())
            if (item.model->name == name && item.refrigerant == refrigerant) return item;
        ADD_FAILURE() << name << " is not listed";
        return driver->list().items().front();
    }

    testing::PropertyLibraries libraries;
    testing::ScratchFolder folder;
    std::unique_ptr<TdataStore> store;
    Trefrigerant* r134a = nullptr;
    Trefrigerant* r404a = nullptr;
    std::unique_ptr<SelectionDriver> driver;
};

TEST_F(SelectionListFilesTest, ChosenColumnsAreKeptInTheSettingsFileAndReadBack) {
    SelectionList& list = driver->list();
    const std::vector<ListColumn> chosen = {
        {'P', q::COP}, {'M', 10}, {'E', 3}, {'P', q::IntermediatePressure}};
    list.setColumns(chosen);

    Settings settings;
    settings.selectionList = list.saveColumns();
    const auto file = folder.path() / "kelvra71.ini";
    ASSERT_TRUE(SaveSettingsFile(file, settings));
    const std::string text = ReadWholeFile(file).bytes;
    EXPECT_NE(text.find("numcols=4"), std::string::npos) << text;
    EXPECT_NE(text.find("itemKind=PMEP"), std::string::npos) << text;
    EXPECT_NE(text.find("c1=10"), std::string::npos) << text;

    // The next run starts with the mode's defaults and takes the file's columns.
    const auto next = Started();
    ASSERT_EQ(next->list().columns(), SelectionList::defaultColumns(ActivityMode::Compressors));
    const SettingsLoad load = LoadSettingsFile(file, kDefaultHelpFile);
    ASSERT_TRUE(load.exists && load.settings.selectionList.has_value());
    next->list().loadColumns(*load.settings.selectionList);
    EXPECT_EQ(next->list().columns(), chosen);
    // The default sort column (the sixth) is gone: sorted by name.
    EXPECT_EQ(next->list().sortColumn(), -next->list().fixedCount());
}

TEST_F(SelectionListFilesTest, ColumnsTheFileCannotGiveKeepTheDefaults) {
    const std::vector<ListColumn> defaults = SelectionList::defaultColumns(ActivityMode::Compressors);
    struct Case {
        const char* name;
        SelectionListColumns saved;
        std::vector<ListColumn> columns;
    };
    const Case cases[] = {
        {"-1, an unknown quantity, a negative field and a strange kind keep each position's default",
         {4, "PPMX", {-1, 9999, -5, q::MassFlow}},
         {defaults[0], defaults[1], defaults[2], {'P', q::MassFlow}}},
        {"the status entry and the seasonal figure are no column",
         {2, "PP", {0, 23}},
         {defaults[0], defaults[1]}},
        {"fewer kinds and codes than columns: the rest are the defaults, capacity after the sixth",
         {8, "E", {7}},
         {{'E', 7}, defaults[1], defaults[2], defaults[3], defaults[4], defaults[5],
          {'P', q::CoolingCapacity}, {'P', q::CoolingCapacity}}},
        {"no columns at all changes nothing", {0, "", {}}, defaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectionList& list = driver->list();
        list.setColumns(defaults);
        list.loadColumns(c.saved);
        EXPECT_EQ(list.columns(), c.columns);
    }
}

TEST_F(SelectionListFilesTest, ComparedRefrigerantsAreEachRatedAtTheirOwnPoint) {
    SelectionList& list = driver->list();
    ASSERT_TRUE(list.compareRefrigerants({r404a}, r134a));
    driver->rebuildCandidates();
    ASSERT_EQ(list.items().size(), 6u);

    // What the R404A model gives at the point resolved for R404A, evaluated on its own.
    const auto rated = [this](const std::string& name, Trefrigerant* refrigerant) {
        const ListItem& item = Item(name, refrigerant);
        OperatingConditions point = driver->conditions();
        Resolve(point, refrigerant);
        item.model->EvaluateGuarded(point, ActivityMode::Compressors);
        return item.model->Results();
    };
    const ResultVector snapshot404 = Item("KS-10", r404a).results;
    EXPECT_EQ(snapshot404.Status(), st::Valid);
    EXPECT_EQ(snapshot404, rated("KS-10", r404a));
    EXPECT_EQ(Item("KS-10", r134a).results, rated("KS-10", r134a));
    EXPECT_NE(snapshot404.Get(q::CoolingCapacity), Item("KS-10", r134a).result(q::CoolingCapacity));

    // A new point: the other refrigerant's snapshots follow too.
    OperatingConditions colder = driver->conditions();
    colder.evapTemp = -20;
    driver->applyConditions(colder);
    EXPECT_LT(Item("KS-10", r404a).result(q::CoolingCapacity), snapshot404.Get(q::CoolingCapacity));
    EXPECT_EQ(Item("KS-10", r404a).results, rated("KS-10", r404a));

    // Sorted by refrigerant, the R134a models come first, each group in the order it had.
    list.sortBy(-list.fixedCount() + 1);
    const ListItem& last = list.items()[static_cast<std::size_t>(list.order().back())];
    EXPECT_EQ(last.refrigerant, r404a);
}

TEST_F(SelectionListFilesTest, TheClipboardTextHoldsTitlesUnitsAndEveryRowInDisplayedOrder) {
    SelectionList& list = driver->list();
    ASSERT_TRUE(list.compareRefrigerants({r404a}, r134a));
    driver->rebuildCandidates();
    list.setColumns({{'P', q::CoolingCapacity}, {'M', 10}, {'P', q::COP}});
    list.sortBy(-list.fixedCount());  // by name
    const auto lines = Lines(list.clipboardText());
    ASSERT_EQ(lines.size(), 2u + 6u);
    const std::string heading = store->Headings().front()->caption;
    EXPECT_EQ(lines[0], "Compressor\tREFRIGERANT\tCooling capacity\t" + heading + "\tCOP");
    EXPECT_EQ(lines[1], "\t\tkW\t\t");
    const auto row = [&](const std::string& name, const Trefrigerant* r, const std::string& tech) {
        const ListItem& item = Item(name, r);
        return name + "\t" + r->DisplayName() + "\t" +
               list.valueText(item, q::CoolingCapacity) + "\t" + tech + "\t" +
               list.valueText(item, q::COP);
    };
    EXPECT_EQ(lines[2], row("KS-05", r134a, "20 kg"));
    EXPECT_EQ(lines[3], row("KS-07", r134a, ""));
    // KS-09N may not run below -5 degC: its values are "-", its technical data still shown.
    EXPECT_EQ(lines[4], "KS-09N\tR134a\t-\t\t-");
    EXPECT_EQ(lines[5], row("KS-10", r134a, "25 kg"));
    EXPECT_EQ(lines[6], row("KS-10", r404a, ""));
    EXPECT_EQ(lines[7], row("KS-12", r134a, "28 kg"));
    EXPECT_NE(list.valueText(Item("KS-10", r134a), q::CoolingCapacity), "-");
}

TEST_F(SelectionListFilesTest, RealNumbersInSpreadsheetFilesHaveTheirFixedForm) {
    const std::pair<double, const char*> cases[] = {
        {15.3, " 1.53000000000000E+0001"}, {35, " 3.50000000000000E+0001"},
        {-2.5, "-2.50000000000000E+0000"}, {0, " 0.00000000000000E+0000"},
        {0.00123, " 1.23000000000000E-0003"}, {1e120, " 1.00000000000000E+0120"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(DefaultRealText(value), text) << value;
        EXPECT_EQ(DefaultRealText(value).size(), 23u);
    }
}

TEST_F(SelectionListFilesTest, TheSpreadsheetFileHoldsTheConditionsAndEveryRow) {
    SelectionList& list = driver->list();
    list.setColumns({{'P', q::CoolingCapacity}, {'P', q::EconomiserCapacity}, {'M', 10}});
    list.sortBy(-list.fixedCount());
    const ListSheetHeader header{"Kelvra 7", " 7.7  / 45292 (01/24)", "1 January 2024", false};
    const auto file = folder.path() / "list.XLS";
    ASSERT_TRUE(WriteSelectionListSheet(file, list, header));
    const FileContents contents = ReadWholeFile(file);
    ASSERT_TRUE(contents.exists);
    EXPECT_EQ(contents.bytes, SelectionListSheet(list, header));

    const auto lines = Lines(contents.bytes);
    const std::string heading = store->Headings().front()->caption;
    const auto capacity = [&](const std::string& name) {
        return DefaultRealText(RoundForDisplay(q::CoolingCapacity,
                                               Item(name, r134a).result(q::CoolingCapacity)));
    };
    const std::vector<std::string> expected = {
        "",
        "Kelvra 7\tVersion 7.7  / 45292 (01/24)\t\t\t1 January 2024",
        "",
        "Refrigerant\tR134a",
        "Supply\t400V-3-50",
        "",
        "Operating Conditions",
        "Evaporating Temp\t-10.0\u00B0C",
        "Condensing temperature\t40.0\u00B0C",
        "Suction superheat\t10.0K",
        "Liquid subcooling\t0.0K",
        "",
        "Required capacity\t 1.00000000000000E+0001",
        "",
        "Compressor\tCooling capacity\tEconomiser capacity\t" + heading + "\t",
        // no economiser without vapour injection; a failed model keeps only its technical data
        "KS-05\t" + capacity("KS-05") + "\t\t20 kg\t",
        "KS-07\t" + capacity("KS-07") + "\t\t\t",
        "KS-09N\t\t\t\t",
        "KS-10\t" + capacity("KS-10") + "\t\t25 kg\t",
        "KS-12\t" + capacity("KS-12") + "\t\t28 kg\t",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(capacity("KS-10"), " 1.00000000000000E+0001");  // 10 kW at the rating point
}

TEST_F(SelectionListFilesTest, ASpreadsheetFileThatCannotBeWrittenIsReportedAndChangesNothing) {
    SelectionList& list = driver->list();
    const auto missing = folder.path() / "no such folder" / "list.XLS";
    const IoStatus status = WriteSelectionListSheet(missing, list, {});
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Unable to write to " + missing.string());
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A folder in the way of the file stays as it was.
    const auto inTheWay = folder.path() / "taken.XLS";
    std::filesystem::create_directory(inTheWay);
    EXPECT_FALSE(WriteSelectionListSheet(inTheWay, list, {}));
    EXPECT_TRUE(std::filesystem::is_directory(inTheWay));
}

TEST_F(SelectionListFilesTest, TheChoiceMenuFollowsTheModeAndTheStoresFields) {
    SelectionList& list = driver->list();
    const auto find = [&list](ListColumn column) -> const ListChoice* {
        static std::vector<ListChoice> choices;
        choices = list.choices();
        for (const ListChoice& choice : choices)
            if (choice.column == column) return &choice;
        return nullptr;
    };
    ASSERT_NE(find({'M', 10}), nullptr);  // the mechanical field of the compressors
    EXPECT_EQ(find({'M', 10})->text, store->Headings().front()->caption);
    ASSERT_NE(find({'P', q::RefrigerationCOP}), nullptr);
    EXPECT_FALSE(find({'P', q::RefrigerationCOP})->enabled);  // only for heat-pump compressors
    EXPECT_EQ(find({'P', q::IntermediatePressure})->text, "PSI");
    EXPECT_NE(find({'P', q::DischargeTemp}), nullptr);
    EXPECT_EQ(find({'P', q::CondensingTemp}), nullptr);  // condensing units only
}

}  // namespace
}  // namespace kelvra
