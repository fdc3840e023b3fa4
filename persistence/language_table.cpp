#include "language_table.hpp"

#include <fmt/format.h>

#include <mutex>
#include <unordered_map>

#include "file_names.hpp"
#include "ini_file.hpp"
#include "model_text.hpp"
#include "safe_file.hpp"

namespace kelvra {

namespace {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Language numbers name files ("techdata\" + stem + number + ".dat"): digits only.
bool IsLanguageNumber(std::string_view text) {
    if (text.empty() || text.size() > 4) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

struct Installed {
    std::mutex mutex;
    std::shared_ptr<const LanguageTable> table;
};

Installed& Current() {
    static Installed installed;
    return installed;
}

}  // namespace

std::string TwoDigitLanguageCode(std::string_view languageNumber) {
    return languageNumber.size() < 2 ? fmt::format("0{}", languageNumber)
                                     : std::string(languageNumber);
}

void LanguageTable::Clear() {
    entries_.clear();
    last_.clear();
    languageNumber_.assign(1, '1');
}

IoStatus LanguageTable::Load(const std::filesystem::path& file) {
    Clear();
    const FileContents contents = ReadWholeFile(file);
    if (!contents.status) return contents.status;
    LoadText(contents.bytes);
    return IoStatus::Success();
}

void LanguageTable::LoadText(std::string_view bytes) {
    Clear();
    const IniFile ini = IniFile::Parse(bytes);
    const std::string number = ini.ReadString("Language", "langNumber", "1");
    languageNumber_ = IsLanguageNumber(number) ? number : "1";

    // The sections to load, in order. A section named twice loads at its last place only: its
    // entries would come again after everything between, which gives the same look-ups, and a
    // hostile file could otherwise make the table grow without bound.
    const std::vector<std::string> listed = ini.SectionNames("Sections");
    std::unordered_map<std::string, std::size_t> place;  // lower-case name -> load position
    for (std::size_t i = 0; i < listed.size(); ++i) place[LowerAscii(listed[i])] = i;
    std::vector<std::vector<TLangObj>> loaded(listed.size());
    ini.VisitEntries([&](std::string_view section, std::string_view key, std::string_view text) {
        const auto it = place.find(LowerAscii(section));
        if (it == place.end() || key.empty()) return;
        loaded[it->second].push_back(TLangObj{CutToCharacters(key, TLangObj::kMaxLength),
                                              CutToCharacters(text, TLangObj::kMaxLength)});
    });
    for (std::vector<TLangObj>& section : loaded)
        for (TLangObj& entry : section) {
            last_[entry.key] = entries_.size();
            entries_.push_back(std::move(entry));
        }
}

std::string LanguageTable::Lookup(std::string_view key) const {
    const auto it = last_.find(std::string(key));
    return it == last_.end() ? std::string() : entries_[it->second].text;
}

void LanguageTable::LookupInto(std::string_view key, std::size_t maxCharacters,
                               std::string& field) const {
    const std::string text = Lookup(key);
    if (!text.empty()) field = CutToCharacters(text, maxCharacters);
}

std::string LanguageTable::LanguageCode() const {
    return TwoDigitLanguageCode(languageNumber_);
}

IoStatus LanguageTable::AddProductTexts(const std::filesystem::path& file) {
    const FileContents contents = ReadWholeFile(file);
    if (!contents.status) return contents.status;
    AddProductTextsFrom(contents.bytes);
    return IoStatus::Success();
}

void LanguageTable::AddProductTextsFrom(std::string_view bytes) {
    const IniFile ini = IniFile::Parse(bytes);
    ini.VisitEntries([&](std::string_view section, std::string_view key, std::string_view text) {
        if (LowerAscii(section) != "catalogue" || key.empty()) return;
        std::string cut = CutToCharacters(key, TLangObj::kMaxLength);
        if (last_.contains(cut)) return;
        last_[cut] = entries_.size();
        entries_.push_back(TLangObj{std::move(cut), CutToCharacters(text, TLangObj::kMaxLength)});
    });
}

IoStatus LoadLanguage(const std::filesystem::path& file) {
    auto table = std::make_shared<LanguageTable>();
    IoStatus status = table->Load(file);
    if (status) InstallLanguage(std::move(table));
    return status;
}

IoStatus LoadLanguage(const std::filesystem::path& file,
                      const std::filesystem::path& productTexts) {
    auto table = std::make_shared<LanguageTable>();
    IoStatus status = table->Load(file);
    if (!status) return status;
    table->AddProductTexts(productTexts);  // optional: without it the built-in captions stay
    InstallLanguage(std::move(table));
    return status;
}

void InstallLanguage(std::shared_ptr<const LanguageTable> table) {
    Installed& installed = Current();
    std::lock_guard lock(installed.mutex);
    installed.table = table;
    InstallLanguageTexts(std::move(table));
}

std::shared_ptr<const LanguageTable> InstalledLanguage() {
    Installed& installed = Current();
    std::lock_guard lock(installed.mutex);
    return installed.table;
}

std::string InstalledLanguageCode() {
    const auto table = InstalledLanguage();
    return table ? table->LanguageCode() : TwoDigitLanguageCode("1");
}

std::vector<std::string> LanguageFiles(const std::filesystem::path& installationFolder) {
    return FilesWithExtension(installationFolder, kLanguageExtension);
}

std::string HintKey(std::string_view componentName) {
    return fmt::format("hnt{}", componentName.size() > 3 ? componentName.substr(3) : "");
}

ComponentTexts TextsForComponent(std::string_view componentName, ComponentKind kind) {
    ComponentTexts texts;
    if (kind == ComponentKind::NonVisual || componentName.empty()) return texts;
    switch (kind) {
        case ComponentKind::Label:
        case ComponentKind::GroupBox:
        case ComponentKind::Form:
        case ComponentKind::Button:
        case ComponentKind::BitmapButton:
        case ComponentKind::RadioButton:
        case ComponentKind::CheckBox:
        case ComponentKind::RadioGroup:
        case ComponentKind::MenuItem:
            if (std::string caption = Text(componentName, ""); !caption.empty())
                texts.caption = std::move(caption);
            break;
        default:
            break;
    }
    if (kind != ComponentKind::MenuItem) {
        if (std::string hint = Text(HintKey(componentName), ""); !hint.empty())
            texts.hint = std::move(hint);
    }
    return texts;
}

std::optional<std::string> WindowCaption(std::string_view windowName) {
    if (windowName.empty()) return std::nullopt;
    std::string caption = Text(windowName, "");
    if (caption.empty()) return std::nullopt;
    return caption;
}

}  // namespace kelvra
