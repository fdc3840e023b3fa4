// The main window's answers to its frames and tool windows (TfrmUpdate).

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRadioButton>

#include "main_window.hpp"
#include "product_records.hpp"
#include "refrigerant.hpp"

namespace kelvra {

void TfrmActivity::selectModel(TCModel* model) {
    if (!driver_ || model == nullptr) return;
    if (driver_->autoSelect()) {
        InputsPause pause;
        driver_->chooseByHand();
        radManual_->setChecked(true);
        edCap_->setEnabled(false);
        boxModel_->setVisible(true);
    }
    driver_->selectModel(model);
    driver_->setProjectModified(true);
}

void TfrmActivity::applyConditions(const OperatingConditions& value) {
    if (!driver_) return;
    driver_->applyConditions(value);
    driver_->setProjectModified(true);
    showConditions();
}

void TfrmActivity::refreshConditionInputs() {
    if (driver_) showConditions();
}

void TfrmActivity::resolveConditions() {
    if (driver_) driver_->readConditions();
}

void TfrmActivity::showModelStatus(ModelStatus code) {
    if (driver_) showStatus(driver_->showModelStatus(code));
}

void TfrmActivity::setNavigationHint(const std::string& text) { navigationHint_ = text; }

void TfrmActivity::listCandidates(const TFamily& family, std::vector<TCModel*>& list) {
    list.clear();
    if (!driver_ || driver_->refrigerant() == nullptr) return;
    Trefrigerant* refrigerants[] = {driver_->refrigerant()};
    for (TCModel* model : driver_->listCandidates(refrigerants))
        if (model->family == &family || (model->family == nullptr && model->familyNumber == family.code))
            list.push_back(model);
}

void TfrmActivity::selectRefrigerant(Trefrigerant* refrigerant) {
    if (!driver_ || refrigerant == nullptr) return;
    for (int i = 0; i < boxRefrig_->count(); ++i) {
        if (reinterpret_cast<Trefrigerant*>(boxRefrig_->itemData(i).value<quintptr>()) != refrigerant)
            continue;
        {
            InputsPause pause;
            boxRefrig_->setCurrentIndex(i);
        }
        if (refrigerant != driver_->refrigerant()) {
            driver_->changeRefrigerant(refrigerant);
            driver_->setProjectModified(true);
            showConditions();
        }
        return;
    }
}

void TfrmActivity::setListLock(bool locked) { listLocked_ = locked; }

// Circuit components and controls are selected in a tool of their own, which this version does
// not have yet: nothing to open.
void TfrmActivity::openComponentSelection(char, double) {}

}  // namespace kelvra
