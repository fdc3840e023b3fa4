// Kelvra: selection and rating of compressors, condensing units, heat pumps and controls.

#include <QApplication>
#include <QMessageBox>

#include "language_texts.hpp"
#include "main_window.hpp"
#include "startup_window.hpp"
#include "workspace_folders.hpp"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kelvra 7");
    QApplication::setApplicationDisplayName("Kelvra 7");
    QApplication::setOrganizationName("kelvra");

    const kelvra::WorkspaceFolders folders = kelvra::DefaultWorkspaceFolders();

    // The splash stays up while the main window loads the property libraries, the product
    // database and the settings; it frees itself when closed.
    auto* splash = new kelvra::TfrmSplash(folders.installation);
    splash->setMessage(QString::fromStdString(
        kelvra::Text("strLoading", "Loading the product database...")));
    splash->showNow();

    // A first run asks its questions in the start-up window; the splash steps aside meanwhile.
    auto askStartup = [&folders, splash](const kelvra::StartupOffer& offer) {
        splash->hide();
        const kelvra::StartupChoices choices = kelvra::TfrmStartup::Ask(folders.installation, offer);
        splash->showNow();
        return choices;
    };
    kelvra::TfrmActivity window(folders, askStartup);
    if (!window.databaseUsable()) {
        splash->close();
        QMessageBox::critical(nullptr, "Kelvra 7", window.databaseProblem());
        return 1;
    }
    window.show();  // the first showing builds the lists and selects a model
    splash->close();
    return QApplication::exec();
}
