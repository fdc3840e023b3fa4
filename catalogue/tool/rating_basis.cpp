#include "rating_basis.hpp"

#include <cmath>

namespace kelvra::catalogue {

BasisState StateAt(Trefrigerant& ref, double te, double tc, double E, const BasisOptions& o,
                   std::optional<double> transcriticalPressure) {
    BasisState s;
    ref.ClearErrors();
    s.transcritical = ref.isCO2 && transcriticalPressure && *transcriticalPressure > ref.criticalPressure;
    switch (ref.basis) {
        case 'M':
            s.teMid = te;
            s.tcMid = tc;
            ref.MidTemperaturesToPressures(E, tc, te, s.pd, s.ps);
            s.teDew = ref.DewTemperature(s.ps);
            s.tBub = ref.BubbleTemperature(s.pd);
            s.tcDew = ref.DewTemperature(s.pd);
            break;
        case 'D':
            s.teDew = te;
            s.tcDew = tc;
            s.ps = ref.DewPressure(te);
            s.pd = ref.DewPressure(tc);
            s.tBub = ref.BubbleTemperature(s.pd);
            ref.PressuresToMidTemperatures(E, s.pd, s.ps, s.tcMid, s.teMid);
            break;
        default:
            s.ps = ref.DewPressure(te);
            s.pd = s.transcritical ? *transcriticalPressure : ref.DewPressure(tc);
            s.teDew = s.teMid = te;
            s.tcDew = s.tcMid = s.transcritical ? 0.0 : tc;
            s.tBub = s.tcDew;
            break;
    }
    if (ref.basis == 'N') {
        s.teRate = te;
    } else if (std::fabs(o.ratedSubcooling - E) < 0.1) {
        s.teRate = s.teMid;
    } else {
        double condMid = 0;
        ref.PressuresToMidTemperatures(o.ratedSubcooling, s.pd, s.ps, condMid, s.teRate);
    }
    if (o.dewData) {
        s.tePoly = s.teDew;
        s.tcPoly = s.tcDew;
    } else {
        s.tePoly = s.teRate;
        s.tcPoly = s.tcMid;
    }
    if (o.fahrenheit) {
        s.tePoly = s.tePoly * 1.8 + 32.0;
        s.tcPoly = s.tcPoly * 1.8 + 32.0;
    }
    s.ok = !ref.stickyError && std::isfinite(s.ps) && std::isfinite(s.pd) && s.ps > 0 && s.pd > s.ps;
    return s;
}

}  // namespace kelvra::catalogue
