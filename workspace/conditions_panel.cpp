#include "conditions_panel.hpp"

#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "heat_pump.hpp"
#include "language_texts.hpp"
#include "main_window.hpp"
#include "selection_driver.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The hints of the standard buttons with their built-in texts.
struct Hint {
    std::string_view key;
    std::string_view english;
};
constexpr Hint kHints[] = {
    {"hntEN12900LTCond", "EN 12900 low temperature: -35 / 40 °C, suction gas 20 °C"},
    {"hntEN12900MTCond", "EN 12900 medium temperature: -10 / 45 °C, suction gas 20 °C"},
    {"hntEN12900HTCond", "EN 12900 high temperature: 5 / 50 °C, superheat 10 K"},
    {"hntLTARI", "ARI low temperature: -25 / 105 °F, return gas 65 °F"},
    {"hntMTARI", "ARI medium temperature: 20 / 120 °F, return gas 65 °F"},
    {"hntHTARI", "ARI high temperature: 45 / 130 °F, superheat 20 °F, subcooling 15 °F"},
    {"hntLTR744", "R744 low temperature: -35 / -5 °C, superheat 10 K"},
    {"hntMTR744", "R744 medium temperature: -10 °C, 90 bar, gas cooler outlet 35 °C"},
    {"hntHTR744", "R744 high temperature: -5 °C, 90 bar, gas cooler outlet 35 °C"},
    {"hntEN13215LTCond", "EN 13215 low temperature: -35 °C, ambient 32 °C"},
    {"hntEN13215MTCond", "EN 13215 medium temperature: -10 °C, ambient 32 °C"},
    {"hntEN13215HTCond", "EN 13215 high temperature: 5 °C, ambient 32 °C"},
    {"hntHP_L", "Heat pump: -15 / 60 °C, superheat 5 K, subcooling 4 K"},
    {"hntHP_M", "Heat pump: -7 / 35 °C, superheat 5 K, subcooling 4 K"},
    {"hntHP_H", "Heat pump: -7 / 50 °C, superheat 5 K, subcooling 4 K"},
    {"hntGrd1", "Brine 0 °C, water 35 °C"},
    {"hntGrd2", "Brine 0 °C, water 45 °C"},
    {"hntGrd3", "Brine 5 °C, water 35 °C"},
    {"hntGrd4", "Brine 5 °C, water 45 °C"},
    {"hntAir1", "Air 7 °C, water 45 °C"},
    {"hntAir2", "Air 7 °C, water 35 °C"},
    {"hntAir3", "Air -7 °C, water 35 °C"},
    {"hntAir4", "Air 2 °C, water 35 °C"},
};

QString HintText(std::string_view key) {
    for (const Hint& hint : kHints)
        if (hint.key == key) return Q(Text(hint.key, hint.english));
    return {};
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

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setCheckable(true);
    return button;
}

// Sets a spin box unless it already shows the value to its decimals: the edit being typed in
// keeps its text and cursor.
void ShowValue(QDoubleSpinBox* edit, double value, double minimum, double maximum) {
    edit->setRange(minimum, maximum);
    const double half = 0.5 * std::pow(10.0, -edit->decimals());
    if (std::fabs(edit->value() - value) >= half) edit->setValue(value);
}

const char* const kRed = "QDoubleSpinBox { background: #ff8080; }";

}  // namespace

