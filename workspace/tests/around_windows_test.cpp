// The windows around the main window on the small product database, offscreen: project details
// into the project file, preferences into the settings (and Cancel into nothing), the help pages
// shipped beside the program, the disclaimer, the maker's pages and the menus of later tools.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <fstream>
#include <memory>
#include <sstream>

#include "customer_window.hpp"
#include "help_windows.hpp"
#include "language_table.hpp"
#include "language_texts.hpp"
#include "main_window.hpp"
#include "preferences.hpp"
#include "preferences_window.hpp"
#include "product_records.hpp"
#include "refrigerant.hpp"
#include "project_file.hpp"
#include "property_library.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"
#include "table_layout_file.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "around_windows_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

void Write(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

template <class T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
}

TableLayoutRecord Table(const char* name, TableProduct product, UnitSystem system) {
    TableLayoutRecord r;
    r.name = name;
    r.productType = static_cast<std::int32_t>(product);
    r.unitSystem = ToInt(system);
    return r;
}

// --- plain classes -------------------------------------------------------------------------

TEST(MoneyTest, FormatsTheSampleAmountInEveryPositionAndNegativeFormat) {
    struct Case {
        double amount;
        CurrencyFormat format;
        const char* shown;
    };
    const Case cases[] = {
        {1234.5679, {"$", 0, 0, 2}, "$1,234.57"},
        {1234.5679, {"EUR", 1, 5, 2}, "1,234.57EUR"},
        {1234.5679, {"kr", 3, 8, 0}, "1,235 kr"},
        {1234.5679, {"Fr.", 2, 9, 3}, "Fr. 1,234.568"},
        {0.999, {"$", 0, 0, 2}, "$1.00"},
        {1234567.0, {"$", 0, 0, 2}, "$1,234,567.00"},
        {-5.5, {"$", 0, 0, 2}, "($5.50)"},
        {-5.5, {"$", 0, 1, 2}, "-$5.50"},
        {-5.5, {"EUR", 1, 5, 2}, "-5.50EUR"},
        {-5.5, {"EUR", 3, 8, 2}, "-5.50 EUR"},
        {-5.5, {"$", 0, 15, 1}, "(5.5 $)"},
        {-0.001, {"$", 0, 0, 2}, "$0.00"},  // rounds to nothing: no minus
    };
    for (const Case& c : cases) EXPECT_EQ(FormatMoney(c.amount, c.format), c.shown) << c.shown;
}

TEST(PriceTest, AcceptsNumbersWithPointOrCommaOnly) {
    struct Case {
        const char* typed;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"0.15", 0.15}, {"0,15", 0.15}, {" 12 ", 12.0}, {"1", 1.0}, {"0", 0.0},
        {"", std::nullopt}, {"abc", std::nullopt}, {"0.15p", std::nullopt},
        {"-1", std::nullopt}, {"12345678901", std::nullopt}, {"nan", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto value = ParsePrice(c.typed);
        ASSERT_EQ(value.has_value(), c.value.has_value()) << '"' << c.typed << '"';
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.value) << c.typed;
        }
    }
}

class PreferencesModelTest : public ::testing::Test {
  protected:
    PreferencesModel Model(const Settings& s) const {
        return PreferencesModel(s,
                                {Table("A", TableProduct::Compressors, UnitSystem::SI),
                                 Table("U", TableProduct::CondensingUnits, UnitSystem::SI),
                                 Table("B", TableProduct::Compressors, UnitSystem::SI),
                                 Table("F", TableProduct::Compressors, UnitSystem::Imperial),
                                 Table("C", TableProduct::Compressors, UnitSystem::SI)},
                                {"english.lng", "german.lng"}, {"english"}, CurrencyFormat{"£", 0, 1, 2});
    }
};

TEST_F(PreferencesModelTest, ListsTheTablesOfOneProductAndUnitSystemAfterTheBuiltInOne) {
    PreferencesModel m = Model(Settings());
    m.setTableKind(TableProduct::Compressors, UnitSystem::SI);
    EXPECT_EQ(m.tableEntries("built-in"), (std::vector<std::string>{"built-in", "A", "B", "C"}));
    m.setTableKind(TableProduct::Compressors, UnitSystem::Kcal);  // kcal shares the SI tables
    EXPECT_EQ(m.tableEntries("built-in").size(), 4u);
    m.setTableKind(TableProduct::Compressors, UnitSystem::Imperial);
    EXPECT_EQ(m.tableEntries("built-in"), (std::vector<std::string>{"built-in", "F"}));
    EXPECT_FALSE(m.isUserEntry(0));
    EXPECT_TRUE(m.isUserEntry(1));
    EXPECT_FALSE(m.isUserEntry(2));
}

