#include "main_window.hpp"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPdfDocument>
#include <QPdfView>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "data_store.hpp"
#include "language_table.hpp"
#include "language_texts.hpp"
#include "property_library.hpp"
#include "result_rows.hpp"
#include "conditions_form.hpp"
#include "conditions_panel.hpp"
#include "compare_frame.hpp"
#include "envelope_frame.hpp"
#include "heat_pump.hpp"
#include "heat_pump_diagram.hpp"
#include "heat_pump_windows.hpp"
#include "safe_file.hpp"
#include "unit.hpp"

namespace kelvra {

namespace q = quantity;

namespace {

bool inputsLive = false;

// The window colour of grids and panels.
const QColor kWindowColour(0xF0, 0xF0, 0xF0);

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString T(std::string_view key, std::string_view english) { return Q(Text(key, english)); }

std::string ToStd(const QString& text) { return text.toStdString(); }

// A section of a family list: the families of one kind group and category.
struct FamilySection {
    int category;
    const char* key;
    const char* english;
};

constexpr FamilySection kCompressorSections[] = {
    {1, "strCompCatScrollAC", "Scroll Air Conditioning"},
    {2, "strCompCatScrollHeat", "Scroll Heat Pump"},
    {11, "strCompCatZQVTessel", "Semi-Hermetic"},
    {12, "strHermetic", "Hermetic"},
    {13, "strFractional", "Fractional"},
};
constexpr FamilySection kUnitSections[] = {
    {1, "strUnitCatScrollIn", "Indoor Scroll Units"},
    {11, "strUnitCatScrollOut", "Outdoor Scroll Units"},
    {12, "strUnitCatNetwork", "Networking Units"},
};
constexpr FamilySection kOrdaSections[] = {
    {1, "strThermals", "Thermostatic Expansion Valves"},
    {2, "strElectronics", "Electronic Expansion Valves"},
    {3, "strSolenoids", "Solenoid Valves"},
    {4, "strRegulators", "Pressure Regulators"},
    {5, "strHeadPressControl", "Head Pressure Controls"},
    {6, "strProtectors", "System Protectors"},
    {7, "strSuctFilters", "Suction Filter Driers"},
};
constexpr FamilySection kHeatPumpSections[] = {
    {1, "strBrineWater", "Brine/Water"},
    {11, "strAirWater", "Air/Water"},
};

int RoundedCategory(const TFamily& family) { return static_cast<int>(std::lround(family.category)); }

TFamily* FamilyOf(const QTreeWidgetItem* item) {
    return reinterpret_cast<TFamily*>(item->data(0, Qt::UserRole).value<quintptr>());
}

QDoubleSpinBox* MakeEdit(const char* name, QWidget* parent) {
    auto* edit = new QDoubleSpinBox(parent);
    edit->setObjectName(name);
    edit->setDecimals(2);
    edit->setSingleStep(1);
    edit->setKeyboardTracking(true);  // every keystroke counts
    edit->setMinimumWidth(110);
    return edit;
}

QTableWidget* MakeGrid(const char* name, int columns, QWidget* parent) {
    auto* grid = new QTableWidget(0, columns, parent);
    grid->setObjectName(name);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setVisible(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setWordWrap(false);
    return grid;
}

// Puts label/value rows into a two-column grid: headings in bold, values on the window colour,
// each column as wide as its widest text plus 20 pixels.
void PaintRows(QTableWidget* grid, const std::vector<ResultRow>& rows) {
    grid->clearContents();
    grid->setRowCount(static_cast<int>(rows.size()));
    QFont bold = grid->font();
    bold.setBold(true);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ResultRow& row = rows[static_cast<std::size_t>(r)];
        auto* label = new QTableWidgetItem(Q(row.label));
        auto* value = new QTableWidgetItem(Q(row.value));
        value->setBackground(kWindowColour);
        value->setForeground(Qt::black);
        if (row.heading) {
            label->setFont(bold);
            value->setFont(bold);
        }
        grid->setItem(r, 0, label);
        grid->setItem(r, 1, value);
    }
    const QFontMetrics metrics(bold);
    for (int column = 0; column < 2; ++column) {
        int widest = 0;
        for (const ResultRow& row : rows)
            widest = std::max(widest, metrics.horizontalAdvance(
                                          Q(column == 0 ? row.label : row.value)));
        grid->setColumnWidth(column, widest + 20);
    }
}

}  // namespace

bool InputsLive() { return inputsLive; }
InputsPause::InputsPause() : previous_(inputsLive) { inputsLive = false; }
InputsPause::~InputsPause() { inputsLive = previous_; }

// ---------------------------------------------------------------------------------------------
// Creation

TfrmActivity::TfrmActivity(WorkspaceFolders folders, QWidget* parent)
    : TfrmActivity(std::move(folders), StartupQuestion(), parent) {}

TfrmActivity::TfrmActivity(WorkspaceFolders folders, StartupQuestion startup, QWidget* parent)
    : QMainWindow(parent), folders_(std::move(folders)), startupQuestion_(std::move(startup)) {
    setObjectName("frmActivity");
    question_ = [this](const QString& text, QMessageBox::StandardButtons buttons) {
        return QMessageBox::question(this, windowTitle(), text, buttons);
    };
    errorNotice_ = [this](const QString& text) {
        QMessageBox::critical(this, windowTitle(), text);
    };
    inputsLive = false;
    FormCreate();
}

TfrmActivity::~TfrmActivity() {
    // the views go before the store that their models belong to
    if (driver_) driver_->setViews(nullptr);
    driver_.reset();
    store_.reset();
}

bool TfrmActivity::databaseUsable() const {
    return store_ != nullptr && !store_->Missing() && store_->Valid();
}

std::filesystem::path TfrmActivity::settingsPath() const {
    return folders_.user / std::string(kSettingsFileName);
}

void TfrmActivity::notifyError(const QString& text) {
    if (errorNotice_) errorNotice_(text);
}

void TfrmActivity::FormCreate() {
    setWindowTitle("Kelvra 7.7");

    const LoadedPropertyLibraries loaded = LoadPropertyLibraries(folders_.installation.string());
    customFamilies_ = std::make_unique<SettingsFileCustomFamilies>(settingsPath());
    std::error_code ec;
    if (!std::filesystem::is_directory(folders_.data, ec)) {
        databaseProblem_ = QString("No product database was found in %1.")
                               .arg(Q(folders_.data.string()));
    } else {
        store_ = std::make_unique<TdataStore>(DatabaseSources{folders_.data, customFamilies_.get()});
        if (!databaseUsable()) {
            databaseProblem_ = QString("The product database in %1 is not usable.")
                                   .arg(Q(folders_.data.string()));
            const auto& problems = store_->Problems();
            for (std::size_t i = 0; i < problems.size() && i < 5; ++i)
                databaseProblem_ += "\n" + Q(problems[i]);
        }
    }
    if (!loaded.general) {
        if (!databaseProblem_.isEmpty()) databaseProblem_ += "\n";
        databaseProblem_ += QString("The refrigerant property library %1 could not be loaded from %2.")
                                .arg(Q(PropertyLibraryFileName(PropertyLibraryKind::General)),
                                     Q(folders_.installation.string()));
    }

    buildMenus();
    buildWidgets();
    buildWindowMenus();
    buildPlotMenus();
    if (!databaseUsable()) return;

    driver_ = std::make_unique<SelectionDriver>(*store_, this);
    frameCompare_->attach(driver_.get(),
                          {[this](TCModel* model) { selectModel(model); },
                           [this](Trefrigerant* refrigerant) { selectRefrigerant(refrigerant); },
                           [this](bool locked) { setListLock(locked); },
                           [this](const std::string& hint) { setNavigationHint(hint); },
                           [this](ModelStatus code) { showModelStatus(code); },
                           [this](const QString& text) { notifyError(text); }});

    const SettingsLoad load = LoadSettingsFile(settingsPath(), kDefaultHelpFile);
    if (!load.status) notifyError(Q(load.status.FullText()));
    firstRun_ = !load.exists;
    settings_ = load.settings;
    if (firstRun_) applyFirstRunChoices();
    // the user's place, currency and prices are the project's until a project brings its own
    details_.place = settings_.place == "X" ? std::string() : settings_.place;
    details_.currency = settings_.currency.symbol;
    details_.electricity = settings_.electricity;
    details_.directCost = settings_.directCost;
    details_.Limit();

    // the user's heat pumps, before anything can select one
    heatPumps_ = std::make_unique<HeatPumpCommands>(
        *store_, folders_.user, this,
        HeatPumpCommands::Hooks{
            [this](const QString& text, QMessageBox::StandardButtons buttons) {
                return question_(text, buttons);
            },
            [this](const QString& text) { notifyError(text); },
            {},
            [this] { driver_->releaseHeatPumps(); },
            [this] { driver_->rebuildCandidates(); },
            [this](const TCModel* model) {
                TfrmHPAdmin admin(*store_, this);
                admin.setQuestion([this](const QString& text, QMessageBox::StandardButtons buttons) {
                    return question_(text, buttons);
                });
                admin.openFor(model);
                admin.exec();
                return admin.changed();
            }});
    heatPumps_->loadAtStartUp(settings_.heatPumpFile);

    driver_->setUp(setupFromSettings());
    frameConditions_->setDriver(driver_.get());
    reloadTableLayouts();
    const WindowPlacement& place = settings_.window;
    setGeometry(place.left, place.top, std::max(place.width, 400), std::max(place.height, 300));
    if (place.maximised) setWindowState(windowState() | Qt::WindowMaximized);

    lblVersion_->setText(T("strVersion", "Version") + Q(store_->VersionLabel()));
    fillRefrigerantBox();
    buildFamilyLists();
}

// A first run: the start-up questions, answered in the start-up window.
void TfrmActivity::applyFirstRunChoices() {
    const StartupOffer offer = StartupOfferFor(folders_.installation);
    const StartupChoices choices =
        startupQuestion_ ? startupQuestion_(offer) : UnansweredStartupChoices();
    settings_ = FirstRunSettings(choices, store_->Families(), folders_.installation);
}

SelectionDriver::Setup TfrmActivity::setupFromSettings() const {
    SelectionDriver::Setup setup;
    setup.mode = settings_.mode;
    setup.unitSystem = settings_.units;
    setup.conditions = settings_.conditions;
    setup.refrigerant = store_->FindRefrigerantByName(settings_.refrigerant);
    if (setup.refrigerant == nullptr && !store_->Refrigerants().empty())
        setup.refrigerant = store_->Refrigerants().front().get();
    setup.supply = settings_.powerSupply ? store_->FindSupply(*settings_.powerSupply) : nullptr;
    setup.families[FamilyPage::Compressors] = settings_.compressorFamilies;
    setup.families[FamilyPage::CondensingUnits] = settings_.condensingUnitFamilies;
    setup.families[FamilyPage::Orda] = settings_.controlsFamilies;
    setup.families[FamilyPage::HeatPumps] = settings_.heatPumpFamilies;
    setup.autoSelect = settings_.autoSelect;
    return setup;
}

void TfrmActivity::buildMenus() {
    QMenu* file = menuBar()->addMenu(T("mnuFile", "&File"));
    file->setObjectName("mnuFile");
    QAction* newProject = file->addAction(T("mnuNewProject", "&New Project"), this,
                                          &TfrmActivity::mnuFileNewClick);
    newProject->setShortcut(QKeySequence::New);
    QAction* open = file->addAction(T("mnuLoadProject", "&Load Project..."), this,
                                    &TfrmActivity::mnuFileOpenClick);
    open->setShortcut(QKeySequence::Open);
    mnuSaveProject_ = file->addAction(T("mnuSaveProject", "&Save Project"), this,
                                      &TfrmActivity::mnuFileSaveClick);
    mnuSaveProject_->setShortcut(QKeySequence::Save);
    file->addAction(T("mnuSaveProjectAs", "Save Project &As..."), this,
                    &TfrmActivity::mnuFileSaveAsClick);
    file->addSeparator();
    file->addAction(T("mnuOpenHPFile", "Open Heat Pump File"), this,
                    [this] { if (heatPumps_) heatPumps_->openFile(); });
    file->addAction(T("mnuSaveHPFile", "Save Heat Pump File"), this,
                    [this] { if (heatPumps_) heatPumps_->save(); });
    file->addAction(T("mnuSaveHPFileAs", "Save Heat Pump File As"), this,
                    [this] { if (heatPumps_) heatPumps_->saveAs(); });
    file->addAction(T("mnuEditMyHP", "Add/Edit/Delete my heat pump"), this, [this] {
        if (heatPumps_ && driver_) heatPumps_->administer(driver_->selectedModel());
    });
    file->addSeparator();
    file->addAction(T("mnuExit", "E&xit"), this, &QWidget::close);

    QMenu* units = menuBar()->addMenu(T("mnuUnits", "&Units"));
    units->setObjectName("mnuUnits");
    unitActions_ = new QActionGroup(this);
    const std::pair<UnitSystem, QString> systems[] = {
        {UnitSystem::SI, T("mnuSI", "&SI")},
        {UnitSystem::Imperial, T("mnuImperial", "&Imperial")},
        {UnitSystem::Kcal, T("mnuKcal", "&kcal")}};
    for (const auto& [system, caption] : systems) {
        QAction* action = units->addAction(caption);
        action->setCheckable(true);
        action->setData(ToInt(system));
        unitActions_->addAction(action);
        connect(action, &QAction::triggered, this, [this, system = system] { setUnitSystem(system); });
    }

    QMenu* mode = menuBar()->addMenu(T("mnuMode", "&Mode"));
    mode->setObjectName("mnuMode");
    modeActions_ = new QActionGroup(this);
    const std::pair<ActivityMode, QString> modes[] = {
        {ActivityMode::Compressors, T("mnuCompressors", "&Compressors")},
        {ActivityMode::CondensingUnits, T("mnuCondUnits", "Condensing &Units")}};
    for (const auto& [value, caption] : modes) {
        QAction* action = mode->addAction(caption);
        action->setCheckable(true);
        action->setData(ToInt(value));
        modeActions_->addAction(action);
        connect(action, &QAction::triggered, this, [this, value = value] { setActivityMode(value); });
    }
}

void TfrmActivity::buildWidgets() {
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    outer->addWidget(splitter);
    setCentralWidget(central);

    // --- left: conditions and families ---
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);