TframeConditions::TframeConditions(QWidget* parent) : QWidget(parent) {
    setObjectName("frameConditions");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    // --- the conditions panel of modes 0 to 6 ---
    pnlConditions_ = new QWidget(this);
    pnlConditions_->setObjectName("pnlConditions");
    auto* grid = new QGridLayout(pnlConditions_);
    grid->setContentsMargins(0, 0, 0, 0);
    const ConditionRow order[] = {ConditionRow::Evaporating, ConditionRow::UsefulSuperheat,
                                  ConditionRow::Suction,     ConditionRow::Condensing,
                                  ConditionRow::Liquid,      ConditionRow::Orda};
    for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].row = order[i];
    buildRow(grid, 0, rows_[0], "boxEvap", "lblEvap", "edEvap");
    buildRow(grid, 1, rows_[1], "boxSuperheat", "lblSuperheat", "edUseful");
    buildRow(grid, 2, rows_[2], "boxSuction", "lblSuction", "edSuction");
    buildRow(grid, 3, rows_[3], "boxCond", "lblCond", "edCond");
    buildRow(grid, 4, rows_[4], "boxLiquid", "lblCoolGas", "edLiquid");
    buildRow(grid, 5, rows_[5], nullptr, "lblOrda", "edOrda");
    rows_[5].edit->setMinimumWidth(110);
    outer->addWidget(pnlConditions_);

    // --- the standard rating points ---
    pnlStandard_ = new QWidget(this);
    pnlStandard_->setObjectName("pnlStandard");
    auto* standard = new QHBoxLayout(pnlStandard_);
    standard->setContentsMargins(0, 0, 0, 0);
    btnLT_ = MakeButton(Q(Text("btnLT", "LT")), "btnLT", pnlStandard_);
    btnMT_ = MakeButton(Q(Text("btnMT", "MT")), "btnMT", pnlStandard_);
    btnHT_ = MakeButton(Q(Text("btnHT", "HT")), "btnHT", pnlStandard_);
    btnNominal_ = MakeButton(Q(Text("btnNominal", "Nominal")), "btnNominal", pnlStandard_);
    btnNominal_->setToolTip(Q(Text("hntNominal", "Nominal conditions of expansion valves")));
    radEN_ = new QRadioButton(Q(Text("btnISO1", "EN")), pnlStandard_);
    radEN_->setObjectName("radEN");
    radARI_ = new QRadioButton(Q(Text("mnuARI", "ARI")), pnlStandard_);
    radARI_->setObjectName("radARI");
    auto* standards = new QButtonGroup(pnlStandard_);
    standards->addButton(radEN_);
    standards->addButton(radARI_);
    radEN_->setChecked(true);
    for (QWidget* w : {static_cast<QWidget*>(btnLT_), static_cast<QWidget*>(btnMT_),
                       static_cast<QWidget*>(btnHT_), static_cast<QWidget*>(btnNominal_),
                       static_cast<QWidget*>(radEN_), static_cast<QWidget*>(radARI_)})
        standard->addWidget(w);
    standard->addStretch(1);
    outer->addWidget(pnlStandard_);

    // --- the heat-pump panel of modes 7 and 8 ---
    pnlHeatPump_ = new QWidget(this);
    pnlHeatPump_->setObjectName("pnlHeatPump");
    auto* pump = new QGridLayout(pnlHeatPump_);
    pump->setContentsMargins(0, 0, 0, 0);
    heatPumpRows_[0].row = ConditionRow::WaterOutlet;
    heatPumpRows_[1].row = ConditionRow::SourceInlet;
    buildRow(pump, 0, heatPumpRows_[0], nullptr, "lblWaterOut", "edWaterOut");
    buildRow(pump, 1, heatPumpRows_[1], nullptr, "lblSourceIn", "edSourceIn");
    lblHPSuperheat_ = new QLabel(pnlHeatPump_);
    lblHPSuperheat_->setObjectName("lblHPSuperheat");
    lblHPSubcool_ = new QLabel(pnlHeatPump_);
    lblHPSubcool_->setObjectName("lblHPSubcool");
    pump->addWidget(lblHPSuperheat_, 2, 0, 1, 2);
    pump->addWidget(lblHPSubcool_, 3, 0, 1, 2);
    auto* pumpButtons = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        const std::string name = "btnHP" + std::to_string(i + 1);
        btnHeatPump_[static_cast<std::size_t>(i)] =
            MakeButton(QString::number(i + 1), name.c_str(), pnlHeatPump_);
        pumpButtons->addWidget(btnHeatPump_[static_cast<std::size_t>(i)]);
    }
    pumpButtons->addStretch(1);
    pump->addLayout(pumpButtons, 4, 0, 1, 2);
    pnlHeatPumpDiagrams_ = new QWidget(pnlHeatPump_);
    pnlHeatPumpDiagrams_->setObjectName("pnlHeatPumpDiagrams");
    auto* diagrams = new QHBoxLayout(pnlHeatPumpDiagrams_);
    diagrams->setContentsMargins(0, 0, 0, 0);
    pump->addWidget(pnlHeatPumpDiagrams_, 5, 0, 1, 2);
    outer->addWidget(pnlHeatPump_);

    // --- the losses panel ---
    grpLosses_ = new QGroupBox(Q(Text("grpLosses", "Losses")), this);
    grpLosses_->setObjectName("grpLosses");
    auto* losses = new QGridLayout(grpLosses_);
    const char* const lossNames[] = {"lblSuctionLinePD", "lblDischargeLinePD",
                                     "lblEVILiqTempRise"};
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        lblLosses_[k] = new QLabel(grpLosses_);
        lblLosses_[k]->setObjectName(lossNames[i]);
        valLosses_[k] = new QLabel(grpLosses_);
        valLosses_[k]->setObjectName(QString(lossNames[i]).replace("lbl", "val"));
        losses->addWidget(lblLosses_[k], i, 0);
        losses->addWidget(valLosses_[k], i, 1);
    }
    btnCloseLosses_ = new QPushButton(Q(Text("btnCloseLosses", "Close")), grpLosses_);
    btnCloseLosses_->setObjectName("btnCloseLosses");
    losses->addWidget(btnCloseLosses_, 3, 1);
    outer->addWidget(grpLosses_);

    // --- speed and load ---
    auto* speedRow = new QHBoxLayout;
    lblSpeed_ = new QLabel(Q(Text("strSpeed", "Speed")), this);
    lblSpeed_->setObjectName("lblSpeed");
    edSpeed_ = MakeEdit("edSpeed", this);
    boxSpeedUnit_ = new QComboBox(this);
    boxSpeedUnit_->setObjectName("boxSpeedUnit");
    boxSpeedUnit_->addItem("rpm");
    boxSpeedUnit_->addItem("Hz");
    lblLoad_ = new QLabel(Q(Text("lblLoadPercent", "% Load")), this);
    lblLoad_->setObjectName("lblLoad");
    edLoad_ = new QSpinBox(this);
    edLoad_->setObjectName("edLoad");
    edLoad_->setRange(33, 100);
    edLoad_->setKeyboardTracking(false);  // 3 of "33" is no load step
    for (QWidget* w : {static_cast<QWidget*>(lblSpeed_), static_cast<QWidget*>(edSpeed_),
                       static_cast<QWidget*>(boxSpeedUnit_), static_cast<QWidget*>(lblLoad_),
                       static_cast<QWidget*>(edLoad_)})
        speedRow->addWidget(w);
    speedRow->addStretch(1);
    outer->addLayout(speedRow);

    // --- wiring ---
    for (Row* row : {&rows_[0], &rows_[1], &rows_[2], &rows_[3], &rows_[4], &rows_[5],
                     &heatPumpRows_[0], &heatPumpRows_[1]}) {
        const ConditionRow which = row->row;
        connect(row->edit, &QDoubleSpinBox::valueChanged, this,
                [this, which](double value) { rowEdited(which, value); });
        if (row->box != nullptr)
            connect(row->box, &QComboBox::currentIndexChanged, this,
                    [this, which](int index) { rowChosen(which, index); });
    }
    connect(btnLT_, &QPushButton::clicked, this, [this] { standardClick(StandardButton::LT); });
    connect(btnMT_, &QPushButton::clicked, this, [this] { standardClick(StandardButton::MT); });
    connect(btnHT_, &QPushButton::clicked, this, [this] { standardClick(StandardButton::HT); });
    connect(btnNominal_, &QPushButton::clicked, this, &TframeConditions::btnNominalClick);
    for (int i = 0; i < 4; ++i)
        connect(btnHeatPump_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { heatPumpClick(i + 1); });
    connect(radEN_, &QRadioButton::clicked, this, &TframeConditions::radStandardClick);
    connect(radARI_, &QRadioButton::clicked, this, &TframeConditions::radStandardClick);
    connect(btnCloseLosses_, &QPushButton::clicked, this, &TframeConditions::btnCloseLossesClick);
    connect(edSpeed_, &QDoubleSpinBox::valueChanged, this, &TframeConditions::edSpeedChange);
    connect(boxSpeedUnit_, &QComboBox::currentIndexChanged, this,
            &TframeConditions::boxSpeedUnitChange);
    connect(edLoad_, &QSpinBox::valueChanged, this, &TframeConditions::edLoadChange);

    pnlHeatPump_->setVisible(false);
    grpLosses_->setVisible(false);
    for (QWidget* w : {static_cast<QWidget*>(lblSpeed_), static_cast<QWidget*>(edSpeed_),
                       static_cast<QWidget*>(boxSpeedUnit_), static_cast<QWidget*>(lblLoad_),
                       static_cast<QWidget*>(edLoad_)})
        w->setVisible(false);
}

