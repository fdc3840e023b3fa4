// The catalogue tool: a sound source compiles into a complete data folder; a broken source or a
// fit worse than the bounds is refused with a message and leaves no files behind; a folder that
// cannot be finished leaves the old one as it was.

#include <gtest/gtest.h>

#include <stdexcept>

#include "catalogue_compiler.hpp"
#include "catalogue_support.hpp"
#include "record_files.hpp"

namespace kelvra::catalogue {
namespace {

using namespace testing;
using nlohmann::json;

// Folders beside `output` that the tool may have left (its temporary folders).
int LeftOvers(const fs::path& output) {
    int n = 0;
    std::string prefix = output.filename().string();
    prefix.insert(prefix.begin(), '.');
    for (const auto& e : fs::directory_iterator(output.parent_path()))
        if (e.path().filename().string().rfind(prefix, 0) == 0) ++n;
    return n;
}

TEST(CatalogueTool, CompilesASmallSourceIntoEveryFile) {
    TempFolder temp;
    WriteSmallSource(temp.Path() / "source");
    const fs::path out = temp.Path() / "data";
    const ToolRun run = RunTool({"compile", "--quiet", (temp.Path() / "source").string(), out.string()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("2 compressor models"), std::string::npos) << run.output;
    for (DatabaseFile f : AllDatabaseFiles()) EXPECT_TRUE(fs::exists(out / DatabaseFileName(f))) << DatabaseFileName(f);
    EXPECT_TRUE(fs::exists(out / kClimateFile));
    EXPECT_TRUE(fs::exists(out / kLanguageSectionFile));
    EXPECT_TRUE(fs::exists(out / kDrawingsFolder / "C101.pdf"));
    EXPECT_EQ(ReadText(out / kDrawingsFolder / "C101.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(LeftOvers(out), 0);
    // Two records of 83 bytes after the header.
    EXPECT_EQ(fs::file_size(out / DatabaseFileName(DatabaseFile::Compressors)), 3 * CompressorRow::kSize);
}

TEST(CatalogueTool, RefusesABrokenSourceNamingFileAndPathAndWritesNothing) {
    TempFolder temp;
    WriteSmallSource(temp.Path() / "source");
    json j = ReadJson(temp.Path() / "source" / "compressors.json");
    j["compressorFamilies"][0]["physics"]["isentropic"]["peak"] = "high";
    WriteJson(temp.Path() / "source" / "compressors.json", j);
    const fs::path out = temp.Path() / "data";
    const ToolRun run = RunTool({"compile", (temp.Path() / "source").string(), out.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("compressors.json: /compressorFamilies/0/physics/isentropic/peak: expected a number"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(LeftOvers(out), 0);
}

TEST(CatalogueTool, RefusesFitsWorseThanTheBoundsAndKeepsTheOldFolder) {
    TempFolder temp;
    WriteSmallSource(temp.Path() / "source");
    json j = ReadJson(temp.Path() / "source" / "catalogue.json");
    j["fitBounds"]["power"] = 0.001;  // no fit is that good
    WriteJson(temp.Path() / "source" / "catalogue.json", j);
    const fs::path out = temp.Path() / "data";
    fs::create_directories(out);
    WriteFile(out / "marker", "old");
    const ToolRun run = RunTool({"compile", (temp.Path() / "source").string(), out.string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("worse than the catalogue's bounds"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("power deviation"), std::string::npos) << run.output;
    EXPECT_EQ(ReadText(out / "marker"), "old");
    EXPECT_EQ(LeftOvers(out), 0);
}

TEST(CatalogueTool, RefusesARefrigerantThePropertyLibrariesDoNotKnow) {
    TempFolder temp;
    WriteSmallSource(temp.Path() / "source");
    json j = ReadJson(temp.Path() / "source" / "catalogue.json");
    j["refrigerants"].push_back({{"code", 40}, {"name", "R9999"}, {"basis", "N"}, {"criticalDensity", 500},
                                 {"molarMass", 100}, {"unitMaxPressure", 20}});
    WriteJson(temp.Path() / "source" / "catalogue.json", j);
    const ToolRun run = RunTool({"compile", (temp.Path() / "source").string(), (temp.Path() / "data").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("catalogue.json: /refrigerants/12/name: the property libraries do not know \"R9999\""),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(temp.Path() / "data"));
}

TEST(CatalogueTool, RefusesAnEnvelopeThatRefusesItsOwnRatingPoints) {
    ASSERT_TRUE(LoadLibraries());
    TempFolder temp;
    WriteSmallSource(temp.Path() / "source", 1);
    // The standard envelope type allows 5 K of superheat; the data are rated at 10 K.
    json j = ReadJson(temp.Path() / "source" / "catalogue.json");
    for (auto& t : j["envelopeTypes"])
        if (t["id"] == 1) t["limit"] = 5;
    WriteJson(temp.Path() / "source" / "catalogue.json", j);
    const CatalogueSource source = ReadCatalogueSource(temp.Path() / "source");
    RefrigerantSet refrigerants(source);
    const CompiledCatalogue compiled = BuildCatalogue(source, refrigerants, BuildOptions{});
    ASSERT_FALSE(compiled.boundViolations.empty());
    EXPECT_NE(compiled.boundViolations.front().find("the envelope refuses"), std::string::npos)
        << compiled.boundViolations.front();
}

TEST(CatalogueTool, CheckReadsTheShippedSource) {
    const ToolRun ok = RunTool({"check", kSourceFolder.string()});
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
    EXPECT_NE(ok.output.find("valid"), std::string::npos);
    const ToolRun missing = RunTool({"check"});
    EXPECT_NE(missing.exitCode, 0);
}

class WritingCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadLibraries());
        WriteSmallSource(temp.Path() / "source", 1);
        source = ReadCatalogueSource(temp.Path() / "source");
        refrigerants = std::make_unique<RefrigerantSet>(source);
        BuildOptions options;
        options.verifyStride = 0;
        compiled = BuildCatalogue(source, *refrigerants, options);
    }
    static void Pdf(const DrawingDef&, const fs::path& file) { WriteFile(file, "%PDF-1.4\n"); }

    TempFolder temp;
    CatalogueSource source;
    std::unique_ptr<RefrigerantSet> refrigerants;
    CompiledCatalogue compiled;
};

TEST_F(WritingCatalogue, AFailureHalfWayLeavesTheOldFolderUntouched) {
    const fs::path out = temp.Path() / "data";
    fs::create_directories(out);
    WriteFile(out / DatabaseFileName(DatabaseFile::Header), "old database");
    WriteFile(out / "marker", "old");
    int drawn = 0;
    const auto failing = [&](const DrawingDef& d, const fs::path& file) {
        if (++drawn == 3) throw std::runtime_error("disk full");
        Pdf(d, file);
    };
    try {
        WriteCatalogue(compiled, source, out, failing);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("disk full"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find(out.string()), std::string::npos);
    }
    EXPECT_EQ(ReadText(out / "marker"), "old");
    EXPECT_EQ(ReadText(out / DatabaseFileName(DatabaseFile::Header)), "old database");
    EXPECT_FALSE(fs::exists(out / DatabaseFileName(DatabaseFile::Compressors)));
    EXPECT_EQ(LeftOvers(out), 0);
}

TEST_F(WritingCatalogue, ReplacesTheOldDatabaseAsAWhole) {
    const fs::path out = temp.Path() / "data";
    fs::create_directories(out);
    WriteFile(out / DatabaseFileName(DatabaseFile::Header), "old database");
    WriteFile(out / "marker", "old");
    WriteCatalogue(compiled, source, out, Pdf);
    EXPECT_FALSE(fs::exists(out / "marker"));
    EXPECT_TRUE(fs::exists(out / DatabaseFileName(DatabaseFile::RatingSets)));
    EXPECT_EQ(LeftOvers(out), 0);
}

TEST_F(WritingCatalogue, NeverReplacesAFileOrAFolderOfOtherFilesOrTheSource) {
    const fs::path file = temp.Path() / "notes.txt";
    WriteFile(file, "mine");
    EXPECT_THROW(WriteCatalogue(compiled, source, file, Pdf), std::runtime_error);
    EXPECT_EQ(ReadText(file), "mine");

    const fs::path folder = temp.Path() / "documents";
    fs::create_directories(folder);
    WriteFile(folder / "letter.txt", "mine");
    try {
        WriteCatalogue(compiled, source, folder, Pdf);
        FAIL() << "replaced a folder of other files";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("holds other files"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadText(folder / "letter.txt"), "mine");

    EXPECT_THROW(WriteCatalogue(compiled, source, temp.Path(), Pdf), std::runtime_error);  // holds the source
    EXPECT_TRUE(fs::exists(temp.Path() / "source" / "catalogue.json"));
    EXPECT_EQ(LeftOvers(folder), 0);
}

TEST_F(WritingCatalogue, NotesAndLanguageSectionStateTheProvenance) {
    EXPECT_NE(compiled.languageSection.find("[Catalogue]"), std::string::npos);
    EXPECT_NE(compiled.languageSection.find("strCS1=KSA scroll, air conditioning"), std::string::npos);
    ASSERT_TRUE(compiled.notes.count("index01.dat"));
    EXPECT_NE(compiled.notes.at("index01.dat").find("fictitious models, physically derived"), std::string::npos);
    EXPECT_EQ(compiled.climates.size() % 174, 0u);
    EXPECT_EQ(compiled.climates.size() / 174, source.climates.size());
}

}  // namespace
}  // namespace kelvra::catalogue