    auto* conditionsBox = new QGroupBox(T("grpConditions", "Operating Conditions"), left);
    conditionsBox->setObjectName("grpConditions");
    auto* grid = new QGridLayout(conditionsBox);
    int row = 0;

    grid->addWidget(new QLabel(T("lblRefrig", "Refrigerant"), conditionsBox), row, 0);
    boxRefrig_ = new QComboBox(conditionsBox);
    boxRefrig_->setObjectName("boxRefrig");
    boxRefrig_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    boxRefrig_->setMinimumContentsLength(18);
    grid->addWidget(boxRefrig_, row++, 1);

    auto* frequencies = new QHBoxLayout;
    rad50_ = new QRadioButton("50 Hz", conditionsBox);
    rad50_->setObjectName("rad50");
    rad60_ = new QRadioButton("60 Hz", conditionsBox);
    rad60_->setObjectName("rad60");
    frequencies->addWidget(rad50_);
    frequencies->addWidget(rad60_);
    auto* frequencyGroup = new QButtonGroup(conditionsBox);
    frequencyGroup->addButton(rad50_);
    frequencyGroup->addButton(rad60_);
    grid->addLayout(frequencies, row, 0);
    boxSupply_ = new QComboBox(conditionsBox);
    boxSupply_->setObjectName("boxSupply");
    boxSupply_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    grid->addWidget(boxSupply_, row++, 1);

