#pragma once
// The commands of kelvra-cli that work on the product database: listings, the evaluation of
// candidates at an operating point and the choice of a model by required capacity. Each
// returns an exit code or throws CliError.

#include <optional>
#include <ostream>
#include <string>

#include "cli_support.hpp"
#include "output.hpp"

namespace kelvra::cli {

struct GlobalOptions {
    std::string database;  // empty: "data" beside the executable
    std::string format = "table";
    bool json = false;  // --json: the same as --format json

    Format OutputFormat() const { return json ? Format::Json : ParseFormat(format); }
};

// Which models: refrigerant, supply (or frequency), families, range and mode.
struct FilterOptions {
    std::string mode = "compressors";
    std::string refrigerant;
    std::string supply;
    std::optional<int> frequency;
    std::string families;
    std::string range = "all";
    std::string name;  // models: part of the model name
};

struct PointCommandOptions {
    FilterOptions filters;
    PointOptions point;
    std::string units = "si";
    std::string model;    // evaluate: only this model
    std::string columns;  // quantities to show, by key or code
    std::string sort;     // evaluate: a quantity key, or "name"
};

int ListRefrigerants(const GlobalOptions& global, std::ostream& out);
int ListSupplies(const GlobalOptions& global, std::optional<int> frequency, std::ostream& out);
int ListFamilies(const GlobalOptions& global, const std::string& mode, std::ostream& out);
int ListModels(const GlobalOptions& global, const FilterOptions& filters, std::ostream& out);
int EvaluateModels(const GlobalOptions& global, const PointCommandOptions& options,
                   std::ostream& out);
int SelectModel(const GlobalOptions& global, const PointCommandOptions& options, std::ostream& out,
                std::ostream& err);

}  // namespace kelvra::cli
