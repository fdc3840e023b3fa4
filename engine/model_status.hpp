#pragma once

// Status of an evaluated model. Zero and positive codes are valid results (positive ones are
// warnings); negative codes mean the results are not valid. The texts shown for them belong to
// the selection, not to the models.

#include <cstdint>

namespace kelvra {

using ModelStatus = std::int32_t;

namespace model_status {

// --- valid ---
// The point lies in at least one envelope of a normal kind (1, 3, 6, 10-13 or 15).
inline constexpr ModelStatus Valid = 0;
// Every envelope containing the point is of another kind (the fan warning).
inline constexpr ModelStatus OtherEnvelopeKind = 1;
// A warning code above 3 after the clamps of condensing units and performance tables.
inline constexpr ModelStatus Clamped = 3;
// Every envelope containing the point holds preliminary data (kind 10).
inline constexpr ModelStatus PreliminaryData = 5;
// Set by the automatic selection: no model reaches 98 % of the required capacity.
inline constexpr ModelStatus BelowRequirement = 7;
// Valid only within the model's extended envelope (limited superheat).
inline constexpr ModelStatus ExtendedEnvelope = 8;

// --- outside the envelope, by side ---
inline constexpr ModelStatus EvapTooHigh =
    -1;  // right of the envelope (or an envelope without lines)
inline constexpr ModelStatus CondTooLow = -3;   // below the envelope
inline constexpr ModelStatus CondTooHigh = -4;  // above the envelope
// Left of the envelope; also: the point lies only in envelopes of kinds 3 and 4, a capacity of
// 0.01 kW or less (and rating data without a model), or a refrigerant-property error.
inline constexpr ModelStatus EvapTooLow = -5;
inline constexpr ModelStatus SpeedBelowEnvelopes = -22;  // below the lowest envelope speed
inline constexpr ModelStatus SpeedAboveEnvelopes = -23;  // above the highest envelope speed

// --- other errors ---
inline constexpr ModelStatus SuperheatTooLow = -6;       // superheat below 2.995 K
inline constexpr ModelStatus OutsideEnvelope = -7;       // outside the envelope, other cases
inline constexpr ModelStatus UnknownRatingModel = -9;    // unknown rating-model kind
inline constexpr ModelStatus NoCondenserData = -11;      // condensing unit without condenser data
inline constexpr ModelStatus BalanceNotConverged = -12;  // condensing-unit balance did not converge
inline constexpr ModelStatus LiquidBelowEvap =
    -14;  // liquid colder than the evaporating temperature
// Suction gas above 76 degC, or the superheat or return-gas limit of the envelope exceeded.
inline constexpr ModelStatus SuctionGasTooHot = -16;
// No rating data, a failure raised during the evaluation, or a model that cannot evaluate.
inline constexpr ModelStatus EvaluationFailed = -17;
inline constexpr ModelStatus CondAboveUnitMaximum = -18;  // above the unit's maximum condensing
// Superheat below the useful superheat plus the suction-line drop while not all of it is useful.
inline constexpr ModelStatus UsefulSuperheatTooHigh = -19;
inline constexpr ModelStatus MotorLimit = -20;           // power input at or above the motor limit
inline constexpr ModelStatus DischargeTooHot = -21;      // discharge temperature above the limit
inline constexpr ModelStatus OnlySpecialEnvelope = -24;  // only in envelopes of kind 17
// No data for the requested load step; also the lowest code after clamping.
inline constexpr ModelStatus NoLoadStepData = -25;

}  // namespace model_status

// True when the results of a model with this status may be used.
constexpr bool IsValidStatus(ModelStatus status) {
    return status >= 0;
}

// A compressor's evaluation code, in this order: below -25 becomes -25; 4 and 5 become 5; any
// other code above 3 except 8 becomes 3.
constexpr ModelStatus ClampCompressorStatus(ModelStatus status) {
    if (status < model_status::NoLoadStepData) return model_status::NoLoadStepData;
    if (status == 4 || status == 5) return model_status::PreliminaryData;
    if (status > 3 && status != model_status::ExtendedEnvelope) return model_status::Clamped;
    return status;
}

// A performance-table cell: -25..3, except that 8 is kept.
constexpr ModelStatus ClampTableStatus(ModelStatus status) {
    if (status < model_status::NoLoadStepData) return model_status::NoLoadStepData;
    if (status > 3 && status != model_status::ExtendedEnvelope) return model_status::Clamped;
    return status;
}

// A condensing unit: -25..3.
constexpr ModelStatus ClampUnitStatus(ModelStatus status) {
    if (status < model_status::NoLoadStepData) return model_status::NoLoadStepData;
    if (status > 3) return model_status::Clamped;
    return status;
}

}  // namespace kelvra
