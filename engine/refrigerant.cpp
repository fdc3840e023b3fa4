#include "refrigerant.hpp"

#include <cctype>
#include <cmath>
#include <limits>

#include "property_library.hpp"

namespace kelvra {

namespace {

constexpr double kKelvinOffset = 273.15;
constexpr double kPascalPerBar = 1e5;
constexpr double kJoulePerKilojoule = 1000.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kCO2Option = 99;
constexpr double kSaturated = -1.0;  // CO2 library: the saturated state at T

double ToKelvin(double T) {
    return T + kKelvinOffset;
}
double ToCelsius(double T) {
    return T - kKelvinOffset;
}
double ToPascal(double p) {
    return p * kPascalPerBar;
}
double ToBar(double p) {
    return p / kPascalPerBar;
}

const PropertyEntryPoints& Lib() {
    return PropertyEntries();
}

// General library: a critical-point call.
bool CallGeneral(ILK_crit_fn fn, const std::string& fluid, double& out) {
    if (!fn) return false;
    double value = kNaN;
    if (fn(fluid.c_str(), &value) != 0 || !std::isfinite(value)) return false;
    out = value;
    return true;
}

// General library: a saturation call with one argument. False when the entry point is unset,
// the call reports an error or the answer is not a number.
bool CallGeneral(ILK_sat_fn fn, const std::string& fluid, double arg, double& out) {
    if (!fn) return false;
    double value = kNaN;
    if (fn(fluid.c_str(), arg, &value) != 0 || !std::isfinite(value)) return false;
    out = value;
    return true;
}

bool CallGeneral(ILK_state_fn fn, const std::string& fluid, double p, double T, double& out) {
    if (!fn) return false;
    double value = kNaN;
    if (fn(fluid.c_str(), p, T, &value) != 0 || !std::isfinite(value)) return false;
    out = value;
    return true;
}

// CO2 library calls, in library units; NaN on any failure, including an unset entry point.
double CO2SaturationPressure(double TK) {
    const auto fn = Lib().PTVCO2;
    if (!fn) return kNaN;
    double T = TK, v = kSaturated, p = kNaN;
    int option = kCO2Option;
    try {
        fn(&T, &v, &option, &p);
    } catch (...) {
        return kNaN;
    }
    return p;
}

double CO2SaturationTemperature(double pPa) {
    const auto fn = Lib().TPVCO2;
    if (!fn) return kNaN;
    double p = pPa, v = kSaturated, T = kNaN;
    int option = kCO2Option;
    try {
        fn(&p, &v, &option, &T);
    } catch (...) {
        return kNaN;
    }
    return T;
}

double CO2Volume(VPTCO2_fn fn, double pPa, double TK) {
    if (!fn) return kNaN;
    double p = pPa, T = TK;
    int option = kCO2Option;
    try {
        return fn(&p, &T, &option);
    } catch (...) {
        return kNaN;
    }
}

double CO2Caloric(HTVCO2_fn fn, double TK, double volume) {
    if (!fn) return kNaN;
    double T = TK, v = volume;
    int option = kCO2Option;
    try {
        return fn(&T, &v, &option);
    } catch (...) {
        return kNaN;
    }
}

std::string CleanName(std::string_view raw) {
    std::size_t first = 0, last = raw.size();
    while (first < last && std::isspace(static_cast<unsigned char>(raw[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(raw[last - 1]))) --last;
    std::string name(raw.substr(first, last - first));
    if (name.size() > Trefrigerant::MaxNameLength) name.resize(Trefrigerant::MaxNameLength);
    return name;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Cuts UTF-8 text to at most `count` characters without splitting a character.
std::string CutToCharacters(const std::string& text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) {  // first byte of a character
            if (chars == count) return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

enum class SecantEnd { Converged, EqualResiduals, StepLimit, StartFailed };

struct SecantResult {
    SecantEnd end;
    double x;
};

// Secant iteration on residual(x) from the two start values. A residual call that fails
// leaves the iteration with its last good values; the step limit then ends it.
template <class Residual>
SecantResult Secant(double x0, double x1, Residual residual) {
    double f0 = 0, f1 = 0;
    if (!residual(x0, f0)) return {SecantEnd::StartFailed, x0};
    if (!residual(x1, f1)) return {SecantEnd::StepLimit, 0};
    if (std::fabs(f1) < Trefrigerant::InversionTolerance) return {SecantEnd::Converged, x1};
    for (int step = 0; step < Trefrigerant::InversionMaxSteps; ++step) {
        if (f1 == f0) return {SecantEnd::EqualResiduals, x1};
        const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
        double f2 = 0;
        if (!residual(x2, f2)) continue;
        x0 = x1;
        f0 = f1;
        x1 = x2;
        f1 = f2;
        if (std::fabs(f1) < Trefrigerant::InversionTolerance) return {SecantEnd::Converged, x1};
    }
    return {SecantEnd::StepLimit, 0};
}

}  // namespace

Trefrigerant::Trefrigerant(std::string_view rawName, std::int16_t number, char basisLetter,
                           float compressionExponent)
    : name(CleanName(rawName)), id(number), basis(basisLetter), exponent(compressionExponent) {
    isCO2 = id == CO2Id;
    id23 = id == 23;
    Initialise();
    if (basis == 'G') basis = 'D';
}

bool Trefrigerant::Initialise() {
    bool ok = false;
    double pc = kNaN, tc = kNaN, third = kNaN;
    if (isCO2) {
        if (const auto fn = Lib().KRITCO2) {
            double scratch = 0;
            try {
                fn(&pc, &third, &tc, &scratch);
            } catch (...) {
                pc = tc = kNaN;
            }
            ok = std::isfinite(pc) && std::isfinite(tc) && pc > 0 && tc > 0;
        }
    } else {
        ok = CallGeneral(Lib().ILK_pc, name, pc) && CallGeneral(Lib().ILK_tc, name, tc) && pc > 0 &&
             tc > 0;
    }
    if (ok) {
        criticalPressure = ToBar(pc);
        criticalTemperature = ToCelsius(tc);
        if (isCO2) criticalThird = third;
    }
    Record(!ok);
    initialised = ok;
    limitedR410A = EqualsIgnoringCase(name, "R410A");
    r410ALimit = limitedR410A ? R410ALimitTemperature : 0.0;
    return ok;
}

void Trefrigerant::ClearErrors() {
    errorCode = ErrorNone;
    lastError = false;
    stickyError = false;
}

void Trefrigerant::Record(bool failed) {
    lastError = failed;
    stickyError = stickyError || failed;
}

double Trefrigerant::Finish(bool failed, double value) {
    if (!std::isfinite(value)) failed = true;
    Record(failed);
    return failed ? 0.0 : value;
}

// --- saturation -------------------------------------------------------------------------------

double Trefrigerant::DewPressure(double T) {
    if (isCO2) {
        lastError = false;
        if (T > criticalTemperature) return Finish(true, 0);
        if (T < CO2MinTemperature) return Finish(false, CO2MinPressure);
        return Finish(false, ToBar(CO2SaturationPressure(ToKelvin(T))));
    }
    double p = 0;
    const bool ok = CallGeneral(Lib().ILK_p_D, name, ToKelvin(T), p);
    return Finish(!ok, ToBar(p));
}

double Trefrigerant::BubblePressure(double T) {
    if (isCO2) return DewPressure(T);
    double p = 0;
    const bool ok = CallGeneral(Lib().ILK_p_B, name, ToKelvin(T), p);
    return Finish(!ok, ToBar(p));
}

double Trefrigerant::DewTemperature(double p) {
    if (isCO2) {
        lastError = false;
        if (p > criticalPressure) return Finish(true, 0);
        if (p < CO2MinPressure) return Finish(false, CO2MinTemperature);
        return Finish(false, ToCelsius(CO2SaturationTemperature(ToPascal(p))));
    }
    double T = 0;
    const bool ok = CallGeneral(Lib().ILK_t_D, name, ToPascal(p), T);
    return Finish(!ok, ToCelsius(T));
}

double Trefrigerant::BubbleTemperature(double p) {
    if (isCO2) return DewTemperature(p);
    double T = 0;
    const bool ok = CallGeneral(Lib().ILK_t_B, name, ToPascal(p), T);
    return Finish(!ok, ToCelsius(T));
}

// --- single-phase states ----------------------------------------------------------------------

double Trefrigerant::LiquidEnthalpy(double p, double T) {
    if (!isCO2) {
        double h = 0;
        const bool ok = CallGeneral(Lib().ILK_h_L, name, ToKelvin(T), h);
        return Finish(!ok, h / kJoulePerKilojoule);
    }
    lastError = false;
    double v = kSaturated;
    if (p < criticalPressure) {
        const double dew = DewTemperature(p);
        if (lastError) return Finish(true, 0);
        if (!(T > dew - 0.01)) {
            v = CO2Volume(Lib().VLPTCO2, ToPascal(p), ToKelvin(T));
            if (!std::isfinite(v)) return Finish(true, 0);
        }
    }
    // The saturated liquid exists only below the critical temperature. Above it (a gas-cooler
    // outlet, for instance) the state at (p, T) is the one meant.
    if (v == kSaturated && T >= criticalTemperature - 1e-9) {
        v = CO2Volume(Lib().VPTCO2, ToPascal(p), ToKelvin(T));
        if (!std::isfinite(v)) return Finish(true, 0);
    }
    const double h = CO2Caloric(Lib().HTVCO2, ToKelvin(T), v);
    return Finish(false, h / kJoulePerKilojoule);
}

double Trefrigerant::VapourEnthalpy(double p, double T) {
    double h = kNaN;
    if (isCO2) {
        lastError = false;
        const double v = CO2Volume(Lib().VPTCO2, ToPascal(p), ToKelvin(T));
        if (std::isfinite(v)) h = CO2Caloric(Lib().HTVCO2, ToKelvin(T), v);
    } else if (!CallGeneral(Lib().ILK_h_V, name, ToPascal(p), ToKelvin(T), h)) {
        h = kNaN;
    }
    if (!std::isfinite(h)) errorCode = ErrorVapourProperty;
    return Finish(false, h / kJoulePerKilojoule);
}

double Trefrigerant::VapourVolume(double p, double T) {
    double v = kNaN;
    if (isCO2) {
        lastError = false;
        v = CO2Volume(Lib().VPTCO2, ToPascal(p), ToKelvin(T));
    } else if (!CallGeneral(Lib().ILK_V_V, name, ToPascal(p), ToKelvin(T), v)) {
        v = kNaN;
    }
    return Finish(false, v);
}

double Trefrigerant::VapourEntropy(double p, double T) {
    double s = kNaN;
    if (isCO2) {
        lastError = false;
        const double v = CO2Volume(Lib().VPTCO2, ToPascal(p), ToKelvin(T));
        if (std::isfinite(v)) s = CO2Caloric(Lib().STVCO2, ToKelvin(T), v);
    } else if (!CallGeneral(Lib().ILK_s_V, name, ToPascal(p), ToKelvin(T), s)) {
        s = kNaN;
    }
    if (!std::isfinite(s)) errorCode = ErrorVapourProperty;
    return Finish(false, s / kJoulePerKilojoule);
}

// --- names and limits -------------------------------------------------------------------------

std::string Trefrigerant::DisplayName() const {
    std::string text;
    if (basis == 'M')
        text = strMidPoint + " " + name;
    else if (basis == 'D')
        text = name + " " + strDewPoint;
    else
        text = name;
    return CutToCharacters(text, MaxNameLength);
}

bool Trefrigerant::IsAboveR410ALimit(double T) const {
    return limitedR410A && T > r410ALimit;
}

// --- mid-point operations ---------------------------------------------------------------------

double Trefrigerant::MidPointPressure(double T) {
    bool failed = false;
    const double dew = DewPressure(T);
    failed = failed || lastError;
    const double bubble = BubblePressure(T);
    failed = failed || lastError;
    return Finish(failed, (dew + bubble) / 2);
}

double Trefrigerant::MidPointTemperature(double p) {
    bool failed = false;
    const double bubble = BubbleTemperature(p);
    failed = failed || lastError;
    const double dew = DewTemperature(p);
    failed = failed || lastError;
    return Finish(failed, (bubble + dew) / 2);
}

void Trefrigerant::PressuresToMidTemperatures(double subcooling, double condPressure,
                                              double evapPressure, double& condMidTemp,
                                              double& evapMidTemp) {
    bool failed = false;
    auto take = [&](double value) {
        failed = failed || lastError;
        return value;
    };
    const double condBubble = take(BubbleTemperature(condPressure));
    const double condDew = take(DewTemperature(condPressure));
    const double hIn = take(LiquidEnthalpy(condPressure, condBubble - subcooling));
    const double Td = take(DewTemperature(evapPressure));
    const double Tb = take(BubbleTemperature(evapPressure));
    const double hl = take(LiquidEnthalpy(evapPressure, Tb));
    const double hv = take(VapourEnthalpy(evapPressure, Td));
    // Temperature at the mean of the evaporator inlet and outlet enthalpies, taking the
    // temperature as linear in enthalpy across the two-phase region.
    const double span = (hIn - hl) + (hv - hIn);
    if (span == 0) failed = true;
    const double evapMid = failed ? 0.0 : Tb + (Td - Tb) * ((hIn - hl) + (hv - hIn) / 2) / span;
    condMidTemp = Finish(failed, (condBubble + condDew) / 2);
    evapMidTemp = failed ? 0.0 : evapMid;
}

void Trefrigerant::MidTemperaturesToPressures(double subcooling, double condMidTemp,
                                              double evapMidTemp, double& condPressure,
                                              double& evapPressure) {
    bool failed = false;
    auto take = [&](double value) {
        failed = failed || lastError;
        return value;
    };
    const double pc = take(MidPointPressure(condMidTemp));
    const double hIn = take(LiquidEnthalpy(pc, take(BubbleTemperature(pc)) - subcooling));
    const double g = take(DewPressure(evapMidTemp));
    const double b = take(BubblePressure(evapMidTemp));
    const double hl = take(LiquidEnthalpy(b, take(BubbleTemperature(g))));
    const double hv = take(VapourEnthalpy(g, evapMidTemp));
    if (hv - hl == 0) failed = true;
    const double pe = failed ? 0.0 : g + (b - g) * ((hv - hIn) / 2) / (hv - hl);
    condPressure = Finish(failed, pc);
    evapPressure = failed ? 0.0 : pe;
}

// --- inversions -------------------------------------------------------------------------------

double Trefrigerant::IsentropicTemperatureImpl(double dischargePressure, double suctionPressure,
                                               double startTemp, double suctionTemp,
                                               double& entropy, bool& converged) {
    converged = false;
    entropy = 0;
    const double target = VapourEntropy(suctionPressure, suctionTemp);
    if (lastError) return 0;

    double T0 = startTemp;
    if (!(isCO2 && dischargePressure >= criticalPressure)) {
        T0 = DewTemperature(dischargePressure);
        if (lastError) return startTemp;
    }
    double reached = 0;
    auto residual = [&](double T, double& f) {
        const double s = VapourEntropy(dischargePressure, T);
        if (lastError) return false;
        reached = s;
        f = s - target;
        return true;
    };
    const SecantResult r = Secant(T0, T0 + 0.1, residual);
    switch (r.end) {
        case SecantEnd::Converged:
            lastError = false;
            converged = true;
            entropy = reached;
            return r.x;
        case SecantEnd::StartFailed:
            Record(true);
            return r.x;
        case SecantEnd::EqualResiduals:
            Record(true);
            entropy = reached;
            return r.x;
        case SecantEnd::StepLimit:
            break;
    }
    errorCode = ErrorNotConverged;
    Record(true);
    return 0;
}

double Trefrigerant::IsentropicTemperature(double dischargePressure, double suctionPressure,
                                           double startTemp, double suctionTemp, double& entropy) {
    bool converged = false;
    return IsentropicTemperatureImpl(dischargePressure, suctionPressure, startTemp, suctionTemp,
                                     entropy, converged);
}

double Trefrigerant::IsentropicTemperature(double dischargePressure, double suctionPressure,
                                           double startTemp, double suctionTemp) {
    double entropy = 0;
    return IsentropicTemperature(dischargePressure, suctionPressure, startTemp, suctionTemp,
                                 entropy);
}

double Trefrigerant::VapourTemperatureFromEnthalpy(double h, double startTemp, double p) {
    double T0 = startTemp;
    if (!(isCO2 && p >= criticalPressure)) {
        T0 = DewTemperature(p);
        if (lastError) return startTemp;
    }
    auto residual = [&](double T, double& f) {
        const double value = VapourEnthalpy(p, T);
        if (lastError) return false;
        f = value - h;
        return true;
    };
    const SecantResult r = Secant(T0, T0 + 0.1, residual);
    switch (r.end) {
        case SecantEnd::Converged:
            lastError = false;
            return r.x;
        case SecantEnd::StartFailed:
        case SecantEnd::EqualResiduals:
            Record(true);
            return r.x;
        case SecantEnd::StepLimit:
            break;
    }
    errorCode = ErrorNotConverged;
    Record(true);
    return 0;
}

double Trefrigerant::LiquidTemperatureFromEnthalpy(double h, double p) {
    const double T0 = BubbleTemperature(p);
    if (lastError) return 0;
    auto residual = [&](double T, double& f) {
        const double value = LiquidEnthalpy(p, T);
        if (lastError) return false;
        f = value - h;
        return true;
    };
    const SecantResult r = Secant(T0, T0 - 0.1, residual);
    switch (r.end) {
        case SecantEnd::Converged:
            lastError = false;
            return r.x;
        case SecantEnd::StartFailed:
        case SecantEnd::EqualResiduals:
            Record(true);
            return r.x;
        case SecantEnd::StepLimit:
            break;
    }
    errorCode = ErrorNotConverged;
    Record(true);
    return 0;
}

double Trefrigerant::IsentropicPower(double massFlow, double dischargePressure,
                                     double suctionPressure, double startTemp, double suctionTemp) {
    double entropy = 0;
    bool converged = false;
    const double Tis = IsentropicTemperatureImpl(dischargePressure, suctionPressure, startTemp,
                                                 suctionTemp, entropy, converged);
    // Without an isentropic discharge state there is no isentropic power.
    if (!converged) return Finish(true, 0);
    bool failed = false;
    const double hd = VapourEnthalpy(dischargePressure, Tis);
    failed = failed || lastError;
    const double hs = VapourEnthalpy(suctionPressure, suctionTemp);
    failed = failed || lastError;
    return Finish(failed, massFlow * (hd - hs));
}

}  // namespace kelvra
