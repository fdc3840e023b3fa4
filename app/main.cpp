// Kelvra: selection and rating of compressors, condensing units, heat pumps and controls.

#include <QApplication>
#include <QMessageBox>

#include "main_window.hpp"
#include "workspace_folders.hpp"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kelvra 7");
    QApplication::setApplicationDisplayName("Kelvra 7");
    QApplication::setOrganizationName("kelvra");

    kelvra::TfrmActivity window(kelvra::DefaultWorkspaceFolders());
    if (!window.databaseUsable()) {
        QMessageBox::critical(nullptr, "Kelvra 7", window.databaseProblem());
        return 1;
    }
    window.show();
    return QApplication::exec();
}
