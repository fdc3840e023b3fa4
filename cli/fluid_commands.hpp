#pragma once
// Command-line views of the refrigerant property library.

#include <ostream>
#include <string>

namespace kelvra::cli {

// One line per known fluid: name, critical temperature and pressure, equation reference.
int list_fluids(std::ostream& out);

// Dew and bubble pressures (bar) and saturated liquid enthalpy (kJ/kg) from `from` to `to` degC.
// Returns kExitUnknownName for an unknown fluid and kExitBadArguments for a bad range, each with
// a message on `err`.
int saturation_table(const std::string& fluid, double from, double to, double step,
                     std::ostream& out, std::ostream& err);

}  // namespace kelvra::cli
