// Heat pumps on a hand-built compressor: the clamped temperature-difference rules and their
// inverses, brine/water and air/water rating points against the compressor's own evaluation,
// defrost de-rating, the envelope code and copying.

#include "heat_pump.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "compressor_fixture.hpp"
#include "performance_table.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;
namespace st = model_status;

TEST(THeatPumpTest, TemperatureRulesAreClampedToTheirLimits) {
    struct Case {
        const char* name;
        double slope, offset, low, high;
        double in;
        double evaporating;  // source -> evaporating
        double condensing;   // water -> condensing
    };
    const std::vector<Case> cases = {
        {"fixed 8 K", 0, 8, 5, 15, 0, -8, 8},
        {"offset above the upper limit", 0, 20, 5, 15, 0, -15, 15},
        {"offset below the lower limit", 0, 2, 5, 15, 10, 5, 15},
        {"sloped, inside the limits", 0.1, 3, 2, 12, 35, 35 - 6.5, 35 + 6.5},
        {"sloped, clamped above", 0.1, 3, 2, 12, 120, 108, 132},
        {"sloped, clamped below", 0.1, 3, 2, 12, -20, -22, -18},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        THeatPump hp;
        hp.evapSlope = hp.condSlope = k.slope;
        hp.evapOffset = hp.condOffset = k.offset;
        hp.evapMin = hp.condMin = k.low;
        hp.evapMax = hp.condMax = k.high;
        EXPECT_NEAR(hp.EvaporatingFromSource(k.in), k.evaporating, 1e-12);
        EXPECT_NEAR(hp.CondensingFromWater(k.in), k.condensing, 1e-12);
        EXPECT_NEAR(hp.EvapDifferenceUnclamped(k.in), k.slope * k.in + k.offset, 1e-12);
        EXPECT_NEAR(hp.EvapDifference(k.in), k.in - k.evaporating, 1e-12);
        EXPECT_NEAR(hp.CondDifference(k.in), k.condensing - k.in, 1e-12);
    }
}

TEST(THeatPumpTest, InverseRulesGiveBackTheTemperatureInsideTheLimits) {
    THeatPump hp;
    hp.evapSlope = 0.15;
    hp.evapOffset = 4;
    hp.evapMin = 1;
    hp.evapMax = 20;
    hp.condSlope = -0.05;
    hp.condOffset = 9;
    hp.condMin = 2;
    hp.condMax = 15;
    for (double t : {-15.0, -2.0, 0.0, 7.0, 20.0}) {
        SCOPED_TRACE(t);
        EXPECT_NEAR(hp.SourceFromEvaporating(hp.EvaporatingFromSource(t)), t, 1e-9);
    }
    for (double t : {25.0, 35.0, 45.0, 55.0, 65.0}) {
        SCOPED_TRACE(t);
        EXPECT_NEAR(hp.WaterFromCondensing(hp.CondensingFromWater(t)), t, 1e-9);
    }
    // Where the rules reach their limits.
    EXPECT_NEAR(hp.SourceAtEvapMin(), (1 - 4) / 0.15, 1e-9);
    EXPECT_NEAR(hp.SourceAtEvapMax(), (20 - 4) / 0.15, 1e-9);
    EXPECT_NEAR(hp.WaterAtCondMin(), (2 - 9) / -0.05, 1e-9);
    EXPECT_NEAR(hp.WaterAtCondMax(), (15 - 9) / -0.05, 1e-9);
    hp.evapSlope = 0;
    hp.condSlope = 5e-8;
    EXPECT_EQ(hp.SourceAtEvapMin(), THeatPump::kNeverBelow);
    EXPECT_EQ(hp.SourceAtEvapMax(), THeatPump::kNeverAbove);
    EXPECT_EQ(hp.WaterAtCondMin(), THeatPump::kNeverBelow);
    EXPECT_EQ(hp.WaterAtCondMax(), THeatPump::kNeverAbove);
}

