#include "candidates.hpp"

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
