// The compressor model on hand-built rating data: every rating-model kind and unit flag at its
// rated point, the saturation bases, the suction-gas correction, subcooling rules, discharge
// temperature, statuses and the activity modes.

#include "compressor.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "compressor_fixture.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;
namespace st = model_status;

constexpr double kKelvin = 273.15;

class CompressorTest : public CompressorFixture {};

// --- rated points: the results are the rating polynomials ---------------------------------

// Which pair of temperatures the polynomials must see.
enum class PolyTemps { Input, Dew, Mid };

struct EN12900Case {
    const char* name;
    char refrigerant;  // 'N' R134a, 'M' R407C, 'D' R404A
    std::uint16_t dataFlags;
    std::uint16_t powerUnit;
    PolyTemps temps;
};

TEST_F(CompressorTest, EN12900RatedPointGivesThePolynomialsForEveryFlagAndBasis) {
    const std::vector<EN12900Case> cases = {
        {"degC kW", 'N', 0, 0, PolyTemps::Input},
        {"capacity in W", 'N', 2, 0, PolyTemps::Input},
        {"power in W (bit 0)", 'N', 0, 1, PolyTemps::Input},
        {"power in W (bit 1)", 'N', 0, 2, PolyTemps::Input},
        {"ARI degF Btu/h", 'N', 1, 0, PolyTemps::Input},
        {"mid-point blend, mid-point data", 'M', 0, 0, PolyTemps::Input},
        {"mid-point blend, dew-point data", 'M', 4, 0, PolyTemps::Dew},
        {"dew-point blend, dew-point data", 'D', 4, 0, PolyTemps::Input},
        {"dew-point blend, mid-point data", 'D', 0, 0, PolyTemps::Mid},
        {"dew-point blend, ARI dew data in W", 'D', 4 | 1 | 2, 1, PolyTemps::Input},
    };
    for (const EN12900Case& k : cases) {
        SCOPED_TRACE(k.name);
        Trefrigerant& ref = k.refrigerant == 'M' ? r407c : k.refrigerant == 'D' ? r404a : r134a;
        // The data of the same compressor in the units the flags name.
        const bool fahrenheit = (k.dataFlags & 1u) != 0;
        const double capacityScale = (fahrenheit ? 3412.14 : 1.0) * ((k.dataFlags & 2u) ? 1000 : 1);
        const double powerScale = k.powerUnit != 0 ? 1000.0 : 1.0;
        const auto inUnits = [&](const Coeffs& c, double scale) {
            return fahrenheit ? FahrenheitPolynomial(c, scale) : Scaled(c, scale);
        };
        auto comp = Compressor(
            ref, &Build(Set(rating_kind::EN12900)
                            .DataFlags(k.dataFlags)
                            .PowerUnit(k.powerUnit)
                            .Coefficients(CoefficientBlock::A, inUnits(kCapacity, capacityScale))
                            .Coefficients(CoefficientBlock::B, inUnits(kPower, powerScale))
                            .Coefficients(CoefficientBlock::C, inUnits(kCurrent, 1.0))));
        const OperatingConditions c = Point(ref, -10, 40);
        ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);

        double te = c.satSuctionTemp, tc = c.satDischargeTemp;
        const double ps = comp->Result(q::SuctionPressure);
        const double pd = comp->Result(q::DischargePressure);
        if (k.temps == PolyTemps::Dew) {
            te = ref.DewTemperature(ps);
            tc = ref.DewTemperature(pd);
            EXPECT_GT(te, c.satSuctionTemp);  // the dew point lies above the mid point
        } else if (k.temps == PolyTemps::Mid) {
            ref.PressuresToMidTemperatures(0.0, pd, ps, tc, te);
            EXPECT_LT(te, c.satSuctionTemp);
        }
        const double capacity = PolynomialValue(kCapacity, te, tc);
        const double power = PolynomialValue(kPower, te, tc);
        EXPECT_NEAR(comp->Result(q::CoolingCapacity), capacity, 1e-9 * capacity);
        EXPECT_NEAR(comp->Result(q::PowerInput), power, 1e-9 * power);
        EXPECT_NEAR(comp->Result(q::Current), PolynomialValue(kCurrent, te, tc), 1e-9);
        EXPECT_NEAR(comp->Result(q::COP), capacity / power, 1e-9);
    }
}

TEST_F(CompressorTest, ARIDataAtMinus10CAreEvaluatedAt14FAndDividedBy3412) {
    // 1000 Btu/h per degF of evaporating temperature, nothing else.
    auto comp = Compressor(
        r134a, &Build(Set(rating_kind::EN12900)
                          .DataFlags(1)
                          .Coefficients(CoefficientBlock::A, {0, 1000, 0, 0, 0, 0, 0, 0, 0, 0})
                          .Coefficients(CoefficientBlock::B, FahrenheitPolynomial(kPower, 1.0))));
    ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40), ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), 14000.0 / 3412.14, 1e-9);
}

// Absolute-temperature form with coefficients C1..C9.
double AbsoluteForm(const Coeffs& c, double Tc, double Te, double pd, double ps) {
    return c[0] + c[1] * Tc + c[2] * Te + c[3] * pd + c[4] * ps + c[5] * Tc * Te + c[6] * pd * ps +
           c[7] * pd / std::sqrt(ps) + c[8] * std::sqrt(ps);
}

