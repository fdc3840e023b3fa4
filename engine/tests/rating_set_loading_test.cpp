// The finishing steps the loader applies to a rating data set: envelope points stamped and
// handed out, incomplete envelopes removed, special-limit envelopes kept, speed data attached,
// and what a compressor's family and refrigerant change on its set A.

#include "rating_set_loading.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "rating_set_builder.hpp"

namespace kelvra {
namespace {

TenvPoint MakePoint(std::uint16_t set, std::uint8_t number, std::uint16_t speed, bool minimumSide,
                    float x, float y) {
    TenvPoint p;
    p.setIndex = set;
    p.envelopeNumber = number;
    p.speed = speed;
    p.minimumSide = minimumSide;
    p.x = x;
    p.y = y;
    return p;
}

TEST(TenvPoint, FromItsRow) {
    const TenvPoint written = MakePoint(812, 3, 2400, false, -12.5f, 47.25f);
    const TenvPoint read(EnvelopePointRecord(written));
    EXPECT_EQ(read.setIndex, 812);
    EXPECT_EQ(read.envelopeNumber, 3);
    EXPECT_EQ(read.speed, 2400);
    EXPECT_FALSE(read.minimumSide);
    EXPECT_EQ(read.x, -12.5f);
    EXPECT_EQ(read.y, 47.25f);
    EXPECT_EQ(read.basis, 'N');

    // Any side value other than 0 is the right line.
    auto row = EnvelopePointRecord(written);
    PutI16(row, 3, -1);
    EXPECT_FALSE(TenvPoint(row).minimumSide);
    PutI16(row, 3, 0);
    EXPECT_TRUE(TenvPoint(row).minimumSide);
}

TEST(TenvPoint, UnusedCoordinates) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float x, y;
        bool usable;
    } cases[] = {
        {-10, 40, true},   {-98.9f, 40, true}, {-99, 40, false},  {-10, -99, false},
        {-150, 40, false}, {nan, 40, false},   {-10, nan, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakePoint(1, 0, 0, true, c.x, c.y).HasUsableCoordinates(), c.usable)
            << c.x << ", " << c.y;
    }
}

TEST(EnvelopePositionOfPoint, VariableSpeedPointsGoToOddPositions) {
    const struct {
        std::uint8_t number;
        std::uint16_t speed;
        int position;
    } cases[] = {
        {0, 1800, 1}, {1, 1200, 1}, {2, 1800, 3}, {3, 4800, 3}, {4, 1800, 5},  {5, 900, 5},
        {0, 0, 1},    {1, 0, 2},    {5, 0, 6},    {6, 0, 7},    {255, 0, 256}, {255, 1, 255},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EnvelopePositionOfPoint(MakePoint(1, c.number, c.speed, true, 0, 0)), c.position)
            << int{c.number} << " " << c.speed;
    }
}

TEST(DistributeEnvelopePoints, StampsAndHandsOutTheSetsPoints) {
    for (const bool dew : {true, false}) {
        TcrateObj set(RatingSetBuilder(7)
                          .EnvelopePointsDewBased(dew)
                          .Envelope(1, 1, {}, {})
                          .Envelope(3, 1, {}, {})
                          .Record());
        std::vector<TenvPoint> points = {
            MakePoint(7, 0, 0, true, -30, 20), MakePoint(7, 0, 0, false, 10, 20),
            MakePoint(6, 0, 0, true, -35, 20),  // another set: untouched
            MakePoint(7, 2, 0, true, -25, 25),  // envelope 3
            MakePoint(7, 1, 0, true, -25, 25),  // envelope 2 does not exist: dropped
            MakePoint(7, 9, 0, true, -25, 25),  // no position 10: dropped
            MakePoint(7, 0, 0, true, -30, 50),
        };
        EXPECT_EQ(DistributeEnvelopePoints(set, points), 4);
        const char basis = dew ? 'D' : 'M';
        EXPECT_EQ(points[0].basis, basis);
        EXPECT_EQ(points[4].basis, basis);  // stamped although dropped
        EXPECT_EQ(points[2].basis, 'N');
        ASSERT_EQ(set.Envelope(1)->LeftLine().size(), 2u);
        EXPECT_EQ(set.Envelope(1)->LeftLine()[1], &points[6]);  // load order
        EXPECT_EQ(set.Envelope(1)->RightLine().size(), 1u);
        EXPECT_EQ(set.Envelope(3)->LeftLine().size(), 1u);
    }
}

TEST(DistributeEnvelopePoints, VariableSpeedPointsReachTheirLevels) {
    TcrateObj set(RatingSetBuilder(8).NominalSpeed(3000).Byte(430, 1).Byte(434, 1).Record());
    std::vector<TenvPoint> points = {
        MakePoint(8, 0, 1800, true, -30, 20), MakePoint(8, 0, 1800, false, 10, 20),
        MakePoint(8, 1, 4800, true, -20, 20), MakePoint(8, 1, 1200, true, -20, 20),
        MakePoint(8, 3, 4800, true, -20, 20),  // envelope 3's level
        MakePoint(8, 4, 1800, true, -20, 20),  // position 5: none
    };
    EXPECT_EQ(DistributeEnvelopePoints(set, points), 5);
    const auto* first = dynamic_cast<const TVSenvelope*>(set.Envelope(1));
    const auto* third = dynamic_cast<const TVSenvelope*>(set.Envelope(3));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(first->BaseSpeed(), 1800);
    EXPECT_EQ(first->SpeedLevels().size(), 2u);
    EXPECT_EQ(first->LowestSpeed(), 1200);
    EXPECT_EQ(first->HighestSpeed(), 4800);
    EXPECT_EQ(third->SpeedLevels().size(), 1u);
    EXPECT_TRUE(third->LeftLine().empty());
}

