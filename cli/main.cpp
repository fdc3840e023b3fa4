// kelvra-cli: Kelvra's command-line front end.

#include <CLI/CLI.hpp>

#include <iostream>

#include "fluid_commands.hpp"

int main(int argc, char** argv) {
    CLI::App app{"Kelvra 7 command line: refrigerant properties, selections and tables", "kelvra-cli"};
    app.require_subcommand(1);

    auto* fluids = app.add_subcommand("fluids", "List the refrigerants the property library knows");

    auto* sat = app.add_subcommand("saturation", "Saturation pressures and liquid enthalpy of one refrigerant");
    std::string fluid;
    double from = -40, to = 60, step = 10;
    sat->add_option("fluid", fluid, "Refrigerant name, e.g. R134a, R404A, R744")->required();
    sat->add_option("--from", from, "First temperature, °C")->capture_default_str();
    sat->add_option("--to", to, "Last temperature, °C")->capture_default_str();
    sat->add_option("--step", step, "Temperature step, K")->capture_default_str();

    CLI11_PARSE(app, argc, argv);

    if (*fluids) return kelvra::cli::list_fluids(std::cout);
    if (*sat) return kelvra::cli::saturation_table(fluid, from, to, step, std::cout, std::cerr);
    return 0;
}
