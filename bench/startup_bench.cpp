// Time from the start of the program's work to the first shown main window, on the shipped
// product database and the offscreen platform: creating TfrmActivity (property libraries,
// product database, settings file, widgets, family lists) and its first showing (language file,
// supplies, candidates, automatic choice, result grids), until the window is exposed.
//
//   build/bin/startup_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// BM_FirstStartOfTheProcess runs once, while the property libraries are not yet loaded.
// BM_StartWithSettings starts as every later run of the program does (a settings file exists);
// BM_StartFirstRun starts without one, with the unanswered start-up choices.
// Target: well under 1.5 s per start.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "main_window.hpp"
#include "property_library.hpp"
#include "settings_file.hpp"
#include "workspace_folders.hpp"

namespace {

using namespace kelvra;

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvra-startup-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

WorkspaceFolders ShippedFolders(const std::filesystem::path& user) {
    WorkspaceFolders folders;
    folders.installation = InstallationFolder();
    folders.data = folders.installation / "data";
    folders.user = user;
    return folders;
}

// Creates the main window, shows it and waits until it is exposed; false when it never was.
bool StartOnce(const WorkspaceFolders& folders) {
    auto window = std::make_unique<TfrmActivity>(folders);
    if (!window->databaseUsable()) return false;
    window->show();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!(window->windowHandle() && window->windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (std::chrono::steady_clock::now() > limit) return false;
    }
    QApplication::processEvents();
    return true;
}

void Start(benchmark::State& state, bool withSettings) {
    ScratchFolder user;
    const WorkspaceFolders folders = ShippedFolders(user.path());
    const std::filesystem::path settings = user.path() / std::string(kSettingsFileName);
    for (auto _ : state) {
        state.PauseTiming();
        std::error_code ec;
        std::filesystem::remove(settings, ec);
        if (withSettings && !SaveSettingsFile(settings, Settings())) {
            state.SkipWithError("the settings file could not be written");
            return;
        }
        state.ResumeTiming();
        if (!StartOnce(folders)) {
            state.SkipWithError("the main window did not start on the shipped database");
            return;
        }
    }
}

void BM_FirstStartOfTheProcess(benchmark::State& state) { Start(state, true); }
void BM_StartWithSettings(benchmark::State& state) { Start(state, true); }
void BM_StartFirstRun(benchmark::State& state) { Start(state, false); }

BENCHMARK(BM_FirstStartOfTheProcess)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartWithSettings)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_StartFirstRun)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // the program's work starts once its application object exists
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
