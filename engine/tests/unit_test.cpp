// Condensing units on hand-built compressors: the condenser-compressor balance, its failures
// (no condenser data, no balance, above the maximum condensing pressure), head-pressure control,
// the status clamp, fan power, the useful-superheat correction and the network groups.

#include "unit.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "compressor_fixture.hpp"
#include "language_texts.hpp"
#include "performance_table.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;
namespace st = model_status;

class UnitTest : public CompressorFixture {
  protected:
    std::unique_ptr<Tunit> Unit(TComp& comp, double rating, double fanWatts = 0.0,
                                double maxPressure = 0.0) {
        auto unit = std::make_unique<Tunit>();
        unit->SetName("CU-1");
        unit->compressor = &comp;
        unit->compressorName = comp.name;
        unit->refrigerant = comp.refrigerant;
        unit->supply = comp.supply;
        unit->condenserRating = rating;
        unit->fanPower = fanWatts;
        unit->maxCondensingPressure = maxPressure;
        return unit;
    }

    // The compressor alone at condensing temperature tc, as a unit evaluates it.
    ModelStatus CompressorAt(TComp& comp, Trefrigerant& ref, double te, double tc) {
        OperatingConditions c = Point(ref, te, tc);
        return comp.Evaluate(c, ActivityMode::CondensingUnits);
    }

    static OperatingConditions AtAmbient(Trefrigerant& ref, double te, double ambient) {
        OperatingConditions c = Point(ref, te, 40.0);
        c.ambientTemp = ambient;
        return c;
    }
};

// --- the balance ------------------------------------------------------------------------------

struct BalanceCase {
    const char* name;
    char refrigerant;  // 'N' R134a, 'M' R407C, 'D' R404A
    double te;
    double ambient;
    double rating;  // kW/K
    double fan;     // W
};

TEST_F(UnitTest, BalancedCondenserRejectsTheCompressorsHeatWithinTolerance) {
    const std::vector<BalanceCase> cases = {
        {"R134a, 32 degC ambient", 'N', -10, 32, 1.0, 250},
        {"R134a, cool day, large condenser", 'N', -10, 10, 2.5, 250},
        {"R134a, hot day, small condenser", 'N', 0, 43, 0.6, 400},
        {"mid-point blend", 'M', -10, 32, 1.0, 180},
        {"dew-point blend", 'D', -25, 27, 0.8, 0},
    };
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    for (const BalanceCase& k : cases) {
        SCOPED_TRACE(k.name);
        Trefrigerant& ref = k.refrigerant == 'M' ? r407c : k.refrigerant == 'D' ? r404a : r134a;
        auto comp = Compressor(ref, &set);
        auto unit = Unit(*comp, k.rating, k.fan);
        const OperatingConditions c = AtAmbient(ref, k.te, k.ambient);

        const ModelStatus status = unit->Evaluate(c, ActivityMode::CondensingUnits);
        ASSERT_GE(status, 0);
        EXPECT_EQ(unit->Status(), status);
        EXPECT_EQ(unit->Results().Status(), status);

        const double tc = unit->Result(q::CondensingTemp);
        EXPECT_GT(tc, k.ambient);
        const double condenserTemp = unit->Result(q::HeatRejection) / k.rating + k.ambient;
        EXPECT_LE(std::fabs(condenserTemp - tc), Tunit::kBalanceTolerance);

        // The unit's figures are its compressor's at the balance, plus the fan.
        ASSERT_GE(CompressorAt(*comp, ref, k.te, tc), 0);
        EXPECT_NEAR(unit->Result(q::CoolingCapacity), comp->Result(q::CoolingCapacity), 1e-9);
        EXPECT_NEAR(unit->Result(q::HeatRejection), comp->Result(q::HeatRejection), 1e-9);
        EXPECT_NEAR(unit->Result(q::PowerInput), comp->Result(q::PowerInput) + k.fan / 1000.0,
                    1e-9);
        EXPECT_NEAR(unit->Result(q::COP),
                    unit->Result(q::CoolingCapacity) / unit->Result(q::PowerInput), 1e-12);
        EXPECT_NEAR(unit->Result(q::Current), comp->Result(q::Current), 1e-9);
    }
}

