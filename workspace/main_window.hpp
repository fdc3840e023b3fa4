#pragma once

// The main window: the operating-point inputs, the family lists, the model choice and the result
// tabs, wired to one selection driver. The window keeps no selection logic of its own: every
// input hands its value to the driver, and the driver tells the window (as its SelectionViews)
// what to repaint.

#include <QMainWindow>
#include <array>
#include <QMessageBox>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "project_details.hpp"
#include "project_file.hpp"
#include "selection_driver.hpp"
#include "settings_file.hpp"
#include "startup_choices.hpp"
#include "update_interface.hpp"
#include "workspace_folders.hpp"
#include "heat_pump_commands.hpp"

class QAction;
class QDialog;
class QUrl;
class QActionGroup;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPdfDocument;
class QPdfView;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace kelvra {

class TdataStore;
class TframeConditions;
class TframeTable;

// The application-wide inputs-live switch: input handlers do nothing while it is off. Code that
// sets input controls holds an InputsPause, which switches it off and restores it afterwards.
bool InputsLive();
class InputsPause {
  public:
    InputsPause();
    ~InputsPause();
    InputsPause(const InputsPause&) = delete;
    InputsPause& operator=(const InputsPause&) = delete;

  private:
    bool previous_;
};

class TfrmActivity : public QMainWindow, public SelectionViews, public TfrmUpdate {
    Q_OBJECT

  public:
    // Asks the user a question and returns the button chosen.
    using Question = std::function<QMessageBox::StandardButton(
        const QString& text, QMessageBox::StandardButtons buttons)>;
    // Tells the user about a failure.
    using ErrorNotice = std::function<void(const QString& text)>;

    // Loads the property libraries, the product database and the settings (FormCreate).
    explicit TfrmActivity(WorkspaceFolders folders, QWidget* parent = nullptr);
    // As above; a first run asks `startup` its questions (without it, the unanswered choices).
    TfrmActivity(WorkspaceFolders folders, StartupQuestion startup, QWidget* parent = nullptr);
    ~TfrmActivity() override;

    // False when the product database could not be read; the program then ends.
    bool databaseUsable() const;
    // Why the database is not usable, in words.
    QString databaseProblem() const { return databaseProblem_; }

    void setQuestion(Question question) { question_ = std::move(question); }
    // The heat-pump file commands and the changed flag of the user's heat pumps.
    HeatPumpCommands* heatPumpCommands() { return heatPumps_.get(); }
    void setErrorNotice(ErrorNotice notice) { errorNotice_ = std::move(notice); }

    // --- the windows around the main window (main_window_windows.cpp) ---
    // Shows a modal window and returns its result; tests drive the window instead.
    using DialogRunner = std::function<int(QDialog& dialog)>;
    void setDialogRunner(DialogRunner runner) { dialogRunner_ = std::move(runner); }
    // Opens a web page or document in the user's programs; false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl& url)>;
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
    const ProjectDetails& projectDetails() const { return details_; }
    const Settings& settings() const { return settings_; }
    // Pages of the preferences window, in their order.
    enum class PreferencesPage { Tables = 0, User = 1, Language = 2, Units = 3 };
    void mnuCustomerClick();
    void mnuPreferencesClick(PreferencesPage page);
    void mnuHelpContentsClick();
    void mnuHelpClick();
    void mnuAboutClick();
    void mnuDisclaimerClick();
    void mnuWebSiteClick();
    void mnuDownloadClick();
    // The help topic of the window's present state.
    int helpContext() const;

    // --- TfrmUpdate (main_window_update.cpp) ---
    void selectModel(TCModel* model) override;
    void applyConditions(const OperatingConditions& value) override;
    void refreshConditionInputs() override;
    void resolveConditions() override;
    void showModelStatus(ModelStatus code) override;
    void setNavigationHint(const std::string& text) override;
    void listCandidates(const TFamily& family, std::vector<TCModel*>& list) override;
    void selectRefrigerant(Trefrigerant* refrigerant) override;
    void setListLock(bool locked) override;
    void openComponentSelection(char kind, double required) override;
    bool listLocked() const { return listLocked_; }
    const std::string& navigationHint() const { return navigationHint_; }

    SelectionDriver* driver() { return driver_.get(); }
    const WorkspaceFolders& folders() const { return folders_; }
    std::filesystem::path settingsPath() const;
    const std::filesystem::path& projectFile() const { return projectFile_; }
    bool firstRun() const { return firstRun_; }

    // Project files; false (after telling the user) when the file could not be written or read.
    bool saveProject(const std::filesystem::path& file);
    bool loadProject(const std::filesystem::path& file);

    void setUnitSystem(UnitSystem units);
    void setActivityMode(ActivityMode mode);

    // --- SelectionViews ---
    void candidatesRebuilt(const SelectionDriver& driver) override;
    void showSelectedModel(const SelectionDriver& driver) override;
    void refreshSelectedModel(const SelectionDriver& driver) override;
    void showStatus(const StatusPanelText& text) override;
    void refreshConditionInputs(const SelectionDriver& driver) override;
    void listChanged(const SelectionList& list) override;
    void supplyChanged(const SelectionDriver& driver) override;

