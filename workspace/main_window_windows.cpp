// The windows around the main window: project details, preferences, help, about, disclaimer
// and the maker's web pages, with their menu entries.

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>

#include "customer_window.hpp"
#include "data_store.hpp"
#include "envelope_frame.hpp"
#include "file_names.hpp"
#include "help_windows.hpp"
#include "language_table.hpp"
#include "language_texts.hpp"
#include "main_window.hpp"
#include "preferences_window.hpp"
#include "table_layout_file.hpp"
#include "table_layouts.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

int TfrmActivity::runDialog(QDialog& dialog) {
    if (dialogRunner_) return dialogRunner_(dialog);
    return dialog.exec();
}

void TfrmActivity::buildWindowMenus() {
    // File: the project details, before the end of the project commands
    if (auto* file = menuBar()->findChild<QMenu*>("mnuFile")) {
        auto* customer = new QAction(Q(Text("mnuCustomer", "Project &Details...")), file);
        customer->setObjectName("mnuCustomer");
        connect(customer, &QAction::triggered, this, &TfrmActivity::mnuCustomerClick);
        QAction* before = nullptr;
        for (QAction* action : file->actions())
            if (action->isSeparator()) {
                before = action;
                break;
            }
        file->insertAction(before, customer);
    }

    QMenu* options = menuBar()->addMenu(Q(Text("mnuOptions", "&Options")));
    options->setObjectName("mnuOptions");
    const std::pair<PreferencesPage, QString> pages[] = {
        {PreferencesPage::Tables, Q(Text("mnuPrefTables", "Performance &Tables..."))},
        {PreferencesPage::User, Q(Text("mnuPrefUser", "&User Details..."))},
        {PreferencesPage::Language, Q(Text("mnuPrefLanguage", "&Language and Help..."))},
        {PreferencesPage::Units, Q(Text("mnuPrefCurrency", "&Currency and Units..."))}};
    const char* names[] = {"mnuPrefTables", "mnuPrefUser", "mnuPrefLanguage", "mnuPrefCurrency"};
    for (int i = 0; i < 4; ++i) {
        QAction* action = options->addAction(pages[i].second);
        action->setObjectName(names[i]);
        const PreferencesPage page = pages[i].first;
        connect(action, &QAction::triggered, this, [this, page] { mnuPreferencesClick(page); });
    }

    // Tools of later versions are listed, but cannot be chosen yet.
    QMenu* tools = menuBar()->findChild<QMenu*>("mnuTools");
    if (tools == nullptr) {
        tools = menuBar()->addMenu(Q(Text("mnuTools", "&Tools")));
        tools->setObjectName("mnuTools");
    }
    const std::pair<const char*, std::string> later[] = {
        {"mnuSeasonal", Text("mnuSeasonal", "Seasonal Efficiency...")},
        {"mnuRunCost", Text("mnuRunCost", "Annual Running Cost...")},
        {"mnuIPLV", Text("mnuIPLV", "IPLV / ESEER...")},
        {"mnuSCOP", Text("mnuSCOP", "SCOP...")},
        {"mnuPack", Text("mnuPack", "Pack Selection...")},
        {"mnuNetwork", Text("mnuNetwork", "Network Condensing Units...")},
        {"mnuComponents", Text("mnuComponents", "Circuit Components...")},
        {"mnuCustomFamilies", Text("mnuCustomFamilies", "Custom Families...")},
        {"mnuPolyExport", Text("mnuPolyExport", "Rating Polynomial Export...")}};
    for (const auto& [name, caption] : later) {
        QAction* action = tools->addAction(Q(caption));
        action->setObjectName(name);
        action->setEnabled(false);
    }

    QMenu* online = menuBar()->addMenu(Q(Text("mnuOnLine", "O&n-Line")));
    online->setObjectName("mnuOnLine");
    QAction* site = online->addAction(Q(Text("mnuWebSite", "&Web Site")), this, &TfrmActivity::mnuWebSiteClick);
    site->setObjectName("mnuWebSite");
    QAction* download = online->addAction(Q(Text("mnuDownload", "&Download")), this, &TfrmActivity::mnuDownloadClick);
    download->setObjectName("mnuDownload");

    QMenu* help = menuBar()->addMenu(Q(Text("mnuHelp", "&Help")));
    help->setObjectName("mnuHelp");
    QAction* contents = help->addAction(Q(Text("mnuHelpContents", "Help &Contents")), this,
                                        &TfrmActivity::mnuHelpContentsClick);
    contents->setObjectName("mnuHelpContents");
    QAction* topic = help->addAction(Q(Text("mnuHelpTopic", "Help on this &Window")), this,
                                     &TfrmActivity::mnuHelpClick);
    topic->setObjectName("mnuHelpTopic");
    topic->setShortcut(QKeySequence::HelpContents);
    help->addSeparator();
    QAction* disclaimer = help->addAction(Q(Text("mnuDisclaimer", "Disclaimer")), this,
                                          &TfrmActivity::mnuDisclaimerClick);
    disclaimer->setObjectName("mnuDisclaimer");
    QAction* about = help->addAction(Q(Text("mnuAbout", "&About")), this, &TfrmActivity::mnuAboutClick);
    about->setObjectName("mnuAbout");
}

