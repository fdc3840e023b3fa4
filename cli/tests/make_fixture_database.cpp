// Writes the selection fixture database into the folder given as the only argument, and an
// empty folder beside it named "<folder>-empty", for the command-line checks.

#include <filesystem>
#include <iostream>

#include "record_files.hpp"
#include "selection_fixture.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fixture_database <folder>\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        kelvra::WriteProductDatabase(folder, kelvra::testing::SelectionFixtureDatabase());
        std::filesystem::path empty = folder;
        empty += "-empty";
        std::filesystem::remove_all(empty);
        std::filesystem::create_directories(empty);
    } catch (const std::exception& e) {
        std::cerr << "make_fixture_database: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
