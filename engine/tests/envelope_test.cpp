// Operating envelopes: the inside test, bounds, the extended envelope, speed levels and bands,
// and the compressor's envelope check on small hand-made polygons.

#include "envelope.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <limits>
#include <vector>

#include "model_status.hpp"
#include "rating_data.hpp"
#include "rating_set_builder.hpp"

namespace kelvra {
namespace {

namespace ms = model_status;

// An envelope with its own points.
struct Polygon {
    Polygon(const std::vector<EnvelopeCorner>& left, const std::vector<EnvelopeCorner>& right) {
        for (const auto& c : left) Add(c, true);
        for (const auto& c : right) Add(c, false);
    }
    void Add(EnvelopeCorner c, bool minimumSide) {
        TenvPoint& p = points.emplace_back();
        p.x = static_cast<float>(c.x);
        p.y = static_cast<float>(c.y);
        p.minimumSide = minimumSide;
        envelope.AddPoint(&p);
    }
    std::deque<TenvPoint> points;
    Tenvelope envelope{1, 0};
};

// A closed polygon held as one line, as the extended envelope is.
EnvelopeLine Line(std::deque<TenvPoint>& store, const std::vector<EnvelopeCorner>& corners) {
    EnvelopeLine line;
    for (const auto& c : corners) {
        TenvPoint& p = store.emplace_back();
        p.x = static_cast<float>(c.x);
        p.y = static_cast<float>(c.y);
        line.push_back(&p);
    }
    return line;
}

// Left line x = -30 from 20 to 50 degC, then in to -20 at 60; right line x = 10 up to 40, then
// in to 0 at 60.
const std::vector<EnvelopeCorner> kLeft = {{-30, 20}, {-30, 50}, {-20, 60}};
const std::vector<EnvelopeCorner> kRight = {{10, 20}, {10, 40}, {0, 60}};

TEST(InsideTest, EachSideAndTheTolerance) {
    const Polygon polygon(kLeft, kRight);
    const struct {
        double x, y;
        int code;
    } cases[] = {
        {-10, 40, envelope_code::Inside},
        {-10, 19.996, envelope_code::Inside},  // on the boundary within 0.005
        {-10, 19.99, envelope_code::Below},
        {-10, 10, envelope_code::Below},
        {-40, 10, envelope_code::Below},  // below comes before left
        {-10, 60.004, envelope_code::Inside},
        {-10, 60.01, envelope_code::Above},
        {-40, 70, envelope_code::Above},
        {-30.004, 30, envelope_code::Inside},
        {-30.01, 30, envelope_code::LeftOf},
        {-25.1, 55, envelope_code::LeftOf},  // left line at 55 degC: -25
        {-24.9, 55, envelope_code::Inside},
        {-30.01, 50, envelope_code::LeftOf},  // exactly at a point's y: that point's x
        {10.004, 30, envelope_code::Inside},
        {10.01, 30, envelope_code::RightOf},
        {5.1, 50, envelope_code::RightOf},  // right line at 50 degC: 5
        {4.9, 50, envelope_code::Inside},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(polygon.envelope.InsideTest('D', c.x, c.y), c.code) << c.x << ", " << c.y;
    }
}

TEST(InsideTest, SlopedAndVerticalEdges) {
    // Bottom edge from (-30, 20) up to (10, 30): 25 degC at -10 degC.
    const Polygon sloped({{-30, 20}, {-30, 50}}, {{10, 30}, {10, 50}});
    EXPECT_EQ(sloped.envelope.InsideTest('M', -10, 24.99), envelope_code::Below);
    EXPECT_EQ(sloped.envelope.InsideTest('M', -10, 24.996), envelope_code::Inside);
    // Top edge from (-30, 40) up to (10, 60): above 45 at -20 degC is too high.
    const Polygon top({{-30, 20}, {-30, 40}}, {{10, 20}, {10, 60}});
    EXPECT_EQ(top.envelope.InsideTest('M', -20, 45.01), envelope_code::Above);
    EXPECT_EQ(top.envelope.InsideTest('M', 5, 57), envelope_code::Inside);
    // Above the last left point the left line's last x holds.
    EXPECT_EQ(top.envelope.InsideTest('M', -20, 44), envelope_code::Inside);

    // Both first points at the same x: the bottom edge is the lower of the two.
    const Polygon vertical({{0, 20}, {0, 50}}, {{0, 25}, {0, 50}});
    EXPECT_EQ(vertical.envelope.InsideTest('N', 0, 22), envelope_code::Inside);
    EXPECT_EQ(vertical.envelope.InsideTest('N', 0, 19.9), envelope_code::Below);
}

TEST(InsideTest, LevelSegmentsGiveNoDivisionByZero) {
    // Left line starts with a level segment; a point just below it is still within tolerance.
    const Polygon polygon({{-30, 20}, {-25, 20}, {-25, 50}}, {{10, 20}, {10, 50}});
    const int code = polygon.envelope.InsideTest('N', -29, 19.997);
    EXPECT_EQ(code, envelope_code::Inside);
    EXPECT_EQ(polygon.envelope.InsideTest('N', -31, 19.997), envelope_code::LeftOf);
}

TEST(InsideTest, EmptyLineGivesMinusOne) {
    const Polygon noRight({{-30, 20}, {-30, 50}}, {});
    EXPECT_EQ(noRight.envelope.InsideTest('N', -10, 30), envelope_code::NoLines);
    const Polygon noLeft({}, {{10, 20}});
    EXPECT_EQ(noLeft.envelope.InsideTest('N', -10, 30), envelope_code::NoLines);
}

TEST(EnvelopeBounds, OwnAndAccumulated) {
    const Polygon a(kLeft, kRight);
    double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
    ASSERT_TRUE(a.envelope.Bounds(yMin, yMax, 'N', false, xMax, xMin));
    EXPECT_EQ(yMin, 20);
    EXPECT_EQ(yMax, 60);
    EXPECT_EQ(xMin, -30);
    EXPECT_EQ(xMax, 10);

    const Polygon b({{-40, 30}, {-35, 45}}, {{0, 25}, {15, 70}});
    ASSERT_TRUE(b.envelope.Bounds(yMin, yMax, 'N', true, xMax, xMin));
    EXPECT_EQ(yMin, 20);
    EXPECT_EQ(yMax, 70);
    EXPECT_EQ(xMin, -40);
    EXPECT_EQ(xMax, 15);

    // Without accumulation the values start again from the envelope.
    ASSERT_TRUE(b.envelope.Bounds(yMin, yMax, 'N', false, xMax, xMin));
    EXPECT_EQ(yMin, 25);
    EXPECT_EQ(xMin, -40);

    const Polygon empty({{-40, 30}}, {});
    yMin = 1, yMax = 2, xMax = 3, xMin = 4;
    EXPECT_FALSE(empty.envelope.Bounds(yMin, yMax, 'N', false, xMax, xMin));
    EXPECT_EQ(yMin, 1);
    EXPECT_EQ(xMin, 4);
}

// --- extended envelope ---

TEST(InsideExtendedEnvelope, ClosedPolygon) {
    std::deque<TenvPoint> store;
    // Lowest point (-40, 20), highest (0, 70); the chord between them splits the polygon.
    const EnvelopeLine line =
        Line(store, {{-40, 20}, {0, 20}, {15, 40}, {0, 70}, {-40, 70}, {-45, 40}});
    const struct {
        double x, y;
        bool inside;
    } cases[] = {
        {-10, 40, true},     // level with the point (15, 40) on its side
        {15, 40, true},      // that point itself
        {-24, 40, true},     // on the chord
        {5, 30, true},       // right side: boundary at 7.5 between (0, 20) and (15, 40)
        {10, 30, false},     // beyond it
        {-42, 40, true},     // left side, level with (-45, 40)
        {-46, 40, false},    // outside the x range
        {-41, 25, true},     // left side: boundary at -41.25 between (-40, 20) and (-45, 40)
        {-41.5, 25, false},  // beyond it
        {-10, 80, false},    // above the polygon
        {-10, 10, false},    // below it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InsideExtendedEnvelope(line, 'N', c.x, c.y), c.inside) << c.x << ", " << c.y;
    }
}

TEST(InsideExtendedEnvelope, TwoPointsOrFewerAreNeverInside) {
    std::deque<TenvPoint> store;
    EXPECT_FALSE(InsideExtendedEnvelope(Line(store, {}), 'N', 0, 0));
    EXPECT_FALSE(InsideExtendedEnvelope(Line(store, {{0, 0}, {10, 10}}), 'N', 5, 5));
    // A triangle: the chord's ends serve as neighbours on either side.
    const EnvelopeLine triangle = Line(store, {{0, 0}, {5, 5}, {0, 10}});
    EXPECT_TRUE(InsideExtendedEnvelope(triangle, 'N', 1, 2));
    EXPECT_FALSE(InsideExtendedEnvelope(triangle, 'N', 3, 2));
}

// --- the envelope check ---

// Envelope types of the check tests.
class EnvelopeCheck : public ::testing::Test {
  protected:
    EnvelopeCheck() {
        data.AddEnvelopeType(1, 1, 10.0f);  // normal, superheat limit 10 K (11.2 K)
        data.AddEnvelopeType(2, 2, 30.0f);  // not a normal kind
        data.AddEnvelopeType(3, 3, 30.0f);  // normal, part of the 3-or-4 group
        data.AddEnvelopeType(4, 4, 30.0f);
        data.AddEnvelopeType(10, 10, 30.0f);       // preliminary data
        data.AddEnvelopeType(17, 17, 30.0f);       // alone it refuses the point
        data.AddEnvelopeType(20, 1, 20.0f, true);  // return gas at most 20 degC
        data.AddEnvelopeType(21, 1, 5.0f);         // superheat limit 5 K (5.6 K)
        data.AddEnvelopeType(22, 1, 8.0f);         // superheat limit 8 K, counted as it is
        data.AddEnvelopeType(5, 5, 30.0f);         // maximum-power line
        data.AddEnvelopeType(7, 7, 30.0f);         // extended envelope
    }

