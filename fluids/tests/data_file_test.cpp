// Reading fluid data files: every shipped file is complete, and damaged or hostile text is
// refused with the line at fault, never crashing and never giving a silently different fluid.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "fluid_data.hpp"
#include "registry.hpp"

namespace {

using namespace kelvra::fluids;
namespace fs = std::filesystem;

std::string read_text(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

const fs::path kDataFolder = fs::path(KELVRA_SOURCE_DIR) / "fluids" / "data";

TEST(FluidData, EveryRefrigerantOfTheProductRangeIsBuiltIn) {
    for (const char* name : {"R22", "R32", "R125", "R134a", "R143a", "R152a", "R290", "R600a", "R717", "R744",
                             "R1234yf", "R1234ze(E)", "R404A", "R407C", "R410A", "R507A"}) {
        const Fluid* f = Registry::instance().find(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f->name(), name);
        EXPECT_FALSE(f->data().reference.empty()) << name;
    }
    EXPECT_EQ(Registry::instance().find("R9999"), nullptr);
}

TEST(FluidData, TruncatedFileIsRefusedAtEveryCut) {
    const std::string text = read_text(kDataFolder / "R134a.fluid");
    ASSERT_TRUE(parse_fluid(text).ok);
    // cut after every line but the last: never accepted as a (different) complete fluid
    for (std::size_t pos = text.find('\n'); pos + 1 < text.size(); pos = text.find('\n', pos + 1)) {
        const ParseResult r = parse_fluid(std::string_view(text).substr(0, pos + 1));
        EXPECT_FALSE(r.ok) << "accepted a file cut at byte " << pos;
        EXPECT_FALSE(r.error.empty());
    }
}

TEST(FluidData, DamagedTextIsRefusedWithTheLineAtFault) {
    const std::string good = read_text(kDataFolder / "R32.fluid");
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        const auto at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return t.replace(at, from.size(), to);
    };
    struct Case {
        std::string text, what;
    };
    const Case cases[] = {
        {"", "no end line"},
        {std::string("\x7f" "ELF\x01\x02\x00\xff", 8), "unknown keyword"},
        {replace("molar_mass 0.052024", "molar_mass -0.052024"), "bad molar mass"},
        {replace("molar_mass 0.052024", "molar_mass nan"), "bad molar mass"},
        {replace("residual power  # n d t l", "residual mystery"), "unknown residual term kind"},
        {replace("ideal lead  # a1 a2", "ideal lead 1 2 3"), "expected: ideal KIND"},
        {replace("fluid R32", "flud R32"), "unknown keyword"},
        {replace("end\n", "end\nfluid R32\n"), "text after the end line"},
        {replace("pseudo_pure 0\n", "pseudo_pure 0\n1 2 3\n"), "numbers outside a term block"},
    };
    for (const Case& c : cases) {
        const ParseResult r = parse_fluid(c.text);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.what), std::string::npos) << "got: " << r.error;
    }
    // a row with a missing column names its line
    std::string short_row = good;
    const auto row = short_row.find("residual power");
    const auto next = short_row.find('\n', short_row.find('\n', row) + 1);
    short_row.insert(next, "\n1.0 2");
    const ParseResult bad = parse_fluid(short_row);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.error.rfind("line ", 0), 0u) << bad.error;
}

TEST(FluidData, EquationWithoutAPhaseBoundaryIsNotBuilt) {
    // An ideal gas (every residual coefficient zero) has no critical point or saturation:
    // looking it up must fail cleanly.
    std::string text = read_text(kDataFolder / "R32.fluid");
    text.replace(text.find("fluid R32"), 9, "fluid RIDEAL");
    std::istringstream in(text);
    std::string out, line;
    bool in_residual = false;
    while (std::getline(in, line)) {
        if (line.rfind("residual", 0) == 0) in_residual = true;
        else if (!line.empty() && std::isalpha(static_cast<unsigned char>(line[0]))) in_residual = false;
        if (in_residual && !line.empty() && line[0] != 'r') line = std::string("0").append(line, line.find(' '));
        out += line + "\n";
    }
    std::string error;
    ASSERT_TRUE(Registry::instance().add(out, error)) << error;
    EXPECT_EQ(Registry::instance().find("RIDEAL"), nullptr);
}

TEST(FluidData, FolderOfExtraFluids) {
    const fs::path dir = fs::temp_directory_path() / ("kelvra_fluids_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string text = read_text(kDataFolder / "R32.fluid");
    text.replace(text.find("fluid R32"), 9, "fluid RCOPY32");
    std::ofstream(dir / "copy.fluid") << text;
    std::ofstream(dir / "notes.txt") << "not a fluid file";
    std::string error;
    EXPECT_TRUE(Registry::instance().load_folder(dir.string(), error)) << error;
    const Fluid* copy = Registry::instance().find("rcopy32");
    ASSERT_NE(copy, nullptr);
    EXPECT_DOUBLE_EQ(copy->T_crit(), Registry::instance().find("R32")->T_crit());

    std::ofstream(dir / "broken.fluid") << "fluid RBROKEN\nmolar_mass 0.1\n";
    EXPECT_FALSE(Registry::instance().load_folder(dir.string(), error));
    EXPECT_NE(error.find("broken.fluid"), std::string::npos) << error;
    EXPECT_EQ(Registry::instance().find("RBROKEN"), nullptr);

    EXPECT_FALSE(Registry::instance().load_folder((dir / "missing").string(), error));
    EXPECT_NE(error.find("not a folder"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
