// Energy balances that every compressor evaluation must keep, checked over many random points of
// several compressors rated with physically derived data: heating capacity is cooling capacity
// plus the share of the power that heats the gas, COP is capacity over power, heat rejection to
// saturated liquid is the heating capacity less the subcooling, and the capacity is the mass
// flow times the enthalpy rise in the evaporator. A wrong property call or a unit slip anywhere
// in the chain breaks one of them.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "compressor.hpp"
#include "compressor_fixture.hpp"
#include "least_squares.hpp"

namespace kelvra::testing {
namespace {

namespace q = quantity;

constexpr double kKelvin = 273.15;
constexpr double kVoltage = 400;

// Rating data computed from a physical description of a compressor: volumetric efficiency
// falling with pressure ratio, a constant isentropic efficiency and a constant loss, rated at
// 10 K superheat and no subcooling.
struct PhysicalCompressor {
    double displacement = 0.0055;  // m3/s
    double lambda0 = 0.95, lambdaSlope = 0.025;
    double isentropic = 0.65;
    double loss = 0.2;  // kW

    struct Rating {
        double te, tc;  // polynomial temperatures, degC
        double ps, pd;  // bar
        double capacity, power;
    };

    // Rating at saturated temperatures te and tc given on the refrigerant's own basis.
    Rating At(Trefrigerant& ref, double te, double tc) const {
        OperatingConditions c;
        c.evapTemp = te;
        c.condTemp = tc;
        c.superheat = 10;
        Resolve(c, &ref);
        const double ps = c.suctionPressure, pd = c.dischargePressure;
        const double teDew = ref.basis == 'N' ? te : ref.DewTemperature(ps);
        const double tBubble = ref.basis == 'N' ? tc : ref.BubbleTemperature(pd);
        const double sgt = teDew + 10;
        const double lambda = lambda0 - lambdaSlope * pd / ps;
        const double m = lambda * displacement / ref.VapourVolume(ps, sgt);
        const double capacity = m * (ref.VapourEnthalpy(ps, sgt) - ref.LiquidEnthalpy(pd, tBubble));
        const double power = ref.IsentropicPower(m, pd, ps, tBubble, sgt) / isentropic + loss;
        return {te, tc, ps, pd, capacity, power};
    }