    // the operating point of every mode, the standard points, losses, speed and load
    frameConditions_ = new TframeConditions(conditionsBox);
    grid->addWidget(frameConditions_, row++, 0, 1, 2);
    if (QWidget* area = frameConditions_->heatPumpDiagramArea()) {
        heatPumpDiagrams_ = new THeatPumpDiagrams(area);
        if (area->layout() != nullptr) area->layout()->addWidget(heatPumpDiagrams_);
    }
    connect(frameConditions_, &TframeConditions::conditionsApplied, this,
            [this] { driver_->setProjectModified(true); });

    radCapacity_ = new QRadioButton(conditionsBox);
    radCapacity_->setObjectName("radCapacity");
    edCap_ = MakeEdit("edCap", conditionsBox);
    grid->addWidget(radCapacity_, row, 0);
    grid->addWidget(edCap_, row++, 1);

    radManual_ = new QRadioButton(T("radManual", "Choose model"), conditionsBox);
    radManual_->setObjectName("radManual");
    boxModel_ = new QComboBox(conditionsBox);
    boxModel_->setObjectName("boxModel");
    boxModel_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* choiceGroup = new QButtonGroup(conditionsBox);
    choiceGroup->addButton(radCapacity_);
    choiceGroup->addButton(radManual_);
    grid->addWidget(radManual_, row, 0);
    grid->addWidget(boxModel_, row++, 1);
    leftLayout->addWidget(conditionsBox);

    pgFamilies_ = new QTabWidget(left);
    pgFamilies_->setObjectName("pgFamilies");
    lstCompressors_ = new QTreeWidget(pgFamilies_);
    lstCompressors_->setObjectName("lstCompressors");
    lstUnits_ = new QTreeWidget(pgFamilies_);
    lstUnits_->setObjectName("lstUnits");
    lstOrda_ = new QTreeWidget(pgFamilies_);
    lstOrda_->setObjectName("lstOrda");
    lstHeatPumps_ = new QTreeWidget(pgFamilies_);
    lstHeatPumps_->setObjectName("lstHeatPumps");
    for (QTreeWidget* list : familyLists()) list->setHeaderHidden(true);
    // one page per family page of the driver, in its order
    pgFamilies_->addTab(lstCompressors_, T("tabCompressors", "Compressors"));
    pgFamilies_->addTab(lstUnits_, T("tabCondUnits", "Cond Units"));
    pgFamilies_->addTab(lstOrda_, T("tabOrda", "Orda"));
    pgFamilies_->addTab(lstHeatPumps_, T("tabHP", "HP"));
    leftLayout->addWidget(pgFamilies_, 1);

    // --- right: model title and result tabs ---
    auto* right = new QWidget(splitter);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    lblModelName_ = new QLabel(right);
    lblModelName_->setObjectName("lblModelName");
    lblModelName_->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblModelName_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lblModelName_->setFont(titleFont);
    rightLayout->addWidget(lblModelName_);

    pgResults_ = new QTabWidget(right);
    pgResults_->setObjectName("pgResults");
    rightLayout->addWidget(pgResults_, 1);

