#include "refrigerant_properties.hpp"

#include <cmath>

#include <fmt/format.h>

#include "ph_diagram.hpp"
#include "refrigerant.hpp"

namespace kelvra {

RefPropSheet ComputeRefrigerantProperties(Trefrigerant& ref, const RefPropInputs& in) {
    RefPropSheet s;
    s.title = ref.DisplayName();
    s.transcritical = ref.isCO2 && (in.condPressure > ref.criticalPressure ||
                                    in.condTemp > ref.criticalTemperature);

    // high side
    if (s.transcritical) {
        s.highPressure = in.condPressure > ref.criticalPressure
                             ? in.condPressure
                             : std::trunc(ref.criticalPressure) + 1.0;
        s.liquidTemp = in.liquidTemp;
        // Above the critical pressure there is no saturated liquid: the fluid leaving the gas
        // cooler is a dense supercritical state at that pressure and temperature.
        s.liquidEnthalpy = GasCoolerOutletEnthalpy(ref, s.highPressure, s.liquidTemp);
    } else {
        s.condensingAt = in.condTemp;
        const double pc = ref.DewPressure(in.condTemp);
        s.highPressure = pc;
        s.highDewPoint = ref.DewTemperature(pc);
        s.highBubblePoint = ref.BubbleTemperature(pc);
        s.saturatedVapourEnthalpy = ref.VapourEnthalpy(pc, s.highDewPoint);
        s.saturatedVapourVolume = ref.VapourVolume(pc, s.highDewPoint) * 1000.0;
        s.liquidTemp = in.liquidTempGiven ? in.liquidTemp : s.highBubblePoint - in.subcooling;
        s.liquidEnthalpy = ref.LiquidEnthalpy(pc, s.liquidTemp);
    }

    // low side
    s.evaporatingAt = in.evapTemp;
    const double p0 = ref.DewPressure(in.evapTemp);
    s.lowPressure = p0;
    s.lowDewPoint = ref.DewTemperature(p0);
    s.lowBubblePoint = ref.BubbleTemperature(p0);
    s.vapourAt = in.useSGR ? in.suctionValue : s.lowDewPoint + in.suctionValue;
    s.vapourVolume = ref.VapourVolume(p0, s.vapourAt) * 1000.0;
    s.vapourEnthalpy = ref.VapourEnthalpy(p0, s.vapourAt);

    ref.ClearErrors();
    return s;
}

std::string FormatPropertyValue(double value) {
    // the C library's "%15.5f", without the locale's decimal comma
    return fmt::format("{:15.5f}", value);
}

}  // namespace kelvra
