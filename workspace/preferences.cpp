#include "preferences.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "file_names.hpp"
#include "language_texts.hpp"
#include "project_details.hpp"
#include "startup_choices.hpp"

namespace kelvra {

namespace {

// The amount's digits with thousands separated by commas, `decimals` after the point.
std::string Digits(double amount, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(std::fabs(amount) * scale);
    const auto whole = static_cast<unsigned long long>(std::floor(rounded / scale));
    const auto fraction = static_cast<unsigned long long>(rounded - static_cast<double>(whole) * scale);
    std::string integer = std::to_string(whole);
    for (int at = static_cast<int>(integer.size()) - 3; at > 0; at -= 3)
        integer.insert(static_cast<std::size_t>(at), ",");
    if (decimals == 0) return integer;
    std::string tail = std::to_string(fraction);
    tail.insert(0, static_cast<std::size_t>(decimals) - std::min<std::size_t>(tail.size(), decimals), '0');
    return integer + "." + tail;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Cut(std::string text, std::size_t length) {
    if (text.size() > length) text.resize(length);
    return text;
}

}  // namespace

std::string FormatMoney(double amount, const CurrencyFormat& f) {
    const std::string n = Digits(amount, f.decimals);
    const std::string& s = f.symbol;
    if (!(amount < 0) || n.find_first_not_of("0.,") == std::string::npos) {
        switch (f.format) {
            case 1: return n + s;
            case 2: return s + " " + n;
            case 3: return n + " " + s;
            default: return s + n;
        }
    }
    switch (f.negativeFormat) {
        case 1: return "-" + s + n;
        case 2: return s + "-" + n;
        case 3: return s + n + "-";
        case 4: return "(" + n + s + ")";
        case 5: return "-" + n + s;
        case 6: return n + "-" + s;
        case 7: return n + s + "-";
        case 8: return "-" + n + " " + s;
        case 9: return "-" + s + " " + n;
        case 10: return n + " " + s + "-";
        case 11: return s + " " + n + "-";
        case 12: return s + " -" + n;
        case 13: return n + "- " + s;
        case 14: return "(" + s + " " + n + ")";
        case 15: return "(" + n + " " + s + ")";
        default: return "(" + s + n + ")";
    }
}

CurrencyFormat UsDollarCurrency() { return CurrencyFormat{"$", 0, 0, 2}; }
CurrencyFormat EuroCurrency() { return CurrencyFormat{"\xE2\x82\xAC", 1, 5, 2}; }

std::optional<double> ParsePrice(std::string_view typed) {
    std::string text(typed);
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    text = text.substr(first, last - first + 1);
    if (text.size() > 10) return std::nullopt;
    std::replace(text.begin(), text.end(), ',', '.');
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < 0)
        return std::nullopt;
    return value;
}

PreferencesModel::PreferencesModel(const Settings& settings, std::vector<TableLayoutRecord> tables,
                                   std::vector<std::string> languages, std::vector<std::string> helps,
                                   CurrencyFormat local)
    : settings_(settings),
      tables_(std::move(tables)),
      languages_(std::move(languages)),
      helps_(std::move(helps)),
      opening_(settings.currency),
      local_(std::move(local)),
      tableSystem_(settings.units) {
    electricity = settings.electricity;
    directCost = settings.directCost;

    // the current language file, else English, else the first
    auto find = [](const std::vector<std::string>& names, const std::string& wanted) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (EqualIgnoringCase(names[i], wanted)) return static_cast<int>(i);
        return -1;
    };
    language_ = find(languages_, settings.language);
    if (language_ < 0) language_ = find(languages_, "english.lng");
    if (language_ < 0 && !languages_.empty()) language_ = 0;
    help_ = find(helps_, HelpSetOf(settings.help));
    if (help_ < 0) help_ = find(helps_, "english");
    if (help_ < 0 && !helps_.empty()) help_ = 0;
}

void PreferencesModel::setTableKind(TableProduct product, UnitSystem system) {
    product_ = product;
    tableSystem_ = system;
}

std::vector<std::size_t> PreferencesModel::entryTables() const {
    std::vector<std::size_t> found;
    const bool imperial = tableSystem_ == UnitSystem::Imperial;
    for (std::size_t i = 0; i < tables_.size(); ++i)
        if (tables_[i].productType == static_cast<std::int32_t>(product_) &&
            tables_[i].IsImperial() == imperial)
            found.push_back(i);
    return found;
}

