#include "project_file.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "family_set_text.hpp"
#include "file_fixtures.hpp"
#include "language_table.hpp"

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using testing::AsOrdinaryUser;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

FamilySelection Families(std::initializer_list<int> codes) {
    FamilySelection set;
    for (const int code : codes) set.Add(code);
    return set;
}

void ExpectSameProject(const ProjectRecord& a, const ProjectRecord& b) {
    EXPECT_EQ(a.details, b.details);
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.help, b.help);
    EXPECT_EQ(a.language, b.language);
    EXPECT_EQ(a.units, b.units);
    EXPECT_EQ(a.refrigerant, b.refrigerant);
    EXPECT_EQ(a.powerSupply, b.powerSupply);
    EXPECT_EQ(a.compressorFamilies, b.compressorFamilies);
    EXPECT_EQ(a.condensingUnitFamilies, b.condensingUnitFamilies);
    EXPECT_EQ(a.controlsFamilies, b.controlsFamilies);
    EXPECT_EQ(a.modelName, b.modelName);
    EXPECT_EQ(a.conditions.evapTemp, b.conditions.evapTemp);
    EXPECT_EQ(a.conditions.condTemp, b.conditions.condTemp);
    EXPECT_EQ(a.conditions.condPressure, b.conditions.condPressure);
    EXPECT_EQ(a.conditions.condByPressure, b.conditions.condByPressure);
    EXPECT_EQ(a.conditions.gasCoolerOutletTemp, b.conditions.gasCoolerOutletTemp);
    EXPECT_EQ(a.conditions.capacity, b.conditions.capacity);
}

// The main window's state while a project is loaded: it must not show through.
ProjectRecord OtherWindowState() {
    ProjectRecord current;
    current.mode = ActivityMode::FilterDriers;
    current.units = UnitSystem::Kcal;
    current.help = "/opt/kelvra/french.chm";
    current.refrigerant = "R717";
    current.conditions.evapTemp = 7;
    return current;
}

TEST(ProjectFileTest, ProjectsSurviveTheRoundTrip) {
    std::vector<ProjectRecord> projects(3);
    {
        ProjectRecord& p = projects[0];
        p.details.project = "K\xC3\xBChlhaus Nord";  // Kühlhaus
        p.details.contact = "J. Smith";
        p.details.company = "Frost & Sons Ltd";
        p.details.address1 = "1 Ice Lane";
        p.details.postcode = "AB1 2CD";
        p.details.place = "Leeds";
        p.details.currency = "\xE2\x82\xAC";
        p.details.electricity = "0.25";
        p.details.directCost = "0.08";
        p.mode = ActivityMode::Compressors;
        p.help = "/opt/kelvra/english.chm";
        p.language = "german.lng";
        p.units = UnitSystem::Imperial;
        p.refrigerant = "R404A";
        p.powerSupply = 42;
        p.compressorFamilies = Families({1, 3, 11, 24, 70, 191, 200, 255});
        p.condensingUnitFamilies = Families({2});
        p.modelName = "ZX-45 K";
        p.conditions.evapTemp = -35.5;
        p.conditions.condTemp = 40.25;
        p.conditions.capacity = 12.34;
    }
    {
        ProjectRecord& p = projects[1];  // CO2 transcritical, nothing selected
        p.mode = ActivityMode::Compressors;
        p.help = "C:\\Program Files\\Kelvra\\english.chm";
        p.units = UnitSystem::SI;
        p.refrigerant = "R744";
        p.powerSupply = 1;
        p.conditions.condByPressure = 1;
        p.conditions.condPressure = 95.5;
        p.conditions.gasCoolerOutletTemp = 36;
    }
    {
        ProjectRecord& p = projects[2];  // heat pumps, negative supply code
        p.mode = ActivityMode::AirWaterHeatPumps;
        p.help = "/h.chm";
        p.units = UnitSystem::Kcal;
        p.refrigerant = "R407C";
        p.powerSupply = -5;
        p.controlsFamilies = Families({1, 2, 3, 4, 5, 6, 7});
        p.modelName = "HP 12";
    }
    TempFolder folder;
    for (std::size_t i = 0; i < projects.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path file = folder / fmt::format("p{}.kvj", i);
        ASSERT_TRUE(SaveProjectFile(file, projects[i]));
        const ProjectLoad load = ReadProjectFile(file, OtherWindowState());
        ASSERT_TRUE(load.status);
        ExpectSameProject(load.project, projects[i]);
    }
}