    auto gridPage = [this](QTableWidget*& gridOut, QLabel*& emptyOut, const char* gridName,
                           const char* labelName, const QString& emptyText) {
        auto* page = new QWidget(pgResults_);
        auto* layout = new QVBoxLayout(page);
        gridOut = MakeGrid(gridName, 2, page);
        emptyOut = new QLabel(emptyText, page);
        emptyOut->setObjectName(labelName);
        emptyOut->setStyleSheet("color: red;");
        emptyOut->setVisible(false);
        layout->addWidget(emptyOut);
        layout->addWidget(gridOut, 1);
        return page;
    };
    auto notYet = [this](const QString& what) {
        auto* label = new QLabel(QString("The %1 is not available in this version yet.").arg(what),
                                 pgResults_);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        return label;
    };

    pgResults_->addTab(gridPage(detsGrid_, lblNoModel_, "detsGrid", "lblNoModel",
                                T("strNotSelected", "No model selected")),
                       T("tabSummary", "Summary"));
    pgResults_->addTab(buildTableTab(), T("tabTable", "Table"));
    frameEnv_ = new TframeEnv(pgResults_);
    pgResults_->addTab(frameEnv_, T("tabEnvelope", "Envelope"));

    auto* drawingPage = new QWidget(pgResults_);
    auto* drawingLayout = new QVBoxLayout(drawingPage);
    lblDrawing_ = new QLabel(drawingPage);
    lblDrawing_->setObjectName("lblDrawing");
    lblDrawing_->setStyleSheet("color: red;");
    drawingDocument_ = new QPdfDocument(this);
    drawingView_ = new QPdfView(drawingPage);
    drawingView_->setObjectName("drawingView");
    drawingView_->setDocument(drawingDocument_);
    drawingView_->setZoomMode(QPdfView::ZoomMode::FitInView);
    drawingLayout->addWidget(lblDrawing_);
    drawingLayout->addWidget(drawingView_, 1);
    drawingTab_ = pgResults_->addTab(drawingPage, T("tabDrawing", "Drawing"));

    frameCompare_ = new TframeCompare(pgResults_);
    frameCompare_->setOutputFolder(Q(folders_.user.string()));
    pgResults_->addTab(frameCompare_, T("tabSelList", "Selection List"));
    pgResults_->addTab(notYet("report"), T("tabReport", "Report"));
    pgResults_->addTab(gridPage(techGrid_, lblNoTechData_, "techGrid", "lblNoTechData",
                                T("lblNoTechData", "No technical data available")),
                       T("tabTechData", "Tech Data"));
    pgResults_->addTab(gridPage(accessGrid_, lblNoAccs_, "accessGrid", "lblNoAccs",
                                T("lblNoAccs", "No accessories available")),
                       T("tabAccess", "Accessories"));
    motorGrid_ = MakeGrid("motorGrid", 6, pgResults_);
    motorGrid_->horizontalHeader()->setVisible(true);
    pgResults_->addTab(motorGrid_, T("tabMotorCode", "Motor Codes"));
    notesBrowser_ = new QTextBrowser(pgResults_);
    notesBrowser_->setObjectName("notesBrowser");
    pgResults_->addTab(notesBrowser_, T("tabTechNotes", "Notes"));

    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({left->sizeHint().width() + 40, 800});

    // --- status bar ---
    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName("lblVersion");
    lblVersion_->setFixedWidth(200);
    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName("lblStatus");
    lblStatus_->setMinimumWidth(400);
    lblStatus_->setStyleSheet("color: red; padding-left: 5px;");
    lblUnits_ = new QLabel(this);
    lblUnits_->setObjectName("lblUnits");
    statusBar()->addWidget(lblVersion_);
    statusBar()->addWidget(lblStatus_, 1);
    statusBar()->addPermanentWidget(lblUnits_);

    // --- wiring ---
    connect(boxRefrig_, &QComboBox::currentIndexChanged, this, &TfrmActivity::boxRefrigChange);
    connect(rad50_, &QRadioButton::clicked, this, &TfrmActivity::radFrequencyClick);
    connect(rad60_, &QRadioButton::clicked, this, &TfrmActivity::radFrequencyClick);
    connect(boxSupply_, &QComboBox::currentIndexChanged, this, &TfrmActivity::boxSupplyChange);
    connect(edCap_, &QDoubleSpinBox::valueChanged, this, &TfrmActivity::edCapChange);
    connect(radCapacity_, &QRadioButton::clicked, this, &TfrmActivity::radCapacityClick);
    connect(radManual_, &QRadioButton::clicked, this, &TfrmActivity::radManualClick);
    connect(boxModel_, &QComboBox::currentIndexChanged, this, &TfrmActivity::boxModelChange);
    for (QTreeWidget* list : familyLists())
        connect(list, &QTreeWidget::itemChanged, this, &TfrmActivity::lstFamilyClickCheck);
    connect(pgFamilies_, &QTabWidget::currentChanged, this, &TfrmActivity::pgFamiliesChange);
    connect(pgResults_, &QTabWidget::currentChanged, this, &TfrmActivity::pgResultsChange);
}

void TfrmActivity::fillRefrigerantBox() {
    InputsPause pause;
    boxRefrig_->clear();
    for (const auto& refrigerant : store_->Refrigerants()) {
        boxRefrig_->addItem(Q(refrigerant->DisplayName()),
                            QVariant::fromValue(reinterpret_cast<quintptr>(refrigerant.get())));
        if (refrigerant.get() == driver_->refrigerant())
            boxRefrig_->setCurrentIndex(boxRefrig_->count() - 1);
    }
}

void TfrmActivity::fillSupplyBox() {
    InputsPause pause;
    rad60_->setChecked(driver_->frequency() == 60);
    rad50_->setChecked(driver_->frequency() != 60);
    boxSupply_->clear();
    for (const TSupply* supply : driver_->supplyChoices()) {
        boxSupply_->addItem(Q(supply->name), QVariant::fromValue(reinterpret_cast<quintptr>(supply)));
        if (supply == driver_->supply()) boxSupply_->setCurrentIndex(boxSupply_->count() - 1);
    }
}

