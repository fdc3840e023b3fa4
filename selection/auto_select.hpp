#pragma once

// The automatic choice of a model by required capacity.
//
// Each evaluated candidate offers its selection value: cooling capacity, heating capacity for
// heat-pump compressors and heat pumps, the pressure difference for solenoid valves. A model
// qualifies when its value lies strictly above the threshold, 98 % of the required capacity
// (the required pressure difference itself for solenoid valves). Among the qualifying models the
// one closest to the requirement wins, the earlier one on equal distance. When none qualifies
// the largest model is chosen and, unless it failed, marked with status 7 (capacity short of
// the requirement). Failed models (negative status) never compete; only when nothing valid is
// larger than the first candidate is that first one shown with its own error.

#include <span>

#include "activity_mode.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"

namespace kelvra {

// Share of the required capacity a model must exceed to qualify.
inline constexpr double kQualifyingShare = 0.98;

// The requirement the selection values are compared with: `ordaDiffPressure` (bar) for
// solenoid valves, otherwise the required capacity (kW).
double selectionReference(ActivityMode mode, const OperatingConditions& conditions);

// The value a model must exceed: the reference itself for solenoid valves, otherwise 98 % of
// the required capacity.
double selectionThreshold(ActivityMode mode, const OperatingConditions& conditions);

// Chooses among evaluated candidates as described above and returns the chosen model (nullptr
// only for an empty list). Writes statuses: 7 on a valid model chosen without qualifying, and
// in the modes of expansion valves, head-pressure controls and filter driers 0 on every valid
// candidate it looks at.
TCModel* autoSelectModel(std::span<TCModel* const> candidates, ActivityMode mode,
                         const OperatingConditions& conditions);

}  // namespace kelvra