TEST_F(PreferencesModelTest, DeletingATableKeepsTheDefaultOnTheSameTable) {
    struct Case {
        int defaultEntry;
        int deleted;
        int defaultAfter;
    };
    const Case cases[] = {
        {3, 1, 2},  // the default moves up with its table
        {1, 3, 1},  // a later table goes: the default stays
        {2, 2, 0},  // the default itself goes: the built-in table
        {0, 1, 0},
    };
    for (const Case& c : cases) {
        PreferencesModel m = Model(Settings());
        m.setTableKind(TableProduct::Compressors, UnitSystem::SI);
        m.setDefaultEntry(c.defaultEntry);
        const std::string name = m.tableEntries("x")[static_cast<std::size_t>(c.defaultEntry)];
        m.deleteEntry(c.deleted);
        EXPECT_TRUE(m.tablesChanged());
        EXPECT_EQ(m.defaultEntry(), c.defaultAfter) << c.defaultEntry << " " << c.deleted;
        if (c.defaultAfter > 0) {
            EXPECT_EQ(m.tableEntries("x")[static_cast<std::size_t>(c.defaultAfter)], name);
        }
        // the other kinds' tables are untouched
        EXPECT_EQ(m.tables().size(), 4u);
        EXPECT_EQ(m.apply(Settings(), "/i").defaultTables.For(TableProduct::Compressors, UnitSystem::SI),
                  c.defaultAfter);
    }
}

TEST_F(PreferencesModelTest, ADefaultBeyondTheTablesIsTheBuiltInOne) {
    Settings s;
    s.defaultTables.For(TableProduct::Compressors, UnitSystem::SI) = 7;
    PreferencesModel m = Model(s);
    m.setTableKind(TableProduct::Compressors, UnitSystem::SI);
    EXPECT_EQ(m.defaultEntry(), 0);
}

TEST_F(PreferencesModelTest, AppliesWhatItEditsAndKeepsTheRest) {
    Settings s;
    s.language = "GERMAN.LNG";  // written on Windows
    s.help = "/old/english.chm";
    s.refrigerant = "R134a";
    s.currency = CurrencyFormat{"SEK", 3, 8, 0};
    PreferencesModel m = Model(s);
    EXPECT_EQ(m.languageIndex(), 1);  // found ignoring case
    EXPECT_EQ(m.languageNames(), (std::vector<std::string>{"ENGLISH", "GERMAN"}));
    m.dealer().salesman = "Ann Other";
    m.dealer().postcode = "ab1 2cd";
    m.setUnits(UnitSystem::Kcal);
    m.setLanguageIndex(0);
    m.setCurrencyChoice(CurrencyChoice::Euro);
    EXPECT_EQ(m.sampleAmount(), "1,234.57\xE2\x82\xAC");
    m.setCurrencyChoice(CurrencyChoice::Local);
    EXPECT_EQ(m.currency().symbol, "£");
    m.setCurrencyChoice(CurrencyChoice::Default);
    EXPECT_EQ(m.currency(), s.currency);
    m.setCurrencyChoice(CurrencyChoice::UsDollar);
    m.electricity = " 0,21 ";
    EXPECT_FALSE(m.problem());

    const Settings out = m.apply(s, "/opt/kelvra");
    EXPECT_EQ(out.dealer.salesman, "Ann Other");
    EXPECT_EQ(out.dealer.postcode, "AB1 2CD");
    EXPECT_EQ(out.units, UnitSystem::Kcal);
    EXPECT_EQ(out.language, "english.lng");
    EXPECT_EQ(out.help, (std::filesystem::path("/opt/kelvra") / "english.chm").string());
    EXPECT_EQ(out.currency, UsDollarCurrency());
    EXPECT_EQ(out.electricity, "0,21");  // as typed
    EXPECT_EQ(out.refrigerant, "R134a");

    m.directCost = "cheap";
    ASSERT_TRUE(m.problem());
    EXPECT_NE(m.problem()->find("cheap"), std::string::npos);
}

