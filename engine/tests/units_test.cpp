#include "units.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kelvra {
namespace {

constexpr UnitSystem SI = UnitSystem::SI;
constexpr UnitSystem IMP = UnitSystem::Imperial;
constexpr UnitSystem KCAL = UnitSystem::Kcal;

struct Conversion {
    QuantityCode code;
    UnitSystem system;
    double internal;
    double display;
};

// Internal value and what the user sees, in every unit system.
const std::vector<Conversion> kConversions = {
    // temperatures: Fahrenheit in Imperial, unchanged otherwise
    {quantity::CondensingTemp, IMP, 20.0, 68.0},
    {quantity::CondensingTemp, IMP, -40.0, -40.0},
    {quantity::CondensingTemp, IMP, 0.0, 32.0},
    {quantity::CondensingTemp, IMP, 100.0, 212.0},
    {quantity::CondensingTemp, KCAL, 20.0, 20.0},
    {quantity::CondensingTemp, SI, 20.0, 20.0},
    {quantity::DischargeTemp, IMP, 85.0, 185.0},
    {quantity::LiquidTemp, IMP, -10.0, 14.0},
    {quantity::IntermediateSatTemp, IMP, 5.0, 41.0},
    {quantity::VapourOutletTemp, IMP, 20.0, 68.0},
    {quantity::LiquidTempInjectionInlet, IMP, 30.0, 86.0},
    {quantity::LiquidTempEconomiserOutlet, IMP, -40.0, -40.0},
    {quantity::LiquidTempEconomiserOutlet, KCAL, 12.0, 12.0},
    // capacities: kBtu/h and Mcal/h
    {quantity::CoolingCapacity, IMP, 10.0, 34.1214},
    {quantity::CoolingCapacity, KCAL, 10.0, 8.596},
    {quantity::CoolingCapacity, SI, 10.0, 10.0},
    {quantity::HeatRejection, IMP, 10.0, 34.1214},
    {quantity::HeatRejection, KCAL, 10.0, 8.596},
    {quantity::HeatingCapacity, IMP, 2.0, 6.82428},
    {quantity::HeatingCapacity, KCAL, 2.0, 1.7192},
    {quantity::CapacityReserved, IMP, 1.0, 3.41214},
    {quantity::EconomiserCapacity, IMP, 10.0, 34.1214},
    {quantity::EconomiserCapacity, KCAL, 10.0, 8.596},
    // power stays in kW, current in A
    {quantity::PowerInput, IMP, 10.0, 10.0},
    {quantity::PowerInput, KCAL, 10.0, 10.0},
    {quantity::Current, IMP, 12.5, 12.5},
    // COP is shown as an EER in Imperial
    {quantity::COP, IMP, 3.0, 10.23642},
    {quantity::COP, KCAL, 3.0, 3.0},
    {quantity::RefrigerationCOP, IMP, 3.0, 10.23642},
    {quantity::RefrigerationCOP, KCAL, 3.0, 3.0},
    // mass flow: lb/h and kg/s
    {quantity::MassFlow, IMP, 100.0, 793.656},
    {quantity::MassFlow, KCAL, 100.0, 0.1},
    {quantity::InjectionMassFlow, IMP, 10.0, 79.3656},
    {quantity::InjectionMassFlow, KCAL, 10.0, 0.01},
    // pressures: psi in Imperial
    {quantity::PressureDifference, IMP, 2.0, 29.0},
    {quantity::PressureDifference, KCAL, 2.0, 2.0},
    {quantity::SuctionPressure, IMP, 3.5, 50.75},
    {quantity::IntermediatePressure, IMP, 10.0, 145.0},
    {quantity::IntermediatePressure, KCAL, 10.0, 10.0},
    // temperature differences: Fahrenheit degrees without the offset
    {quantity::TemperatureDifference, IMP, 10.0, 18.0},
    {quantity::TemperatureDifference, KCAL, 10.0, 10.0},
    // shown as held
    {quantity::VolumetricEfficiency, IMP, 87.0, 87.0},
    {quantity::IsentropicEfficiency, KCAL, 65.0, 65.0},
    {quantity::PowerFactor, IMP, 0.85, 0.85},
    {quantity::Displacement, IMP, 25.0, 25.0},
    {quantity::LoadRatio, IMP, 50.0, 50.0},
    {quantity::DischargePressure, IMP, 20.0, 20.0},
    {quantity::SeasonalEfficiency, IMP, 4.2, 4.2},
    {quantity::InjectionTemp, IMP, 20.0, 20.0},
    {quantity::IntermediateBubbleTemp, IMP, 20.0, 20.0},
    {quantity::Speed, IMP, 2900.0, 2900.0},
    {quantity::Load, IMP, 75.0, 75.0},
    {quantity::Status, IMP, 3.0, 3.0},
    {29, IMP, 3.0, 3.0},
    {99, IMP, 3.0, 3.0},
    {-1, IMP, 3.0, 3.0},
    // unknown unit systems behave as SI
    {quantity::CondensingTemp, static_cast<UnitSystem>(0), 20.0, 20.0},
    {quantity::CoolingCapacity, static_cast<UnitSystem>(4), 10.0, 10.0},
    {quantity::MassFlow, static_cast<UnitSystem>(-2), 100.0, 100.0},
};

TEST(Units, ToDisplayConvertsEachQuantityInEachSystem) {
    for (const Conversion& c : kConversions) {
        SCOPED_TRACE("code " + std::to_string(c.code) + " system " +
                     std::to_string(ToInt(c.system)));
        EXPECT_NEAR(ToDisplay(c.code, c.system, c.internal), c.display, 1e-9);
    }
}

TEST(Units, FromDisplayTakesTypedValuesBack) {
    for (const Conversion& c : kConversions) {
        SCOPED_TRACE("code " + std::to_string(c.code) + " system " +
                     std::to_string(ToInt(c.system)));
        EXPECT_NEAR(FromDisplay(c.code, c.system, c.display), c.internal, 1e-9);
    }
}

TEST(Units, TypedFahrenheitIsStoredAsCelsius) {
    EXPECT_DOUBLE_EQ(FromDisplay(quantity::CondensingTemp, IMP, 68.0), 20.0);
    EXPECT_DOUBLE_EQ(FromDisplay(quantity::DischargeTemp, IMP, -40.0), -40.0);
    EXPECT_NEAR(FromDisplay(quantity::LiquidTemp, IMP, 5.0), -15.0, 1e-12);
    // In kcal-metric a temperature is typed in Celsius.
    EXPECT_DOUBLE_EQ(FromDisplay(quantity::CondensingTemp, KCAL, 68.0), 68.0);
}

TEST(Units, RoundTripIsExactEnoughForEveryCodeAndSystem) {
    for (int code = -1; code <= 45; ++code) {
        for (int system = 0; system <= 4; ++system) {
            for (double v : {-45.3, 0.0, 0.0734, 12.34, 2899.6, 1.0e6}) {
                const auto s = static_cast<UnitSystem>(system);
                const double back = FromDisplay(code, s, ToDisplay(code, s, v));
                EXPECT_NEAR(back, v, 1e-9 * std::max(1.0, std::fabs(v)))
                    << "code " << code << " system " << system << " value " << v;
            }
        }
    }
}

TEST(Units, NonFiniteValuesPassThrough) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(ToDisplay(quantity::CondensingTemp, IMP, nan)));
    EXPECT_TRUE(std::isnan(FromDisplay(quantity::CoolingCapacity, KCAL, nan)));
    EXPECT_TRUE(std::isnan(RoundForDisplay(quantity::CoolingCapacity, nan)));
    EXPECT_EQ(RoundForDisplay(quantity::CondensingTemp, HUGE_VAL), HUGE_VAL);
}

