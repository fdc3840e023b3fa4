// Part-load steps of the compressor: blending two rating sets at a load between their steps,
// loads without data, and the search for the load that meets a required capacity.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "compressor.hpp"
#include "compressor_fixture.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;
namespace st = model_status;

constexpr QuantityCode kBlended[] = {
    q::CoolingCapacity,      q::PowerInput, q::Current,       q::VolumetricEfficiency,
    q::IsentropicEfficiency, q::MassFlow,   q::HeatRejection, q::DischargeTemp,
    q::HeatingCapacity,      q::PowerFactor};

class CompressorLoadTest : public CompressorFixture {
  protected:
    // A load step delivering `share` of the full-load capacity for `powerShare` of its power.
    RatingSetBuilder Step(double share, double powerShare) {
        return Set(rating_kind::EN12900)
            .Coefficients(CoefficientBlock::A, Scaled(kCapacity, share))
            .Coefficients(CoefficientBlock::B, Scaled(kPower, powerShare))
            .Coefficients(CoefficientBlock::C, Scaled(kCurrent, powerShare));
    }

    // The results of one rating set alone at the point.
    ResultVector StepResults(TComp& comp, TcrateObj* set, const OperatingConditions& c) {
        EXPECT_GE(comp.EvaluateStep(c, set, 1.0), 0);
        return comp.Results();
    }

    const OperatingConditions point = Point(r134a, -10, 40, 20, 3);
};

struct BlendCase {
    std::int32_t load;
    int lower, upper;  // 0 = set A, 1 = B, 2 = C; -1: no blend
    double phi;
};

void ExpectBlend(const TComp& comp, const ResultVector& lower, const ResultVector& upper,
                 double phi) {
    for (const QuantityCode code : kBlended)
        EXPECT_NEAR(comp.Result(code), lower[code] + (upper[code] - lower[code]) * phi,
                    1e-9 * (1 + std::fabs(upper[code])))
            << "result " << code;
    EXPECT_NEAR(comp.Result(q::COP), comp.Result(q::CoolingCapacity) / comp.Result(q::PowerInput),
                1e-12);
}

TEST_F(CompressorLoadTest, ThreeStepModelBlendsNeighbouringSteps) {
    TcrateObj* sets[] = {&Build(Step(1.0, 1.0)), &Build(Step(0.66, 0.72)),
                         &Build(Step(0.33, 0.45))};
    auto comp = Compressor(r134a, sets[0], sets[1], sets[2]);
    const ResultVector alone[] = {StepResults(*comp, sets[0], point),
                                  StepResults(*comp, sets[1], point),
                                  StepResults(*comp, sets[2], point)};

    const std::vector<BlendCase> cases = {
        {100, 0, 0, 0.0},
        {99, 1, 0, (99 - 66.66) / 33.33},
        {80, 1, 0, (80 - 66.66) / 33.33},
        {67, 1, 0, (67 - 66.66) / 33.33},
        {66, 2, 1, (66 - 33.33) / 33.33},
        {50, 2, 1, (50 - 33.33) / 33.33},
        {34, 2, 1, (34 - 33.33) / 33.33},
        {33, 2, 2, 0.0},
    };
    for (const BlendCase& k : cases) {
        SCOPED_TRACE(k.load);
        comp->SetLoad(k.load);
        ASSERT_EQ(comp->Evaluate(point, ActivityMode::Compressors), st::Valid);
        ExpectBlend(*comp, alone[k.lower], alone[k.upper], k.phi);
        EXPECT_EQ(comp->Result(q::Load), k.load);
        EXPECT_NEAR(comp->Result(q::Displacement), kDisplacement * 3600, 1e-12);
    }
    // Half load lies about half-way between the 33 % and the 66 % step.
    comp->SetLoad(50);
    comp->Evaluate(point, ActivityMode::Compressors);
    const double mid = (alone[1][q::CoolingCapacity] + alone[2][q::CoolingCapacity]) / 2;
    EXPECT_NEAR(comp->Result(q::CoolingCapacity), mid, 0.01 * mid);
}

TEST_F(CompressorLoadTest, LoadsBelowTheLowestStepHaveNoData) {
    TcrateObj* a = &Build(Step(1.0, 1.0));
    TcrateObj* b = &Build(Step(0.5, 0.6));
    auto twoSteps = Compressor(r134a, a, b);
    auto threeSteps = Compressor(r134a, a, &Build(Step(0.66, 0.72)), &Build(Step(0.33, 0.45)));
    struct Case {
        TComp* comp;
        std::int32_t load;
    };
    for (const Case k :
         {Case{twoSteps.get(), 49}, Case{twoSteps.get(), 40}, Case{twoSteps.get(), 0},
          Case{threeSteps.get(), 32}, Case{threeSteps.get(), -5}}) {
        SCOPED_TRACE(k.load);
        k.comp->SetLoad(100);
        ASSERT_EQ(k.comp->Evaluate(point, ActivityMode::Compressors), st::Valid);
        k.comp->SetLoad(k.load);
        EXPECT_EQ(k.comp->Evaluate(point, ActivityMode::Compressors), st::NoLoadStepData);
        EXPECT_EQ(k.comp->Status(), st::NoLoadStepData);
        for (int code = 1; code < kResultCount; ++code)
            EXPECT_EQ(k.comp->Result(code), 0.0) << code;
    }
}

