#include "compressor_physics.hpp"

#include <algorithm>
#include <cmath>

namespace kelvra::catalogue {

namespace {

constexpr double kSqrt3 = 1.732050808;
constexpr double kReferenceSuperheat = 10.0;  // K, the suction state the compression work refers to

}  // namespace

double SuctionGasEfficiency(double l25, double T) {
    return l25 * (1.0 + (T - 25.0) * (0.0186 - 0.03673 * l25 + 0.018368 * l25 * l25));
}

double VolumetricEfficiency25(const CompressorPhysics& c, double r, double f) {
    const VolumetricCurve& v = c.volumetric;
    double l = v.eta0 - v.clearance * (std::pow(r, 1.0 / c.kappa) - 1.0) - v.leakage * (r - 1.0);
    const double d = f - 1.0;
    l *= 1.0 + c.speed.volumetric1 * d + c.speed.volumetric2 * d * d;
    if (f > 0) l -= c.speed.leakage * (r - 1.0) * (1.0 / f - 1.0);
    return l;
}

double IsentropicEfficiency(const CompressorPhysics& c, double r, double f) {
    const IsentropicCurve& e = c.isentropic;
    const double x = std::log(r / e.optimumRatio);
    const double eta = std::max(e.floor, e.peak - e.curvature * x * x);
    const double d = f - 1.0;
    return eta * (1.0 - c.speed.isentropic2 * d * d);
}

double BuiltInRatioLoss(const CompressorPhysics& c, double ps, double pd, double Vdot) {
    const double vi = c.builtInVolumeRatio;
    const double kappa = c.kappa;
    if (!(vi > 0.005) || !(kappa > 0.005)) return 0.0;
    // Triangle of the p-V diagram between the built-in end of compression and the discharge
    // pressure (under- or over-compression), bar m3/s -> kW.
    return (1.0 / vi - std::pow(ps / pd, 1.0 / kappa)) * 50.0 * Vdot * (pd - ps * std::pow(vi, kappa));
}

double ElectricalPower(const CompressorPhysics& c, double shaftPower, double speedRatio) {
    return shaftPower + c.motor.iron * speedRatio + c.motor.copper * shaftPower * shaftPower;
}

double Current(const CompressorPhysics& c, double power) {
    const Electrical& e = c.electrical;
    const double line = e.phases == 1 ? e.voltage : kSqrt3 * e.voltage;
    if (e.drive) return 1000.0 * power / (line * e.drivePowerFactor) + e.standby;
    const double active = 1000.0 * power / line;
    const double reactive = e.magnetising + e.reactiveGrowth * power * power;
    return std::sqrt(active * active + reactive * reactive);
}

PhysicalResult Evaluate(const CompressorPhysics& c, Trefrigerant& ref, const PhysicalState& s) {
    PhysicalResult out;
    ref.ClearErrors();
    const double r = s.pd / s.ps;
    const double f = s.speedRatio;
    out.lambda25 = VolumetricEfficiency25(c, r, f);
    out.lambda = SuctionGasEfficiency(out.lambda25, s.SGT);
    const double Vdot = out.lambda * c.displacement * f;
    const double v = ref.VapourVolume(s.ps, s.SGT);
    out.hSuction = ref.VapourEnthalpy(s.ps, s.SGT);
    if (ref.stickyError || !(v > 0)) return out;
    out.m = Vdot / v;

    // Compression. The gas in the cylinders (or scroll pockets) at the start of compression has
    // been heated to much the same state whatever the temperature it entered with: the work is
    // that of the gas entering at a reference state, 10 K above saturation, so the power input
    // depends on the pressures and the speed, not on the suction gas temperature.
    const double Tref = ref.DewTemperature(s.ps) + kReferenceSuperheat;
    const double vRef = ref.VapourVolume(s.ps, Tref);
    const double hRef = ref.VapourEnthalpy(s.ps, Tref);
    const double mRef = SuctionGasEfficiency(out.lambda25, Tref) * c.displacement * f / vRef;
    // Gas that leaks back past the seals at low speed has been compressed all the same.
    const double leak = f > 0 ? c.speed.leakage * (r - 1.0) * (1.0 / f - 1.0) : 0.0;
    const double mCompressed = mRef + std::max(leak, 0.0) * c.displacement * f / vRef;
    const double Tis = ref.IsentropicTemperature(s.pd, s.ps, s.liquidTemp, Tref);
    const double hIs = ref.VapourEnthalpy(s.pd, Tis);
    out.Pshaft = mCompressed * (hIs - hRef) / IsentropicEfficiency(c, r, f) +
                 BuiltInRatioLoss(c, s.ps, s.pd, Vdot) + c.extraShaftLoss +
                 c.displacement * 3600.0 * f * (c.frictionBase + c.frictionPerBar * (s.pd - s.ps));
    out.Pbase = ElectricalPower(c, out.Pshaft, f);

    // Liquid leaving the condenser or gas cooler.
    const double hCondenserLiquid = s.transcritical ? ref.VapourEnthalpy(s.pd, s.liquidTemp)
                                                    : ref.LiquidEnthalpy(s.pd, s.liquidTemp);
    out.hLiquidIn = hCondenserLiquid;
    out.economiserLiquid = s.liquidTemp;

    double injectionPower = 0;
    if (c.injection.present) {
        const Injection& j = c.injection;
        out.intermediatePressure = std::pow(s.ps, 1.0 - j.portExponent) * std::pow(s.pd, j.portExponent);
        out.intermediateTemp = ref.DewTemperature(out.intermediatePressure);
        const double Teco = out.intermediateTemp + j.approach;
        if (Teco < s.liquidTemp && !s.transcritical) {
            const double hEco = ref.LiquidEnthalpy(s.pd, Teco);
            out.economiserLiquid = Teco;
            out.economiserDuty = out.m * (hCondenserLiquid - hEco);
            const double Tv = out.intermediateTemp + j.vapourSuperheat;
            const double hVapour = ref.VapourEnthalpy(out.intermediatePressure, Tv);
            out.injectionFlow = out.economiserDuty / (hVapour - hCondenserLiquid);
            const double Tvi = ref.IsentropicTemperature(s.pd, out.intermediatePressure, s.liquidTemp, Tv);
            const double dh = ref.VapourEnthalpy(s.pd, Tvi) - hVapour;
            injectionPower = out.injectionFlow * dh / j.efficiency;
            out.hLiquidIn = hEco;
        }
    }

    out.Q = out.m * (out.hSuction - out.hLiquidIn);
    out.P = out.Pbase + injectionPower;
    out.Ibase = Current(c, out.Pbase);
    out.I = Current(c, out.P);
    out.ok = !ref.stickyError && ref.errorCode == Trefrigerant::ErrorNone && std::isfinite(out.Q) &&
             std::isfinite(out.P) && out.m > 0;
    return out;
}

}  // namespace kelvra::catalogue
