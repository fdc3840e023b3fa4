#include "unit.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "compressor.hpp"
#include "language_texts.hpp"
#include "model_text.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace q = quantity;
namespace st = model_status;

Tunit::Tunit() {
    classLetter = 'U';
}

bool Tunit::FirstOptionFlag() const {
    return compressor != nullptr && compressor->FirstOptionFlag();
}

bool Tunit::HasVapourInjection() const {
    return compressor != nullptr && compressor->HasVapourInjection();
}

bool Tunit::HidesCurrent() const {
    return compressor != nullptr && compressor->HidesCurrent();
}

bool Tunit::IsVariableSpeed() const {
    return compressor != nullptr && compressor->IsVariableSpeed();
}

bool Tunit::EnvelopeBounds(double& yMin, double& yMax, double& xMax, double& xMin) const {
    return compressor != nullptr && compressor->EnvelopeBounds(yMin, yMax, xMax, xMin);
}

std::int32_t Tunit::NominalSpeed() const {
    return compressor != nullptr ? compressor->NominalSpeed() : 0;
}

ModelStatus Tunit::Evaluate(OperatingConditions conditions, ActivityMode /*mode*/) {
    const double start = std::max(conditions.ambientTemp + kStartAboveAmbient, kStartFloor);
    return Balance(conditions, false, 0.0, start);
}

ModelStatus Tunit::EvaluateWithMinimum(const OperatingConditions& conditions,
                                       double minimumCondensing) {
    const double start = std::max(conditions.ambientTemp + kStartAboveAmbient, minimumCondensing);
    return Balance(conditions, true, minimumCondensing, start);
}

ModelStatus Tunit::EvaluateFrom(const OperatingConditions& conditions, double startCondensing) {
    return Balance(conditions, false, 0.0, startCondensing);
}

void Tunit::FormatQuantity(QuantityCode code, UnitSystem unitSystem, std::string& label,
                           std::size_t labelMax, std::string& value, std::size_t valueMax,
                           const OperatingConditions& conditions, ActivityMode mode) const {
    TCModel::FormatQuantity(code, unitSystem, label, labelMax, value, valueMax, conditions, mode);
    switch (code) {
        case -1:
            value = name;
            break;
        case q::Status:
            value = compressorName;
            break;
        case q::PowerInput:
            label = Text("strTotal", "Total") + " " + label;
            break;
        case q::Current:
            label = Text("strCompressor", "Compressor") + " " + label;
            break;
        default:
            break;
    }
    label = CutToCharacters(label, labelMax);
    value = CutToCharacters(value, valueMax);
}

ModelStatus Tunit::Balance(const OperatingConditions& conditions, bool useMinimum,
                           double minimumCondensing, double startCondensing) {
    // The compressor's speed is the unit's for the balance only, whatever happens inside.
    const std::int32_t compressorSpeed = compressor != nullptr ? compressor->Speed() : 0;
    ModelStatus status = st::EvaluationFailed;
    try {
        status = BalanceUnguarded(conditions, useMinimum, minimumCondensing, startCondensing);
    } catch (...) {
        status = st::EvaluationFailed;
    }
    if (compressor != nullptr) compressor->SetSpeed(compressorSpeed);
    if (status < 0) ClearResults();
    status = ClampUnitStatus(status);
    SetStatus(status);
    return status;
}

ModelStatus Tunit::BalanceUnguarded(const OperatingConditions& caller, bool useMinimum, double tMin,
                                    double tStart) {
    if (compressor == nullptr) return st::EvaluationFailed;
    if (!std::isfinite(caller.ambientTemp) || !std::isfinite(tStart) ||
        (useMinimum && !std::isfinite(tMin)))
        return st::EvaluationFailed;

    // The unit's own circuit: every degree of superheat useful, no subcooling, no line drops.
    OperatingConditions c = caller;
    c.usefulAll = true;
    c.subcooling = 0.0;
    c.liquidTempGiven = false;
    c.capacityRatio = 1.0;
    c.advanced = false;
    c.suctionLineDrop = 0.0;
    c.dischargeLineDrop = 0.0;
    c.condByPressure = 0;
    c.evapByPressure = 0;
    c.condTemp = tStart;
    const std::int32_t resolved = Resolve(c, compressor->refrigerant);
    if (resolved < 0) return resolved;

    // A unit whose speed was never set runs its compressor as it stands.
    if (speed_ != 0) compressor->SetSpeed(speed_);

    const auto evaluateAt = [&](double tc) {
        c.condTemp = tc;
        c.satDischargeTemp = tc;
        return compressor->EvaluateGuarded(c, ActivityMode::CondensingUnits);
    };

    double tc = tStart;
    ModelStatus status = st::Valid;
    for (int corrections = 0;; ++corrections) {
        if (std::fabs(condenserRating) < kMinCondenserRating) return st::NoCondenserData;
        status = evaluateAt(tc);
        if (status < 0) break;
        const double t = compressor->Result(q::HeatRejection) / condenserRating + c.ambientTemp;
        if (std::fabs(tc - t) <= kBalanceTolerance) break;
        if (corrections >= kMaxBalanceCorrections) {
            status = st::BalanceNotConverged;
            break;
        }
        tc = (tc + t) / 2.0;
    }

    // Head-pressure control: the condenser is held at the minimum.
    if (useMinimum && tc < tMin) {
        tc = tMin;
        status = evaluateAt(tc);
    }

    Trefrigerant* ref = compressor->refrigerant;
    if (status >= 0 && maxCondensingPressure > 0.0 && ref != nullptr) {
        ref->ClearErrors();
        const double tMax = ref->basis == 'M' ? ref->MidPointTemperature(maxCondensingPressure)
                                              : ref->DewTemperature(maxCondensingPressure);
        if (ref->lastError) return st::EvapTooLow;  // a property error
        if (tMax < tc) status = st::CondAboveUnitMaximum;
    }

    SetResults(compressor->Results());
    if (status < 0) return status;

    if (status == st::OtherEnvelopeKind) status = st::Valid;
    double capacity = Result(q::CoolingCapacity);
    if (!caller.usefulAll) {
        const double r = UsefulSuperheatRatio(caller, tc);
        if (r < 0.0) return st::EvapTooLow;  // a property error
        if (r > 1.0) capacity /= r;
    }
    const double power = compressor->Result(q::PowerInput) + fanPower / 1000.0;
    SetResult(q::CoolingCapacity, capacity);
    SetResult(q::PowerInput, power);
    SetResult(q::COP, CoefficientOfPerformance(capacity, power));
    SetResult(q::CondensingTemp, tc);
    return status;
}