struct Labels {
    QuantityCode code;
    const char* si;
    const char* imperial;
    const char* kcal;
};

TEST(Units, UnitLabels) {
    const std::vector<Labels> table = {
        {quantity::CoolingCapacity, "kW", "kBtu/h", "MCal/h"},
        {quantity::PowerInput, "kW", "kW", "kW"},
        {quantity::Current, "A", "A", "A"},
        {quantity::COP, "", "Btu/h/W", ""},
        {quantity::VolumetricEfficiency, "", "", ""},
        {quantity::IsentropicEfficiency, "", "", ""},
        {quantity::MassFlow, "g/s", "lb/h", "kg/s"},
        {quantity::HeatRejection, "kW", "kBtu/h", "MCal/h"},
        {quantity::CondensingTemp, "\u00B0C", "\u00B0F", "\u00B0C"},
        {quantity::DischargeTemp, "\u00B0C", "\u00B0F", "\u00B0C"},
        {quantity::HeatingCapacity, "kW", "kBtu/h", "MCal/h"},
        {quantity::LiquidTemp, "\u00B0C", "\u00B0F", "\u00B0C"},
        {quantity::PowerFactor, "", "", ""},
        {quantity::IntermediateSatTemp, "\u00B0C", "\u00B0F", "\u00B0C"},
        {quantity::PressureDifference, "bar", "psi", "bar"},
        {quantity::Displacement, "m3/h", "m3/h", "m3/h"},
        {quantity::CapacityReserved, "kW", "kBtu/h", "MCal/h"},
        {quantity::LoadRatio, "", "", ""},
        {quantity::EconomiserCapacity, "kW", "kBtu/h", "MCal/h"},
        {quantity::RefrigerationCOP, "", "Btu/h/W", ""},
        {quantity::SuctionPressure, "bar", "psi", "bar"},
        {quantity::DischargePressure, "", "", ""},
        {quantity::SeasonalEfficiency, "", "", ""},
        {quantity::InjectionMassFlow, "g/s", "lb/h", "kg/s"},
        {quantity::InjectionTemp, "", "", ""},
        {quantity::IntermediateBubbleTemp, "", "", ""},
        {quantity::Speed, "", "", ""},
        {quantity::Load, "", "", ""},
        {quantity::IntermediatePressure, "bar", "psi", "bar"},
        {quantity::VapourOutletTemp, "\u00B0C", "\u00B0F", "\u00B0C"},
        {quantity::LiquidTempInjectionInlet, "\u00B0C", "\u00B0F", "\u00B0C"},
        {quantity::LiquidTempEconomiserOutlet, "\u00B0C", "\u00B0F", "\u00B0C"},
        {quantity::TemperatureDifference, "K", "\u00B0F", "K"},
        {quantity::Status, "", "", ""},
        {29, "", "", ""},
        {40, "", "", ""},
        {-3, "", "", ""},
    };
    for (const Labels& l : table) {
        SCOPED_TRACE("code " + std::to_string(l.code));
        EXPECT_EQ(UnitLabel(l.code, SI), l.si);
        EXPECT_EQ(UnitLabel(l.code, IMP), l.imperial);
        EXPECT_EQ(UnitLabel(l.code, KCAL), l.kcal);
        EXPECT_EQ(UnitLabel(l.code, static_cast<UnitSystem>(7)), l.si);
    }
}

