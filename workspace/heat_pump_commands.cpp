#include "heat_pump_commands.hpp"

#include <QFileDialog>
#include <QTimer>

#include "language_texts.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString T(std::string_view key, std::string_view english) { return Q(Text(key, english)); }

}  // namespace

HeatPumpCommands::HeatPumpCommands(TdataStore& store, std::filesystem::path userFolder, QWidget* parent,
                                   Hooks hooks)
    : keeper_(store), userFolder_(std::move(userFolder)), parent_(parent), hooks_(std::move(hooks)) {
    if (!hooks_.chooseFile) hooks_.chooseFile = [this](bool save) { return defaultChooseFile(save); };
}

std::filesystem::path HeatPumpCommands::defaultChooseFile(bool save) {
    const QString folder = Q(userFolder_.string());
    const QString filter = T("strHPFilter", "Heat pump files") + " (*.zqv *.ZQV)";
    QFileDialog dialog(parent_, QString(), folder, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("ZQV");
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

void HeatPumpCommands::loadAtStartUp(const std::string& setting) {
    // Nothing can hold a heat pump yet: no release or reload.
    const UserHeatPumpLoad load = keeper_.LoadAtStartUp(setting);
    if (load.ok() || !hooks_.error) return;
    // Told once the window is up and its event loop runs, not from inside its construction.
    QTimer::singleShot(0, parent_, [error = hooks_.error, text = Q(load.error)] { error(text); });
}

void HeatPumpCommands::openFile() {
    if (!askToSave()) return;
    const std::filesystem::path file = hooks_.chooseFile ? hooks_.chooseFile(false) : std::filesystem::path();
    if (file.empty()) return;
    if (hooks_.release) hooks_.release();
    const UserHeatPumpLoad load = keeper_.Open(file);
    if (!load.ok() && hooks_.error) hooks_.error(Q(load.error));
    if (hooks_.reload) hooks_.reload();
}

bool HeatPumpCommands::save() {
    if (!keeper_.pathIsSet()) return saveAs();
    const IoStatus status = keeper_.SaveTo(keeper_.path());
    if (!status && hooks_.error) hooks_.error(Q(status.FullText()));
    return static_cast<bool>(status);
}

bool HeatPumpCommands::saveAs() {
    const std::filesystem::path file = hooks_.chooseFile ? hooks_.chooseFile(true) : std::filesystem::path();
    if (file.empty()) return false;
    const IoStatus status = keeper_.SaveTo(file);
    if (!status && hooks_.error) hooks_.error(Q(status.FullText()));
    return static_cast<bool>(status);
}

void HeatPumpCommands::administer(const TCModel* model) {
    if (!hooks_.administer) return;
    if (hooks_.release) hooks_.release();
    if (hooks_.administer(model)) keeper_.markChanged();
    if (hooks_.reload) hooks_.reload();
}

bool HeatPumpCommands::askToSave() {
    if (!keeper_.changed()) return true;
    if (!hooks_.question) return true;
    const auto answer = hooks_.question(T("strSaveHPfile", "Save Heat Pump file before closing?"),
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes) return save();
    return true;
}

}  // namespace kelvra
