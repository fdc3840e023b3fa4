// One evaluation step of a compressor: one rating data set at one operating point.

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "compressor.hpp"
#include "compressor_step.hpp"
#include "property_library.hpp"
#include "rating_data.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace compressor_detail {

double Quotient(double num, double den, const char* what) {
    if (den == 0.0) throw EvaluationFault(std::string("division by zero: ") + what);
    const double q = num / den;
    if (!std::isfinite(q)) throw EvaluationFault(std::string("not a number: ") + what);
    return q;
}

template <class Call>
double VapourStates::Lookup(std::array<Entry, kSize>& table, int& count, Trefrigerant& ref,
                            double p, double T, Call call) {
    for (int i = 0; i < count; ++i) {
        const Entry& e = table[static_cast<std::size_t>(i)];
        if (e.p == p && e.T == T) {
            ref.lastError = e.failed;
            return e.value;
        }
    }
    const double value = call();
    if (count < kSize) table[static_cast<std::size_t>(count++)] = {p, T, value, ref.lastError};
    return value;
}

double VapourStates::Enthalpy(Trefrigerant& ref, double p, double T) {
    return Lookup(enthalpy_, enthalpyCount_, ref, p, T, [&] { return ref.VapourEnthalpy(p, T); });
}

double VapourStates::Volume(Trefrigerant& ref, double p, double T) {
    return Lookup(volume_, volumeCount_, ref, p, T, [&] { return ref.VapourVolume(p, T); });
}

double EN12900(const Coefficients& c, double S, double D) {
    return c[0] + c[1] * S + c[2] * D + c[3] * S * S + c[4] * S * D + c[5] * D * D +
           c[6] * S * S * S + c[7] * D * S * S + c[8] * S * D * D + c[9] * D * D * D;
}

double AbsoluteTemperatureForm(const Coefficients& c, double Tc, double Te, double pd, double ps) {
    if (!(ps > 0)) throw EvaluationFault("suction pressure not positive");
    const double rootPs = std::sqrt(ps);
    return c[0] + c[1] * Tc + c[2] * Te + c[3] * pd + c[4] * ps + c[5] * Tc * Te + c[6] * pd * ps +
           c[7] * pd / rootPs + c[8] * rootPs;
}

}  // namespace compressor_detail

