// kelvra-catalogue: compiles the readable catalogue source into the product database.
//
//   kelvra-catalogue compile [--models] [--quiet] <source folder> <output folder>
//   kelvra-catalogue check <source folder>
//
// "compile" reads and checks the source, computes every compressor's rating data from its
// physical description, fits the rating models, writes the record files, drawings, notes,
// climate locations, the language section and the fit report into the output folder (replacing
// it as a whole), and prints a summary of the fits. It fails when a fit is worse than the
// catalogue's bounds. "check" reads and checks the source only.

#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <fmt/format.h>

#include <chrono>
#include <cstdlib>
#include <iostream>

#include "catalogue_compiler.hpp"
#include "catalogue_source.hpp"
#include "drawings.hpp"
#include "property_library.hpp"

namespace {

using namespace kelvra;
using namespace kelvra::catalogue;

// Qt's notes about the environment (no runtime folder, no display) are of no concern here.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || text.startsWith("QStandardPaths:")) return;
    std::cerr << "kelvra-catalogue: " << text.toStdString() << "\n";
}

enum Exit { kOk = 0, kSourceProblem = 1, kFitsTooPoor = 2, kWriteProblem = 3, kNoProperties = 4 };

int Compile(const std::string& sourceFolder, const std::string& output, const std::string& fluids,
            int verifyStride, bool quiet, bool models, int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    const LoadedPropertyLibraries loaded = LoadPropertyLibraries(fluids.empty() ? InstallationFolder() : fluids);
    if (!loaded.general || !loaded.co2) {
        std::cerr << "kelvra-catalogue: the property libraries cannot be loaded from "
                  << (fluids.empty() ? InstallationFolder() : fluids) << "\n";
        return kNoProperties;
    }
    CatalogueSource source;
    try {
        source = ReadCatalogueSource(sourceFolder);
    } catch (const SourceError& e) {
        std::cerr << "kelvra-catalogue: " << (std::filesystem::path(sourceFolder) / e.File()).string() << ": "
                  << (e.Path().empty() ? "/" : e.Path()) << ": " << e.Problem() << "\n";
        return kSourceProblem;
    }
    CompiledCatalogue compiled;
    try {
        RefrigerantSet refrigerants(source);
        BuildOptions options;
        options.verifyStride = verifyStride;
        options.progress = quiet ? nullptr : &std::cout;
        if (!quiet) std::cout << "kelvra-catalogue: computing the ratings of " << sourceFolder << "\n";
        compiled = BuildCatalogue(source, refrigerants, options);
    } catch (const SourceError& e) {
        std::cerr << "kelvra-catalogue: " << (std::filesystem::path(sourceFolder) / e.File()).string() << ": "
                  << (e.Path().empty() ? "/" : e.Path()) << ": " << e.Problem() << "\n";
        return kSourceProblem;
    } catch (const std::exception& e) {
        std::cerr << "kelvra-catalogue: " << e.what() << "\n";
        return kSourceProblem;
    }
    std::cout << FitSummary(compiled, source);
    if (models) std::cout << "Worst deviations of each compressor's rating sets:\n" << ModelFitLines(compiled);
    if (!compiled.boundViolations.empty()) {
        std::cerr << "kelvra-catalogue: " << compiled.boundViolations.size()
                  << " rating fits are worse than the catalogue's bounds; nothing written:\n";
        for (std::size_t i = 0; i < compiled.boundViolations.size() && i < 20; ++i)
            std::cerr << "  " << compiled.boundViolations[i] << "\n";
        return kFitsTooPoor;
    }
    try {
        // Fonts for the drawings without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietQtMessages);
        QGuiApplication app(argc, argv);
        WriteCatalogue(compiled, source, output, [&](const DrawingDef& d, const std::filesystem::path& file) {
            DrawDimensionalDrawing(d, source.provenance, file);
        });
    } catch (const std::exception& e) {
        std::cerr << "kelvra-catalogue: " << e.what() << "\n";
        return kWriteProblem;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!quiet) std::cout << fmt::format("kelvra-catalogue: wrote {} in {:.1f} s\n", output, seconds);
    return kOk;
}

int Check(const std::string& sourceFolder) {
    try {
        const CatalogueSource source = ReadCatalogueSource(sourceFolder);
        std::cout << fmt::format("{}: {} compressor families, {} unit families, {} Orda families, {} drawings: valid\n",
                                 sourceFolder, source.compressorFamilies.size(), source.unitFamilies.size(),
                                 source.ordaFamilies.size(), source.drawings.size());
        return kOk;
    } catch (const SourceError& e) {
        std::cerr << "kelvra-catalogue: " << (std::filesystem::path(sourceFolder) / e.File()).string() << ": "
                  << (e.Path().empty() ? "/" : e.Path()) << ": " << e.Problem() << "\n";
        return kSourceProblem;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Compiles the readable catalogue source into Kelvra's product database."};
    app.require_subcommand(1);

    std::string source, output, fluids;
    int verifyStride = 4;
    bool quiet = false;
    bool models = false;
    CLI::App* compile = app.add_subcommand("compile", "compile a source folder into an output (data) folder");
    compile->add_option("source", source, "the catalogue source folder")->required()->check(CLI::ExistingDirectory);
    compile->add_option("output", output, "the data folder to write (replaced as a whole)")->required();
    compile->add_option("--fluids", fluids, "folder of the property libraries (default: this program's folder)");
    compile->add_option("--verify-stride", verifyStride,
                        "read every n-th fit point back through the compressor model (0: none)")
        ->check(CLI::Range(0, 1000));
    compile->add_flag("--quiet", quiet, "print only the summary");
    compile->add_flag("--models", models, "print the worst fit deviations of every compressor too");

    CLI::App* check = app.add_subcommand("check", "read and check a source folder");
    check->add_option("source", source, "the catalogue source folder")->required()->check(CLI::ExistingDirectory);

    CLI11_PARSE(app, argc, argv);
    if (compile->parsed()) return Compile(source, output, fluids, verifyStride, quiet, models, argc, argv);
    return Check(source);
}
