#include "candidates.hpp"

#include <cmath>

#include "data_store.hpp"
#include "refrigerant.hpp"

namespace kelvra {

FamilyPage familyPageFor(ActivityMode mode) {
    switch (mode) {
        case ActivityMode::Compressors:
        case ActivityMode::HeatPumpCompressors:
            return FamilyPage::Compressors;
        case ActivityMode::CondensingUnits:
            return FamilyPage::CondensingUnits;
        case ActivityMode::ExpansionValves:
        case ActivityMode::SolenoidValves:
        case ActivityMode::HeadPressureControls:
        case ActivityMode::FilterDriers:
            return FamilyPage::Orda;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            return FamilyPage::HeatPumps;
    }
    return FamilyPage::Compressors;
}

char familyKindFor(ActivityMode mode) {
    switch (mode) {
        case ActivityMode::Compressors:
            return TFamily::kCompressor;
        case ActivityMode::HeatPumpCompressors:
            return TFamily::kHeatPumpCompressor;
        case ActivityMode::CondensingUnits:
            return TFamily::kCondensingUnit;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            return TFamily::kHeatPump;
        default:
            return TFamily::kControls;
    }
}

FamilySelection familiesOfMode(const TdataStore& store, ActivityMode mode) {
    const char kind = familyKindFor(mode);
    // Controls by category: 1 thermal and 2 electronic expansion valves, 3 solenoid valves, 4
    // pressure regulators, 5 head-pressure controls, 6 system protectors, 7 suction filters.
    const auto admits = [mode](int category) {
        switch (mode) {
            case ActivityMode::ExpansionValves:
                return category == 1 || category == 2;
            case ActivityMode::SolenoidValves:
                return category == 3;
            case ActivityMode::HeadPressureControls:
                return category == 5 || category == 6;
            case ActivityMode::FilterDriers:
                return category == 4 || category == 7;
            case ActivityMode::BrineWaterHeatPumps:
                return category == 1;
            case ActivityMode::AirWaterHeatPumps:
                return category == 11;
            default:
                return true;
        }
    };
    FamilySelection set;
    for (const auto& family : store.Families()) {
        if (family->kind != kind) continue;
        if (admits(static_cast<int>(std::lround(family->category)))) set.Add(family->code);
    }
    return set;
}

std::uint32_t applicationMaskFor(int rangeIndex) {
    return isRangeIndex(rangeIndex) ? static_cast<std::uint32_t>(rangeIndex) : 0u;
}

std::vector<TCModel*> selectCandidates(const TdataStore& store, const CandidateFilter& filter) {
    std::vector<TCModel*> list;
    store.SelectCandidates(list, filter.refrigerantCode, filter.network, filter.supplyCode,
                           filter.families, applicationMaskFor(filter.rangeIndex), filter.mode);
    return list;
}

std::vector<TCModel*> listCandidates(const TdataStore& store,
                                     std::span<const Trefrigerant* const> refrigerants,
                                     bool network, const TSupply* supply,
                                     const FamilySelection& families, int rangeIndex,
                                     ActivityMode mode) {
    std::vector<TCModel*> list;
    store.SelectCandidatesForRefrigerants(list, refrigerants, network, supply, families,
                                          applicationMaskFor(rangeIndex), mode);
    return list;
}

void evaluateCandidates(std::span<TCModel* const> candidates, const OperatingConditions& conditions,
                        ActivityMode mode) {
    for (TCModel* model : candidates) {
        if (model != nullptr) model->EvaluateGuarded(conditions, mode);
    }
}

std::int32_t evaluateAtPoint(std::span<TCModel* const> candidates, OperatingConditions& conditions,
                             Trefrigerant* refrigerant, ActivityMode mode) {
    const std::int32_t resolved = Resolve(conditions, refrigerant);
    evaluateCandidates(candidates, conditions, mode);
    return resolved;
}

}  // namespace kelvra