class HeatPumpTest : public CompressorFixture {
  protected:
    // A heat pump with 5 K on the evaporator and 5 K on the condenser.
    std::unique_ptr<THeatPump> HeatPump(TComp& comp, char source, double auxiliary) {
        auto hp = std::make_unique<THeatPump>();
        hp->compressor = &comp;
        hp->SetName(comp.name);
        hp->refrigerant = comp.refrigerant;
        hp->supply = comp.supply;
        hp->sourceKind = source;
        hp->auxiliaryPower = auxiliary;
        hp->evapOffset = 5;
        hp->evapMin = 0;
        hp->evapMax = 15;
        hp->condOffset = 5;
        hp->condMin = 0;
        hp->condMax = 10;
        hp->superheat = 6;
        hp->subcooling = 2;
        return hp;
    }

    static OperatingConditions Rating(double source, double water) {
        OperatingConditions c;
        c.sourceInletTemp = static_cast<float>(source);
        c.waterOutletTemp = static_cast<float>(water);
        return c;
    }

    // The compressor alone where the heat pump runs it.
    ModelStatus CompressorAt(TComp& comp, double te, double tc, ActivityMode mode) {
        OperatingConditions c = Point(*comp.refrigerant, te, tc, 6.0, 2.0);
        return comp.Evaluate(c, mode);
    }
};

TEST_F(HeatPumpTest, RatingPointsGiveTheCompressorsHeatingCapacityAndCOP) {
    struct Case {
        const char* name;
        char source;
        double tSource, tWater;
        ActivityMode mode;
        double auxiliary;
    };
    const std::vector<Case> cases = {
        {"B0/W35", 'W', 0, 35, ActivityMode::BrineWaterHeatPumps, 0.2},
        {"W10/W45", 'W', 10, 45, ActivityMode::BrineWaterHeatPumps, 0.3},
        {"A7/W35", 'A', 7, 35, ActivityMode::AirWaterHeatPumps, 0.15},
        {"A2/W45", 'A', 2, 45, ActivityMode::AirWaterHeatPumps, 0.15},
    };
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto comp = Compressor(r134a, &set);
        auto hp = HeatPump(*comp, k.source, k.auxiliary);
        const ModelStatus status = hp->Evaluate(Rating(k.tSource, k.tWater), k.mode);
        ASSERT_GE(status, 0);
        const double te = k.tSource - 5;
        const double tc = k.tWater + 5;
        EXPECT_DOUBLE_EQ(hp->Result(q::CondensingTemp), tc);

        ASSERT_EQ(CompressorAt(*comp, te, tc, k.mode), status);
        const double heating = comp->Result(q::HeatingCapacity);
        const double power = comp->Result(q::PowerInput) + k.auxiliary;
        ASSERT_GT(heating, 0.0);
        EXPECT_NEAR(hp->Result(q::HeatingCapacity), heating, 1e-9);
        EXPECT_NEAR(hp->Result(q::PowerInput), power, 1e-9);
        EXPECT_NEAR(hp->Result(q::COP), heating / power, 1e-9);
        EXPECT_NEAR(hp->Result(q::CoolingCapacity), comp->Result(q::CoolingCapacity), 1e-9);
        EXPECT_NEAR(hp->SelectionValue(k.mode), heating, 1e-9);
        // The condenser's duty is the evaporator's plus the compressor's work, less what leaves
        // with the discharge gas; it can never exceed that sum or fall below the cooling.
        EXPECT_GT(heating, comp->Result(q::CoolingCapacity));
    }
}

TEST_F(HeatPumpTest, AnAirSourceIsDeratedInTheFrostingRangeOnly) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    struct Case {
        const char* name;
        char source;
        double tSource;
        bool derated;
    };
    // Frosting from -7 degC source upward while evaporating at or below 2 degC (source 7).
    const std::vector<Case> cases = {
        {"air at -2 degC", 'A', -2, true},
        {"air at the source limit", 'A', -7, true},
        {"air at the evaporating limit", 'A', 7, true},
        {"air below the source limit", 'A', -8, false},
        {"air above the evaporating limit", 'A', 8, false},
        {"brine at -2 degC", 'W', -2, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto comp = Compressor(r134a, &set);
        auto hp = HeatPump(*comp, k.source, 0.25);
        hp->frostSourceLimit = -7;
        hp->frostEvapLimit = 2;
        hp->defrostCapacityLoss = 10;
        hp->defrostPowerLoss = 5;
        ASSERT_GE(hp->Evaluate(Rating(k.tSource, 35), ActivityMode::AirWaterHeatPumps), 0);
        ASSERT_GE(CompressorAt(*comp, k.tSource - 5, 40, ActivityMode::AirWaterHeatPumps), 0);
        const double heating = comp->Result(q::HeatingCapacity) * (k.derated ? 0.9 : 1.0);
        const double power = comp->Result(q::PowerInput) * (k.derated ? 0.95 : 1.0) + 0.25;
        EXPECT_NEAR(hp->Result(q::HeatingCapacity), heating, 1e-9);
        EXPECT_NEAR(hp->Result(q::PowerInput), power, 1e-9);
        EXPECT_NEAR(hp->Result(q::COP), heating / power, 1e-9);
    }
}

