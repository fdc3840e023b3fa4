#include "heat_pump.hpp"

#include <algorithm>
#include <cmath>

#include "compressor.hpp"
#include "envelope.hpp"
#include "product_records.hpp"
#include "rating_data.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace q = quantity;
namespace st = model_status;

namespace {

// Clamped to [low, high]; a rule whose limits are the wrong way round gives its upper limit,
// never an undefined clamp.
double Clamp(double value, double low, double high) {
    return std::min(std::max(value, low), high);
}

// Where a rule slope * t + offset reaches `limit`.
double ReachedAt(double limit, double offset, double slope, double never) {
    if (std::fabs(slope) < THeatPump::kFlatSlope) return never;
    return (limit - offset) / slope;
}

}  // namespace

THeatPump::THeatPump() {
    classLetter = 'P';
}

double THeatPump::EvapDifferenceUnclamped(double source) const {
    return evapSlope * source + evapOffset;
}

double THeatPump::EvapDifference(double source) const {
    return Clamp(EvapDifferenceUnclamped(source), evapMin, evapMax);
}

double THeatPump::CondDifferenceUnclamped(double water) const {
    return condSlope * water + condOffset;
}

double THeatPump::CondDifference(double water) const {
    return Clamp(CondDifferenceUnclamped(water), condMin, condMax);
}

double THeatPump::EvaporatingFromSource(double source) const {
    return source - EvapDifference(source);
}

double THeatPump::CondensingFromWater(double water) const {
    return water + CondDifference(water);
}

double THeatPump::SourceFromEvaporating(double evaporating) const {
    return evaporating +
           Clamp((evaporating + evapOffset) / (1.0 - evapSlope) - evaporating, evapMin, evapMax);
}

double THeatPump::WaterFromCondensing(double condensing) const {
    return condensing -
           Clamp(condensing - (condensing - condOffset) / (1.0 + condSlope), condMin, condMax);
}

double THeatPump::SourceAtEvapMin() const {
    return ReachedAt(evapMin, evapOffset, evapSlope, kNeverBelow);
}

double THeatPump::SourceAtEvapMax() const {
    return ReachedAt(evapMax, evapOffset, evapSlope, kNeverAbove);
}

double THeatPump::WaterAtCondMin() const {
    return ReachedAt(condMin, condOffset, condSlope, kNeverBelow);
}

double THeatPump::WaterAtCondMax() const {
    return ReachedAt(condMax, condOffset, condSlope, kNeverAbove);
}

bool THeatPump::IsVariableSpeed() const {
    return compressor != nullptr && compressor->IsVariableSpeed();
}

std::int32_t THeatPump::NominalSpeed() const {
    return compressor != nullptr ? compressor->NominalSpeed() : 0;
}

ModelStatus THeatPump::Evaluate(OperatingConditions conditions, ActivityMode mode) {
    const std::int32_t compressorSpeed = compressor != nullptr ? compressor->Speed() : 0;
    ModelStatus status = st::EvaluationFailed;
    try {
        status = EvaluateUnguarded(conditions, mode);
    } catch (...) {
        status = st::EvaluationFailed;
    }
    if (compressor != nullptr) compressor->SetSpeed(compressorSpeed);
    if (status < 0) ClearResults();
    SetStatus(status);
    return status;
}

ModelStatus THeatPump::EvaluateUnguarded(OperatingConditions c, ActivityMode mode) {
    if (compressor == nullptr) return st::EvapTooHigh;  // -1: nothing to evaluate
    const double source = c.sourceInletTemp;
    const double water = c.waterOutletTemp;
    if (!std::isfinite(source) || !std::isfinite(water)) return st::EvaluationFailed;

    c.evapTemp = EvaporatingFromSource(source);
    c.condTemp = CondensingFromWater(water);
    c.superheat = superheat;
    c.subcooling = subcooling;
    c.useSGR = false;
    c.liquidTempGiven = false;
    c.condByPressure = 0;
    c.evapByPressure = 0;
    const std::int32_t resolved = Resolve(c, compressor->refrigerant);
    if (resolved < 0) return resolved;

    // The compressor runs at the heat pump's speed for this evaluation only; a heat pump whose
    // speed was never set runs it as it stands.
    if (speed_ != 0) compressor->SetSpeed(speed_);
    const ModelStatus status = compressor->EvaluateGuarded(c, mode);
    SetResults(compressor->Results());
    if (status < 0) return status;

    double heating = compressor->Result(q::HeatingCapacity);
    double power = compressor->Result(q::PowerInput);
    if (IsAirSource() && source >= frostSourceLimit && c.evapTemp <= frostEvapLimit) {
        power = power * (100.0 - defrostPowerLoss) / 100.0;
        heating = heating * (100.0 - defrostCapacityLoss) / 100.0;
    }
    power += auxiliaryPower;
    SetResult(q::COP, power > 0.0 ? heating / power : 0.0);
    SetResult(q::HeatingCapacity, heating);
    SetResult(q::PowerInput, power);
    SetResult(q::CondensingTemp, c.condTemp);
    return status;
}

int THeatPump::EnvelopeCode(double water, double source) const {
    if (compressor == nullptr || compressor->ratingSetA == nullptr) return 0;
    TcrateObj& set = *compressor->ratingSetA;
    const double te = EvaporatingFromSource(source);
    const double tc = CondensingFromWater(water);
    const char basis = compressor->refrigerant != nullptr ? compressor->refrigerant->basis : 'N';
    int code = 0;
    for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
        const Tenvelope* envelope = set.Envelope(position);
        if (envelope == nullptr) continue;
        const int side = envelope->InsideTest(basis, te, tc);
        if (side != envelope_code::Inside) {
            code = std::max(code, side);
            continue;
        }
        const TenvObj* type = envelope->type;
        if (type == nullptr) return 0;  // no limit to exceed
        const double limit = type->Limit();
        const bool returnGas = type->ReturnGasMode();
        const double counted = !returnGas && type->Limit() == 10.0f ? 11.2 : limit;
        if ((!returnGas || te + superheat <= limit) && (returnGas || superheat <= counted))
            return 0;
        if (code == 0) code = 1;
    }
    return code;
}

void THeatPump::CopyFrom(const THeatPump& other) {
    compressor = other.compressor;
    compressorId = other.compressorId;
    name = other.compressor != nullptr ? other.compressor->name : other.name;
    refrigerant = other.refrigerant;
    supply = other.supply;
    auxiliaryPower = other.auxiliaryPower;
    sourceKind = other.sourceKind;
    evapSlope = other.evapSlope;
    evapOffset = other.evapOffset;
    evapMin = other.evapMin;
    evapMax = other.evapMax;
    condSlope = other.condSlope;
    condOffset = other.condOffset;
    condMin = other.condMin;
    condMax = other.condMax;
    defrostCapacityLoss = other.defrostCapacityLoss;
    defrostPowerLoss = other.defrostPowerLoss;
    frostEvapLimit = other.frostEvapLimit;
    frostSourceLimit = other.frostSourceLimit;
    superheat = other.superheat;
    subcooling = other.subcooling;
    cyclingCoefficient = other.cyclingCoefficient;
    family = other.family;
    modelLetter = other.modelLetter;
    familyNumber = other.familyNumber;
    refrigerantNumber = other.refrigerantNumber;
}

}  // namespace kelvra