namespace {

using namespace compressor_detail;
namespace st = model_status;

constexpr double kKelvin = 273.15;
constexpr double kSqrt3 = 1.732050808;
constexpr double kDischargeEnthalpyShare = 0.95;  // share of the power that heats the gas
constexpr int kMaxNewtonSteps = 100;

// Volumetric efficiency of the efficiency model, by form (the data-flags word).
double EfficiencyModelLambda(StepState& s) {
    const Coefficients& l = s.f.blockA;
    const double r = Quotient(s.pd, s.ps, "pressure ratio");
    const double pd = s.pd;
    const double form1 = l[0] + l[1] * r + l[2] * r * pd + l[3] * pd;
    switch (s.f.dataFlags) {
        case 1:
            return form1;
        case 2: {
            const double dew = s.ref->DewTemperature(pd);
            if (!(r >= 0)) throw EvaluationFault("negative pressure ratio");
            return l[0] + l[1] * r + l[2] * r * pd + l[3] * (dew + kKelvin) + l[4] * s.ps * s.ps +
                   l[5] * std::sqrt(r);
        }
        case 3:
            return l[0] + l[1] * r + l[2] * pd;
        case 4:
            return form1 + l[4] * pd * pd;
        case 5:
            return form1 + l[4] * pd * pd * r;
        default:
            return 0.0;
    }
}

// Friction and motor losses of the efficiency model, kW.
double PowerLoss(const StepState& s) {
    const Coefficients& k = s.f.blockB;
    const double a = k[0], b = k[1];
    double c = k[2], d = k[3];
    if (s.f.powerLossFlags & 1u) std::swap(c, d);
    const double Te = s.teDew + kKelvin;
    const double Tc = s.tcMid + kKelvin;
    double loss = 0.0;
    switch (s.f.powerUnit) {
        case 1:
            loss = a + b * s.ps + c * s.ps * s.pd + d * s.pd;
            break;
        case 2:
            loss = a + b * Te + c * Te * Tc + d * Tc;
            break;
        case 3:
            loss = a + b * s.ps + c * Te * Tc + d * Tc;
            break;
        case 4:
            loss = a + b * s.ps + d * s.pd;
            break;
        default:
            break;
    }
    if (s.f.powerLossFlags & 2u) loss /= 1000.0;
    return loss;
}

// Loss of compressing against a fixed built-in volume ratio, kW, for volume flow `Vdot` (m3/s).
double BuiltInRatioLoss(const StepState& s, double Vdot) {
    const double vi = s.f.builtInVolumeRatio;
    const double kappa = s.ref->exponent;
    if (s.f.technologyCode != TcrateObj::kTechFixedVolumeRatio || !(vi > 0.005) || !(kappa > 0.005))
        return 0.0;
    const double pressureRatio = Quotient(s.ps, s.pd, "suction to discharge pressure");
    return (1.0 / vi - std::pow(pressureRatio, 1.0 / kappa)) * 50.0 * Vdot *
           (s.pd - s.ps * std::pow(vi, kappa));
}

// Current of the efficiency model from the power input.
double CurrentFromPower(const StepState& s, double P) {
    const Coefficients& k = s.f.blockC;
    if (k[0] + k[1] + k[2] == 0.0) return 0.0;
    const double voltage = k[3] >= 10.0 ? k[3] : s.supplyVoltage;
    const double active = k[0] + k[1] * P + k[2] * P * P;
    const double reactive = Quotient(1000.0 * P, kSqrt3 * voltage, "current without a voltage");
    return std::sqrt(active * active + reactive * reactive);
}

// Power of the efficiency model at mass flow m and volume flow Vdot.
double EfficiencyModelPower(StepState& s, double m, double Vdot) {
    return s.ref->IsentropicPower(m, s.pd, s.ps, s.Tliq, s.SGT) + PowerLoss(s) +
           BuiltInRatioLoss(s, Vdot);
}

// Capacity, power and current of the polynomial kinds (EN 12900 and the vapour-injection
// polynomials share them): block A, block B, block C, with the speed and inverter corrections.
void PolynomialCapacity(StepState& s) {
    double Q = EN12900(s.f.blockA, s.tePoly, s.tcPoly) + SpeedCorrection(s, 1, s.tcPoly, s.tePoly);
    if (s.f.Fahrenheit()) Q /= TComp::kBtuPerHourPerKilowatt;
    if (s.f.CapacityInWatts()) Q *= 0.001;
    if (s.inverter) {
        Q = InverterCapacity(s, Q);
        s.inverterScaled = true;
    }
    s.Q = Q;
}

void PolynomialPowerAndCurrent(StepState& s) {
    double P = EN12900(s.f.blockB, s.tePoly, s.tcPoly) + SpeedCorrection(s, 2, s.tcPoly, s.tePoly);
    if (s.f.PowerInWatts()) P *= 0.001;
    if (s.inverter) P = InverterPower(s, P);
    s.P = P;
    if (s.inverter) {
        s.I = InverterCurrent(s, P);
    } else {
        s.I = EN12900(s.f.blockC, s.tePoly, s.tcPoly);
        if (s.kind == rating_kind::InjectionTemperature)
            s.I += SpeedCorrection(s, 4, s.tcPoly, s.tePoly);
    }
}

// Mass flow, volume flow and volumetric efficiency of the rated state from the capacity.
void RatedFlowFromCapacity(StepState& s) {
    s.mRated = Quotient(s.Q, s.dhRated, "rated enthalpy difference");
    s.Vdot = s.Vv(s.ps, s.SGTr) * s.mRated;
    s.lambda = Quotient(s.Vdot, s.f.displacement, "displacement");
}

// The rating model: capacity, power, current, rated mass flow and volumetric efficiency. Returns
// a negative status to end the step, else 0.
ModelStatus RatingModel(TComp& comp, StepState& s) {
    switch (s.baseKind) {
        case rating_kind::EN12900: {
            PolynomialCapacity(s);
            PolynomialPowerAndCurrent(s);
            RatedFlowFromCapacity(s);
            return st::Valid;
        }
        case rating_kind::AbsoluteTemperature: {
            const double Tc = s.tcMid + kKelvin;
            const double Te = s.teRate + kKelvin;
            double Q = AbsoluteTemperatureForm(s.f.blockA, Tc, Te, s.pd, s.ps) +
                       SpeedCorrection(s, 1, Tc, Te);
            if (s.f.dataFlags == 1) Q *= 0.001;
            double P = AbsoluteTemperatureForm(s.f.blockB, Tc, Te, s.pd, s.ps) +
                       SpeedCorrection(s, 2, Tc, Te);
            if (s.f.powerUnit == 1) P *= 0.001;
            if (s.inverter) {
                Q = InverterCapacity(s, Q);
                P = InverterPower(s, P);
                s.inverterScaled = true;
                s.I = InverterCurrent(s, P);
            } else {
                s.I = AbsoluteTemperatureForm(s.f.blockC, Tc, Te, s.pd, s.ps);
            }
            s.Q = Q;
            s.P = P;
            RatedFlowFromCapacity(s);
            return st::Valid;
        }
        case rating_kind::InjectionTemperature:
        case rating_kind::InjectionMassFlow: {
            PolynomialCapacity(s);
            if (s.Q <= 0.01) return st::EvapTooLow;
            InjectionRating(comp, s);
            return st::Valid;
        }
        case rating_kind::CO2Pressure: {
            s.mRated = EN12900(s.f.blockD, s.teDew, s.pd);
            s.Q = s.mRated * s.dhRated;
            double P = EN12900(s.f.blockB, s.teDew, s.pd);
            if (s.f.PowerInWatts()) P *= 0.001;
            s.P = P;
            s.I = s.inverter ? InverterCurrent(s, P) : EN12900(s.f.blockC, s.teDew, s.pd);
            s.Vdot = s.Vv(s.ps, s.SGTr) * s.mRated;
            s.lambda = Quotient(s.Vdot, s.f.displacement, "displacement");
            return st::Valid;
        }
        case rating_kind::Efficiency: {
            s.lambda = EfficiencyModelLambda(s);
            s.Vdot = s.lambda * s.f.displacement;
            s.mRated = Quotient(s.Vdot, s.Vv(s.ps, s.SGTr), "rated suction volume");
            s.Q = s.mRated * s.dhRated;
            s.P = EfficiencyModelPower(s, s.mRated, s.Vdot);
            s.I = CurrentFromPower(s, s.P);
            return st::Valid;
        }
        case rating_kind::NoData:
            s.Q = 0.0;  // nothing to evaluate: the capacity test refuses the point
            return st::Valid;
        default:
            return st::UnknownRatingModel;
    }
}

// Where the search for the isentropic discharge temperature starts. Only CO2 above its critical
// pressure takes it (others start at the saturation temperature): the ideal-gas compression
// end temperature with the refrigerant's exponent, close enough for a few secant steps.
double IsentropicStart(const StepState& s) {
    const Trefrigerant& ref = *s.ref;
    if (!(ref.isCO2 && s.pd >= ref.criticalPressure) || !(s.ps > 0)) return s.Tliq;
    const double kappa = ref.exponent > 1.0 && ref.exponent < 2.0 ? ref.exponent : 1.3;
    const double start = (s.SGT + kKelvin) * std::pow(s.pd / s.ps, (kappa - 1.0) / kappa) - kKelvin;
    return std::isfinite(start) ? std::max(start, s.Tliq) : s.Tliq;
}

bool IsKnownKind(int kind) {
    return (kind >= 0 && kind <= 6) || (kind >= 10 && kind <= 12);
}

// The operating point on the basis of the rating data, its plausibility, and the envelope.
ModelStatus PrepareState(TComp& comp, StepState& s, const RatingFields& setA) {
    const OperatingConditions& c = *s.c;
    Trefrigerant& ref = *s.ref;

    // Subcooling the rating takes into account.
    s.E = setA.IgnoresSubcooling() ? 0.0 : c.compSubcooling;
    if (s.f.CapsSubcooling())
        s.E = std::min(c.compSubcooling,
                       s.modelInjection ? TComp::kCappedSubcoolingVI : TComp::kCappedSubcooling);
    s.liquidRise = c.advanced ? c.liquidLineTempRise : 0.0;

    // Saturation states at the compressor, by the refrigerant's basis.
    ref.ClearErrors();
    s.te = c.satSuctionTemp;
    s.tc = c.satDischargeTemp;
    switch (ref.basis) {
        case 'M':
            s.teMid = s.te;
            s.tcMid = s.tc;
            ref.MidTemperaturesToPressures(s.E, s.tc, s.te, s.pd, s.ps);
            s.teDew = ref.DewTemperature(s.ps);
            s.tBub = ref.BubbleTemperature(s.pd);
            s.tcDew = ref.DewTemperature(s.pd);
            break;
        case 'D':
            s.teDew = s.te;
            s.tcDew = s.tc;
            s.ps = ref.DewPressure(s.te);
            s.pd = ref.DewPressure(s.tc);
            s.tBub = ref.BubbleTemperature(s.pd);
            ref.PressuresToMidTemperatures(s.E, s.pd, s.ps, s.tcMid, s.teMid);
            break;
        default:
            s.ps = ref.DewPressure(s.te);
            s.pd = s.transcritical ? c.condPressure : ref.DewPressure(s.tc);
            s.teDew = s.teMid = s.te;
            s.tcDew = s.tcMid = s.tc;
            s.tBub = s.tc;
            break;
    }

    // Evaporating temperature of the polynomials.
    if (ref.basis == 'N') {
        s.teRate = s.te;
    } else if (std::fabs(s.f.ratedSubcooling - s.E) < 0.1) {
        s.teRate = s.teMid;
    } else {
        double condMid = 0;
        ref.PressuresToMidTemperatures(s.f.ratedSubcooling, s.pd, s.ps, condMid, s.teRate);
    }
    if (s.f.DewData()) {
        s.tePoly = s.teDew;
        s.tcPoly = s.tcDew;
    } else {
        s.tePoly = s.teRate;
        s.tcPoly = s.tcMid;
    }
    if (s.f.Fahrenheit()) {
        s.tePoly = ToFahrenheit(s.tePoly);
        s.tcPoly = ToFahrenheit(s.tcPoly);
    }

    // Suction gas and liquid.
    if (c.useSGR) {
        s.SGT = c.suctionGasReturn;
        s.SH = s.SGT - s.teDew;
    } else {
        s.SH = c.superheat;
        s.SGT = s.teDew + s.SH;
    }
    s.TliqCond = s.transcritical ? c.gasCoolerOutletTemp : s.tBub - s.E;
    s.Tliq = s.TliqCond;
    if (s.kind != rating_kind::InjectionTemperature && s.kind != rating_kind::InjectionMassFlow &&
        s.Tliq < s.teMid && !s.transcritical)
        return st::LiquidBelowEvap;
    if (s.SGT > TComp::kSuctionGasLimit) return st::SuctionGasTooHot;

    // Property failures so far, then the envelope.
    if (ref.stickyError) return st::EvapTooLow;
    const bool midPair = ref.basis == 'M';
    const double y = midPair ? s.tcMid : s.tcDew;
    const double x = midPair ? s.teMid : s.teDew;
    const ModelStatus code = CheckStepEnvelope(comp, s, y, x);
    if (code < 0) return code;
    if (code == 2 || code == 3 || code == 6 || code == 7) return st::EvapTooLow;
    return code;
}

}  // namespace

