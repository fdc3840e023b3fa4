#pragma once

// What frames and tool windows may ask of the main window. They hold the main window only as a
// TfrmUpdate and reach it through these operations; the main window implements every one.

#include <string>
#include <vector>

#include "model.hpp"
#include "operating_conditions.hpp"

namespace kelvra {

class TFamily;
class Trefrigerant;

class TfrmUpdate {
  public:
    virtual ~TfrmUpdate() = default;

    // Makes `model` the selected one; an automatic choice switches to the manual choice first.
    virtual void selectModel(TCModel* model) = 0;
    // Takes a complete operating point, resolves it, shows it in the inputs and recomputes.
    virtual void applyConditions(const OperatingConditions& value) = 0;
    // Lays the condensing and liquid inputs out for a sub- or transcritical point.
    virtual void refreshConditionInputs() = 0;
    // Resolves the current operating point for the current refrigerant.
    virtual void resolveConditions() = 0;
    // Puts the text of a model status into the status bar.
    virtual void showModelStatus(ModelStatus code) = 0;
    // Adds `text` to the hints of the previous/next model buttons and enables them as the
    // selection list allows.
    virtual void setNavigationHint(const std::string& text) = 0;
    // The candidates of one family for the current refrigerant, supply, range, mode and families.
    virtual void listCandidates(const TFamily& family, std::vector<TCModel*>& list) = 0;
    // Makes the refrigerant current, as a choice in the refrigerant box; ignored when the box
    // does not offer it.
    virtual void selectRefrigerant(Trefrigerant* refrigerant) = 0;
    // Locks previous/next navigation while the selection list shows a hand-made list.
    virtual void setListLock(bool locked) = 0;
    // Opens the selection of a circuit component of kind `kind` for a required value.
    virtual void openComponentSelection(char kind, double required) = 0;
};

}  // namespace kelvra
