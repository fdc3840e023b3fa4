#include "property_library.hpp"

#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "library_folders.hpp"

namespace kelvra {
namespace {

using testing::TempFolder;

bool AllGeneralSet(const PropertyEntryPoints& e) {
    return e.ILK_Set_Fluids && e.ILK_pc && e.ILK_tc && e.ILK_p_D && e.ILK_p_B && e.ILK_t_D &&
           e.ILK_t_B && e.ILK_h_L && e.ILK_h_V && e.ILK_s_V && e.ILK_V_V;
}
bool AnyGeneralSet(const PropertyEntryPoints& e) {
    return e.ILK_Set_Fluids || e.ILK_pc || e.ILK_tc || e.ILK_p_D || e.ILK_p_B || e.ILK_t_D ||
           e.ILK_t_B || e.ILK_h_L || e.ILK_h_V || e.ILK_s_V || e.ILK_V_V;
}
bool AllCO2Set(const PropertyEntryPoints& e) {
    return e.KRITCO2 && e.PTVCO2 && e.TPVCO2 && e.VPTCO2 && e.VLPTCO2 && e.HTVCO2 && e.STVCO2;
}
bool AnyCO2Set(const PropertyEntryPoints& e) {
    return e.KRITCO2 || e.PTVCO2 || e.TPVCO2 || e.VPTCO2 || e.VLPTCO2 || e.HTVCO2 || e.STVCO2;
}

class PropertyLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override { UnloadPropertyLibraries(); }
    void TearDown() override { UnloadPropertyLibraries(); }
};

TEST_F(PropertyLibraryTest, FileNamesFollowThePlatform) {
#if defined(_WIN32)
    EXPECT_EQ(PropertyLibraryFileName(PropertyLibraryKind::General), "ASEREP32.DLL");
    EXPECT_EQ(PropertyLibraryFileName(PropertyLibraryKind::CO2), "CO2_LIB32.DLL");
#elif defined(__APPLE__)
    EXPECT_EQ(PropertyLibraryFileName(PropertyLibraryKind::General), "libaserep32.dylib");
    EXPECT_EQ(PropertyLibraryFileName(PropertyLibraryKind::CO2), "libco2_lib32.dylib");
#else
    EXPECT_EQ(PropertyLibraryFileName(PropertyLibraryKind::General), "libaserep32.so");
    EXPECT_EQ(PropertyLibraryFileName(PropertyLibraryKind::CO2), "libco2_lib32.so");
#endif
}

TEST_F(PropertyLibraryTest, InstallationFolderIsTheFolderOfTheProgram) {
    const std::filesystem::path folder = InstallationFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::exists(folder / program_invocation_short_name));
    EXPECT_TRUE(
        std::filesystem::exists(folder / PropertyLibraryFileName(PropertyLibraryKind::General)));
}

TEST_F(PropertyLibraryTest, LoadsBothLibrariesFromTheInstallationFolder) {
    const LoadedPropertyLibraries loaded = LoadPropertyLibraries();
    EXPECT_TRUE(loaded.general);
    EXPECT_TRUE(loaded.co2);
    EXPECT_TRUE(PropertyLibrariesLoaded().general);
    EXPECT_TRUE(PropertyLibrariesLoaded().co2);
    EXPECT_TRUE(AllGeneralSet(PropertyEntries()));
    EXPECT_TRUE(AllCO2Set(PropertyEntries()));

    // The entry points answer.
    double Tc = 0;
    EXPECT_EQ(PropertyEntries().ILK_tc("R134a", &Tc), 0);
    EXPECT_NEAR(Tc - 273.15, 101.062, 1e-3);
}

TEST_F(PropertyLibraryTest, UnloadUnsetsEveryEntryPointAndReloadWorks) {
    LoadPropertyLibraries();
    UnloadPropertyLibraries();
    EXPECT_FALSE(PropertyLibrariesLoaded().general);
    EXPECT_FALSE(PropertyLibrariesLoaded().co2);
    EXPECT_FALSE(AnyGeneralSet(PropertyEntries()));
    EXPECT_FALSE(AnyCO2Set(PropertyEntries()));

    LoadPropertyLibraries();
    EXPECT_TRUE(AllGeneralSet(PropertyEntries()));
    EXPECT_TRUE(AllCO2Set(PropertyEntries()));
}

