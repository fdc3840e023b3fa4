// The main window's performance-table tab: the frame, the user's table layouts and the
// recomputation after every change of model or operating point.

#include <QTabWidget>

#include "main_window.hpp"
#include "table_frame.hpp"

namespace kelvra {

QWidget* TfrmActivity::buildTableTab() {
    frameTable_ = new TframeTable(pgResults_);
    frameTable_->setCallbacks({
        [this](const OperatingConditions& conditions) { applyConditions(conditions); },
        [this] { refreshConditionInputs(); },
        [this](ModelStatus status) { showModelStatus(status); },
    });
    return frameTable_;
}

void TfrmActivity::reloadTableLayouts() {
    if (frameTable_ == nullptr) return;
    const IoStatus status = frameTable_->layouts().Load(folders_.user, folders_.installation);
    if (!status) notifyError(QString::fromStdString(status.FullText()));
    frameTable_->layouts().Defaults() = settings_.defaultTables;
}

void TfrmActivity::refreshTable() {
    if (frameTable_ == nullptr || !driver_) return;
    // the preferences may have chosen other default tables since
    frameTable_->layouts().Defaults() = settings_.defaultTables;
    frameTable_->refreshTable(*driver_);
}

void TfrmActivity::supplyChanged(const SelectionDriver&) {
    if (frameTable_ != nullptr) frameTable_->resetTable();
}

}  // namespace kelvra
