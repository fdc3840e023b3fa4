// The main window's envelope tab, the View menu's refrigerant properties and the advanced
// operating-conditions window.

#include <QMenu>
#include <QMenuBar>

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
}

void TfrmActivity::showEnvelope() {
    if (frameEnv_ == nullptr || !driver_) return;
    frameEnv_->setModel(driver_->selectedModel(), driver_->conditions(), driver_->activityMode());
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

}  // namespace kelvra