    // A set whose envelopes (type ids, in positions 1, 2, ...) are all the square -30..10 degC
    // evaporating by 20..50 degC condensing.
    TcrateObj& SquareSet(std::vector<std::uint16_t> typeIds) {
        RatingSetBuilder builder(next++);
        int position = 1;
        for (const auto id : typeIds) {
            builder.Envelope(position++, id, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}});
        }
        return data.Build(builder);
    }

    RatingDataFixture data;
    std::uint16_t next = 1;
};

TEST_F(EnvelopeCheck, KindsOfTheContainingEnvelopes) {
    const struct {
        std::vector<std::uint16_t> types;
        ModelStatus status;
    } cases[] = {
        {{1}, 0},     {{2}, 1},      {{3}, 2},        {{4}, 3},     {{3, 4}, 2},
        {{10}, 4},    {{17}, -24},   {{17, 17}, -24}, {{17, 2}, 1}, {{1, 17}, 0},
        {{2, 10}, 0}, {{10, 10}, 4}, {{4, 2}, 1},
    };
    for (const auto& c : cases) {
        TcrateObj& set = SquareSet(c.types);
        EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 35, -10), c.status)
            << ::testing::PrintToString(c.types);
    }
}

TEST_F(EnvelopeCheck, SuperheatAndReturnGasLimits) {
    const struct {
        std::uint16_t type;
        double superheat, suctionGas;
        ModelStatus status;
    } cases[] = {
        {1, 3, -7, 0},
        {1, 11.2, 1.2, 0},
        {1, 11.3, 1.3, ms::SuctionGasTooHot},
        {21, 5.6, -4.4, 0},
        {21, 5.7, -4.3, ms::SuctionGasTooHot},
        {22, 8, -2, 0},
        {22, 8.1, -1.9, ms::SuctionGasTooHot},  // only 10 and 5 are widened
        {20, 30, 20, 0},                        // return-gas mode: the superheat does not count
        {20, 3, 20.1, ms::SuctionGasTooHot},
        {1, 2.99, -7, ms::SuperheatTooLow},  // before any envelope
        {20, 2.99, 0, ms::SuperheatTooLow},
    };
    for (const auto& c : cases) {
        TcrateObj& set = SquareSet({c.type});
        EXPECT_EQ(CheckEnvelope(set, 0, c.superheat, c.suctionGas, 0, 35, -10), c.status)
            << c.type << " " << c.superheat;
    }
    // Over the limit of one envelope but inside another within its limit: that one counts.
    TcrateObj& both = SquareSet({21, 1});
    EXPECT_EQ(CheckEnvelope(both, 0, 8, -2, 0, 35, -10), 0);
}

