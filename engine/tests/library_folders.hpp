// Test helpers: the build's property libraries, and temporary installation folders holding
// some, none or broken copies of them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "property_library.hpp"

namespace kelvra::testing {

// A fresh empty folder, removed with everything in it at the end of the test.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvra-libs-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

    // Copies a property library of the build into this folder.
    void CopyLibrary(PropertyLibraryKind kind) const {
        const std::string file = PropertyLibraryFileName(kind);
        std::filesystem::copy_file(std::filesystem::path(InstallationFolder()) / file,
                                   path_ / file);
    }

    void Write(const std::string& file, const std::string& text) const {
        std::ofstream(path_ / file, std::ios::binary) << text;
    }

  private:
    std::filesystem::path path_;
};

// Loads both libraries of the build for the lifetime of a fixture. Declare it before any
// refrigerant member so that those are created with the libraries in place.
struct BuildLibraries {
    BuildLibraries() { loaded = LoadPropertyLibraries(); }
    ~BuildLibraries() { UnloadPropertyLibraries(); }
    BuildLibraries(const BuildLibraries&) = delete;
    BuildLibraries& operator=(const BuildLibraries&) = delete;
    LoadedPropertyLibraries loaded;
};

}  // namespace kelvra::testing