TEST_F(CompressorTest, AbsoluteTemperatureModelUsesKelvinAndPressures) {
    const Coeffs capacity = {-94.0, -0.25, 0.7, -0.05, 0.3, -0.0001, 0.002, 0.01, 0.1, 0};
    const Coeffs power = {-12.5, 0.045, 0.005, 0.01, -0.02, 0.0, 0.0, 0.0, 0.05, 0};
    struct Case {
        std::uint16_t flags, powerUnit;
        double capacityScale, powerScale;
    };
    for (const Case k : {Case{0, 0, 1.0, 1.0}, Case{1, 1, 1000.0, 1000.0}}) {
        SCOPED_TRACE(k.flags);
        Coeffs a = capacity, b = power;
        for (double& v : a) v *= k.capacityScale;
        for (double& v : b) v *= k.powerScale;
        auto comp = Compressor(r134a, &Build(Set(rating_kind::AbsoluteTemperature)
                                                 .DataFlags(k.flags)
                                                 .PowerUnit(k.powerUnit)
                                                 .Coefficients(CoefficientBlock::A, a)
                                                 .Coefficients(CoefficientBlock::B, b)));
        ASSERT_EQ(comp->Evaluate(Point(r134a, -5, 35), ActivityMode::Compressors), st::Valid);
        const double ps = comp->Result(q::SuctionPressure);
        const double pd = comp->Result(q::DischargePressure);
        const double Tc = 35 + kKelvin, Te = -5 + kKelvin;
        EXPECT_NEAR(comp->Result(q::CoolingCapacity), AbsoluteForm(capacity, Tc, Te, pd, ps), 1e-9);
        EXPECT_NEAR(comp->Result(q::PowerInput), AbsoluteForm(power, Tc, Te, pd, ps), 1e-9);
    }
}

TEST_F(CompressorTest, CO2TranscriticalModelTakesMassFlowAndPowerOverDischargePressure) {
    auto comp = Compressor(co2, &Build(CO2Set()));
    EXPECT_TRUE(comp->IsCO2Transcritical());
    const OperatingConditions c = CO2Point(co2, -10, 90, 35);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);

    const double m = PolynomialValue(kCO2MassFlow, -10, 90);
    EXPECT_NEAR(comp->Result(q::MassFlow), 1000 * m, 1e-9);
    EXPECT_NEAR(comp->Result(q::PowerInput), PolynomialValue(kCO2Power, -10, 90), 1e-12);
    EXPECT_DOUBLE_EQ(comp->Result(q::DischargePressure), 90.0);
    // The gas leaves the gas cooler at 35 degC and 90 bar: its enthalpy is taken there.
    const double hOut = co2.VapourEnthalpy(90, 35);
    const double hSuction = co2.VapourEnthalpy(comp->Result(q::SuctionPressure), 0.0);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), m * (hSuction - hOut), 1e-9);
    EXPECT_NEAR(comp->Result(q::LiquidTemp), 35.0, 1e-12);
    // Heat rejection and heating capacity both end at the gas-cooler outlet state.
    EXPECT_NEAR(comp->Result(q::HeatRejection), comp->Result(q::HeatingCapacity), 1e-9);
}

// Volumetric efficiency of the efficiency model, written out per form.
double EfficiencyLambda(int form, const Coeffs& l, double ps, double pd, double dewAtPd) {
    const double r = pd / ps;
    const double f1 = l[0] + l[1] * r + l[2] * r * pd + l[3] * pd;
    switch (form) {
        case 1:
            return f1;
        case 2:
            return l[0] + l[1] * r + l[2] * r * pd + l[3] * (dewAtPd + kKelvin) + l[4] * ps * ps +
                   l[5] * std::sqrt(r);
        case 3:
            return l[0] + l[1] * r + l[2] * pd;
        case 4:
            return f1 + l[4] * pd * pd;
        case 5:
            return f1 + l[4] * pd * pd * r;
        default:
            return 0;
    }
}

TEST_F(CompressorTest, EfficiencyModelFormsGiveTheVolumetricEfficiencyAtTheRatedPoint) {
    const Coeffs lambda = {0.9, -0.03, 0.0002, 0.002, 0.00005, 0.01, 0, 0, 0, 0};
    const Coeffs form2 = {0.9, -0.03, 0.0002, -0.0001, 0.0005, 0.01, 0, 0, 0, 0};
    for (int form = 1; form <= 5; ++form) {
        SCOPED_TRACE(form);
        const Coeffs& l = form == 2 ? form2 : lambda;
        auto comp = Compressor(
            r134a,
            &Build(Set(rating_kind::Efficiency)
                       .DataFlags(static_cast<std::uint16_t>(form))
                       .Coefficients(CoefficientBlock::A, l)
                       .PowerUnit(1)
                       .Coefficients(CoefficientBlock::B, {0.25, 0.01, 0, 0.005, 0, 0, 0, 0, 0, 0})
                       .Coefficients(CoefficientBlock::C, {1, 1.6, 0.02, 400, 0, 0, 0, 0, 0, 0})));
        ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40), ActivityMode::Compressors), st::Valid);
        const double ps = comp->Result(q::SuctionPressure);
        const double pd = comp->Result(q::DischargePressure);
        const double expected = EfficiencyLambda(form, l, ps, pd, r134a.DewTemperature(pd));
        EXPECT_NEAR(comp->Result(q::VolumetricEfficiency), 100 * expected, 1e-9);
        const double m = expected * kDisplacement / r134a.VapourVolume(ps, 0.0);
        EXPECT_NEAR(comp->Result(q::MassFlow), 1000 * m, 1e-9);
    }
}