TEST_F(EnvelopeCheck, NotANumberIsNeverInside) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TcrateObj& superheatSet = SquareSet({1});
    TcrateObj& returnGasSet = SquareSet({20});
    EXPECT_EQ(CheckEnvelope(superheatSet, 0, nan, 0, 0, 35, -10), ms::SuperheatTooLow);
    EXPECT_EQ(CheckEnvelope(superheatSet, 0, 5, 0, 0, nan, -10), ms::OutsideEnvelope);
    EXPECT_EQ(CheckEnvelope(superheatSet, 0, 5, 0, 0, 35, nan), ms::OutsideEnvelope);
    EXPECT_EQ(CheckEnvelope(returnGasSet, 0, 5, nan, 0, 35, -10), ms::SuctionGasTooHot);
    EXPECT_EQ(superheatSet.Envelope(1)->InsideTest('N', nan, 35), envelope_code::NoLines);
}

TEST_F(EnvelopeCheck, OutsideBySide) {
    TcrateObj& set = SquareSet({1});
    const struct {
        double x, y;
        ModelStatus status;
    } cases[] = {
        {-10, 15, ms::CondTooLow},
        {-10, 55, ms::CondTooHigh},
        {-35, 35, ms::EvapTooLow},
        {15, 35, ms::EvapTooHigh},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, c.y, c.x), c.status) << c.x << ", " << c.y;
    }
}

