#pragma once

// The rows of the result tabs for the selected model: summary, technical data, accessories and
// motor codes. Plain text rows; the window only puts them into its grids.

#include <string>
#include <vector>

#include "activity_mode.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"
#include "units.hpp"

namespace kelvra {

class TdataStore;

struct ResultRow {
    std::string label;
    std::string value;
    bool heading = false;  // a section heading, drawn in bold across the grid
};

// The operating point as the summary shows it: "-10.0 / 45.0 degC"; the ambient temperature in
// place of the condensing temperature for condensing units, the gas-cooler pressure at a
// transcritical point.
std::string OperatingPointText(const OperatingConditions& conditions, ActivityMode mode,
                               UnitSystem units, bool transcritical);

// The summary of `model` (nothing without a model): the operating point, the model and its
// results in the display units, or the text of why there are none.
std::vector<ResultRow> SummaryRows(const TCModel* model, const OperatingConditions& conditions,
                                   ActivityMode mode, UnitSystem units, bool transcritical);

// Technical data: the model, then its mechanical and electrical data in the store's order.
std::vector<ResultRow> TechnicalDataRows(const TdataStore& store, const TCModel& model,
                                         ActivityMode mode);

// Included and optional accessories; empty when the model has none.
std::vector<ResultRow> AccessoryRows(const TdataStore& store, const TCModel& model,
                                     ActivityMode mode);

// One motor code of a model: code, supply, nominal voltage, connection, direct-on-line value and
// the approximate amp factor against the model's first code ("" when it cannot be given).
struct MotorCodeLine {
    std::string code;
    std::string supply;
    std::string voltage;
    std::string connection;
    std::string directOnLine;
    std::string ampFactor;
};
std::vector<std::string> MotorCodeHeadings();
std::vector<MotorCodeLine> MotorCodeRows(const TdataStore& store, const TCModel& model);

}  // namespace kelvra