TEST_F(HeatPumpTest, NoPowerGivesACOPOf0) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto hp = HeatPump(*comp, 'A', 0.0);
    hp->frostSourceLimit = -20;
    hp->frostEvapLimit = 10;
    hp->defrostPowerLoss = 100;
    ASSERT_GE(hp->Evaluate(Rating(0, 35), ActivityMode::AirWaterHeatPumps), 0);
    EXPECT_EQ(hp->Result(q::PowerInput), 0.0);
    EXPECT_EQ(hp->Result(q::COP), 0.0);
    EXPECT_GT(hp->Result(q::HeatingCapacity), 0.0);
}

TEST_F(HeatPumpTest, FailuresLeaveNoResults) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto hp = HeatPump(*comp, 'W', 0.2);
    ASSERT_GE(hp->Evaluate(Rating(0, 35), ActivityMode::BrineWaterHeatPumps), 0);

    // Condensing at 95 degC lies above the envelope (up to 75 degC).
    EXPECT_EQ(hp->Evaluate(Rating(0, 90), ActivityMode::BrineWaterHeatPumps), st::CondTooHigh);
    EXPECT_EQ(hp->Result(q::PowerInput), 0.0);
    EXPECT_EQ(hp->Result(q::HeatingCapacity), 0.0);
    EXPECT_EQ(hp->Results().Status(), st::CondTooHigh);

    EXPECT_LT(hp->Evaluate(Rating(NAN, 35), ActivityMode::BrineWaterHeatPumps), 0);

    THeatPump bare;
    EXPECT_EQ(bare.Evaluate(Rating(0, 35), ActivityMode::BrineWaterHeatPumps), -1);
    EXPECT_EQ(bare.EnvelopeCode(35, 0), 0);
    EXPECT_FALSE(bare.IsVariableSpeed());
}

TEST_F(HeatPumpTest, TheCompressorKeepsItsSpeedSetting) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    comp->SetSpeed(2400);
    auto hp = HeatPump(*comp, 'W', 0.2);
    hp->SetSpeed(3600);
    EXPECT_EQ(hp->Speed(), 3600);
    ASSERT_GE(hp->Evaluate(Rating(0, 35), ActivityMode::BrineWaterHeatPumps), 0);
    EXPECT_EQ(comp->Speed(), 2400);
}

