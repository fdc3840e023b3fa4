// The main window's envelope tab, the View menu's refrigerant properties and the advanced
// operating-conditions window.

#include <QGridLayout>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "advanced_window.hpp"
#include "envelope_frame.hpp"
#include "language_texts.hpp"
#include "main_window.hpp"
#include "model.hpp"
#include "refprop_dialog.hpp"
#include "refrigerant.hpp"
#include "units.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The advanced window is offered for compressors, and for a heat-pump compressor with vapour
// injection (read only).
bool AdvancedOffered(ActivityMode mode, const TCModel* model) {
    return mode == ActivityMode::Compressors ||
           (mode == ActivityMode::HeatPumpCompressors && model != nullptr &&
            model->HasVapourInjection());
}

}  // namespace

void TfrmActivity::buildPlotMenus() {
    QMenu* view = menuBar()->findChild<QMenu*>("mnuView");
    if (view == nullptr) {
        view = new QMenu(Q(Text("mnuView", "&View")), menuBar());
        view->setObjectName("mnuView");
        // after the Mode menu, before the Options menu
        QAction* before = nullptr;
        if (auto* options = menuBar()->findChild<QMenu*>("mnuOptions")) before = options->menuAction();
        menuBar()->insertMenu(before, view);
    }
    QAction* properties = view->addAction(Q(Text("mnuRefProps", "Refrigerant Properties")), this,
                                          &TfrmActivity::mnuRefPropsClick);
    properties->setObjectName("mnuRefProps");
    QAction* advanced = view->addAction(Q(Text("mnuAdvanced", "&Operating Conditions...")), this,
                                        &TfrmActivity::btnAdvancedClick);
    advanced->setObjectName("mnuAdvanced");

    // the advanced button below the operating-point inputs
    if (auto* box = findChild<QGroupBox*>("grpConditions")) {
        if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
            auto* button = new QPushButton(Q(Text("btnAdvanced", "Advanced...")), box);
            button->setObjectName("btnAdvanced");
            grid->addWidget(button, grid->rowCount(), 0, 1, 2);
            connect(button, &QPushButton::clicked, this, &TfrmActivity::btnAdvancedClick);
        }
    }
}

void TfrmActivity::showEnvelope() {
    if (frameEnv_ == nullptr || !driver_) return;
    frameEnv_->setModel(driver_->selectedModel(), driver_->conditions(), driver_->activityMode());
    const bool offered = AdvancedOffered(driver_->activityMode(), driver_->selectedModel());
    if (auto* button = findChild<QPushButton*>("btnAdvanced")) button->setVisible(offered);
    if (auto* action = findChild<QAction*>("mnuAdvanced")) action->setEnabled(offered);
}

void TfrmActivity::refreshEnvelopePoint() {
    if (frameEnv_ == nullptr || !driver_) return;
    frameEnv_->setPoint(driver_->conditions());
}

void TfrmActivity::mnuRefPropsClick() {
    if (!driver_) return;
    const TCModel* model = driver_->selectedModel();
    Trefrigerant* refrigerant =
        model != nullptr && model->refrigerant != nullptr ? model->refrigerant : driver_->refrigerant();
    if (refrigerant == nullptr) return;
    const OperatingConditions& c = driver_->conditions();
    const ActivityMode mode = driver_->activityMode();
    const bool valid = model != nullptr && model->Status() >= 0;

    RefPropInputs in;
    in.useSGR = c.useSGR;
    in.liquidTempGiven = c.liquidTempGiven;
    in.condPressure = c.condPressure;
    in.liquidTemp = c.liquidTemp;
    if (valid && model->HasVapourInjection() && ToInt(mode) <= 2)
        in.liquidTemp = model->Result(quantity::LiquidTemp);
    if (driver_->isTranscritical()) in.liquidTemp = c.gasCoolerOutletTemp;
    in.subcooling = c.subcooling;
    in.suctionValue = c.useSGR ? c.suctionGasReturn : c.superheat;
    in.evapTemp = c.evapTemp;
    in.condTemp = c.condTemp;
    if (mode == ActivityMode::CondensingUnits && valid)
        in.condTemp = model->Result(quantity::CondensingTemp);

    TfrmRefPropDlg window(this);
    window.showProperties(*refrigerant, in);
    runDialog(window);
}

void TfrmActivity::btnAdvancedClick() {
    if (!driver_) return;
    const ActivityMode mode = driver_->activityMode();
    TCModel* model = driver_->selectedModel();
    if (!AdvancedOffered(mode, model)) return;
    Trefrigerant* refrigerant =
        model != nullptr && model->refrigerant != nullptr ? model->refrigerant : driver_->refrigerant();
    if (refrigerant == nullptr) return;
    const bool injection = model != nullptr && model->HasVapourInjection();
    const bool readOnly = mode == ActivityMode::HeatPumpCompressors;
    const double discharge =
        model != nullptr && model->Status() >= 0 ? model->Result(quantity::DischargeTemp) : 0.0;
    std::optional<PhInjection> economiser;
    if (injection && model->Status() >= 0)
        economiser = PhInjection{model->Result(quantity::IntermediateSatTemp),
                                 model->Result(quantity::InjectionTemp),
                                 model->Result(quantity::LiquidTemp)};
    TfrmAdvancedWin window(refrigerant, driver_->conditions(), driver_->unitSystem(), injection,
                           readOnly, discharge, this, economiser);
    if (runDialog(window) != QDialog::Accepted || readOnly) return;
    applyConditions(window.accepted());
}

}  // namespace kelvra
