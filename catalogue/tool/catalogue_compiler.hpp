#pragma once
// Compiling the catalogue source into the product database: every record file, the drawings,
// the notes, the climate locations, the language section of the catalogue's texts and the
// report of the rating fits.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue_source.hpp"
#include "rating_generator.hpp"
#include "record_files.hpp"
#include "refrigerant.hpp"

namespace kelvra::catalogue {

// The refrigerants of the catalogue as objects of the property library, each with its
// compression exponent. The property libraries must be loaded.
class RefrigerantSet {
  public:
    // Throws a SourceError at a refrigerant that the property libraries do not know.
    explicit RefrigerantSet(const CatalogueSource& source);

    Trefrigerant& Get(const std::string& name);
    const RefrigerantDef& Def(const std::string& name) const;

  private:
    const CatalogueSource* source_;
    std::map<std::string, std::unique_ptr<Trefrigerant>> refrigerants_;
};

// One compressor record of the range, in the order of the compressor file.
struct CompressorEntry {
    int id = 0;
    int mKey = 0;  // one per model of a family: its mechanical data
    const CompressorFamilyDef* family = nullptr;
    const CompressorModelDef* model = nullptr;
    const VariantDef* variant = nullptr;
    const RefrigerantDef* refrigerant = nullptr;
    const SupplyDef* supply = nullptr;
    const EnvelopeSetDef* envelope = nullptr;
};

// Every compressor record of the source, numbered from 1: family by family, model by model,
// variant by variant, supply by supply.
std::vector<CompressorEntry> EnumerateCompressors(const CatalogueSource& source);

RatingTarget TargetOf(const CompressorEntry& entry, RefrigerantSet& refrigerants, int step);

// How the compressor model reads a generated set back, at its rated state over the fit points.
struct Verification {
    double capacity = 0;  // worst relative deviation from the physical model
    double power = 0;
    int points = 0;
    int refused = 0;  // points the model refused (an envelope kind that allows no operation)
};

// The rated operating conditions of an envelope point: the family's rated superheat (or suction
// gas temperature) and subcooling; on a pressure axis y is the discharge pressure.
OperatingConditions RatedConditionsAt(const RatingTarget& t, double x, double y);

Verification VerifyRatingSet(const CatalogueSource& source, const RatingTarget& t, const GeneratedSet& set,
                             int stride);

struct SetReport {
    int index = 0;
    int step = 0;
    int kind = 0;
    FitReport fit;
    Verification verified;
};

struct CompressorReport {
    CompressorEntry entry;
    std::vector<SetReport> sets;
    double maxPower = 0;
    double maxCurrent = 0;
};

struct CatalogueCounts {
    int compressorFamilies = 0, compressors = 0, ratingSets = 0, physicalModels = 0;
    int unitFamilies = 0, units = 0, networkUnits = 0;
    int ordaFamilies = 0, valves = 0, correctionGroups = 0;
    int refrigerants = 0, supplies = 0, envelopePoints = 0, drawings = 0, notes = 0, climates = 0;
};

struct CompiledCatalogue {
    ProductDatabase database;
    std::vector<CompressorReport> compressors;
    std::map<std::string, std::string> notes;  // file name within "techdata" -> text
    std::string languageSection;               // the catalogue's texts as a language-file section
    std::vector<std::uint8_t> climates;        // "daynight.dat"
    std::vector<std::uint8_t> heatPumps;       // the default heat-pump file; empty without any
    CatalogueCounts counts;
    std::vector<std::string> boundViolations;  // fits worse than the catalogue's bounds
};

struct BuildOptions {
    int verifyStride = 4;             // verify every n-th fit point; 0: no verification
    std::ostream* progress = nullptr;  // one line per family
};

CompiledCatalogue BuildCatalogue(const CatalogueSource& source, RefrigerantSet& refrigerants,
                                 const BuildOptions& options);

// Draws one drawing into a PDF file.
using DrawingWriter = std::function<void(const DrawingDef&, const std::filesystem::path&)>;

// Names of the files besides the record files.
inline constexpr const char* kDrawingsFolder = "Drawings/files";
inline constexpr const char* kNotesFolder = "techdata";
inline constexpr const char* kClimateFile = "daynight.dat";
inline constexpr const char* kLanguageSectionFile = "catalogue-texts.ini";
inline constexpr const char* kFitReportFile = "catalogue-fits.json";

// Writes the compiled catalogue into `output`: everything goes into a temporary folder beside
// it first, which then replaces `output` as a whole, so a failure leaves the old folder as it
// was and no half-written files. Only a new or empty folder, or one that holds a product
// database already, is replaced; never the source folder or a folder that holds it. Throws
// std::runtime_error naming what could not be written.
void WriteCatalogue(const CompiledCatalogue& compiled, const CatalogueSource& source,
                    const std::filesystem::path& output, const DrawingWriter& drawings);

// The fit summary: one line per family with its worst deviations, then the whole range's.
std::string FitSummary(const CompiledCatalogue& compiled, const CatalogueSource& source);

// One line per compressor record with the worst deviations of its rating sets.
std::string ModelFitLines(const CompiledCatalogue& compiled);

// The fit report as JSON: every compressor with every rating set's deviations.
std::string FitReportJson(const CompiledCatalogue& compiled, const CatalogueSource& source);

}  // namespace kelvra::catalogue
