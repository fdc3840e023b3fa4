#pragma once

// The operating conditions in an INI section: section "settings" of the settings file and of
// project files. Reals are stored as integers of one hundred times the value, flags as
// "true"/"false".

#include <string_view>

#include "ini_file.hpp"
#include "operating_conditions.hpp"

namespace kelvra {

inline constexpr std::string_view kConditionsSection = "settings";

// Reads the conditions keys into `conditions`. Each stored member takes the key's value, or the
// key's own default when the key is missing or its value is no number in range (see
// IniFile::ReadInteger); members without a key keep their value. Afterwards advanced mode is off,
// all superheat is useful and the useful superheat equals the superheat, whatever the section
// holds; the caller then resolves the record.
//
// Besides the keys older versions wrote, the section holds the input kinds and the members that
// are entered directly in some modes (condensing or gas-cooler pressure, evaporating pressure,
// liquid temperature, ambient, water outlet and source temperatures), so that a point entered
// as a pressure - a transcritical CO2 point above all - or in a condensing-unit or heat-pump mode
// reads back as it was saved. A file without them reads as before: the stored temperatures are
// the inputs and the other members keep their values.
void ReadConditions(const IniFile& ini, OperatingConditions& conditions,
                    std::string_view section = kConditionsSection);

// Writes every conditions key, in the order older versions wrote them, followed by the input
// kinds and directly entered members.
void WriteConditions(IniFile& ini, const OperatingConditions& conditions,
                     std::string_view section = kConditionsSection);

}  // namespace kelvra