void TfrmActivity::applyLanguageToMenus() {
    // depth first through the menu bar: a named menu or item whose name the table knows
    std::function<void(QMenu*)> apply = [&apply](QMenu* menu) {
        if (!menu->objectName().isEmpty()) {
            const std::string name = menu->objectName().toStdString();
            menu->setTitle(Q(Text(name, menu->title().toStdString())));
        }
        for (QAction* action : menu->actions()) {
            if (QMenu* sub = action->menu()) {
                apply(sub);
            } else if (!action->isSeparator() && !action->objectName().isEmpty()) {
                const std::string name = action->objectName().toStdString();
                action->setText(Q(Text(name, action->text().toStdString())));
            }
        }
    };
    for (QAction* action : menuBar()->actions())
        if (QMenu* menu = action->menu()) apply(menu);
}

// --- project details ---------------------------------------------------------------------------

void TfrmActivity::mnuCustomerClick() {
    TfrmCustomer window(this);
    window.setFields(CustomerFieldsOf(details_));
    if (runDialog(window) != QDialog::Accepted) return;
    const ProjectDetails before = details_;
    ApplyCustomerFields(window.fields(), details_);
    if (driver_ && details_ != before) driver_->setProjectModified(true);
    // a new project is saved at once, so that it has a file
    if (driver_ && projectFile_.empty()) mnuFileSaveAsClick();
}

// --- preferences -----------------------------------------------------------------------------

void TfrmActivity::mnuPreferencesClick(PreferencesPage page) {
    if (!driver_) return;
    Settings current = settings_;
    current.units = driver_->unitSystem();
    // the prices and currency in use: a loaded project's own
    current.electricity = details_.electricity;
    current.directCost = details_.directCost;
    if (!details_.currency.empty()) current.currency.symbol = details_.currency;
    const TableLayoutLoad tables =
        LoadTableLayouts(TableLayoutFileToRead(folders_.user, folders_.installation));
    if (tables.exists && !tables.status) notifyError(Q(tables.status.FullText()));
    PreferencesModel model(current, tables.tables, FilesWithExtension(folders_.installation, ".lng"),
                           HelpSets(folders_.installation), LocaleCurrency(QLocale::system()));
    model.setTableKind(TableProductOf(driver_->activityMode()).value_or(TableProduct::Compressors),
                       driver_->unitSystem());

    TfrmPreferences window(std::move(model), static_cast<int>(page),
                           [this](QDialog& dialog) { return runDialog(dialog); }, this);
    if (runDialog(window) != QDialog::Accepted) return;
    const PreferencesModel& chosen = window.model();
    if (chosen.tablesChanged()) {
        // also no tables at all: an empty file keeps deleted tables from coming back
        const IoStatus status =
            SaveTableLayouts(folders_.user / std::string(kTableLayoutFileName), chosen.tables());
        if (!status) notifyError(Q(status.FullText()));
    }
    const Settings before = current;
    settings_ = chosen.apply(current, folders_.installation);
    applyPreferences(before);
    // the performance table follows new tables and defaults
    if (chosen.tablesChanged() || !(settings_.defaultTables == before.defaultTables)) {
        reloadTableLayouts();
        refreshTable();
    }
}