std::vector<std::string> PreferencesModel::tableEntries(std::string_view builtInName) const {
    std::vector<std::string> entries{std::string(builtInName)};
    for (std::size_t i : entryTables()) entries.push_back(tables_[i].name);
    return entries;
}

int PreferencesModel::defaultEntry() const {
    const int n = settings_.defaultTables.For(product_, tableSystem_);
    return n > 0 && n <= static_cast<int>(entryTables().size()) ? n : 0;
}

void PreferencesModel::setDefaultEntry(int entry) {
    if (entry < 0 || entry > static_cast<int>(entryTables().size())) return;
    settings_.defaultTables.For(product_, tableSystem_) = entry;
}

bool PreferencesModel::isUserEntry(int entry) const {
    return entry >= 1 && entry <= static_cast<int>(entryTables().size());
}

TableLayoutRecord* PreferencesModel::tableOfEntry(int entry) {
    if (!isUserEntry(entry)) return nullptr;
    return &tables_[entryTables()[static_cast<std::size_t>(entry - 1)]];
}

void PreferencesModel::deleteEntry(int entry) {
    if (!isUserEntry(entry)) return;
    const std::size_t index = entryTables()[static_cast<std::size_t>(entry - 1)];
    int& n = settings_.defaultTables.For(product_, tableSystem_);
    const int current = defaultEntry();
    tables_.erase(tables_.begin() + static_cast<std::ptrdiff_t>(index));
    if (current == entry) n = 0;
    else if (current > entry) n = current - 1;
    tablesChanged_ = true;
}

int PreferencesModel::addTable(TableLayoutRecord record) {
    record.productType = static_cast<std::int32_t>(product_);
    // kcal tables are the SI ones
    record.unitSystem = ToInt(tableSystem_ == UnitSystem::Imperial ? UnitSystem::Imperial : UnitSystem::SI);
    tables_.push_back(std::move(record));
    tablesChanged_ = true;
    return static_cast<int>(entryTables().size());
}

std::vector<std::string> PreferencesModel::languageNames() const {
    std::vector<std::string> names;
    for (const std::string& file : languages_)
        names.push_back(Upper(std::filesystem::path(file).stem().string()));
    return names;
}

void PreferencesModel::setLanguageIndex(int index) {
    if (index >= 0 && index < static_cast<int>(languages_.size())) language_ = index;
}

void PreferencesModel::setHelpIndex(int index) {
    if (index >= 0 && index < static_cast<int>(helps_.size())) help_ = index;
}

void PreferencesModel::setCurrencyChoice(CurrencyChoice choice, const CurrencyFormat& other) {
    currencyChoice_ = choice;
    switch (choice) {
        case CurrencyChoice::Default: settings_.currency = opening_; break;
        case CurrencyChoice::UsDollar: settings_.currency = UsDollarCurrency(); break;
        case CurrencyChoice::Euro: settings_.currency = EuroCurrency(); break;
        case CurrencyChoice::Local: settings_.currency = local_; break;
        case CurrencyChoice::Other: settings_.currency = other; break;
    }
}

std::string PreferencesModel::sampleAmount() const { return FormatMoney(1234.5679, settings_.currency); }

std::optional<std::string> PreferencesModel::problem() const {
    const std::string advice = Text("strPriceAdvice", "is not a price: enter a number such as 0.15");
    if (!ParsePrice(electricity))
        return Text("lblElectricity", "Electricity cost per kWh") + " \"" + electricity + "\" " + advice;
    if (!ParsePrice(directCost))
        return Text("lblDirectCost", "Direct heating cost per kWh") + " \"" + directCost + "\" " + advice;
    return std::nullopt;
}

Settings PreferencesModel::apply(Settings base, const std::filesystem::path& installation) const {
    base.dealer = settings_.dealer;
    base.dealer.postcode = UpperCaseText(base.dealer.postcode);
    base.dealer.Limit();
    base.defaultTables = settings_.defaultTables;
    base.units = settings_.units;
    base.currency = settings_.currency;
    const auto trim = [](const std::string& text) {
        const auto first = text.find_first_not_of(' ');
        if (first == std::string::npos) return std::string();
        return text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    base.electricity = Cut(trim(electricity), 10);
    base.directCost = Cut(trim(directCost), 10);
    if (language_ >= 0) base.language = languages_[static_cast<std::size_t>(language_)];
    if (help_ >= 0) base.help = (installation / (helps_[static_cast<std::size_t>(help_)] + ".chm")).string();
    return base;
}

}  // namespace kelvra
