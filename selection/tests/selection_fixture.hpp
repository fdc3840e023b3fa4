// A small product database for selections: compressors whose capacities at the standard point
// are round numbers, so that which model the automatic choice takes can be told in advance.
// Used by the selection tests and, written into a folder, by the command-line checks.
#pragma once

#include <stdlib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "property_library.hpp"
#include "rating_set_builder.hpp"
#include "record_files.hpp"

namespace kelvra::testing {

// A fresh empty folder, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvra-selection-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The property libraries of the build, loaded for the lifetime of the object.
struct PropertyLibraries {
    PropertyLibraries() { loaded = LoadPropertyLibraries(); }
    ~PropertyLibraries() { UnloadPropertyLibraries(); }
    PropertyLibraries(const PropertyLibraries&) = delete;
    PropertyLibraries& operator=(const PropertyLibraries&) = delete;
    LoadedPropertyLibraries loaded;
};

inline constexpr double kSelectionFixtureDate = 45292.0;  // 1 January 2024

// Rating polynomials (EN 12900, degC, kW and A) of a compressor of scale 1: 10 kW cooling
// capacity and 4 kW power input at -10 degC evaporating and 40 degC condensing, rated at 10 K
// superheat and no subcooling. A compressor of scale s has s times these.
inline constexpr std::array<double, 10> kFixtureCapacity = {17.9, 0.35, -0.12, 0.004, 0,
                                                            0,    0,    0,     0,     0};
inline constexpr std::array<double, 10> kFixturePower = {1.22, 0.01, 0.072, 0, 0, 0, 0, 0, 0, 0};
inline constexpr std::array<double, 10> kFixtureCurrent = {3.0, 0, 0.05, 0, 0, 0, 0, 0, 0, 0};

// Capacity and power of a compressor of scale `scale` at an evaporating and condensing
// temperature (degC) of a pure refrigerant, at the rated superheat and subcooling.
inline double FixtureCapacity(double scale, double te, double tc) {
    const auto& c = kFixtureCapacity;
    return scale * (c[0] + c[1] * te + c[2] * tc + c[3] * te * te);
}
inline double FixturePower(double scale, double te, double tc) {
    const auto& c = kFixturePower;
    return scale * (c[0] + c[1] * te + c[2] * tc);
}

inline std::array<double, 10> FixtureScaled(std::array<double, 10> c, double scale) {
    for (double& v : c) v *= scale;
    return c;
}

// A fixed-speed rating set of the given scale inside one envelope of type 1 from `teMin` to
// 15 degC evaporating and 10 to 65 degC condensing.
inline RatingSetBuilder FixtureSet(std::uint16_t index, double scale, double teMin = -40) {
    RatingSetBuilder set(index);
    set.Kind(2)
        .Displacement(0.0085 * scale)
        .Coefficients(CoefficientBlock::A, FixtureScaled(kFixtureCapacity, scale))
        .Coefficients(CoefficientBlock::B, FixtureScaled(kFixturePower, scale))
        .Coefficients(CoefficientBlock::C, FixtureScaled(kFixtureCurrent, scale))
        .RatedSuperheat(10.0f)
        .RatedSubcooling(0.0f)
        .VolumetricEfficiencyScale(1.0f)
        .MaxDischargeTemp(140.0)
        .Envelope(1, 1, {{teMin, 10}, {teMin, 60}}, {{15, 10}, {15, 65}});
    return set;
}

// A variable-speed rating set: nominal speed 3000 rpm, envelopes from 1200 to 7200 rpm; the
// capacity rises with the speed.
inline RatingSetBuilder FixtureSpeedSet(std::uint16_t index) {
    const std::vector<EnvelopeCorner> left = {{-40, 10}, {-40, 60}};
    const std::vector<EnvelopeCorner> right = {{15, 10}, {15, 65}};
    std::array<double, 40> speed{};
    speed[0] = 0.003;    // capacity per rpm
    speed[10] = 0.0012;  // power per rpm
    speed[30] = 0.0004;  // current per rpm
    RatingSetBuilder set(index);
    set.Kind(2)
        .Displacement(0.0085)
        .Coefficients(CoefficientBlock::A, kFixtureCapacity)
        .Coefficients(CoefficientBlock::B, kFixturePower)
        .Coefficients(CoefficientBlock::C, kFixtureCurrent)
        .RatedSuperheat(10.0f)
        .RatedSubcooling(0.0f)
        .VolumetricEfficiencyScale(1.0f)
        .MaxDischargeTemp(140.0)
        .NominalSpeed(3000)
        .SpeedEnvelope(1, 1, 1200, left, right)
        .SpeedLevel(1, 1200, left, right)
        .SpeedLevel(1, 7200, left, right)
        .SpeedPolynomials(speed);
    return set;
}

// An inverter-driven rating set: capacity and power proportional to the frequency, nominal
// 1500 rpm, envelopes from 900 to 2100 rpm.
inline RatingSetBuilder FixtureInverterSet(std::uint16_t index) {
    const std::vector<EnvelopeCorner> left = {{-40, 10}, {-40, 60}};
    const std::vector<EnvelopeCorner> right = {{15, 10}, {15, 65}};
    std::array<double, 40> inverter{};
    inverter[0] = 1.0;
    inverter[1] = 1.0;
    inverter[10] = 1.0;
    inverter[11] = 1.0;
    inverter[30] = 2.0;
    inverter[31] = 1.5;
    RatingSetBuilder set(index);
    set.Kind(2)
        .Displacement(0.0085)
        .Coefficients(CoefficientBlock::A, kFixtureCapacity)
        .Coefficients(CoefficientBlock::B, kFixturePower)
        .Coefficients(CoefficientBlock::C, kFixtureCurrent)
        .RatedSuperheat(10.0f)
        .RatedSubcooling(0.0f)
        .VolumetricEfficiencyScale(1.0f)
        .MaxDischargeTemp(140.0)
        .NominalSpeed(1500)
        .SpeedEnvelope(1, 1, 900, left, right)
        .SpeedLevel(1, 2100, left, right)
        .InverterPolynomials(inverter);
    return set;
}

inline void AddFixtureSet(ProductDatabase& db, const RatingSetBuilder& set) {
    db.ratingSets.push_back(RatingSetRow{set.Record()});
    for (const auto& point : set.PointRecords())
        db.envelopePoints.push_back(EnvelopePointRow::FromBytes(point));
    if (const auto speed = set.SpeedRecord())
        db.speedData.push_back(SpeedDataRow::FromBytes(*speed));
}

inline CompressorRow FixtureCompressor(std::uint16_t id, std::string name, std::int16_t family,
                                       std::int16_t refrigerant, std::int16_t supply,
                                       std::uint16_t applicationMask = 3) {
    CompressorRow row;
    row.id = id;
    row.name = std::move(name);
    row.letter = 'C';
    row.familyCode = family;
    row.refrigerantCode = refrigerant;
    row.supplyCode = supply;
    row.ratingSetA = id;
    row.massFlowFactor = 1.0f;
    row.capacityFactor = 1.0f;
    row.powerFactor = 1.0f;
    row.applicationMask = applicationMask;
    return row;
}

// Refrigerant codes and supply numbers of the fixture.
inline constexpr std::int16_t kFixtureR134a = 1;
inline constexpr std::int16_t kFixtureR404A = 5;
inline constexpr std::int16_t kSupply50 = 1;        // "400V-3-50"
inline constexpr std::int16_t kSupply60 = 2;        // "460V-3-60"
inline constexpr std::int16_t kSupplySingle50 = 3;  // "230V-1-50"

// The database. Compressors in load order, with their scale (capacity at -10/40 degC = 10 kW
// times the scale) -- R134a at 400V-3-50 unless said otherwise:
//   family 1 "Scroll A/C" (category 1):     KS-05 0.5, KS-07 0.75, KS-10 1.0, KS-12 1.2,
//                                            KS-09N 0.9 (envelope only from -5 degC up)
//   family 2 "Scroll Refrigeration" (2):    KR-15 1.5, KR-20-2S 2.0 with a 50 % step of 1.0
//   family 12 "Semi-Hermetic" (11):          KH-30-LT 3.0 (low temperature), KH-40-MT 4.0 (medium)
//   family 1 at 460V-3-60:                   KS-10 1.2
//   family 5 "Heat Pump Scroll" (kind H):    KP-10 1.0
//   family 1, R404A:                         KS-10 1.1
//   family 2, R404A:                         KR-20-2S 2.2 with a 50 % step of 1.1
//   family 3 "Variable Speed Scroll" (1):    KV-10, variable speed, 3000 rpm nominal;
//                                            KI-10, inverter-driven, 1500 rpm nominal
// One condensing unit CU-10 (family 1 of units) on KS-10, one solenoid valve SV-3.
inline ProductDatabase SelectionFixtureDatabase() {
    ProductDatabase db;
    db.date = kSelectionFixtureDate;
    db.header = {
        {1, "Scroll A/C", 'A', 'C', 1.0f},
        {2, "Scroll Refrigeration", 'B', 'C', 2.0f},
        {3, "Variable Speed Scroll", 'C', 'C', 1.0f},
        {12, "Semi-Hermetic", 'A', 'C', 11.0f},
        {5, "Heat Pump Scroll", 'A', 'H', 2.0f},
        {1, "Indoor Units", 'A', 'U', 1.0f},
        {1, "Thermal Valves", 'A', 'V', 1.0f},
        {3, "Solenoid Valves", 'A', 'V', 3.0f},
        {kFixtureR134a, "R134a", 'R', 'N', 1.11f},
        {kFixtureR404A, "R404A", 'R', 'G', 1.12f},
    };
    db.suppliesAndTypes = {
        {"400V-3-50", kSupply50, 0, 50, 400.0f, 3.0f},
        {"460V-3-60", kSupply60, 0, 60, 460.0f, 3.0f},
        {"230V-1-50", kSupplySingle50, 0, 50, 230.0f, 1.0f},
        {"Standard", 1, 0, 1, 30.0f, 0.0f},
    };
    db.headings = {{10, 'C', 'M'}};
    db.motorCodes = {{1, "TFD", "400V-3-50", "380-420", "Star", "DOL", 10.0f}};

    struct Model {
        std::uint16_t id;
        const char* name;
        std::int16_t family;
        std::int16_t refrigerant;
        std::int16_t supply;
        double scale;
        std::uint16_t mask = 3;
        double teMin = -40;
    };
    const std::vector<Model> models = {
        {1, "KS-05", 1, kFixtureR134a, kSupply50, 0.5},
        {2, "KS-07", 1, kFixtureR134a, kSupply50, 0.75},
        {3, "KS-10", 1, kFixtureR134a, kSupply50, 1.0},
        {4, "KS-12", 1, kFixtureR134a, kSupply50, 1.2},
        {9, "KS-09N", 1, kFixtureR134a, kSupply50, 0.9, 3, -5},
        {5, "KR-15", 2, kFixtureR134a, kSupply50, 1.5},
        {6, "KR-20-2S", 2, kFixtureR134a, kSupply50, 2.0},
        {7, "KH-30-LT", 12, kFixtureR134a, kSupply50, 3.0, 1},
        {8, "KH-40-MT", 12, kFixtureR134a, kSupply50, 4.0, 2},
        {10, "KS-10", 1, kFixtureR134a, kSupply60, 1.2},
        {11, "KP-10", 5, kFixtureR134a, kSupply50, 1.0},
        {12, "KS-10", 1, kFixtureR404A, kSupply50, 1.1},
    };
    for (const Model& m : models) {
        CompressorRow row =
            FixtureCompressor(m.id, m.name, m.family, m.refrigerant, m.supply, m.mask);
        if (m.id == 6) row.ratingSetB = 13;
        row.motorCodes[0] = 1;
        db.compressors.push_back(row);
        AddFixtureSet(db, FixtureSet(m.id, m.scale, m.teMin));
    }
    AddFixtureSet(db, FixtureSet(13, 1.0));  // the 50 % step of KR-20-2S
    db.compressors.push_back(FixtureCompressor(14, "KV-10", 3, kFixtureR134a, kSupply50));
    AddFixtureSet(db, FixtureSpeedSet(14));
    db.compressors.push_back(FixtureCompressor(15, "KI-10", 3, kFixtureR134a, kSupply50));
    AddFixtureSet(db, FixtureInverterSet(15));
    CompressorRow twoSteps404 = FixtureCompressor(16, "KR-20-2S", 2, kFixtureR404A, kSupply50);
    twoSteps404.ratingSetB = 17;
    db.compressors.push_back(twoSteps404);
    AddFixtureSet(db, FixtureSet(16, 2.2));
    AddFixtureSet(db, FixtureSet(17, 1.1));

    CondensingUnitRow unit;
    unit.id = 100;
    unit.name = "CU-10";
    unit.letter = 'C';
    unit.familyCode = 1;
    unit.compressorId = 3;
    unit.condenserCoefficient = 1.0f;
    unit.fanPower = 150.0f;
    db.condensingUnits = {unit};

    OrdaCorrectionRow correction;
    correction.groupId = 1;
    correction.typeLetter = 'S';
    correction.rowValue = -40;
    correction.columnOrigin = -40;
    correction.factors[0] = 1.0;
    db.ordaCorrections = {correction};
    db.ordaModels = {{300, "SV-3", "", 3, kFixtureR134a, 1, 5.0f, 0.0f, 0}};
    db.compressorTechData = {
        {3, 10, "25 kg", 25.0f}, {4, 10, "28 kg", 28.0f}, {1, 10, "20 kg", 20.0f}};
    return db;
}

}  // namespace kelvra::testing