TEST(HelpPagesTest, ContextNumbersOpenTheirPageOfTheChosenSetOrTheEnglishOne) {
    testing::ScratchFolder folder;
    for (const char* page : {"index.html", "getting_started.html", "selection.html"})
        Write(folder.path() / "help" / "english" / page, "<p>english</p>");
    Write(folder.path() / "help" / "deutsch" / "index.html", "<p>deutsch</p>");
    const auto help = folder.path() / "help";
    EXPECT_EQ(HelpPageFor(folder.path(), "/x/english.chm", 12).string(),
              (help / "english" / "selection.html").string() + "#table");
    EXPECT_EQ(HelpPageFor(folder.path(), "/x/english.chm", 0), help / "english" / "index.html");
    // a set without the topic's page opens its contents
    EXPECT_EQ(HelpPageFor(folder.path(), "C:\\Kelvra\\DEUTSCH.CHM", 1).filename(), "index.html");
    EXPECT_EQ(HelpPageFor(folder.path(), "/x/deutsch.chm", 1), help / "deutsch" / "index.html");
    // a set that is not installed: English
    EXPECT_EQ(HelpPageFor(folder.path(), "/x/francais.chm", 1), help / "english" / "getting_started.html");
    EXPECT_EQ(HelpPageFor(folder.path(), "", 1), help / "english" / "getting_started.html");
    // no help at all
    testing::ScratchFolder none;
    EXPECT_TRUE(HelpPageFor(none.path(), "english.chm", 1).empty());
}

// The pages shipped beside the program: every context opens a page that exists, its anchor is
// on the page, and every link between the pages leads to a page that exists.
TEST(HelpPagesTest, TheShippedPagesAreCompleteAndTheirLinksLead) {
    const std::filesystem::path installation = InstallationFolder();
    for (int context : {0, 1, 7, 12, 13, 19, 21, 99}) {
        const std::string page = HelpPageFor(installation, "english.chm", context).string();
        ASSERT_FALSE(page.empty()) << context;
        const std::size_t hash = page.find('#');
        const std::string file = page.substr(0, hash);
        ASSERT_TRUE(std::filesystem::is_regular_file(file)) << file;
        if (hash != std::string::npos) {
            EXPECT_NE(Read(file).find("id=\"" + page.substr(hash + 1) + "\""), std::string::npos) << page;
        }
    }
    const std::filesystem::path folder = installation / "help" / "english";
    const QRegularExpression link(R"(href="([^"#:]+\.html))");
    int pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++pages;
        const QString text = QString::fromStdString(Read(entry.path()));
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const std::string target = it.next().captured(1).toStdString();
            EXPECT_TRUE(std::filesystem::is_regular_file(folder / target))
                << entry.path().filename() << " links to " << target;
        }
    }
    EXPECT_GE(pages, 5);
}

TEST(DisclaimerTest, TheLanguagesFileElseTheBuiltInText) {
    testing::ScratchFolder folder;
    EXPECT_EQ(DisclaimerText(folder.path(), "02"), BuiltInDisclaimer());
    Write(folder.path() / "Eula" / "eula02.dat", "Haftungsausschluss");
    EXPECT_EQ(DisclaimerText(folder.path(), "02"), "Haftungsausschluss");
    EXPECT_EQ(DisclaimerText(folder.path(), "01"), BuiltInDisclaimer());
    // two paragraphs: the selection and the running costs
    const std::string text = BuiltInDisclaimer();
    EXPECT_NE(text.find("\n\n"), std::string::npos);
    EXPECT_NE(text.find("running cost"), std::string::npos);
}

// --- windows -----------------------------------------------------------------------------------

class AroundWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
        Settings settings;
        settings.refrigerant = "R134a";
        settings.compressorFamilies.Clear();
        settings.compressorFamilies.Add(1);
        ASSERT_TRUE(SaveSettingsFile(SettingsPath(), settings));
    }

    std::unique_ptr<TfrmActivity> Start() {
        auto window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([this](const QString& text) { errors << text; });
        window->setQuestion([](const QString&, QMessageBox::StandardButtons) { return QMessageBox::No; });
        window->show();
        return window;
    }

    std::filesystem::path SettingsPath() const { return user.path() / std::string(kSettingsFileName); }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
    QStringList errors;
};