TEST_F(UnitTest, BalanceFromAGivenStartSettlesAtTheSamePoint) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.0);
    const OperatingConditions c = AtAmbient(r134a, -10, 32);
    ASSERT_GE(unit->EvaluateFrom(c, 37.0), 0);
    const double fromLow = unit->Result(q::CondensingTemp);
    ASSERT_GE(unit->EvaluateFrom(c, 60.0), 0);
    EXPECT_NEAR(unit->Result(q::CondensingTemp), fromLow, 2 * Tunit::kBalanceTolerance);
    ASSERT_GE(unit->Evaluate(c, ActivityMode::CondensingUnits), 0);
    EXPECT_NEAR(unit->Result(q::CondensingTemp), fromLow, 2 * Tunit::kBalanceTolerance);
}

TEST_F(UnitTest, WithoutCondenserDataTheCompressorIsNotEvaluated) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    for (double rating : {0.0, 0.0009, -0.0005}) {
        SCOPED_TRACE(rating);
        auto unit = Unit(*comp, rating, 300);
        comp->SetStatus(123);  // a marker: an evaluation would overwrite it
        EXPECT_EQ(unit->Evaluate(AtAmbient(r134a, -10, 32), ActivityMode::CondensingUnits),
                  st::NoCondenserData);
        EXPECT_EQ(comp->Status(), 123);
        EXPECT_EQ(unit->Result(q::CoolingCapacity), 0.0);
        EXPECT_EQ(unit->Result(q::PowerInput), 0.0);
    }
}

TEST_F(UnitTest, ABalanceThatDoesNotSettleEndsWithMinus12AndNoResults) {
    // A compressor whose heat rejection rises almost as fast with the condensing temperature as
    // the condenser's: each correction gains only about a hundredth of the remaining gap.
    RatingSetBuilder b = Set(rating_kind::EN12900);
    b.Coefficients(CoefficientBlock::A, {2.0, 0.0, 0.15, 0, 0, 0, 0, 0, 0, 0});
    TcrateObj& set = Build(b);
    auto comp = Compressor(r134a, &set);
    ASSERT_GE(CompressorAt(*comp, r134a, -10, 30), 0);
    const double q30 = comp->Result(q::HeatRejection);
    ASSERT_GE(CompressorAt(*comp, r134a, -10, 60), 0);
    const double q60 = comp->Result(q::HeatRejection);
    ASSERT_GE(CompressorAt(*comp, r134a, -10, 55), 0);
    const double q55 = comp->Result(q::HeatRejection);
    const double slope = (q60 - q30) / 30.0;
    ASSERT_GT(slope, 0.05);
    const double rating = slope / 0.98;
    const double ambient = 55.0 - q55 / rating;  // balance point at 55 degC

    auto unit = Unit(*comp, rating, 200);
    EXPECT_EQ(unit->EvaluateFrom(AtAmbient(r134a, -10, ambient), 30.0), st::BalanceNotConverged);
    EXPECT_EQ(unit->Results().Status(), st::BalanceNotConverged);
    EXPECT_EQ(unit->Result(q::CoolingCapacity), 0.0);
    EXPECT_EQ(unit->Result(q::CondensingTemp), 0.0);

    // Started at its balance it settles at once.
    EXPECT_GE(unit->EvaluateFrom(AtAmbient(r134a, -10, ambient), 55.0), 0);
}