class RemoveIncomplete : public ::testing::Test {
  protected:
    RemoveIncomplete() {
        data.AddEnvelopeType(1, 1, 10);
        data.AddEnvelopeType(5, 5, 10, false, "Max. power");
        data.AddEnvelopeType(7, 7, 10, false, "Extended");
    }
    RatingDataFixture data;
};

TEST_F(RemoveIncomplete, OrdinaryEnvelopes) {
    const std::vector<EnvelopeCorner> left = {{-30, 20}, {-30, 50}};
    const std::vector<EnvelopeCorner> right = {{10, 20}, {10, 50}};
    TcrateObj& set = data.Build(RatingSetBuilder(1)
                                    .Envelope(1, 1, left, right)  // complete: kept
                                    .Envelope(2, 9, left, right)  // unknown type: freed
                                    .Envelope(3, 5, left, {})     // maximum-power line
                                    .Envelope(4, 7, left, {})     // extended envelope
                                    .Envelope(5, 1, left, {})     // kind 1, no right: freed
                                    .Envelope(6, 5, {}, right));  // kind 5, no left: freed
    ASSERT_NE(set.Envelope(1), nullptr);
    EXPECT_EQ(set.Envelope(1)->type, data.FindEnvelopeType(1));
    EXPECT_EQ(set.EnvelopeId(1), 1);
    for (int position = 2; position <= 6; ++position) {
        EXPECT_EQ(set.Envelope(position), nullptr) << position;
        EXPECT_EQ(set.EnvelopeId(position), 0) << position;  // cleared in the record too
    }
    const Tenvelope* maxPower = set.SpecialLimitEnvelope(1);
    const Tenvelope* extended = set.SpecialLimitEnvelope(2);
    ASSERT_NE(maxPower, nullptr);
    ASSERT_NE(extended, nullptr);
    EXPECT_EQ(maxPower->typeId, 5);  // still names its type, for the plot's legend
    EXPECT_EQ(extended->type->name, "Extended");
    EXPECT_EQ(extended->LeftLine().size(), 2u);
}

TEST_F(RemoveIncomplete, VariableSpeedEnvelopes) {
    const std::vector<EnvelopeCorner> left = {{-30, 20}, {-30, 50}};
    const std::vector<EnvelopeCorner> right = {{10, 20}, {10, 50}};
    TcrateObj& set = data.Build(RatingSetBuilder(2)
                                    .NominalSpeed(3000)
                                    .SpeedEnvelope(1, 1, 1800, left, right)
                                    .SpeedEnvelope(3, 5, 1800, left, {})  // no right line: freed
                                    .SpeedEnvelope(5, 9, 1800, left, right));  // unknown type
    ASSERT_NE(set.Envelope(1), nullptr);
    EXPECT_EQ(set.Envelope(3), nullptr);
    EXPECT_EQ(set.EnvelopeId(3), 0);
    EXPECT_EQ(LoadU16(set.Record().data() + 434), 0);
    EXPECT_EQ(set.SpecialLimitEnvelope(1), nullptr);  // only ordinary envelopes become limits
    // A complete variable-speed envelope stays even when its type is unknown; the check skips it.
    ASSERT_NE(set.Envelope(5), nullptr);
    EXPECT_EQ(set.Envelope(5)->type, nullptr);
    EXPECT_EQ(set.EnvelopeId(5), 9);
    EXPECT_EQ(CheckEnvelope(set, 2000, 5, 0, 0, 35, -10), 0);
    EXPECT_EQ(CheckEnvelope(set, 2000, 5, 0, 0, 35, -35), model_status::EvapTooLow);
}

TEST_F(RemoveIncomplete, UnusablePointsAreNotLoaded) {
    TcrateObj& set = data.Build(RatingSetBuilder(3).Envelope(
        1, 1, {{-30, 20}, {-99, 35}, {-30, 50}}, {{10, -120}, {10, 20}, {10, 50}}));
    ASSERT_NE(set.Envelope(1), nullptr);
    EXPECT_EQ(set.Envelope(1)->LeftLine().size(), 2u);
    EXPECT_EQ(set.Envelope(1)->RightLine().size(), 2u);
}

