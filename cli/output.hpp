#pragma once
// Output of kelvra-cli: aligned text tables, tab-separated text and JSON, and the results of
// evaluated models with their headings and units.

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "activity_mode.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"
#include "units.hpp"

namespace kelvra::cli {

using Json = nlohmann::ordered_json;

enum class Format { Table, Tsv, Json };
Format ParseFormat(const std::string& text);

// A text table: one header row (and an optional unit row), then the rows; printed aligned or
// tab-separated.
struct TextTable {
    std::vector<std::string> headings;
    std::vector<std::string> units;  // empty: no unit row
    std::vector<std::vector<std::string>> rows;
    // Columns aligned to the right (numbers).
    std::vector<bool> rightAligned;

    void Print(std::ostream& out, Format format) const;
};

// One result quantity as shown: its code, a key for scripts, the heading in the current language
// and the unit label of the unit system (the internal unit where the quantity is shown as held).
struct QuantityColumn {
    QuantityCode code = 0;
    std::string key;
    std::string heading;
    std::string unit;
};

// Key of a quantity for scripts ("capacity", "power", "cop", ...).
std::string QuantityKey(QuantityCode code);
// The column of a quantity for a mode, unit system and point.
QuantityColumn MakeColumn(QuantityCode code, UnitSystem units, ActivityMode mode,
                          const OperatingConditions& conditions);
// The quantities that any of the models fills, ascending; all of them for an empty `only`,
// otherwise those whose key or code is listed.
std::vector<QuantityColumn> ColumnsFor(const std::vector<TCModel*>& models, ActivityMode mode,
                                       UnitSystem units, const OperatingConditions& conditions);
// The columns named in a comma-separated list of keys or codes (CliError for unknown ones).
std::vector<QuantityColumn> ColumnsNamed(const std::string& list, ActivityMode mode,
                                         UnitSystem units, const OperatingConditions& conditions);

// Whether the model gives the quantity when evaluated in the mode.
bool Fills(const TCModel& model, QuantityCode code, ActivityMode mode);

// The text of a result in the unit system as the program shows it; "-" for a model whose status
// is negative, empty for a quantity the model does not give.
std::string ResultText(const TCModel& model, QuantityCode code, UnitSystem units,
                       ActivityMode mode);

// A model, its status and those of the listed results that it gives, as JSON.
Json ModelJson(const TCModel& model, const std::vector<QuantityColumn>& columns, UnitSystem units,
               ActivityMode mode, bool autoSelect);

// The resolved operating point as JSON and as lines of text, in the unit system.
Json ConditionsJson(const OperatingConditions& conditions, UnitSystem units);
// A transcritical point shows its gas-cooler pressure and outlet temperature instead of the
// condensing and liquid side.
std::vector<std::pair<std::string, std::string>> ConditionLines(const OperatingConditions& c,
                                                                UnitSystem units,
                                                                bool transcritical);

}  // namespace kelvra::cli
