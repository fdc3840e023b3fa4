// The physical descriptions the ratings are computed from: saturation states on the basis of
// the rating data, the compressor's efficiencies and losses, and the orifice flow of the Orda
// controls.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "catalogue_compiler.hpp"
#include "catalogue_support.hpp"
#include "compressor_physics.hpp"
#include "orda_physics.hpp"
#include "rating_basis.hpp"

namespace kelvra::catalogue {
namespace {

using namespace testing;

class Physics : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadLibraries());
        source_ = new CatalogueSource(ReadCatalogueSource(kSourceFolder));
        refrigerants_ = new RefrigerantSet(*source_);
    }
    static void TearDownTestSuite() {
        delete refrigerants_;
        delete source_;
    }
    static Trefrigerant& Ref(const std::string& name) { return refrigerants_->Get(name); }
    static const RefrigerantDef& Def(const std::string& name) { return *source_->FindRefrigerant(name); }

    static CatalogueSource* source_;
    static RefrigerantSet* refrigerants_;
};
CatalogueSource* Physics::source_ = nullptr;
RefrigerantSet* Physics::refrigerants_ = nullptr;

TEST_F(Physics, SaturationStatesAgreeWithTheOperatingPointOnEveryBasis) {
    struct Case {
        const char* refrigerant;
        double te, tc, subcooling;
    };
    const Case cases[] = {{"R134a", -10, 45, 0}, {"R404A", -35, 40, 3}, {"R407C", 0, 50, 0},
                          {"R407C", 0, 50, 5},   {"R410A", 5, 55, 2},   {"R744", -10, 25, 0}};
    for (const Case& c : cases) {
        Trefrigerant& ref = Ref(c.refrigerant);
        OperatingConditions oc;
        oc.evapTemp = c.te;
        oc.condTemp = c.tc;
        oc.subcooling = c.subcooling;
        oc.superheat = 10;
        ASSERT_EQ(Resolve(oc, &ref), ResolveOk) << c.refrigerant;
        const BasisState s = StateAt(ref, c.te, c.tc, c.subcooling, BasisOptions{});
        ASSERT_TRUE(s.ok) << c.refrigerant;
        EXPECT_NEAR(s.ps, oc.suctionPressure, 1e-9 * oc.suctionPressure) << c.refrigerant;
        EXPECT_NEAR(s.pd, oc.dischargePressure, 1e-9 * oc.dischargePressure) << c.refrigerant;
        // The liquid leaves the condenser at its bubble point less the subcooling.
        EXPECT_NEAR(s.tBub - c.subcooling, oc.liquidTemp, 1e-6) << c.refrigerant;
        // The envelope pair is the refrigerant's own pair.
        EXPECT_NEAR(EnvelopeX(ref, s), c.te, 1e-6) << c.refrigerant;
        EXPECT_NEAR(EnvelopeY(ref, s), c.tc, 1e-6) << c.refrigerant;
    }
}

TEST_F(Physics, PolynomialTemperaturesFollowTheDataBasis) {
    Trefrigerant& ref = Ref("R407C");
    const BasisState mid = StateAt(ref, -5, 45, 0, BasisOptions{false, false, 0});
    const BasisState dew = StateAt(ref, -5, 45, 0, BasisOptions{true, false, 0});
    const BasisState fahrenheit = StateAt(ref, -5, 45, 0, BasisOptions{true, true, 0});
    EXPECT_NEAR(mid.tePoly, -5, 1e-9);
    EXPECT_NEAR(mid.tcPoly, 45, 1e-9);
    EXPECT_GT(dew.tePoly, -5);  // the dew point of a zeotrope lies above its mid point
    EXPECT_GT(dew.tcPoly, 45);
    EXPECT_NEAR(fahrenheit.tePoly, dew.tePoly * 1.8 + 32, 1e-9);
}

TEST_F(Physics, MotorHasItsRatedEfficiencyAtItsRatingPoint) {
    std::set<int> families;
    for (const CompressorEntry& e : EnumerateCompressors(*source_)) {
        // One model of each fixed-speed family.
        if (e.family->physics.speed || e.family->physics.inverter || !families.insert(e.family->code).second) continue;
        const RatingTarget t = TargetOf(e, *refrigerants_, 0);
        const CompressorPhysics c = BuildPhysics(t);
        const MotorDef& m = e.family->physics.motor;
        const BasisState s = PointState(t, m.ratingTe, m.ratingTc, e.family->rating.ratedSubcooling);
        const PhysicalResult r = Evaluate(c, *t.refrigerant,
                                          {s.ps, s.pd, RatedSuctionGas(e.family->rating, s),
                                           s.transcritical ? 35.0 : s.tBub - e.family->rating.ratedSubcooling,
                                           s.transcritical, 1.0});
        ASSERT_TRUE(r.ok) << e.model->name;
        EXPECT_NEAR(r.Pshaft / r.Pbase, m.efficiency, 1e-9) << e.model->name;
    }
    EXPECT_GE(families.size(), 10u);
}

TEST_F(Physics, VolumetricEfficiencyFallsWithThePressureRatio) {
    CompressorPhysics c;
    c.kappa = 1.1;
    c.volumetric = {0.96, 0.04, 0.002};
    double last = 1.0;
    for (double r = 1.5; r <= 12; r += 1.5) {
        const double l = VolumetricEfficiency25(c, r, 1.0);
        EXPECT_LT(l, last) << r;
        last = l;
    }
    // At 25 degC suction gas the suction-gas law gives the efficiency itself; colder gas is
    // heated more on its way in.
    EXPECT_DOUBLE_EQ(SuctionGasEfficiency(0.7, 25.0), 0.7);
    EXPECT_LT(SuctionGasEfficiency(0.7, 0.0), 0.7);
}