TEST_F(CompressorTest, EfficiencyModelPowerIsIsentropicPowerPlusLosses) {
    const Coeffs loss = {0.25, 0.001, 0.000002, 0.001, 0, 0, 0, 0, 0, 0};
    struct Case {
        std::uint16_t form, flags;
        int technology;
    };
    const std::vector<Case> cases = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0},
                                     {1, 1, 0}, {1, 2, 0}, {7, 0, 0}, {1, 0, 2}};
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "form " << k.form << " flags " << k.flags
                                          << " technology " << k.technology);
        Coeffs b = loss;
        if (k.flags & 2u)
            for (double& v : b) v *= 1000;
        auto comp = Compressor(
            r134a,
            &Build(Set(rating_kind::Efficiency)
                       .DataFlags(3)
                       .Coefficients(CoefficientBlock::A, {0.95, -0.035, 0, 0, 0, 0, 0, 0, 0, 0})
                       .PowerUnit(k.form)
                       .PowerLossFlags(k.flags)
                       .TechnologyCode(k.technology)
                       .BuiltInVolumeRatio(2.5f)
                       .Coefficients(CoefficientBlock::B, b)
                       .Coefficients(CoefficientBlock::C, {1, 1.6, 0.02, 0, 0, 0, 0, 0, 0, 0})));
        // Off the rated suction state: the power follows the actual mass flow.
        const OperatingConditions c = Point(r134a, -10, 40, 20, 3);
        ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
        const double ps = comp->Result(q::SuctionPressure);
        const double pd = comp->Result(q::DischargePressure);
        const double m = comp->Result(q::MassFlow) / 1000;
        const double Te = -10 + kKelvin, Tc = 40 + kKelvin;
        double c3 = loss[2], c4 = loss[3];
        if (k.flags & 1u) std::swap(c3, c4);
        double expectedLoss = 0;
        switch (k.form) {
            case 1:
                expectedLoss = loss[0] + loss[1] * ps + c3 * ps * pd + c4 * pd;
                break;
            case 2:
                expectedLoss = loss[0] + loss[1] * Te + c3 * Te * Tc + c4 * Tc;
                break;
            case 3:
                expectedLoss = loss[0] + loss[1] * ps + c3 * Te * Tc + c4 * Tc;
                break;
            case 4:
                expectedLoss = loss[0] + loss[1] * ps + c4 * pd;
                break;
            default:
                break;
        }
        if (k.technology == 2) {
            const double vi = 2.5, kappa = 1.1f;
            const double Vdot = comp->Result(q::VolumetricEfficiency) / 100 * kDisplacement;
            expectedLoss += (1 / vi - std::pow(ps / pd, 1 / kappa)) * 50 * Vdot *
                            (pd - ps * std::pow(vi, kappa));
        }
        const double isentropic = r134a.IsentropicPower(m, pd, ps, 37.0, 10.0);
        const double P = comp->Result(q::PowerInput);
        EXPECT_NEAR(P, isentropic + expectedLoss, 1e-9);
        // Current from power, at the supply's voltage (no voltage in the data).
        const double active = 1 + 1.6 * P + 0.02 * P * P;
        const double reactive = 1000 * P / (1.732050808 * 400);
        EXPECT_NEAR(comp->Result(q::Current), std::hypot(active, reactive), 1e-9);
    }
}