TEST_F(CompressorLoadTest, TwoStepModelBlendsBetweenHalfAndFullLoad) {
    TcrateObj* a = &Build(Step(1.0, 1.0));
    TcrateObj* b = &Build(Step(0.5, 0.6));
    auto comp = Compressor(r134a, a, b);
    const ResultVector full = StepResults(*comp, a, point);
    const ResultVector half = StepResults(*comp, b, point);
    for (const std::int32_t load : {50, 75, 99}) {
        SCOPED_TRACE(load);
        comp->SetLoad(load);
        ASSERT_EQ(comp->Evaluate(point, ActivityMode::Compressors), st::Valid);
        ExpectBlend(*comp, half, full, (load - 50.0) / 50.0);
    }
}

TEST_F(CompressorLoadTest, BlendTakesTheStatusOfItsEvaluations) {
    // The 50 % step is only inside an envelope of preliminary data; the full-load step inside a
    // normal one.
    TcrateObj* a = &Build(Step(1.0, 1.0));
    TcrateObj* preliminary = &Build(Set(rating_kind::EN12900, kPreliminaryType));
    auto comp = Compressor(r134a, a, preliminary);
    comp->SetLoad(75);
    EXPECT_EQ(comp->Evaluate(point, ActivityMode::Compressors), st::Valid);  // the last one's

    auto reversed = Compressor(r134a, preliminary, a);
    reversed->SetLoad(75);
    EXPECT_EQ(reversed->Evaluate(point, ActivityMode::Compressors), st::PreliminaryData);

    // A lower step outside its envelope ends the blend with its status.
    TcrateObj* narrow =
        &Build(Bare(rating_kind::EN12900)
                   .Envelope(1, kNormalType, {{-50, -10}, {-50, 30}}, {{20, -10}, {20, 30}}));
    auto failing = Compressor(r134a, a, narrow);
    failing->SetLoad(75);
    EXPECT_EQ(failing->Evaluate(point, ActivityMode::Compressors), st::CondTooHigh);
    EXPECT_EQ(failing->Result(q::CoolingCapacity), 0.0);
    failing->SetLoad(100);
    EXPECT_EQ(failing->Evaluate(point, ActivityMode::Compressors), st::Valid);

    // A failing upper step fails the blend as well.
    auto upperFails = Compressor(r134a, narrow, a);
    upperFails->SetLoad(75);
    EXPECT_EQ(upperFails->Evaluate(point, ActivityMode::Compressors), st::CondTooHigh);
}

TEST_F(CompressorLoadTest, SolveLoadFindsTheStepOrBlendThatMeetsTheRequirement) {
    TcrateObj* a = &Build(Step(1.0, 1.0));
    TcrateObj* b66 = &Build(Step(0.66, 0.72));
    TcrateObj* c33 = &Build(Step(0.33, 0.45));
    TcrateObj* b50 = &Build(Step(0.5, 0.6));
    auto three = Compressor(r134a, a, b66, c33);
    auto two = Compressor(r134a, a, b50);
    auto single = Compressor(r134a, a);
    const double QA = StepResults(*three, a, point)[q::CoolingCapacity];
    const double QB = StepResults(*three, b66, point)[q::CoolingCapacity];
    const double QC = StepResults(*three, c33, point)[q::CoolingCapacity];
    const double Q50 = StepResults(*two, b50, point)[q::CoolingCapacity];

    struct Case {
        const char* name;
        TComp* comp;
        double required;
        std::int32_t expected;
    };
    const auto between = [](double hi, double lo, double share) { return lo + (hi - lo) * share; };
    const std::vector<Case> cases = {
        {"more than full load", three.get(), QA * 1.2, 100},
        {"full load exactly", three.get(), QA, 100},
        {"the 66 % step exactly", three.get(), QB, 67},
        {"between 66 % and full", three.get(), between(QA, QB, 0.4),
         static_cast<std::int32_t>(
             std::lround(100 - (QA - between(QA, QB, 0.4)) * 33.333 / (QA - QB)))},
        {"between 33 % and 66 %", three.get(), between(QB, QC, 0.25),
         static_cast<std::int32_t>(
             std::lround(66.667 - (QB - between(QB, QC, 0.25)) * 33.333 / (QB - QC)))},
        {"below the smallest step", three.get(), QC * 0.5, 33},
        {"two steps: below half load", two.get(), Q50 * 0.8, 50},
        {"two steps: between", two.get(), between(QA, Q50, 0.5),
         static_cast<std::int32_t>(
             std::lround(100 - (QA - between(QA, Q50, 0.5)) * 50 / (QA - Q50)))},
        {"two steps: more than full load", two.get(), QA * 2, 100},
        {"no load steps", single.get(), QA * 0.1, 100},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        OperatingConditions c = point;
        c.capacity = k.required;
        k.comp->SetLoad(100);
        EXPECT_EQ(k.comp->SolveLoad(c, ActivityMode::Compressors), k.expected);
        EXPECT_EQ(k.comp->Load(), k.expected);
    }
    // The load found delivers the requirement.
    OperatingConditions c = point;
    c.capacity = between(QA, QB, 0.4);
    three->SolveLoad(c, ActivityMode::Compressors);
    ASSERT_EQ(three->Evaluate(c, ActivityMode::Compressors), st::Valid);
    EXPECT_NEAR(three->Result(q::CoolingCapacity), c.capacity, 0.02 * c.capacity);
}

TEST_F(CompressorLoadTest, SolveLoadKeepsFullLoadWhenTheFullLoadStepFails) {
    TcrateObj* narrow =
        &Build(Bare(rating_kind::EN12900)
                   .Envelope(1, kNormalType, {{-50, -10}, {-50, 30}}, {{20, -10}, {20, 30}}));
    auto comp = Compressor(r134a, narrow, &Build(Step(0.5, 0.6)));
    OperatingConditions c = point;
    c.capacity = 0.1;
    EXPECT_EQ(comp->SolveLoad(c, ActivityMode::Compressors), 100);
}

}  // namespace
}  // namespace kelvra::testing