TEST_F(AroundWindowsTest, ProjectDetailsGoIntoTheProjectFileAndCancelChangesNothing) {
    auto window = Start();
    const std::filesystem::path project = user.path() / "dairy.kvj";
    ASSERT_TRUE(window->saveProject(project));

    // Cancel: nothing changes, nothing is asked
    QStringList shown;
    window->setDialogRunner([&](QDialog& dialog) {
        shown << dialog.objectName();
        TypeInto(Child<QLineEdit>(dialog, "edProject"), "Never");
        return static_cast<int>(QDialog::Rejected);
    });
    window->mnuCustomerClick();
    EXPECT_EQ(shown, QStringList{"frmCustomer"});
    EXPECT_EQ(window->projectDetails().project, "");
    EXPECT_FALSE(window->driver()->projectModified());

    window->setDialogRunner([&](QDialog& dialog) {
        shown << dialog.objectName();
        EXPECT_EQ(dialog.windowTitle(), "Project Details");
        TypeInto(Child<QLineEdit>(dialog, "edProject"), "Dairy cold store");
        TypeInto(Child<QLineEdit>(dialog, "edCompany"), "Northfield Dairies");
        TypeInto(Child<QLineEdit>(dialog, "edAddress1"), QString(40, 'x'));  // 30 at most
        TypeInto(Child<QLineEdit>(dialog, "edPostcode"), "ne1 4st");
        EXPECT_EQ(Child<QLineEdit>(dialog, "edPostcode")->text(), "NE1 4ST");  // typed in capitals
        dialog.accept();
        return dialog.result();
    });
    QAction* menu = window->findChild<QAction*>("mnuCustomer");
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    EXPECT_EQ(shown.size(), 2);  // a loaded project: no save dialog
    EXPECT_EQ(window->projectDetails().project, "Dairy cold store");
    EXPECT_TRUE(window->driver()->projectModified());

    // written with the next save
    EXPECT_TRUE(ReadProjectFile(project, ProjectRecord{}).project.details.project.empty());
    ASSERT_TRUE(window->saveProject(project));
    const ProjectLoad load = ReadProjectFile(project, ProjectRecord{});
    ASSERT_TRUE(load.status);
    EXPECT_EQ(load.project.details.project, "Dairy cold store");
    EXPECT_EQ(load.project.details.company, "Northfield Dairies");
    EXPECT_EQ(load.project.details.address1, std::string(30, 'x'));
    EXPECT_EQ(load.project.details.postcode, "NE1 4ST");

    // and read back by another window
    auto other = Start();
    ASSERT_TRUE(other->loadProject(project));
    EXPECT_EQ(other->projectDetails().company, "Northfield Dairies");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(AroundWindowsTest, ANewProjectAsksForItsDetailsAndThenForItsFile) {
    auto window = Start();
    const std::filesystem::path project = user.path() / "new-job.kvj";
    QStringList shown;
    window->setDialogRunner([&](QDialog& dialog) {
        shown << dialog.metaObject()->className();
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
            files->setOption(QFileDialog::DontUseNativeDialog);
            files->selectFile(QString::fromStdString(project.string()));
            static_cast<QDialog*>(files)->accept();
            return files->result();
        }
        TypeInto(Child<QLineEdit>(dialog, "edProject"), "New job");
        dialog.accept();
        return dialog.result();
    });
    window->mnuCustomerClick();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], "kelvra::TfrmCustomer");
    EXPECT_EQ(shown[1], "QFileDialog");
    EXPECT_EQ(window->projectFile(), project);
    const ProjectLoad load = ReadProjectFile(project, ProjectRecord{});
    ASSERT_TRUE(load.status);
    EXPECT_EQ(load.project.details.project, "New job");
}

