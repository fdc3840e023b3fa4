#include "commands.hpp"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "auto_select.hpp"
#include "candidates.hpp"
#include "data_store.hpp"
#include "refrigerant.hpp"
#include "selection_driver.hpp"
#include "status_text.hpp"

namespace kelvra::cli {

namespace {

namespace q = quantity;

std::unique_ptr<TdataStore> Open(const GlobalOptions& global) {
    return OpenDatabase(global.database.empty() ? DefaultDatabaseFolder()
                                                : std::filesystem::path(global.database));
}

void PrintJson(std::ostream& out, const Json& json) {
    out << json.dump(2) << '\n';
}

std::string RangeText(std::uint16_t mask) {
    const bool low = (mask & 1u) != 0;
    const bool medium = (mask & 2u) != 0;
    return low && medium ? "LT+MT" : low ? "LT" : medium ? "MT" : "";
}

std::vector<std::string> Features(const TCModel& model) {
    std::vector<std::string> features;
    if (model.IsVariableSpeed()) features.push_back("variable speed");
    if (model.IsInverterDriven()) features.push_back("inverter");
    if (model.HasLoadControl()) features.push_back("load steps");
    if (model.HasVapourInjection()) features.push_back("vapour injection");
    if (model.IsCO2Transcritical()) features.push_back("CO2 transcritical");
    if (model.FirstOptionFlag()) features.push_back("preliminary data");
    return features;
}

std::string JoinComma(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

// The first supply of a frequency.
const TSupply* FirstSupplyOf(const TdataStore& store, int frequency) {
    for (const auto& supply : store.Supplies())
        if ((supply->frequency == 60) == (frequency == 60)) return supply.get();
    throw CliError(kExitUnknownName, fmt::format("the database has no {} Hz supply", frequency));
}

void CheckFrequency(const std::optional<int>& frequency) {
    if (frequency && *frequency != 50 && *frequency != 60)
        throw CliError(kExitBadArguments, "the frequency is 50 or 60 (Hz)");
}

// The families a mode selects from unless the user names them; networking condensing units
// only when named, as they form a list of their own.
FamilySelection DefaultFamilies(const TdataStore& store, ActivityMode mode) {
    FamilySelection set = familiesOfMode(store, mode);
    if (mode == ActivityMode::CondensingUnits)
        for (const int code : set.Codes())
            if (TdataStore::IsNetworkFamily(code)) set.Remove(code);
    return set;
}

bool HasNetworkFamily(const FamilySelection& set) {
    for (const int code : set.Codes())
        if (TdataStore::IsNetworkFamily(code)) return true;
    return false;
}

// What resolving the operating point said, in words.
std::string ResolveProblem(std::int32_t status) {
    switch (status) {
        case ResolvePropertyError:
            return "the refrigerant's properties cannot be computed there (above its critical "
                   "point or below its triple point?)";
        case ResolveSuctionGasTooCold:
            return "the suction gas temperature lies below the evaporating temperature plus the "
                   "useful superheat";
        case ResolveUsefulAboveSuperheat:
            return "the useful superheat exceeds the superheat";
        default:
            return fmt::format("status {}", status);
    }
}

// The driver set up from the options and run through its first chain.
struct Selection {
    std::unique_ptr<TdataStore> store;
    std::unique_ptr<SelectionDriver> driver;
    ActivityMode mode = ActivityMode::Compressors;
    UnitSystem units = UnitSystem::SI;
};

Selection RunSelection(const GlobalOptions& global, const PointCommandOptions& options,
                       bool automatic) {
    Selection s;
    const FilterOptions& f = options.filters;
    // Everything that needs no database is checked first.
    s.mode = ParseMode(f.mode);
    s.units = ParseUnits(options.units);
    const int range = ParseRange(f.range);
    CheckFrequency(f.frequency);
    if (f.refrigerant.empty())
        throw CliError(kExitBadArguments, "give the refrigerant (--refrigerant)");
    const OperatingConditions conditions = MakeConditions(options.point, s.units);
    if (automatic) {
        if (s.mode == ActivityMode::SolenoidValves && !options.point.pressureDifference)
            throw CliError(kExitBadArguments,
                           "give the required pressure difference (--pressure-difference)");
        if (s.mode != ActivityMode::SolenoidValves && !options.point.capacity)
            throw CliError(kExitBadArguments, "give the required capacity (--capacity)");
    }

    s.store = Open(global);
    const TdataStore& store = *s.store;
    SelectionDriver::Setup setup;
    setup.mode = s.mode;
    setup.unitSystem = s.units;
    setup.conditions = conditions;
    setup.refrigerant = FindRefrigerant(store, f.refrigerant);
    setup.supply = !f.supply.empty() ? FindSupply(store, f.supply)
                                     : FirstSupplyOf(store, f.frequency.value_or(50));
    if (f.frequency && (setup.supply->frequency == 60) != (*f.frequency == 60))
        throw CliError(kExitBadArguments, fmt::format("supply {} is not a {} Hz supply",
                                                      setup.supply->name, *f.frequency));
    setup.families.forMode(s.mode) = f.families.empty() ? DefaultFamilies(store, s.mode)
                                                        : ParseFamilies(store, f.families, s.mode);
    setup.autoSelect = automatic;
    setup.rangeFilter = range;

    s.driver = std::make_unique<SelectionDriver>(store);
    s.driver->setUp(setup);
    // The range applies wherever the candidate query knows it, not only where the window shows
    // its box.
    s.driver->layoutForMode();
    if (range != kRangeAll && s.driver->rangeFilter() != range) s.driver->changeRange(range);

    if (s.driver->resolveStatus() < 0) {
        throw CliError(
            kExitBadArguments,
            fmt::format("the operating point cannot be used with {}: {}", setup.refrigerant->name,
                        ResolveProblem(s.driver->resolveStatus())));
    }
    if (s.driver->candidates().empty()) {
        throw CliError(kExitNoModel,
                       fmt::format("no {} for {} at {} in these families", ModeName(s.mode),
                                   setup.refrigerant->name, setup.supply->name));
    }
    return s;
}

// A model's results one per line: heading, value, unit.
void PrintModel(std::ostream& out, const TCModel& model, const std::vector<QuantityColumn>& columns,
                UnitSystem units, ActivityMode mode, bool automatic) {
    const std::string words = statusWords(model.Status(), mode, automatic);
    fmt::print(out, "Model: {}\n", model.name);
    fmt::print(out, "Status: {}{}\n", model.Status(), words.empty() ? "" : " " + words);
    TextTable table;
    table.headings = {"Quantity", "Value", "Unit"};
    table.rightAligned = {false, true, false};
    for (const QuantityColumn& c : columns) {
        if (!Fills(model, c.code, mode)) continue;  // asked for, but not given by this model
        table.rows.push_back({c.heading, ResultText(model, c.code, units, mode), c.unit});
    }
    table.Print(out, Format::Table);
}

void PrintConditions(std::ostream& out, const SelectionDriver& driver, UnitSystem units) {
    fmt::print(out, "Refrigerant: {}   Supply: {}   Mode: {}\n", driver.refrigerant()->name,
               driver.supply()->name, ModeName(driver.activityMode()));
    std::string line;
    for (const auto& [name, value] :
         ConditionLines(driver.conditions(), units, driver.isTranscritical())) {
        if (!line.empty()) line += "   ";
        line += name + " " + value;
    }
    fmt::print(out, "{}\n\n", line);
}

Json HeaderJson(const char* command, const SelectionDriver& driver, UnitSystem units) {
    Json j;
    j["command"] = command;
    j["refrigerant"] = driver.refrigerant()->name;
    j["supply"] = driver.supply()->name;
    j["mode"] = ModeName(driver.activityMode());
    j["units"] = UnitsName(units);
    j["database"] = driver.store().VersionLabel();
    j["conditions"] = ConditionsJson(driver.conditions(), units);
    return j;
}

}  // namespace

int ListRefrigerants(const GlobalOptions& global, std::ostream& out) {
    const Format format = global.OutputFormat();
    const auto store = Open(global);
    if (format == Format::Json) {
        Json list = Json::array();
        for (const auto& r : store->Refrigerants()) {
            Json j;
            j["code"] = r->id;
            j["name"] = r->name;
            j["basis"] = std::string(1, r->basis);
            j["critical_temperature_C"] = r->criticalTemperature;
            j["critical_pressure_bar"] = r->criticalPressure;
            list.push_back(std::move(j));
        }
        PrintJson(out, list);
        return kExitOk;
    }
    TextTable table;
    table.headings = {"Code", "Refrigerant", "Basis", "Critical temperature", "Critical pressure"};
    table.units = {"", "", "", "\u00B0C", "bar"};
    table.rightAligned = {true, false, false, true, true};
    for (const auto& r : store->Refrigerants()) {
        table.rows.push_back({std::to_string(r->id), r->name, std::string(1, r->basis),
                              fmt::format("{:.2f}", r->criticalTemperature),
                              fmt::format("{:.2f}", r->criticalPressure)});
    }
    table.Print(out, format);
    return kExitOk;
}

int ListSupplies(const GlobalOptions& global, std::optional<int> frequency, std::ostream& out) {
    const Format format = global.OutputFormat();
    CheckFrequency(frequency);
    const auto store = Open(global);
    Json list = Json::array();
    TextTable table;
    table.headings = {"Number", "Supply", "Frequency", "Voltage", "Phases"};
    table.units = {"", "", "Hz", "V", ""};
    table.rightAligned = {true, false, true, true, true};
    for (const auto& s : store->Supplies()) {
        if (frequency && (s->frequency == 60) != (*frequency == 60)) continue;
        Json j;
        j["number"] = s->id;
        j["name"] = s->name;
        j["frequency_Hz"] = s->frequency;
        j["voltage_V"] = s->voltage;
        j["phases"] = s->phases;
        list.push_back(std::move(j));
        table.rows.push_back({std::to_string(s->id), s->name, std::to_string(s->frequency),
                              fmt::format("{:g}", s->voltage), fmt::format("{:g}", s->phases)});
    }
    if (format == Format::Json)
        PrintJson(out, list);
    else
        table.Print(out, format);
    return kExitOk;
}

int ListFamilies(const GlobalOptions& global, const std::string& modeText, std::ostream& out) {
    const Format format = global.OutputFormat();
    const bool filtered = !modeText.empty();
    const ActivityMode mode = filtered ? ParseMode(modeText) : ActivityMode::Compressors;
    const auto store = Open(global);
    const FamilySelection admitted = familiesOfMode(*store, mode);
    Json list = Json::array();
    TextTable table;
    table.headings = {"Kind", "Code", "Category", "Family", "Caption"};
    table.rightAligned = {false, true, true, false, false};
    for (const auto& f : store->Families()) {
        if (filtered && (f->kind != familyKindFor(mode) || !admitted.Contains(f->code))) continue;
        const std::string caption = store->FamilyCaption(*f, f->kind);
        Json j;
        j["kind"] = std::string(1, f->kind);
        j["code"] = f->code;
        j["category"] = f->category;
        j["name"] = f->name;
        j["caption"] = caption;
        list.push_back(std::move(j));
        table.rows.push_back({std::string(1, f->kind), std::to_string(f->code),
                              fmt::format("{:g}", f->category), f->name, caption});
    }
    if (format == Format::Json)
        PrintJson(out, list);
    else
        table.Print(out, format);
    return kExitOk;
}

int ListModels(const GlobalOptions& global, const FilterOptions& f, std::ostream& out) {
    const Format format = global.OutputFormat();
    const ActivityMode mode = ParseMode(f.mode);
    const int range = ParseRange(f.range);
    CheckFrequency(f.frequency);
    const auto store = Open(global);

    std::vector<Trefrigerant*> refrigerants;
    if (!f.refrigerant.empty()) {
        refrigerants.push_back(FindRefrigerant(*store, f.refrigerant));
    } else {
        for (const auto& r : store->Refrigerants()) refrigerants.push_back(r.get());
    }
    std::vector<const TSupply*> supplies;
    if (!f.supply.empty()) {
        supplies.push_back(FindSupply(*store, f.supply));
    } else {
        for (const auto& s : store->Supplies())
            if (!f.frequency || (s->frequency == 60) == (*f.frequency == 60))
                supplies.push_back(s.get());
    }
    const FamilySelection families = f.families.empty() ? DefaultFamilies(*store, mode)
                                                        : ParseFamilies(*store, f.families, mode);

    std::vector<TCModel*> models;
    std::set<const TCModel*> seen;
    for (Trefrigerant* refrigerant : refrigerants) {
        for (const TSupply* supply : supplies) {
            CandidateFilter filter;
            filter.refrigerantCode = refrigerant->id;
            filter.network = mode == ActivityMode::CondensingUnits && HasNetworkFamily(families);
            filter.supplyCode = supply->id;
            filter.families = families;
            filter.rangeIndex = range;
            filter.mode = mode;
            for (TCModel* model : selectCandidates(*store, filter)) {
                if (!f.name.empty() && Lower(model->name).find(Lower(f.name)) == std::string::npos)
                    continue;
                if (seen.insert(model).second) models.push_back(model);
            }
        }
    }

    Json list = Json::array();
    TextTable table;
    table.headings = {"Model", "Refrigerant", "Supply", "Family", "Range", "Features"};
    for (const TCModel* model : models) {
        const std::string refrigerant = model->refrigerant ? model->refrigerant->name : "";
        const std::string supply = model->supply ? model->supply->name : "";
        const std::string family = model->family ? model->family->name : "";
        const std::string rangeText = RangeText(store->ApplicationMask(*model));
        const std::vector<std::string> features = Features(*model);
        Json j;
        j["name"] = model->name;
        j["refrigerant"] = refrigerant;
        j["supply"] = supply;
        j["family"] = family;
        j["family_code"] = model->family ? Json(model->family->code) : Json();
        j["range"] = rangeText;
        j["features"] = features;
        list.push_back(std::move(j));
        table.rows.push_back(
            {model->name, refrigerant, supply, family, rangeText, JoinComma(features)});
    }
    if (format == Format::Json)
        PrintJson(out, list);
    else
        table.Print(out, format);
    return kExitOk;
}

int EvaluateModels(const GlobalOptions& global, const PointCommandOptions& options,
                   std::ostream& out) {
    const Format format = global.OutputFormat();
    Selection s = RunSelection(global, options, false);
    SelectionDriver& driver = *s.driver;

    // Which models, in which order.
    std::vector<TCModel*> models;
    if (!options.model.empty()) {
        for (TCModel* model : driver.candidates())
            if (Lower(model->name) == Lower(options.model)) models.push_back(model);
        if (models.empty()) {
            throw CliError(kExitUnknownName,
                           fmt::format("no model \"{}\" among the {} for {} at {} (see: kelvra-cli "
                                       "models --refrigerant {} --supply \"{}\" --mode {})",
                                       options.model, ModeName(s.mode), driver.refrigerant()->name,
                                       driver.supply()->name, driver.refrigerant()->name,
                                       driver.supply()->name, ModeName(s.mode)));
        }
    } else if (!options.sort.empty()) {
        SelectionList& list = driver.list();
        if (Lower(options.sort) == "name") {
            list.sortBy(-list.fixedCount());
        } else {
            const auto sortColumns =
                ColumnsNamed(options.sort, s.mode, s.units, driver.conditions());
            list.setColumns({ListColumn{'P', sortColumns.front().code}});
            list.sortBy(0);
        }
        for (const int i : list.order())
            models.push_back(list.items()[static_cast<std::size_t>(i)].model);
    } else {
        models = driver.candidates();
    }
    const std::vector<QuantityColumn> columns =
        options.columns.empty()
            ? ColumnsFor(models, s.mode, s.units, driver.conditions())
            : ColumnsNamed(options.columns, s.mode, s.units, driver.conditions());

    if (format == Format::Json) {
        Json j = HeaderJson("evaluate", driver, s.units);
        Json list = Json::array();
        for (const TCModel* model : models)
            list.push_back(ModelJson(*model, columns, s.units, s.mode, false));
        j["models"] = std::move(list);
        PrintJson(out, j);
        return kExitOk;
    }
    if (format == Format::Table) PrintConditions(out, driver, s.units);
    if (models.size() == 1 && format == Format::Table) {
        PrintModel(out, *models.front(), columns, s.units, s.mode, false);
        return kExitOk;
    }
    TextTable table;
    table.headings = {"Model", "Status"};
    table.units = {"", ""};
    table.rightAligned = {false, true};
    for (const QuantityColumn& c : columns) {
        table.headings.push_back(c.heading);
        table.units.push_back(c.unit);
        table.rightAligned.push_back(true);
    }
    table.headings.push_back("Status text");
    table.units.push_back("");
    for (const TCModel* model : models) {
        std::vector<std::string> row = {model->name, std::to_string(model->Status())};
        for (const QuantityColumn& c : columns)
            row.push_back(ResultText(*model, c.code, s.units, s.mode));
        row.push_back(statusWords(model->Status(), s.mode, false));
        table.rows.push_back(std::move(row));
    }
    table.Print(out, format);
    return kExitOk;
}

int SelectModel(const GlobalOptions& global, const PointCommandOptions& options, std::ostream& out,
                std::ostream& err) {
    const Format format = global.OutputFormat();
    Selection s = RunSelection(global, options, true);
    SelectionDriver& driver = *s.driver;
    const TCModel* chosen = driver.selectedModel();
    if (chosen == nullptr) throw CliError(kExitNoModel, "no model could be chosen");
    const bool qualifies =
        chosen->Status() >= 0 && chosen->Status() != model_status::BelowRequirement;
    const std::vector<QuantityColumn> columns =
        options.columns.empty()
            ? ColumnsFor({const_cast<TCModel*>(chosen)}, s.mode, s.units, driver.conditions())
            : ColumnsNamed(options.columns, s.mode, s.units, driver.conditions());
    const QuantityColumn valueColumn =
        MakeColumn(s.mode == ActivityMode::SolenoidValves ? q::PressureDifference
                   : (s.mode == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(s.mode))
                       ? q::HeatingCapacity
                       : q::CoolingCapacity,
                   s.units, s.mode, driver.conditions());

    if (format == Format::Json) {
        Json j = HeaderJson("select", driver, s.units);
        j["qualifies"] = qualifies;
        j["threshold"] =
            ToDisplay(valueColumn.code, s.units, selectionThreshold(s.mode, driver.conditions())) +
            0.0;
        j["chosen"] = ModelJson(*chosen, columns, s.units, s.mode, true);
        Json candidates = Json::array();
        for (const TCModel* model : driver.candidates()) {
            Json c;
            c["name"] = model->name;
            c["status"] = model->Status();
            c["selection_value"] =
                IsValidStatus(model->Status())
                    ? Json(ToDisplay(valueColumn.code, s.units, model->SelectionValue(s.mode)) +
                           0.0)
                    : Json();
            candidates.push_back(std::move(c));
        }
        j["candidates"] = std::move(candidates);
        PrintJson(out, j);
    } else {
        if (format == Format::Table) PrintConditions(out, driver, s.units);
        PrintModel(out, *chosen, columns, s.units, s.mode, true);
        if (format == Format::Table) {
            out << "\nCandidates (* chosen):\n";
            TextTable table;
            table.headings = {"", "Model", valueColumn.heading, "Status", "Status text"};
            table.units = {"", "", valueColumn.unit, "", ""};
            table.rightAligned = {false, false, true, true, false};
            for (const TCModel* model : driver.candidates()) {
                table.rows.push_back({model == chosen ? "*" : "", model->name,
                                      ResultText(*model, valueColumn.code, s.units, s.mode),
                                      std::to_string(model->Status()),
                                      statusWords(model->Status(), s.mode, true)});
            }
            table.Print(out, format);
        }
    }
    if (!qualifies) {
        if (chosen->Status() < 0) {
            fmt::print(err,
                       "kelvra-cli: no candidate can be rated at this point; {} is shown ({})\n",
                       chosen->name, statusWords(chosen->Status(), s.mode, true));
        } else {
            fmt::print(err, "kelvra-cli: no model exceeds {}; the largest, {}, is shown\n",
                       s.mode == ActivityMode::SolenoidValves
                           ? std::string("the required pressure difference")
                           : std::string("98 % of the required capacity"),
                       chosen->name);
        }
        return kExitNoModel;
    }
    return kExitOk;
}

}  // namespace kelvra::cli
