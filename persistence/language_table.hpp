#pragma once

// Language tables: every text the user sees can be replaced at run time from a language file
// ("*.LNG", "english.lng" by default) in the installation folder.
//
// A language file is an INI file. Section "Language" holds "langNumber" (default "1"); section
// "Sections" names, in order, the sections to load; each of those holds key=text lines. The table
// is the list of those entries in load order, and a look-up takes the last entry with the key:
// a key defined again in a later section, or later in its section, overrides the earlier text.
// Keys are compared exactly, case included.
//
// Program code asks for texts through Text(key, englishDefault) (language_texts.hpp); a loaded
// table is installed as the provider of those texts. Windows apply a table by component name - a
// window's or control's name is its key, and "hnt" in place of the first three letters of the name
// is the key of its hint.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "io_status.hpp"
#include "language_texts.hpp"

namespace kelvra {

inline constexpr std::string_view kDefaultLanguageFile = "english.lng";
inline constexpr std::string_view kLanguageExtension = ".lng";

// One entry of a language table.
struct TLangObj {
    static constexpr std::size_t kMaxLength = 255;  // characters, for key and text alike

    std::string key;
    std::string text;
};

class LanguageTable : public LanguageTextProvider {
  public:
    // Clears the table and loads the file. On failure (a missing or unreadable file) the table
    // stays empty with language number "1" and the status says why. Keys and texts longer than
    // 255 characters are cut; lines without "=" or with an empty key are skipped.
    IoStatus Load(const std::filesystem::path& file);

    // Loads from the text of a language file.
    void LoadText(std::string_view bytes);

    // Adds the product database's own texts (family names, technical-data captions, accessory
    // texts): every entry of the section "Catalogue" of that file whose key the language does
    // not define itself, so that a translation of a product text in the language file wins.
    IoStatus AddProductTexts(const std::filesystem::path& file);
    void AddProductTextsFrom(std::string_view bytes);

    void Clear();

    // The text of the last entry with the key; empty when there is none.
    std::string Lookup(std::string_view key) const override;

    // Copies the text of the last entry with the key, cut to `maxCharacters`, into `field`;
    // leaves `field` unchanged when there is no such entry or its text is empty, so that a field
    // holding its built-in text keeps it.
    void LookupInto(std::string_view key, std::size_t maxCharacters, std::string& field) const;

    // The language number as the file gives it ("1" when it gives none or anything but digits).
    const std::string& LanguageNumber() const { return languageNumber_; }

    // Its two-digit form for the names of language-dependent files: "3" becomes "03", "12" stays.
    std::string LanguageCode() const;

    const std::vector<TLangObj>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

  private:
    std::vector<TLangObj> entries_;
    std::unordered_map<std::string, std::size_t> last_;  // key -> index of its last entry
    std::string languageNumber_ = "1";
};

// Two-digit form of a language number: a leading "0" when it has fewer than two characters.
std::string TwoDigitLanguageCode(std::string_view languageNumber);

// --- The process-wide language ---

// Loads `file` and, when it could be read, makes it the installed language: Text() answers from
// it from now on. On failure the installed language stays as it was and the status says why.
IoStatus LoadLanguage(const std::filesystem::path& file);

// The same, with the product database's texts of `productTexts` added (see AddProductTexts); a
// missing or unreadable texts file leaves the language without them.
IoStatus LoadLanguage(const std::filesystem::path& file, const std::filesystem::path& productTexts);

// The file of the product database's texts, in its data folder.
inline constexpr std::string_view kProductTextsFile = "catalogue-texts.ini";

// Makes `table` the installed language; nullptr goes back to the built-in English texts.
void InstallLanguage(std::shared_ptr<const LanguageTable> table);

// The installed table, or nullptr while the built-in texts are in use.
std::shared_ptr<const LanguageTable> InstalledLanguage();

// The installed language's two-digit code ("01" with the built-in texts).
std::string InstalledLanguageCode();

// The language files in the installation folder, by file name, sorted.
std::vector<std::string> LanguageFiles(const std::filesystem::path& installationFolder);

// --- Applying the language to windows ---

// Kinds of component; only some take a caption from the table.
enum class ComponentKind {
    Label,
    GroupBox,
    Form,
    Button,
    BitmapButton,
    RadioButton,
    CheckBox,
    RadioGroup,
    MenuItem,
    OtherControl,  // any other visible control: takes a hint only
    NonVisual,     // takes nothing
};

struct ComponentTexts {
    std::optional<std::string> caption;  // set when the component's caption is to change
    std::optional<std::string> hint;     // set when its hint is to change
};

// The texts a component takes from the installed language: its caption from the key equal to its
// name (for labels, group boxes, forms, buttons, bitmap buttons, radio buttons, check boxes,
// radio groups and menu items), its hint (for every visible control) from the key "hnt" + its
// name from the fourth character on - a button named "btnPrint" takes the hint "hntPrint". Empty
// texts change nothing.
ComponentTexts TextsForComponent(std::string_view componentName, ComponentKind kind);

// A window's own caption from the key equal to its name ("frmPreferences"); nothing when the
// installed language has no text for it.
std::optional<std::string> WindowCaption(std::string_view windowName);

// The hint key of a component name: "hnt" followed by the name from its fourth character on.
std::string HintKey(std::string_view componentName);

}  // namespace kelvra