TEST_F(AroundWindowsTest, ANewProjectForgetsTheCustomerButKeepsCurrencyAndPrices) {
    auto window = Start();
    window->setDialogRunner([&](QDialog& dialog) {
        TypeInto(Child<QLineEdit>(dialog, "edElectricity"), "0");
        TypeInto(Child<QLineEdit>(dialog, "edDirectCost"), "0.5");
        Child<QRadioButton>(dialog, "radCurrency2")->click();  // Euro
        dialog.accept();
        return dialog.result();
    });
    window->mnuPreferencesClick(TfrmActivity::PreferencesPage::Units);
    const std::filesystem::path first = user.path() / "first.kvj";
    window->setDialogRunner([&](QDialog& dialog) {
        if (qobject_cast<QFileDialog*>(&dialog)) return static_cast<int>(QDialog::Rejected);
        TypeInto(Child<QLineEdit>(dialog, "edProject"), "First");
        dialog.accept();
        return dialog.result();
    });
    window->mnuCustomerClick();  // no file yet: the save dialog is cancelled
    ASSERT_TRUE(window->saveProject(first));
    EXPECT_EQ(window->projectDetails().project, "First");

    const std::filesystem::path second = user.path() / "second.kvj";
    QStringList shown;
    window->setDialogRunner([&](QDialog& dialog) {
        shown << dialog.metaObject()->className();
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            files->setOption(QFileDialog::DontUseNativeDialog);
            files->selectFile(QString::fromStdString(second.string()));
            static_cast<QDialog*>(files)->accept();
            return files->result();
        }
        EXPECT_TRUE(Child<QLineEdit>(dialog, "edProject")->text().isEmpty());
        TypeInto(Child<QLineEdit>(dialog, "edProject"), "Second");
        dialog.accept();
        return dialog.result();
    });
    QAction* newProject = nullptr;
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == "&New Project") newProject = action;
    ASSERT_NE(newProject, nullptr);
    newProject->trigger();
    EXPECT_EQ(shown, (QStringList{"kelvra::TfrmCustomer", "QFileDialog"}));
    EXPECT_EQ(window->projectFile(), second);
    const ProjectDetails& details = window->projectDetails();
    EXPECT_EQ(details.project, "Second");
    EXPECT_EQ(details.electricity, "1");  // a price of nothing becomes 1
    EXPECT_EQ(details.directCost, "0.5");
    EXPECT_EQ(details.currency, EuroCurrency().symbol);
    const ProjectLoad load = ReadProjectFile(second, ProjectRecord{});
    ASSERT_TRUE(load.status);
    EXPECT_EQ(load.project.details.project, "Second");
    EXPECT_EQ(load.project.details.directCost, "0.5");
}

TEST_F(AroundWindowsTest, PreferencesOkKeepsTheValuesAndTheClosingWritesThem) {
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    window->setDialogRunner([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "frmPreferences");
        EXPECT_EQ(Child<QTabWidget>(dialog, "pgPreferences")->currentIndex(), 1);  // user page
        TypeInto(Child<QLineEdit>(dialog, "edSalesman"), "Ann Other");
        TypeInto(Child<QLineEdit>(dialog, "edDealerPostcode"), "m1 1aa");
        TypeInto(Child<QLineEdit>(dialog, "edEmail"), "ann@example.com");
        Child<QRadioButton>(dialog, "radUnits2")->click();    // Imperial
        Child<QRadioButton>(dialog, "radCurrency2")->click();  // Euro
        EXPECT_EQ(Child<QLabel>(dialog, "lblSample")->text(), QString::fromUtf8("1,234.57\u20ac"));
        TypeInto(Child<QLineEdit>(dialog, "edElectricity"), "0.21");
        dialog.accept();
        return dialog.result();
    });
    QAction* menu = window->findChild<QAction*>("mnuPrefUser");
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    EXPECT_EQ(window->settings().dealer.salesman, "Ann Other");
    EXPECT_EQ(window->settings().dealer.postcode, "M1 1AA");
    EXPECT_EQ(window->settings().currency, EuroCurrency());
    EXPECT_EQ(window->settings().electricity, "0.21");
    EXPECT_EQ(window->projectDetails().electricity, "0.21");  // what a project saves
    EXPECT_EQ(window->driver()->unitSystem(), UnitSystem::Imperial);  // the window follows

    ASSERT_TRUE(window->close());
    const SettingsLoad load = LoadSettingsFile(SettingsPath(), kDefaultHelpFile);
    ASSERT_TRUE(load.status);
    EXPECT_EQ(load.settings.dealer.salesman, "Ann Other");
    EXPECT_EQ(load.settings.dealer.email, "ann@example.com");
    EXPECT_EQ(load.settings.units, UnitSystem::Imperial);
    EXPECT_EQ(load.settings.currency, EuroCurrency());
    EXPECT_EQ(load.settings.electricity, "0.21");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(AroundWindowsTest, PreferencesShowAndKeepTheLoadedProjectsPrices) {
    const std::filesystem::path project = user.path() / "priced.kvj";
    {
        auto first = Start();
        ASSERT_TRUE(first->saveProject(project));
    }
    // another user's project with its own prices
    std::string text = Read(project);
    const auto at = text.find("[DEFAULTS]");
    ASSERT_NE(at, std::string::npos);
    text.insert(at + 10, "\nelectricity=0.3\ndirectcost=0.12\n");
    Write(project, text);

    auto window = Start();
    EXPECT_EQ(window->projectDetails().electricity, "1");  // the user's own settings
    ASSERT_TRUE(window->loadProject(project));
    ASSERT_EQ(window->projectDetails().electricity, "0.3");
    window->setDialogRunner([&](QDialog& dialog) {
        EXPECT_EQ(Child<QLineEdit>(dialog, "edElectricity")->text(), "0.3");
        TypeInto(Child<QLineEdit>(dialog, "edSalesman"), "Only the name changes");
        dialog.accept();
        return dialog.result();
    });
    window->mnuPreferencesClick(TfrmActivity::PreferencesPage::User);
    EXPECT_EQ(window->projectDetails().electricity, "0.3");
    EXPECT_EQ(window->projectDetails().directCost, "0.12");
    EXPECT_EQ(window->settings().dealer.salesman, "Only the name changes");
}