// A project saved with a selected model brings back that model's refrigerant and supply, whatever
// the main window shows when it is loaded.
TEST(ProjectFileTest, ModelRestoresItsRefrigerantAndSupply) {
    ProjectRecord saved;
    saved.refrigerant = "R134a";  // the model's, given by the caller
    saved.powerSupply = 7;
    saved.modelName = "Scroll 30";
    IniFile ini;
    WriteProject(ini, saved);
    ProjectRecord current = OtherWindowState();
    current.powerSupply = 3;
    const ProjectRecord read = ReadProject(ini, current);
    EXPECT_EQ(read.refrigerant, "R134a");
    EXPECT_EQ(read.powerSupply, 7);
    EXPECT_EQ(read.modelName, "Scroll 30");
}

TEST(ProjectFileTest, MissingKeysTakeTheWindowsStateOrTheirDefaults) {
    const ProjectRecord current = OtherWindowState();
    const ProjectRecord read = ReadProject(IniFile::Parse(""), current);
    EXPECT_EQ(read.details, ProjectDetails{});
    EXPECT_EQ(read.details.electricity, "1");
    EXPECT_EQ(read.mode, current.mode);
    EXPECT_EQ(read.units, current.units);
    EXPECT_EQ(read.help, current.help);
    EXPECT_EQ(read.language, "");
    EXPECT_EQ(read.refrigerant, "R717");
    EXPECT_EQ(read.powerSupply, 1);
    EXPECT_TRUE(read.compressorFamilies.Empty());
    EXPECT_TRUE(read.condensingUnitFamilies.Empty());
    EXPECT_TRUE(read.controlsFamilies.Empty());
    EXPECT_EQ(read.modelName, "");
    EXPECT_EQ(read.conditions.capacity, 0);  // the conditions keys' own default

    ProjectRecord none = current;
    none.refrigerant.clear();
    EXPECT_EQ(ReadProject(IniFile::Parse(""), none).refrigerant, "R22");
}

TEST(ProjectFileTest, ValuesOutOfRangeOrUnsafe) {
    const IniFile ini = IniFile::Parse(
        "[DEFAULTS]\n"
        "project=A project name much longer than thirty characters\n"
        "postcode=ABCDEFGHIJKLMNOP\n"
        "[settings]\n"
        "mode=9\nunits=0\n"
        "language=../../etc/passwd\n"
        "help=C:\\Kelvra\\help.hlp\n"
        "group=X\ngroupU=\ngroupV=CK\n"
        "name=X\n");
    const ProjectRecord current = OtherWindowState();
    const ProjectRecord read = ReadProject(ini, current);
    EXPECT_EQ(read.details.project, "A project name much longer tha");
    EXPECT_EQ(read.details.postcode, "ABCDEFGHIJ");
    EXPECT_EQ(read.mode, current.mode);
    EXPECT_EQ(read.units, current.units);
    EXPECT_EQ(read.language, "");  // only a file name of the installation folder
    EXPECT_EQ(read.help, "C:\\Kelvra\\help.chm");
    // "X" is the default of a missing key; written by a program it is family 24.
    EXPECT_EQ(read.compressorFamilies.Codes(), std::vector<int>{24});
    EXPECT_TRUE(read.condensingUnitFamilies.Empty());
    EXPECT_EQ(read.controlsFamilies.Codes(), (std::vector<int>{3, 11}));
    EXPECT_EQ(read.modelName, "");
}

// Saving over an older project keeps what the project does not name and leaves nothing of the
// older selection behind.
TEST(ProjectFileTest, SavingOverAFileKeepsItsOtherKeys) {
    TempFolder folder;
    const fs::path file = folder / "store.kvj";
    WriteBytes(file,
               "; notes by the engineer\r\n"
               "[DEFAULTS]\r\nproject=Old\r\nreviewer=M\xFCller\r\n"
               "[settings]\r\nrefrigerant=R22\r\nname=Old model\r\nlanguage=french.lng\r\n"
               "[Quote]\r\nprice=1200\r\n");
    ProjectRecord p;
    p.details.project = "New";
    p.refrigerant = "R449A";
    p.powerSupply = 2;
    ASSERT_TRUE(SaveProjectFile(file, p));
    const IniFile back = IniFile::Parse(ReadBytes(file));
    EXPECT_EQ(back.ReadString("DEFAULTS", "project", ""), "New");
    EXPECT_EQ(back.ReadString("DEFAULTS", "reviewer", ""), "M\xC3\xBCller");
    EXPECT_EQ(back.ReadInteger("Quote", "price", 0), 1200);
    EXPECT_EQ(back.ReadString("settings", "refrigerant", ""), "R449A");
    EXPECT_EQ(back.ReadString("settings", "name", ""), "X");
    EXPECT_EQ(back.ReadString("settings", "language", ""), "french.lng");  // none set: kept
    EXPECT_EQ(ReadBytes(file).substr(0, 25), "; notes by the engineer\r\n");
}

