// Test helpers: temporary folders, whole-file reads and writes, and running a step as an
// ordinary user (permissions mean nothing to root, who runs the tests in containers).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kelvra::testing {

// A fresh empty folder, removed with everything in it at the end of the test.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvra-files-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
        // Let an ordinary user look inside (see AsOrdinaryUser).
        ::chmod(path_.c_str(), 0755);
    }
    ~TempFolder() {
        std::error_code ec;
        if (path_.empty()) return;
        // Make every folder writable again so that everything can be removed.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (it->is_directory(ec)) ::chmod(it->path().c_str(), 0755);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Names in a folder, for checking that no temporary file was left behind.
inline std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// While alive, the process runs with the effective user id of "nobody" when it was root, so that
// file permissions apply. `active` is false when that switch failed.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser() {
        if (::geteuid() != 0) {
            active = true;
            return;
        }
        switched_ = ::seteuid(65534) == 0;
        active = switched_;
    }
    ~AsOrdinaryUser() {
        if (switched_) (void)::seteuid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

    bool active = false;

  private:
    bool switched_ = false;
};

// A deterministic stream of bytes for garbage files.
inline std::string PseudoRandomBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed;
    for (char& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 16);
    }
    return bytes;
}

}  // namespace kelvra::testing