TEST_F(CompressorTest, EfficiencyModelAtTheMotorLimitIsRefused) {
    auto set = [&](double limit) {
        return Compressor(
            r134a,
            &Build(Set(rating_kind::Efficiency)
                       .DataFlags(3)
                       .Coefficients(CoefficientBlock::A, {0.95, -0.035, 0, 0, 0, 0, 0, 0, 0, 0})
                       .PowerUnit(1)
                       .Coefficients(CoefficientBlock::B, {0.25, 0, 0, 0, 0, 0, 0, 0, 0, 0})
                       .MotorPowerLimit(limit)));
    };
    const OperatingConditions c = Point(r134a, -10, 40);
    auto free = set(0.0);
    ASSERT_EQ(free->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const double P = free->Result(q::PowerInput);
    EXPECT_EQ(set(P * 1.01)->Evaluate(c, ActivityMode::Compressors), st::Valid);
    auto limited = set(P * 0.99);
    EXPECT_EQ(limited->Evaluate(c, ActivityMode::Compressors), st::MotorLimit);
    EXPECT_EQ(limited->Result(q::CoolingCapacity), 0.0);
}

TEST_F(CompressorTest, InjectionKindsKeepTheMassFlowOfTheirBaseModel) {
    // Kinds 10-12 rate like kinds 0-2; the economiser only cools the liquid further, so the mass
    // flow is the base model's and the capacity grows by the enthalpy the economiser adds.
    for (const int kind : {rating_kind::EN12900Injection, rating_kind::EfficiencyInjection,
                           rating_kind::AbsoluteTemperatureInjection}) {
        SCOPED_TRACE(kind);
        RatingSetBuilder b =
            Set(kind)
                .Coefficients(CoefficientBlock::D, {68, 0, 0, 0, 0, 0, 0, 0, 0, 0})  // 20 degC
                .InjectionPowerFactor(0.0);
        if (kind == rating_kind::EfficiencyInjection)
            b.DataFlags(3).Coefficients(CoefficientBlock::A,
                                        {0.95, -0.035, 0, 0, 0, 0, 0, 0, 0, 0});
        if (kind == rating_kind::AbsoluteTemperatureInjection)
            b.Coefficients(CoefficientBlock::A, {9.0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
                .Coefficients(CoefficientBlock::B, {3.0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        RatingSetBuilder plain = b;
        plain.Kind(kind - 10);
        auto injected = Compressor(r134a, &Build(b));
        auto base = Compressor(r134a, &Build(plain));
        const OperatingConditions c = Point(r134a, -10, 40);
        ASSERT_EQ(injected->Evaluate(c, ActivityMode::Compressors), st::Valid);
        ASSERT_EQ(base->Evaluate(c, ActivityMode::Compressors), st::Valid);

        EXPECT_TRUE(injected->HasVapourInjection());
        EXPECT_FALSE(base->HasVapourInjection());
        EXPECT_NEAR(injected->Result(q::MassFlow), base->Result(q::MassFlow), 1e-9);
        const double ps = base->Result(q::SuctionPressure), pd = base->Result(q::DischargePressure);
        const double hSuction = r134a.VapourEnthalpy(ps, 0.0);
        const double gain = (hSuction - r134a.LiquidEnthalpy(pd, 25.0)) /
                            (hSuction - r134a.LiquidEnthalpy(pd, 40.0));
        EXPECT_NEAR(injected->Result(q::CoolingCapacity), base->Result(q::CoolingCapacity) * gain,
                    1e-9);
        EXPECT_NEAR(injected->Result(q::LiquidTemp), 25.0, 1e-9);
    }
}

// --- suction gas correction --------------------------------------------------------------

TEST_F(CompressorTest, SuctionTemperatureRatioIsOneAtTheRatedTemperature) {
    for (const double Tr : {-20.0, 0.0, 20.0, 35.0})
        for (const double lambda : {0.3, 0.7, 0.95})
            EXPECT_NEAR(SuctionTemperatureRatio(Tr, Tr, 1.0, lambda), 1.0, 1e-5) << Tr << lambda;
}

// The same ratio with the efficiency at 25 degC found by bisection.
double RatioByBisection(double T, double Tr, double scale, double lambda) {
    const double e = std::clamp(scale * std::min(lambda, 1.0), 0.1, 1.14);
    const double dr = Tr - 25;
    const auto at = [](double l, double d) {
        return l * (1 + d * (0.0186 - 0.03673 * l + 0.018368 * l * l));
    };
    double lo = 0.01, hi = 2.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (at(mid, dr) < e ? lo : hi) = mid;
    }
    return at(lo, T - 25) / e;
}

TEST_F(CompressorTest, SuctionTemperatureRatioSolvesForTheEfficiencyAt25C) {
    struct Case {
        double T, Tr, scale, lambda;
    };
    for (const Case k : {Case{30, 0, 1.0, 0.8}, Case{-5, 20, 1.2, 0.7}, Case{40, -10, 1.0, 1.3},
                         Case{10, 45, 1.0, 0.02}, Case{60, 18.3, 1.2, 0.99}}) {
        SCOPED_TRACE(::testing::Message() << k.T << " " << k.Tr << " " << k.lambda);
        EXPECT_NEAR(SuctionTemperatureRatio(k.T, k.Tr, k.scale, k.lambda),
                    RatioByBisection(k.T, k.Tr, k.scale, k.lambda), 2e-5);
    }
    EXPECT_THROW(SuctionTemperatureRatio(std::numeric_limits<double>::quiet_NaN(), 0, 1, 0.8),
                 std::domain_error);
}

TEST_F(CompressorTest, SuctionGasTemperatureMovesMassFlowByDensityAndEfficiency) {
    for (const int technology : {0, TcrateObj::kTechNoSuctionCorrection}) {
        SCOPED_TRACE(technology);
        auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900).TechnologyCode(technology)));
        ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40, 10), ActivityMode::Compressors), st::Valid);
        const double mRated = comp->Result(q::MassFlow);
        const double lambdaRated = comp->Result(q::VolumetricEfficiency) / 100;
        const double ps = comp->Result(q::SuctionPressure);
        const double pd = comp->Result(q::DischargePressure);

        ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40, 25), ActivityMode::Compressors), st::Valid);
        const double f = technology == TcrateObj::kTechNoSuctionCorrection
                             ? 1.0
                             : SuctionTemperatureRatio(15.0, 0.0, 1.0, lambdaRated);
        const double density = r134a.VapourVolume(ps, 0.0) / r134a.VapourVolume(ps, 15.0);
        EXPECT_NEAR(comp->Result(q::MassFlow), mRated * f * density, 1e-9);
        EXPECT_NEAR(comp->Result(q::VolumetricEfficiency), 100 * lambdaRated * f, 1e-9);
        const double m = comp->Result(q::MassFlow) / 1000;
        EXPECT_NEAR(comp->Result(q::CoolingCapacity),
                    m * (r134a.VapourEnthalpy(ps, 15.0) - r134a.LiquidEnthalpy(pd, 40.0)), 1e-9);
        if (technology == 0) {
            EXPECT_NE(f, 1.0);
        }
    }
}

TEST_F(CompressorTest, RatedSuctionGasTemperatureModeRatesAtThatTemperature) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900).RatedSuctionGasTemp(20.0f)));
    OperatingConditions c = Point(r134a, -10, 40);
    c.useSGR = true;
    c.suctionGasReturn = 20.0;
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), PolynomialValue(kCapacity, -10, 40), 1e-9);
}

// --- subcooling --------------------------------------------------------------------------

