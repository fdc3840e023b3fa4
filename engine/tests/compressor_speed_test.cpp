// Compressor speed: speed-correction polynomials with speed-dependent envelopes, the speed
// search, inverter-driven models, and the CO2 gas-cooler pressure with the best COP.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "compressor.hpp"
#include "compressor_fixture.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;
namespace st = model_status;

constexpr double kKelvin = 273.15;

using SpeedValues = std::array<double, 40>;

// Speed polynomial k (1..4) as the speed data define it, at (a, b, n).
double SpeedTerm(const SpeedValues& v, int k, double a, double b, double n) {
    const double* K = v.data() + 10 * (k - 1);
    return n * (K[0] + K[1] * b + K[2] * a + K[3] * b * b + K[4] * a * b + K[5] * a * a +
                n * (K[6] + K[7] * b + K[8] * a + K[9] * n));
}

// Capacity rises with speed: set 1 adds about 2.4 W per rpm, set 2 0.6 W per rpm of power.
SpeedValues SpeedData(double capacityScale = 1.0) {
    SpeedValues v{};
    v[0] = 0.003 * capacityScale;
    v[1] = 0.00002 * capacityScale;   // per K of evaporating temperature
    v[2] = -0.00001 * capacityScale;  // per K of condensing temperature
    v[6] = 1e-8 * capacityScale;      // per rpm
    v[10] = 0.0006;
    v[11] = 0.000001;
    v[20] = 0.00001;  // set 3: the intermediate temperature
    v[30] = 0.0002;   // set 4: the current
    return v;
}

const Coeffs kSpeedBaseCapacity = [] {
    Coeffs c = kCapacity;
    c[0] -= 4.0;
    return c;
}();
const Coeffs kSpeedBasePower = [] {
    Coeffs c = kPower;
    c[0] -= 1.0;
    return c;
}();

class CompressorSpeedTest : public CompressorFixture {
  protected:
    // A variable-speed set, nominal speed 3000 rpm, base envelope from 2400 rpm, speed levels at
    // `lowest` and `highest` rpm, all of the same extent.
    static RatingSetBuilder VariableSpeed(int kind, std::uint16_t lowest, std::uint16_t highest,
                                          const SpeedValues& values = SpeedData()) {
        const std::vector<EnvelopeCorner> left = {{-50, -10}, {-50, 75}};
        const std::vector<EnvelopeCorner> right = {{20, -10}, {20, 75}};
        return Bare(kind)
            .Coefficients(CoefficientBlock::A, kSpeedBaseCapacity)
            .Coefficients(CoefficientBlock::B, kSpeedBasePower)
            .NominalSpeed(3000)
            .SpeedEnvelope(1, kNormalType, 2400, left, right)
            .SpeedLevel(1, lowest, left, right)
            .SpeedLevel(1, highest, left, right)
            .SpeedPolynomials(values);
    }

    // An inverter-driven set: capacity and power proportional to the frequency, current
    // 2 A per kW plus 1.5 A; nominal 1500 rpm, base envelope from 900 rpm, a band to 4200 rpm.
    static RatingSetBuilder Inverter(int kind) {
        SpeedValues v{};
        v[0] = 1.0;   // C1
        v[1] = 1.0;   // C2
        v[10] = 1.0;  // C11
        v[11] = 1.0;  // C12
        v[30] = 2.0;  // C31
        v[31] = 1.5;  // C32
        const std::vector<EnvelopeCorner> left = {{-50, -10}, {-50, 75}};
        const std::vector<EnvelopeCorner> right = {{20, -10}, {20, 75}};
        return Bare(kind)
            .NominalSpeed(1500)
            .SpeedEnvelope(1, kNormalType, 900, left, right)
            .SpeedLevel(1, 4200, left, right)
            .InverterPolynomials(v);
    }

    const OperatingConditions rated = Point(r134a, -10, 40);
    const OperatingConditions warm = Point(r134a, -10, 40, 20, 3);
};

// --- speed polynomials ---------------------------------------------------------------------