TEST(Units, DegreeSignIsUtf8) {
    EXPECT_EQ(UnitLabel(quantity::CondensingTemp, SI),
              "\xC2\xB0"
              "C");
    EXPECT_EQ(UnitLabel(quantity::TemperatureDifference, IMP),
              "\xC2\xB0"
              "F");
}

TEST(Units, Decimals) {
    for (QuantityCode code : {9, 10, 12, 14, 25, 26, 31, 32, 33, 41}) {
        EXPECT_EQ(Decimals(code), 1) << "code " << code;
    }
    for (QuantityCode code : {-1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  11, 13, 15, 16, 17,
                              18, 19, 20, 21, 22, 23, 24, 27, 28, 29, 30, 34, 40, 42, 100}) {
        EXPECT_EQ(Decimals(code), 2) << "code " << code;
    }
}

struct Rounding {
    QuantityCode code;
    double value;
    double expected;
};

TEST(Units, RoundForDisplay) {
    const std::vector<Rounding> table = {
        // worked values
        {1, 0.0734, 0.0734},
        {1, 12.34, 12.35},
        {1, 150.2, 150.0},
        {10, 74.96, 75.0},
        {27, 2899.6, 2900.0},
        // capacity-like codes: one case in each band, near the band's edges
        {1, 0.07487, 0.0749},    // < 0.075: 0.0001
        {1, 0.07512, 0.075},     // < 0.15: 0.0005
        {1, 0.1412, 0.141},      // < 0.15: 0.0005
        {1, 0.1504, 0.150},      // <= 1: 0.001
        {2, 0.99962, 1.0},       // <= 1: 0.001
        {2, 1.0034, 1.005},      // <= 2: 0.005
        {8, 1.997, 1.995},       // <= 2: 0.005
        {8, 2.004, 2.0},         // <= 10: 0.01
        {11, 9.996, 10.0},       // <= 10: 0.01
        {11, 10.02, 10.0},       // <= 20: 0.05
        {17, 19.97, 19.95},      // <= 20: 0.05
        {17, 20.04, 20.0},       // <= 100: 0.1
        {19, 99.97, 100.0},      // <= 100: 0.1
        {19, 100.3, 100.5},      // <= 200: 0.5
        {1, 199.7, 199.5},       // <= 200: 0.5
        {1, 200.4, 200.0},       // above: 1
        {1, 12345.6, 12346.0},   // above: 1
        {1, -0.12344, -0.1234},  // negative: the finest step
        // fixed step 0.01
        {3, 123.456, 123.46},
        {4, 3.14159, 3.14},
        {5, 87.654, 87.65},
        {6, 0.004, 0.0},
        {15, 0.126, 0.13},
        // other codes by magnitude
        {9, -25.37, -25.4},       // < 75: 0.1
        {9, 75.2, 75.0},          // < 150: 0.5
        {9, 149.8, 150.0},        // < 150: 0.5
        {9, 150.4, 150.0},        // <= 1000: 1
        {7, 999.6, 1000.0},       // <= 1000: 1
        {7, 1001.0, 1000.0},      // <= 2000: 5
        {7, 1997.0, 1995.0},      // <= 2000: 5
        {7, 2004.0, 2000.0},      // <= 10000: 10
        {7, 9996.0, 10000.0},     // <= 10000: 10
        {7, 10020.0, 10000.0},    // <= 20000: 50
        {7, 19970.0, 19950.0},    // <= 20000: 50
        {7, 20040.0, 20000.0},    // <= 100000: 100
        {7, 99960.0, 100000.0},   // <= 100000: 100
        {7, 100300.0, 100500.0},  // <= 200000: 500
        {7, 199700.0, 199500.0},  // <= 200000: 500
        {7, 200400.0, 200000.0},  // above: 1000
        {0, 42.04, 42.0},
        {41, 3.96, 4.0},
        {99, 12.34, 12.3},
        // speed: whole numbers
        {27, 1450.4, 1450.0},
        {27, 0.49, 0.0},
        // halves go to the even neighbour
        {27, 2.5, 2.0},
        {27, 3.5, 4.0},
        {27, -2.5, -2.0},
        {27, 2900.5, 2900.0},
        {27, 2901.5, 2902.0},
        {3, 0.125, 0.12},
        {3, 0.135, 0.14},
        {3, 2.345, 2.34},
        {3, 2.355, 2.36},
        {9, 0.25, 0.2},
        {9, 0.35, 0.4},
        {9, 20.05, 20.0},
        {9, 20.15, 20.2},
        {9, 75.25, 75.0},
        {9, 75.75, 76.0},
        {1, 12.325, 12.3},   // 0.05 step: 246.5 -> 246
        {1, 12.375, 12.4},   // 247.5 -> 248
        {1, 150.25, 150.0},  // 0.5 step: 300.5 -> 300
        {1, 150.75, 151.0},  // 301.5 -> 302
        {1, 1234.5, 1234.0},
        {1, 1235.5, 1236.0},
        {7, 1002.5, 1000.0},  // 5 step: 200.5 -> 200
        {7, 1007.5, 1010.0},  // 201.5 -> 202
    };
    for (const Rounding& r : table) {
        EXPECT_DOUBLE_EQ(RoundForDisplay(r.code, r.value), r.expected)
            << "code " << r.code << " value " << r.value;
    }
}

