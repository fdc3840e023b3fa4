// Test fixtures of the compressor model: the build's property libraries, four refrigerants
// (a pure fluid, a mid-point blend, a dew-point blend and CO2), envelope types, a supply, and
// hand-built rating data sets finished as the loader finishes them.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "compressor.hpp"
#include "least_squares.hpp"
#include "library_folders.hpp"
#include "operating_conditions.hpp"
#include "product_records.hpp"
#include "rating_data.hpp"
#include "rating_set_builder.hpp"
#include "refrigerant.hpp"

namespace kelvra::testing {

using Coeffs = std::array<double, 10>;

// EN 12900 form, written out as the rating data define it.
inline double PolynomialValue(const Coeffs& c, double S, double D) {
    return c[0] + c[1] * S + c[2] * D + c[3] * S * S + c[4] * S * D + c[5] * D * D +
           c[6] * S * S * S + c[7] * D * S * S + c[8] * S * D * D + c[9] * D * D * D;
}

inline double Fahrenheit(double t) {
    return t * 1.8 + 32.0;
}

// The polynomial in degF that gives `scale` times the degC polynomial `c` at the same point.
inline Coeffs FahrenheitPolynomial(const Coeffs& c, double scale) {
    std::vector<RatingPoint> points;
    for (double te = -50; te <= 20; te += 7)
        for (double tc = 0; tc <= 70; tc += 7)
            points.push_back({Fahrenheit(te), Fahrenheit(tc), scale * PolynomialValue(c, te, tc)});
    const PolynomialFit fit = FitEn12900(points);
    EXPECT_TRUE(fit.ok);
    return fit.c;
}

inline Coeffs Scaled(Coeffs c, double scale) {
    for (double& v : c) v *= scale;
    return c;
}

// A small semi-hermetic compressor for R134a-like fluids, kW and A over degC.
inline constexpr Coeffs kCapacity = {20.0, 0.7, -0.25, 0.009, -0.004, 0.0005, 0, 0, 0, 0};
inline constexpr Coeffs kPower = {1.2, 0.005, 0.045, 0.0, 0.0, 0.0002, 0, 0, 0, 0};
inline constexpr Coeffs kCurrent = {3.0, 0.0, 0.06, 0, 0, 0, 0, 0, 0, 0};
inline constexpr double kDisplacement = 0.0055;  // m3/s

// A transcritical CO2 compressor: mass flow (kg/s) and power (kW) over evaporating temperature
// (degC) and discharge pressure (bar).
inline constexpr Coeffs kCO2MassFlow = {0.11, 0.003, -0.0002, 0, 0, 0, 0, 0, 0, 0};
inline constexpr Coeffs kCO2Power = {1.0, 0.03, 0.05, 0, 0, 0, 0, 0, 0, 0};

// Envelope types of the fixture.
inline constexpr std::uint16_t kNormalType = 1;         // kind 1, superheat up to 30 K
inline constexpr std::uint16_t kInjectionOnlyType = 2;  // kind 3
inline constexpr std::uint16_t kPreliminaryType = 3;    // kind 10
inline constexpr std::uint16_t kOtherKindType = 4;      // kind 2 (not a normal kind)

class CompressorFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(libraries.loaded.general);
        ASSERT_TRUE(libraries.loaded.co2);
        ASSERT_TRUE(r134a.initialised && r407c.initialised && r404a.initialised && co2.initialised);
        data.AddEnvelopeType(kNormalType, 1, 30.0f);
        data.AddEnvelopeType(kInjectionOnlyType, 3, 30.0f);
        data.AddEnvelopeType(kPreliminaryType, 10, 30.0f);
        data.AddEnvelopeType(kOtherKindType, 2, 30.0f);
        supply.SetName("400V-3-50");
        supply.voltage = 400.0f;
        supply.phases = 3.0f;
        supply.frequency = 50;
    }

    // A rating set of `kind` with the fixture's polynomials, rated at 10 K superheat and 0 K
    // subcooling, inside one wide envelope of `envelopeType`.
    static RatingSetBuilder Set(int kind, std::uint16_t envelopeType = kNormalType) {
        RatingSetBuilder b = Bare(kind);
        b.Envelope(1, envelopeType, {{-50, -10}, {-50, 75}}, {{20, -10}, {20, 75}});
        return b;
    }

    // The same without envelopes.
    static RatingSetBuilder Bare(int kind) {
        RatingSetBuilder b(1);
        b.Kind(kind)
            .Displacement(kDisplacement)
            .Coefficients(CoefficientBlock::A, kCapacity)
            .Coefficients(CoefficientBlock::B, kPower)
            .Coefficients(CoefficientBlock::C, kCurrent)
            .RatedSuperheat(10.0f)
            .RatedSubcooling(0.0f)
            .VolumetricEfficiencyScale(1.0f)
            .MaxDischargeTemp(140.0);
        return b;
    }

    // A transcritical CO2 set of the discharge-pressure kind: mass flow (kg/s), power and
    // current over evaporating temperature and discharge pressure, envelope on a pressure axis
    // from pMin to pMax bar.
    static RatingSetBuilder CO2Set(double pMin = 75, double pMax = 130) {
        RatingSetBuilder b(1);
        b.Kind(rating_kind::CO2Pressure)
            .TechnologyCode(TcrateObj::kTechCO2Transcritical)
            .Displacement(0.0014)
            .Coefficients(CoefficientBlock::D, kCO2MassFlow)
            .Coefficients(CoefficientBlock::B, kCO2Power)
            .Coefficients(CoefficientBlock::C, {5.0, 0.0, 0.1, 0, 0, 0, 0, 0, 0, 0})
            .RatedSuperheat(10.0f)
            .RatedSubcooling(0.0f)
            .MaxDischargeTemp(160.0)
            .Envelope(1, kNormalType, {{-45, pMin}, {-45, pMax}}, {{5, pMin}, {5, pMax}})
            .ForCompressor(10, 1);
        return b;
    }

    TcrateObj& Build(const RatingSetBuilder& b) { return data.Build(b); }

    std::unique_ptr<TComp> Compressor(Trefrigerant& ref, TcrateObj* a, TcrateObj* b = nullptr,
                                      TcrateObj* c = nullptr) {
        auto comp = std::make_unique<TComp>();
        comp->SetName("KX-1");
        comp->refrigerant = &ref;
        comp->refrigerantNumber = ref.id;
        comp->supply = &supply;
        comp->familyNumber = 1;
        comp->ratingSetA = a;
        comp->ratingSetB = b;
        comp->ratingSetC = c;
        comp->SetLoad(100);
        return comp;
    }

    // An operating point resolved for the refrigerant (superheat as input).
    static OperatingConditions Point(Trefrigerant& ref, double te, double tc,
                                     double superheat = 10.0, double subcooling = 0.0) {
        OperatingConditions c;
        c.evapTemp = te;
        c.condTemp = tc;
        c.superheat = superheat;
        c.subcooling = subcooling;
        EXPECT_EQ(Resolve(c, &ref), ResolveOk);
        return c;
    }

    // A transcritical CO2 point: gas-cooler pressure and outlet temperature.
    static OperatingConditions CO2Point(Trefrigerant& ref, double te, double pressure,
                                        double gasCoolerOutlet, double superheat = 10.0) {
        OperatingConditions c;
        c.evapTemp = te;
        c.condTemp = gasCoolerOutlet;
        c.condPressure = pressure;
        c.gasCoolerOutletTemp = gasCoolerOutlet;
        c.superheat = superheat;
        EXPECT_EQ(Resolve(c, &ref), ResolveOk);
        return c;
    }

    BuildLibraries libraries;
    Trefrigerant r134a{"R134a", 1, 'N', 1.1f};
    Trefrigerant r407c{"R407C", 5, 'M', 1.1f};
    Trefrigerant r404a{"R404A", 6, 'D', 1.1f};
    Trefrigerant co2{"R744", 10, 'N', 1.3f};
    RatingDataFixture data;
    TSupply supply;
};

}  // namespace kelvra::testing