TEST_F(CompressorTest, OptionWordDecidesTheSubcoolingTheRatingUses) {
    struct Case {
        std::uint16_t optionWord;
        bool injection;
        double subcooling, expected;
    };
    const std::vector<Case> cases = {
        {0, false, 10, 10}, {8, false, 10, 3}, {8, false, 2, 2},   {4, false, 10, 0},
        {8, true, 10, 5.6}, {0, true, 10, 10}, {24, false, 10, 3}, {12, false, 10, 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "option " << k.optionWord << " injection "
                                          << k.injection << " subcooling " << k.subcooling);
        RatingSetBuilder b =
            Set(k.injection ? rating_kind::InjectionTemperature : rating_kind::EN12900)
                .OptionWord(k.optionWord)
                .Coefficients(CoefficientBlock::D, {20, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        auto comp = Compressor(r134a, &Build(b));
        ASSERT_EQ(
            comp->Evaluate(Point(r134a, -10, 40, 10, k.subcooling), ActivityMode::Compressors),
            st::Valid);
        if (k.injection) {
            // Economiser side: G = H + rated subcooling - E.
            EXPECT_NEAR(comp->Result(q::IntermediateSatTemp), 20.0 - k.expected, 1e-9);
        } else {
            EXPECT_NEAR(comp->Result(q::LiquidTemp), 40.0 - k.expected, 1e-9);
            const double m = comp->Result(q::MassFlow) / 1000;
            const double ps = comp->Result(q::SuctionPressure);
            const double pd = comp->Result(q::DischargePressure);
            EXPECT_NEAR(
                comp->Result(q::CoolingCapacity),
                m * (r134a.VapourEnthalpy(ps, 0.0) - r134a.LiquidEnthalpy(pd, 40.0 - k.expected)),
                1e-9);
        }
    }
}

TEST_F(CompressorTest, RatedSubcoolingOfTheDataIsCorrectedToTheActualOne) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900).RatedSubcooling(5.0f)));
    ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40, 10, 5), ActivityMode::Compressors), st::Valid);
    const double rated = comp->Result(q::CoolingCapacity);
    EXPECT_NEAR(rated, PolynomialValue(kCapacity, -10, 40), 1e-9);
    ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40, 10, 0), ActivityMode::Compressors), st::Valid);
    const double ps = comp->Result(q::SuctionPressure), pd = comp->Result(q::DischargePressure);
    const double h = r134a.VapourEnthalpy(ps, 0.0);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity),
                rated * (h - r134a.LiquidEnthalpy(pd, 40)) / (h - r134a.LiquidEnthalpy(pd, 35)),
                1e-9);
}

// --- statuses ----------------------------------------------------------------------------

TEST_F(CompressorTest, ReturnGasAt80CFailsBeforeAnyPolynomial) {
    // Coefficients that are not numbers: any evaluation of them would fail the step.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto comp = Compressor(
        r134a, &Build(Set(rating_kind::EN12900)
                          .Coefficients(CoefficientBlock::A, {nan, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    OperatingConditions c = Point(r134a, -10, 40);
    c.useSGR = true;
    c.suctionGasReturn = 80;
    EXPECT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::SuctionGasTooHot);
    EXPECT_EQ(comp->Status(), st::SuctionGasTooHot);
    EXPECT_EQ(comp->Results().Status(), st::SuctionGasTooHot);
    for (int code = 1; code < kResultCount; ++code) EXPECT_EQ(comp->Result(code), 0.0) << code;

    c.suctionGasReturn = 20;  // the same data at a normal point do reach the polynomial
    EXPECT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::EvaluationFailed);
}

struct StatusCase {
    const char* name;
    int kind;
    std::uint16_t envelopeType;
    double te, tc, superheat, subcooling;
    ModelStatus expected;
};

TEST_F(CompressorTest, StatusesOfTheEvaluation) {
    const std::vector<StatusCase> cases = {
        {"inside a normal envelope", 2, kNormalType, -10, 40, 10, 0, st::Valid},
        {"only in a kind-3 envelope", 2, kInjectionOnlyType, -10, 40, 10, 0, st::EvapTooLow},
        {"only in a preliminary envelope", 2, kPreliminaryType, -10, 40, 10, 0,
         st::PreliminaryData},
        {"only in an envelope of another kind", 2, kOtherKindType, -10, 40, 10, 0,
         st::OtherEnvelopeKind},
        {"above the envelope", 2, kNormalType, -10, 78, 10, 0, st::CondTooHigh},
        {"left of the envelope", 2, kNormalType, -55, 30, 10, 0, st::EvapTooLow},
        {"superheat below 3 K", 2, kNormalType, -10, 40, 2, 0, st::SuperheatTooLow},
        {"superheat above the envelope's limit", 2, kNormalType, -10, 40, 31, 0,
         st::SuctionGasTooHot},
        {"liquid colder than the evaporator", 2, kNormalType, 5, 20, 10, 20, st::LiquidBelowEvap},
        {"rating data without a model", rating_kind::NoData, kNormalType, -10, 40, 10, 0,
         st::EvapTooLow},
        {"unknown rating model", 7, kNormalType, -10, 40, 10, 0, st::UnknownRatingModel},
        {"unknown rating model above the injection kinds", 13, kNormalType, -10, 40, 10, 0,
         st::UnknownRatingModel},
    };
    for (const StatusCase& k : cases) {
        SCOPED_TRACE(k.name);
        auto comp = Compressor(r134a, &Build(Set(k.kind, k.envelopeType)));
        const ModelStatus status = comp->Evaluate(
            Point(r134a, k.te, k.tc, k.superheat, k.subcooling), ActivityMode::Compressors);
        EXPECT_EQ(status, k.expected);
        EXPECT_EQ(comp->Status(), k.expected);
        if (status < 0) {
            EXPECT_EQ(comp->Result(q::CoolingCapacity), 0.0);
            EXPECT_EQ(comp->Result(q::Displacement), 0.0);
        } else {
            EXPECT_GT(comp->Result(q::CoolingCapacity), 0.0);
        }
    }
}

TEST_F(CompressorTest, ExtendedEnvelopeKeepsTheResultsWithItsOwnStatus) {
    // A diamond right of the normal envelope, of the extended-limit kind.
    data.AddEnvelopeType(7, 7, 30.0f);
    auto comp = Compressor(
        r134a, &Build(Bare(rating_kind::EN12900)
                          .Envelope(1, kNormalType, {{-50, -10}, {-50, 75}}, {{20, -10}, {20, 75}})
                          .Envelope(2, 7, {{25, 10}, {35, 30}, {25, 60}, {15, 30}}, {})));
    EXPECT_EQ(comp->Evaluate(Point(r134a, 27, 40), ActivityMode::Compressors),
              st::ExtendedEnvelope);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), PolynomialValue(kCapacity, 27, 40), 1e-9);
    EXPECT_EQ(comp->Evaluate(Point(r134a, 33, 40), ActivityMode::Compressors), st::EvapTooHigh);
}