TEST_F(UnitTest, AboveTheMaximumCondensingPressureGivesMinus18) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    struct Case {
        const char* name;
        Trefrigerant* ref;
    };
    for (const Case& k : {Case{"pure", &r134a}, Case{"mid-point", &r407c}, Case{"dew", &r404a}}) {
        SCOPED_TRACE(k.name);
        auto comp = Compressor(*k.ref, &set);
        const OperatingConditions c = AtAmbient(*k.ref, -10, 32);
        auto free = Unit(*comp, 1.0);
        ASSERT_GE(free->Evaluate(c, ActivityMode::CondensingUnits), 0);
        const double tc = free->Result(q::CondensingTemp);
        // The limit's saturation temperature on the refrigerant's own basis.
        const auto limitAt = [&](double t) {
            return k.ref->basis == 'M' ? k.ref->MidPointPressure(t) : k.ref->DewPressure(t);
        };
        auto tight = Unit(*comp, 1.0, 0, limitAt(tc - 0.5));
        EXPECT_EQ(tight->Evaluate(c, ActivityMode::CondensingUnits), st::CondAboveUnitMaximum);
        EXPECT_EQ(tight->Result(q::CoolingCapacity), 0.0);
        auto loose = Unit(*comp, 1.0, 0, limitAt(tc + 0.5));
        EXPECT_GE(loose->Evaluate(c, ActivityMode::CondensingUnits), 0);
        EXPECT_NEAR(loose->Result(q::CondensingTemp), tc, 1e-9);
    }
}

TEST_F(UnitTest, HeadPressureControlHoldsTheMinimumCondensingTemperature) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.5, 300);
    const OperatingConditions cold = AtAmbient(r134a, -10, 5);
    ASSERT_GE(unit->Evaluate(cold, ActivityMode::CondensingUnits), 0);
    const double balance = unit->Result(q::CondensingTemp);

    // A minimum above the balance: the unit runs at the minimum.
    ASSERT_GE(unit->EvaluateWithMinimum(cold, balance + 8.0), 0);
    EXPECT_DOUBLE_EQ(unit->Result(q::CondensingTemp), balance + 8.0);
    ASSERT_GE(CompressorAt(*comp, r134a, -10, balance + 8.0), 0);
    EXPECT_NEAR(unit->Result(q::CoolingCapacity), comp->Result(q::CoolingCapacity), 1e-9);
    EXPECT_NEAR(unit->Result(q::PowerInput), comp->Result(q::PowerInput) + 0.3, 1e-9);

    // A minimum below the balance changes nothing.
    ASSERT_GE(unit->EvaluateWithMinimum(cold, balance - 8.0), 0);
    EXPECT_NEAR(unit->Result(q::CondensingTemp), balance, 2 * Tunit::kBalanceTolerance);
}

TEST_F(UnitTest, StatusesAreClampedAndTheFanWarningIsValid) {
    struct Case {
        const char* name;
        std::uint16_t envelopeType;
        ModelStatus expected;
    };
    const std::vector<Case> cases = {
        {"normal envelope", kNormalType, st::Valid},
        {"envelope of another kind: fan warning dropped", kOtherKindType, st::Valid},
        {"preliminary data, 5 clamped to 3", kPreliminaryType, st::Clamped},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TcrateObj& set = Build(Set(rating_kind::EN12900, k.envelopeType));
        auto comp = Compressor(r134a, &set);
        auto unit = Unit(*comp, 1.0);
        EXPECT_EQ(unit->Evaluate(AtAmbient(r134a, -10, 32), ActivityMode::CondensingUnits),
                  k.expected);
    }
}

TEST_F(UnitTest, OutsideTheCompressorsEnvelopeTheUnitFailsWithItsStatus) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.0, 300);
    // Evaporating 30 degC lies right of the envelope (up to 20 degC).
    const ModelStatus status =
        unit->Evaluate(AtAmbient(r134a, 30, 32), ActivityMode::CondensingUnits);
    EXPECT_EQ(status, st::EvapTooHigh);
    EXPECT_EQ(unit->Result(q::PowerInput), 0.0);
}

TEST_F(UnitTest, NonsenseInputGivesAnErrorStatus) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.0);
    OperatingConditions c = AtAmbient(r134a, -10, 32);
    c.ambientTemp = std::nan("");
    EXPECT_LT(unit->Evaluate(c, ActivityMode::CondensingUnits), 0);
    EXPECT_LT(unit->EvaluateFrom(AtAmbient(r134a, -10, 32), INFINITY), 0);

    Tunit bare;  // no compressor
    EXPECT_EQ(bare.Evaluate(AtAmbient(r134a, -10, 32), ActivityMode::CondensingUnits),
              st::EvaluationFailed);
    EXPECT_FALSE(bare.IsVariableSpeed());
    EXPECT_EQ(bare.NominalSpeed(), 0);
}