TEST_F(Physics, BuiltInRatioCostsOnlyAwayFromItsPressureRatio) {
    CompressorPhysics c;
    c.kappa = 1.1;
    c.builtInVolumeRatio = 2.6;
    const double ps = 3.0;
    const double matched = ps * std::pow(2.6, 1.1);
    EXPECT_NEAR(BuiltInRatioLoss(c, ps, matched, 0.003), 0.0, 1e-12);
    EXPECT_GT(BuiltInRatioLoss(c, ps, matched * 1.5, 0.003), 0.0);  // under-compression
    EXPECT_GT(BuiltInRatioLoss(c, ps, matched / 1.5, 0.003), 0.0);  // over-compression
    c.builtInVolumeRatio = 0;
    EXPECT_EQ(BuiltInRatioLoss(c, ps, matched * 1.5, 0.003), 0.0);
}

TEST_F(Physics, CurrentOfOneAndThreePhases) {
    CompressorPhysics c;
    c.electrical.voltage = 400;
    c.electrical.phases = 3;
    const double three = Current(c, 5.0);
    EXPECT_NEAR(three, 5000.0 / (std::sqrt(3.0) * 400), 1e-6);  // no magnetising current
    c.electrical.phases = 1;
    EXPECT_NEAR(Current(c, 5.0), three * std::sqrt(3.0), 1e-6);
    c.electrical.magnetising = 3.0;
    EXPECT_NEAR(Current(c, 0.0), 3.0, 1e-12);
    c.electrical.drive = true;
    c.electrical.standby = 0.2;
    EXPECT_NEAR(Current(c, 0.0), 0.2, 1e-12);
}

TEST_F(Physics, VapourInjectionRaisesCapacityAndPower) {
    CompressorPhysics c;
    c.displacement = 0.005;
    c.kappa = Ref("R410A").exponent;
    c.volumetric = {0.98, 0, 0.009};
    Trefrigerant& ref = Ref("R410A");
    const PhysicalState at{ref.DewPressure(-15), ref.DewPressure(50), -10, 50, false, 1.0};
    const PhysicalResult plain = Evaluate(c, ref, at);
    c.injection.present = true;
    const PhysicalResult injected = Evaluate(c, ref, at);
    ASSERT_TRUE(plain.ok && injected.ok);
    EXPECT_GT(injected.Q, plain.Q * 1.1);
    EXPECT_GT(injected.P, plain.P);
    EXPECT_NEAR(injected.economiserLiquid, injected.intermediateTemp + c.injection.approach, 1e-9);
    EXPECT_GT(injected.intermediatePressure, at.ps);
    EXPECT_LT(injected.intermediatePressure, at.pd);
    // The economiser's duty on the main liquid is what evaporates the injected flow.
    const double hIn = ref.LiquidEnthalpy(at.pd, 50);
    EXPECT_NEAR(injected.economiserDuty,
                injected.injectionFlow * (ref.VapourEnthalpy(injected.intermediatePressure,
                                                             injected.intermediateTemp + 5) - hIn),
                1e-9);
}

TEST_F(Physics, LiquidDensityMatchesPublishedValues) {
    // Saturated liquid at 25 degC, kg/m3.
    EXPECT_NEAR(LiquidDensity(Def("R134a"), Ref("R134a"), 25), 1206.7, 1206.7 * 0.01);
    EXPECT_NEAR(LiquidDensity(Def("R290"), Ref("R290"), 25), 492.6, 492.6 * 0.02);
    EXPECT_NEAR(LiquidDensity(Def("R22"), Ref("R22"), 25), 1191.0, 1191.0 * 0.02);
}

TEST_F(Physics, CorrectionTablesReferToTheNominalPoint) {
    for (const char* name : {"R134a", "R404A", "R407C", "R410A"}) {
        const CorrectionTable t = BuildCorrectionTable('T', Def(name), Ref(name));
        const NominalPoint n = OrdaNominalPoint(Def(name), Ref(name));
        // Bilinear in the 5 K grid around the nominal point: close to 1.
        const double x = (n.te - t.x0) / 5.0, y = (n.liquid - t.y0) / 5.0;
        const auto i = static_cast<std::size_t>(y), j = static_cast<std::size_t>(x);
        const double fx = x - j, fy = y - i;
        const double k = t.rows[i][j] * (1 - fx) * (1 - fy) + t.rows[i][j + 1] * fx * (1 - fy) +
                         t.rows[i + 1][j] * (1 - fx) * fy + t.rows[i + 1][j + 1] * fx * fy;
        EXPECT_NEAR(k, 1.0, 0.02) << name;
        // Warmer liquid flashes more: less capacity, a larger factor.
        EXPECT_GT(t.rows[i + 2][j], t.rows[i][j]) << name;
        // No rating where the liquid is not warmer than the evaporator.
        EXPECT_EQ(t.rows[0][12], 0.0) << name;
    }
    const CorrectionTable filter = BuildCorrectionTable('Z', Def("R134a"), Ref("R134a"));
    ASSERT_EQ(filter.rows.size(), 1u);
    EXPECT_NEAR(filter.rows[0][10], 1.0, 1e-3);  // +4 degC, the nominal point
    EXPECT_GT(filter.rows[0][0], filter.rows[0][5]);  // colder suction gas: less capacity
}

}  // namespace
}  // namespace kelvra::catalogue