void TfrmActivity::buildFamilyLists() {
    InputsPause pause;
    auto build = [this](QTreeWidget* list, std::span<const FamilySection> sections,
                        std::initializer_list<char> kinds) {
        list->clear();
        for (std::size_t s = 0; s < sections.size(); ++s) {
            auto* section = new QTreeWidgetItem(list);
            section->setText(0, T(sections[s].key, sections[s].english));
            section->setFlags(Qt::ItemIsEnabled);
            int item = 0;
            for (const auto& family : store_->Families()) {
                if (std::find(kinds.begin(), kinds.end(), family->kind) == kinds.end()) continue;
                if (RoundedCategory(*family) != sections[s].category) continue;
                auto* entry = new QTreeWidgetItem(section);
                entry->setText(0, Q(family->name));
                entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
                entry->setData(0, Qt::UserRole,
                               QVariant::fromValue(reinterpret_cast<quintptr>(family.get())));
                entry->setCheckState(0, Qt::Unchecked);
                family->listSection = static_cast<int>(s);
                family->listItem = item++;
            }
            section->setHidden(section->childCount() == 0);
            section->setExpanded(true);
        }
    };
    build(lstCompressors_, kCompressorSections, {TFamily::kCompressor, TFamily::kHeatPumpCompressor});
    build(lstUnits_, kUnitSections, {TFamily::kCondensingUnit});
    build(lstOrda_, kOrdaSections, {TFamily::kControls});
    build(lstHeatPumps_, kHeatPumpSections, {TFamily::kHeatPump});
    tickFamilyLists();
}

std::array<QTreeWidget*, kFamilyPageCount> TfrmActivity::familyLists() const {
    return {lstCompressors_, lstUnits_, lstOrda_, lstHeatPumps_};
}

void TfrmActivity::tickFamilyLists() {
    InputsPause pause;
    const FamilySets& sets = driver_->families();
    const auto lists = familyLists();
    for (int p = 0; p < kFamilyPageCount; ++p) {
        QTreeWidget* list = lists[static_cast<std::size_t>(p)];
        const auto page = static_cast<FamilyPage>(p);
        for (int s = 0; s < list->topLevelItemCount(); ++s) {
            QTreeWidgetItem* section = list->topLevelItem(s);
            for (int i = 0; i < section->childCount(); ++i) {
                QTreeWidgetItem* entry = section->child(i);
                const TFamily* family = FamilyOf(entry);
                entry->setCheckState(0, sets[page].Contains(family->code) ? Qt::Checked
                                                                          : Qt::Unchecked);
            }
        }
    }
    colourFamilySections();
}

