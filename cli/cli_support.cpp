#include "cli_support.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

#include "candidates.hpp"
#include "data_store.hpp"
#include "property_library.hpp"

namespace kelvra::cli {

namespace {

constexpr double kAbsoluteZero = -273.15;   // degC
constexpr double kDefaultSuperheat = 10.0;  // K, the EN 12900 rating superheat
constexpr std::int32_t kLowestLoad = 33;    // %
constexpr std::int32_t kHighestLoad = 100;
constexpr double kHighestSpeed = 12000;  // rpm

struct ModeName_ {
    ActivityMode mode;
    const char* name;
};
constexpr std::array<ModeName_, 9> kModes{{
    {ActivityMode::Compressors, "compressors"},
    {ActivityMode::CondensingUnits, "units"},
    {ActivityMode::HeatPumpCompressors, "heat-pump-compressors"},
    {ActivityMode::ExpansionValves, "expansion-valves"},
    {ActivityMode::SolenoidValves, "solenoid-valves"},
    {ActivityMode::HeadPressureControls, "head-pressure-controls"},
    {ActivityMode::FilterDriers, "filter-driers"},
    {ActivityMode::BrineWaterHeatPumps, "brine-water-heat-pumps"},
    {ActivityMode::AirWaterHeatPumps, "air-water-heat-pumps"},
}};

std::optional<long> WholeNumber(const std::string& text) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Join(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

double Finite(double value, const char* what) {
    if (!std::isfinite(value))
        throw CliError(kExitBadArguments, fmt::format("{} must be a number", what));
    return value;
}

double Temperature(double value, UnitSystem units, const char* what) {
    const double t = FromDisplay(quantity::CondensingTemp, units, Finite(value, what));
    if (t < kAbsoluteZero)
        throw CliError(kExitBadArguments, fmt::format("{} lies below absolute zero", what));
    return t;
}

double Positive(double value, const char* what) {
    if (!(Finite(value, what) > 0))
        throw CliError(kExitBadArguments, fmt::format("{} must be above 0", what));
    return value;
}

}  // namespace

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::filesystem::path DefaultDatabaseFolder() {
    return std::filesystem::path(InstallationFolder()) / "data";
}

std::unique_ptr<TdataStore> OpenDatabase(const std::filesystem::path& folder) {
    const LoadedPropertyLibraries loaded = LoadPropertyLibraries();
    if (!loaded.general) {
        throw CliError(kExitDatabase,
                       fmt::format("the property library {} could not be loaded from {}",
                                   PropertyLibraryFileName(PropertyLibraryKind::General),
                                   InstallationFolder()));
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw CliError(kExitDatabase,
                       fmt::format("no product database folder {} (give one with --database)",
                                   folder.string()));
    }
    auto store = std::make_unique<TdataStore>(DatabaseSources{folder, nullptr});
    if (store->Missing() || !store->Valid()) {
        std::string problems;
        const auto& list = store->Problems();
        for (std::size_t i = 0; i < list.size() && i < 5; ++i) problems += "\n  " + list[i];
        if (list.size() > 5) problems += fmt::format("\n  ... and {} more", list.size() - 5);
        throw CliError(kExitDatabase,
                       fmt::format("the product database in {} is not usable{}", folder.string(),
                                   problems.empty() ? std::string() : ":" + problems));
    }
    return store;
}

Trefrigerant* FindRefrigerant(const TdataStore& store, const std::string& text) {
    const std::string name = Trim(text);
    if (Trefrigerant* found = store.FindRefrigerantByName(name)) return found;
    if (const auto code = WholeNumber(name)) {
        if (Trefrigerant* found = store.FindRefrigerant(static_cast<std::int32_t>(*code)))
            return found;
    }
    std::vector<std::string> names;
    for (const auto& r : store.Refrigerants()) names.push_back(r->name);
    throw CliError(
        kExitUnknownName,
        fmt::format("unknown refrigerant \"{}\" (the database has: {})", name, Join(names)));
}

const TSupply* FindSupply(const TdataStore& store, const std::string& text) {
    const std::string name = Lower(Trim(text));
    for (const auto& supply : store.Supplies())
        if (Lower(supply->name) == name) return supply.get();
    if (const auto number = WholeNumber(name)) {
        if (const TSupply* found = store.FindSupply(static_cast<std::int32_t>(*number)))
            return found;
    }
    std::vector<std::string> names;
    for (const auto& s : store.Supplies()) names.push_back(fmt::format("{} {}", s->id, s->name));
    throw CliError(kExitUnknownName, fmt::format("unknown supply \"{}\" (the database has: {})",
                                                 Trim(text), Join(names)));
}

FamilySelection ParseFamilies(const TdataStore& store, const std::string& text, ActivityMode mode) {
    const char kind = familyKindFor(mode);
    const FamilySelection admitted = familiesOfMode(store, mode);
    FamilySelection set;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = Trim(text.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) continue;
        const TFamily* family = nullptr;
        if (const auto code = WholeNumber(item)) {
            family = store.FindFamily(static_cast<std::int32_t>(*code), kind);
        }
        if (family == nullptr) {
            // By name: a family of the mode's kind first, else any (to say why it cannot be used).
            for (const auto& f : store.Families()) {
                if (Lower(f->name) != Lower(item)) continue;
                if (family == nullptr || f->kind == kind) family = f.get();
            }
        }
        if (family == nullptr) {
            throw CliError(kExitUnknownName,
                           fmt::format("unknown family \"{}\" (see: kelvra-cli families --mode {})",
                                       item, ModeName(mode)));
        }
        if (family->kind != kind || !admitted.Contains(family->code)) {
            throw CliError(kExitBadArguments,
                           fmt::format("family {} \"{}\" (kind {}) cannot be selected in mode {}",
                                       family->code, family->name, family->kind, ModeName(mode)));
        }
        set.Add(family->code);
    }
    if (set.Empty()) throw CliError(kExitBadArguments, "--families names no family");
    return set;
}

ActivityMode ParseMode(const std::string& text) {
    const std::string name = Lower(Trim(text));
    for (const auto& m : kModes)
        if (name == m.name) return m.mode;
    if (name == "condensing-units") return ActivityMode::CondensingUnits;
    if (const auto number = WholeNumber(name);
        number && IsActivityMode(static_cast<std::int32_t>(*number)))
        return static_cast<ActivityMode>(*number);
    std::vector<std::string> names;
    for (const auto& m : kModes) names.push_back(m.name);
    throw CliError(kExitBadArguments,
                   fmt::format("unknown mode \"{}\" (one of: {}; or 0 to 8)", text, Join(names)));
}

std::string ModeName(ActivityMode mode) {
    for (const auto& m : kModes)
        if (m.mode == mode) return m.name;
    return std::to_string(ToInt(mode));
}

int ParseRange(const std::string& text) {
    const std::string name = Lower(Trim(text));
    if (name == "all" || name == "0") return kRangeAll;
    if (name == "lt" || name == "1") return kRangeLowTemperature;
    if (name == "mt" || name == "2") return kRangeMediumTemperature;
    if (name == "both" || name == "3") return kRangeBoth;
    throw CliError(kExitBadArguments,
                   fmt::format("unknown range \"{}\" (one of: all, lt, mt, both)", text));
}

UnitSystem ParseUnits(const std::string& text) {
    const std::string name = Lower(Trim(text));
    if (name == "si") return UnitSystem::SI;
    if (name == "imperial" || name == "ip") return UnitSystem::Imperial;
    if (name == "kcal") return UnitSystem::Kcal;
    throw CliError(kExitBadArguments,
                   fmt::format("unknown unit system \"{}\" (one of: si, imperial, kcal)", text));
}

std::string UnitsName(UnitSystem units) {
    switch (units) {
        case UnitSystem::Imperial:
            return "imperial";
        case UnitSystem::Kcal:
            return "kcal";
        default:
            return "si";
    }
}

OperatingConditions MakeConditions(const PointOptions& o, UnitSystem units) {
    namespace q = quantity;
    OperatingConditions c;
    c.advanced = false;
    c.usefulAll = true;

    if (o.evapPressure) {
        c.evapByPressure = 1;
        c.evapPressure = FromDisplay(q::SuctionPressure, units,
                                     Positive(*o.evapPressure, "the evaporating pressure"));
    } else if (o.evap) {
        c.evapTemp = Temperature(*o.evap, units, "the evaporating temperature");
    } else {
        throw CliError(kExitBadArguments,
                       "give the evaporating temperature (--evap) or pressure (--evap-pressure)");
    }
    if (o.condPressure) {
        c.condByPressure = 1;
        c.condPressure = FromDisplay(q::SuctionPressure, units,
                                     Positive(*o.condPressure, "the condensing pressure"));
    } else if (o.cond) {
        c.condTemp = Temperature(*o.cond, units, "the condensing temperature");
    } else {
        throw CliError(kExitBadArguments,
                       "give the condensing temperature (--cond) or pressure (--cond-pressure)");
    }
    if (!c.evapByPressure && !c.condByPressure && !(c.evapTemp < c.condTemp)) {
        throw CliError(kExitBadArguments,
                       "the evaporating temperature must lie below the condensing temperature");
    }
    if (!c.evapByPressure && !c.condByPressure) {
        c.satSuctionTemp = c.evapTemp;
        c.satDischargeTemp = c.condTemp;
    }

    if (o.returnGas) {
        c.useSGR = true;
        c.suctionGasReturn = Temperature(*o.returnGas, units, "the return gas temperature");
    } else {
        const double superheat = o.superheat ? FromDisplay(q::TemperatureDifference, units,
                                                           Finite(*o.superheat, "the superheat"))
                                             : kDefaultSuperheat;
        if (superheat < 0) throw CliError(kExitBadArguments, "the superheat must not be negative");
        c.useSGR = false;
        c.superheat = superheat;
    }
    c.usefulSuperheat = c.superheat;

    if (o.liquid) {
        c.liquidTempGiven = true;
        c.liquidTemp = Temperature(*o.liquid, units, "the liquid temperature");
    } else {
        c.liquidTempGiven = false;
        c.subcooling = o.subcooling ? FromDisplay(q::TemperatureDifference, units,
                                                  Finite(*o.subcooling, "the subcooling"))
                                    : 0.0;
        // A negative subcooling (liquid above its bubble point) is the models' to judge.
    }
    if (o.gasCoolerOutlet)
        c.gasCoolerOutletTemp =
            Temperature(*o.gasCoolerOutlet, units, "the gas-cooler outlet temperature");

    if (o.capacity) {
        const double capacity =
            FromDisplay(q::CoolingCapacity, units, Finite(*o.capacity, "the capacity"));
        if (capacity < 0)
            throw CliError(kExitBadArguments, "the required capacity must not be negative");
        c.capacity = capacity;
    }
    if (o.pressureDifference) {
        c.ordaDiffPressure = static_cast<float>(
            FromDisplay(q::PressureDifference, units,
                        Positive(*o.pressureDifference, "the required pressure difference")));
    }
    if (o.speed) {
        const double rpm = Finite(*o.speed, "the speed");
        if (!(rpm >= 1 && rpm <= kHighestSpeed))
            throw CliError(kExitBadArguments,
                           fmt::format("the speed must lie between 1 and {} rpm", kHighestSpeed));
        c.rpm = c.inverterRpm = static_cast<std::int32_t>(std::lround(rpm));
    }
    if (o.load) {
        if (*o.load < kLowestLoad || *o.load > kHighestLoad)
            throw CliError(kExitBadArguments, fmt::format("the load must lie between {} and {} %",
                                                          kLowestLoad, kHighestLoad));
        c.loadPercent = *o.load;
    }
    return c;
}

}  // namespace kelvra::cli
