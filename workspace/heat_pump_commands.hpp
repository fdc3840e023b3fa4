#pragma once

// The main window's commands for the user's heat pumps: open, save and save-as of the heat-pump
// file, the administration window, the question about unsaved heat pumps before closing, and the
// changed flag. The window hands in how to ask, how to tell about errors, how to choose a file and
// how to let go of the heat pumps and pick them up again; tests answer each of them.

#include <QMessageBox>
#include <QString>
#include <filesystem>
#include <functional>

#include "heat_pump_editing.hpp"

class QWidget;

namespace kelvra {

class TCModel;

class HeatPumpCommands {
  public:
    using Question = std::function<QMessageBox::StandardButton(const QString& text,
                                                               QMessageBox::StandardButtons buttons)>;
    struct Hooks {
        Question question;
        std::function<void(const QString&)> error;
        // A file to open (save false) or to save into (save true); empty when cancelled.
        std::function<std::filesystem::path(bool save)> chooseFile;
        // Before the heat pumps are replaced or edited: nothing may keep pointing at them.
        std::function<void()> release;
        // Afterwards: the candidates are rebuilt from the store.
        std::function<void()> reload;
        // Opens the administration window on a model; true when a change was confirmed.
        std::function<bool(const TCModel* model)> administer;
    };

    HeatPumpCommands(TdataStore& store, std::filesystem::path userFolder, QWidget* parent, Hooks hooks);

    HeatPumpFileKeeper& keeper() { return keeper_; }
    const HeatPumpFileKeeper& keeper() const { return keeper_; }
    Hooks& hooks() { return hooks_; }

    // Reads the heat pumps at start-up, before any candidate list is built; a damaged file is
    // reported and loads nothing.
    void loadAtStartUp(const std::string& setting);
    // "Open Heat Pump File": the unsaved-changes question, a file, then the heat pumps of it.
    void openFile();
    // "Save Heat Pump File": into the current file, or a chosen one when there is none.
    // False when cancelled or not written (after telling the user).
    bool save();
    // "Save Heat Pump File As": always into a chosen file.
    bool saveAs();
    // "Add/Edit/Delete my heat pump": the administration window on the model.
    void administer(const TCModel* model);
    // The question before closing (and before opening another file): false when the user
    // cancels or a chosen save fails.
    bool askToSave();

  private:
    std::filesystem::path defaultChooseFile(bool save);

    HeatPumpFileKeeper keeper_;
    std::filesystem::path userFolder_;
    QWidget* parent_;
    Hooks hooks_;
};

}  // namespace kelvra