void TfrmActivity::colourFamilySections() {
    InputsPause pause;
    for (QTreeWidget* list : familyLists()) {
        for (int s = 0; s < list->topLevelItemCount(); ++s) {
            QTreeWidgetItem* section = list->topLevelItem(s);
            bool any = false;
            for (int i = 0; i < section->childCount(); ++i)
                any = any || section->child(i)->checkState(0) == Qt::Checked;
            section->setForeground(0, any ? QColor(Qt::blue) : QColor(Qt::black));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// First showing

void TfrmActivity::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (firstShowPending_) FormShow();
}

void TfrmActivity::FormShow() {
    firstShowPending_ = false;
    if (!databaseUsable()) return;
    {
        InputsPause pause;
        const std::filesystem::path language =
            folders_.installation /
            (settings_.language.empty() ? std::string(kDefaultLanguageFile) : settings_.language);
        const std::filesystem::path productTexts = folders_.data / std::string(kProductTextsFile);
        if (!LoadLanguage(language, productTexts))
            LoadLanguage(folders_.installation / std::string(kDefaultLanguageFile), productTexts);
        store_->ApplyLanguage();
        if (frameEnv_) frameEnv_->applyLanguage();
        applyLanguageToMenus();

        radCapacity_->setChecked(driver_->autoSelect());
        radManual_->setChecked(!driver_->autoSelect());
        for (QAction* action : unitActions_->actions())
            action->setChecked(action->data().toInt() == ToInt(driver_->unitSystem()));
        const int tab = settings_.activeTab;
        if (tab >= 0 && tab < pgResults_->count()) pgResults_->setCurrentIndex(tab);
    }
    const std::int32_t keep = settings_.powerSupply.value_or(1);
    const TSupply* kept = store_->FindSupply(keep);
    {
        // the frequency of the kept supply decides which supplies are offered
        InputsPause pause;
        driver_->changeFrequency(kept != nullptr && kept->frequency > 54 ? 60 : 50);
        driver_->rebuildSupplyBox(keep, false);
    }
    inputsLive = true;
    layoutForMode();
    // the selection list's columns of the last run
    if (settings_.selectionList) {
        driver_->list().loadColumns(*settings_.selectionList);
        frameCompare_->showList();
    }
    if (!driver_->autoSelect() && !settings_.modelName.empty()) {
        for (TCModel* model : driver_->candidates())
            if (model->name == settings_.modelName) {
                driver_->selectModel(model);
                break;
            }
    }
    updateCaption();
}

// Lays the panel out for the mode and rebuilds the candidates.
void TfrmActivity::layoutForMode() {
    {
        InputsPause pause;
        const ActivityMode mode = driver_->activityMode();
        for (QAction* action : modeActions_->actions())
            action->setChecked(action->data().toInt() == ToInt(mode));
        pgFamilies_->setCurrentIndex(static_cast<int>(familyPageFor(mode)));
        frameConditions_->releaseStandardButtons();
        // the tabs each mode shows: no envelope for the controls, no technical data or
        // accessories for heat pumps, drawings, motor codes and notes only for compressors and
        // condensing units
        const auto tabOf = [this](QWidget* widget) {
            while (widget != nullptr && pgResults_->indexOf(widget) < 0)
                widget = widget->parentWidget();
            return widget != nullptr ? pgResults_->indexOf(widget) : -1;
        };
        const int m = ToInt(mode);
        const bool controls = m >= 3 && m <= 6;
        pgResults_->setTabVisible(drawingTab_, m <= 2);
        pgResults_->setTabVisible(tabOf(frameEnv_), !controls);
        pgResults_->setTabVisible(tabOf(techGrid_), !IsHeatPumpMode(mode));
        pgResults_->setTabVisible(tabOf(accessGrid_), !IsHeatPumpMode(mode));
        pgResults_->setTabVisible(tabOf(motorGrid_), m <= 2);
        pgResults_->setTabVisible(tabOf(notesBrowser_), m <= 2);
    }
    driver_->layoutForMode();
    showConditions();
    fillSupplyBox();
    showUnitsPanel();
    loadNotes();
}

// ---------------------------------------------------------------------------------------------
// Conditions

void TfrmActivity::showConditions() {
    InputsPause pause;
    frameConditions_->showConditions();
    const ConditionsForm form({driver_->activityMode(), driver_->unitSystem(),
                               driver_->refrigerant(), driver_->isTranscritical()});
    const CapacityView capacity = form.capacity(driver_->conditions());
    radCapacity_->setText(Q(capacity.caption));
    radCapacity_->setToolTip(Q(capacity.hint));
    edCap_->setDecimals(capacity.decimals);
    edCap_->setSingleStep(capacity.step);
    edCap_->setRange(capacity.minimum, capacity.maximum);
    edCap_->setValue(capacity.value);
    edCap_->setEnabled(driver_->autoSelect());
}

void TfrmActivity::edCapChange(double value) {
    if (!InputsLive()) return;
    const ConditionsForm form({driver_->activityMode(), driver_->unitSystem(),
                               driver_->refrigerant(), driver_->isTranscritical()});
    driver_->changeRequiredCapacity(form.capacityFromDisplay(value));
    driver_->setProjectModified(true);
}

// ---------------------------------------------------------------------------------------------
// Refrigerant, supply, families, model choice

void TfrmActivity::boxRefrigChange(int index) {
    if (!InputsLive() || index < 0) return;
    auto* refrigerant = reinterpret_cast<Trefrigerant*>(boxRefrig_->itemData(index).value<quintptr>());
    if (refrigerant == nullptr || refrigerant == driver_->refrigerant()) return;
    driver_->changeRefrigerant(refrigerant);
    showConditions();
}

void TfrmActivity::radFrequencyClick() {
    if (!InputsLive()) return;
    const int hertz = rad60_->isChecked() ? 60 : 50;
    if (hertz == driver_->frequency()) return;
    driver_->changeFrequency(hertz);
    fillSupplyBox();
}

void TfrmActivity::boxSupplyChange(int index) {
    if (!InputsLive() || index < 0) return;
    const auto* supply = reinterpret_cast<const TSupply*>(boxSupply_->itemData(index).value<quintptr>());
    if (supply == nullptr || supply == driver_->supply()) return;
    driver_->changeSupply(supply);
}

void TfrmActivity::lstFamilyClickCheck(QTreeWidgetItem* item, int column) {
    if (!InputsLive() || column != 0 || item->parent() == nullptr) return;
    TFamily* family = FamilyOf(item);
    if (family == nullptr) return;
    const ActivityMode before = driver_->activityMode();
    driver_->tickFamily(*family, item->checkState(0) == Qt::Checked);
    // a tick of another product kind switches the mode and unticks the others
    if (driver_->activityMode() != before) layoutForMode();
    tickFamilyLists();
}

void TfrmActivity::pgFamiliesChange(int index) {
    if (!InputsLive() || index < 0) return;
    if (index >= kFamilyPageCount) return;
    driver_->changeFamilyPage(static_cast<FamilyPage>(index));
    layoutForMode();
}

void TfrmActivity::setActivityMode(ActivityMode mode) {
    if (!driver_ || mode == driver_->activityMode()) return;
    pgFamilies_->setCurrentIndex(static_cast<int>(familyPageFor(mode)));
    if (!InputsLive() || driver_->activityMode() != mode) {
        driver_->changeMode(mode);
        layoutForMode();
    }
}

void TfrmActivity::radCapacityClick() {
    if (!InputsLive()) return;
    driver_->chooseByCapacity();
    edCap_->setEnabled(true);
    boxModel_->setVisible(false);
}

void TfrmActivity::radManualClick() {
    if (!InputsLive()) return;
    driver_->chooseByHand();
    edCap_->setEnabled(false);
    boxModel_->setVisible(!driver_->candidates().empty());
}

void TfrmActivity::boxModelChange(int index) {
    if (!InputsLive() || index < 0) return;
    auto* model = reinterpret_cast<TCModel*>(boxModel_->itemData(index).value<quintptr>());
    if (model != nullptr) driver_->selectModel(model);
}

void TfrmActivity::setUnitSystem(UnitSystem units) {
    if (!driver_) return;
    for (QAction* action : unitActions_->actions())
        action->setChecked(action->data().toInt() == ToInt(units));
    driver_->changeUnits(units);
    showConditions();
    showUnitsPanel();
}

void TfrmActivity::showUnitsPanel() {
    QString name;
    switch (driver_->unitSystem()) {
        case UnitSystem::Imperial: name = T("mnuImperial", "&Imperial"); break;
        case UnitSystem::Kcal: name = T("mnuKcal", "&kcal"); break;
        default: name = T("mnuSI", "&SI"); break;
    }
    name.remove('&');
    QString units = T("mnuUnits", "&Units");
    units.remove('&');
    lblUnits_->setText(units + ": " + name + "    " + T("strDataChange", "Data subject to change"));
}

// ---------------------------------------------------------------------------------------------
// What the driver asks to repaint

void TfrmActivity::candidatesRebuilt(const SelectionDriver& driver) {
    InputsPause pause;
    boxModel_->clear();
    for (TCModel* model : driver.candidates())
        boxModel_->addItem(Q(model->name), QVariant::fromValue(reinterpret_cast<quintptr>(model)));
    const bool any = !driver.candidates().empty();
    radCapacity_->setEnabled(any);
    radManual_->setEnabled(any);
    boxModel_->setVisible(any && !driver.autoSelect());
    frameConditions_->candidatesRebuilt();
}

void TfrmActivity::showSelectedModel(const SelectionDriver& driver) {
    {
        InputsPause pause;
        const TCModel* model = driver.selectedModel();
        lblModelName_->setText(model ? Q(model->name) : T("strNotSelected", "No model selected"));
        int index = -1;
        for (int i = 0; i < boxModel_->count(); ++i)
            if (reinterpret_cast<const TCModel*>(boxModel_->itemData(i).value<quintptr>()) == model)
                index = i;
        boxModel_->setCurrentIndex(index);
    }
    frameConditions_->showSelectedModel();
    if (heatPumpDiagrams_)
        heatPumpDiagrams_->setHeatPump(dynamic_cast<const THeatPump*>(driver.selectedModel()));
    paintSummary();
    paintModelDetails();
    if (pgResults_->currentIndex() == drawingTab_) paintDrawing();
    refreshTable();
    showEnvelope();
}

void TfrmActivity::refreshSelectedModel(const SelectionDriver&) {
    paintSummary();
    refreshTable();
    refreshEnvelopePoint();
}

void TfrmActivity::showStatus(const StatusPanelText& text) {
    switch (text.action) {
        case StatusPanelText::Action::Clear:
            // Nothing to rate: the panel says why in words rather than staying blank.
            if (driver_ && driver_->candidates().empty() && driver_->refrigerant() != nullptr)
                lblStatus_->setText(Q(Text("strNoCandidates",
                                           "No models of the ticked families for this "
                                           "refrigerant and supply")));
            else
                lblStatus_->clear();
            break;
        case StatusPanelText::Action::Show: {
            // A heat pump whose compressor is not in the database has no performance at all;
            // its error code would otherwise read as a temperature out of range.
            const auto* pump = driver_ ? dynamic_cast<const THeatPump*>(driver_->selectedModel())
                                       : nullptr;
            if (pump != nullptr && pump->compressor == nullptr)
                lblStatus_->setText(Q(Text("strNoHeatPumpData",
                                           "No performance data for this heat pump")));
            else
                lblStatus_->setText(Q(text.text));
            break;
        }
        case StatusPanelText::Action::Keep: break;
    }
}

void TfrmActivity::refreshConditionInputs(const SelectionDriver&) {
    if (driver_) showConditions();
}

void TfrmActivity::listChanged(const SelectionList&) {
    if (frameCompare_ != nullptr) frameCompare_->showList();
}

void TfrmActivity::paintSummary() {
    const TCModel* model = driver_->selectedModel();
    lblNoModel_->setVisible(model == nullptr);
    detsGrid_->setVisible(model != nullptr);
    PaintRows(detsGrid_, SummaryRows(model, driver_->conditions(), driver_->activityMode(),
                                     driver_->unitSystem(), driver_->isTranscritical()));
}

void TfrmActivity::paintModelDetails() {
    const TCModel* model = driver_->selectedModel();
    const ActivityMode mode = driver_->activityMode();
    std::vector<ResultRow> tech;
    std::vector<ResultRow> accessories;
    std::vector<MotorCodeLine> motors;
    if (model != nullptr) {
        tech = TechnicalDataRows(*store_, *model, mode);
        accessories = AccessoryRows(*store_, *model, mode);
        motors = MotorCodeRows(*store_, *model);
    }
    PaintRows(techGrid_, tech);
    techGrid_->setVisible(!tech.empty());
    lblNoTechData_->setText(model ? T("lblNoTechData", "No technical data available")
                                  : T("strNotSelected", "No model selected"));
    lblNoTechData_->setVisible(tech.empty());
    PaintRows(accessGrid_, accessories);
    accessGrid_->setVisible(!accessories.empty());
    lblNoAccs_->setText(model ? T("lblNoAccs", "No accessories available")
                              : T("strNotSelected", "No model selected"));
    lblNoAccs_->setVisible(accessories.empty());

    QStringList headings;
    for (const std::string& heading : MotorCodeHeadings()) headings << Q(heading);
    motorGrid_->clear();
    motorGrid_->setHorizontalHeaderLabels(headings);
    motorGrid_->setRowCount(static_cast<int>(motors.size()));
    for (int r = 0; r < static_cast<int>(motors.size()); ++r) {
        const MotorCodeLine& m = motors[static_cast<std::size_t>(r)];
        const std::string cells[] = {m.code, m.supply, m.voltage, m.connection, m.directOnLine, m.ampFactor};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(Q(cells[c]));
            item->setBackground(kWindowColour);
            motorGrid_->setItem(r, c, item);
        }
    }
    motorGrid_->resizeColumnsToContents();
}

void TfrmActivity::paintDrawing() {
    const TCModel* model = driver_->selectedModel();
    drawingDocument_->close();
    drawingView_->setVisible(false);
    lblDrawing_->setVisible(true);
    if (model == nullptr) {
        lblDrawing_->setText(T("strNotSelected", "No model selected"));
        return;
    }
    const char kind = driver_->activityMode() == ActivityMode::CondensingUnits ? 'U' : 'C';
    std::filesystem::path file = store_->DrawingPath(store_->DrawingNumber(*model), kind);
    if (file.empty()) {
        lblDrawing_->setText(Q(Text("strNoDrawings", "No drawings available")));
        return;
    }
    file.replace_extension(".pdf");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        lblDrawing_->setText(Q(Text("strDrawingMissing", "Drawing not found")));
        return;
    }
    if (drawingDocument_->load(Q(file.string())) != QPdfDocument::Error::None) {
        lblDrawing_->setText(Q(Text("strNoDrawings", "No drawings available")));
        return;
    }
    lblDrawing_->setVisible(false);
    drawingView_->setVisible(true);
}

