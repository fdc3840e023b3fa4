#include "settings_file.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "conditions_keys.hpp"
#include "family_set_text.hpp"
#include "file_names.hpp"
#include "language_table.hpp"
#include "model_text.hpp"
#include "persistence_texts.hpp"
#include "safe_file.hpp"

namespace kelvra {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDefaults = "DEFAULTS";
constexpr std::string_view kDealer = "DEALER";
constexpr std::string_view kCust = "CUST";
constexpr std::string_view kSelectionList = "sellist";
constexpr std::string_view kFamilies = "FAMILIES";
constexpr std::string_view kNoModel = "X";
constexpr std::size_t kMaxPathLength = 4096;
constexpr std::size_t kRefrigerantNameLength = 35;
constexpr std::size_t kCustomFamilyNameLength = 35;

constexpr std::array<std::string_view, 3> kMetricTableKeys{"DefCTable", "DefUCTable", "DefHCTable"};
constexpr std::array<std::string_view, 3> kImperialTableKeys{"DefFTable", "DefUFTable",
                                                             "DefHFTable"};

int ReadInRange(const IniFile& ini, std::string_view section, std::string_view key, int fallback,
                int lo, int hi) {
    const int value = ini.ReadInteger(section, key, fallback);
    return (value >= lo && value <= hi) ? value : fallback;
}

std::string ReadLimited(const IniFile& ini, std::string_view section, std::string_view key,
                        std::string_view fallback, std::size_t maxCharacters) {
    return CutToCharacters(ini.ReadString(section, key, fallback), maxCharacters);
}

std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

void DealerDetails::Limit() {
    for (std::string* text :
         {&salesman, &company, &address1, &address2, &address3, &email, &printFont, &pdfFont})
        *text = CutToCharacters(*text, kTextLength);
    postcode = CutToCharacters(postcode, kPostcodeLength);
    phone = CutToCharacters(phone, kPhoneLength);
    fax = CutToCharacters(fax, kPhoneLength);
}

Settings::Settings()
    : compressorFamilies(ParseFamilySet("C")),
      condensingUnitFamilies(ParseFamilySet("A")),
      controlsFamilies(ParseFamilySet("A")),
      heatPumpFamilies(ParseFamilySet("A")) {}

SelectionListColumns ReadSelectionListColumns(const IniFile& ini) {
    SelectionListColumns columns;
    columns.count =
        ReadInRange(ini, kSelectionList, "numcols", 6, 0, SelectionListColumns::kMaxColumns);
    columns.kinds = ini.ReadString(kSelectionList, "itemKind", "");
    if (columns.kinds.size() > SelectionListColumns::kMaxColumns)
        columns.kinds.resize(SelectionListColumns::kMaxColumns);
    for (int i = 0; i < columns.count; ++i)
        columns.codes.push_back(ini.ReadInteger(kSelectionList, fmt::format("c{}", i), -1));
    return columns;
}

void WriteSelectionListColumns(IniFile& ini, const SelectionListColumns& columns) {
    const int count = std::clamp(columns.count, 0, SelectionListColumns::kMaxColumns);
    ini.WriteInteger(kSelectionList, "numcols", count);
    ini.WriteString(kSelectionList, "itemKind", columns.kinds);
    for (int i = 0; i < count; ++i) {
        const int code = static_cast<std::size_t>(i) < columns.codes.size() ? columns.codes[i] : -1;
        ini.WriteInteger(kSelectionList, fmt::format("c{}", i), code);
    }
}

std::vector<CustomFamilyRecord> ReadCustomFamilies(const IniFile& ini) {
    // One pass over the section; look-ups by key afterwards, the first occurrence counting.
    const auto entries = ini.SectionEntries(kFamilies);
    std::unordered_map<std::string, std::string> values;
    values.reserve(entries.size());
    for (const auto& [key, value] : entries) {
        std::string lower = key;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        values.emplace(std::move(lower), Unquoted(value));
    }
    const auto get = [&](const std::string& lowerKey) -> const std::string* {
        const auto it = values.find(lowerKey);
        return it == values.end() ? nullptr : &it->second;
    };
    const auto integer = [&](const std::string& lowerKey, int fallback) {
        const std::string* text = get(lowerKey);
        if (!text) return fallback;
        return ParseInteger(*text).value_or(fallback);
    };
    const int bound = static_cast<int>(std::min<std::size_t>(entries.size(), 1'000'000));

    std::vector<CustomFamilyRecord> families;
    const int count = std::clamp(integer("numfam", 0), 0, bound);
    for (int i = 0; i < count; ++i) {
        const std::string* name = get(fmt::format("fam{}", i));
        if (!name || TrimText(*name).empty()) continue;
        CustomFamilyRecord family;
        family.name = CutToCharacters(TrimText(*name), kCustomFamilyNameLength);
        const std::string* kind = get(fmt::format("kind{}", i));
        if (kind && !kind->empty() && (*kind)[0] > ' ' &&
            static_cast<unsigned char>((*kind)[0]) < 0x7F)
            family.kind = (*kind)[0];
        family.category = integer(fmt::format("cat{}", i), 9);
        const int members = std::clamp(integer(fmt::format("numfam{}", i), 0), 0, bound);
        for (int j = 0; j < members; ++j) {
            const std::string* id = get(fmt::format("f{}m{}", i, j));
            if (!id) continue;
            if (const auto value = ParseInteger(*id)) family.memberIds.push_back(*value);
        }
        families.push_back(std::move(family));
    }
    return families;
}

void WriteCustomFamilies(IniFile& ini, const std::vector<CustomFamilyRecord>& families) {
    ini.EraseSection(kFamilies);
    ini.WriteInteger(kFamilies, "numFam", static_cast<int>(families.size()));
    for (std::size_t i = 0; i < families.size(); ++i) {
        const CustomFamilyRecord& family = families[i];
        ini.WriteString(kFamilies, fmt::format("fam{}", i),
                        CutToCharacters(family.name, kCustomFamilyNameLength));
        ini.WriteString(kFamilies, fmt::format("kind{}", i), std::string(1, family.kind));
        ini.WriteInteger(kFamilies, fmt::format("cat{}", i), family.category);
        ini.WriteInteger(kFamilies, fmt::format("numfam{}", i),
                         static_cast<int>(family.memberIds.size()));
        for (std::size_t j = 0; j < family.memberIds.size(); ++j)
            ini.WriteInteger(kFamilies, fmt::format("F{}M{}", i, j), family.memberIds[j]);
    }
}

Settings ReadSettings(const IniFile& ini, std::string_view startupHelpFile) {
    Settings s;
    const std::string_view d = kDefaults;

    s.window.left = ini.ReadInteger(d, "winleft", 0);
    s.window.top = ini.ReadInteger(d, "wintop", 0);
    s.window.width = ReadInRange(ini, d, "winwidth", 790, 1, 100000);
    s.window.height = ReadInRange(ini, d, "winheight", 550, 1, 100000);
    // Maximised only by a value beginning with a capital "M".
    const std::string winmax = ini.ReadString(d, "winmax", "NORMAL");
    s.window.maximised = !winmax.empty() && winmax.front() == 'M';
    // Manual choice only by a value beginning with a capital "F"; "false" keeps automatic
    // selection, as it always has.
    const std::string autoSelect = ini.ReadString(d, "autoSelect", "True");
    s.autoSelect = autoSelect.empty() || autoSelect.front() != 'F';
    s.activeTab = ReadInRange(ini, d, "Activity", 0, 0, 1000);

    const std::string language = ini.ReadString(d, "language", kDefaultLanguageFile);
    s.language = IsPlainFileName(language) ? language : std::string(kDefaultLanguageFile);

    std::string help = ini.ReadString(d, "help", startupHelpFile);
    if (help.size() > kMaxPathLength) help = std::string(startupHelpFile);
    s.help = help.empty() ? std::string(kDefaultHelpFile) : ForceExtension(help, ".chm");

    const int mode = ini.ReadInteger(d, "mode", 0);
    s.mode = IsActivityMode(mode) ? static_cast<ActivityMode>(mode) : ActivityMode::Compressors;
    s.units = static_cast<UnitSystem>(ReadInRange(ini, d, "units", 1, 1, 3));
    for (std::size_t i = 0; i < 3; ++i) {
        s.defaultTables.metric[i] = ReadInRange(ini, d, kMetricTableKeys[i], 0, 0, 1'000'000);
        s.defaultTables.imperial[i] = ReadInRange(ini, d, kImperialTableKeys[i], 0, 0, 1'000'000);
    }

    s.refrigerant = ReadLimited(ini, d, "refrigerant", "R404A", kRefrigerantNameLength);
    const std::string glide = ini.ReadString(d, "glide", "");
    s.glide = glide.empty() ? ' ' : glide.front();
    s.powerSupply = ini.ReadInteger(d, "powerSupply", 1);
    s.compressorFamilies = ParseFamilySet(ini.ReadString(d, "group", "C"));
    s.condensingUnitFamilies = ParseFamilySet(ini.ReadString(d, "groupU", "A"));
    s.controlsFamilies = ParseFamilySet(ini.ReadString(d, "groupV", "A"));
    s.heatPumpFamilies = ParseFamilySet(ini.ReadString(d, "groupP", "A"));
    const std::string name = ini.ReadString(d, "name", kNoModel);
    s.modelName = name == kNoModel ? std::string() : name;
    s.heatPumpFile = ini.ReadString(d, "hpfile", "X");
    if (s.heatPumpFile.size() > kMaxPathLength) s.heatPumpFile = "X";

    DealerDetails& dealer = s.dealer;
    dealer.salesman = ini.ReadString(kDealer, "salesman", "");
    dealer.company = ini.ReadString(kDealer, "company", "");
    dealer.address1 = ini.ReadString(kDealer, "address1", "");
    dealer.address2 = ini.ReadString(kDealer, "address2", "");
    dealer.address3 = ini.ReadString(kDealer, "address3", "");
    dealer.postcode = ini.ReadString(kDealer, "postcode", "");
    dealer.phone = ini.ReadString(kDealer, "phone", "");
    dealer.fax = ini.ReadString(kDealer, "fax", "");
    dealer.email = ini.ReadString(kDealer, "email", "");
    dealer.printFont = ini.ReadString(kDealer, "printFont", "Arial");
    dealer.pdfFont = ini.ReadString(kDealer, "pdfFont", "Arial");
    if (TrimText(dealer.printFont).empty()) dealer.printFont = "Arial";
    if (TrimText(dealer.pdfFont).empty()) dealer.pdfFont = "Arial";
    dealer.Limit();

    s.place = ReadLimited(ini, kCust, "place", "X", 30);
    s.currency.symbol = ReadLimited(ini, kCust, "currency", "$", 10);
    s.currency.format = ReadInRange(ini, kCust, "currFormat", 0, 0, 3);
    s.currency.negativeFormat = ReadInRange(ini, kCust, "currNeg", 0, 0, 15);
    s.currency.decimals = ReadInRange(ini, kCust, "currDps", 2, 0, 9);
    s.electricity = ReadLimited(ini, kCust, "electricity", "1", 10);
    s.directCost = ReadLimited(ini, kCust, "directcost", "1", 10);

    ReadConditions(ini, s.conditions);

    if (ini.HasSection(kSelectionList)) s.selectionList = ReadSelectionListColumns(ini);
    if (ini.HasSection(kFamilies)) s.customFamilies = ReadCustomFamilies(ini);
    return s;
}

void WriteSettings(IniFile& ini, const Settings& s) {
    const std::string_view d = kDefaults;
    ini.WriteString(d, "winmax", s.window.maximised ? "MAX" : "NORMAL");
    ini.WriteInteger(d, "Activity", s.activeTab);
    ini.WriteString(d, "autoSelect", s.autoSelect ? "True" : "False");
    ini.WriteString(d, "hpfile", s.heatPumpFile);
    ini.WriteInteger(d, "mode", ToInt(s.mode));
    ini.WriteInteger(d, "winleft", s.window.left);
    ini.WriteInteger(d, "wintop", s.window.top);
    ini.WriteInteger(d, "winwidth", s.window.width);
    ini.WriteInteger(d, "winheight", s.window.height);
    if (!s.language.empty()) ini.WriteString(d, "language", s.language);
    ini.WriteString(d, "help", s.help);
    ini.WriteInteger(d, "units", ToInt(s.units));
    for (std::size_t i = 0; i < 3; ++i) {
        ini.WriteInteger(d, kMetricTableKeys[i], s.defaultTables.metric[i]);
        ini.WriteInteger(d, kImperialTableKeys[i], s.defaultTables.imperial[i]);
    }
    if (!s.refrigerant.empty()) {
        ini.WriteString(d, "refrigerant", s.refrigerant);
        ini.WriteString(d, "glide", std::string(1, s.glide));
    }
    if (s.powerSupply) ini.WriteInteger(d, "powerSupply", *s.powerSupply);
    ini.WriteString(d, "group", FamilySetText(s.compressorFamilies));
    ini.WriteString(d, "groupU", FamilySetText(s.condensingUnitFamilies));
    ini.WriteString(d, "groupV", FamilySetText(s.controlsFamilies));
    ini.WriteString(d, "groupP", FamilySetText(s.heatPumpFamilies));
    ini.WriteString(d, "name", s.modelName.empty() ? kNoModel : s.modelName);

    DealerDetails dealer = s.dealer;
    dealer.Limit();
    ini.WriteString(kDealer, "salesman", dealer.salesman);
    ini.WriteString(kDealer, "company", dealer.company);
    ini.WriteString(kDealer, "address1", dealer.address1);
    ini.WriteString(kDealer, "address2", dealer.address2);
    ini.WriteString(kDealer, "address3", dealer.address3);
    ini.WriteString(kDealer, "postcode", dealer.postcode);
    ini.WriteString(kDealer, "phone", dealer.phone);
    ini.WriteString(kDealer, "fax", dealer.fax);
    ini.WriteString(kDealer, "email", dealer.email);

    ini.WriteString(kCust, "place", CutToCharacters(s.place, 30));
    ini.WriteString(kCust, "currency", CutToCharacters(s.currency.symbol, 10));
    ini.WriteInteger(kCust, "currFormat", s.currency.format);
    ini.WriteInteger(kCust, "currNeg", s.currency.negativeFormat);
    ini.WriteInteger(kCust, "currDps", s.currency.decimals);
    ini.WriteString(kCust, "electricity", CutToCharacters(s.electricity, 10));
    ini.WriteString(kCust, "directcost", CutToCharacters(s.directCost, 10));

    WriteConditions(ini, s.conditions);

    if (s.selectionList) WriteSelectionListColumns(ini, *s.selectionList);
    if (s.customFamilies) WriteCustomFamilies(ini, *s.customFamilies);
}

SettingsLoad LoadSettingsFile(const fs::path& path, std::string_view startupHelpFile) {
    SettingsLoad load;
    FileContents file = ReadWholeFile(path);
    load.exists = file.exists;
    if (!file.exists) {
        load.settings = ReadSettings(IniFile{}, startupHelpFile);
        return load;
    }
    load.status = file.status;
    load.settings =
        ReadSettings(file.status ? IniFile::Parse(file.bytes) : IniFile{}, startupHelpFile);
    return load;
}

IoStatus SaveSettingsFile(const fs::path& path, const Settings& settings) {
    IniFile ini;
    FileContents existing = ReadWholeFile(path);
    if (existing.exists) {
        if (!existing.status)
            return IoStatus::Failure(Text(texts::kUnableToWrite) + " " + path.string(),
                                     existing.status.FullText());
        ini = IniFile::Parse(existing.bytes);
    }
    WriteSettings(ini, settings);
    return ini.Save(path);
}

std::vector<CustomFamilyRecord> SettingsFileCustomFamilies::CustomFamilies() const {
    const FileContents file = ReadWholeFile(path_);
    if (!file.status) return {};
    return ReadCustomFamilies(IniFile::Parse(file.bytes));
}

}  // namespace kelvra