double SuctionTemperatureRatio(double T, double Tr, double scale, double lambda) {
    const double e = std::clamp(scale * std::min(lambda, 1.0), 0.1, 1.14);
    if (!std::isfinite(e) || !std::isfinite(T) || !std::isfinite(Tr))
        throw std::domain_error("suction temperature ratio of a value that is not a number");
    const double dr = Tr - 25.0;
    // Volumetric efficiency at 25 degC suction gas that gives e at the rated temperature.
    double l = e;
    bool converged = false;
    for (int n = 0; n < kMaxNewtonSteps; ++n) {
        const double g =
            l * (1.0 + 0.0186 * dr) - 0.03673 * dr * l * l + 0.018368 * dr * l * l * l - e;
        const double dg = 1.0 + 0.0186 * dr - 2.0 * 0.03673 * dr * l + 3.0 * 0.018368 * dr * l * l;
        if (dg == 0.0 || !std::isfinite(dg)) break;
        const double step = g / dg;
        l -= step;
        if (!std::isfinite(l)) break;
        if (std::fabs(step) <= 0.001) {
            converged = true;
            break;
        }
    }
    if (!converged)
        throw std::domain_error("suction temperature ratio: no volumetric efficiency found");
    return l * (1.0 + (T - 25.0) * (0.0186 - 0.03673 * l + 0.018368 * l * l)) / e;
}