TEST(Units, RoundForDisplayGivesNoNegativeZero) {
    EXPECT_FALSE(std::signbit(RoundForDisplay(quantity::CondensingTemp, -0.04)));
    EXPECT_FALSE(std::signbit(RoundForDisplay(quantity::Speed, -0.4)));
}

TEST(Units, SummaryListsPerActivityMode) {
    const std::vector<std::pair<ActivityMode, std::vector<QuantityCode>>> lists = {
        {ActivityMode::Compressors, {1, 2, 4, 3, 7, 6, 8, 11, 19}},
        {ActivityMode::CondensingUnits, {1, 2, 4, 3, 7, 8, 9}},
        {ActivityMode::HeatPumpCompressors, {11, 2, 4, 3, 7, 1, 19}},
        {ActivityMode::ExpansionValves, {}},
        {ActivityMode::SolenoidValves, {}},
        {ActivityMode::HeadPressureControls, {}},
        {ActivityMode::FilterDriers, {}},
        {ActivityMode::BrineWaterHeatPumps, {11, 2, 4, 3}},
        {ActivityMode::AirWaterHeatPumps, {11, 2, 4, 3}},
        {static_cast<ActivityMode>(9), {}},
        {static_cast<ActivityMode>(-1), {}},
    };
    for (const auto& [mode, expected] : lists) {
        SCOPED_TRACE("mode " + std::to_string(ToInt(mode)));
        std::vector<QuantityCode> got;
        for (int i = 1; i <= 16; ++i) {
            const QuantityCode q = SummaryQuantity(mode, i);
            if (q == -1) {
                // The list ends at the first -1 and stays ended.
                for (int j = i; j <= 16; ++j) EXPECT_EQ(SummaryQuantity(mode, j), -1);
                break;
            }
            got.push_back(q);
        }
        EXPECT_EQ(got, expected);
        for (int outside : {0, -1, 17, 1000, std::numeric_limits<int>::min()}) {
            EXPECT_EQ(SummaryQuantity(mode, outside), -1) << "index " << outside;
        }
    }
    EXPECT_EQ(SummaryQuantity(ActivityMode::Compressors, 10), -1);
    EXPECT_EQ(SummaryQuantity(ActivityMode::ExpansionValves, 1), -1);
}