TEST_F(AroundWindowsTest, PreferencesCancelChangesNothing) {
    auto window = Start();
    const Settings before = window->settings();
    window->setDialogRunner([&](QDialog& dialog) {
        TypeInto(Child<QLineEdit>(dialog, "edSalesman"), "Somebody");
        Child<QRadioButton>(dialog, "radUnits3")->click();
        Child<QListWidget>(dialog, "lstTables")->setCurrentRow(0);
        dialog.reject();
        return dialog.result();
    });
    window->mnuPreferencesClick(TfrmActivity::PreferencesPage::Tables);
    EXPECT_EQ(window->settings().dealer, before.dealer);
    EXPECT_EQ(window->settings().units, before.units);
    EXPECT_EQ(window->driver()->unitSystem(), UnitSystem::SI);
    EXPECT_FALSE(std::filesystem::exists(user.path() / std::string(kTableLayoutFileName)));
}

TEST_F(AroundWindowsTest, APriceThatIsNoNumberKeepsThePreferencesOpen) {
    auto window = Start();
    bool stayedOpen = false;
    window->setDialogRunner([&](QDialog& dialog) {
        TypeInto(Child<QLineEdit>(dialog, "edSalesman"), "Kept");
        TypeInto(Child<QLineEdit>(dialog, "edElectricity"), "cheap");
        dialog.accept();
        stayedOpen = dialog.result() != QDialog::Accepted;
        auto* problem = Child<QLabel>(dialog, "lblProblem");
        EXPECT_FALSE(problem->isHidden());
        EXPECT_TRUE(problem->text().contains("cheap")) << problem->text().toStdString();
        EXPECT_EQ(Child<QLineEdit>(dialog, "edSalesman")->text(), "Kept");  // nothing typed is lost
        TypeInto(Child<QLineEdit>(dialog, "edElectricity"), "0.30");
        dialog.accept();
        return dialog.result();
    });
    window->mnuPreferencesClick(TfrmActivity::PreferencesPage::Units);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(window->settings().electricity, "0.30");
    EXPECT_EQ(window->settings().dealer.salesman, "Kept");
}

TEST_F(AroundWindowsTest, DeletingTheDefaultTableWritesTheTableFileAndTheBuiltInDefault) {
    ASSERT_TRUE(SaveTableLayouts(user.path() / std::string(kTableLayoutFileName),
                                 {Table("Low temperature", TableProduct::Compressors, UnitSystem::SI),
                                  Table("Imperial one", TableProduct::Compressors, UnitSystem::Imperial)}));
    auto window = Start();
    window->setDialogRunner([&](QDialog& dialog) {
        auto* list = Child<QListWidget>(dialog, "lstTables");
        EXPECT_EQ(list->count(), 2);
        list->setCurrentRow(0);
        EXPECT_FALSE(Child<QPushButton>(dialog, "btnTableDelete")->isEnabled());  // built-in table
        list->setCurrentRow(1);
        Child<QPushButton>(dialog, "btnSetDefault")->click();
        EXPECT_TRUE(list->item(1)->font().bold());
        EXPECT_TRUE(Child<QPushButton>(dialog, "btnTableEdit")->isEnabled());
        Child<QPushButton>(dialog, "btnTableDelete")->click();
        EXPECT_EQ(list->count(), 1);
        EXPECT_FALSE(Child<QPushButton>(dialog, "btnTableDelete")->isEnabled());  // built-in table
        dialog.accept();
        return dialog.result();
    });
    window->mnuPreferencesClick(TfrmActivity::PreferencesPage::Tables);
    EXPECT_EQ(window->settings().defaultTables.For(TableProduct::Compressors, UnitSystem::SI), 0);
    const TableLayoutLoad tables = LoadTableLayouts(user.path() / std::string(kTableLayoutFileName));
    ASSERT_TRUE(tables.status);
    ASSERT_EQ(tables.tables.size(), 1u);
    EXPECT_EQ(tables.tables[0].name, "Imperial one");
}

