#include "rating_generator.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <stdexcept>

#include "envelope.hpp"
#include "least_squares.hpp"
#include "rating_fit.hpp"

namespace kelvra::catalogue {

namespace {

constexpr double kKelvin = 273.15;
constexpr double kBtuPerKW = 3412.14;
constexpr double kPoundPerHourInKgPerSecond = 0.000126;
constexpr double kSqrt3 = 1.732050808;
constexpr double kRatingGasCooler = 35.0;  // degC: the gas-cooler outlet of CO2 rating points
constexpr int kInverterRpmPerHz = 30;     // four-pole motor: 1500 rpm at 50 Hz

std::string Name(const RatingTarget& t) {
    static const char* kSteps[] = {"", " (load step B)", " (load step C)"};
    return fmt::format("{} {} on {}{}", t.model->name, t.refrigerantDef->name, t.supply->name, kSteps[t.step]);
}

[[noreturn]] void Refuse(const RatingTarget& t, const std::string& problem) {
    throw SourceError(t.model->where.file, t.model->where.path, fmt::format("{}: {}", Name(t), problem));
}

bool FixedSpeedEnvelope(const EnvelopeDef& e) {
    return e.left.size() >= 2 && e.right.size() >= 2;
}

// An envelope of engine objects for the inside test.
class Region {
  public:
    void Add(const std::vector<Point2>& left, const std::vector<Point2>& right) {
        auto& env = envelopes_.emplace_back();
        for (const Point2& p : left) env.AddPoint(&Make(p, true));
        for (const Point2& p : right) env.AddPoint(&Make(p, false));
    }
    bool Inside(double x, double y) const {
        for (const auto& e : envelopes_)
            if (e.InsideTest('N', x, y) == envelope_code::Inside) return true;
        return false;
    }