double Tunit::UsefulSuperheatRatio(const OperatingConditions& caller, double tc) const {
    Trefrigerant* ref = compressor->refrigerant;
    if (ref == nullptr) return -1.0;
    ref->ClearErrors();
    const double pc = ref->DewPressure(tc);
    const double liquid = ref->basis == 'N' ? tc : ref->BubbleTemperature(pc);
    const double pe = ref->DewPressure(caller.satSuctionTemp);
    const double hl = ref->LiquidEnthalpy(pc, liquid);
    const double useful = ref->VapourEnthalpy(pe, caller.evapTemp + caller.usefulSuperheat) - hl;
    const double total = ref->VapourEnthalpy(pe, caller.suctionGasReturn) - hl;
    if (ref->stickyError || !std::isfinite(useful) || !std::isfinite(total) || useful <= 0.0)
        return -1.0;
    return total / useful;
}

namespace {

// The last condensing fit: one set for the whole program, replaced by each fit.
std::array<double, Tunit::kFitTerms> fittedCondensing{};

std::array<double, Tunit::kFitTerms> FitTerms(double x, double a) {
    return {1.0, x, a, x * x, x * a, a * a, x * x * x, x * x * a, x * a * a, a * a * a};
}

}  // namespace

bool Tunit::FitCondensingPolynomial(std::span<const CondensingObservation> cells, bool acceptAll,
                                    double rating) {
    constexpr int n = kFitTerms;
    if (!(std::fabs(rating) >= kMinCondenserRating) || !std::isfinite(rating)) return false;

    // Normal equations of the least-squares fit.
    std::array<std::array<double, n + 1>, n> m{};  // column n holds the right-hand side
    int observations = 0;
    for (const CondensingObservation& cell : cells) {
        const bool usable = cell.status >= 0 || (acceptAll && cell.capacity >= 0.01);
        if (!usable) continue;
        const double y = cell.condensing;
        const double x = cell.evaporating;
        const double a = y - cell.heatRejection / rating;
        if (!std::isfinite(y) || !std::isfinite(x) || !std::isfinite(a)) continue;
        const auto t = FitTerms(x, a);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) m[i][j] += t[i] * t[j];
            m[i][n] += t[i] * y;
        }
        ++observations;
    }
    if (observations < kMinFitObservations) return false;

    // Elimination: each column's pivot row is exchanged with every later row whose entry is
    // larger than the entry the pivot row had at the start; then the rows from the pivot on are
    // scaled to 1 in that column and the pivot row is taken from the later ones.
    for (int k = 0; k < n - 1; ++k) {
        const double start = std::fabs(m[k][k]);
        for (int r = k + 1; r < n; ++r)
            if (std::fabs(m[r][k]) > start) std::swap(m[r], m[k]);
        std::array<bool, n> divided{};
        for (int r = k; r < n; ++r) {
            const double d = m[r][k];
            if (d == 0.0) continue;
            for (double& v : m[r]) v /= d;
            divided[r] = true;
        }
        for (int r = k + 1; r < n; ++r) {
            if (!divided[r]) continue;
            for (int j = 0; j <= n; ++j) m[r][j] -= m[k][j];
        }
    }

    std::array<double, n> c{};
    for (int k = n - 1; k >= 0; --k) {
        double rhs = m[k][n];
        for (int j = k + 1; j < n; ++j) rhs -= m[k][j] * c[j];
        if (m[k][k] == 0.0) return false;  // the cells do not determine the polynomial
        c[k] = rhs / m[k][k];
        if (!std::isfinite(c[k])) return false;
    }
    fittedCondensing = c;
    return true;
}

double Tunit::FittedCondensing(double ambient, double evaporating) {
    const auto t = FitTerms(evaporating, ambient);
    double y = 0.0;
    for (int i = 0; i < kFitTerms; ++i) y += fittedCondensing[i] * t[i];
    return y;
}

Tunit* TnetObj::MasterFor(int slaveCount) const {
    return masters[slaveCount <= 1 ? kMasterOneSlave : kMasterSeveralSlaves];
}

Tunit* TnetObj::SlaveFor(int slaveCount) const {
    return slaves[slaveCount <= 1 ? kSlaveOfOne : kSlaveOfSeveral];
}

}  // namespace kelvra
