// Test helpers of the catalogue: the build's property libraries, the shipped source and the
// database compiled from it at build time, temporary folders, small sources made from the
// shipped one, and running the catalogue tool.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "catalogue_source.hpp"
#include "property_library.hpp"

namespace kelvra::catalogue::testing {

namespace fs = std::filesystem;

inline const fs::path kSourceFolder = KELVRA_CATALOGUE_SOURCE;
inline const fs::path kDataFolder = KELVRA_DATA_DIR;
inline const fs::path kBinFolder = KELVRA_BIN_DIR;

inline bool LoadLibraries() {
    const LoadedPropertyLibraries loaded = LoadPropertyLibraries(kBinFolder.string());
    return loaded.general && loaded.co2;
}

// A fresh empty folder, removed with everything in it at the end of the test.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "kelvra-catalogue-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

inline nlohmann::json ReadJson(const fs::path& file) {
    std::ifstream in(file);
    return nlohmann::json::parse(in, nullptr, true, true);
}

inline void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

inline void WriteJson(const fs::path& file, const nlohmann::json& j) {
    WriteFile(file, j.dump(1));
}

inline std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A small source made from the shipped one: catalogue.json and the drawings as shipped, and the
// air-conditioning scroll family with its first `models` models on R410A at 50 Hz only.
inline void WriteSmallSource(const fs::path& folder, int models = 2) {
    fs::create_directories(folder);
    fs::copy_file(kSourceFolder / "catalogue.json", folder / "catalogue.json");
    fs::copy_file(kSourceFolder / "drawings.json", folder / "drawings.json");
    fs::copy(kSourceFolder / "notes", folder / "notes");
    nlohmann::json scroll = ReadJson(kSourceFolder / "compressors-scroll.json");
    nlohmann::json family;
    for (const auto& f : scroll["compressorFamilies"])
        if (f["code"] == 1) family = f;
    family["models"] = nlohmann::json(std::vector<nlohmann::json>(family["models"].begin(), family["models"].begin() + models));
    family["variants"] = nlohmann::json::array({{{"refrigerant", "R410A"}, {"supplies", {1}}, {"envelope", "r410a"}}});
    WriteJson(folder / "compressors.json", {{"compressorFamilies", {family}}});
}

struct ToolRun {
    int exitCode = -1;
    std::string output;  // standard output and standard error
};

// Runs the catalogue tool with the arguments (each quoted) and collects what it prints.
inline ToolRun RunTool(const std::vector<std::string>& args) {
    const auto quoted = [](const std::string& a) {
        std::string q(1, '\'');
        q += a;
        q += '\'';
        return q;
    };
    std::string command = quoted((kBinFolder / "kelvra-catalogue").string());
    for (const std::string& a : args) {
        command += ' ';
        command += quoted(a);
    }
    command += " 2>&1";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace kelvra::catalogue::testing