// The notes of the mode in the installed language, else in English; empty when there are none.
void TfrmActivity::loadNotes() {
    const std::string stem =
        driver_->activityMode() == ActivityMode::CondensingUnits ? "cuindex" : "index";
    notesBrowser_->clear();
    for (const std::filesystem::path& folder : {folders_.installation, folders_.data}) {
        for (const std::string& code : {InstalledLanguageCode(), std::string("01")}) {
            const std::filesystem::path file = folder / "techdata" / (stem + code + ".dat");
            const FileContents contents = ReadWholeFile(file, 4u * 1024u * 1024u);
            if (contents.exists && contents.status) {
                notesBrowser_->setHtml(QString::fromUtf8(contents.bytes.data(),
                                                         static_cast<qsizetype>(contents.bytes.size())));
                return;
            }
        }
    }
}

void TfrmActivity::pgResultsChange(int index) {
    if (!driver_) return;
    driver_->setTableTabActive(index == 1);
    if (index == drawingTab_) paintDrawing();
    if (InputsLive() && driver_->selectedModel() != nullptr)
        showStatus(driver_->showModelStatus(index == 1 ? 0 : driver_->selectedModel()->Status()));
}

// ---------------------------------------------------------------------------------------------
// Projects

void TfrmActivity::updateCaption() {
    setWindowTitle(Q(ProjectCaption(projectFile_)));
}