    std::vector<Rating> Grid(Trefrigerant& ref, double teLo, double teHi, double tcLo,
                             double tcHi) const {
        std::vector<Rating> out;
        for (int i = 0; i <= 7; ++i)
            for (int j = 0; j <= 7; ++j)
                out.push_back(At(ref, teLo + (teHi - teLo) * i / 7, tcLo + (tcHi - tcLo) * j / 7));
        return out;
    }
};

Coeffs FitEN12900(const std::vector<PhysicalCompressor::Rating>& grid,
                  const std::function<double(const PhysicalCompressor::Rating&)>& value) {
    std::vector<RatingPoint> points;
    for (const auto& r : grid) points.push_back({r.te, r.tc, value(r)});
    const PolynomialFit fit = FitEn12900(points);
    EXPECT_TRUE(fit.ok);
    EXPECT_LT(fit.worst_relative, 0.05);
    return fit.c;
}

// The nine terms of the absolute-temperature form.
Coeffs FitAbsolute(const std::vector<PhysicalCompressor::Rating>& grid,
                   const std::function<double(const PhysicalCompressor::Rating&)>& value) {
    std::vector<double> design, response;
    for (const auto& r : grid) {
        const double Tc = r.tc + kKelvin, Te = r.te + kKelvin;
        const double root = std::sqrt(r.ps);
        for (const double term : {1.0, Tc, Te, r.pd, r.ps, Tc * Te, r.pd * r.ps, r.pd / root, root})
            design.push_back(term);
        response.push_back(value(r));
    }
    const LeastSquaresResult fit = LeastSquares(static_cast<int>(grid.size()), 9, design, response);
    EXPECT_TRUE(fit.ok);
    Coeffs c{};
    for (int i = 0; i < 9; ++i)
        c[static_cast<std::size_t>(i)] = fit.coefficients[static_cast<std::size_t>(i)];
    return c;
}

// Current of a three-phase motor at power factor 0.85 with 0.5 A magnetising.
Coeffs CurrentOf(const Coeffs& power) {
    Coeffs c = Scaled(power, 1000 / (std::sqrt(3.0) * kVoltage * 0.85));
    c[0] += 0.5;
    return c;
}

struct Fixture {
    std::string name;
    Trefrigerant* ref;
    std::unique_ptr<TComp> comp;
    bool co2 = false;
    bool loadSteps = false;
};

class CompressorInvariantTest : public CompressorFixture {
  protected:
    std::vector<Fixture> MakeFixtures() {
        std::vector<Fixture> out;
        const PhysicalCompressor physical;
        const auto capacity = [](const PhysicalCompressor::Rating& r) { return r.capacity; };
        const auto power = [](const PhysicalCompressor::Rating& r) { return r.power; };

        const auto en12900 = [&](Trefrigerant& ref) {
            const auto grid = physical.Grid(ref, -30, 10, 20, 55);
            return std::pair{FitEN12900(grid, capacity), FitEN12900(grid, power)};
        };
        const auto polynomialSet = [&](const Coeffs& Q, const Coeffs& P) {
            return Set(rating_kind::EN12900)
                .Coefficients(CoefficientBlock::A, Q)
                .Coefficients(CoefficientBlock::B, P)
                .Coefficients(CoefficientBlock::C, CurrentOf(P))
                .Displacement(physical.displacement);
        };

        {
            const auto [Q, P] = en12900(r134a);
            out.push_back(
                {"R134a EN 12900", &r134a, Compressor(r134a, &Build(polynomialSet(Q, P)))});
            out.push_back(
                {"R134a ARI", &r134a,
                 Compressor(
                     r134a,
                     &Build(polynomialSet(Q, P)
                                .DataFlags(1)
                                .Coefficients(CoefficientBlock::A, FahrenheitPolynomial(Q, 3412.14))
                                .Coefficients(CoefficientBlock::B, FahrenheitPolynomial(P, 1.0))
                                .Coefficients(CoefficientBlock::C,
                                              FahrenheitPolynomial(CurrentOf(P), 1.0))))});
            // Three load steps, factors of the compressor record.
            auto stepped = Compressor(r134a, &Build(polynomialSet(Q, P)),
                                      &Build(polynomialSet(Scaled(Q, 0.66), Scaled(P, 0.72))),
                                      &Build(polynomialSet(Scaled(Q, 0.33), Scaled(P, 0.45))));
            stepped->capacityFactor = 1.05f;
            stepped->powerFactorMultiplier = 1.1f;
            out.push_back(
                {"R134a three steps with factors", &r134a, std::move(stepped), false, true});
            // Efficiency model with a built-in volume ratio.
            out.push_back(
                {"R134a efficiency model", &r134a,
                 Compressor(r134a, &Build(Set(rating_kind::Efficiency)
                                              .DataFlags(3)
                                              .Coefficients(CoefficientBlock::A,
                                                            {0.95, -0.035, 0, 0, 0, 0, 0, 0, 0, 0})
                                              .PowerUnit(1)
                                              .Coefficients(CoefficientBlock::B,
                                                            {0.2, 0.01, 0, 0.004, 0, 0, 0, 0, 0, 0})
                                              .Coefficients(CoefficientBlock::C,
                                                            {0.5, 1.6, 0, 400, 0, 0, 0, 0, 0, 0})
                                              .TechnologyCode(2)
                                              .BuiltInVolumeRatio(2.6f)))});
        }
        {
            const auto [Q, P] = en12900(r407c);  // mid-point data, capacity and power in W
            out.push_back({"R407C mid-point data in W", &r407c,
                           Compressor(r407c, &Build(polynomialSet(Scaled(Q, 1000), Scaled(P, 1000))
                                                        .DataFlags(2)
                                                        .PowerUnit(1)))});
        }
        {
            const auto [Q, P] = en12900(r404a);  // dew-point data
            out.push_back({"R404A dew-point data", &r404a,
                           Compressor(r404a, &Build(polynomialSet(Q, P).DataFlags(4)))});
            const auto grid = physical.Grid(r404a, -30, 10, 20, 55);
            out.push_back(
                {"R404A absolute-temperature model", &r404a,
                 Compressor(
                     r404a,
                     &Build(Set(rating_kind::AbsoluteTemperature)
                                .Coefficients(CoefficientBlock::A, FitAbsolute(grid, capacity))
                                .Coefficients(CoefficientBlock::B, FitAbsolute(grid, power))
                                .Coefficients(CoefficientBlock::C,
                                              {0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0})))});
        }
        {
            // CO2 above the critical point: mass flow and power over evaporating temperature and
            // discharge pressure at a 35 degC gas-cooler outlet.
            std::vector<RatingPoint> massFlow, powers;
            for (double te = -40; te <= 0; te += 5) {
                for (double p = 75; p <= 130; p += 5) {
                    const double ps = co2.DewPressure(te);
                    const double sgt = te + 10;
                    const double lambda = 0.95 - 0.035 * p / ps;
                    const double m = lambda * 0.0014 / co2.VapourVolume(ps, sgt);
                    massFlow.push_back({te, p, m});
                    powers.push_back({te, p, co2.IsentropicPower(m, p, ps, 35, sgt) / 0.65 + 0.2});
                }
            }
            const PolynomialFit m = FitEn12900(massFlow), P = FitEn12900(powers);
            out.push_back({"R744 transcritical", &co2,
                           Compressor(co2, &Build(CO2Set()
                                                      .Coefficients(CoefficientBlock::D, m.c)
                                                      .Coefficients(CoefficientBlock::B, P.c))),
                           true});
        }
        return out;
    }
};

TEST_F(CompressorInvariantTest, EnergyBalancesHoldAtRandomPoints) {
    std::mt19937 random(20240611);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    for (Fixture& f : MakeFixtures()) {
        SCOPED_TRACE(f.name);
        Trefrigerant& ref = *f.ref;
        const int points = f.co2 ? 12 : 40;
        int valid = 0;
        for (int i = 0; i < points; ++i) {
            OperatingConditions c =
                f.co2 ? CO2Point(ref, uniform(-35, -5), uniform(80, 120), uniform(32, 40),
                                 uniform(5, 20))
                      : Point(ref, uniform(-30, 5), uniform(25, 55), uniform(5, 25), uniform(0, 8));
            if (f.loadSteps) f.comp->SetLoad(static_cast<std::int32_t>(uniform(34, 100)));
            const ModelStatus status = f.comp->Evaluate(c, ActivityMode::Compressors);
            SCOPED_TRACE(::testing::Message()
                         << "te " << c.evapTemp << " tc " << c.condTemp << " p " << c.condPressure
                         << " superheat " << c.superheat << " subcooling " << c.subcooling
                         << " load " << f.comp->Load() << " status " << status);
            if (status < 0) continue;
            ++valid;
            const TComp& r = *f.comp;
            const double Q = r.Result(q::CoolingCapacity), P = r.Result(q::PowerInput);
            const double m = r.Result(q::MassFlow) / 1000;
            const double ps = r.Result(q::SuctionPressure), pd = r.Result(q::DischargePressure);
            ASSERT_GT(Q, 0);
            ASSERT_GT(P, 0);

            EXPECT_NEAR(r.Result(q::HeatingCapacity), Q + 0.95 * P, 1e-5);
            EXPECT_NEAR(r.Result(q::COP), Q / P, 1e-12 * Q / P);

            const double hLiquid = f.co2 ? ref.VapourEnthalpy(pd, c.gasCoolerOutletTemp)
                                         : ref.LiquidEnthalpy(pd, r.Result(q::LiquidTemp));
            const double hSaturated =
                f.co2 ? hLiquid
                      : ref.LiquidEnthalpy(
                            pd, ref.basis == 'N' ? c.satDischargeTemp : ref.BubbleTemperature(pd));
            EXPECT_NEAR(r.Result(q::HeatRejection),
                        r.Result(q::HeatingCapacity) - m * (hSaturated - hLiquid), 1e-6);

            const double teDew = ref.basis == 'N' ? c.satSuctionTemp : ref.DewTemperature(ps);
            const double suction = teDew + c.superheat;
            EXPECT_NEAR(Q, m * (ref.VapourEnthalpy(ps, suction) - hLiquid), 1e-6 * Q);

            EXPECT_GT(r.Result(q::DischargeTemp), suction);
            EXPECT_GT(r.Result(q::IsentropicEfficiency), 0);
            EXPECT_LT(r.Result(q::IsentropicEfficiency), 95);
            EXPECT_GT(r.Result(q::VolumetricEfficiency), 0);
        }
        EXPECT_GE(valid, points * 3 / 4);
    }
}

}  // namespace
}  // namespace kelvra::testing
