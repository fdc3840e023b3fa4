#include "orda_physics.hpp"

#include <algorithm>
#include <cmath>

namespace kelvra::catalogue {

namespace {

constexpr double kKelvin = 273.15;
constexpr double kUniversalGas = 8314.462;  // J/(kmol K)

bool LiquidLine(char type) {
    return type == 'T' || type == 'E' || type == 'S' || type == 'P' || type == 'Q';
}

// Evaporating pressure and the dew temperature the evaporating vapour leaves at, for an
// evaporating temperature on the refrigerant's basis and a liquid (bubble) reference.
struct Sides {
    double pe = 0, teDew = 0;
    bool ok = false;
};

Sides Evaporating(Trefrigerant& ref, double te) {
    Sides s;
    ref.ClearErrors();
    s.pe = ref.DewPressure(te);
    s.teDew = te;
    s.ok = !ref.stickyError && s.pe > 0;
    return s;
}

// Refrigerating effect of liquid at tl evaporating at te (dew).
double Effect(Trefrigerant& ref, double pe, double teDew, double pc, double tl) {
    return ref.VapourEnthalpy(pe, teDew + 0.01) - ref.LiquidEnthalpy(pc, tl);
}

double VapourDensity(Trefrigerant& ref, double p, double T) {
    const double v = ref.VapourVolume(p, T + 0.01);
    return v > 0 ? 1.0 / v : 0.0;
}

// Capacity (kW) through flow area A (mm2) of liquid at tl, pressure drop dp (bar), evaporating
// at te.
double LiquidCapacity(const RefrigerantDef& def, Trefrigerant& ref, double area, double te, double tl, double dp) {
    const Sides e = Evaporating(ref, te);
    if (!e.ok || !(dp > 0)) return 0;
    const double pc = ref.BubblePressure(tl);
    const double rho = LiquidDensity(def, ref, tl);
    const double m = kOrificeDischargeCoefficient * area * 1e-6 * std::sqrt(2.0 * rho * dp * 1e5);
    const double q = m * Effect(ref, e.pe, e.teDew, pc, tl);
    return ref.stickyError || !(q > 0) ? 0.0 : q;
}

// Capacity (kW) through flow area A (mm2) of vapour evaporated at te from liquid at tl, at
// pressure drop dp (bar) on the suction side.
double SuctionCapacity(Trefrigerant& ref, double area, double te, double tl, double dp) {
    const Sides e = Evaporating(ref, te);
    if (!e.ok || !(dp > 0)) return 0;
    const double pc = ref.BubblePressure(tl);
    const double rho = VapourDensity(ref, e.pe, e.teDew);
    const double m = kOrificeDischargeCoefficient * area * 1e-6 * std::sqrt(2.0 * rho * dp * 1e5);
    const double q = m * Effect(ref, e.pe, e.teDew, pc, tl);
    return ref.stickyError || !(q > 0) ? 0.0 : q;
}

// One kelvin of saturation temperature as a pressure drop at t.
double OneKelvinDrop(Trefrigerant& ref, double t) {
    ref.ClearErrors();
    const double d = ref.DewPressure(t + 1.0) - ref.DewPressure(t);
    return ref.stickyError ? 0.0 : d;
}

// Capacity of a unit flow area at (te, y): the grid quantity of each component type; y is the
// liquid temperature (liquid-line types) or the condensing temperature.
double UnitCapacity(char type, const RefrigerantDef& def, Trefrigerant& ref, const NominalPoint& n, double te,
                    double y) {
    switch (type) {
        case 'T':
        case 'E':
            return LiquidCapacity(def, ref, 1.0, te, y, n.pc - n.pe);
        case 'S':
            return LiquidCapacity(def, ref, 1.0, te, y, kSolenoidDrop);
        case 'P':
            return LiquidCapacity(def, ref, 1.0, te, y, kHeadPressureLow);
        case 'Q':
            return LiquidCapacity(def, ref, 1.0, te, y, kProtectorDrop);
        case 'R':
            return SuctionCapacity(ref, 1.0, te, y - 1.0, kRegulatorDrop);
        case 'W':
        case 'Z':
        case 'U':
            return SuctionCapacity(ref, 1.0, te, y - 1.0, OneKelvinDrop(ref, te));
        case 'Y': {
            // Discharge line: hot gas at the condensing pressure, one kelvin of drop there.
            ref.ClearErrors();
            const double pc = ref.DewPressure(y);
            const double rho = VapourDensity(ref, pc, y + 25.0);
            const double m = kOrificeDischargeCoefficient * 1e-6 * std::sqrt(2.0 * rho * OneKelvinDrop(ref, y) * 1e5);
            const Sides e = Evaporating(ref, te);
            const double q = m * Effect(ref, e.pe, e.teDew, pc, y - 1.0);
            return ref.stickyError || !(q > 0) ? 0.0 : q;
        }
        default:
            return 0;
    }
}

}  // namespace

double LiquidDensity(const RefrigerantDef& def, const Trefrigerant& ref, double T) {
    const double Tc = ref.criticalTemperature + kKelvin;
    const double pc = ref.criticalPressure * 1e5;
    const double Zc = pc * def.molarMass / (def.criticalDensity * kUniversalGas * Tc);
    const double Tr = std::min((T + kKelvin) / Tc, 0.999);
    return def.criticalDensity * std::pow(Zc, -std::pow(1.0 - Tr, 2.0 / 7.0));
}

NominalPoint OrdaNominalPoint(const RefrigerantDef& def, Trefrigerant& ref) {
    NominalPoint n;
    n.tc = def.name == "R407C" ? 43.0 : 38.0;
    ref.ClearErrors();
    if (ref.basis == 'M') {
        ref.MidTemperaturesToPressures(1.0, n.tc, n.te, n.pc, n.pe);
    } else {
        n.pe = ref.DewPressure(n.te);
        n.pc = ref.DewPressure(n.tc);
    }
    n.liquid = (ref.basis == 'N' ? n.tc : ref.BubbleTemperature(n.pc)) - 1.0;
    return n;
}

CorrectionTable BuildCorrectionTable(char type, const RefrigerantDef& def, Trefrigerant& ref) {
    CorrectionTable t;
    t.type = type;
    const NominalPoint n = OrdaNominalPoint(def, ref);
    const bool liquidLine = LiquidLine(type);
    const bool firstRowOnly = type == 'Z' || type == 'U';
    // Evaporating temperatures on a 5 K grid that holds the nominal 4 degC.
    t.x0 = -46.0;
    const int columns = firstRowOnly ? 11 : 13;  // up to +4 degC, else up to +14 degC
    int rowCount = 0;
    if (firstRowOnly) {
        t.y0 = n.tc;
        rowCount = 1;
    } else if (liquidLine) {
        t.y0 = -10.0;  // liquid temperatures -10 .. 60 degC
        rowCount = 15;
    } else {
        t.y0 = 20.0;  // condensing temperatures 20 .. 60 degC
        rowCount = 9;
    }
    const double nominalY = liquidLine ? n.liquid : n.tc;
    const double qNominal = UnitCapacity(type, def, ref, n, n.te, nominalY);
    for (int i = 0; i < rowCount; ++i) {
        std::array<double, 30> row{};
        const double y = firstRowOnly ? n.tc : t.y0 + 5.0 * i;
        for (int j = 0; j < columns; ++j) {
            const double te = t.x0 + 5.0 * j;
            // No flow to rate where the liquid is barely warmer than the evaporator, or (liquid
            // line) where the liquid would not reach the valve above its bubble pressure.
            const double warmest = liquidLine ? y - 5.0 : y - 10.0;
            if (te > warmest || te >= ref.criticalTemperature - 5.0 || y >= ref.criticalTemperature - 3.0) continue;
            const double q = UnitCapacity(type, def, ref, n, te, y);
            if (q > 0) row[static_cast<std::size_t>(j)] = std::round(qNominal / q * 10000.0) / 10000.0;
        }
        t.rows.push_back(row);
    }
    return t;
}

ValveRating RateValve(const OrdaValveDef& valve, const RefrigerantDef& def, Trefrigerant& ref) {
    const NominalPoint n = OrdaNominalPoint(def, ref);
    ValveRating r;
    const double y = LiquidLine(valve.type) ? n.liquid : n.tc;
    r.nominal = valve.orificeArea * UnitCapacity(valve.type, def, ref, n, n.te, y);
    switch (valve.type) {
        case 'T':
        case 'E':
            r.second = n.pc - n.pe;  // nominal pressure difference
            break;
        case 'P':
            r.second = r.nominal * std::sqrt(kHeadPressureHigh / kHeadPressureLow);  // at 0.14 bar
            break;
        case 'Q':
            r.second = kProtectorDrop;
            break;
        case 'U':
            r.second = valve.secondValue;
            break;
        default:
            r.second = 0;
            break;
    }
    r.nominal = std::round(r.nominal * 1000.0) / 1000.0;
    r.second = std::round(r.second * 10000.0) / 10000.0;
    return r;
}

}  // namespace kelvra::catalogue
