#pragma once

// The settings file "kelvra71.ini" in the user folder: the user's working state between runs -
// window placement, mode, refrigerant, supply, family choices and selected model, language, help
// file and unit system, default performance tables, the user's own details, currency and energy
// prices, the operating conditions, the selection-list columns and the custom families.
//
// Reading never fails: missing keys, and values that are no number in range, take the defaults
// below. Writing goes into the existing file, so that keys and sections this version does not
// know - written by the user, by another version or by another program - stay as they were.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "activity_mode.hpp"
#include "custom_family_source.hpp"
#include "family_selection.hpp"
#include "ini_file.hpp"
#include "io_status.hpp"
#include "operating_conditions.hpp"
#include "units.hpp"

namespace kelvra {

inline constexpr std::string_view kSettingsFileName = "kelvra71.ini";
inline constexpr std::string_view kDefaultHelpFile = "english.chm";

// Main window position and size.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 790;
    int height = 550;
    bool maximised = false;

    bool operator==(const WindowPlacement&) const = default;
};

// The user's own details, printed on reports (section "DEALER").
struct DealerDetails {
    static constexpr std::size_t kTextLength = 30;
    static constexpr std::size_t kPostcodeLength = 10;
    static constexpr std::size_t kPhoneLength = 20;

    std::string salesman;
    std::string company;
    std::string address1;
    std::string address2;
    std::string address3;
    std::string postcode;
    std::string phone;
    std::string fax;
    std::string email;
    std::string printFont = "Arial";  // read only: kept in the file by hand
    std::string pdfFont = "Arial";    // read only

    // Cuts every value to its maximum length.
    void Limit();

    bool operator==(const DealerDetails&) const = default;
};

// How money is shown: the symbol and the operating system's currency-format codes.
struct CurrencyFormat {
    std::string symbol = "$";
    int format = 0;          // position of the symbol, 0..3
    int negativeFormat = 0;  // 0..15
    int decimals = 2;        // 0..9

    bool operator==(const CurrencyFormat&) const = default;
};

// The product a performance-table layout is made for.
enum class TableProduct : std::int32_t {
    Compressors = 0,
    CondensingUnits = 1,
    HeatPumpCompressors = 2,
};

// The default performance table of each product in each kind of unit system: 0 the built-in
// table, n the n-th user table of that product and kind of unit system.
struct DefaultTables {
    std::array<int, 3> metric{};    // SI and kcal: "DefCTable", "DefUCTable", "DefHCTable"
    std::array<int, 3> imperial{};  // "DefFTable", "DefUFTable", "DefHFTable"

    int& For(TableProduct product, UnitSystem system) {
        auto& set = system == UnitSystem::Imperial ? imperial : metric;
        return set[static_cast<std::size_t>(product)];
    }
    int For(TableProduct product, UnitSystem system) const {
        const auto& set = system == UnitSystem::Imperial ? imperial : metric;
        return set[static_cast<std::size_t>(product)];
    }

    bool operator==(const DefaultTables&) const = default;
};

// The user columns of the selection list (section "sellist").
struct SelectionListColumns {
    static constexpr int kMaxColumns = 51;

    int count = 6;
    std::string kinds;       // one kind letter per column: 'P', 'M' or 'E'
    std::vector<int> codes;  // one per column; -1 keeps the mode's default

    bool operator==(const SelectionListColumns&) const = default;
};

struct Settings {
    // Section "DEFAULTS"
    WindowPlacement window;
    bool autoSelect = true;
    int activeTab = 0;                    // "Activity"; the window ignores a tab it lacks
    std::string language{"english.lng"};  // language file; empty: none set, not written
    std::string help;                     // help file path (".chm")
    ActivityMode mode = ActivityMode::Compressors;
    UnitSystem units = UnitSystem::SI;
    DefaultTables defaultTables;
    std::string refrigerant{"R404A"};        // empty: none current, not written
    char glide = ' ';                        // kind letter of the refrigerant (written only)
    std::optional<int> powerSupply = 1;      // none: no supply current, not written
    FamilySelection compressorFamilies;      // "group", default "C"
    FamilySelection condensingUnitFamilies;  // "groupU", default "A"
    FamilySelection controlsFamilies;        // "groupV", default "A"
    FamilySelection heatPumpFamilies;        // "groupP", default "A"
    std::string modelName;                   // "name"; empty: none selected ("X")
    std::string heatPumpFile{"X"};           // "hpfile"
    // Section "DEALER"
    DealerDetails dealer;
    // Section "CUST"
    std::string place{"X"};
    CurrencyFormat currency;
    std::string electricity{"1"};  // price per kWh, as typed
    std::string directCost{"1"};
    // Section "settings"
    OperatingConditions conditions;
    // Sections written only when set: the selection list's columns and the custom families.
    std::optional<SelectionListColumns> selectionList;
    std::optional<std::vector<CustomFamilyRecord>> customFamilies;

    Settings();
};

// Reads every section. `startupHelpFile` is the help file when the file names none.
Settings ReadSettings(const IniFile& ini, std::string_view startupHelpFile);

// Writes every key of the settings in the order the program always wrote them; "sellist" and
// "FAMILIES" only when the settings hold them.
void WriteSettings(IniFile& ini, const Settings& settings);

struct SettingsLoad {
    IoStatus status;      // failure: the file exists but cannot be read
    bool exists = false;  // false: a first start
    Settings settings;
};

SettingsLoad LoadSettingsFile(const std::filesystem::path& path, std::string_view startupHelpFile);

// Writes the settings into the file at `path`, keeping every key and section of the existing file
// that the settings do not name. An existing file that cannot be read is left as it is and the
// failure is reported, rather than replaced by a file that would lose its contents.
IoStatus SaveSettingsFile(const std::filesystem::path& path, const Settings& settings);

// The parts read and written on their own.
SelectionListColumns ReadSelectionListColumns(const IniFile& ini);
void WriteSelectionListColumns(IniFile& ini, const SelectionListColumns& columns);

// Section "FAMILIES". Reading is bounded by what the section holds: a family count or member
// count larger than the number of its entries is taken as that number.
std::vector<CustomFamilyRecord> ReadCustomFamilies(const IniFile& ini);
// Replaces the section with the given families.
void WriteCustomFamilies(IniFile& ini, const std::vector<CustomFamilyRecord>& families);

// The custom families of a settings file, for the data store.
class SettingsFileCustomFamilies : public CustomFamilySource {
  public:
    explicit SettingsFileCustomFamilies(std::filesystem::path settingsFile)
        : path_(std::move(settingsFile)) {}
    // Empty when the file does not exist or cannot be read.
    std::vector<CustomFamilyRecord> CustomFamilies() const override;

  private:
    std::filesystem::path path_;
};

}  // namespace kelvra
