#pragma once

// Heading texts of result quantities (summary, tables, reports), in the current language.

#include <string>
#include <string_view>

#include "activity_mode.hpp"
#include "units.hpp"

namespace kelvra {

struct OperatingConditions;

// The language key of a quantity's heading in the catalogue ("litPower", "strDiscTemp", ...);
// empty when the caller supplies the heading itself (suction and discharge pressure, temperature
// difference, codes outside the catalogue). Codes 1 and 4 give their plain keys "litCapacity" and
// "litCOP"; QuantityHeading chooses among their variants.
std::string_view HeadingKey(QuantityCode code);

// The heading of a quantity for the unit system, the activity mode and the current operating
// conditions, looked up in the installed language texts with the built-in English wording as
// default. Cooling capacity becomes the refrigeration capacity for heat pumps and the evaporator
// capacity when only part of the superheat is useful; COP becomes EER in Imperial units and a
// system figure with advanced conditions. Empty for codes without a heading key.
std::string QuantityHeading(QuantityCode code, UnitSystem system, ActivityMode mode,
                            const OperatingConditions& conditions);

}  // namespace kelvra