TEST_F(UnitTest, TheCompressorKeepsItsSpeedSetting) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    comp->SetSpeed(2400);
    auto unit = Unit(*comp, 1.0);
    unit->SetSpeed(2900);
    EXPECT_EQ(unit->Speed(), 2900);
    ASSERT_GE(unit->Evaluate(AtAmbient(r134a, -10, 32), ActivityMode::CondensingUnits), 0);
    EXPECT_EQ(comp->Speed(), 2400);
    unit->condenserRating = 0;
    unit->Evaluate(AtAmbient(r134a, -10, 32), ActivityMode::CondensingUnits);
    EXPECT_EQ(comp->Speed(), 2400);
}

TEST_F(UnitTest, CapacityCountsOnlyTheUsefulSuperheat) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.0, 200);
    OperatingConditions c = AtAmbient(r134a, -10, 32);  // superheat 10 K
    ASSERT_GE(unit->Evaluate(c, ActivityMode::CondensingUnits), 0);
    const double allUseful = unit->Result(q::CoolingCapacity);
    const double tc = unit->Result(q::CondensingTemp);
    const double power = unit->Result(q::PowerInput);

    c.usefulAll = false;
    c.usefulSuperheat = 4.0;
    ASSERT_GE(unit->Evaluate(c, ActivityMode::CondensingUnits), 0);
    // The same balance; only the capacity shrinks by the enthalpy share of the useful part.
    EXPECT_NEAR(unit->Result(q::CondensingTemp), tc, 1e-9);
    EXPECT_NEAR(unit->Result(q::PowerInput), power, 1e-9);
    const double pc = r134a.DewPressure(tc);
    const double pe = r134a.DewPressure(-10);
    const double hl = r134a.LiquidEnthalpy(pc, tc);
    const double r = (r134a.VapourEnthalpy(pe, c.suctionGasReturn) - hl) /
                     (r134a.VapourEnthalpy(pe, -10 + 4.0) - hl);
    ASSERT_GT(r, 1.0);
    EXPECT_NEAR(unit->Result(q::CoolingCapacity), allUseful / r, 1e-9);
    EXPECT_NEAR(unit->Result(q::COP), allUseful / r / power, 1e-9);
}

TEST_F(UnitTest, SummaryNamesTheUnitTheCompressorAndTheTotals) {
    ResetLanguageTexts();
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.0);
    const OperatingConditions c = AtAmbient(r134a, -10, 32);
    ASSERT_GE(unit->Evaluate(c, ActivityMode::CondensingUnits), 0);
    std::string label, value;
    const auto format = [&](QuantityCode code) {
        unit->FormatQuantity(code, UnitSystem::SI, label, 100, value, 100, c,
                             ActivityMode::CondensingUnits);
    };
    format(-1);
    EXPECT_EQ(value, "CU-1");
    format(q::Status);
    EXPECT_EQ(value, "KX-1");
    format(q::PowerInput);
    EXPECT_EQ(label.rfind("Total ", 0), 0u) << label;
    EXPECT_NE(label.find("kW"), std::string::npos);
    format(q::Current);
    EXPECT_EQ(label.rfind("Compressor ", 0), 0u) << label;
    unit->FormatQuantity(q::PowerInput, UnitSystem::SI, label, 3, value, 2, c,
                         ActivityMode::CondensingUnits);
    EXPECT_EQ(label, "Tot");
    EXPECT_LE(value.size(), 2u);
}

// --- the condensing fit of the unit table ----------------------------------------------------

// Cells of a compressor table whose condensing temperatures follow a known polynomial of
// evaporating and ambient temperature for a condenser of `rating`.
std::vector<CondensingObservation> CellsOf(const std::array<double, 10>& c, double rating) {
    std::vector<CondensingObservation> cells;
    for (double a = 20; a <= 50; a += 5) {
        for (double x = -40; x <= 10; x += 5) {
            const double y = c[0] + c[1] * x + c[2] * a + c[3] * x * x + c[4] * x * a +
                             c[5] * a * a + c[6] * x * x * x + c[7] * x * x * a + c[8] * x * a * a +
                             c[9] * a * a * a;
            cells.push_back({y, x, 0, 5.0, (y - a) * rating});
        }
    }
    return cells;
}