TEST_F(EnvelopeCheck, LargestCodeOfSeveralEnvelopes) {
    // Envelope 1 is the square; envelope 2 lies above it (condensing 50..70 degC). A point right
    // of both at 40 degC: below envelope 2 (code 1) and right of envelope 1 (code 4) -> -1.
    TcrateObj& set = data.Build(RatingSetBuilder(90)
                                    .Envelope(1, 1, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}})
                                    .Envelope(2, 1, {{-30, 50}, {-30, 70}}, {{0, 50}, {0, 70}}));
    EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 40, 15), ms::EvapTooHigh);
    EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 60, -10), 0);
}

TEST_F(EnvelopeCheck, OnePointLeftLineIsIgnored) {
    TcrateObj& set =
        data.Build(RatingSetBuilder(91).Envelope(1, 1, {{-30, 20}}, {{10, 20}, {10, 50}}));
    ASSERT_NE(set.Envelope(1), nullptr);  // kept by the loader: both lines have points
    EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 20, -10), ms::OutsideEnvelope);
}

TEST_F(EnvelopeCheck, SetWithoutEnvelopes) {
    TcrateObj& set = SquareSet({});
    EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 35, -10), ms::OutsideEnvelope);
    double yMin = 7, yMax = 7, xMax = 7, xMin = 7;
    EXPECT_FALSE(CompressorEnvelopeBounds(&set, nullptr, nullptr, 100, yMin, yMax, xMax, xMin));
    EXPECT_EQ(yMin, 7);
    EXPECT_FALSE(CompressorEnvelopeBounds(nullptr, nullptr, nullptr, 100, yMin, yMax, xMax, xMin));
}

TEST_F(EnvelopeCheck, ExtendedEnvelopeGivesEight) {
    // The extended envelope (kind 7, one closed line) reaches 20 K further up than the square.
    TcrateObj& set =
        data.Build(RatingSetBuilder(92)
                       .Envelope(1, 1, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}})
                       .Envelope(2, 7, {{-30, 20}, {10, 20}, {10, 70}, {-30, 70}}, {}));
    ASSERT_NE(set.SpecialLimitEnvelope(2), nullptr);
    EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 60, -10), ms::ExtendedEnvelope);
    EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 75, -10), ms::CondTooHigh);
    // Over the superheat limit inside the square, but within the extended envelope.
    EXPECT_EQ(CheckEnvelope(set, 0, 20, 0, 0, 35, -10), ms::ExtendedEnvelope);
    // Inside the square within its limit: the square decides.
    EXPECT_EQ(CheckEnvelope(set, 0, 5, 0, 0, 35, -10), 0);
}

