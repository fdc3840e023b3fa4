#pragma once

// Project files ("*.kvj"): an INI file holding a whole selection - the project details, the
// operating conditions, mode, unit system, refrigerant, supply, the chosen families and the
// selected model.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "activity_mode.hpp"
#include "family_selection.hpp"
#include "ini_file.hpp"
#include "io_status.hpp"
#include "operating_conditions.hpp"
#include "project_details.hpp"
#include "units.hpp"

namespace kelvra {

inline constexpr std::string_view kProjectExtension = ".kvj";
inline constexpr std::string_view kProjectFilter = "*.kvj";
inline constexpr std::string_view kProjectDetailsSection = "DEFAULTS";
inline constexpr std::string_view kProjectSettingsSection = "settings";

// What a project file holds.
struct ProjectRecord {
    ProjectDetails details;
    OperatingConditions conditions;
    ActivityMode mode = ActivityMode::Compressors;
    std::string help;      // help file path
    std::string language;  // language file name; empty when none is set
    UnitSystem units = UnitSystem::SI;
    std::string refrigerant;                 // refrigerant name; empty when none is current
    std::optional<int> powerSupply;          // supply code; none when no supply is current
    FamilySelection compressorFamilies;      // "group"
    FamilySelection condensingUnitFamilies;  // "groupU"
    FamilySelection controlsFamilies;        // "groupV"
    std::string modelName;                   // the selected model; empty when none is selected
};

// Reads a project. `current` is the main window's state, which supplies what the file does not
// hold: the conditions members without a key, the mode, help file and unit system when their
// keys are missing or out of range, and the refrigerant (or "R22" when there is none). A family
// set whose key is missing is empty; the model name "X" or a missing one means no model. The
// help path has its extension forced to ".chm" (the caller applies it only when that file
// exists); a language that is not a plain file name is ignored.
ProjectRecord ReadProject(const IniFile& ini, const ProjectRecord& current);

struct ProjectLoad {
    IoStatus status;
    ProjectRecord project;
};
ProjectLoad ReadProjectFile(const std::filesystem::path& path, const ProjectRecord& current);

// Writes the project's keys into `ini`; keys the project does not name stay as they were. The
// refrigerant and supply are written whenever they are known (the caller gives those of the
// selected model when there is one), and "name" is always written - "X" without a model - so
// that a file saved over an older project never keeps that project's refrigerant or model.
void WriteProject(IniFile& ini, const ProjectRecord& project);

// Writes the project into the file at `path`, keeping the keys of an existing file that the
// project does not name. An existing file that cannot be read is left alone and reported.
IoStatus SaveProjectFile(const std::filesystem::path& path, const ProjectRecord& project);

// The main window's caption for a project: "strSelect" + " " + "strProject" + ":" followed by the
// file name without folder and extension; for a new project (empty path) "strSelect" alone.
std::string ProjectCaption(const std::filesystem::path& projectFile);

// The question before saving over the current project: the menu caption without its "&"
// characters, a blank, the project name, a blank, a line break and the file path.
std::string SaveProjectQuestion(std::string_view menuCaption, std::string_view projectName,
                                const std::filesystem::path& projectFile);

// Puts a copy of every project file of the installation folder that the user folder does not
// hold yet into the user folder (its "DEFAULTS" and "settings" sections). Returns the failures.
std::vector<IoStatus> CopyMissingProjectFiles(const std::filesystem::path& installationFolder,
                                              const std::filesystem::path& userFolder);

}  // namespace kelvra
