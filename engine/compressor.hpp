#pragma once

// The compressor performance model. A compressor's rating data are held per load step in rating
// data sets; each set says which rating model applies (EN 12900 ten-coefficient polynomials in
// degC or, for ARI-style data, in degF and Btu/h; a model in absolute temperatures and pressures;
// CO2 polynomials in evaporating temperature and discharge pressure; an efficiency model of
// volumetric and isentropic efficiency; each optionally with vapour injection) and at which
// rated superheat or return-gas temperature and rated subcooling the data hold. An evaluation
// converts the operating point to the data's basis, checks the envelope, evaluates the rating
// model and corrects the result to the actual suction gas and liquid temperatures through the
// refrigerant's properties.

#include <cstdint>

#include "model.hpp"

namespace kelvra {

class TcrateObj;

// Rating-model kinds of a rating data set.
namespace rating_kind {
inline constexpr int Efficiency = 0;            // volumetric and isentropic efficiency
inline constexpr int AbsoluteTemperature = 1;   // absolute temperatures and pressures
inline constexpr int EN12900 = 2;               // ten-coefficient polynomials
inline constexpr int InjectionTemperature = 3;  // vapour injection, block D: intermediate temp
inline constexpr int InjectionMassFlow = 4;     // vapour injection, block D: mass flow
inline constexpr int NoData = 5;
inline constexpr int CO2Pressure = 6;  // evaporating temperature and discharge pressure
inline constexpr int EfficiencyInjection = 10;
inline constexpr int AbsoluteTemperatureInjection = 11;
inline constexpr int EN12900Injection = 12;
}  // namespace rating_kind

// How the volumetric efficiency changes with suction gas temperature: the ratio of the
// efficiency at suction gas temperature `T` to the one at the rated temperature `Tr` (degC),
// for a compressor of rated volumetric efficiency `lambda` (fraction) and the rating set's
// volumetric-efficiency scale. Throws std::domain_error when the underlying solution does not
// converge within its step limit.
double SuctionTemperatureRatio(double T, double Tr, double scale, double lambda);

// A compressor (class letter 'C').
class TComp : public TCModel {
  public:
    // Load steps: set B is 66 % when set C exists, else 50 %; set C is 33 %.
    static constexpr double kThreeStepUpper = 66.6;
    static constexpr int kInverterBaseSpeed = 1500;  // rpm of a 4-pole motor at 50 Hz
    static constexpr double kBtuPerHourPerKilowatt = 3412.14;
    static constexpr double kDischargeCap = 145.0;      // degC, with option bit 4
    static constexpr double kSuctionGasLimit = 76.0;    // degC
    static constexpr double kCappedSubcooling = 3.0;    // K, option bit 3
    static constexpr double kCappedSubcoolingVI = 5.6;  // K, option bit 3, vapour injection
    static constexpr int kGasCoolerSearchSteps = 64;    // halvings of the pressure search

    TComp();
    ~TComp() override = default;

    // --- rating data and factors, filled by the data store ---
    TcrateObj* ratingSetA = nullptr;  // full load; not owned
    TcrateObj* ratingSetB = nullptr;  // 66 % (three steps) or 50 % (two steps); not owned
    TcrateObj* ratingSetC = nullptr;  // 33 %; not owned
    std::int32_t supplyNumber = 1;
    float capacityFactor = 1.0f;         // capacity, mass flow and economiser duty
    float powerFactorMultiplier = 1.0f;  // power input
    float currentFactor = 1.0f;          // current

    // --- overrides of the model base ---
    bool FirstOptionFlag() const override;
    bool HasVapourInjection() const override;
    bool HidesCurrent() const override;
    bool IsVariableSpeed() const override;
    bool IsInverterDriven() const override;
    bool IsCO2Transcritical() const override;
    bool HasLoadControl() const override;
    ModelStatus Evaluate(OperatingConditions conditions, ActivityMode mode) override;
    bool EnvelopeBounds(double& yMin, double& yMax, double& xMax, double& xMin) const override;
    // Axes from the extent of the envelopes at the load setting (see performance_table.hpp).
    void SetUpTableAxes(ModelTable& table, UnitSystem unitSystem) override;
    // Evaporating temperatures across, condensing (CO2 transcritical: gas-cooler outlet)
    // temperatures down. Each cell holds the evaluation's status, limited to -25..3 (8 kept),
    // and, when that is not negative, the whole result vector; for a transcritical CO2 model
    // result 15 is the condensing or gas-cooler pressure used. Not computed with line drops and
    // useful superheat in use (`advanced`). The model's own results and status are what they
    // were before.
    void FillTable(ModelTable& table, OperatingConditions conditions, ActivityMode mode,
                   UnitSystem unitSystem) override;
    std::int32_t SolveLoad(OperatingConditions conditions, ActivityMode mode) override;
    std::int32_t NominalSpeed() const override;

    // Evaluates at the load setting, blending the load steps, with the useful-superheat
    // capacity ratio `ratio`; stores the clamped status and the results and returns the status.
    ModelStatus EvaluateAtLoad(const OperatingConditions& conditions, double ratio);

    // Evaluates one rating data set at the speed setting. On success stores the results of the
    // step and returns the envelope status (0, 1, 4, 5 or 8); on failure returns a negative
    // status and stores nothing. A fault raised inside gives EvaluationFailed (-17).
    ModelStatus EvaluateStep(const OperatingConditions& conditions, TcrateObj* set, double ratio);

    // Displacement of the compressor, m3/s: set A's, times the capacity factor when that is at
    // most 1.1, else times 1.2069. 0 without rating data.
    double Displacement() const;

    // The gas-cooler pressure (bar) with the best COP for a CO2 compressor at the conditions: the
    // bubble pressure at the liquid temperature when the gas-cooler outlet is not above the
    // critical temperature, else a halving search between the envelope's pressure bounds. The
    // conditions' condensing pressure when the envelope gives no bounds. Leaves the model
    // evaluated at the last pressure tried.
    double OptimumGasCoolerPressure(const OperatingConditions& conditions);

  protected:
    TComp(const TComp&) = default;
    TComp& operator=(const TComp&) = default;

  private:
    ModelStatus EvaluateStepUnguarded(const OperatingConditions& conditions, TcrateObj& set,
                                      double ratio);
};

}  // namespace kelvra