void TframeConditions::buildRow(QGridLayout* grid, int line, Row& row, const char* boxName,
                                const char* labelName, const char* editName) {
    QWidget* parent = grid->parentWidget();
    auto* cell = new QHBoxLayout;
    if (boxName != nullptr) {
        row.box = new QComboBox(parent);
        row.box->setObjectName(boxName);
        row.box->addItem(QString());
        row.box->addItem(QString());
        row.box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        cell->addWidget(row.box);
    }
    row.label = new QLabel(parent);
    row.label->setObjectName(labelName);
    cell->addWidget(row.label);
    cell->addStretch(1);
    grid->addLayout(cell, line, 0);
    row.edit = MakeEdit(editName, parent);
    grid->addWidget(row.edit, line, 1);
}

void TframeConditions::setDriver(SelectionDriver* driver) {
    driver_ = driver;
    if (driver_ != nullptr) showConditions();
}

ConditionsForm TframeConditions::form() const {
    ConditionsForm::Context context;
    if (driver_ != nullptr) {
        context.mode = driver_->activityMode();
        context.units = driver_->unitSystem();
        context.refrigerant = driver_->refrigerant();
        context.transcritical = driver_->isTranscritical();
    }
    return ConditionsForm(context);
}

void TframeConditions::showRow(const Row& row) {
    const ConditionRowView view = form().row(row.row, driver_->conditions());
    if (row.box != nullptr) {
        row.box->setItemText(0, Q(view.items[0]));
        row.box->setItemText(1, Q(view.items[1]));
        row.box->setCurrentIndex(view.item);
        row.box->setVisible(view.visible && view.boxVisible);
    }
    row.label->setText(Q(view.label));
    row.label->setVisible(view.visible && (!view.boxVisible || row.box == nullptr));
    const QString unit = Q(UnitLabel(QuantityOf(view.kind), driver_->unitSystem()));
    row.edit->setToolTip(unit);
    ShowValue(row.edit, view.value, view.minimum, view.maximum);
    row.edit->setVisible(view.visible && view.editVisible);
    row.edit->setStyleSheet(view.red ? kRed : "");
}

