// kelvra-cli: Kelvra's command-line front end for batch work and automation.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "cli_support.hpp"
#include "commands.hpp"
#include "fluid_commands.hpp"

namespace {

using namespace kelvra::cli;

constexpr const char* kFooter = R"(
Exit codes:
  0  success
  1  unexpected failure
  2  bad arguments: unknown option, missing or malformed value, an operating point that cannot
     exist (evaporating not below condensing, below absolute zero, beyond the refrigerant's range)
  3  the product database or the property libraries cannot be used
  4  unknown name: refrigerant, supply, family or model not in the database
  5  no model: no candidate for the filters, or (select) none reaches the requirement -- the
     largest model is still printed

Examples (on the shipped sample database):
  kelvra-cli refrigerants
  kelvra-cli supplies --frequency 60
  kelvra-cli families --mode compressors
  kelvra-cli models --refrigerant R404A --supply 380/420V-3-50
  kelvra-cli evaluate -r R404A --evap -10 --cond 40 --superheat 10 --subcooling 0
  kelvra-cli evaluate -r R404A --units imperial --evap 14 --cond 104 --model KSH-434 --json
  kelvra-cli select -r R404A --evap -10 --cond 45 --return-gas 20 --capacity 10
  kelvra-cli select -r R744 --evap -10 --cond-pressure 90 --gas-cooler-outlet 35 --capacity 20

--database, --format and --json may stand before or after the command. The product database is
read from the folder "data" beside this program unless --database names another; the
refrigerant property libraries are loaded from beside this program.)";

// Adds an option whose value, when given, goes into an optional.
template <class T>
CLI::Option* Optional(CLI::App* app, const std::string& name, std::optional<T>& target,
                      const std::string& help) {
    return app->add_option_function<T>(
        name, [&target](const T& value) { target = value; }, help);
}

void AddFilters(CLI::App* app, FilterOptions& f, bool refrigerantRequired) {
    auto* r = app->add_option("-r,--refrigerant", f.refrigerant,
                              "Refrigerant by name (R134a) or database code");
    if (refrigerantRequired) r->required();
    app->add_option("-m,--mode", f.mode,
                    "What is selected: compressors, units, heat-pump-compressors, "
                    "expansion-valves, solenoid-valves, head-pressure-controls, filter-driers, "
                    "brine-water-heat-pumps, air-water-heat-pumps (or 0..8)")
        ->capture_default_str();
    app->add_option("-s,--supply", f.supply,
                    "Electrical supply by name (400V-3-50) or number; default: the first supply "
                    "of the frequency");
    Optional(app, "--frequency", f.frequency, "50 or 60 (Hz); default 50");
    app->add_option("-f,--families", f.families,
                    "Families by code or name, comma-separated; default: every family the mode "
                    "selects from");
    app->add_option("--range", f.range, "Application range: all, lt, mt, both")
        ->capture_default_str();
}

void AddPoint(CLI::App* app, PointCommandOptions& o) {
    app->add_option("-u,--units", o.units,
                    "Unit system of the values given and shown: si (degC, K, kW, bar), imperial "
                    "(degF, degF difference, kBtu/h, psi) or kcal")
        ->capture_default_str();
    PointOptions& p = o.point;
    Optional(app, "-e,--evap", p.evap,
             "Evaporating temperature (dew point; mid point for "
             "mid-point blends)");
    Optional(app, "--evap-pressure", p.evapPressure, "Evaporating pressure, absolute, instead");
    Optional(app, "-c,--cond", p.cond, "Condensing temperature");
    Optional(app, "--cond-pressure", p.condPressure,
             "Condensing (or CO2 gas-cooler) pressure, absolute, instead");
    auto* superheat = Optional(app, "--superheat", p.superheat, "Suction superheat; default 10 K");
    auto* returnGas = Optional(app, "--return-gas", p.returnGas, "Suction gas return temperature");
    superheat->excludes(returnGas);
    auto* subcooling =
        Optional(app, "--subcooling", p.subcooling, "Liquid subcooling; default 0 K");
    auto* liquid = Optional(app, "--liquid", p.liquid, "Liquid temperature");
    subcooling->excludes(liquid);
    Optional(app, "--gas-cooler-outlet", p.gasCoolerOutlet,
             "Gas-cooler outlet temperature of a transcritical CO2 point");
    Optional(app, "-q,--capacity", p.capacity,
             "Required capacity (heating capacity for heat "
             "pumps and heat-pump compressors)");
    Optional(app, "--pressure-difference", p.pressureDifference,
             "Required pressure difference of solenoid valves");
    Optional(app, "--speed", p.speed, "Speed of variable-speed and inverter models, rpm");
    Optional(app, "--load", p.load, "Load of models with load steps, % (33..100)");
    app->add_option("--columns", o.columns,
                    "Quantities to show, comma-separated keys or codes (capacity, power, cop, "
                    "current, mass_flow, ...); default: every quantity the models give");
}

int Run(int argc, char** argv) {
    CLI::App app{
        "Kelvra 7 command line: refrigerant properties, product listings, ratings of "
        "models at an operating point and the choice of a model by required capacity.",
        "kelvra-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    app.footer(kFooter);

    GlobalOptions global;
    app.add_option("--database", global.database,
                   "Product database folder (default: \"data\" beside kelvra-cli)");
    app.add_option("--format", global.format, "Output: table, tsv or json")->capture_default_str();
    app.add_flag("--json", global.json, "Output JSON (the same as --format json)");

    auto* fluids = app.add_subcommand("fluids", "List the refrigerants the property library knows");

    auto* sat = app.add_subcommand("saturation",
                                   "Saturation pressures and liquid enthalpy of one refrigerant");
    std::string fluid;
    double from = -40, to = 60, step = 10;
    sat->add_option("fluid", fluid, "Refrigerant name, e.g. R134a, R404A, R744")->required();
    sat->add_option("--from", from, "First temperature, \u00B0C")->capture_default_str();
    sat->add_option("--to", to, "Last temperature, \u00B0C")->capture_default_str();
    sat->add_option("--step", step, "Temperature step, K")->capture_default_str();

    auto* refrigerants =
        app.add_subcommand("refrigerants", "List the refrigerants of the product database");

    auto* supplies = app.add_subcommand("supplies", "List the electrical supplies");
    std::optional<int> supplyFrequency;
    Optional(supplies, "--frequency", supplyFrequency, "Only the supplies of 50 or 60 Hz");

    auto* families = app.add_subcommand("families", "List the product families");
    std::string familyMode;
    families->add_option("-m,--mode", familyMode, "Only the families a mode selects from");

    auto* models = app.add_subcommand(
        "models",
        "List the models that pass the filters (every refrigerant and supply unless given)");
    FilterOptions modelFilters;
    AddFilters(models, modelFilters, false);
    models->add_option("--name", modelFilters.name, "Only models whose name contains this text");

    auto* evaluate =
        app.add_subcommand("evaluate", "Rate every candidate (or one model) at an operating point");
    PointCommandOptions evaluateOptions;
    AddFilters(evaluate, evaluateOptions.filters, true);
    AddPoint(evaluate, evaluateOptions);
    evaluate->add_option("--model", evaluateOptions.model,
                         "Only this model (name, without regard "
                         "to case)");
    evaluate->add_option("--sort", evaluateOptions.sort,
                         "Order by a quantity key (failed models last) or by name; default: "
                         "database order");

    auto* select = app.add_subcommand(
        "select", "Choose the model closest to a required capacity among those above 98 % of it");
    PointCommandOptions selectOptions;
    AddFilters(select, selectOptions.filters, true);
    AddPoint(select, selectOptions);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitBadArguments;
    }

    if (*fluids) return list_fluids(std::cout);
    if (*sat) return saturation_table(fluid, from, to, step, std::cout, std::cerr);
    if (*refrigerants) return ListRefrigerants(global, std::cout);
    if (*supplies) return ListSupplies(global, supplyFrequency, std::cout);
    if (*families) return ListFamilies(global, familyMode, std::cout);
    if (*models) return ListModels(global, modelFilters, std::cout);
    if (*evaluate) return EvaluateModels(global, evaluateOptions, std::cout);
    if (*select) return SelectModel(global, selectOptions, std::cout, std::cerr);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const CliError& e) {
        std::cout.flush();
        std::cerr << "kelvra-cli: " << e.what() << '\n';
        return e.code();
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "kelvra-cli: unexpected failure: " << e.what() << '\n';
        return kExitFailure;
    }
}