TEST(AttachVariableSpeedRecord, InverterDataSwitchesToSpeedBands) {
    RatingDataFixture data;
    data.AddEnvelopeType(1, 1, 10);
    TcrateObj& set =
        data.Build(RatingSetBuilder(4)
                       .NominalSpeed(3000)
                       .SpeedEnvelope(1, 1, 1800, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}})
                       .SpeedEnvelope(3, 1, 1800, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}}));
    ASSERT_TRUE(set.Envelope(1)->speedInterpolation);
    EXPECT_EQ(VariableSpeedRecordIndex(SpeedDataRecord(4, 1, {})), 4);

    std::array<double, 40> values{};
    values[0] = 3.5;
    AttachVariableSpeedRecord(set, SpeedDataRecord(4, 1, values));
    ASSERT_NE(set.SpeedPolynomials(), nullptr);
    EXPECT_EQ(set.SpeedPolynomials()->Coefficient(1, 1), 3.5);
    EXPECT_EQ(set.Inverter(), nullptr);
    EXPECT_TRUE(set.Envelope(1)->speedInterpolation);

    values[0] = 7;
    AttachVariableSpeedRecord(set, SpeedDataRecord(4, 64, values));
    ASSERT_NE(set.Inverter(), nullptr);
    EXPECT_EQ(set.Inverter()->Coefficient(1), 7);
    for (const int position : {1, 3}) {
        EXPECT_FALSE(set.Envelope(position)->speedInterpolation) << position;
        EXPECT_TRUE(set.Envelope(position)->speedBands) << position;
    }
    EXPECT_NE(set.SpeedPolynomials(), nullptr);  // both kinds of data may be present

    EXPECT_THROW(AttachVariableSpeedRecord(set, std::vector<std::uint8_t>(323)), RecordError);
}

TEST(AttachVariableSpeedRecord, FixedSpeedEnvelopesWithBandsKeepThePlainTest) {
    // Inverter data on a set without variable-speed envelopes marks its envelopes as well; they
    // have no speed levels, so the check tests them as they are.
    RatingDataFixture data;
    data.AddEnvelopeType(1, 1, 10);
    TcrateObj& set = data.Build(RatingSetBuilder(5)
                                    .Envelope(1, 1, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}})
                                    .InverterPolynomials({}));
    ASSERT_TRUE(set.Envelope(1)->speedBands);
    EXPECT_EQ(CheckEnvelope(set, 4000, 5, 0, 0, 35, -10), 0);
    EXPECT_EQ(CheckEnvelope(set, 4000, 5, 0, 0, 55, -10), model_status::CondTooHigh);
}

TEST(FinishSetForCompressor, VolumetricEfficiencyScaleDefault) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::int32_t refrigerant, family;
        float scale, expected;
    } cases[] = {
        {5, 8, 0, 1.2f},    {5, 9, 0, 1.2f},   {5, 12, 0.05f, 1.2f}, {5, 13, -1, 1.2f},
        {5, 10, 0, 1.0f},   {4, 8, 0, 1.0f},   {5, 8, 0.1f, 0.1f},   {5, 8, 0.8f, 0.8f},
        {3, 1, 1.1f, 1.1f}, {5, 8, nan, 1.2f}, {2, 2, nan, 1.0f},
    };
    for (const auto& c : cases) {
        TcrateObj set(RatingSetBuilder().VolumetricEfficiencyScale(c.scale).Record());
        FinishSetForCompressor(set, c.refrigerant, c.family);
        EXPECT_EQ(set.VolumetricEfficiencyScale(), c.expected)
            << c.refrigerant << " " << c.family << " " << c.scale;
    }
}

TEST(FinishSetForCompressor, Family67LimitsAndOthersUntouched) {
    for (const std::int32_t family : {67, 66}) {
        TcrateObj set(RatingSetBuilder()
                          .MotorPowerLimit(12)
                          .MaxDischargeTemp(140)
                          .VolumetricEfficiencyScale(1)
                          .Record());
        FinishSetForCompressor(set, 3, family);
        EXPECT_EQ(set.MotorPowerLimit(), family == 67 ? 0 : 12);
        EXPECT_EQ(set.MaxDischargeTemp(), family == 67 ? 1120 : 140);
    }
}

TEST(FinishSetForCompressor, PressureAxisForTechnologyCode10) {
    RatingDataFixture data;
    data.AddEnvelopeType(1, 1, 10);
    data.AddEnvelopeType(5, 5, 10);
    for (const int technology : {10, 9}) {
        TcrateObj& set =
            data.Build(RatingSetBuilder(static_cast<std::uint16_t>(technology))
                           .TechnologyCode(technology)
                           .Envelope(1, 1, {{-40, 40}, {-40, 120}}, {{0, 40}, {0, 120}})
                           .Envelope(2, 1, {{-40, 40}, {-40, 100}}, {{-5, 40}, {-5, 100}})
                           .Envelope(3, 5, {{-40, 40}, {-20, 110}}, {})
                           .ForCompressor(10, 40));
        const bool axis = technology == 10;
        EXPECT_EQ(set.Envelope(1)->pressureAxis, axis);
        EXPECT_EQ(set.Envelope(2)->pressureAxis, axis);
        ASSERT_NE(set.SpecialLimitEnvelope(1), nullptr);
        EXPECT_EQ(set.SpecialLimitEnvelope(1)->pressureAxis, axis);
    }
}

}  // namespace
}  // namespace kelvra