TEST_F(EnvelopeCheck, PressureAxisForTranscriticalCO2) {
    // Evaporating -40..0 degC, discharge pressure 40..120 bar.
    const auto builder = [](std::uint16_t index) {
        return RatingSetBuilder(index).TechnologyCode(10).Envelope(1, 1, {{-40, 40}, {-40, 120}},
                                                                   {{0, 40}, {0, 120}});
    };
    TcrateObj& co2 = data.Build(builder(93).ForCompressor(10, 1));
    ASSERT_TRUE(co2.Envelope(1)->pressureAxis);
    EXPECT_EQ(CheckEnvelope(co2, 0, 5, 0, 90, 30, -10), 0);
    EXPECT_EQ(CheckEnvelope(co2, 0, 5, 0, 130, 30, -10), ms::CondTooHigh);
    EXPECT_EQ(CheckEnvelope(co2, 0, 5, 0, 35, 30, -10), ms::CondTooLow);
    // Without the pressure axis the condensing temperature is tested instead.
    TcrateObj& plain = data.Build(builder(94));
    EXPECT_FALSE(plain.Envelope(1)->pressureAxis);
    EXPECT_EQ(CheckEnvelope(plain, 0, 5, 0, 90, 30, -10), ms::CondTooLow);
}

TEST_F(EnvelopeCheck, CompressorBoundsFollowTheLoad) {
    TcrateObj& a = data.Build(
        RatingSetBuilder(95).Envelope(1, 1, {{-30, 20}, {-30, 60}}, {{10, 20}, {10, 60}}));
    TcrateObj& b =
        data.Build(RatingSetBuilder(96).Envelope(1, 1, {{-20, 25}, {-20, 55}}, {{5, 25}, {5, 55}}));
    TcrateObj& c = data.Build(RatingSetBuilder(97)
                                  .Envelope(1, 1, {{-15, 30}, {-15, 50}}, {{0, 30}, {0, 50}})
                                  .Envelope(3, 1, {{-18, 28}, {-10, 45}}, {{2, 35}, {2, 52}}));
    const struct {
        const TcrateObj *b, *c;
        double load;
        double xMin, xMax, yMin, yMax;
    } cases[] = {
        {&b, &c, 33, -18, 2, 28, 52},  // set C, both of its envelopes
        {&b, &c, 66.5, -18, 2, 28, 52},
        {&b, &c, 66.6, -20, 5, 25, 55},  // set B
        {&b, nullptr, 50, -20, 5, 25, 55},
        {&b, &c, 100, -30, 10, 20, 60},  // set A
        {nullptr, nullptr, 50, -30, 10, 20, 60},
    };
    for (const auto& k : cases) {
        double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
        ASSERT_TRUE(CompressorEnvelopeBounds(&a, k.b, k.c, k.load, yMin, yMax, xMax, xMin));
        EXPECT_EQ(xMin, k.xMin) << k.load;
        EXPECT_EQ(xMax, k.xMax) << k.load;
        EXPECT_EQ(yMin, k.yMin) << k.load;
        EXPECT_EQ(yMax, k.yMax) << k.load;
    }
}

// --- variable speed ---

// Base envelope at 1800 rpm valid up to the nominal 3000 rpm: -30..10 degC by 20..50 degC, the
// left line with a middle point. Levels at 1200 rpm (-20..0 by 25..45) and 4800 rpm (-20..5 by
// 20..50).
RatingSetBuilder VariableSpeedSet(std::uint16_t index) {
    return RatingSetBuilder(index)
        .NominalSpeed(3000)
        .SpeedEnvelope(1, 1, 1800, {{-30, 20}, {-30, 35}, {-30, 50}}, {{10, 20}, {10, 50}})
        .SpeedLevel(1, 1200, {{-20, 25}, {-20, 45}}, {{0, 25}, {0, 45}})
        .SpeedLevel(1, 4800, {{-20, 20}, {-20, 50}}, {{5, 20}, {5, 50}});
}

