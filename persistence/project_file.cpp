#include "project_file.hpp"

#include "conditions_keys.hpp"
#include "family_set_text.hpp"
#include "file_names.hpp"
#include "model_text.hpp"
#include "persistence_texts.hpp"
#include "safe_file.hpp"

namespace kelvra {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kD = kProjectDetailsSection;
constexpr std::string_view kS = kProjectSettingsSection;
constexpr std::string_view kNoModel = "X";

// Paths longer than this are not paths anyone typed.
constexpr std::size_t kMaxPathLength = 4096;

FamilySelection ReadFamilies(const IniFile& ini, std::string_view key) {
    const auto text = ini.Find(kS, key);
    return text ? ParseFamilySet(*text) : FamilySelection{};
}

}  // namespace

ProjectRecord ReadProject(const IniFile& ini, const ProjectRecord& current) {
    ProjectRecord p;
    ProjectDetails& d = p.details;
    d.project = ini.ReadString(kD, "project", "");
    d.contact = ini.ReadString(kD, "contact", "");
    d.company = ini.ReadString(kD, "company", "");
    d.address1 = ini.ReadString(kD, "address1", "");
    d.address2 = ini.ReadString(kD, "address2", "");
    d.address3 = ini.ReadString(kD, "address3", "");
    d.postcode = ini.ReadString(kD, "postcode", "");
    d.place = ini.ReadString(kD, "place", "");
    d.currency = ini.ReadString(kD, "currency", "");
    d.electricity = ini.ReadString(kD, "electricity", "1");
    d.directCost = ini.ReadString(kD, "directcost", "1");
    d.Limit();

    p.conditions = current.conditions;
    ReadConditions(ini, p.conditions, kS);

    p.help = current.help;
    if (const auto help = ini.Find(kS, "help"); help && help->size() <= kMaxPathLength)
        p.help = ForceExtension(*help, ".chm");

    const std::string language = ini.ReadString(kS, "language", "");
    p.language = IsPlainFileName(language) ? language : std::string();

    const std::int32_t mode = ini.ReadInteger(kS, "mode", ToInt(current.mode));
    p.mode = IsActivityMode(mode) ? static_cast<ActivityMode>(mode) : current.mode;

    const std::int32_t units = ini.ReadInteger(kS, "units", ToInt(current.units));
    p.units = (units >= 1 && units <= 3) ? static_cast<UnitSystem>(units) : current.units;

    const std::string fallbackRefrigerant =
        current.refrigerant.empty() ? std::string("R22") : current.refrigerant;
    p.refrigerant = CutToCharacters(ini.ReadString(kS, "refrigerant", fallbackRefrigerant), 35);
    p.powerSupply = ini.ReadInteger(kS, "powerSupply", 1);

    p.compressorFamilies = ReadFamilies(ini, "group");
    p.condensingUnitFamilies = ReadFamilies(ini, "groupU");
    p.controlsFamilies = ReadFamilies(ini, "groupV");

    const std::string name = ini.ReadString(kS, "name", kNoModel);
    p.modelName = name == kNoModel ? std::string() : name;
    return p;
}

ProjectLoad ReadProjectFile(const fs::path& path, const ProjectRecord& current) {
    ProjectLoad load;
    FileContents file = ReadWholeFile(path);
    if (!file.status) {
        load.status = file.status;
        load.project = current;
        return load;
    }
    load.project = ReadProject(IniFile::Parse(file.bytes), current);
    return load;
}

void WriteProject(IniFile& ini, const ProjectRecord& project) {
    ProjectDetails d = project.details;
    d.Limit();
    ini.WriteString(kD, "project", d.project);
    ini.WriteString(kD, "contact", d.contact);
    ini.WriteString(kD, "company", d.company);
    ini.WriteString(kD, "address1", d.address1);
    ini.WriteString(kD, "address2", d.address2);
    ini.WriteString(kD, "address3", d.address3);
    ini.WriteString(kD, "postcode", d.postcode);
    ini.WriteString(kD, "place", d.place);
    ini.WriteString(kD, "currency", d.currency);
    ini.WriteString(kD, "electricity", d.electricity);
    ini.WriteString(kD, "directcost", d.directCost);

    WriteConditions(ini, project.conditions, kS);
    ini.WriteInteger(kS, "mode", ToInt(project.mode));
    ini.WriteString(kS, "help", project.help);
    if (!project.language.empty()) ini.WriteString(kS, "language", project.language);
    ini.WriteInteger(kS, "units", ToInt(project.units));
    ini.WriteString(kS, "group", FamilySetText(project.compressorFamilies));
    ini.WriteString(kS, "groupU", FamilySetText(project.condensingUnitFamilies));
    ini.WriteString(kS, "groupV", FamilySetText(project.controlsFamilies));
    ini.WriteString(kS, "name", project.modelName.empty() ? kNoModel : project.modelName);
    if (!project.refrigerant.empty()) ini.WriteString(kS, "refrigerant", project.refrigerant);
    if (project.powerSupply) ini.WriteInteger(kS, "powerSupply", *project.powerSupply);
}

IoStatus SaveProjectFile(const fs::path& path, const ProjectRecord& project) {
    IniFile ini;
    FileContents existing = ReadWholeFile(path);
    if (existing.exists) {
        if (!existing.status)
            return IoStatus::Failure(Text(texts::kUnableToWrite) + " " + path.string(),
                                     existing.status.FullText());
        ini = IniFile::Parse(existing.bytes);
    }
    WriteProject(ini, project);
    return ini.Save(path);
}

std::string ProjectCaption(const fs::path& projectFile) {
    if (projectFile.empty()) return Text(texts::kSelect);
    return Text(texts::kSelect) + " " + Text(texts::kProject) + ":" + projectFile.stem().string();
}

std::string SaveProjectQuestion(std::string_view menuCaption, std::string_view projectName,
                                const fs::path& projectFile) {
    std::string caption;
    for (const char c : menuCaption)
        if (c != '&') caption.push_back(c);
    return caption + " " + std::string(projectName) + " \n\r" + projectFile.string();
}

std::vector<IoStatus> CopyMissingProjectFiles(const fs::path& installationFolder,
                                              const fs::path& userFolder) {
    std::vector<IoStatus> failures;
    std::error_code ec;
    if (fs::equivalent(installationFolder, userFolder, ec)) return failures;
    for (const std::string& name : FilesWithExtension(installationFolder, kProjectExtension)) {
        if (FindFileIgnoringCase(userFolder, name)) continue;
        const FileContents source = ReadWholeFile(installationFolder / name);
        if (!source.status) {
            failures.push_back(source.status);
            continue;
        }
        const IniFile from = IniFile::Parse(source.bytes);
        IniFile to;
        for (const std::string_view section : {kD, kS})
            for (const auto& [key, value] : from.SectionEntries(section))
                if (!to.HasKey(section, key))
                    to.WriteString(section, key, from.ReadString(section, key, value));
        if (IoStatus saved = to.Save(userFolder / name); !saved) failures.push_back(saved);
    }
    return failures;
}

}  // namespace kelvra
