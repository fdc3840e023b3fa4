#pragma once
// What the commands of kelvra-cli share: exit codes, the error that carries one, the product
// database beside the program, and the reading of names, modes, units and operating points
// given on the command line.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "activity_mode.hpp"
#include "family_selection.hpp"
#include "operating_conditions.hpp"
#include "units.hpp"

namespace kelvra {
class TdataStore;
class Trefrigerant;
class TSupply;
class TFamily;
}  // namespace kelvra

namespace kelvra::cli {

// Exit codes a script can rely on.
enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1,       // anything unforeseen
    kExitBadArguments = 2,  // unknown option, missing or malformed value, impossible point
    kExitDatabase = 3,      // product database or property libraries not usable
    kExitUnknownName = 4,   // refrigerant, supply, family or model not in the database
    kExitNoModel = 5,       // no candidate, or none reaches the required capacity
};

// A failure with the message to print and the exit code to end with.
class CliError : public std::runtime_error {
  public:
    CliError(ExitCode code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    ExitCode code() const { return code_; }

  private:
    ExitCode code_;
};

// The product database folder by default: "data" beside the executable.
std::filesystem::path DefaultDatabaseFolder();

// Loads the property libraries from beside the executable and the product database from
// `folder`. Throws CliError(kExitDatabase) when either cannot be used, naming what is wrong.
std::unique_ptr<TdataStore> OpenDatabase(const std::filesystem::path& folder);

// --- names ---

// A refrigerant by name (without regard to case) or database code.
Trefrigerant* FindRefrigerant(const TdataStore& store, const std::string& text);
// A supply by name (without regard to case) or number.
const TSupply* FindSupply(const TdataStore& store, const std::string& text);
// Families by code or name (without regard to case), comma-separated; codes are read as
// families of the mode's kind. Every family must be one the mode can select from.
FamilySelection ParseFamilies(const TdataStore& store, const std::string& text, ActivityMode mode);

// "compressors", "units", ... or 0..8.
ActivityMode ParseMode(const std::string& text);
std::string ModeName(ActivityMode mode);
// "all", "lt", "mt", "both" or 0..3.
int ParseRange(const std::string& text);
// "si", "imperial", "kcal".
UnitSystem ParseUnits(const std::string& text);
std::string UnitsName(UnitSystem units);

// --- the operating point, as typed in the chosen unit system ---
struct PointOptions {
    std::optional<double> evap;                // evaporating temperature
    std::optional<double> cond;                // condensing temperature
    std::optional<double> evapPressure;        // instead of the evaporating temperature
    std::optional<double> condPressure;        // instead of the condensing temperature
    std::optional<double> superheat;           // temperature difference
    std::optional<double> returnGas;           // suction gas return temperature
    std::optional<double> subcooling;          // temperature difference
    std::optional<double> liquid;              // liquid temperature
    std::optional<double> gasCoolerOutlet;     // transcritical CO2
    std::optional<double> capacity;            // required capacity
    std::optional<double> pressureDifference;  // required pressure difference (solenoid valves)
    std::optional<double> speed;               // rpm
    std::optional<int> load;                   // %
};

// The conditions record of the options, in SI, not yet resolved. Throws
// CliError(kExitBadArguments) for values that no operating point can have.
OperatingConditions MakeConditions(const PointOptions& options, UnitSystem units);

// Lower case of an ASCII text.
std::string Lower(std::string text);

}  // namespace kelvra::cli