TEST_F(EnvelopeCheck, SpeedLevelsOfAVariableSpeedEnvelope) {
    TcrateObj& set = data.Build(VariableSpeedSet(100));
    const auto* envelope = dynamic_cast<const TVSenvelope*>(set.Envelope(1));
    ASSERT_NE(envelope, nullptr);
    EXPECT_EQ(envelope->BaseSpeed(), 1800);
    EXPECT_EQ(envelope->LowestSpeed(), 1200);
    EXPECT_EQ(envelope->HighestSpeed(), 4800);
    ASSERT_EQ(envelope->SpeedLevels().size(), 2u);
    EXPECT_EQ(envelope->SpeedLevels()[0]->speed, 1200);
    EXPECT_EQ(envelope->SpeedLevels()[1]->speed, 4800);
    EXPECT_EQ(envelope->LeftLine().size(), 3u);
}

TEST_F(EnvelopeCheck, InterpolatedEnvelopeBetweenSpeeds) {
    TcrateObj& set = data.Build(VariableSpeedSet(101));
    const struct {
        std::int32_t speed;
        double x, y;
        ModelStatus status;
    } cases[] = {
        {1000, -10, 35, ms::SpeedBelowEnvelopes},
        {5000, -10, 35, ms::SpeedAboveEnvelopes},
        {2400, -28, 30, 0},  // base range: the base envelope
        {1800, -28, 30, 0},
        {3000, -28, 30, 0},
        {1200, -28, 30, ms::EvapTooLow},  // the 1200 rpm level itself
        {1200, -19, 30, 0},
        {4800, 4, 30, 0},  // the 4800 rpm level itself
        {4800, 6, 30, ms::EvapTooHigh},
        // 1500 rpm: halfway from the 1200 rpm level to the base at 1800: left x -25, bottom 22.5.
        {1500, -24, 30, 0},
        {1500, -26, 30, ms::EvapTooLow},
        {1500, -10, 22, ms::CondTooLow},
        // 3900 rpm: halfway from the base (taken at 3000) to the 4800 level: right x 7.5.
        {3900, 7, 30, 0},
        {3900, 8, 30, ms::EvapTooHigh},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckEnvelope(set, c.speed, 5, 0, 0, c.y, c.x), c.status)
            << c.speed << " rpm at " << c.x << ", " << c.y;
    }
}

