#include "auto_select.hpp"

#include <cmath>

namespace kelvra {

namespace {

// Valves of these modes are sized by the user's pressure drops; their warnings do not count.
bool clearsWarnings(ActivityMode mode) {
    return mode == ActivityMode::ExpansionValves || mode == ActivityMode::HeadPressureControls ||
           mode == ActivityMode::FilterDriers;
}

}  // namespace

double selectionReference(ActivityMode mode, const OperatingConditions& conditions) {
    if (mode == ActivityMode::SolenoidValves) return conditions.ordaDiffPressure;
    return conditions.capacity;
}

double selectionThreshold(ActivityMode mode, const OperatingConditions& conditions) {
    if (mode == ActivityMode::SolenoidValves) return selectionReference(mode, conditions);
    return kQualifyingShare * conditions.capacity;
}

TCModel* autoSelectModel(std::span<TCModel* const> candidates, ActivityMode mode,
                         const OperatingConditions& conditions) {
    if (candidates.empty()) return nullptr;
    const double reference = selectionReference(mode, conditions);
    const double threshold = selectionThreshold(mode, conditions);

    TCModel* best = nullptr;
    TCModel* largest = candidates.front();  // whatever its status
    for (TCModel* model : candidates) {
        if (model == nullptr || !IsValidStatus(model->Status())) continue;
        if (clearsWarnings(mode)) model->SetStatus(model_status::Valid);
        const double value = model->SelectionValue(mode);
        if (value > threshold) {
            if (best == nullptr ||
                std::fabs(value - reference) < std::fabs(best->SelectionValue(mode) - reference)) {
                best = model;
            }
        } else if (best == nullptr) {
            // A first candidate that failed has no value worth keeping: any valid one beats it.
            const bool largestFailed = largest == nullptr || !IsValidStatus(largest->Status());
            if (largestFailed || value > largest->SelectionValue(mode)) largest = model;
        }
    }
    if (best != nullptr) return best;
    if (largest != nullptr && IsValidStatus(largest->Status()))
        largest->SetStatus(model_status::BelowRequirement);
    return largest;
}

}  // namespace kelvra
