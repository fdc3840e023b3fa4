// Vapour injection: the economiser, the liquid it leaves colder, the injected vapour and the
// power it costs.

#include <algorithm>
#include <cmath>

#include "compressor.hpp"
#include "compressor_step.hpp"
#include "refrigerant.hpp"

namespace kelvra::compressor_detail {

namespace {

constexpr double kRatedApproach = 5.0;     // K, economiser outlet above the intermediate bubble
constexpr double kInjectionCharge = 1.27;  // power charged per kg/s of extra injection
constexpr double kPoundPerHourInKgPerSecond = 0.000126;

// The intermediate temperature the rating data give (H).
double RatedIntermediateTemperature(StepState& s) {
    Trefrigerant& ref = *s.ref;
    switch (s.kind) {
        case rating_kind::InjectionTemperature: {
            const double H =
                EN12900(s.f.blockD, s.tePoly, s.tcPoly) + SpeedCorrection(s, 3, s.tcPoly, s.tePoly);
            return s.f.Fahrenheit() ? FromFahrenheit(H) : H;
        }
        case rating_kind::InjectionMassFlow: {
            double mRated =
                EN12900(s.f.blockD, s.tePoly, s.tcPoly) + SpeedCorrection(s, 3, s.tcPoly, s.tePoly);
            if (s.f.massFlowUnit == 1)
                mRated *= kPoundPerHourInKgPerSecond;
            else if (s.f.massFlowUnit == 2)
                mRated *= 0.001;
            const double h =
                s.Hv(s.ps, s.SGTr) - Quotient(s.Q, mRated, "rated mass flow of the rating data");
            return ref.LiquidTemperatureFromEnthalpy(h, s.pd) - kRatedApproach;
        }
        default:  // kinds 10 to 12: from dew temperatures in degF, always
            return FromFahrenheit(
                EN12900(s.f.blockD, ToFahrenheit(s.teDew), ToFahrenheit(s.tcDew)));
    }
}

}  // namespace

IntermediateState IntermediateOf(StepState& s, double T, double sub) {
    Trefrigerant& ref = *s.ref;
    IntermediateState out;
    if (ref.basis == 'N') {
        out.p = ref.DewPressure(T);
        out.X = T;
    } else if (s.f.DewData()) {
        out.p = ref.DewPressure(T);
        double condMid = 0;
        ref.PressuresToMidTemperatures(sub, s.pd, out.p, condMid, out.Z);
        out.X = 2.0 * out.Z - T;
    } else {
        double condPressure = 0;
        ref.MidTemperaturesToPressures(sub, s.tcMid, T, condPressure, out.p);
        out.X = 2.0 * T - ref.DewTemperature(out.p);
    }
    return out;
}

void InjectionRating(TComp& /*comp*/, StepState& s) {
    Trefrigerant& ref = *s.ref;
    const OperatingConditions& c = *s.c;

    s.H = RatedIntermediateTemperature(s);

    // Economiser liquid outlet and the intermediate temperature at the point.
    switch (c.economiserMode) {
        case 1:
            s.Teco = c.economiserLiquidTemp;
            s.G = s.Teco - c.economiserApproach;
            s.approach = c.economiserApproach;
            s.vapourSuperheat = c.vapourOutletSuperheat;
            break;
        case 2:
            s.Teco = s.tBub - c.economiserSubcooling - s.E;
            s.G = s.Teco - c.economiserApproach;
            s.approach = c.economiserApproach;
            s.vapourSuperheat = c.vapourOutletSuperheat;
            break;
        default:
            s.G = s.H + s.f.ratedSubcooling - s.E;
            if (ref.basis == 'N') {
                s.Teco = s.G + kRatedApproach;
            } else {
                const IntermediateState at = IntermediateOf(s, s.G, s.E);
                s.Teco = at.X + kRatedApproach;
                // G on the refrigerant's own basis.
                if (ref.basis == 'M' && s.f.DewData())
                    s.G = at.Z;
                else if (ref.basis == 'D' && !s.f.DewData())
                    s.G = ref.DewTemperature(at.p);
            }
            s.approach = kRatedApproach;
            s.vapourSuperheat = kRatedApproach;
            break;
    }
    if (s.kind == rating_kind::InjectionTemperature || s.kind == rating_kind::InjectionMassFlow)
        s.Teco = std::min(s.Teco, s.TliqCond);  // never warmer than the condenser's liquid
    s.Tliq = s.Teco + s.liquidRise;

    // Rated economiser outlet and the rated enthalpy difference.
    const double TecoRated = ref.basis == 'N'
                                 ? s.H + kRatedApproach
                                 : IntermediateOf(s, s.H, s.f.ratedSubcooling).X + kRatedApproach;
    s.dhRated = s.Hv(s.ps, s.SGTr) - ref.LiquidEnthalpy(s.pd, TecoRated);

    const double suctionVolume = s.Vv(s.ps, s.SGTr);
    if (s.kind == rating_kind::InjectionTemperature || s.kind == rating_kind::InjectionMassFlow) {
        s.mRated = Quotient(s.Q, s.dhRated, "rated enthalpy difference");
        s.Vdot = suctionVolume * s.mRated;
        s.lambda = Quotient(s.Vdot, s.f.displacement, "displacement");
        double P =
            EN12900(s.f.blockB, s.tePoly, s.tcPoly) + SpeedCorrection(s, 2, s.tcPoly, s.tePoly);
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
    } else {
        s.Vdot = suctionVolume * s.mRated;
        s.lambda = Quotient(s.Vdot, s.f.displacement, "displacement");
    }
}

void InjectionFlow(StepState& s) {
    Trefrigerant& ref = *s.ref;
    const bool polynomialInjection =
        s.kind == rating_kind::InjectionTemperature || s.kind == rating_kind::InjectionMassFlow;

    // Injection flow of the rating data (what the rated power already pays for).
    double ratedInjection = 0;
    if (polynomialInjection) {
        IntermediateState rated;
        if (ref.basis == 'N') {
            rated.p = ref.DewPressure(s.H);
            rated.X = s.H;
        } else {
            rated = IntermediateOf(s, s.H, s.f.ratedSubcooling);
        }
        const double hIn = ref.LiquidEnthalpy(s.pd, s.tBub - s.f.ratedSubcooling);
        const double hEco = ref.LiquidEnthalpy(s.pd, rated.X + kRatedApproach);
        const double duty = (hIn - hEco) * s.mRated;
        ratedInjection = Quotient(duty, s.Hv(rated.p, s.H + kRatedApproach) - hIn,
                                  "rated injection enthalpy difference");
    }

    // Injection flow at the point.
    const IntermediateState at = IntermediateOf(s, s.G, s.E);
    const double hIn = ref.LiquidEnthalpy(s.pd, s.tBub - s.E);
    const double hEco = ref.LiquidEnthalpy(s.pd, at.X + s.approach);
    const double duty = (hIn - hEco) * s.m;
    const double Tv = s.G + s.vapourSuperheat;
    const double hVapour = s.Hv(at.p, Tv);
    s.injectionFlow = Quotient(duty, hVapour - hIn, "injection enthalpy difference");

    // Compressing the injected vapour.
    const double Tvi = ref.IsentropicTemperature(s.pd, at.p, s.Tliq, Tv);
    const double dhInjection = s.Hv(s.pd, Tvi) - hVapour;
    const double charged = polynomialInjection
                               ? (s.injectionFlow - ratedInjection) * kInjectionCharge
                               : s.f.injectionPowerFactor * s.injectionFlow;
    const double addedPower = charged * dhInjection;
    s.I *= 1.0 + Quotient(addedPower, s.P, "power input");
    s.P += addedPower;

    s.intermediateBubble = ref.BubbleTemperature(at.p);
    s.injectionTemp = at.X;
    s.economiserDuty = (ref.LiquidEnthalpy(s.pd, s.TliqCond) - s.hLiq) * s.m;
}

}  // namespace kelvra::compressor_detail
