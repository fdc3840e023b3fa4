// Compressor speed: the rating data's fields, the speed-dependent envelopes, the speed and
// inverter corrections of the rating polynomials, the load-step search and the CO2 gas-cooler
// pressure with the best COP.

#include <cmath>

#include "compressor.hpp"
#include "compressor_step.hpp"
#include "envelope.hpp"
#include "rating_data.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace compressor_detail {

RatingFields ReadRatingFields(const TcrateObj& set) {
    RatingFields f;
    f.displacement = set.Displacement();
    f.motorPowerLimit = set.MotorPowerLimit();
    f.maxDischargeTemp = set.MaxDischargeTemp();
    f.injectionPowerFactor = set.InjectionPowerFactor();
    f.technologyCode = set.TechnologyCode();
    f.optionWord = set.OptionWord();
    f.builtInVolumeRatio = set.BuiltInVolumeRatio();
    f.kind = set.RatingModelKind();
    f.blockA = set.Coefficients(CoefficientBlock::A);
    f.blockB = set.Coefficients(CoefficientBlock::B);
    f.blockC = set.Coefficients(CoefficientBlock::C);
    f.blockD = set.Coefficients(CoefficientBlock::D);
    f.dataFlags = set.DataFlags();
    f.powerUnit = set.PowerUnit();
    f.powerLossFlags = set.PowerLossFlags();
    f.massFlowUnit = set.MassFlowUnit();
    f.nominalSpeed = set.NominalSpeed();
    f.ratedSuperheatMode = set.RatedAtSuperheat();
    f.ratedSuction = set.RatedSuctionValue();
    f.ratedSubcooling = set.RatedSubcooling();
    f.optionBits = set.OptionBits();
    f.volumetricScale = set.VolumetricEfficiencyScale();
    return f;
}

std::int32_t CheckStepEnvelope(TComp& /*comp*/, StepState& s, double y, double x) {
    return CheckEnvelope(*s.set, static_cast<std::int32_t>(s.n), s.SH, s.SGT, s.pd, y, x);
}

double SpeedCorrection(const StepState& s, int k, double tcPoly, double tePoly) {
    if (!s.speedPolynomials || s.speedData == nullptr) return 0.0;
    const TrpmObject* rpm = s.speedData->SpeedPolynomials();
    if (rpm == nullptr) return 0.0;
    return rpm->Evaluate(k, tcPoly, tePoly, s.n);
}

double InverterCapacity(const StepState& s, double capacity) {
    return s.speedData->Inverter()->First(s.n, capacity);
}

double InverterPower(const StepState& s, double power) {
    return s.speedData->Inverter()->Second(s.n, power);
}

double InverterCurrent(const StepState& s, double power) {
    return s.speedData->Inverter()->Third(power);
}

}  // namespace compressor_detail

}  // namespace kelvra