TEST_F(AroundWindowsTest, TablesAddedAndRenamedInTheTableDialogAreSavedForTheNextRun) {
    auto window = Start();
    QStringList shown;
    window->setDialogRunner([&](QDialog& dialog) {
        shown << dialog.objectName();
        if (dialog.objectName() == "frmCustabDLG") {
            auto* name = Child<QLineEdit>(dialog, "edName");
            TypeInto(name, shown.size() == 2 ? "Cold room" : "Cold room, wider");
            dialog.accept();
            return dialog.result();
        }
        auto* list = Child<QListWidget>(dialog, "lstTables");
        EXPECT_EQ(list->count(), 1);  // the built-in table only
        Child<QPushButton>(dialog, "btnTableAdd")->click();
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->currentRow(), 1);
        Child<QPushButton>(dialog, "btnTableEdit")->click();
        EXPECT_TRUE(list->item(1)->text().startsWith("Cold room, wider"));
        Child<QPushButton>(dialog, "btnSetDefault")->click();
        dialog.accept();
        return dialog.result();
    });
    window->mnuPreferencesClick(TfrmActivity::PreferencesPage::Tables);
    EXPECT_EQ(shown, (QStringList{"frmPreferences", "frmCustabDLG", "frmCustabDLG"}));
    const TableLayoutLoad tables = LoadTableLayouts(user.path() / std::string(kTableLayoutFileName));
    ASSERT_TRUE(tables.status);
    ASSERT_EQ(tables.tables.size(), 1u);
    EXPECT_EQ(tables.tables[0].name, "Cold room, wider");
    EXPECT_EQ(tables.tables[0].productType, static_cast<std::int32_t>(TableProduct::Compressors));
    EXPECT_FALSE(tables.tables[0].IsImperial());
    EXPECT_EQ(window->settings().defaultTables.For(TableProduct::Compressors, UnitSystem::SI), 1);
}

TEST_F(AroundWindowsTest, HelpAboutDisclaimerAndTheMakersPages) {
    auto window = Start();
    // F1 on the table tab opens the table topic
    window->findChild<QTabWidget*>("pgResults")->setCurrentIndex(1);
    EXPECT_EQ(window->helpContext(), 12);
    window->findChild<QAction*>("mnuHelpTopic")->trigger();
    auto* help = window->findChild<TfrmHelp*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->source().toString().endsWith("selection.html#table"))
        << help->browser()->source().toString().toStdString();
    EXPECT_TRUE(help->browser()->toPlainText().contains("Selecting a model"));

    QStringList shown;
    window->setDialogRunner([&](QDialog& dialog) {
        shown << dialog.objectName();
        if (dialog.objectName() == "frmAbout") {
            const QString line = qobject_cast<TfrmAbout*>(&dialog)->productLine();
            EXPECT_TRUE(line.startsWith("Version")) << line.toStdString();
            EXPECT_TRUE(line.contains("7.7")) << line.toStdString();
            QTest::mouseDClick(Child<QLabel>(dialog, "imgAbout"), Qt::LeftButton);
            EXPECT_EQ(Child<QLabel>(dialog, "lblLetters")->text(), "Version letters AY");
        } else {
            EXPECT_TRUE(dialog.findChild<QWidget*>("memDisclaimer") != nullptr);
        }
        return static_cast<int>(QDialog::Accepted);
    });
    window->findChild<QAction*>("mnuAbout")->trigger();
    window->findChild<QAction*>("mnuDisclaimer")->trigger();
    EXPECT_EQ(shown, (QStringList{"frmAbout", "frmDisclaimer"}));

    QList<QUrl> opened;
    bool browser = false;
    window->setUrlOpener([&](const QUrl& url) {
        opened << url;
        return browser;
    });
    window->findChild<QAction*>("mnuWebSite")->trigger();
    ASSERT_EQ(errors.size(), 1);  // no browser: said in words
    EXPECT_TRUE(errors[0].contains("browser"));
    browser = true;
    window->findChild<QAction*>("mnuDownload")->trigger();
    EXPECT_EQ(errors.size(), 1);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl(kWebSiteAddress));
    EXPECT_EQ(opened[1], QUrl(kDownloadAddress));
}