// The main window follows changed preferences: prices and currency of the project, language,
// unit system.
void TfrmActivity::applyPreferences(const Settings& before) {
    details_.currency = settings_.currency.symbol;
    details_.electricity = settings_.electricity;
    details_.directCost = settings_.directCost;
    details_.Limit();

    if (!EqualIgnoringCase(before.language, settings_.language)) {
        const IoStatus loaded = LoadLanguage(folders_.installation / settings_.language,
                                             folders_.data / std::string(kProductTextsFile));
        if (!loaded) {
            notifyError(Q(loaded.FullText()));
        } else {
            store_->ApplyLanguage();
            if (frameEnv_) frameEnv_->applyLanguage();
            applyLanguageToMenus();
            buildFamilyLists();
            showConditions();
            showUnitsPanel();
            lblVersion_->setText(Q(Text("strVersion", "Version")) + Q(store_->VersionLabel()));
        }
    }
    if (settings_.units != driver_->unitSystem()) setUnitSystem(settings_.units);
}

// --- help, about, disclaimer, web ------------------------------------------------------------

int TfrmActivity::helpContext() const {
    if (!driver_) return 1;
    const int mode = ToInt(driver_->activityMode());
    if (mode == 7 || mode == 8) return 21;
    if (mode >= 3 && mode <= 6) return 19;
    switch (pgResults_->currentIndex()) {
        case 1: return 12;
        case 2: return 7;
        case 3: return 13;
        default: return 1;
    }
}

namespace {

void ShowHelpPage(QWidget* parent, const std::filesystem::path& page,
                  const std::function<void(const QString&)>& notify) {
    if (page.empty()) {
        notify(Q(Text("strNoHelp", "No help pages are installed beside the program.")));
        return;
    }
    auto* window = parent->findChild<TfrmHelp*>();
    if (window == nullptr) {
        window = new TfrmHelp(parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!window->showPage(page)) {
        notify(Q(Text("strNoHelp", "No help pages are installed beside the program.")));
        window->close();
        return;
    }
    window->show();
    window->raise();
}

}  // namespace

void TfrmActivity::mnuHelpContentsClick() {
    ShowHelpPage(this, HelpPageFor(folders_.installation, settings_.help, 0),
                 [this](const QString& text) { notifyError(text); });
}

void TfrmActivity::mnuHelpClick() {
    ShowHelpPage(this, HelpPageFor(folders_.installation, settings_.help, helpContext()),
                 [this](const QString& text) { notifyError(text); });
}

void TfrmActivity::mnuAboutClick() {
    const QString version = Q(Text("strVersion", "Version")) + (store_ ? Q(store_->VersionLabel()) : QString());
    TfrmAbout window(folders_.installation, version, this);
    runDialog(window);
}

void TfrmActivity::mnuDisclaimerClick() {
    TfrmDisclaimer window(Q(DisclaimerText(folders_.installation, InstalledLanguageCode())), this);
    runDialog(window);
}

void TfrmActivity::mnuWebSiteClick() {
    const UrlOpener opener = urlOpener_ ? urlOpener_ : UrlOpener(&QDesktopServices::openUrl);
    OpenWebPage(QUrl(kWebSiteAddress), opener, [this](const QString& text) { notifyError(text); });
}

void TfrmActivity::mnuDownloadClick() {
    const UrlOpener opener = urlOpener_ ? urlOpener_ : UrlOpener(&QDesktopServices::openUrl);
    OpenWebPage(QUrl(kDownloadAddress), opener, [this](const QString& text) { notifyError(text); });
}

}  // namespace kelvra