TEST(UnitFitTest, TheFitReproducesACondensingPolynomial) {
    const std::array<double, 10> c = {6.0,   0.2,  1.05,  0.003,  -0.001,
                                      0.001, 2e-5, -1e-5, 1.5e-5, -1e-5};
    for (double rating : {0.5, 1.2, 4.0}) {
        SCOPED_TRACE(rating);
        const auto cells = CellsOf(c, rating);
        ASSERT_TRUE(Tunit::FitCondensingPolynomial(cells, false, rating));
        for (const CondensingObservation& cell : cells) {
            const double ambient = cell.condensing - cell.heatRejection / rating;
            EXPECT_NEAR(Tunit::FittedCondensing(ambient, cell.evaporating), cell.condensing, 1e-6);
        }
        // Between the cells too.
        const double x = -12.5, a = 33.3;
        const double y = c[0] + c[1] * x + c[2] * a + c[3] * x * x + c[4] * x * a + c[5] * a * a +
                         c[6] * x * x * x + c[7] * x * x * a + c[8] * x * a * a + c[9] * a * a * a;
        EXPECT_NEAR(Tunit::FittedCondensing(a, x), y, 1e-6);
    }
}

TEST(UnitFitTest, TooFewValidCellsOrNoRatingKeepTheLastFit) {
    const std::array<double, 10> c = {5.0, 0.1, 1.0, 0, 0, 0, 0, 0, 0, 0};
    auto cells = CellsOf(c, 1.0);
    ASSERT_TRUE(Tunit::FitCondensingPolynomial(cells, false, 1.0));
    const double before = Tunit::FittedCondensing(32, -10);
    EXPECT_NEAR(before, 5.0 - 1.0 + 32.0, 1e-6);

    // Ten valid cells are too few; failed cells count only with acceptAll and some capacity.
    std::vector<CondensingObservation> few(cells.begin(), cells.begin() + 10);
    for (std::size_t i = 10; i < cells.size(); ++i) {
        CondensingObservation failed = cells[i];
        failed.status = -3;
        failed.capacity = i % 2 == 0 ? 0.005 : 2.0;
        few.push_back(failed);
    }
    EXPECT_FALSE(Tunit::FitCondensingPolynomial(few, false, 1.0));
    EXPECT_DOUBLE_EQ(Tunit::FittedCondensing(32, -10), before);
    EXPECT_TRUE(Tunit::FitCondensingPolynomial(few, true, 1.0));

    EXPECT_FALSE(Tunit::FitCondensingPolynomial(cells, false, 0.0));
    EXPECT_FALSE(Tunit::FitCondensingPolynomial({}, true, 1.0));
    // All cells at one point: the equations have no single solution.
    std::vector<CondensingObservation> same(20, cells.front());
    EXPECT_FALSE(Tunit::FitCondensingPolynomial(same, false, 1.0));
}

TEST_F(UnitTest, NetworkGroupsGiveTheMasterAndSlaveForTheSlaveCount) {
    Tunit nlo, no, nl, n;
    TnetObj group;
    group.masters = {&nlo, &no};
    group.slaves = {&nl, &n};
    EXPECT_EQ(group.MasterFor(1), &nlo);
    EXPECT_EQ(group.SlaveFor(1), &nl);
    EXPECT_EQ(group.MasterFor(2), &no);
    EXPECT_EQ(group.SlaveFor(5), &n);
    TnetObj empty;
    EXPECT_EQ(empty.MasterFor(3), nullptr);
}

// --- the unit's performance table -------------------------------------------------------------

