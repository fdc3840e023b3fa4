// The shipped catalogue source: it reads without a complaint, covers the range the program
// needs, and a broken source is refused with the file, the JSON path and the problem.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "catalogue_compiler.hpp"
#include "catalogue_source.hpp"
#include "catalogue_support.hpp"

namespace kelvra::catalogue {
namespace {

using namespace testing;
using nlohmann::json;

class ShippedSource : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { source_ = new CatalogueSource(ReadCatalogueSource(kSourceFolder)); }
    static void TearDownTestSuite() {
        delete source_;
        source_ = nullptr;
    }
    static const CatalogueSource& Source() { return *source_; }

  private:
    static CatalogueSource* source_;
};
CatalogueSource* ShippedSource::source_ = nullptr;

TEST_F(ShippedSource, StatesItsProvenance) {
    EXPECT_NE(Source().provenance.find("fictitious"), std::string::npos);
    EXPECT_NE(Source().provenance.find("physically derived"), std::string::npos);
    EXPECT_GT(Source().databaseDate, 45000);  // a date of this century
}

TEST_F(ShippedSource, RefrigerantsCarryTheirCodesAndBases) {
    const std::map<std::string, char> basis = {{"R744", 'N'}, {"R407C", 'M'}, {"R404A", 'D'}, {"R134a", 'N'},
                                               {"R410A", 'N'}, {"R507A", 'N'}, {"R290", 'N'}};
    for (const auto& [name, letter] : basis) {
        const RefrigerantDef* r = Source().FindRefrigerant(name);
        ASSERT_NE(r, nullptr) << name;
        EXPECT_EQ(r->basis, letter) << name;
    }
    EXPECT_EQ(Source().FindRefrigerant("R744")->code, 10);
}

TEST_F(ShippedSource, CompressorRangeCoversEveryRatingKindAndTechnology) {
    const auto entries = EnumerateCompressors(Source());
    EXPECT_GE(Source().compressorFamilies.size(), 12u);
    EXPECT_GE(entries.size(), 200u);

    std::set<int> kinds, refrigerants, supplies, hertz, stepCounts, categories;
    std::set<RatingUnits> polynomialUnits;
    bool speed = false, inverter = false, co2 = false, heatPump = false, dewData = false, fixedVolumeRatio = false;
    for (const CompressorFamilyDef& f : Source().compressorFamilies) {
        kinds.insert(f.rating.kind);
        categories.insert(f.category);
        if (f.rating.kind == 2) polynomialUnits.insert(f.rating.units);
        stepCounts.insert(1 + static_cast<int>(f.physics.loadSteps.size()));
        speed = speed || f.physics.speed.has_value();
        inverter = inverter || f.physics.inverter.has_value();
        co2 = co2 || (f.rating.kind == 6 && f.rating.technologyCode == 10);
        heatPump = heatPump || f.kind == 'H';
        dewData = dewData || f.rating.dewData;
        fixedVolumeRatio = fixedVolumeRatio || (f.rating.technologyCode == 2 && f.physics.builtInVolumeRatio > 0);
    }
    for (const CompressorEntry& e : entries) {
        refrigerants.insert(e.refrigerant->code);
        supplies.insert(e.supply->code);
        hertz.insert(e.supply->hertz);
    }
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 6, 10, 11, 12}));
    EXPECT_EQ(polynomialUnits,
              (std::set<RatingUnits>{RatingUnits::CelsiusKW, RatingUnits::FahrenheitBtu, RatingUnits::CelsiusW}));
    EXPECT_EQ(stepCounts, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(categories, (std::set<int>{1, 2, 11, 12, 13}));
    EXPECT_TRUE(speed && inverter && co2 && heatPump && dewData && fixedVolumeRatio);
    EXPECT_GE(refrigerants.size(), 10u);
    EXPECT_GE(supplies.size(), 3u);
    EXPECT_EQ(hertz, (std::set<int>{50, 60}));
}