TEST(ProjectFileTest, FailedSaveLeavesTheOldFile) {
    TempFolder folder;
    const fs::path file = folder / "store.kvj";
    const std::string old = "[DEFAULTS]\nproject=Old\n";
    WriteBytes(file, old);
    ::chmod(folder.path().c_str(), 0555);
    IoStatus status;
    {
        AsOrdinaryUser user;
        if (!user.active) GTEST_SKIP() << "cannot drop root rights";
        status = SaveProjectFile(file, ProjectRecord{});
    }
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Unable to write to " + file.string());
    EXPECT_EQ(ReadBytes(file), old);

    const ProjectLoad missing = ReadProjectFile(folder / "none.kvj", OtherWindowState());
    EXPECT_FALSE(missing.status);
    EXPECT_EQ(missing.project.refrigerant, "R717");
}

TEST(ProjectFileTest, CaptionsAndQuestion) {
    ResetLanguageTexts();
    EXPECT_EQ(ProjectCaption("/home/me/kelvra/Cold store.kvj"), "Kelvra 7.7 Project:Cold store");
    EXPECT_EQ(ProjectCaption({}), "Kelvra 7.7");
    auto german = std::make_shared<LanguageTable>();
    german->LoadText("[Sections]\nA=\n[A]\nstrProject=Projekt\n");
    InstallLanguage(german);
    EXPECT_EQ(ProjectCaption("/x/Halle.kvj"), "Kelvra 7.7 Projekt:Halle");
    InstallLanguage(nullptr);
    EXPECT_EQ(SaveProjectQuestion("&Save Project", "Cold store", "/p/c.kvj"),
              "Save Project Cold store \n\r/p/c.kvj");
}

TEST(ProjectFileTest, ProjectDetailsWindowRules) {
    ProjectDetails details;
    details.place = "Leeds";
    details.electricity = "0";
    details.project = "Old";
    details.ClearForNewProject();
    EXPECT_EQ(details.project, "");
    EXPECT_EQ(details.place, "Leeds");
    EXPECT_EQ(details.electricity, "1");

    CustomerFields fields;
    fields.project = std::string(40, 'p');
    fields.postcode = "ab1 2cd m\xC3\xBCnchen";  // münchen
    ApplyCustomerFields(fields, details);
    EXPECT_EQ(details.project, std::string(30, 'p'));
    EXPECT_EQ(details.postcode, "AB1 2CD M\xC3\x9C");  // upper case, cut to 10 characters
    EXPECT_EQ(CustomerFieldsOf(details).postcode, details.postcode);
}

TEST(ProjectFileTest, InstalledProjectsAreCopiedOnce) {
    TempFolder install;
    TempFolder user;
    WriteBytes(install / "Demo.KVJ",
               "[DEFAULTS]\nproject=Demo\n[settings]\nmode=1\ncond=4500\n[Junk]\nx=1\n");
    WriteBytes(install / "mine.kvj", "[DEFAULTS]\nproject=Shipped\n");
    WriteBytes(user / "mine.kvj", "[DEFAULTS]\nproject=Mine\n");
    EXPECT_TRUE(CopyMissingProjectFiles(install.path(), user.path()).empty());
    EXPECT_EQ(ReadBytes(user / "mine.kvj"), "[DEFAULTS]\nproject=Mine\n");
    const IniFile copied = IniFile::Parse(ReadBytes(user / "Demo.KVJ"));
    EXPECT_EQ(copied.ReadString("DEFAULTS", "project", ""), "Demo");
    EXPECT_EQ(copied.ReadInteger("settings", "cond", 0), 4500);
    EXPECT_FALSE(copied.HasSection("Junk"));
}

}  // namespace
}  // namespace kelvra