ProjectRecord TfrmActivity::currentProject() const {
    ProjectRecord project;
    project.details = details_;
    project.conditions = driver_->conditions();
    project.mode = driver_->activityMode();
    project.help = settings_.help;
    project.language = settings_.language;
    project.units = driver_->unitSystem();
    const TCModel* model = driver_->selectedModel();
    const Trefrigerant* refrigerant =
        model && model->refrigerant ? model->refrigerant : driver_->refrigerant();
    if (refrigerant) project.refrigerant = refrigerant->name;
    const TSupply* supply = model && model->supply ? model->supply : driver_->supply();
    if (supply) project.powerSupply = supply->id;
    project.compressorFamilies = driver_->families()[FamilyPage::Compressors];
    project.condensingUnitFamilies = driver_->families()[FamilyPage::CondensingUnits];
    project.controlsFamilies = driver_->families()[FamilyPage::Orda];
    if (model) project.modelName = model->name;
    return project;
}

bool TfrmActivity::saveProject(const std::filesystem::path& file) {
    if (!driver_) return false;
    const IoStatus status = SaveProjectFile(file, currentProject());
    if (!status) {
        notifyError(Q(status.FullText()));
        return false;
    }
    projectFile_ = file;
    driver_->setProjectModified(false);
    updateCaption();
    return true;
}

bool TfrmActivity::loadProject(const std::filesystem::path& file) {
    if (!driver_) return false;
    const ProjectLoad load = ReadProjectFile(file, currentProject());
    if (!load.status) {
        notifyError(Q(load.status.FullText()));
        return false;
    }
    const ProjectRecord& project = load.project;
    SelectionDriver::Setup setup;
    setup.mode = project.mode;
    setup.unitSystem = project.units;
    setup.conditions = project.conditions;
    setup.refrigerant = store_->FindRefrigerantByName(project.refrigerant);
    if (setup.refrigerant == nullptr) setup.refrigerant = driver_->refrigerant();
    setup.supply = store_->FindSupply(project.powerSupply.value_or(1));
    setup.families = driver_->families();
    setup.families[FamilyPage::Compressors] = project.compressorFamilies;
    setup.families[FamilyPage::CondensingUnits] = project.condensingUnitFamilies;
    setup.families[FamilyPage::Orda] = project.controlsFamilies;
    setup.autoSelect = driver_->autoSelect();
    details_ = project.details;
    {
        InputsPause pause;
        driver_->setUp(setup);
        driver_->changeFrequency(setup.supply && setup.supply->frequency > 54 ? 60 : 50);
        driver_->rebuildSupplyBox(setup.supply ? setup.supply->id : 1, false);
        fillRefrigerantBox();
        tickFamilyLists();
    }
    layoutForMode();
    if (!driver_->autoSelect() && !project.modelName.empty()) {
        for (TCModel* model : driver_->candidates())
            if (model->name == project.modelName) {
                driver_->selectModel(model);
                break;
            }
    }
    setUnitSystem(project.units);
    projectFile_ = file;
    driver_->setProjectModified(false);
    updateCaption();
    return true;
}

bool TfrmActivity::askAboutProject() {
    if (!driver_ || projectFile_.empty() || !driver_->projectModified()) return true;
    const std::string text = SaveProjectQuestion(ToStd(mnuSaveProject_->text()), details_.project, projectFile_);
    const auto answer = question_(Q(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes) return saveProject(projectFile_);
    return true;
}

void TfrmActivity::mnuFileNewClick() {
    if (!askAboutProject()) return;
    // the customer goes; place, currency and prices stay
    details_.ClearForNewProject();
    projectFile_.clear();
    setWindowTitle(T("strSelect", "Kelvra 7.7"));
    mnuCustomerClick();
}

void TfrmActivity::mnuFileOpenClick() {
    if (!askAboutProject()) return;
    const QString file = QFileDialog::getOpenFileName(this, QString(), Q(folders_.user.string()),
                                                      "Project files (*.kvj)");
    if (!file.isEmpty()) loadProject(ToStd(file));
}

void TfrmActivity::mnuFileSaveClick() {
    if (projectFile_.empty()) {
        mnuFileSaveAsClick();
        return;
    }
    const std::string text = SaveProjectQuestion(ToStd(mnuSaveProject_->text()), details_.project, projectFile_);
    if (question_(Q(text), QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        saveProject(projectFile_);
}

void TfrmActivity::mnuFileSaveAsClick() {
    QFileDialog dialog(this, QString(), Q(folders_.user.string()), "Project files (*.kvj)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("kvj");
    if (runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveProject(ToStd(dialog.selectedFiles().front()));
}

// ---------------------------------------------------------------------------------------------
// Closing

Settings TfrmActivity::settingsToWrite() const {
    Settings s = settings_;
    const bool maximised = isMaximized();
    const QRect frame = maximised ? normalGeometry() : geometry();
    s.window = {frame.left(), frame.top(), frame.width(), frame.height(), maximised};
    s.activeTab = pgResults_->currentIndex();
    s.autoSelect = driver_->autoSelect();
    s.mode = driver_->activityMode();
    s.units = driver_->unitSystem();
    if (const Trefrigerant* refrigerant = driver_->refrigerant()) {
        s.refrigerant = refrigerant->name;
        s.glide = refrigerant->basis;
    }
    if (const TSupply* supply = driver_->supply()) s.powerSupply = supply->id;
    s.compressorFamilies = driver_->families()[FamilyPage::Compressors];
    s.condensingUnitFamilies = driver_->families()[FamilyPage::CondensingUnits];
    s.controlsFamilies = driver_->families()[FamilyPage::Orda];
    s.heatPumpFamilies = driver_->families()[FamilyPage::HeatPumps];
    s.modelName = driver_->selectedModel() ? driver_->selectedModel()->name : std::string();
    s.conditions = driver_->conditions();
    s.selectionList = driver_->list().saveColumns();
    if (heatPumps_) s.heatPumpFile = heatPumps_->keeper().path();
    return s;
}

bool TfrmActivity::FormCloseQuery() {
    if (!databaseUsable() || !driver_) return true;
    if (!askAboutProject()) return false;
    if (heatPumps_ && !heatPumps_->askToSave()) return false;
    const IoStatus status = SaveSettingsFile(settingsPath(), settingsToWrite());
    if (!status) notifyError(Q(status.FullText()));
    return true;
}

void TfrmActivity::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
}

}  // namespace kelvra