TEST_F(ShippedSource, CondensingUnitsIncludeCompleteNetworkGroups) {
    int units = 0;
    for (const UnitDef& u : Source().units) units += static_cast<int>(u.refrigerants.size() * u.supplies.size());
    int networkUnits = 0;
    std::set<int> networkFamilies;
    for (const NetworkDef& n : Source().networks) {
        networkUnits += 4 * static_cast<int>(n.refrigerants.size() * n.supplies.size());
        networkFamilies.insert(n.family);
    }
    EXPECT_GE(units + networkUnits, 60);
    EXPECT_EQ(networkFamilies, (std::set<int>{22, 23, 26}));
    std::set<int> categories;
    for (const FamilyDef& f : Source().unitFamilies) categories.insert(f.category);
    EXPECT_EQ(categories, (std::set<int>{1, 11, 12}));
}

TEST_F(ShippedSource, OrdaComponentsCoverEveryFamilyPage) {
    int valves = 0;
    std::set<int> categories;
    std::set<char> types;
    for (const OrdaValveDef& v : Source().valves) {
        valves += static_cast<int>(v.refrigerants.size());
        types.insert(v.type);
    }
    for (const FamilyDef& f : Source().ordaFamilies) categories.insert(f.category);
    EXPECT_GE(valves, 40);
    EXPECT_EQ(categories, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
    // Expansion (T, E), solenoid (S), head-pressure and protector (P, Q) and the others.
    for (char t : {'T', 'E', 'S', 'P', 'Q', 'R', 'Z'}) EXPECT_TRUE(types.count(t)) << t;
}

TEST_F(ShippedSource, NotesDrawingsAndLanguageSection) {
    for (const char* stem : {"index", "cuindex", "vindex", "hpindex"}) EXPECT_TRUE(Source().notes.count(stem)) << stem;
    std::set<char> drawingKinds;
    for (const DrawingDef& d : Source().drawings) drawingKinds.insert(d.kind);
    EXPECT_EQ(drawingKinds, (std::set<char>{'C', 'U', 'V'}));
    EXPECT_FALSE(Source().headings.empty());
    EXPECT_FALSE(Source().accessoryTexts.empty());
}

// ---------------------------------------------------------------------------------------------
// Broken sources

struct BrokenCase {
    const char* name;
    std::function<void(const fs::path&)> breakIt;  // changes the small source in the folder
    const char* file;
    const char* path;     // the JSON path the complaint names
    const char* problem;  // a part of the problem's words
};

void Edit(const fs::path& file, const std::function<void(json&)>& change) {
    json j = ReadJson(file);
    change(j);
    WriteJson(file, j);
}

const BrokenCase kBrokenCases[] = {
    {"not JSON", [](const fs::path& f) { WriteFile(f / "catalogue.json", "{\n \"provenance\": \"x\",\n oops\n}"); },
     "catalogue.json", "", "not valid JSON (line 3"},
    {"missing member",
     [](const fs::path& f) { Edit(f / "compressors.json", [](json& j) { j["compressorFamilies"][0].erase("rating"); }); },
     "compressors.json", "/compressorFamilies/0", "missing \"rating\""},
    {"text for a number",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) { j["compressorFamilies"][0]["models"][1]["displacement"] = "7.4"; });
     },
     "compressors.json", "/compressorFamilies/0/models/1/displacement", "expected a number"},
    {"misspelt member",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) {
             auto& r = j["compressorFamilies"][0]["rating"];
             r["ratedSuperheet"] = r["ratedSuperheat"];
             r.erase("ratedSuperheat");
         });
     },
     "compressors.json", "/compressorFamilies/0/rating/ratedSuperheet", "unknown member"},
    {"envelope line running down",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) {
             j["compressorFamilies"][0]["envelopes"]["r410a"]["envelopes"][0]["left"] = json::parse("[[-25, 40], [-25, 15]]");
         });
     },
     "compressors.json", "/compressorFamilies/0/envelopes/r410a/envelopes/0/left", "lies below"},
    {"unknown refrigerant",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) { j["compressorFamilies"][0]["variants"][0]["refrigerant"] = "R999"; });
     },
     "compressors.json", "/compressorFamilies/0/variants/0", "no refrigerant \"R999\""},
    {"CO2 under another code",
     [](const fs::path& f) {
         Edit(f / "catalogue.json", [](json& j) {
             for (auto& r : j["refrigerants"])
                 if (r["name"] == "R744") r["code"] = 13;
         });
     },
     "catalogue.json", "/refrigerants/9/code", "R744"},
    {"family code twice",
     [](const fs::path& f) {
         const json j = ReadJson(f / "compressors.json");
         WriteJson(f / "more.json", j);
     },
     "more.json", "/compressorFamilies/0", "family code 1 is used twice"},
    {"name too long",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) { j["compressorFamilies"][0]["models"][0]["name"] = std::string(26, 'K'); });
     },
     "compressors.json", "/compressorFamilies/0/models/0/name", "longer than 25"},
    {"number out of range",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) { j["compressorFamilies"][0]["physics"]["motor"]["efficiency"] = 1.4; });
     },
     "compressors.json", "/compressorFamilies/0/physics/motor/efficiency", "outside"},
    {"kind without data",
     [](const fs::path& f) { Edit(f / "compressors.json", [](json& j) { j["compressorFamilies"][0]["rating"]["kind"] = 5; }); },
     "compressors.json", "/compressorFamilies/0/rating/kind", "cannot be generated"},
    {"unit on a model that does not exist",
     [](const fs::path& f) {
         WriteJson(f / "units.json", json::parse(R"({"unitFamilies": [{"code": 1, "subLetter": "I", "category": 1,
             "name": "Units"}], "units": [{"name": "U-1", "family": 1, "compressorFamily": 1, "compressor": "KSA-999",
             "refrigerants": ["R410A"], "supplies": [1], "fanPower": 100, "drawing": 101}]})"));
     },
     "units.json", "/units/0", "no model \"KSA-999\""},
    {"two-step network without D",
     [](const fs::path& f) {
         WriteJson(f / "units.json", json::parse(R"({"unitFamilies": [{"code": 23, "subLetter": "D", "category": 12,
             "name": "Net"}], "networks": [{"base": "NK-024", "family": 23, "compressorFamily": 1, "compressor": "KSA-024",
             "refrigerants": ["R410A"], "supplies": [1], "masterFanPower": 100, "slaveFanPower": 80, "masterDrawing": 101,
             "slaveDrawing": 102}]})"));
     },
     "units.json", "/networks/0/base", "\"D\""},
    {"record offered twice",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) {
             auto& variants = j["compressorFamilies"][0]["variants"];
             variants.push_back(variants[0]);
         });
     },
     "compressors.json", "/compressorFamilies/0/variants/1", "offered twice"},
    {"vapour injection on a blend",
     [](const fs::path& f) {
         Edit(f / "compressors.json", [](json& j) {
             auto& fam = j["compressorFamilies"][0];
             fam["rating"]["kind"] = 3;
             fam["physics"]["injection"] = {{"portExponent", 0.45}, {"efficiency", 0.787}};
             fam["variants"][0]["refrigerant"] = "R407C";
             fam["variants"][0]["envelope"] = "r407c";
         });
     },
     "compressors.json", "/compressorFamilies/0/variants/0", "single-component refrigerants"},
    {"valve without flow area",
     [](const fs::path& f) {
         WriteJson(f / "orda.json", json::parse(R"({"ordaFamilies": [{"code": 1, "category": 1, "name": "Valves"}],
             "valves": [{"name": "V-1", "family": 1, "type": "T", "orificeArea": -1, "refrigerants": ["R134a"]}]})"));
     },
     "orda.json", "/valves/0/orificeArea", "outside"},
};

// Test names show the case's name.
void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

class BrokenSource : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenSource, IsRefusedWithFilePathAndProblem) {
    const BrokenCase& c = GetParam();
    TempFolder temp;
    WriteSmallSource(temp.Path());
    ReadCatalogueSource(temp.Path());  // the small source itself is sound
    c.breakIt(temp.Path());
    try {
        ReadCatalogueSource(temp.Path());
        FAIL() << c.name << ": accepted";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.File(), c.file) << c.name;
        EXPECT_EQ(e.Path(), c.path) << c.name << ": " << e.what();
        EXPECT_NE(e.Problem().find(c.problem), std::string::npos) << c.name << ": " << e.what();
        EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenSource, ::testing::ValuesIn(kBrokenCases),
                         [](const ::testing::TestParamInfo<BrokenCase>& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

TEST(SerialDate, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(SerialDate("1900-01-01"), 2.0);
    EXPECT_EQ(SerialDate("2024-01-01"), 45292.0);
    EXPECT_FALSE(SerialDate("2024-02-30").has_value());
    EXPECT_FALSE(SerialDate("01.01.2024").has_value());
}

}  // namespace
}  // namespace kelvra::catalogue
