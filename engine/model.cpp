#include "model.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

#include "language_texts.hpp"
#include "model_text.hpp"
#include "quantity_heading.hpp"

namespace kelvra {

// --- ResultVector ---

double ResultVector::Get(QuantityCode code) const {
    if (code < 0 || code >= kResultCount) return 0.0;
    return entries_[static_cast<std::size_t>(code)];
}

void ResultVector::Set(QuantityCode code, double value) {
    if (code < 1 || code >= kResultCount)
        throw std::out_of_range(
            fmt::format("result entry {} does not exist (1 to {})", code, kResultCount - 1));
    entries_[static_cast<std::size_t>(code)] = value;
}

ModelStatus ResultVector::Status() const {
    const auto bits = std::bit_cast<std::uint64_t>(entries_[0]);
    return static_cast<ModelStatus>(static_cast<std::uint32_t>(bits & 0xFFFF'FFFFu));
}

void ResultVector::SetStatus(ModelStatus status) {
    const std::uint64_t bits = static_cast<std::uint32_t>(status);
    entries_[0] = std::bit_cast<double>(bits);
}

void ResultVector::ClearResults() {
    std::fill(entries_.begin() + 1, entries_.end(), 0.0);
}

// --- helpers ---

double CoefficientOfPerformance(double capacity, double power) {
    return power == 0.0 ? -1.0 : capacity / power;
}

std::string DisplayValueText(QuantityCode code, UnitSystem system, double value) {
    // Adding 0.0 turns a rounded -0 into 0, so nothing is shown as "-0.00".
    const double shown = RoundForDisplay(code, ToDisplay(code, system, value)) + 0.0;
    return fmt::format("{:3.{}f}", shown, Decimals(code));
}

namespace {

// Built-in English text of the label of the liquid temperature of vapour-injection models.
constexpr std::string_view kLiquidTempOutEnglish = "Liquid temperature, liquid outlet";

std::string VoltageText(const TSupply* supply) {
    if (supply == nullptr || !std::isfinite(supply->voltage)) return {};
    // Rounded to a whole number, halves to even.
    return fmt::format("{}V, ", static_cast<long long>(std::nearbyint(supply->voltage)));
}

bool IsControlsMode(ActivityMode mode) {
    const std::int32_t m = ToInt(mode);
    return m >= ToInt(ActivityMode::ExpansionValves) && m <= ToInt(ActivityMode::FilterDriers);
}

}  // namespace

// --- TCModel: virtual operations ---

bool TCModel::FirstOptionFlag() const {
    return false;
}
bool TCModel::HasVapourInjection() const {
    return false;
}
bool TCModel::HidesCurrent() const {
    return false;
}
bool TCModel::IsVariableSpeed() const {
    return false;
}
bool TCModel::IsInverterDriven() const {
    return false;
}
bool TCModel::IsCO2Transcritical() const {
    return false;
}
bool TCModel::HasLoadControl() const {
    return false;
}

ModelStatus TCModel::Evaluate(OperatingConditions /*conditions*/, ActivityMode /*mode*/) {
    SetStatus(model_status::EvaluationFailed);
    return model_status::EvaluationFailed;
}

void TCModel::SetUpTableAxes(ModelTable& /*table*/, UnitSystem /*unitSystem*/) {}

void TCModel::FillTable(ModelTable& table, OperatingConditions /*conditions*/,
                        ActivityMode /*mode*/, UnitSystem unitSystem) {
    table.ClearRows();
    if (table.AutomaticAxes()) SetUpTableAxes(table, unitSystem);
    table.SetComputed(true);
}

void TCModel::FormatQuantity(QuantityCode code, UnitSystem unitSystem, std::string& label,
                             std::size_t labelMax, std::string& value, std::size_t valueMax,
                             const OperatingConditions& conditions, ActivityMode mode) const {
    namespace q = quantity;
    label = QuantityHeading(code, unitSystem, mode, conditions) + " ";
    value.clear();

    const auto shown = [&](QuantityCode as, QuantityCode entry) {
        return DisplayValueText(as, unitSystem, Result(entry));
    };

    switch (code) {
        case q::Status:
            value = name;
            break;
        case q::CoolingCapacity:
        case q::COP:
        case q::MassFlow:
            label += UnitLabel(code, unitSystem);
            value = shown(code, code);
            break;
        case q::PowerInput:
            label += "kW";
            value = shown(q::PowerInput, q::PowerInput);
            break;
        case q::Current:
            if (mode != ActivityMode::ExpansionValves && mode != ActivityMode::SolenoidValves &&
                !HidesCurrent()) {
                label += VoltageText(supply) + UnitLabel(q::Current, unitSystem);
                value = shown(q::Current, q::Current);
            }
            break;
        case q::HeatRejection:
            if (mode != ActivityMode::HeatPumpCompressors) {
                label += UnitLabel(q::HeatRejection, unitSystem);
                value = shown(q::HeatRejection, q::HeatRejection);
            }
            break;
        case q::CondensingTemp:
            if (mode == ActivityMode::CondensingUnits) {
                label += UnitLabel(q::CondensingTemp, unitSystem);
                value = shown(q::CondensingTemp, q::CondensingTemp);
            }
            break;
        case q::DischargeTemp:
            if (mode != ActivityMode::CondensingUnits) {
                label += UnitLabel(q::CondensingTemp, unitSystem);
                value = shown(q::DischargeTemp, q::DischargeTemp);
            }
            break;
        case q::HeatingCapacity:
            label += UnitLabel(q::CoolingCapacity, unitSystem);
            value = shown(q::CoolingCapacity, q::HeatingCapacity);
            break;
        case q::LiquidTemp:
            if (HasVapourInjection()) {
                label = Text("strLiqTempLO", kLiquidTempOutEnglish) + " " +
                        UnitLabel(q::CondensingTemp, unitSystem);
                value = shown(q::LiquidTemp, q::LiquidTemp);
            } else {
                label += UnitLabel(q::CondensingTemp, unitSystem);
            }
            break;
        case q::PressureDifference:
            if (IsControlsMode(mode)) label += UnitLabel(q::PressureDifference, unitSystem);
            if ((mode == ActivityMode::HeadPressureControls ||
                 mode == ActivityMode::FilterDriers) &&
                Result(q::PressureDifference) == 0.0)
                value = "N/A";
            else
                value = shown(q::PressureDifference, q::PressureDifference);
            break;
        default:  // efficiencies, power factor and the quantities the summary does not show
            break;
    }

    label = CutToCharacters(label, labelMax);
    value = CutToCharacters(value, valueMax);
}

bool TCModel::EnvelopeBounds(double& /*yMin*/, double& /*yMax*/, double& /*xMax*/,
                             double& /*xMin*/) const {
    return false;
}

std::int32_t TCModel::SolveSpeed(OperatingConditions conditions, ActivityMode mode,
                                 std::int32_t step) {
    if (!IsVariableSpeed()) return 0;
    if (step <= 0)
        throw std::invalid_argument(fmt::format("speed step must be positive (got {})", step));

    const double required = conditions.capacity;
    const auto evaluateAt = [&](std::int32_t rpm) {
        SetSpeed(rpm);
        return EvaluateGuarded(conditions, mode);
    };

    std::int32_t best = NominalSpeed();
    std::int32_t lastFailing = best;
    bool failed = false;
    std::int32_t finalSpeed = best;

    if (evaluateAt(best) < 0) {
        // Not even the rated speed gives a result: settle on a middle speed.
        finalSpeed = kFallbackSpeed;
        failed = true;
    } else if (SelectionValue(mode) > required) {
        // Too much: come down while the requirement is still exceeded.
        std::int64_t rpm = best;
        for (int n = 0;; ++n) {
            rpm -= step;
            if (rpm < kLowestSearchSpeed || n >= kMaxSpeedSearchSteps ||
                evaluateAt(static_cast<std::int32_t>(rpm)) < 0) {
                failed = true;
                break;
            }
            if (SelectionValue(mode) <= required) break;
            best = static_cast<std::int32_t>(rpm);
        }
        finalSpeed = best;
    } else {
        // Too little: go up until the requirement is reached.
        std::int64_t rpm = best;
        for (int n = 0;; ++n) {
            rpm += step;
            if (rpm >= kSearchSpeedLimit || n >= kMaxSpeedSearchSteps ||
                evaluateAt(static_cast<std::int32_t>(rpm)) < 0) {
                failed = true;
                break;
            }
            if (SelectionValue(mode) >= required) {
                best = static_cast<std::int32_t>(rpm);
                break;
            }
            lastFailing = static_cast<std::int32_t>(rpm);
        }
        finalSpeed = failed ? lastFailing : best;
    }

    // Leave the results matching the speed returned.
    evaluateAt(finalSpeed);
    return finalSpeed;
}

std::int32_t TCModel::SolveLoad(OperatingConditions /*conditions*/, ActivityMode /*mode*/) {
    return 100;
}

void TCModel::SetSpeed(std::int32_t rpm) {
    speed_ = rpm;
}

std::int32_t TCModel::NominalSpeed() const {
    return 0;
}

void TCModel::SetLoad(std::int32_t percent) {
    load_ = percent;
}

std::int32_t TCModel::MaxLoad() const {
    return 100;
}

// --- TCModel: common operations ---

double TCModel::SelectionValue(ActivityMode mode) const {
    if (mode == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(mode))
        return Result(quantity::HeatingCapacity);
    if (mode == ActivityMode::SolenoidValves) return Result(quantity::PressureDifference);
    return Result(quantity::CoolingCapacity);
}

ModelStatus TCModel::EvaluateGuarded(const OperatingConditions& conditions, ActivityMode mode) {
    try {
        return Evaluate(conditions, mode);
    } catch (...) {
        results_.ClearResults();
        SetStatus(model_status::EvaluationFailed);
        return model_status::EvaluationFailed;
    }
}

void TCModel::SortByResult(std::span<TCModel*> list, QuantityCode code) {
    // Valid models first, then failed ones, then empty entries.
    const auto group = [](const TCModel* m) { return m == nullptr ? 2 : (m->Status() < 0); };
    // True when `a` must come before `b`. Among valid models a value that is not a number sorts
    // after every number.
    const auto before = [&](const TCModel* a, const TCModel* b) {
        const int ga = group(a);
        const int gb = group(b);
        if (ga != gb) return ga < gb;
        if (ga != 0) return false;
        const double va = a->Result(code);
        const double vb = b->Result(code);
        if (std::isnan(va)) return false;
        if (std::isnan(vb)) return true;
        return va < vb;
    };

    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        std::size_t pick = i;
        for (std::size_t j = i + 1; j < list.size(); ++j)
            if (before(list[j], list[pick])) pick = j;
        // Move the pick forward without disturbing the order of the others.
        std::rotate(list.begin() + static_cast<std::ptrdiff_t>(i),
                    list.begin() + static_cast<std::ptrdiff_t>(pick),
                    list.begin() + static_cast<std::ptrdiff_t>(pick) + 1);
    }
}

void TCModel::SortByCapacity(std::span<TCModel*> list) {
    SortByResult(list, quantity::CoolingCapacity);
}

void TCModel::SetStatus(ModelStatus status) {
    status_ = status;
    results_.SetStatus(status);
}

void TCModel::SetResults(const ResultVector& results) {
    results_ = results;
    status_ = results_.Status();
}

void TCModel::SetName(std::string_view text) {
    name = CutToCharacters(text, kNameLength);
}

// --- TperfObject ---

TperfObject::TperfObject(const TCModel& model) : model_(&model), results_(model.Results()) {}

void TperfObject::Refresh() {
    results_ = model_->Results();
}

}  // namespace kelvra