TEST_F(HeatPumpTest, EnvelopeCodeTellsWhereTheRatingPointLies) {
    // The fixture's envelope: evaporating -50..20, condensing -10..75 degC, superheat up to 30 K.
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto hp = HeatPump(*comp, 'W', 0.0);
    struct Case {
        const char* name;
        double water, source, superheat;
        int code;
    };
    const std::vector<Case> cases = {
        {"inside", 35, 0, 6, 0},
        {"condensing too high", 75, 0, 6, envelope_code::Above},
        {"evaporating too high", 35, 30, 6, envelope_code::RightOf},
        {"evaporating too low", 35, -50, 6, envelope_code::LeftOf},
        {"superheat beyond the limit", 35, 0, 31, 1},
        {"superheat at the limit", 35, 0, 30, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        hp->superheat = k.superheat;
        EXPECT_EQ(hp->EnvelopeCode(k.water, k.source), k.code);
    }
    auto noData = Compressor(r134a, nullptr);
    auto hp2 = HeatPump(*noData, 'W', 0.0);
    EXPECT_EQ(hp2->EnvelopeCode(75, 0), 0);
}

TEST_F(HeatPumpTest, CopyTakesOverCompressorAndParameters) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto source = HeatPump(*comp, 'W', 0.4);
    source->SetName("my heat pump");
    source->compressorId = 77;
    source->evapSlope = 0.1;
    source->condMax = 9;
    source->defrostCapacityLoss = 12;
    source->frostEvapLimit = 1;
    source->superheat = 7;
    source->cyclingCoefficient = 0.95;
    source->familyNumber = 12;
    source->refrigerantNumber = r134a.id;
    source->modelLetter = 'H';

    THeatPump copy;
    copy.CopyFrom(*source);
    EXPECT_EQ(copy.compressor, comp.get());
    EXPECT_EQ(copy.compressorId, 77);
    EXPECT_EQ(copy.name, "KX-1");
    EXPECT_EQ(copy.refrigerant, &r134a);
    EXPECT_EQ(copy.sourceKind, 'W');
    EXPECT_EQ(copy.auxiliaryPower, 0.4);
    EXPECT_EQ(copy.evapSlope, 0.1);
    EXPECT_EQ(copy.condMax, 9);
    EXPECT_EQ(copy.defrostCapacityLoss, 12);
    EXPECT_EQ(copy.frostEvapLimit, 1);
    EXPECT_EQ(copy.superheat, 7);
    EXPECT_EQ(copy.cyclingCoefficient, 0.95);
    EXPECT_EQ(copy.familyNumber, 12);
    EXPECT_EQ(copy.modelLetter, 'H');
    ASSERT_GE(copy.Evaluate(Rating(0, 35), ActivityMode::BrineWaterHeatPumps), 0);
    ASSERT_GE(source->Evaluate(Rating(0, 35), ActivityMode::BrineWaterHeatPumps), 0);
    EXPECT_EQ(copy.Results(), source->Results());
}

TEST_F(HeatPumpTest, TableRunsOverWaterAndSourceTemperaturesTheEnvelopeAllows) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto hp = HeatPump(*comp, 'W', 0.2);
    double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
    ASSERT_TRUE(comp->EnvelopeBounds(yMin, yMax, xMax, xMin));

    TTableObject table(TableDefinition{}, true);
    hp->FillTable(table, Rating(0, 35), ActivityMode::BrineWaterHeatPumps, UnitSystem::SI);
    ASSERT_TRUE(table.Computed());
    ASSERT_GT(table.RowCount(), 1);
    ASSERT_GT(table.ColumnCount(), 1);
    // Steps of 5 K inside what the rules give at the envelope's ends, as far as they reach.
    const auto checkAxis = [](const std::vector<double>& values, double low, double high) {
        for (std::size_t k = 0; k < values.size(); ++k) {
            SCOPED_TRACE(values[k]);
            EXPECT_NEAR(std::fmod(values[k] + 1000.0, 5.0), 0.0, 1e-9);
            EXPECT_GE(values[k], low - 1e-9);
            EXPECT_LE(values[k], high + 1e-9);
            if (k > 0) {
                EXPECT_NEAR(values[k] - values[k - 1], 5.0, 1e-9);
            }
        }
        EXPECT_LT(values.front(), low + 5.0);
        EXPECT_GT(values.back(), high - 5.0);
    };
    std::vector<double> rows, columns;
    for (int i = 0; i < table.RowCount(); ++i) rows.push_back(table.RowValueSI(i));
    for (int j = 0; j < table.ColumnCount(); ++j) columns.push_back(table.ColumnValueSI(j));
    checkAxis(rows, hp->WaterFromCondensing(yMin), hp->WaterFromCondensing(yMax));
    checkAxis(columns, hp->SourceFromEvaporating(xMin), hp->SourceFromEvaporating(xMax));

    // Every cell is the heat pump at that point, whatever its status.
    for (int i = 0; i < table.RowCount(); ++i) {
        for (int j = 1; j <= table.ColumnCount(); ++j) {
            SCOPED_TRACE(::testing::Message() << rows[i] << " / " << columns[j - 1]);
            const ModelStatus status =
                hp->Evaluate(Rating(columns[j - 1], rows[i]), ActivityMode::BrineWaterHeatPumps);
            EXPECT_EQ(table.CellStatus(i, j), status);
            EXPECT_EQ(table.Cell(i, j), hp->Results());
        }
    }
}

}  // namespace
}  // namespace kelvra::testing
