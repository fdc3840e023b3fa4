#pragma once

// What the preferences window edits, without widgets: the default performance tables and the
// user's own tables, the user's details, the language and help files, the unit system, the
// currency and the energy prices. The window is filled from the settings, edits a copy, and only
// OK hands the copy back.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings_file.hpp"
#include "table_layout_file.hpp"
#include "units.hpp"

namespace kelvra {

// How money is shown: the currency symbol, the position codes and the decimals.
// Position (format): 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $". Negative format: the sixteen codes of
// the operating system's currency settings, 0 "($1)" to 15 "(1 $)".
std::string FormatMoney(double amount, const CurrencyFormat& format);

// The currency choices of the units page.
enum class CurrencyChoice { Default = 0, UsDollar = 1, Euro = 2, Local = 3, Other = 4 };
CurrencyFormat UsDollarCurrency();
CurrencyFormat EuroCurrency();

// A price per kWh as typed: a number not below zero, with a point or a comma, at most 10
// characters. Nothing when the text is no such number.
std::optional<double> ParsePrice(std::string_view typed);

class PreferencesModel {
  public:
    // `tables`: the user's performance tables; `languages` the language files and `helps` the
    // help sets that can be chosen; `local` the currency of the operating system.
    PreferencesModel(const Settings& settings, std::vector<TableLayoutRecord> tables,
                     std::vector<std::string> languages, std::vector<std::string> helps,
                     CurrencyFormat local);

    // --- tables: the built-in table first, then the user tables of the product and unit system ---
    void setTableKind(TableProduct product, UnitSystem system);
    TableProduct tableProduct() const { return product_; }
    UnitSystem tableSystem() const { return tableSystem_; }
    // Entry 0 is the built-in table (`builtInName`), then the user tables' names.
    std::vector<std::string> tableEntries(std::string_view builtInName) const;
    // The entry that is the default (0: the built-in table).
    int defaultEntry() const;
    void setDefaultEntry(int entry);
    // Edit and Delete apply to user tables only.
    bool isUserEntry(int entry) const;
    // Removes a user table; a later default of the same product and unit system moves up with
    // it, the removed default falls back to the built-in table.
    void deleteEntry(int entry);
    // Appends a user table; returns its entry.
    int addTable(TableLayoutRecord record);
    // The user table of an entry (for editing), nothing for the built-in one.
    TableLayoutRecord* tableOfEntry(int entry);
    void tableEdited() { tablesChanged_ = true; }
    bool tablesChanged() const { return tablesChanged_; }
    const std::vector<TableLayoutRecord>& tables() const { return tables_; }
    const DefaultTables& defaultTables() const { return settings_.defaultTables; }

    // --- user ---
    DealerDetails& dealer() { return settings_.dealer; }
    const DealerDetails& dealer() const { return settings_.dealer; }

    // --- language ---
    const std::vector<std::string>& languages() const { return languages_; }
    const std::vector<std::string>& helps() const { return helps_; }
    // The language file names as shown: without extension, in upper case.
    std::vector<std::string> languageNames() const;
    int languageIndex() const { return language_; }
    void setLanguageIndex(int index);
    int helpIndex() const { return help_; }
    void setHelpIndex(int index);

    // --- units and money ---
    UnitSystem units() const { return settings_.units; }
    void setUnits(UnitSystem units) { settings_.units = units; }
    CurrencyChoice currencyChoice() const { return currencyChoice_; }
    // `other`: the currency of the chosen locale for CurrencyChoice::Other.
    void setCurrencyChoice(CurrencyChoice choice, const CurrencyFormat& other = {});
    const CurrencyFormat& currency() const { return settings_.currency; }
    // The sample amount 1234.5679 in the chosen format.
    std::string sampleAmount() const;
    std::string electricity;  // as typed
    std::string directCost;   // as typed

    // A text for the user when the values cannot be taken (a price that is no number), else
    // nothing.
    std::optional<std::string> problem() const;

    // The settings with the edited values; `base` supplies everything the window does not edit.
    // The language and help files are given as the settings name them: the language file's name,
    // the help file as "<installation>/<set>.chm".
    Settings apply(Settings base, const std::filesystem::path& installation) const;

  private:
    std::vector<std::size_t> entryTables() const;

    Settings settings_;
    std::vector<TableLayoutRecord> tables_;
    std::vector<std::string> languages_;
    std::vector<std::string> helps_;
    CurrencyFormat opening_;
    CurrencyFormat local_;
    TableProduct product_ = TableProduct::Compressors;
    UnitSystem tableSystem_ = UnitSystem::SI;
    int language_ = -1;
    int help_ = -1;
    CurrencyChoice currencyChoice_ = CurrencyChoice::Default;
    bool tablesChanged_ = false;
};

}  // namespace kelvra
