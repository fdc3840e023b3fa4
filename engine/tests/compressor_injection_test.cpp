// Vapour-injection compressors: the intermediate state from the rating data, the economiser
// outlet, the injected flow and the power it costs, and the results that only these models
// give.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "compressor.hpp"
#include "compressor_fixture.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;
namespace st = model_status;

constexpr Coeffs kTwentyDegrees = {20, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr Coeffs kSixtyEightF = {68, 0, 0, 0, 0, 0, 0, 0, 0, 0};

class CompressorInjectionTest : public CompressorFixture {
  protected:
    // Kind 3: block D gives an intermediate saturation temperature of 20 degC.
    RatingSetBuilder Injection(int kind = rating_kind::InjectionTemperature) {
        return Set(kind)
            .Coefficients(CoefficientBlock::D,
                          kind >= rating_kind::EfficiencyInjection ? kSixtyEightF : kTwentyDegrees)
            .InjectionPowerFactor(1.0);
    }
};

struct OutletCase {
    const char* name;
    int kind;
    double tc, subcooling;
    double liquidOut, intermediate;  // results 12 and 14
};

TEST_F(CompressorInjectionTest, EconomiserOutletFollowsTheRatingData) {
    const std::vector<OutletCase> cases = {
        {"rated subcooling", 3, 40, 0, 25, 20},
        {"more subcooling than rated", 3, 40, 3, 22, 17},
        {"condenser liquid colder than the economiser outlet", 3, 22, 0, 22, 20},
        {"kind 12 takes the economiser outlet as it is", 12, 22, 0, 25, 20},
        {"kind 10", 10, 40, 2, 23, 18},
    };
    for (const OutletCase& k : cases) {
        SCOPED_TRACE(k.name);
        RatingSetBuilder b = Injection(k.kind);
        if (k.kind == rating_kind::EfficiencyInjection)
            b.DataFlags(3).Coefficients(CoefficientBlock::A,
                                        {0.95, -0.035, 0, 0, 0, 0, 0, 0, 0, 0});
        auto comp = Compressor(r134a, &Build(b));
        const OperatingConditions c = Point(r134a, -10, k.tc, 10, k.subcooling);
        ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
        EXPECT_NEAR(comp->Result(q::LiquidTemp), k.liquidOut, 1e-9);
        EXPECT_NEAR(comp->Result(q::IntermediateSatTemp), k.intermediate, 1e-9);
        // A pure fluid: the intermediate bubble and dew temperatures coincide.
        EXPECT_NEAR(comp->Result(q::InjectionTemp), k.intermediate, 1e-9);
        EXPECT_NEAR(comp->Result(q::IntermediateBubbleTemp), k.intermediate, 1e-3);

        // The liquid reaches the evaporator at the economiser outlet.
        const double m = comp->Result(q::MassFlow) / 1000;
        const double ps = comp->Result(q::SuctionPressure);
        EXPECT_NEAR(comp->Result(q::CoolingCapacity),
                    m * (r134a.VapourEnthalpy(ps, 0.0) - r134a.LiquidEnthalpy(0, k.liquidOut)),
                    1e-9);
        // Economiser duty and injection flow are never negative: the economiser evaporates
        // liquid only when the condenser's liquid is warmer than the intermediate state plus
        // the approach.
        const double duty = m * (r134a.LiquidEnthalpy(0, k.tc - k.subcooling) -
                                 r134a.LiquidEnthalpy(0, k.liquidOut));
        EXPECT_NEAR(comp->Result(q::EconomiserCapacity), std::max(duty, 0.0), 1e-9);
        if (k.tc - k.subcooling > k.intermediate + 5) {
            EXPECT_GT(comp->Result(q::InjectionMassFlow), 0.0);
        } else {
            EXPECT_EQ(comp->Result(q::InjectionMassFlow), 0.0);
        }
    }
}

TEST_F(CompressorInjectionTest, HeatRejectionAndHeatingCapacityCountTheEconomiser) {
    auto comp = Compressor(r134a, &Build(Injection()));
    ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40, 15, 2), ActivityMode::Compressors), st::Valid);
    const double m = comp->Result(q::MassFlow) / 1000;
    const double pd = comp->Result(q::DischargePressure);
    const double hDischarge = r134a.VapourEnthalpy(pd, comp->Result(q::DischargeTemp));
    const double liquidOut = comp->Result(q::LiquidTemp);
    EXPECT_NEAR(liquidOut, 23.0, 1e-9);
    const double duty = m * (r134a.LiquidEnthalpy(0, 38) - r134a.LiquidEnthalpy(0, liquidOut));
    EXPECT_NEAR(comp->Result(q::EconomiserCapacity), duty, 1e-9);
    EXPECT_NEAR(comp->Result(q::HeatRejection),
                m * (hDischarge - r134a.LiquidEnthalpy(0, 40)) + duty, 1e-9);
    EXPECT_NEAR(comp->Result(q::HeatingCapacity),
                m * (hDischarge - r134a.LiquidEnthalpy(0, liquidOut)), 1e-9);
}

