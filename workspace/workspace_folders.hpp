#pragma once

// Where the program finds its files: the installation folder (the executable's folder: property
// libraries, language files, notes), the product database folder inside it, and the user folder
// for settings and projects.

#include <filesystem>

namespace kelvra {

struct WorkspaceFolders {
    std::filesystem::path installation;
    std::filesystem::path data;  // the product database
    std::filesystem::path user;  // settings "kelvra71.ini", project files
};

// The folders of a normal run: the executable's folder, its "data" folder, and the user's
// application-data folder plus "kelvra/", created when missing; when it cannot be created the
// installation folder serves as user folder.
WorkspaceFolders DefaultWorkspaceFolders();

}  // namespace kelvra