struct Removal {
    char32_t character;
    std::string text;
    std::string expected;
};

TEST(Units, RemoveCharacter) {
    const std::vector<Removal> table = {
        {U',', "1,234,567.5", "1234567.5"},
        {U',', "", ""},
        {U',', ",,,", ""},
        {U',', "12.5", "12.5"},
        {U' ', " 12 345 ", "12345"},
        {U'.', "1.234.567", "1234567"},
        {U'a', "banana", "bnn"},
        // a non-breaking space as thousands separator; other non-ASCII characters stay whole
        {U'\u00A0', "caf\u00E9 1\u00A0234\u00A0567", "caf\u00E9 1234567"},
        {U'\u202F', "1\u202F234", "1234"},
        {U'\u00E9', "\u00E9t\u00E9", "t"},
        {U'\U0001F600', "a\U0001F600b", "ab"},
        // not a character: nothing removed
        {static_cast<char32_t>(0xD800),
         "a\xED\xA0\x80"
         "b",
         "a\xED\xA0\x80"
         "b"},
        {static_cast<char32_t>(0x110000), "abc", "abc"},
    };
    for (const Removal& r : table) {
        EXPECT_EQ(RemoveCharacter(r.character, r.text), r.expected)
            << "removing U+" << std::hex << static_cast<unsigned>(r.character) << " from \""
            << r.text << "\"";
    }
}

TEST(Units, RemoveCharacterKeepsEmbeddedNulls) {
    const std::string text("1\0,2", 4);
    EXPECT_EQ(RemoveCharacter(U',', text), std::string("1\0"
                                                       "2",
                                                       3));
    EXPECT_EQ(RemoveCharacter(U'\0', text), "1,2");
}

}  // namespace
}  // namespace kelvra