TEST_F(CompressorInjectionTest, OnlyInjectionAboveTheRatedFlowCostsPower) {
    auto comp = Compressor(r134a, &Build(Injection()));
    const double XB = PolynomialValue(kPower, -10, 40);
    const double XC = PolynomialValue(kCurrent, -10, 40);
    OperatingConditions c = Point(r134a, -10, 40);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::PowerInput), XB, 1e-9);
    EXPECT_NEAR(comp->Result(q::Current), XC, 1e-9);
    const double ratedInjection = comp->Result(q::InjectionMassFlow) / 1000;
    ASSERT_GT(ratedInjection, 0.0);

    struct Case {
        const char* name;
        int mode;
        double economiserValue;  // subcooling (mode 2) or liquid outlet (mode 1)
        double G, vapourSuperheat;
        bool more;
    };
    for (const Case k : {Case{"colder economiser outlet", 2, 20.0, 15.0, 7.0, true},
                         Case{"warmer economiser outlet", 1, 32.0, 27.0, 7.0, false}}) {
        SCOPED_TRACE(k.name);
        c.economiserMode = k.mode;
        c.economiserSubcooling = k.economiserValue;
        c.economiserLiquidTemp = k.economiserValue;
        c.vapourOutletSuperheat = k.vapourSuperheat;
        ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
        EXPECT_NEAR(comp->Result(q::IntermediateSatTemp), k.G, 1e-9);
        const double injection = comp->Result(q::InjectionMassFlow) / 1000;
        EXPECT_EQ(injection > ratedInjection, k.more);

        // Power of compressing the injected vapour from its state to the discharge pressure,
        // charged for the flow above the rated one.
        const double pd = comp->Result(q::DischargePressure);
        const double pi = r134a.DewPressure(k.G);
        const double Tv = k.G + k.vapourSuperheat;
        const double Tvi = r134a.IsentropicTemperature(pd, pi, k.G + 5, Tv);
        const double dh = r134a.VapourEnthalpy(pd, Tvi) - r134a.VapourEnthalpy(pi, Tv);
        const double P = comp->Result(q::PowerInput);
        EXPECT_NEAR(P, XB + (injection - ratedInjection) * 1.27 * dh, 1e-9);
        EXPECT_EQ(P > XB, k.more);
        EXPECT_NEAR(comp->Result(q::Current) / XC, P / XB, 1e-12);  // current scales with power
    }
}

TEST_F(CompressorInjectionTest, InjectionKindsOfTheBaseModelsChargeTheirPowerFactor) {
    auto none = Compressor(r134a, &Build(Injection(12).InjectionPowerFactor(0.0)));
    auto charged = Compressor(r134a, &Build(Injection(12).InjectionPowerFactor(0.8)));
    const OperatingConditions c = Point(r134a, -10, 40);
    ASSERT_EQ(none->Evaluate(c, ActivityMode::Compressors), st::Valid);
    ASSERT_EQ(charged->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(none->Result(q::PowerInput), PolynomialValue(kPower, -10, 40), 1e-12);

    const double mi = charged->Result(q::InjectionMassFlow) / 1000;
    const double pd = charged->Result(q::DischargePressure);
    const double pi = r134a.DewPressure(20);
    const double Tvi = r134a.IsentropicTemperature(pd, pi, 25, 25);
    const double dh = r134a.VapourEnthalpy(pd, Tvi) - r134a.VapourEnthalpy(pi, 25);
    EXPECT_NEAR(charged->Result(q::PowerInput), none->Result(q::PowerInput) + 0.8 * mi * dh, 1e-9);
}

TEST_F(CompressorInjectionTest, IsentropicEfficiencyCountsTheInjectedVapour) {
    auto comp = Compressor(r134a, &Build(Injection()));
    ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40), ActivityMode::Compressors), st::Valid);
    const double m = comp->Result(q::MassFlow) / 1000;
    const double mi = comp->Result(q::InjectionMassFlow) / 1000;
    const double ps = comp->Result(q::SuctionPressure), pd = comp->Result(q::DischargePressure);
    const double hSuction = r134a.VapourEnthalpy(ps, 0);
    const double hIs = r134a.VapourEnthalpy(pd, r134a.IsentropicTemperature(pd, ps, 25, 0));
    const double pi = r134a.DewPressure(20);
    const double hGi = r134a.VapourEnthalpy(pd, r134a.IsentropicTemperature(pd, pi, 25, 20));
    const double Pis = m * (hIs - hSuction) + mi * (hGi - r134a.VapourEnthalpy(pi, 20));
    EXPECT_NEAR(comp->Result(q::IsentropicEfficiency), 100 * Pis / comp->Result(q::PowerInput),
                1e-6);
}

