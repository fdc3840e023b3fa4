#include "workspace_folders.hpp"

#include <QStandardPaths>
#include <system_error>

#include "property_library.hpp"

namespace kelvra {

WorkspaceFolders DefaultWorkspaceFolders() {
    WorkspaceFolders folders;
    folders.installation = InstallationFolder();
    if (folders.installation.empty()) folders.installation = std::filesystem::current_path();
    folders.data = folders.installation / "data";

    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    std::error_code ec;
    if (!appData.isEmpty()) {
        folders.user = std::filesystem::path(appData.toStdString()) / "kelvra";
        std::filesystem::create_directories(folders.user, ec);
    }
    if (appData.isEmpty() || ec || !std::filesystem::is_directory(folders.user, ec))
        folders.user = folders.installation;
    return folders;
}

}  // namespace kelvra