// Which libraries a folder offers, and what must be loaded from it.
struct FolderCase {
    const char* label;
    bool general;        // a copy of the general library
    bool co2;            // a copy of the CO2 library
    bool brokenGeneral;  // a file of the general library's name that is no library
};

class PropertyLibraryFolderTest : public PropertyLibraryTest,
                                  public ::testing::WithParamInterface<FolderCase> {};

TEST_P(PropertyLibraryFolderTest, LoadsWhatIsThereAndLeavesTheRestUnset) {
    const FolderCase& c = GetParam();
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    if (c.general) folder.CopyLibrary(PropertyLibraryKind::General);
    if (c.co2) folder.CopyLibrary(PropertyLibraryKind::CO2);
    if (c.brokenGeneral)
        folder.Write(PropertyLibraryFileName(PropertyLibraryKind::General), "not a library");

    // A previous load is released first, whatever the new folder holds.
    LoadPropertyLibraries();
    const LoadedPropertyLibraries loaded = LoadPropertyLibraries(folder.str());

    EXPECT_EQ(loaded.general, c.general);
    EXPECT_EQ(loaded.co2, c.co2);
    EXPECT_EQ(PropertyLibrariesLoaded().general, c.general);
    EXPECT_EQ(PropertyLibrariesLoaded().co2, c.co2);
    if (c.general)
        EXPECT_TRUE(AllGeneralSet(PropertyEntries()));
    else
        EXPECT_FALSE(AnyGeneralSet(PropertyEntries()));
    if (c.co2)
        EXPECT_TRUE(AllCO2Set(PropertyEntries()));
    else
        EXPECT_FALSE(AnyCO2Set(PropertyEntries()));
}

INSTANTIATE_TEST_SUITE_P(Folders, PropertyLibraryFolderTest,
                         ::testing::Values(FolderCase{"empty", false, false, false},
                                           FolderCase{"generalOnly", true, false, false},
                                           FolderCase{"co2Only", false, true, false},
                                           FolderCase{"both", true, true, false},
                                           FolderCase{"brokenGeneral", false, true, true}),
                         [](const ::testing::TestParamInfo<FolderCase>& info) {
                             return info.param.label;
                         });

TEST_F(PropertyLibraryTest, NonexistentFolderLoadsNothing) {
    const LoadedPropertyLibraries loaded = LoadPropertyLibraries("/nonexistent/kelvra/folder");
    EXPECT_FALSE(loaded.general);
    EXPECT_FALSE(loaded.co2);
    EXPECT_FALSE(AnyGeneralSet(PropertyEntries()));
}

// The general library is told the installation folder, where extra fluid files may sit.
TEST_F(PropertyLibraryTest, GeneralLibraryIsGivenTheInstallationFolder) {
    std::ifstream in(std::filesystem::path(KELVRA_SOURCE_DIR) / "fluids/data/R134a.fluid");
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    std::string data = text.str();
    const std::string line = "fluid R134a\n";
    const auto at = data.find(line);
    ASSERT_NE(at, std::string::npos);
    data.replace(at, line.size(), "fluid R134xtest\n");

    TempFolder folder;
    folder.CopyLibrary(PropertyLibraryKind::General);
    folder.Write("R134xtest.fluid", data);
    ASSERT_TRUE(LoadPropertyLibraries(folder.str()).general);

    double Tc = 0;
    EXPECT_EQ(PropertyEntries().ILK_tc("R134xtest", &Tc), 0);
    EXPECT_NEAR(Tc - 273.15, 101.062, 1e-3);

    // A folder without the file: the fluid is unknown there.
    TempFolder plain;
    plain.CopyLibrary(PropertyLibraryKind::General);
    ASSERT_TRUE(LoadPropertyLibraries(plain.str()).general);
    EXPECT_NE(PropertyEntries().ILK_tc("R134xtest", &Tc), 0);
}

}  // namespace
}  // namespace kelvra