ModelStatus TComp::EvaluateStep(const OperatingConditions& conditions, TcrateObj* set,
                                double ratio) {
    if (set == nullptr) return st::EvaluationFailed;
    try {
        return EvaluateStepUnguarded(conditions, *set, ratio);
    } catch (...) {
        return st::EvaluationFailed;
    }
}

ModelStatus TComp::EvaluateStepUnguarded(const OperatingConditions& c, TcrateObj& set,
                                         double ratio) {
    if (refrigerant == nullptr) throw EvaluationFault("no refrigerant");
    Trefrigerant& ref = *refrigerant;
    // Without the property library the refrigerant needs, no request can be answered.
    const LoadedPropertyLibraries loaded = PropertyLibrariesLoaded();
    if (!(ref.isCO2 ? loaded.co2 : loaded.general))
        throw EvaluationFault("property library of the refrigerant not loaded");

    StepState s;
    s.c = &c;
    s.ref = &ref;
    s.set = &set;
    s.f = ReadRatingFields(set);
    const RatingFields setA = ratingSetA != nullptr ? ReadRatingFields(*ratingSetA) : s.f;
    s.kind = s.f.kind;
    s.baseKind = BaseKind(s.kind);
    s.injection = IsInjectionKind(s.kind);
    s.modelInjection = IsInjectionKind(setA.kind);
    s.speedData = ratingSetA != nullptr ? ratingSetA : &set;
    s.inverter = s.speedData->Inverter() != nullptr;
    s.speedPolynomials = s.speedData->SpeedPolynomials() != nullptr;
    s.n = speed_;
    s.transcritical = ref.isCO2 && c.condPressure > ref.criticalPressure;
    if (supply != nullptr) {
        s.supplyVoltage = supply->voltage;
        s.phases = familyNumber == 6 ? 0 : static_cast<int>(std::lround(supply->phases));
    }

    ModelStatus envelopeStatus = PrepareState(*this, s, setA);
    if (envelopeStatus < 0) return envelopeStatus;

    // Rated state.
    s.SGTr = s.f.ratedSuperheatMode ? s.teDew + s.f.ratedSuction : s.f.ratedSuction;
    const bool polynomialInjection =
        s.kind == rating_kind::InjectionTemperature || s.kind == rating_kind::InjectionMassFlow;
    if (!polynomialInjection) {
        const double hLiqRated = s.transcritical
                                     ? s.Hv(s.pd, c.gasCoolerOutletTemp)
                                     : ref.LiquidEnthalpy(s.pd, s.tBub - s.f.ratedSubcooling);
        s.dhRated = s.Hv(s.ps, s.SGTr) - hLiqRated;
    }

    // Rating model.
    if (!IsKnownKind(s.kind)) return st::UnknownRatingModel;
    if (const ModelStatus code = RatingModel(*this, s); code < 0) return code;
    if (!std::isfinite(s.Q) || !std::isfinite(s.P) || !std::isfinite(s.I))
        throw EvaluationFault("rating model gives a value that is not a number");
    if (s.baseKind == rating_kind::Efficiency && s.f.motorPowerLimit > 0 &&
        s.P >= s.f.motorPowerLimit)
        return st::MotorLimit;
    if (!(s.Q > 0.01)) return st::EvapTooLow;
    if (s.kind >= rating_kind::EfficiencyInjection) InjectionRating(*this, s);
    // Where the rated capacity follows the inverter's speed, the volumetric efficiency is
    // referred to the base speed; the actual volume flow below is scaled back to the speed.
    if (s.inverterScaled) s.lambda *= Quotient(kInverterBaseSpeed, s.n, "inverter speed");

    // Actual liquid and suction states.
    s.hLiq = s.transcritical ? s.Hv(s.pd, s.Tliq) : ref.LiquidEnthalpy(s.pd, s.Tliq);
    if (s.SGT != s.SGTr) {
        s.hSuc = s.Hv(s.ps, s.SGT);
        const double f =
            s.f.technologyCode == TcrateObj::kTechNoSuctionCorrection
                ? 1.0
                : SuctionTemperatureRatio(s.SGT, s.SGTr, s.f.volumetricScale, s.lambda);
        s.lambdaActual = s.lambda * f;
        s.VdotActual =
            s.lambdaActual * s.f.displacement * (s.inverterScaled ? s.n / kInverterBaseSpeed : 1.0);
        s.m = Quotient(s.VdotActual, s.Vv(s.ps, s.SGT), "suction volume");
    } else {
        s.hSuc = s.Hv(s.ps, s.SGTr);
        s.lambdaActual = s.lambda;
        s.VdotActual = s.Vdot;
        s.m = s.mRated;
    }
    s.Qa = s.m * (s.hSuc - s.hLiq);

    if (s.kind == rating_kind::Efficiency) {
        s.P = EfficiencyModelPower(s, s.m, s.VdotActual);
        s.I = CurrentFromPower(s, s.P);
    }
    if (s.injection) InjectionFlow(s);

    // Factors of the compressor record.
    s.P *= powerFactorMultiplier;
    s.I *= currentFactor;
    s.m *= capacityFactor;
    s.Qa *= capacityFactor;
    s.economiserDuty *= capacityFactor;

    // Discharge state. The isentropic discharge state comes first: with option bit 0 it is the
    // discharge state, otherwise it starts the search for the discharge temperature (which
    // matters for CO2 above its critical pressure, where no saturation temperature can start
    // it) and gives the isentropic efficiency; a failure to find it then fails nothing else.
    const bool stickyBefore = ref.stickyError;
    const std::int32_t errorBefore = ref.errorCode;
    const double Tis = ref.IsentropicTemperature(s.pd, s.ps, IsentropicStart(s), s.SGT);
    const bool haveIsentropic = !ref.lastError;
    double Td = Tis;
    double hDischarge = 0;
    if (s.f.IsentropicDischarge()) {
        hDischarge = s.Hv(s.pd, Td);
    } else {
        ref.stickyError = stickyBefore;
        ref.errorCode = errorBefore;
        // The temperature is found for this enthalpy (to 1e-5 kJ/kg), so the enthalpy stands
        // for the state unless the temperature is capped.
        hDischarge = s.hSuc + kDischargeEnthalpyShare * Quotient(s.P, s.m, "mass flow");
        Td = ref.VapourTemperatureFromEnthalpy(hDischarge, haveIsentropic ? Tis : s.Tliq, s.pd);
        if (Td > kDischargeCap && s.f.CapsDischarge()) {
            Td = kDischargeCap;
            hDischarge = s.Hv(s.pd, Td);
        }
    }
    if (ref.errorCode != Trefrigerant::ErrorNone || ref.stickyError) return st::EvapTooLow;

    if (familyNumber == 67 && Td > s.f.maxDischargeTemp) return st::DischargeTooHot;

    const double hSat =
        s.transcritical ? s.Hv(s.pd, c.gasCoolerOutletTemp) : ref.LiquidEnthalpy(s.pd, s.tBub);
    double heatRejection = s.m * (hDischarge - hSat);
    const double heatingCapacity = s.m * (hDischarge - s.hLiq);
    if (s.injection) heatRejection += s.economiserDuty;

    // Isentropic efficiency; 0 when the isentropic discharge state cannot be found.
    double isentropicEfficiency = 0;
    if (haveIsentropic) {
        const double hIs = s.Hv(s.pd, Tis);
        if (!s.injection) {
            isentropicEfficiency =
                100.0 * (hIs - s.hSuc) / Quotient(s.P, s.m, "isentropic efficiency");
        } else {
            double Pis = s.m * (hIs - s.hSuc);
            const double pgi = ref.DewPressure(s.G);
            const double Tgi = ref.IsentropicTemperature(s.pd, pgi, s.Tliq, s.G);
            if (!ref.lastError) {
                Pis += s.injectionFlow * (s.Hv(s.pd, Tgi) - s.Hv(pgi, s.G));
                isentropicEfficiency = 100.0 * Quotient(Pis, s.P, "isentropic efficiency");
            }
        }
    }

    const double powerFactor =
        s.phases > 0 && s.I != 0.0 && s.supplyVoltage > 0
            ? s.P * 1000.0 / s.supplyVoltage / std::sqrt(static_cast<double>(s.phases)) / s.I
            : 0.0;

    // Useful superheat.
    if (!c.usefulAll) {
        double r = ratio;
        if (s.modelInjection) {
            const double ts = ref.basis == 'N' ? c.evapTemp : ref.DewTemperature(s.ps);
            const double hl0 =
                s.transcritical ? s.Hv(s.pd, s.Tliq) : ref.LiquidEnthalpy(s.pd, s.Tliq);
            r = Quotient(s.Hv(s.ps, c.suctionGasReturn) - hl0,
                         s.Hv(s.ps, ts + c.usefulSuperheat) - hl0,
                         "useful superheat enthalpy difference");
        }
        if (r > 1.0) s.Qa /= r;
    }

    // Results.
    namespace q = quantity;
    ResultVector out = Results();
    out.Set(q::CoolingCapacity, s.Qa);
    out.Set(q::PowerInput, s.P);
    out.Set(q::Current, s.I);
    out.Set(q::COP, CoefficientOfPerformance(s.Qa, s.P));
    out.Set(q::VolumetricEfficiency, 100.0 * s.lambdaActual);
    out.Set(q::IsentropicEfficiency, isentropicEfficiency);
    out.Set(q::MassFlow, 1000.0 * s.m);
    out.Set(q::HeatRejection, heatRejection);
    out.Set(q::DischargeTemp, Td);
    out.Set(q::HeatingCapacity, heatingCapacity);
    out.Set(q::LiquidTemp, s.injection ? s.Teco : s.TliqCond);
    out.Set(q::PowerFactor, powerFactor);
    if (s.injection) {
        out.Set(q::IntermediateSatTemp, s.G);
        out.Set(q::EconomiserCapacity, std::max(s.economiserDuty, 0.0));
        out.Set(q::InjectionMassFlow, std::max(1000.0 * s.injectionFlow, 0.0));
        out.Set(q::InjectionTemp, s.injectionTemp);
        out.Set(q::IntermediateBubbleTemp, s.intermediateBubble);
    }
    out.Set(q::SuctionPressure, s.ps);
    out.Set(q::DischargePressure, s.pd);
    out.Set(q::Speed, speed_);
    out.Set(q::Load, load_);
    for (int code = 1; code < kResultCount; ++code)
        if (!std::isfinite(out.Get(code))) throw EvaluationFault("result not a number");
    out.SetStatus(Status());
    SetResults(out);
    return envelopeStatus;
}

}  // namespace kelvra