void TframeConditions::showConditions() {
    if (driver_ == nullptr) return;
    InputsPause pause;
    const ConditionsForm f = form();
    const ActivityMode mode = driver_->activityMode();
    pnlConditions_->setVisible(f.conditionsPanelVisible());
    pnlHeatPump_->setVisible(f.heatPumpPanelVisible());
    for (const Row& row : rows_) showRow(row);
    for (const Row& row : heatPumpRows_) showRow(row);

    pnlStandard_->setVisible(StandardPoints::HasStandardButtons(mode));
    btnNominal_->setVisible(f.nominalButtonVisible());
    radEN_->setVisible(StandardPoints::ShowsRatingStandard(mode));
    radARI_->setVisible(StandardPoints::ShowsRatingStandard(mode));
    radEN_->setChecked(standard_ == RatingStandard::EN);
    radARI_->setChecked(standard_ == RatingStandard::ARI);
    updateHints();
    showLosses();
    showSpeedAndLoad();
}

void TframeConditions::updateHints() {
    if (driver_ == nullptr) return;
    const ActivityMode mode = driver_->activityMode();
    const Trefrigerant* refrigerant = driver_->refrigerant();
    btnLT_->setToolTip(HintText(StandardPoints::HintKey(StandardButton::LT, mode, standard_, refrigerant)));
    btnMT_->setToolTip(HintText(StandardPoints::HintKey(StandardButton::MT, mode, standard_, refrigerant)));
    btnHT_->setToolTip(HintText(StandardPoints::HintKey(StandardButton::HT, mode, standard_, refrigerant)));
    for (int i = 0; i < 4; ++i) {
        QPushButton* button = btnHeatPump_[static_cast<std::size_t>(i)];
        button->setToolTip(HintText(StandardPoints::HeatPumpHintKey(i + 1, mode)));
        // the caption names the point: B0/W35, A7/W45 ...
        const OperatingConditions point = StandardPoints::HeatPump(i + 1, mode, {});
        const QString source = mode == ActivityMode::BrineWaterHeatPumps ? "B" : "A";
        button->setText(QString("%1%2/W%3")
                            .arg(source)
                            .arg(static_cast<double>(point.sourceInletTemp))
                            .arg(static_cast<double>(point.waterOutletTemp)));
    }
}