TEST_F(CompressorSpeedTest, SpeedPolynomialsCorrectCapacityAndPowerInTheDataUnits) {
    struct Case {
        const char* name;
        int kind;
        std::uint16_t flags;
    };
    for (const Case k :
         {Case{"degC", rating_kind::EN12900, 0}, Case{"degF Btu/h", rating_kind::EN12900, 1},
          Case{"kelvin", rating_kind::AbsoluteTemperature, 0}}) {
        SCOPED_TRACE(k.name);
        const bool fahrenheit = k.flags == 1;
        const double unit = fahrenheit ? 3412.14 : 1.0;
        const SpeedValues values = SpeedData(unit);
        RatingSetBuilder b = VariableSpeed(k.kind, 900, 9000, values).DataFlags(k.flags);
        if (fahrenheit)
            b.Coefficients(CoefficientBlock::A, FahrenheitPolynomial(kSpeedBaseCapacity, unit))
                .Coefficients(CoefficientBlock::B, FahrenheitPolynomial(kSpeedBasePower, 1.0))
                .Coefficients(CoefficientBlock::C, FahrenheitPolynomial(kCurrent, 1.0));
        if (k.kind == rating_kind::AbsoluteTemperature)
            b.Coefficients(CoefficientBlock::A, {12.0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
                .Coefficients(CoefficientBlock::B, {1.5, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        auto comp = Compressor(r134a, &Build(b));
        ASSERT_TRUE(comp->IsVariableSpeed());
        EXPECT_FALSE(comp->IsInverterDriven());
        EXPECT_EQ(comp->NominalSpeed(), 3000);

        for (const std::int32_t n : {1200, 3000, 6500}) {
            SCOPED_TRACE(n);
            comp->SetSpeed(n);
            ASSERT_EQ(comp->Evaluate(rated, ActivityMode::Compressors), st::Valid);
            double te = -10, tc = 40, baseQ = 0, baseP = 0;
            if (k.kind == rating_kind::AbsoluteTemperature) {
                te += kKelvin;
                tc += kKelvin;
                baseQ = 12.0;
                baseP = 1.5;
            } else {
                baseQ = PolynomialValue(kSpeedBaseCapacity, te, tc);
                baseP = PolynomialValue(kSpeedBasePower, te, tc);
                if (fahrenheit) {
                    te = Fahrenheit(te);
                    tc = Fahrenheit(tc);
                }
            }
            EXPECT_NEAR(comp->Result(q::CoolingCapacity),
                        baseQ + SpeedTerm(values, 1, tc, te, n) / unit, 1e-9);
            EXPECT_NEAR(comp->Result(q::PowerInput), baseP + SpeedTerm(values, 2, tc, te, n), 1e-9);
            EXPECT_EQ(comp->Result(q::Speed), n);
        }
    }
}

TEST_F(CompressorSpeedTest, InjectionPolynomialsTakeTheirSpeedCorrections) {
    const SpeedValues values = SpeedData();
    auto comp = Compressor(
        r134a, &Build(VariableSpeed(rating_kind::InjectionTemperature, 900, 9000, values)
                          .Coefficients(CoefficientBlock::C, kCurrent)
                          .Coefficients(CoefficientBlock::D, {20, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    comp->SetSpeed(4000);
    ASSERT_EQ(comp->Evaluate(rated, ActivityMode::Compressors), st::Valid);
    // At the rated point the injection costs no extra power and G is the data's H.
    EXPECT_NEAR(comp->Result(q::IntermediateSatTemp), 20 + SpeedTerm(values, 3, 40, -10, 4000),
                1e-9);
    EXPECT_NEAR(comp->Result(q::Current),
                PolynomialValue(kCurrent, -10, 40) + SpeedTerm(values, 4, 40, -10, 4000), 1e-9);
}

TEST_F(CompressorSpeedTest, SpeedsOutsideTheEnvelopeLevelsAreRefused) {
    auto comp = Compressor(r134a, &Build(VariableSpeed(rating_kind::EN12900, 1800, 6000)));
    struct Case {
        std::int32_t n;
        ModelStatus expected;
    };
    for (const Case k : {Case{1799, st::SpeedBelowEnvelopes}, Case{1800, st::Valid},
                         Case{2700, st::Valid}, Case{6000, st::Valid},
                         Case{6001, st::SpeedAboveEnvelopes}, Case{0, st::SpeedBelowEnvelopes}}) {
        comp->SetSpeed(k.n);
        EXPECT_EQ(comp->Evaluate(rated, ActivityMode::Compressors), k.expected) << k.n;
    }
}

TEST_F(CompressorSpeedTest, SolveSpeedStopsAtTheSearchLimitsAndTheEnvelope) {
    TcrateObj* wide = &Build(VariableSpeed(rating_kind::EN12900, 900, 9000));
    TcrateObj* narrow = &Build(VariableSpeed(rating_kind::EN12900, 1800, 6000));
    auto probe = Compressor(r134a, wide);
    const auto capacityAt = [&](std::int32_t n) {
        probe->SetSpeed(n);
        EXPECT_EQ(probe->Evaluate(rated, ActivityMode::Compressors), st::Valid);
        return probe->Result(q::CoolingCapacity);
    };
    const double at4500 = capacityAt(4500);
    const double at2040 = capacityAt(2040);

    struct Case {
        const char* name;
        TcrateObj* set;
        double required;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"always more than required: lowest speed of the search", wide, 0.5, 1020},
        {"never enough: highest speed below 8001 rpm", wide, 100.0, 7980},
        {"always more than required: the envelope's lowest speed", narrow, 0.5, 1800},
        {"never enough: the envelope's highest speed", narrow, 100.0, 6000},
        {"reached on the way up", wide, at4500 - 1e-9, 4500},
        {"left on the way down", wide, at2040 + 1e-9, 2100},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto comp = Compressor(r134a, k.set);
        OperatingConditions c = rated;
        c.capacity = k.required;
        EXPECT_EQ(comp->SolveSpeed(c, ActivityMode::Compressors, 60), k.expected);
        EXPECT_EQ(comp->Speed(), k.expected);
        EXPECT_EQ(comp->Result(q::Speed), k.expected);  // evaluated at the speed returned
    }
}

// --- inverter ------------------------------------------------------------------------------

TEST_F(CompressorSpeedTest, InverterAt1500RpmIsTheFiftyHertzRating) {
    for (const int kind : {rating_kind::EN12900, rating_kind::AbsoluteTemperature}) {
        SCOPED_TRACE(kind);
        RatingSetBuilder b = Inverter(kind);
        if (kind == rating_kind::AbsoluteTemperature)
            b.Coefficients(CoefficientBlock::A, {12.0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
                .Coefficients(CoefficientBlock::B, {3.0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        RatingSetBuilder plainBuilder = Set(kind);
        if (kind == rating_kind::AbsoluteTemperature)
            plainBuilder.Coefficients(CoefficientBlock::A, {12.0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
                .Coefficients(CoefficientBlock::B, {3.0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        auto inverter = Compressor(r134a, &Build(b));
        auto plain = Compressor(r134a, &Build(plainBuilder));
        ASSERT_TRUE(inverter->IsInverterDriven());
        EXPECT_FALSE(inverter->IsVariableSpeed());
        EXPECT_EQ(inverter->NominalSpeed(), 1500);

        for (const OperatingConditions& c : {rated, warm}) {
            ASSERT_EQ(plain->Evaluate(c, ActivityMode::Compressors), st::Valid);
            inverter->SetSpeed(1500);
            ASSERT_EQ(inverter->Evaluate(c, ActivityMode::Compressors), st::Valid);
            for (const QuantityCode code :
                 {q::CoolingCapacity, q::PowerInput, q::MassFlow, q::VolumetricEfficiency})
                EXPECT_NEAR(inverter->Result(code), plain->Result(code), 1e-9) << code;
            EXPECT_NEAR(inverter->Result(q::Current), 2 * inverter->Result(q::PowerInput) + 1.5,
                        1e-12);
            const ResultVector at50Hz = inverter->Results();

            // Twice the frequency: twice the flow, the same volumetric efficiency, whether or
            // not the suction gas is at its rated temperature.
            inverter->SetSpeed(3000);
            ASSERT_EQ(inverter->Evaluate(c, ActivityMode::Compressors), st::Valid);
            EXPECT_NEAR(inverter->Result(q::CoolingCapacity), 2 * at50Hz[q::CoolingCapacity], 1e-9);
            EXPECT_NEAR(inverter->Result(q::PowerInput), 2 * at50Hz[q::PowerInput], 1e-9);
            EXPECT_NEAR(inverter->Result(q::MassFlow), 2 * at50Hz[q::MassFlow], 1e-9);
            EXPECT_NEAR(inverter->Result(q::VolumetricEfficiency), at50Hz[q::VolumetricEfficiency],
                        1e-9);
        }
        inverter->SetSpeed(600);
        EXPECT_EQ(inverter->Evaluate(rated, ActivityMode::Compressors), st::SpeedBelowEnvelopes);
    }
}

TEST_F(CompressorSpeedTest, InverterFrequencyTermsFollowTheFrequency) {
    SpeedValues v{};
    v[0] = 0.9;   // C1
    v[1] = 0.5;   // C2
    v[2] = 0.01;  // C3, per Hz
    v[3] = 1e-5;  // C4, per Hz^2
    v[10] = 1.0;  // C11
    v[11] = 1.0;  // C12
    v[30] = 2.0;
    auto comp = Compressor(r134a, &Build(Inverter(rating_kind::EN12900).InverterPolynomials(v)));
    for (const std::int32_t n : {1200, 1500, 2400}) {
        comp->SetSpeed(n);
        ASSERT_EQ(comp->Evaluate(rated, ActivityMode::Compressors), st::Valid);
        const double x = n / 30.0;
        EXPECT_NEAR(
            comp->Result(q::CoolingCapacity),
            x / 50 * PolynomialValue(kCapacity, -10, 40) * 0.9 * (0.5 + 0.01 * x + 1e-5 * x * x),
            1e-9)
            << n;
    }
}

// --- CO2 gas-cooler pressure ---------------------------------------------------------------

class GasCoolerPressureTest : public CompressorFixture {
  protected:
    double CopAt(TComp& comp, OperatingConditions c, double p) {
        c.condPressure = p;
        c.dischargePressure = p;
        return comp.Evaluate(c, ActivityMode::Compressors) >= 0 ? comp.Result(q::COP) : 0.0;
    }
};

TEST_F(GasCoolerPressureTest, BelowTheCriticalTemperatureTheSaturationPressureApplies) {
    auto comp = Compressor(co2, &Build(CO2Set()));
    OperatingConditions c;
    c.evapTemp = -10;
    c.condTemp = 25;
    c.gasCoolerOutletTemp = 25;
    c.subcooling = 2;
    ASSERT_EQ(Resolve(c, &co2), ResolveOk);
    EXPECT_NEAR(comp->OptimumGasCoolerPressure(c), co2.BubblePressure(23.0), 1e-9);
}

TEST_F(GasCoolerPressureTest, TranscriticalSearchFindsTheBestCOPWithinTheEnvelope) {
    auto comp = Compressor(co2, &Build(CO2Set()));
    const OperatingConditions c = CO2Point(co2, -10, 90, 35);
    const double best = comp->OptimumGasCoolerPressure(c);
    EXPECT_GE(best, 75.0);
    EXPECT_LE(best, 130.0);
    const double cop = CopAt(*comp, c, best);
    ASSERT_GT(cop, 0.0);
    double scanBest = 0;
    for (double p = 75; p <= 130; p += 0.5) scanBest = std::max(scanBest, CopAt(*comp, c, p));
    EXPECT_GE(cop, scanBest * 0.999);
    // An interior optimum here, not a bound.
    EXPECT_GT(best, 76.0);
    EXPECT_LT(best, 129.0);
}

TEST_F(GasCoolerPressureTest, AnOptimumOnABoundIsFound) {
    const OperatingConditions c = CO2Point(co2, -10, 90, 35);
    auto wide = Compressor(co2, &Build(CO2Set()));
    const double optimum = wide->OptimumGasCoolerPressure(c);
    ASSERT_GT(optimum, 85.0);
    ASSERT_LT(optimum, 100.0);
    // An envelope above the optimum: the COP falls all the way, its lowest pressure wins.
    auto above = Compressor(co2, &Build(CO2Set(100, 130)));
    EXPECT_EQ(above->OptimumGasCoolerPressure(c), 100.0);
    // Below it: the COP rises all the way, the highest pressure wins.
    auto below = Compressor(co2, &Build(CO2Set(60, 85)));
    EXPECT_EQ(below->OptimumGasCoolerPressure(c), 85.0);
}

TEST_F(GasCoolerPressureTest, WithoutEnvelopeTheConditionsPressureStays) {
    RatingSetBuilder b(1);
    b.Kind(rating_kind::CO2Pressure)
        .TechnologyCode(TcrateObj::kTechCO2Transcritical)
        .Displacement(0.0014)
        .Coefficients(CoefficientBlock::D, kCO2MassFlow)
        .Coefficients(CoefficientBlock::B, kCO2Power)
        .RatedSuperheat(10.0f)
        .ForCompressor(10, 1);
    auto comp = Compressor(co2, &Build(b));
    EXPECT_EQ(comp->OptimumGasCoolerPressure(CO2Point(co2, -10, 97.5, 35)), 97.5);
}

}  // namespace
}  // namespace kelvra::testing
