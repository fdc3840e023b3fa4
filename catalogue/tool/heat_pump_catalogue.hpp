#pragma once
// The heat pumps of our own range: read from the "heatPumps" lists of the source, checked against
// the compressors of the catalogue, and compiled into the default heat-pump file that the program
// reads while the user has no heat-pump file of their own.

#include <cstdint>
#include <vector>

#include "catalogue_source.hpp"
#include "heat_pump_file.hpp"
#include "json_reader.hpp"
#include "record_files.hpp"

namespace kelvra::catalogue {

// The name of the default heat-pump file in the data folder.
inline constexpr const char* kHeatPumpFile = kDefaultHeatPumpFileName;

// Reads one heat pump of a "heatPumps" list. Throws SourceError at a problem.
HeatPumpDef ReadHeatPump(const Node& n);

// Checks every heat pump against the source: a known compressor model offered on the refrigerant
// and supply, a built-in heat-pump family that matches the source kind, names used once.
void CheckHeatPumps(const CatalogueSource& source);

// The bytes of the heat-pump file: a header with the database date and one record per heat pump
// on the compressor record of `database` that the source names. Empty when the source has no
// heat pumps.
std::vector<std::uint8_t> CompileHeatPumps(const CatalogueSource& source, const ProductDatabase& database);

}  // namespace kelvra::catalogue