TEST_F(AroundWindowsTest, AnotherLanguageChosenInThePreferencesIsLoadedAndKept) {
    auto window = Start();
    window->setDialogRunner([&](QDialog& dialog) {
        auto* list = Child<QListWidget>(dialog, "lstLanguages");
        const auto found = list->findItems("GERMAN", Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (!found.isEmpty()) list->setCurrentItem(found.front());
        dialog.accept();
        return dialog.result();
    });
    window->mnuPreferencesClick(TfrmActivity::PreferencesPage::Language);
    EXPECT_EQ(window->settings().language, "german.lng");
    EXPECT_EQ(Text("mnuHelp", "&Help"), "&Hilfe");
    // the menus follow at once
    EXPECT_EQ(Child<QMenu>(*window, "mnuHelp")->title(), "&Hilfe");
    EXPECT_EQ(Child<QAction>(*window, "mnuCustomer")->text(), "Projekt&daten...");
    ASSERT_TRUE(window->close());
    EXPECT_EQ(LoadSettingsFile(SettingsPath(), kDefaultHelpFile).settings.language, "german.lng");
    ASSERT_TRUE(LoadLanguage(std::filesystem::path(InstallationFolder()) / "english.lng"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(AroundWindowsTest, ToolWindowsReachTheMainWindowThroughItsCallbacks) {
    auto window = Start();
    TfrmUpdate& main = *window;
    ASSERT_TRUE(window->driver()->autoSelect());
    const std::vector<TCModel*> candidates = window->driver()->candidates();
    ASSERT_GE(candidates.size(), 2u);
    TCModel* other = candidates.front() == window->driver()->selectedModel() ? candidates.back()
                                                                             : candidates.front();
    main.selectModel(other);
    EXPECT_EQ(window->driver()->selectedModel(), other);
    EXPECT_FALSE(window->driver()->autoSelect());  // a model picked by a tool is a manual choice
    EXPECT_TRUE(Child<QRadioButton>(*window, "radManual")->isChecked());

    OperatingConditions point = window->driver()->conditions();
    point.evapTemp = -17;
    main.applyConditions(point);
    EXPECT_NEAR(window->driver()->conditions().evapTemp, -17, 1e-9);
    EXPECT_EQ(window->driver()->selectedModel(), other);

    const TFamily* family = window->driver()->store().FindFamily(1, TFamily::kCompressor);
    ASSERT_NE(family, nullptr);
    std::vector<TCModel*> listed;
    main.listCandidates(*family, listed);
    ASSERT_FALSE(listed.empty());
    for (const TCModel* model : listed) EXPECT_EQ(model->familyNumber, 1) << model->name;

    Trefrigerant* r404a = window->driver()->store().FindRefrigerantByName("R404A");
    ASSERT_NE(r404a, nullptr);
    main.selectRefrigerant(r404a);
    EXPECT_EQ(window->driver()->refrigerant(), r404a);
    main.selectRefrigerant(nullptr);  // ignored
    EXPECT_EQ(window->driver()->refrigerant(), r404a);

    main.setListLock(true);
    EXPECT_TRUE(window->listLocked());
    main.setListLock(false);
    EXPECT_FALSE(window->listLocked());
}

TEST_F(AroundWindowsTest, ToolsOfLaterVersionsAreListedButCannotBeChosen) {
    auto window = Start();
    for (const char* name : {"mnuSeasonal", "mnuRunCost", "mnuIPLV", "mnuSCOP", "mnuPack",
                             "mnuNetwork", "mnuComponents", "mnuCustomFamilies", "mnuPolyExport"}) {
        auto* action = window->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
        EXPECT_TRUE(action->isVisible()) << name;
    }
    for (const char* name : {"mnuCustomer", "mnuPrefTables", "mnuPrefUser", "mnuPrefLanguage",
                             "mnuPrefCurrency", "mnuHelpContents", "mnuAbout"}) {
        auto* action = window->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
}

}  // namespace
}  // namespace kelvra