void TframeConditions::showLosses() {
    const TCModel* model = driver_->selectedModel();
    const bool injection = model != nullptr && model->HasVapourInjection();
    const ConditionsForm f = form();
    grpLosses_->setVisible(f.lossesPanelVisible(driver_->conditions()));
    const std::vector<LossLine> lines = f.losses(driver_->conditions(), injection);
    for (std::size_t i = 0; i < lines.size() && i < lblLosses_.size(); ++i) {
        lblLosses_[i]->setText(Q(lines[i].label));
        valLosses_[i]->setText(Q(lines[i].value));
        lblLosses_[i]->setEnabled(lines[i].enabled);
        valLosses_[i]->setEnabled(lines[i].enabled);
    }
}

void TframeConditions::showSpeedAndLoad() {
    const SelectionDriver& d = *driver_;
    const bool hertz = boxSpeedUnit_->currentIndex() == 1;
    const SpeedView speed = ConditionsForm::speed(d.hasVariableSpeed(), d.hasInverterSpeed(),
                                                  d.autoSelect(), hertz, d.conditions());
    lblSpeed_->setVisible(speed.visible);
    edSpeed_->setVisible(speed.visible);
    boxSpeedUnit_->setVisible(speed.visible);
    if (speed.visible) {
        edSpeed_->setDecimals(speed.decimals);
        edSpeed_->setSingleStep(hertz ? 1 : 60);
        edSpeed_->setToolTip(hertz ? "Hz" : "rpm");
        ShowValue(edSpeed_, speed.value, std::min(speed.minimum, speed.value),
                  std::max(speed.maximum, speed.value));
    }
    const LoadView load = ConditionsForm::load(d.hasLoadControl(), d.autoSelect(), d.conditions());
    lblLoad_->setVisible(load.visible);
    edLoad_->setVisible(load.visible);
    edLoad_->setRange(load.minimum, load.maximum);
    if (edLoad_->value() != load.value) edLoad_->setValue(load.value);
}

void TframeConditions::candidatesRebuilt() {
    if (driver_ == nullptr) return;
    InputsPause pause;
    showSpeedAndLoad();
}

void TframeConditions::showSelectedModel() {
    if (driver_ == nullptr) return;
    InputsPause pause;
    const auto* pump = dynamic_cast<const THeatPump*>(driver_->selectedModel());
    const UnitSystem units = driver_->unitSystem();
    const QString unit = Q(UnitLabel(quantity::TemperatureDifference, units));
    const auto shown = [&](double kelvin) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f",
                      ToDisplay(quantity::TemperatureDifference, units, kelvin));
        return QString(text) + " " + unit;
    };
    lblHPSuperheat_->setVisible(pump != nullptr);
    lblHPSubcool_->setVisible(pump != nullptr);
    if (pump != nullptr) {
        lblHPSuperheat_->setText(Q(Text("strSuperheat", "Superheat")) + ": " +
                                 shown(pump->superheat));
        lblHPSubcool_->setText(Q(Text("lblSubcool", "Subcooling")) + ": " +
                               shown(pump->subcooling));
    }
    showLosses();
    showSpeedAndLoad();
}

// --- inputs ---

void TframeConditions::apply(const OperatingConditions& conditions) {
    driver_->applyConditions(conditions);
    releaseStandardButtons();
    // A new kind of entry or a point that crossed the critical point changes the rows; the
    // edit being typed in keeps its text.
    showConditions();
    emit conditionsApplied();
}