TEST_F(EnvelopeCheck, InterpolationWalksBothLines) {
    TcrateObj& set = data.Build(VariableSpeedSet(102));
    auto* envelope = dynamic_cast<TVSenvelope*>(set.Envelope(1));
    ASSERT_NE(envelope, nullptr);
    envelope->PrepareSpeed(1500);
    const EnvelopeLine& left = envelope->Current().LeftLine();
    // Between (-20, 25), (-20, 45) and (-30, 20), (-30, 35), (-30, 50) at one half.
    const std::vector<EnvelopeCorner> expected = {{-25, 22.5}, {-25, 30}, {-25, 40}, {-25, 47.5}};
    ASSERT_EQ(left.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(left[i]->x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(left[i]->y, expected[i].y) << i;
    }
    // Right lines (0, 25), (0, 45) and (10, 20), (10, 50): the walk emits three points.
    EXPECT_EQ(envelope->Current().RightLine().size(), 3u);
    EXPECT_EQ(envelope->Current().speed, 1500);

    // Rebuilding for another speed reuses the same points.
    const TenvPoint* first = left.front();
    envelope->PrepareSpeed(1650);
    EXPECT_EQ(envelope->Current().LeftLine().front(), first);
    EXPECT_FLOAT_EQ(first->x, -27.5f);
    // The base range leaves the current envelope as it was.
    envelope->PrepareSpeed(2000);
    EXPECT_EQ(envelope->Current().speed, 1650);
}

TEST_F(EnvelopeCheck, InverterSpeedBands) {
    // Inverter data: bands above the nominal speed at 3600 and 4800 rpm, one below the base.
    TcrateObj& set =
        data.Build(RatingSetBuilder(103)
                       .NominalSpeed(3000)
                       .SpeedEnvelope(1, 1, 1800, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}})
                       .SpeedLevel(1, 1200, {{-20, 20}, {-20, 50}}, {{0, 20}, {0, 50}})
                       .SpeedLevel(1, 3600, {{-25, 20}, {-25, 50}}, {{8, 20}, {8, 50}})
                       .SpeedLevel(1, 4800, {{-20, 20}, {-20, 50}}, {{5, 20}, {5, 50}})
                       .InverterPolynomials({}));
    const Tenvelope* envelope = set.Envelope(1);
    ASSERT_TRUE(envelope->speedBands);
    ASSERT_FALSE(envelope->speedInterpolation);
    const struct {
        std::int32_t speed;
        double x;
        ModelStatus status;
    } cases[] = {
        {3300, 7.9, 0},  // the 3600 rpm band
        {3300, 8.1, ms::EvapTooHigh},
        {3600, 7.9, 0},
        {4000, 4.9, 0},  // the 4800 rpm band
        {4000, 5.1, ms::EvapTooHigh},
        {1500, -19, 0},  // below the base: the 1200 rpm band, not a stale one
        {1500, -21, ms::EvapTooLow},
        {2000, -29, 0},  // base range
        {1100, 0, ms::SpeedBelowEnvelopes},
        {4900, 0, ms::SpeedAboveEnvelopes},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckEnvelope(set, c.speed, 5, 0, 0, 35, c.x), c.status)
            << c.speed << " rpm at " << c.x;
    }
}

TEST_F(EnvelopeCheck, BaseEnvelopeHoldsUpToTheNominalSpeed) {
    // Levels only below the base: speeds up to the nominal speed still use the base envelope;
    // only beyond it is the speed above every envelope.
    TcrateObj& set =
        data.Build(RatingSetBuilder(104)
                       .NominalSpeed(3000)
                       .SpeedEnvelope(1, 1, 1800, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 50}})
                       .SpeedLevel(1, 1200, {{-20, 20}, {-20, 50}}, {{0, 20}, {0, 50}}));
    EXPECT_EQ(CheckEnvelope(set, 2800, 5, 0, 0, 35, -10), 0);
    EXPECT_EQ(CheckEnvelope(set, 3000, 5, 0, 0, 35, -10), 0);
    EXPECT_EQ(CheckEnvelope(set, 3001, 5, 0, 0, 35, -10), ms::SpeedAboveEnvelopes);
    EXPECT_EQ(CheckEnvelope(set, 1199, 5, 0, 0, 35, -10), ms::SpeedBelowEnvelopes);
}

TEST(TVSenvelope, TestOfAnUnpreparedSpeedSaysNothing) {
    std::deque<TenvPoint> points;
    TVSenvelope envelope(1, 3000, 0);
    const auto add = [&](std::uint8_t number, std::uint16_t speed, bool minimumSide, float x,
                         float y) {
        TenvPoint& p = points.emplace_back();
        p.envelopeNumber = number, p.speed = speed, p.minimumSide = minimumSide, p.x = x, p.y = y;
        envelope.AddPoint(&p);
    };
    add(0, 1800, true, -30, 20), add(0, 1800, true, -30, 50);
    add(0, 1800, false, 10, 20), add(0, 1800, false, 10, 50);
    add(1, 4800, true, -20, 20), add(1, 4800, true, -20, 50);
    add(1, 4800, false, 5, 20), add(1, 4800, false, 5, 50);
    EXPECT_EQ(envelope.SpeedInsideTest('N', 4000, 0, 35), envelope_code::NoLines);
    envelope.PrepareSpeed(4000);
    EXPECT_EQ(envelope.SpeedInsideTest('N', 4000, 0, 35), envelope_code::Inside);
    EXPECT_EQ(envelope.SpeedInsideTest('N', 4200, 0, 35), envelope_code::NoLines);
}

}  // namespace
}  // namespace kelvra