  private:
    const TenvPoint& Make(const Point2& p, bool left) {
        TenvPoint& q = points_.emplace_back();
        q.x = static_cast<float>(p.x);
        q.y = static_cast<float>(p.y);
        q.minimumSide = left;
        return q;
    }
    std::deque<TenvPoint> points_;
    std::deque<Tenvelope> envelopes_;
};

double CapacityUnit(RatingUnits u) {
    switch (u) {
        case RatingUnits::FahrenheitBtu:
            return kBtuPerKW;
        case RatingUnits::CelsiusW:
            return 1000.0;
        default:
            return 1.0;
    }
}

double PowerUnit(RatingUnits u) {
    return u == RatingUnits::CelsiusKW ? 1.0 : 1000.0;
}

double Fahrenheit(double t) {
    return t * 1.8 + 32.0;
}

// What the rating models need of one point.
struct Sample {
    double x = 0, y = 0, speed = 0;  // envelope point; speed in rpm (0 fixed speed)
    BasisState state;
    double SGTr = 0;
    PhysicalResult phys;
    PhysicalResult base;  // the same point at the nominal speed (inverter fits)
    double Qplain = 0;    // capacity with the condenser's liquid (kW)
};

// Ten-coefficient fit of values over (S, D); relative deviations unless `absolute`.
PolynomialFit Fit10(const std::vector<double>& S, const std::vector<double>& D,
                    const std::vector<double>& v, bool absolute = false) {
    std::vector<RatingPoint> pts(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) pts[i] = {S[i], D[i], v[i]};
    return absolute ? FitEn12900(pts) : FitEn12900Relative(pts);
}

PolynomialFit FitAbsolute(const std::vector<Sample>& s, const std::vector<double>& v) {
    std::vector<double> design;
    for (const Sample& p : s) {
        const auto t = AbsoluteTemperatureTerms(p.state.tcMid + kKelvin, p.state.teRate + kKelvin, p.state.pd,
                                                p.state.ps);
        design.insert(design.end(), t.begin(), t.end());
    }
    const TermFit f = FitTerms(9, design, v, true);
    PolynomialFit out;
    out.ok = f.ok;
    if (f.ok) std::copy(f.c.begin(), f.c.end(), out.c.begin());
    out.worst_abs = f.worst_abs;
    out.worst_relative = f.worst_relative;
    return out;
}

void Require(const RatingTarget& t, bool ok, const char* what) {
    if (!ok) Refuse(t, fmt::format("the {} fit failed", what));
}

}  // namespace

double CompressionExponent(const RefrigerantDef& def, Trefrigerant& ref) {
    if (def.exponent) return *def.exponent;
    ref.ClearErrors();
    const double te = -10.0;
    const double ps = ref.DewPressure(te);
    const double pd = ref.isCO2 ? 90.0 : ref.DewPressure(40.0);
    const double SGT = te + 10.0;
    const double v1 = ref.VapourVolume(ps, SGT);
    const double Tis = ref.IsentropicTemperature(pd, ps, 60.0, SGT);
    const double v2 = ref.VapourVolume(pd, Tis);
    if (ref.stickyError || !(v1 > v2) || !(v2 > 0)) return 1.15;
    const double kappa = std::log(pd / ps) / std::log(v1 / v2);
    return std::round(kappa * 1000.0) / 1000.0;
}

double RatedSuctionGas(const RatingDef& r, const BasisState& s) {
    return r.ratedAtSuperheat ? s.teDew + r.ratedSuction : r.ratedSuction;
}

BasisState PointState(const RatingTarget& t, double x, double y, double E) {
    const RatingDef& r = t.family->rating;
    const BasisOptions o{r.dewData, r.units == RatingUnits::FahrenheitBtu, r.ratedSubcooling};
    Trefrigerant& ref = *t.refrigerant;
    if (t.envelope->pressureAxis) {
        if (y > ref.criticalPressure) return StateAt(ref, x, 0.0, E, o, y);
        ref.ClearErrors();
        const double tc = ref.DewTemperature(y);
        return StateAt(ref, x, tc, E, o);
    }
    return StateAt(ref, x, y, E, o);
}

CompressorPhysics BuildPhysics(const RatingTarget& t) {
    const CompressorFamilyDef& f = *t.family;
    const PhysicsDef& d = f.physics;
    Trefrigerant& ref = *t.refrigerant;
    CompressorPhysics c;
    const bool speedControlled = d.speed || d.inverter;
    const double frequencyRatio = speedControlled ? 1.0 : t.supply->hertz / 50.0;
    c.displacement = t.model->displacement / 3600.0 * frequencyRatio;
    c.kappa = static_cast<float>(CompressionExponent(*t.refrigerantDef, ref));
    c.volumetric = d.volumetric;
    c.isentropic = d.isentropic;
    if (d.sizeReference > 0)
        c.isentropic.peak = std::min(1.0, c.isentropic.peak * std::pow(t.model->displacement / d.sizeReference, d.sizeExponent));
    c.builtInVolumeRatio = d.builtInVolumeRatio;
    c.frictionBase = d.frictionBase;
    c.frictionPerBar = d.frictionPerBar;
    if (d.injection) c.injection = *d.injection;
    if (d.speed) {
        c.speed.volumetric1 = d.speed->volumetric1;
        c.speed.volumetric2 = d.speed->volumetric2;
        c.speed.leakage = d.speed->leakage;
        c.speed.isentropic2 = d.speed->isentropic2;
    }
    if (d.inverter) {
        c.speed.volumetric1 = d.inverter->volumetric1;
        c.speed.volumetric2 = d.inverter->volumetric2;
        c.speed.isentropic2 = d.inverter->isentropic2;
    }
    c.electrical.voltage = t.supply->voltage;
    c.electrical.phases = t.supply->phases;
    c.electrical.drive = d.current.drive;
    c.electrical.drivePowerFactor = d.current.drivePowerFactor;
    c.electrical.standby = d.current.standby;

    // The motor is sized on the full-load compressor at its rating point.
    const RatingDef& r = f.rating;
    const BasisState s = PointState(t, d.motor.ratingTe, d.motor.ratingTc, r.ratedSubcooling);
    if (!s.ok) Refuse(t, "the motor's rating point has no saturation state");
    PhysicalState at{s.ps, s.pd, RatedSuctionGas(r, s), s.transcritical ? kRatingGasCooler : s.tBub - r.ratedSubcooling,
                     s.transcritical, 1.0};
    const PhysicalResult full = Evaluate(c, ref, at);
    if (!full.ok || !(full.Pshaft > 0)) Refuse(t, "the motor's rating point cannot be computed");
    const double loss = full.Pshaft * (1.0 / d.motor.efficiency - 1.0);
    c.motor.iron = d.motor.ironShare * loss;
    c.motor.copper = (1.0 - d.motor.ironShare) * loss / (full.Pshaft * full.Pshaft);
    const double Pel = ElectricalPower(c, full.Pshaft);
    const double line = c.electrical.phases == 1 ? c.electrical.voltage : kSqrt3 * c.electrical.voltage;
    c.electrical.magnetising = d.current.magnetisingShare * 1000.0 * Pel / line;
    c.electrical.reactiveGrowth = d.current.reactiveGrowth * c.electrical.magnetising / (Pel * Pel);

    if (t.step > 0) {
        const LoadStepDef& step = d.loadSteps.at(static_cast<std::size_t>(t.step - 1));
        c.displacement *= step.share;
        c.extraShaftLoss = step.idleLoss * full.Pshaft;
    }
    return c;
}

OperatingConditions ConditionsAt(const RatingTarget& t, double x, double y, double superheat, double subcooling,
                                 double gasCooler) {
    OperatingConditions c;
    c.evapTemp = x;
    c.useSGR = false;
    c.superheat = superheat;
    c.usefulSuperheat = superheat;
    c.subcooling = subcooling;
    c.gasCoolerOutletTemp = gasCooler;
    Trefrigerant& ref = *t.refrigerant;
    if (t.envelope->pressureAxis) {
        c.condByPressure = 1;
        c.condPressure = y;
        c.condTemp = y > ref.criticalPressure ? gasCooler : ref.DewTemperature(y);
    } else {
        c.condTemp = y;
    }
    Resolve(c, &ref);
    return c;
}

PhysicalResult PhysicalAt(const RatingTarget& t, const CompressorPhysics& physics, const OperatingConditions& c,
                          double speedRatio) {
    Trefrigerant& ref = *t.refrigerant;
    const BasisOptions o{false, false, c.compSubcooling};
    const bool tc = ref.isCO2 && c.condPressure > ref.criticalPressure;
    const BasisState s = tc ? StateAt(ref, c.satSuctionTemp, 0.0, c.compSubcooling, o, c.condPressure)
                            : StateAt(ref, c.satSuctionTemp, c.satDischargeTemp, c.compSubcooling, o);
    const double SGT = c.useSGR ? c.suctionGasReturn : s.teDew + c.superheat;
    const double liquid = tc ? c.gasCoolerOutletTemp : s.tBub - c.compSubcooling;
    return Evaluate(physics, ref, {s.ps, s.pd, SGT, liquid, tc, speedRatio});
}

std::vector<Point2> FitPoints(const EnvelopeSetDef& set, double step, int speed) {
    Region region;
    std::vector<Point2> corners;
    const auto addEnvelope = [&](const std::vector<Point2>& l, const std::vector<Point2>& r) {
        region.Add(l, r);
        corners.insert(corners.end(), l.begin(), l.end());
        corners.insert(corners.end(), r.begin(), r.end());
    };
    const SpeedLevelDef* level = nullptr;
    if (speed != 0)
        for (const auto& l : set.speedLevels)
            if (l.speed == speed) level = &l;
    if (level) {
        addEnvelope(level->left, level->right);
    } else {
        for (const auto& e : set.envelopes)
            if (FixedSpeedEnvelope(e) && !AllowsNoOperation(e.typeKind)) addEnvelope(e.left, e.right);
    }
    double xMin = 1e9, xMax = -1e9, yMin = 1e9, yMax = -1e9;
    for (const Point2& p : corners) {
        xMin = std::min(xMin, p.x);
        xMax = std::max(xMax, p.x);
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
    }
    std::vector<Point2> out;
    for (double x = std::ceil(xMin / step) * step; x <= xMax + 1e-9; x += step)
        for (double y = std::ceil(yMin / step) * step; y <= yMax + 1e-9; y += step)
            if (region.Inside(x, y)) out.push_back({x, y});
    for (const Point2& p : corners) {
        const bool known = std::any_of(out.begin(), out.end(), [&](const Point2& q) {
            return std::fabs(q.x - p.x) < 1e-6 && std::fabs(q.y - p.y) < 1e-6;
        });
        if (!known) out.push_back(p);
    }
    return out;
}

GeneratedSet GenerateRatingSet(const RatingTarget& t, std::uint16_t index) {
    const CompressorFamilyDef& fam = *t.family;
    const RatingDef& r = fam.rating;
    const PhysicsDef& pd = fam.physics;
    Trefrigerant& ref = *t.refrigerant;
    GeneratedSet out{RatingSetBuilder(index), {}, BuildPhysics(t), 0, 0};
    const CompressorPhysics& physics = out.physics;
    const int kind = r.kind;
    const bool injection = kind == 3 || kind == 4 || kind >= 10;
    const bool speedPoly = pd.speed.has_value() && t.step == 0;
    const bool inverter = pd.inverter.has_value() && t.step == 0;
    const bool fahrenheit = r.units == RatingUnits::FahrenheitBtu;
    const double capUnit = CapacityUnit(r.units);
    const double powUnit = PowerUnit(r.units);

    // --- the points and their physical performance at the rated state ---
    std::vector<double> speeds{0.0};
    int nominal = 0;
    if (speedPoly) {
        nominal = pd.speed->nominal;
        speeds.assign(pd.speed->fitSpeeds.begin(), pd.speed->fitSpeeds.end());
    } else if (inverter) {
        nominal = 50 * kInverterRpmPerHz;
        speeds.clear();
        for (double hz : pd.inverter->frequencies) speeds.push_back(hz * kInverterRpmPerHz);
    }
    const auto levelFor = [&](double n) -> int {
        if (n == 0 || t.envelope->speedLevels.empty()) return 0;
        if (n >= t.envelope->baseSpeed && n <= nominal) return 0;
        for (const auto& l : t.envelope->speedLevels)
            if (l.speed == static_cast<int>(n)) return l.speed;
        return 0;
    };
    std::vector<Sample> samples;
    for (double n : speeds) {
        const double f = n == 0 ? 1.0 : n / nominal;
        for (const Point2& p : FitPoints(*t.envelope, r.grid, levelFor(n))) {
            Sample s;
            s.x = p.x;
            s.y = p.y;
            s.speed = n;
            s.state = PointState(t, p.x, p.y, r.ratedSubcooling);
            if (!s.state.ok) Refuse(t, fmt::format("no saturation state at envelope point ({}, {})", p.x, p.y));
            s.SGTr = RatedSuctionGas(r, s.state);
            const double liquid = s.state.transcritical ? kRatingGasCooler : s.state.tBub - r.ratedSubcooling;
            const PhysicalState at{s.state.ps, s.state.pd, s.SGTr, liquid, s.state.transcritical, f};
            s.phys = Evaluate(physics, ref, at);
            if (!s.phys.ok) Refuse(t, fmt::format("the compressor cannot be computed at ({}, {})", p.x, p.y));
            if (injection && !(s.phys.economiserDuty > 0))
                Refuse(t, fmt::format("at ({}, {}) the economiser has nothing to do: its envelope reaches too low a "
                                      "pressure lift", p.x, p.y));
            if (inverter) {
                PhysicalState base = at;
                base.speedRatio = 1.0;
                s.base = f == 1.0 ? s.phys : Evaluate(physics, ref, base);
            }
            s.Qplain = s.phys.m * (s.phys.hSuction - (s.state.transcritical
                                                         ? ref.VapourEnthalpy(s.state.pd, kRatingGasCooler)
                                                         : ref.LiquidEnthalpy(s.state.pd, liquid)));
            out.maxPower = std::max(out.maxPower, s.phys.P);
            out.maxCurrent = std::max(out.maxCurrent, s.phys.I);
            samples.push_back(s);
        }
    }
    if (samples.size() < 12) Refuse(t, "its envelope gives fewer than twelve points to fit");
    out.report.points = static_cast<int>(samples.size());

    // Points at the nominal speed (all of them for fixed speed).
    std::vector<Sample> nominalSamples;
    for (const Sample& s : samples)
        if (s.speed == 0 || s.speed == nominal) nominalSamples.push_back(s);
    if (nominalSamples.size() < 12) Refuse(t, "fit at the nominal speed too (list it among the fit speeds)");

    std::vector<double> S, D, Q, P, I, H, teF, tcF;
    for (const Sample& s : nominalSamples) {
        S.push_back(s.state.tePoly);
        D.push_back(s.state.tcPoly);
        const bool economised = kind == 3 || kind == 4;
        Q.push_back((economised ? s.phys.Q : s.Qplain) * capUnit);
        P.push_back((kind >= 10 ? s.phys.Pbase : s.phys.P) * powUnit);
        I.push_back(kind >= 10 ? s.phys.Ibase : s.phys.I);
        H.push_back(s.phys.intermediateTemp);
        teF.push_back(Fahrenheit(s.state.teDew));
        tcF.push_back(Fahrenheit(s.state.tcDew));
    }

    RatingSetBuilder& b = out.builder;
    FitReport& rep = out.report;
    b.Kind(kind)
        .Displacement(physics.displacement)
        .TechnologyCode(r.technologyCode)
        .OptionWord(static_cast<std::uint16_t>(r.optionWord))
        .MaxDischargeTemp(r.maxDischargeTemp)
        .VolumetricEfficiencyScale(1.0f)
        .RatedSubcooling(static_cast<float>(r.ratedSubcooling));
    if (r.ratedAtSuperheat)
        b.RatedSuperheat(static_cast<float>(r.ratedSuction));
    else
        b.RatedSuctionGasTemp(static_cast<float>(r.ratedSuction));
    std::uint16_t optionBits = 0;
    if (t.supply->hertz == 50) optionBits |= 2u;
    if (ref.basis == 'D') optionBits |= 4u;  // envelope drawn in dew temperatures
    b.OptionBits(optionBits);
    if (physics.builtInVolumeRatio > 0) b.BuiltInVolumeRatio(static_cast<float>(physics.builtInVolumeRatio));
    if (kind >= 10) b.InjectionPowerFactor(1.0 / physics.injection.efficiency);

    std::uint16_t flags = 0;
    if (fahrenheit) flags |= 1u;
    if (r.units == RatingUnits::CelsiusW) flags |= 2u;
    if (r.dewData) flags |= 4u;
    const std::uint16_t powerUnitWord = powUnit == 1.0 ? 0 : 1;

    switch (kind) {
        case 2:
        case 3:
        case 4:
        case 12: {
            b.DataFlags(flags).PowerUnit(powerUnitWord);
            if (speedPoly) {
                std::vector<SpeedRatingPoint> qp, pp;
                for (const Sample& s : samples) {
                    qp.push_back({s.state.tePoly, s.state.tcPoly, s.speed, s.Qplain * capUnit});
                    pp.push_back({s.state.tePoly, s.state.tcPoly, s.speed, s.phys.P * powUnit});
                }
                const SpeedPolynomialFit qf = FitWithSpeedPolynomial(qp);
                const SpeedPolynomialFit pf = FitWithSpeedPolynomial(pp);
                Require(t, qf.ok && pf.ok, "speed polynomial");
                b.Coefficients(CoefficientBlock::A, qf.polynomial).Coefficients(CoefficientBlock::B, pf.polynomial);
                std::array<double, 40> v{};
                std::copy(qf.speed.begin(), qf.speed.end(), v.begin());
                std::copy(pf.speed.begin(), pf.speed.end(), v.begin() + 10);
                b.SpeedPolynomials(v).NominalSpeed(static_cast<std::uint16_t>(nominal));
                rep.capacity = qf.worst_relative;
                rep.power = pf.worst_relative;
            } else {
                const PolynomialFit qf = Fit10(S, D, Q);
                const PolynomialFit pf = Fit10(S, D, P);
                Require(t, qf.ok && pf.ok, "capacity and power");
                b.Coefficients(CoefficientBlock::A, qf.c).Coefficients(CoefficientBlock::B, pf.c);
                rep.capacity = qf.worst_relative;
                rep.power = pf.worst_relative;
            }
            if (!inverter) {
                const PolynomialFit cf = Fit10(S, D, I);
                Require(t, cf.ok, "current");
                b.Coefficients(CoefficientBlock::C, cf.c);
                rep.current = cf.worst_relative;
            }
            if (kind == 3) {
                std::vector<double> h = H;
                if (fahrenheit)
                    for (double& v : h) v = Fahrenheit(v);
                const PolynomialFit df = Fit10(S, D, h, true);
                Require(t, df.ok, "intermediate temperature");
                b.Coefficients(CoefficientBlock::D, df.c);
                rep.intermediateK = df.worst_abs / (fahrenheit ? 1.8 : 1.0);
            } else if (kind == 4) {
                const double unit = r.massFlowUnit == 1 ? 1.0 / kPoundPerHourInKgPerSecond : r.massFlowUnit == 2 ? 1000.0 : 1.0;
                std::vector<double> m;
                for (const Sample& s : nominalSamples) m.push_back(s.phys.m * unit);
                const PolynomialFit df = Fit10(S, D, m);
                Require(t, df.ok, "mass flow");
                b.Coefficients(CoefficientBlock::D, df.c).MassFlowUnit(static_cast<std::uint16_t>(r.massFlowUnit));
                rep.intermediateK = df.worst_relative;
                rep.capacity = std::max(rep.capacity, df.worst_relative);
            } else if (kind == 12) {
                std::vector<double> h;
                for (double v : H) h.push_back(Fahrenheit(v));
                const PolynomialFit df = Fit10(teF, tcF, h, true);
                Require(t, df.ok, "intermediate temperature");
                b.Coefficients(CoefficientBlock::D, df.c);
                rep.intermediateK = df.worst_abs / 1.8;
            }
            break;
        }
        case 1:
        case 11: {
            b.DataFlags(r.units == RatingUnits::CelsiusW ? 1 : 0).PowerUnit(powerUnitWord);
            const PolynomialFit qf = FitAbsolute(nominalSamples, Q);
            const PolynomialFit pf = FitAbsolute(nominalSamples, P);
            const PolynomialFit cf = FitAbsolute(nominalSamples, I);
            Require(t, qf.ok && pf.ok && cf.ok, "absolute-temperature");
            b.Coefficients(CoefficientBlock::A, qf.c)
                .Coefficients(CoefficientBlock::B, pf.c)
                .Coefficients(CoefficientBlock::C, cf.c);
            rep.capacity = qf.worst_relative;
            rep.power = pf.worst_relative;
            rep.current = cf.worst_relative;
            if (kind == 11) {
                std::vector<double> h;
                for (double v : H) h.push_back(Fahrenheit(v));
                const PolynomialFit df = Fit10(teF, tcF, h, true);
                Require(t, df.ok, "intermediate temperature");
                b.Coefficients(CoefficientBlock::D, df.c);
                rep.intermediateK = df.worst_abs / 1.8;
            }
            break;
        }
        case 6: {
            b.DataFlags(0).PowerUnit(powerUnitWord);
            std::vector<double> te, p, m;
            for (const Sample& s : nominalSamples) {
                te.push_back(s.state.teDew);
                p.push_back(s.state.pd);
                m.push_back(s.phys.m);
            }
            const PolynomialFit mf = Fit10(te, p, m);
            const PolynomialFit pf = Fit10(te, p, P);
            const PolynomialFit cf = Fit10(te, p, I);
            Require(t, mf.ok && pf.ok && cf.ok, "CO2");
            b.Coefficients(CoefficientBlock::D, mf.c)
                .Coefficients(CoefficientBlock::B, pf.c)
                .Coefficients(CoefficientBlock::C, cf.c);
            rep.capacity = mf.worst_relative;
            rep.power = pf.worst_relative;
            rep.current = cf.worst_relative;
            break;
        }
        case 0:
        case 10: {
            // Volumetric efficiency: the form that fits best.
            std::vector<double> lambda;
            for (const Sample& s : nominalSamples) lambda.push_back(s.phys.lambda);
            TermFit bestL;
            int bestForm = 0;
            for (int form = 1; form <= kVolumetricEfficiencyForms; ++form) {
                std::vector<double> design;
                for (const Sample& s : nominalSamples) {
                    const auto t6 = VolumetricEfficiencyTerms(form, s.state.pd / s.state.ps, s.state.pd, s.state.ps,
                                                              s.state.tcDew);
                    design.insert(design.end(), t6.begin(), t6.end());
                }
                // Forms that do not use all six terms leave their columns 0.
                const TermFit f = FitTerms(6, design, lambda, true);
                if (f.ok && (bestForm == 0 || f.worst_relative < bestL.worst_relative)) {
                    bestL = f;
                    bestForm = form;
                }
            }
            Require(t, bestForm != 0, "volumetric efficiency");
            std::array<double, 10> a{};
            std::copy_n(bestL.c.begin(), 6, a.begin());
            // Losses beyond the isentropic power and the built-in-ratio loss.
            std::vector<double> loss, total;
            for (const Sample& s : nominalSamples) {
                const double liquid = s.state.tBub - r.ratedSubcooling;
                const double Pis = ref.IsentropicPower(s.phys.m, s.state.pd, s.state.ps, liquid, s.SGTr);
                const double Vdot = s.phys.m * ref.VapourVolume(s.state.ps, s.SGTr);
                const double target = kind == 10 ? s.phys.Pbase : s.phys.P;
                loss.push_back(target - Pis - BuiltInRatioLoss(physics, s.state.ps, s.state.pd, Vdot));
                total.push_back(target);
            }
            TermFit bestP;
            int bestLoss = 0;
            double bestDeviation = 0;
            for (int form = 1; form <= kPowerLossForms; ++form) {
                std::vector<double> design;
                for (const Sample& s : nominalSamples) {
                    const auto t4 = PowerLossTerms(form, s.state.ps, s.state.pd, s.state.teDew + kKelvin,
                                                   s.state.tcMid + kKelvin);
                    design.insert(design.end(), t4.begin(), t4.end());
                }
                const TermFit f = FitTerms(4, design, loss, false);
                if (!f.ok) continue;
                double worst = 0;
                for (std::size_t k = 0; k < loss.size(); ++k) {
                    double v = 0;
                    for (int i = 0; i < 4; ++i) v += f.c[i] * design[k * 4 + i];
                    worst = std::max(worst, std::fabs(v - loss[k]) / total[k]);
                }
                if (bestLoss == 0 || worst < bestDeviation) {
                    bestP = f;
                    bestLoss = form;
                    bestDeviation = worst;
                }
            }
            Require(t, bestLoss != 0, "power loss");
            std::array<double, 10> bl{};
            std::copy_n(bestP.c.begin(), 4, bl.begin());
            if (physics.electrical.drive) Refuse(t, "the efficiency model gives the current of a motor on the line");
            const double Ur = physics.electrical.phases == 1 ? physics.electrical.voltage / kSqrt3
                                                             : physics.electrical.voltage;
            const std::array<double, 10> c = {physics.electrical.magnetising, 0.0, physics.electrical.reactiveGrowth, Ur};
            b.DataFlags(static_cast<std::uint16_t>(bestForm))
                .PowerUnit(static_cast<std::uint16_t>(bestLoss))
                .PowerLossFlags(0)
                .Coefficients(CoefficientBlock::A, a)
                .Coefficients(CoefficientBlock::B, bl)
                .Coefficients(CoefficientBlock::C, c)
                .MotorPowerLimit(std::ceil(out.maxPower * 1.08 * 100.0) / 100.0);
            rep.capacity = bestL.worst_relative;
            rep.power = bestDeviation;
            rep.forms = fmt::format("volumetric {}, loss {}", bestForm, bestLoss);
            if (kind == 10) {
                std::vector<double> h;
                for (double v : H) h.push_back(Fahrenheit(v));
                const PolynomialFit df = Fit10(teF, tcF, h, true);
                Require(t, df.ok, "intermediate temperature");
                b.Coefficients(CoefficientBlock::D, df.c);
                rep.intermediateK = df.worst_abs / 1.8;
            }
            break;
        }
        default:
            Refuse(t, fmt::format("rating-model kind {} is not generated", kind));
    }

    if (inverter) {
        std::vector<InverterPoint> qi, pi;
        std::vector<double> power, current;
        for (const Sample& s : samples) {
            const double x = s.speed / kInverterRpmPerHz;
            qi.push_back({x, s.base.Q, s.phys.Q});
            pi.push_back({x, s.base.P, s.phys.P});
            power.push_back(s.phys.P);
            current.push_back(s.phys.I);
        }
        const InverterFit qf = FitInverterFunction(qi);
        const InverterFit pf = FitInverterFunction(pi);
        const LineFit cf = FitLine(power, current);
        Require(t, qf.ok && pf.ok && cf.ok, "inverter");
        std::array<double, 40> v{};
        std::copy(qf.c.begin(), qf.c.end(), v.begin());
        std::copy(pf.c.begin(), pf.c.end(), v.begin() + 10);
        v[30] = cf.slope;
        v[31] = cf.intercept;
        b.InverterPolynomials(v).NominalSpeed(static_cast<std::uint16_t>(nominal));
        // The inverter functions' deviation adds to that of the polynomials.
        rep.capacity += qf.worst_relative;
        rep.power += pf.worst_relative;
        rep.current = cf.worst_relative;
    }

    // --- envelopes ---
    const auto corners = [](const std::vector<Point2>& line) {
        std::vector<EnvelopeCorner> c;
        for (const Point2& p : line) c.push_back({p.x, p.y});
        return c;
    };
    if (speedPoly || inverter) {
        int position = 1;
        for (const EnvelopeDef& e : t.envelope->envelopes) {
            if (!FixedSpeedEnvelope(e) || position > 5) continue;
            b.SpeedEnvelope(position, static_cast<std::uint16_t>(e.type),
                            static_cast<std::uint16_t>(t.envelope->baseSpeed), corners(e.left), corners(e.right),
                            static_cast<std::uint8_t>(e.optionByte));
            if (position == 1)
                for (const SpeedLevelDef& l : t.envelope->speedLevels)
                    b.SpeedLevel(1, static_cast<std::uint16_t>(l.speed), corners(l.left), corners(l.right));
            position += 2;
        }
    } else {
        int position = 1;
        for (const EnvelopeDef& e : t.envelope->envelopes)
            b.Envelope(position++, static_cast<std::uint16_t>(e.type), corners(e.left), corners(e.right),
                       static_cast<std::uint8_t>(e.optionByte));
    }
    b.ForCompressor(t.refrigerantDef->code, fam.code);
    return out;
}

}  // namespace kelvra::catalogue
