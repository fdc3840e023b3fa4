#pragma once

// Water heat pumps: a compressor between a heat source (brine/water or air) and a heated-water
// circuit. The user states the water outlet and the source inlet temperature; the heat pump turns
// them into condensing and evaporating temperatures by linear temperature-difference rules, each
// clamped to its limits, evaluates its compressor, de-rates an air source for defrosting, adds
// pump or fan power and reports heating capacity and heating COP.

#include <cstdint>
#include <string>

#include "model.hpp"

namespace kelvra {

class TComp;

// A heat pump (class letter 'P').
class THeatPump : public TCModel {
  public:
    // The temperature at which a rule reaches a limit when its slope is (almost) 0: never.
    static constexpr double kNeverBelow = -999.9;
    static constexpr double kNeverAbove = 999.9;
    static constexpr double kFlatSlope = 1e-7;

    // Source kinds: water or brine; any other letter is an air source.
    static constexpr char kWaterSource = 'W';
    static constexpr char kAirSource = 'A';

    THeatPump();
    ~THeatPump() override = default;

    TComp* compressor = nullptr;  // not owned
    std::int32_t compressorId = 0;
    double auxiliaryPower = 0;  // kW, pump or fan
    char sourceKind = kAirSource;

    // Evaporator: dTe = evapSlope * t_source + evapOffset, clamped to [evapMin, evapMax].
    double evapSlope = 0;
    double evapOffset = 0;
    double evapMin = 5;
    double evapMax = 15;
    // Condenser: dTc = condSlope * t_water + condOffset, clamped to [condMin, condMax].
    double condSlope = 0;
    double condOffset = 0;
    double condMin = 0;
    double condMax = 0;

    // Defrosting of an air source: at or above the source limit and at or below the
    // evaporating limit, capacity and power are reduced by these percentages.
    double defrostCapacityLoss = 0;  // %
    double defrostPowerLoss = 0;     // %
    double frostEvapLimit = 0;       // degC
    double frostSourceLimit = 0;     // degC

    double superheat = 10;  // K, for every evaluation
    double subcooling = 0;  // K, for every evaluation

    // Cycling (degradation) coefficient kept with the heat pump for the part-load ratings; the
    // evaluation itself does not use it.
    double cyclingCoefficient = 0.9;

    bool IsAirSource() const { return sourceKind != kWaterSource; }

    // --- temperature rules ---
    double EvapDifferenceUnclamped(double source) const;
    double EvapDifference(double source) const;
    double CondDifferenceUnclamped(double water) const;
    double CondDifference(double water) const;
    double EvaporatingFromSource(double source) const;
    double CondensingFromWater(double water) const;
    double SourceFromEvaporating(double evaporating) const;
    double WaterFromCondensing(double condensing) const;
    // Where the unclamped difference reaches its lower and upper limit; kNeverBelow and
    // kNeverAbove for a flat rule.
    double SourceAtEvapMin() const;
    double SourceAtEvapMax() const;
    double WaterAtCondMin() const;
    double WaterAtCondMax() const;

    // --- overrides of the model base ---
    bool IsVariableSpeed() const override;
    std::int32_t NominalSpeed() const override;
    // Water outlet temperatures down and source temperatures across, in steps of 5 K over what
    // the compressor's envelope allows through the temperature-difference rules (degC axes).
    void SetUpTableAxes(ModelTable& table, UnitSystem unitSystem) override;
    // Each cell evaluated at its source inlet and water outlet temperature; the results are
    // kept whatever the status.
    void FillTable(ModelTable& table, OperatingConditions conditions, ActivityMode mode,
                   UnitSystem unitSystem) override;

    // Evaluates the compressor at the evaporating and condensing temperatures of the conditions'
    // source inlet and water outlet temperatures, in `mode`. Status -1 without a compressor,
    // else the compressor's; results 11 heating capacity, 2 power with the auxiliary power,
    // 4 heating COP (0 without power) and 9 the condensing temperature. A failed evaluation
    // leaves the results at 0.
    ModelStatus Evaluate(OperatingConditions conditions, ActivityMode mode) override;

    // 0 when the point of water outlet and source inlet temperature lies in one of the
    // compressor's envelopes within its superheat or return-gas limit; 1 when it lies inside
    // but beyond that limit; otherwise the largest side code of the envelopes. 0 also without
    // rating data or envelopes.
    int EnvelopeCode(double water, double source) const;

    // Takes over the other heat pump's compressor, parameters (the cycling coefficient too) and
    // identity; the name becomes the compressor's.
    void CopyFrom(const THeatPump& other);

  protected:
    THeatPump(const THeatPump&) = default;
    THeatPump& operator=(const THeatPump&) = default;

  private:
    ModelStatus EvaluateUnguarded(OperatingConditions conditions, ActivityMode mode);
};

}  // namespace kelvra
