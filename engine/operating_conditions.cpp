#include "operating_conditions.hpp"

#include <cmath>

#include "refrigerant.hpp"

namespace kelvra {

namespace {

// Fahrenheit differences and temperatures of the ARI rating points, as exact quotients.
constexpr double FahrenheitDifference(double dF) {
    return dF * 5.0 / 9.0;
}
constexpr double FahrenheitTemperature(double tF) {
    return (tF - 32.0) * 5.0 / 9.0;
}

// Property requests made while resolving; remembers whether any of them failed.
class PropertyCalls {
  public:
    explicit PropertyCalls(Trefrigerant& r) : ref_(r) {}

    bool failed = false;

    double DewP(double T) { return Take(ref_.DewPressure(T)); }
    double DewT(double p) { return Take(ref_.DewTemperature(p)); }
    double BubbleT(double p) { return Take(ref_.BubbleTemperature(p)); }
    double MidP(double T) { return Take(ref_.MidPointPressure(T)); }
    double MidT(double p) { return Take(ref_.MidPointTemperature(p)); }
    double VapourH(double p, double T) { return Take(ref_.VapourEnthalpy(p, T)); }
    double LiquidH(double p, double T) { return Take(ref_.LiquidEnthalpy(p, T)); }
    void MidToPressures(double sub, double condMid, double evapMid, double& pc, double& pe) {
        ref_.MidTemperaturesToPressures(sub, condMid, evapMid, pc, pe);
        Take(0);
    }
    void PressuresToMid(double sub, double pc, double pe, double& condMid, double& evapMid) {
        ref_.PressuresToMidTemperatures(sub, pc, pe, condMid, evapMid);
        Take(0);
    }

