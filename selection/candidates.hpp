#pragma once

// The candidate models of a selection: which families a mode draws on, the application-range
// filter, the query to the data store, and the evaluation of every candidate at one operating
// point.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "activity_mode.hpp"
#include "family_selection.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"

namespace kelvra {

class TdataStore;
class Trefrigerant;
class TSupply;

// The four family pages of the main window, each with its own set of ticked families.
enum class FamilyPage : int {
    Compressors = 0,  // compressors and heat-pump compressors share one set
    CondensingUnits = 1,
    Orda = 2,  // expansion and solenoid valves, controls, filter driers
    HeatPumps = 3,
};
inline constexpr int kFamilyPageCount = 4;

// The page whose families a mode selects from.
FamilyPage familyPageFor(ActivityMode mode);

// The family kind a mode admits: 'C' compressors, 'H' heat-pump compressors, 'U' condensing
// units, 'V' controls, 'P' heat pumps.
char familyKindFor(ActivityMode mode);

// Every family of the store that a mode selects from: the families of the mode's kind; among
// the controls only those of the mode's sections (expansion valves: thermal and electronic;
// solenoid valves; head-pressure controls and system protectors; pressure regulators and
// suction filter driers), among the heat pumps those of brine/water or air/water.
FamilySelection familiesOfMode(const TdataStore& store, ActivityMode mode);

// The ticked families of the four pages.
struct FamilySets {
    std::array<FamilySelection, kFamilyPageCount> pages;

    FamilySelection& operator[](FamilyPage page) { return pages[static_cast<int>(page)]; }
    const FamilySelection& operator[](FamilyPage page) const {
        return pages[static_cast<int>(page)];
    }
    // The set a mode selects from.
    FamilySelection& forMode(ActivityMode mode) { return (*this)[familyPageFor(mode)]; }
    const FamilySelection& forMode(ActivityMode mode) const { return (*this)[familyPageFor(mode)]; }
    bool operator==(const FamilySets&) const = default;
};

// The application-range box: 0 "All models", 1 "LT models only", 2 "MT models only", 3 "Both
// LT + MT models". A model's range bits are 1 (low temperature) and 2 (medium temperature).
inline constexpr int kRangeAll = 0;
inline constexpr int kRangeLowTemperature = 1;
inline constexpr int kRangeMediumTemperature = 2;
inline constexpr int kRangeBoth = 3;
inline constexpr int kRangeCount = 4;

// True for the indexes 0..3.
constexpr bool isRangeIndex(int index) {
    return index >= kRangeAll && index < kRangeCount;
}

// The application mask the store tests a model's range bits against: the index itself, and 0
// (every model) for an index outside 0..3.
std::uint32_t applicationMaskFor(int rangeIndex);

// Everything the candidate query depends on.
struct CandidateFilter {
    std::int32_t refrigerantCode = 0;
    bool network = false;  // networking condensing units instead of the ordinary ones
    std::int32_t supplyCode = 0;
    FamilySelection families;  // the set of the mode's page
    int rangeIndex = kRangeAll;
    ActivityMode mode = ActivityMode::Compressors;
};

// The candidates of the filter in the store's load order.
std::vector<TCModel*> selectCandidates(const TdataStore& store, const CandidateFilter& filter);

// The same tests with the refrigerant test replaced by membership in `refrigerants`; used to
// compare the candidates of several refrigerants. Only expansion and solenoid valves take part
// among the controls.
std::vector<TCModel*> listCandidates(const TdataStore& store,
                                     std::span<const Trefrigerant* const> refrigerants,
                                     bool network, const TSupply* supply,
                                     const FamilySelection& families, int rangeIndex,
                                     ActivityMode mode);

// Evaluates every candidate, in order, at its own copy of already resolved conditions. A fault
// raised inside an evaluation becomes the model's status -17; the others still run.
void evaluateCandidates(std::span<TCModel* const> candidates, const OperatingConditions& conditions,
                        ActivityMode mode);

// Resolves `conditions` once for the refrigerant and then evaluates every candidate at them.
// Returns the status of resolving (ResolveOk or a negative status); the candidates are
// evaluated either way, so that each carries a status of its own for the point.
std::int32_t evaluateAtPoint(std::span<TCModel* const> candidates, OperatingConditions& conditions,
                             Trefrigerant* refrigerant, ActivityMode mode);

}  // namespace kelvra