TEST_F(CompressorInjectionTest, MassFlowDataGiveTheIntermediateTemperatureInEachUnit) {
    // Block D is the mass flow of the rating: the one at which the rated capacity leaves the
    // economiser at 25 degC, i.e. an intermediate temperature of 20 degC.
    const double ps = r134a.DewPressure(-10), pd = r134a.DewPressure(40);
    const double Q = PolynomialValue(kCapacity, -10, 40);
    const double m = Q / (r134a.VapourEnthalpy(ps, 0.0) - r134a.LiquidEnthalpy(pd, 25.0));
    struct Case {
        std::uint16_t unit;
        double perKgPerSecond;
    };
    for (const Case k : {Case{0, 1.0}, Case{1, 1 / 0.000126}, Case{2, 1000.0}}) {
        SCOPED_TRACE(k.unit);
        auto comp = Compressor(
            r134a, &Build(Set(rating_kind::InjectionMassFlow)
                              .MassFlowUnit(k.unit)
                              .Coefficients(CoefficientBlock::D,
                                            {m * k.perKgPerSecond, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
        ASSERT_EQ(comp->Evaluate(Point(r134a, -10, 40), ActivityMode::Compressors), st::Valid);
        EXPECT_NEAR(comp->Result(q::IntermediateSatTemp), 20.0, 1e-4);
        EXPECT_NEAR(comp->Result(q::CoolingCapacity), Q, 1e-3);
    }
}

TEST_F(CompressorInjectionTest, BlendsTakeTheIntermediateStateOnTheirOwnBasis) {
    // Dew-point data of a mid-point blend: G (20 degC dew) is taken as a mid-point value; the
    // economiser liquid leaves 5 K above the bubble point, which lies as far below the mid point
    // as the dew point above it.
    auto comp = Compressor(r407c, &Build(Injection().DataFlags(4)));
    const OperatingConditions c = Point(r407c, -10, 40);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const double G = comp->Result(q::IntermediateSatTemp);
    EXPECT_LT(G, 20.0);
    EXPECT_GT(G, 15.0);
    EXPECT_NEAR(comp->Result(q::LiquidTemp), (2 * G - 20.0) + 5, 1e-9);
    EXPECT_LT(comp->Result(q::IntermediateBubbleTemp), G);
    EXPECT_LT(comp->Result(q::InjectionTemp), G);

    // Mid-point data of a dew-point blend: G is taken as a dew-point value.
    auto dew = Compressor(r404a, &Build(Injection()));
    ASSERT_EQ(dew->Evaluate(Point(r404a, -10, 40), ActivityMode::Compressors), st::Valid);
    EXPECT_GT(dew->Result(q::IntermediateSatTemp), 20.0);
    EXPECT_LT(dew->Result(q::IntermediateSatTemp), 21.0);
}

TEST_F(CompressorInjectionTest, LiquidLineRiseWarmsTheLiquidAfterTheEconomiser) {
    auto comp = Compressor(r134a, &Build(Injection()));
    OperatingConditions c = Point(r134a, -10, 40);
    c.advanced = true;
    c.liquidLineTempRise = 4;
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::LiquidTemp), 25.0, 1e-9);  // at the economiser outlet
    const double m = comp->Result(q::MassFlow) / 1000;
    const double ps = comp->Result(q::SuctionPressure);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity),
                m * (r134a.VapourEnthalpy(ps, 0.0) - r134a.LiquidEnthalpy(0, 29.0)), 1e-9);
    c.advanced = false;  // the rise counts only with the advanced input
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity),
                m * (r134a.VapourEnthalpy(ps, 0.0) - r134a.LiquidEnthalpy(0, 25.0)), 1e-9);
}

TEST_F(CompressorInjectionTest, UsefulSuperheatRatioFromTheInjectionModelsOwnLiquid) {
    auto comp = Compressor(r134a, &Build(Injection()));
    OperatingConditions c = Point(r134a, -10, 40, 20);
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const double all = comp->Result(q::CoolingCapacity);
    const double ps = comp->Result(q::SuctionPressure);
    c.usefulAll = false;
    c.usefulSuperheat = 10;
    c.capacityRatio = 5;  // the conditions' ratio is for models without injection
    ASSERT_EQ(comp->Evaluate(c, ActivityMode::Compressors), st::Valid);
    const double hl = r134a.LiquidEnthalpy(0, 25);
    const double r = (r134a.VapourEnthalpy(ps, 10) - hl) / (r134a.VapourEnthalpy(ps, 0) - hl);
    EXPECT_GT(r, 1.0);
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), all / r, 1e-9);
}

}  // namespace
}  // namespace kelvra::testing