TEST_F(CompressorTest, CapacityAtOrBelowTenWattsIsRefused) {
    auto comp = Compressor(
        r134a, &Build(Set(rating_kind::EN12900)
                          .Coefficients(CoefficientBlock::A, {0.01, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ(comp->Evaluate(Point(r134a, -10, 40), ActivityMode::Compressors), st::EvapTooLow);
}

TEST_F(CompressorTest, FaultsInsideTheEvaluationBecomeStatus17) {
    const OperatingConditions c = Point(r134a, -10, 40);
    // No displacement: the volumetric efficiency divides by zero.
    auto noDisplacement = Compressor(r134a, &Build(Set(rating_kind::EN12900).Displacement(0)));
    EXPECT_EQ(noDisplacement->Evaluate(c, ActivityMode::Compressors), st::EvaluationFailed);
    EXPECT_EQ(noDisplacement->Result(q::CoolingCapacity), 0.0);

    // Coefficients too large for a double.
    auto overflow = Compressor(
        r134a,
        &Build(Set(rating_kind::EN12900)
                   .Coefficients(CoefficientBlock::B, {1e308, 0, 0, 1e308, 0, 0, 1e308, 0, 0, 0})));
    EXPECT_EQ(overflow->Evaluate(c, ActivityMode::Compressors), st::EvaluationFailed);

    // No rating data, no refrigerant.
    auto none = Compressor(r134a, nullptr);
    EXPECT_EQ(none->Evaluate(c, ActivityMode::Compressors), st::EvaluationFailed);
    auto noRefrigerant = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    noRefrigerant->refrigerant = nullptr;
    EXPECT_EQ(noRefrigerant->Evaluate(c, ActivityMode::Compressors), st::EvaluationFailed);

    // Efficiency-model current without any voltage.
    supply.voltage = 0;
    auto noVoltage = Compressor(
        r134a, &Build(Set(rating_kind::Efficiency)
                          .DataFlags(3)
                          .Coefficients(CoefficientBlock::A, {0.95, -0.035, 0, 0, 0, 0, 0, 0, 0, 0})
                          .Coefficients(CoefficientBlock::C, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ(noVoltage->Evaluate(c, ActivityMode::Compressors), st::EvaluationFailed);
}

TEST_F(CompressorTest, MissingPropertyLibraryFailsTheEvaluation) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    auto carbon = Compressor(co2, &Build(CO2Set()));
    const OperatingConditions c = Point(r134a, -10, 40);
    const OperatingConditions transcritical = CO2Point(co2, -10, 90, 35);
    UnloadPropertyLibraries();
    EXPECT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::EvaluationFailed);
    EXPECT_EQ(carbon->Evaluate(transcritical, ActivityMode::Compressors), st::EvaluationFailed);
    EXPECT_EQ(comp->Result(q::CoolingCapacity), 0.0);
    ASSERT_TRUE(LoadPropertyLibraries().general);
    EXPECT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
}

TEST_F(CompressorTest, NonsenseConditionsGiveAnErrorStatus) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    auto carbon = Compressor(co2, &Build(CO2Set()));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const OperatingConditions good = Point(r134a, -10, 40);
    const std::vector<std::function<void(OperatingConditions&)>> spoil = {
        [&](OperatingConditions& c) { c.satSuctionTemp = nan; },
        [&](OperatingConditions& c) { c.satDischargeTemp = inf; },
        [&](OperatingConditions& c) { c.superheat = nan; },
        [&](OperatingConditions& c) { c.compSubcooling = -inf; },
        [&](OperatingConditions& c) { c.satSuctionTemp = -400; },
        [&](OperatingConditions& c) { c.satDischargeTemp = 1e300; },
        [&](OperatingConditions& c) {
            c.useSGR = true;
            c.suctionGasReturn = nan;
        },
    };
    for (std::size_t i = 0; i < spoil.size(); ++i) {
        OperatingConditions c = good;
        spoil[i](c);
        EXPECT_LT(comp->Evaluate(c, ActivityMode::Compressors), 0) << i;
        EXPECT_EQ(comp->Result(q::CoolingCapacity), 0.0) << i;
    }
    for (const double p : {nan, inf, -5.0, 1e6}) {
        OperatingConditions c = CO2Point(co2, -10, 90, 35);
        c.condPressure = p;
        EXPECT_LT(carbon->Evaluate(c, ActivityMode::Compressors), 0) << p;
    }
}

TEST_F(CompressorTest, PropertyFailureEndsWithStatus5) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    // Condensing above the critical point of R134a: no saturation there.
    OperatingConditions c = Point(r134a, -10, 40);
    c.satDischargeTemp = 110;
    EXPECT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::EvapTooLow);
    EXPECT_EQ(comp->Result(q::PowerInput), 0.0);
    // The refrigerant's errors are cleared by the next evaluation.
    EXPECT_EQ(comp->Evaluate(Point(r134a, -10, 40), ActivityMode::Compressors), st::Valid);
}

// --- discharge temperature and efficiencies ----------------------------------------------

TEST_F(CompressorTest, DischargeTemperatureFromPowerOrIsentropic) {
    const OperatingConditions c = Point(r134a, -10, 40, 10, 0);
    auto plain = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    ASSERT_EQ(plain->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const double ps = plain->Result(q::SuctionPressure), pd = plain->Result(q::DischargePressure);
    const double m = plain->Result(q::MassFlow) / 1000, P = plain->Result(q::PowerInput);
    const double hSuction = r134a.VapourEnthalpy(ps, 0.0);
    EXPECT_NEAR(r134a.VapourEnthalpy(pd, plain->Result(q::DischargeTemp)), hSuction + 0.95 * P / m,
                1e-4);
    const double Tis = r134a.IsentropicTemperature(pd, ps, 40, 0.0);
    const double hIs = r134a.VapourEnthalpy(pd, Tis);
    EXPECT_NEAR(plain->Result(q::IsentropicEfficiency), 100 * (hIs - hSuction) / (P / m), 1e-6);
    EXPECT_GT(plain->Result(q::DischargeTemp), Tis);

    auto isentropic = Compressor(r134a, &Build(Set(rating_kind::EN12900).OptionWord(1)));
    ASSERT_EQ(isentropic->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(isentropic->Result(q::DischargeTemp), Tis, 1e-6);
    // Heat rejection then ends at the isentropic discharge state.
    EXPECT_NEAR(isentropic->Result(q::HeatRejection), m * (hIs - r134a.LiquidEnthalpy(pd, 40)),
                1e-6);
}

TEST_F(CompressorTest, DischargeTemperatureCapAndFamilyLimit) {
    // A compressor that turns most of its power into heat of the gas.
    const Coeffs hot = {6.5, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const OperatingConditions c = Point(r134a, -10, 40);
    auto free =
        Compressor(r134a, &Build(Set(rating_kind::EN12900).Coefficients(CoefficientBlock::B, hot)));
    ASSERT_EQ(free->Evaluate(c, ActivityMode::Compressors), st::Valid);
    ASSERT_GT(free->Result(q::DischargeTemp), 145.0);

    auto capped = Compressor(
        r134a,
        &Build(Set(rating_kind::EN12900).OptionWord(16).Coefficients(CoefficientBlock::B, hot)));
    ASSERT_EQ(capped->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_EQ(capped->Result(q::DischargeTemp), 145.0);

    auto family67 = Compressor(r134a, &Build(Set(rating_kind::EN12900)
                                                 .MaxDischargeTemp(120.0)
                                                 .Coefficients(CoefficientBlock::B, hot)));
    family67->familyNumber = 67;
    EXPECT_EQ(family67->Evaluate(c, ActivityMode::Compressors), st::DischargeTooHot);
    family67->familyNumber = 1;  // other families are not held to the limit
    EXPECT_EQ(family67->Evaluate(c, ActivityMode::Compressors), st::Valid);
}

// --- factors, power factor, displacement ---------------------------------------------------

TEST_F(CompressorTest, RecordFactorsScaleTheirResults) {
    const OperatingConditions c = Point(r134a, -10, 40, 20, 3);
    auto plain = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    ASSERT_EQ(plain->Evaluate(c, ActivityMode::Compressors), st::Valid);
    auto scaled = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    scaled->capacityFactor = 1.05f;
    scaled->powerFactorMultiplier = 1.1f;
    scaled->currentFactor = 0.9f;
    ASSERT_EQ(scaled->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const double cf = 1.05f, pf = 1.1f, If = 0.9f;
    EXPECT_NEAR(scaled->Result(q::CoolingCapacity), plain->Result(q::CoolingCapacity) * cf, 1e-9);
    EXPECT_NEAR(scaled->Result(q::MassFlow), plain->Result(q::MassFlow) * cf, 1e-9);
    EXPECT_NEAR(scaled->Result(q::PowerInput), plain->Result(q::PowerInput) * pf, 1e-9);
    EXPECT_NEAR(scaled->Result(q::Current), plain->Result(q::Current) * If, 1e-9);
    EXPECT_NEAR(scaled->Result(q::Displacement), kDisplacement * cf * 3600, 1e-9);
    // Power factor = P / (U sqrt(3) I).
    EXPECT_NEAR(
        scaled->Result(q::PowerFactor),
        scaled->Result(q::PowerInput) * 1000 / 400 / std::sqrt(3.0) / scaled->Result(q::Current),
        1e-12);

    scaled->capacityFactor = 1.15f;  // an enlarged model: its displacement factor is fixed
    EXPECT_NEAR(scaled->Displacement(), kDisplacement * 1.2069, 1e-12);

    plain->familyNumber = 6;  // family without a power factor
    ASSERT_EQ(plain->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_EQ(plain->Result(q::PowerFactor), 0.0);
    plain->supply = nullptr;
    ASSERT_EQ(plain->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_EQ(plain->Result(q::PowerFactor), 0.0);
}

// --- activity modes ------------------------------------------------------------------------

TEST_F(CompressorTest, UsefulSuperheatRatioDividesTheCapacity) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    OperatingConditions c = Point(r134a, -10, 40, 20);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const double all = comp->Result(q::CoolingCapacity);
    const double heating = comp->Result(q::HeatingCapacity);

    c.usefulAll = false;
    c.capacityRatio = 1.25;
    c.usefulSuperheat = 10;
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), all / 1.25, 1e-9);
    EXPECT_NEAR(comp->Result(q::HeatingCapacity), heating, 1e-9);
    EXPECT_NEAR(comp->Result(q::COP), all / 1.25 / comp->Result(q::PowerInput), 1e-9);
    // The ratio belongs to the compressor selection only.
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::CondensingUnits), st::Valid);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), all, 1e-9);

    // More useful superheat than there is superheat.
    c.usefulSuperheat = 15;
    c.suctionLineDrop = 6;
    EXPECT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::UsefulSuperheatTooHigh);
    EXPECT_EQ(comp->Result(q::CoolingCapacity), 0.0);
}

TEST_F(CompressorTest, CondensingUnitModeIgnoresTheCompressorSubcooling) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    const OperatingConditions c = Point(r134a, -10, 40, 10, 5);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::CondensingUnits), st::Valid);
    EXPECT_NEAR(comp->Result(q::LiquidTemp), 40.0, 1e-9);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), PolynomialValue(kCapacity, -10, 40), 1e-9);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::LiquidTemp), 35.0, 1e-9);
}