void TframeConditions::rowEdited(ConditionRow row, double value) {
    if (!InputsLive() || driver_ == nullptr) return;
    OperatingConditions c = driver_->conditions();
    if (!form().enter(row, value, c)) return;
    apply(c);
}

void TframeConditions::rowChosen(ConditionRow row, int item) {
    if (!InputsLive() || driver_ == nullptr || item < 0) return;
    OperatingConditions c = driver_->conditions();
    if (!form().choose(row, item, c)) return;
    apply(c);
}

void TframeConditions::pressOnly(QAbstractButton* button) {
    InputsPause pause;
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnLT_),
                               static_cast<QAbstractButton*>(btnMT_),
                               static_cast<QAbstractButton*>(btnHT_),
                               static_cast<QAbstractButton*>(btnNominal_)})
        b->setChecked(b == button);
    for (QPushButton* b : btnHeatPump_) b->setChecked(b == button);
    pressed_ = button;
}

void TframeConditions::releaseStandardButtons() { pressOnly(nullptr); }

void TframeConditions::standardClick(StandardButton button) {
    QAbstractButton* pressed = button == StandardButton::LT   ? btnLT_
                               : button == StandardButton::MT ? btnMT_
                                                              : btnHT_;
    if (!InputsLive() || driver_ == nullptr) {
        pressOnly(pressed_);
        return;
    }
    driver_->applyConditions(StandardPoints::Standard(
        button, driver_->activityMode(), standard_, driver_->refrigerant(), driver_->conditions()));
    showConditions();
    pressOnly(pressed);
    emit conditionsApplied();
}

void TframeConditions::heatPumpClick(int button) {
    QAbstractButton* pressed = btnHeatPump_[static_cast<std::size_t>(button - 1)];
    if (!InputsLive() || driver_ == nullptr) {
        pressOnly(pressed_);
        return;
    }
    driver_->applyConditions(
        StandardPoints::HeatPump(button, driver_->activityMode(), driver_->conditions()));
    showConditions();
    pressOnly(pressed);
    emit conditionsApplied();
}

void TframeConditions::btnNominalClick() {
    if (!InputsLive() || driver_ == nullptr) {
        pressOnly(pressed_);
        return;
    }
    driver_->applyConditions(StandardPoints::Nominal(driver_->refrigerant(), driver_->conditions()));
    showConditions();
    pressOnly(btnNominal_);
    emit conditionsApplied();
}

void TframeConditions::btnCloseLossesClick() {
    if (!InputsLive() || driver_ == nullptr) return;
    apply(StandardPoints::ClearAdvanced(driver_->conditions()));
}

void TframeConditions::setRatingStandard(RatingStandard standard) {
    standard_ = standard;
    InputsPause pause;
    radEN_->setChecked(standard == RatingStandard::EN);
    radARI_->setChecked(standard == RatingStandard::ARI);
    updateHints();
}

void TframeConditions::radStandardClick() {
    const RatingStandard chosen = radARI_->isChecked() ? RatingStandard::ARI : RatingStandard::EN;
    if (chosen == standard_) return;
    standard_ = chosen;
    updateHints();
    if (!InputsLive() || driver_ == nullptr) return;
    // The pressed button, if any, loads its point of the other standard.
    if (pressed_ == btnLT_) standardClick(StandardButton::LT);
    else if (pressed_ == btnMT_) standardClick(StandardButton::MT);
    else if (pressed_ == btnHT_) standardClick(StandardButton::HT);
}

void TframeConditions::edSpeedChange(double value) {
    if (!InputsLive() || driver_ == nullptr) return;
    driver_->changeSpeed(value, boxSpeedUnit_->currentIndex() == 1);
    emit conditionsApplied();
}

void TframeConditions::boxSpeedUnitChange(int) {
    if (driver_ == nullptr) return;
    InputsPause pause;
    showSpeedAndLoad();  // the same speed in the other unit
}

void TframeConditions::edLoadChange(int value) {
    if (!InputsLive() || driver_ == nullptr) return;
    driver_->changeLoad(value);
    emit conditionsApplied();
}

}  // namespace kelvra