  private:
    double Take(double value) {
        failed = failed || ref_.lastError;
        return value;
    }
    Trefrigerant& ref_;
};

// Superheat from the suction gas temperature or the reverse, whichever is not the input.
void RederiveSuction(OperatingConditions& c, double reference) {
    if (c.useSGR)
        c.superheat = c.suctionGasReturn - reference;
    else
        c.suctionGasReturn = reference + c.superheat;
}

std::int32_t Finish(OperatingConditions& c, std::int32_t status) {
    c.invalid = status != ResolveOk;
    return status;
}

}  // namespace

void Preset(int ratingClass, RatingStandard standard, OperatingConditions& c) {
    // Back to a plain rating point first.
    c.subcooling = 0;
    c.compSubcooling = 0;
    c.advanced = false;
    c.usefulAll = true;
    c.suctionLineDrop = 0;
    c.dischargeLineDrop = 0;
    c.satSuctionTemp = c.evapTemp;
    c.satDischargeTemp = c.condTemp;
    RederiveSuction(c, c.satSuctionTemp);
    c.usefulSuperheat = c.superheat;
    c.capacityRatio = 1.0;
    c.condByPressure = 0;
    c.evapByPressure = 0;
    c.liquidTempGiven = false;

    const bool ari = standard == RatingStandard::ARI;
    auto superheatInput = [&c](double superheat) {
        c.useSGR = false;
        c.superheat = superheat;
        c.usefulSuperheat = superheat;
        c.suctionGasReturn = c.satSuctionTemp + superheat;
    };
    auto suctionGasInput = [&c](double temperature) {
        c.useSGR = true;
        c.suctionGasReturn = temperature;
        c.superheat = temperature - c.satSuctionTemp;
        c.usefulSuperheat = c.superheat;
    };
    auto subcoolingOf = [&c](double subcooling) {
        c.subcooling = subcooling;
        c.compSubcooling = subcooling;
    };

    switch (ratingClass) {
        case 1:
            suctionGasInput(ari ? FahrenheitTemperature(65) : 20.0);
            break;
        case 2:
            if (ari) {
                superheatInput(FahrenheitDifference(20));
                subcoolingOf(FahrenheitDifference(15));
            } else {
                superheatInput(10);
            }
            break;
        case 3:
            superheatInput(ari ? FahrenheitDifference(40) : 20.0);
            break;
        case 4:
            superheatInput(5);
            subcoolingOf(4);
            break;
        case 5:
            superheatInput(ari ? FahrenheitDifference(10) : 5.0);
            break;
        case 7:
            if (!ari) {
                superheatInput(5);
                subcoolingOf(4);
            }
            break;
        case 8:
            superheatInput(ari ? FahrenheitDifference(40) : 10.0);
            break;
        case 9:
        case 10:
            superheatInput(10);
            c.liquidTempGiven = true;
            if (ari)
                c.liquidTemp = 35;
            else
                c.gasCoolerOutletTemp = 35;
            break;
        default:
            break;
    }
}

std::int32_t Resolve(OperatingConditions& c, Trefrigerant* refrigerant) {
    if (!refrigerant) return Finish(c, ResolveNoRefrigerant);
    Trefrigerant& ref = *refrigerant;
    PropertyCalls props(ref);
    const bool midPoint = ref.basis == 'M';
    const bool single = ref.basis == 'N';

    // CO2 above its critical point
    bool transcritical = false;
    if (ref.isCO2) {
        if (c.condTemp < -290) c.condTemp = 30;
        if (c.condByPressure) {
            transcritical = c.condPressure > ref.criticalPressure;
        } else if (c.condTemp > ref.criticalTemperature) {
            transcritical = true;
            if (c.condPressure < ref.criticalPressure) c.condPressure = ref.criticalPressure + 1;
        }
    }

    // Condensing side
    if (!transcritical) {
        if (c.condByPressure)
            c.condTemp = midPoint ? props.MidT(c.condPressure) : props.DewT(c.condPressure);
        else
            c.condPressure = midPoint ? props.MidP(c.condTemp) : props.DewP(c.condTemp);
    }
    c.satDischargeTemp = c.condTemp;
    c.dischargePressure = c.condPressure;

    // Liquid side
    const double liquidReference =
        (single || transcritical) ? c.condTemp : props.BubbleT(c.condPressure);
    if (!transcritical) {
        if (c.liquidTempGiven)
            c.subcooling = liquidReference - c.liquidTemp;
        else
            c.liquidTemp = liquidReference - c.subcooling;
    } else if (c.liquidTemp < -275) {
        c.liquidTemp = 35;
    }
    c.compSubcooling = c.subcooling;

    // Evaporating side
    double suctionReference = c.evapTemp;
    if (c.evapByPressure) {
        suctionReference = props.DewT(c.evapPressure);
        if (midPoint) {
            double condMid = 0, evapMid = 0;
            props.PressuresToMid(c.subcooling, c.condPressure, c.evapPressure, condMid, evapMid);
            c.evapTemp = evapMid;
        } else {
            c.evapTemp = suctionReference;
        }
    } else if (midPoint) {
        double condP = 0, evapP = 0;
        props.MidToPressures(c.subcooling, c.condTemp, c.evapTemp, condP, evapP);
        c.evapPressure = evapP;
    } else {
        c.evapPressure = props.DewP(c.evapTemp);
    }
    c.satSuctionTemp = c.evapTemp;
    c.suctionPressure = c.evapPressure;
    RederiveSuction(c, suctionReference);

    if (!c.advanced) {
        c.usefulSuperheat = c.superheat;
        c.capacityRatio = 1.0;
        return Finish(c, props.failed ? ResolvePropertyError : ResolveOk);
    }

    // Advanced: line drops and useful superheat
    c.satSuctionTemp = c.evapTemp - c.suctionLineDrop;
    c.satDischargeTemp = c.condTemp + c.dischargeLineDrop;
    RederiveSuction(c, c.satSuctionTemp);
    if (c.suctionLineDrop > 0 || c.dischargeLineDrop > 0) {
        if (midPoint) {
            props.MidToPressures(c.subcooling, c.satDischargeTemp, c.satSuctionTemp,
                                 c.dischargePressure, c.suctionPressure);
        } else {
            c.suctionPressure = props.DewP(c.satSuctionTemp);
            // Above the critical point a line drop has no saturation temperature: the
            // compressor discharges at the gas-cooler pressure.
            if (!transcritical) c.dischargePressure = props.DewP(c.satDischargeTemp);
        }
        c.compSubcooling =
            transcritical ? c.subcooling : props.BubbleT(c.dischargePressure) - c.liquidTemp;
    }

    const double T0 = single ? c.evapTemp : props.DewT(c.evapPressure);
    std::int32_t status = ResolveOk;
    c.capacityRatio = 1.0;
    if (c.suctionGasReturn + 0.005 < T0 + c.usefulSuperheat) {
        status = ResolveSuctionGasTooCold;
    } else if (!c.usefulAll) {
        PropertyCalls ratioProps(ref);
        const double hLiquid = ratioProps.LiquidH(c.dischargePressure, c.liquidTemp);
        const double hSuction = ratioProps.VapourH(c.suctionPressure, c.suctionGasReturn);
        const double hUseful = ratioProps.VapourH(c.evapPressure, T0 + c.usefulSuperheat);
        const double ratio = (hSuction - hLiquid) / (hUseful - hLiquid);
        if (ratioProps.failed || !std::isfinite(ratio) || !(hUseful - hLiquid > 0)) {
            status = ResolvePropertyError;
        } else {
            c.capacityRatio = ratio < 1.0 ? 1.0 : ratio;
        }
    }
    if (c.superheat + 0.005 < c.usefulSuperheat && !c.usefulAll)
        status = ResolveUsefulAboveSuperheat;
    if (status == ResolveOk && props.failed) status = ResolvePropertyError;
    return Finish(c, status);
}

}  // namespace kelvra