TEST_F(CompressorTest, HeatPumpModeGivesHeatingCOPAndKeepsTheCoolingOne) {
    auto comp = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    OperatingConditions c = Point(r134a, -10, 40, 10);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const ResultVector cooling = comp->Results();

    // Line drops of the advanced input play no part for heat-pump compressors.
    c.advanced = true;
    c.suctionLineDrop = 3;
    c.satSuctionTemp = -13;
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::HeatPumpCompressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), cooling[q::CoolingCapacity], 1e-9);
    EXPECT_NEAR(comp->Result(q::RefrigerationCOP), cooling[q::COP], 1e-9);
    EXPECT_NEAR(comp->Result(q::COP),
                comp->Result(q::HeatingCapacity) / comp->Result(q::PowerInput), 1e-12);
    EXPECT_GT(comp->Result(q::COP), comp->Result(q::RefrigerationCOP));
}

// --- slots ---------------------------------------------------------------------------------

TEST_F(CompressorTest, SlotsAnswerFromRatingSetA) {
    auto plain = Compressor(r134a, &Build(Set(rating_kind::EN12900)));
    EXPECT_EQ(plain->classLetter, 'C');
    EXPECT_FALSE(plain->FirstOptionFlag());
    EXPECT_FALSE(plain->HidesCurrent());
    EXPECT_FALSE(plain->IsVariableSpeed());
    EXPECT_FALSE(plain->IsInverterDriven());
    EXPECT_FALSE(plain->IsCO2Transcritical());
    EXPECT_FALSE(plain->HasLoadControl());
    EXPECT_EQ(plain->NominalSpeed(), 0);
    EXPECT_EQ(plain->MaxLoad(), 100);

    auto flagged = Compressor(r134a,
                              &Build(Set(rating_kind::EN12900)
                                         .OptionBits(1)
                                         .TechnologyCode(TcrateObj::kTechCurrentNotShown)),
                              &Build(Set(rating_kind::EN12900)));
    EXPECT_TRUE(flagged->FirstOptionFlag());
    EXPECT_TRUE(flagged->HidesCurrent());
    EXPECT_TRUE(flagged->HasLoadControl());

    for (int kind = 0; kind <= 12; ++kind) {
        auto comp = Compressor(r134a, &Build(Set(kind)));
        EXPECT_EQ(comp->HasVapourInjection(), kind == 3 || kind == 4 || kind >= 10) << kind;
    }
    auto none = Compressor(r134a, nullptr);
    EXPECT_FALSE(none->HasVapourInjection());
    EXPECT_EQ(none->Displacement(), 0.0);
    double y0 = 1, y1 = 2, x1 = 3, x0 = 4;
    EXPECT_FALSE(none->EnvelopeBounds(y0, y1, x1, x0));
}