    // --- the performance-table tab (main_window_table.cpp) ---
    // Recomputes and shows the table of the selected model; also after the table preferences
    // changed (the user's tables and the default ones are read again first).
    void refreshTable();
    void reloadTableLayouts();
    TframeTable* tableFrame() const { return frameTable_; }
    // The operating-point inputs; its heatPumpDiagramArea() takes the heat-pump diagrams.
    TframeConditions* conditionsFrame() const { return frameConditions_; }
    // The "Envelope" tab.
    class TframeEnv* envelopeFrame() const { return frameEnv_; }
    // View menu "Refrigerant Properties"; the advanced operating-conditions window.
    void mnuRefPropsClick();
    void btnAdvancedClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void boxRefrigChange(int index);
    void radFrequencyClick();
    void boxSupplyChange(int index);
    void edCapChange(double value);
    void radCapacityClick();
    void radManualClick();
    void boxModelChange(int index);
    void lstFamilyClickCheck(QTreeWidgetItem* item, int column);
    void pgFamiliesChange(int index);
    void pgResultsChange(int index);
    void mnuFileNewClick();
    void mnuFileOpenClick();
    void mnuFileSaveClick();
    void mnuFileSaveAsClick();

  private:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void applyFirstRunChoices();
    SelectionDriver::Setup setupFromSettings() const;
    Settings settingsToWrite() const;

    void buildMenus();
    void buildWidgets();
    void buildFamilyLists();
    // The family lists in the order of the driver's family pages.
    std::array<QTreeWidget*, kFamilyPageCount> familyLists() const;
    void tickFamilyLists();
    void colourFamilySections();
    void fillRefrigerantBox();
    void fillSupplyBox();
    void layoutForMode();
    void showConditions();
    void showUnitsPanel();
    void paintSummary();
    void paintModelDetails();
    void paintDrawing();
    void loadNotes();
    void updateCaption();
    // Yes/No/Cancel about the open project when it has changes; false when the user cancels
    // (or a chosen save failed).
    bool askAboutProject();
    ProjectRecord currentProject() const;
    void notifyError(const QString& text);

    WorkspaceFolders folders_;
    std::unique_ptr<SettingsFileCustomFamilies> customFamilies_;
    std::unique_ptr<TdataStore> store_;
    std::unique_ptr<SelectionDriver> driver_;
    std::unique_ptr<HeatPumpCommands> heatPumps_;
    class THeatPumpDiagrams* heatPumpDiagrams_ = nullptr;
    Settings settings_;
    ProjectDetails details_;
    std::filesystem::path projectFile_;
    QString databaseProblem_;
    bool firstRun_ = false;
    bool firstShowPending_ = true;
    bool closing_ = false;
    Question question_;
    ErrorNotice errorNotice_;
    StartupQuestion startupQuestion_;
    DialogRunner dialogRunner_;
    UrlOpener urlOpener_;
    bool listLocked_ = false;
    std::string navigationHint_;
    TframeTable* frameTable_ = nullptr;
    QWidget* buildTableTab();
    void buildWindowMenus();
    // Menu captions from the language table, by the menu's or item's name.
    void applyLanguageToMenus();
    // --- envelope plot, refrigerant properties, advanced conditions (main_window_plots.cpp) ---
    void buildPlotMenus();
    void showEnvelope();
    void refreshEnvelopePoint();
    int runDialog(QDialog& dialog);
    void applyPreferences(const Settings& before);

    // menus
    QAction* mnuSaveProject_ = nullptr;
    QActionGroup* unitActions_ = nullptr;
    QActionGroup* modeActions_ = nullptr;

    // conditions panel
    QComboBox* boxRefrig_ = nullptr;
    QRadioButton* rad50_ = nullptr;
    QRadioButton* rad60_ = nullptr;
    QComboBox* boxSupply_ = nullptr;
    TframeConditions* frameConditions_ = nullptr;
    QRadioButton* radCapacity_ = nullptr;
    QDoubleSpinBox* edCap_ = nullptr;
    QRadioButton* radManual_ = nullptr;
    QComboBox* boxModel_ = nullptr;

    // families
    QTabWidget* pgFamilies_ = nullptr;
    QTreeWidget* lstCompressors_ = nullptr;
    QTreeWidget* lstUnits_ = nullptr;
    QTreeWidget* lstOrda_ = nullptr;
    QTreeWidget* lstHeatPumps_ = nullptr;

    // results
    QLabel* lblModelName_ = nullptr;
    QTabWidget* pgResults_ = nullptr;
    QTableWidget* detsGrid_ = nullptr;
    QLabel* lblNoModel_ = nullptr;
    QTableWidget* techGrid_ = nullptr;
    QLabel* lblNoTechData_ = nullptr;
    QTableWidget* accessGrid_ = nullptr;
    QLabel* lblNoAccs_ = nullptr;
    QTableWidget* motorGrid_ = nullptr;
    QTextBrowser* notesBrowser_ = nullptr;
    QLabel* lblDrawing_ = nullptr;
    QPdfDocument* drawingDocument_ = nullptr;
    QPdfView* drawingView_ = nullptr;
    int drawingTab_ = -1;
    class TframeEnv* frameEnv_ = nullptr;

    // status bar
    QLabel* lblVersion_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QLabel* lblUnits_ = nullptr;

    // the selection list tab
    class TframeCompare* frameCompare_ = nullptr;
};

}  // namespace kelvra