TEST_F(UnitTest, TableCellsAreBalancedAtTheirAmbientAndKeepTheUnitsOwnPoint) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.0, 250);
    const OperatingConditions c = AtAmbient(r134a, -10, 32);
    ASSERT_GE(unit->Evaluate(c, ActivityMode::CondensingUnits), 0);
    const ResultVector shown = unit->Results();

    TTableObject table(TableDefinition{}, true);
    unit->FillTable(table, c, ActivityMode::CondensingUnits, UnitSystem::SI);
    ASSERT_TRUE(table.Computed());
    EXPECT_EQ(unit->Results(), shown);

    // Six ambient rows; the compressor's evaporating columns.
    const std::vector<double> ambients = {27, 32, 38, 43, 46, 49};
    ASSERT_EQ(table.RowCount(), 6);
    ASSERT_EQ(static_cast<int>(table.Rows().size()), 6);
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(table.RowValueSI(i), ambients[i]);
    TTableObject compressorTable(TableDefinition{}, true);
    comp->SetUpTableAxes(compressorTable, UnitSystem::SI);
    ASSERT_EQ(table.ColumnCount(), compressorTable.ColumnCount());

    int valid = 0;
    for (int i = 0; i < table.RowCount(); ++i) {
        for (int j = 1; j <= table.ColumnCount(); ++j) {
            SCOPED_TRACE(::testing::Message() << "ambient " << ambients[i] << ", column " << j);
            const ModelStatus status = table.CellStatus(i, j);
            if (status < 0) {
                EXPECT_EQ(table.CellResult(i, j, q::CoolingCapacity), 0.0);
                continue;
            }
            ++valid;
            // The condenser rejects the cell's heat at the cell's condensing temperature.
            const double tc = table.CellResult(i, j, q::CondensingTemp);
            const double rejected = table.CellResult(i, j, q::HeatRejection);
            EXPECT_NEAR(rejected / 1.0 + ambients[i], tc, 2 * Tunit::kBalanceTolerance);
            // ... and agrees with the unit evaluated at that point on its own.
            OperatingConditions at = AtAmbient(r134a, table.ColumnValueSI(j - 1), ambients[i]);
            ASSERT_GE(unit->Evaluate(at, ActivityMode::CondensingUnits), 0);
            EXPECT_NEAR(table.CellResult(i, j, q::CoolingCapacity),
                        unit->Result(q::CoolingCapacity),
                        1e-3 * unit->Result(q::CoolingCapacity));
            EXPECT_NEAR(table.CellResult(i, j, q::PowerInput), unit->Result(q::PowerInput),
                        1e-3 * unit->Result(q::PowerInput));
        }
    }
    EXPECT_GT(valid, 20);
}

TEST_F(UnitTest, TableAxesFollowTheUnitSystemAndPartlyUsefulSuperheatHasNoTable) {
    TcrateObj& set = Build(Set(rating_kind::EN12900));
    auto comp = Compressor(r134a, &set);
    auto unit = Unit(*comp, 1.0, 250);

    TTableObject imperial(TableDefinition{}, true);
    unit->SetUpTableAxes(imperial, UnitSystem::Imperial);
    ASSERT_EQ(imperial.RowCount(), 6);
    EXPECT_NEAR(imperial.RowValue(0), 80.6, 1e-4);   // 27 degC
    EXPECT_NEAR(imperial.RowValue(5), 120.2, 1e-4);  // 49 degC
    EXPECT_NEAR(imperial.RowValueSI(5), 49.0, 1e-4);

    OperatingConditions c = AtAmbient(r134a, -10, 32);
    c.usefulAll = false;
    TTableObject table(TableDefinition{}, true);
    unit->FillTable(table, c, ActivityMode::CondensingUnits, UnitSystem::SI);
    EXPECT_FALSE(table.Computed());
    EXPECT_TRUE(table.Rows().empty());

    // Without condenser data no cell can balance.
    auto bare = Unit(*comp, 0.0);
    TTableObject none(TableDefinition{}, true);
    bare->FillTable(none, AtAmbient(r134a, -10, 32), ActivityMode::CondensingUnits,
                    UnitSystem::SI);
    EXPECT_FALSE(none.Computed());
}

}  // namespace
}  // namespace kelvra::testing