TEST_F(CompressorTest, EnvelopeBoundsComeFromTheSetOfTheLoadStep) {
    auto comp = Compressor(
        r134a, &Build(Set(rating_kind::EN12900)),
        &Build(Bare(rating_kind::EN12900)
                   .Envelope(1, kNormalType, {{-40, 10}, {-40, 60}}, {{10, 10}, {10, 60}})),
        &Build(Bare(rating_kind::EN12900)
                   .Envelope(1, kNormalType, {{-30, 20}, {-30, 50}}, {{0, 20}, {0, 50}})));
    struct Case {
        std::int32_t load;
        double yMin, yMax, xMax, xMin;
    };
    for (const Case k :
         {Case{100, -10, 75, 20, -50}, Case{80, 10, 60, 10, -40}, Case{50, 20, 50, 0, -30}}) {
        comp->SetLoad(k.load);
        double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
        ASSERT_TRUE(comp->EnvelopeBounds(yMin, yMax, xMax, xMin)) << k.load;
        EXPECT_EQ(yMin, k.yMin);
        EXPECT_EQ(yMax, k.yMax);
        EXPECT_EQ(xMax, k.xMax);
        EXPECT_EQ(xMin, k.xMin);
    }
}

}  // namespace
}  // namespace kelvra::testing
