// Test helpers: temporary folders and a small product database that exercises every file and
// every linking rule of the loader.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "property_library.hpp"
#include "rating_set_builder.hpp"
#include "record_files.hpp"

namespace kelvra::testing {

// A fresh empty folder, removed with everything in it at the end of the test.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvra-db-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Loads both property libraries of the build for the lifetime of the object.
struct BuildLibraries {
    BuildLibraries() { loaded = LoadPropertyLibraries(); }
    ~BuildLibraries() { UnloadPropertyLibraries(); }
    BuildLibraries(const BuildLibraries&) = delete;
    BuildLibraries& operator=(const BuildLibraries&) = delete;
    LoadedPropertyLibraries loaded;
};

// Adds the set's record, its envelope points and its speed data to the database.
inline void AddRatingSet(ProductDatabase& db, const RatingSetBuilder& set) {
    db.ratingSets.push_back(RatingSetRow{set.Record()});
    for (const auto& point : set.PointRecords()) {
        db.envelopePoints.push_back(EnvelopePointRow::FromBytes(point));
    }
    if (const auto speed = set.SpeedRecord()) {
        db.speedData.push_back(SpeedDataRow::FromBytes(*speed));
    }
}

inline constexpr double kFixtureDate = 45292.0;  // 1 January 2024

inline CompressorRow Compressor(std::uint16_t id, std::string name, char letter,
                                std::int16_t family, std::int16_t refrigerant, std::int16_t supply,
                                std::uint16_t setA) {
    CompressorRow row;
    row.id = id;
    row.name = std::move(name);
    row.letter = letter;
    row.familyCode = family;
    row.refrigerantCode = refrigerant;
    row.supplyCode = supply;
    row.ratingSetA = setA;
    row.massFlowFactor = 1.0f;
    row.capacityFactor = 1.0f;
    row.powerFactor = 1.0f;
    return row;
}

inline CondensingUnitRow Unit(std::uint16_t id, std::string name, char letter, std::int16_t family,
                              std::uint16_t compressorId) {
    CondensingUnitRow row;
    row.id = id;
    row.name = std::move(name);
    row.letter = letter;
    row.familyCode = family;
    row.compressorId = compressorId;
    row.condenserCoefficient = 1.0f;
    row.fanPower = 100.0f;
    return row;
}

inline OrdaCorrectionRow Correction(std::int16_t group, char type, float row, float x0) {
    OrdaCorrectionRow r;
    r.groupId = group;
    r.typeLetter = type;
    r.rowValue = row;
    r.columnOrigin = x0;
    r.factors[0] = 1.0;
    r.factors[1] = 1.1;
    r.factors[2] = 1.2;
    return r;
}

// A fixed-speed set with one complete envelope of type 1.
inline RatingSetBuilder PlainSet(std::uint16_t index) {
    RatingSetBuilder set(index);
    set.Kind(2)
        .Displacement(0.001 * index)
        .RatedSuperheat(10)
        .Envelope(1, 1, {{-30, 20}, {-30, 50}}, {{10, 20}, {10, 55}});
    return set;
}

// The fixture database. What it holds, by file:
//  header5   families C1 (cat 1), C2 (cat 2), H5, C8 (cat 9: dropped), U9 (cat 19.4: dropped),
//            C12 (cat 11.5: rounds to 12, kept), U1, U22 (network), V1, V4; refrigerants R134a
//            (1), R404A (5, kind G), R744 (10); one row that is neither.
//  envtype5  supplies 1 (50 Hz), 2 (60 Hz), 3 (50 Hz, single phase); envelope types 1, 5, 7
//            and a second type 1.
//  comp5     100 "ZX21" (sets 1 and 2), 101 "ZX30" (3), 102 "ZH40" (4, family H5, R134a),
//            103 "zx21" (1, supply 2), 104 (set A 0), 105 (unknown refrigerant), 106 (unknown
//            supply), 107 "ZX99" (set 9, missing from CRATE5), 110 three times with letters A,
//            C, B (set 5), 120 "CO2-1" (set 6, R744).
//  cond5     200 on 110 letter A, 201 on 110 letter B, 202 on 100, 203 on an unknown compressor,
//            207 on 107; network units of groups "NET-D10", "NET-T20", "-NET-X", "NET-Z30" (on
//            107) and "NET-M5" (on a compressor with application mask 0).
//  CRATE5    sets 1..6 and a second set 1; rpmData speed data for set 1, inverter data for 3.
inline ProductDatabase FixtureDatabase() {
    ProductDatabase db;
    db.date = kFixtureDate;

    db.header = {
        {1, "Scroll A/C", 'A', 'C', 1.0f},
        {2, "Scroll Refrigeration", 'B', 'C', 2.0f},
        {5, "Heat Pump Scroll", 'A', 'H', 2.0f},
        {8, "Withdrawn", 'A', 'C', 9.0f},
        {9, "Hidden Units", 'A', 'U', 19.4f},
        {12, "Semi-Hermetic", 'A', 'C', 11.5f},
        {1, "Indoor Units", 'A', 'U', 1.0f},
        {22, "Network Units", 'A', 'U', 12.0f},
        {1, "Thermal Valves", 'A', 'V', 1.0f},
        {4, "Solenoid Valves", 'A', 'V', 3.0f},
        {1, "R134a", 'R', 'N', 1.11f},
        {5, "R404A", 'R', 'G', 1.12f},
        {10, "R744", 'R', 'N', 1.3f},
        {99, "a note", ' ', ' ', 0.0f},
    };
    db.suppliesAndTypes = {
        {"400V-3-50", 1, 0, 50, 400.0f, 3.0f},      {"460V-3-60", 2, 0, 60, 460.0f, 3.0f},
        {"230V-1-50", 3, 0, 50, 230.0f, 1.0f},      {"Standard", 1, 0, 1, 20.0f, 0.0f},
        {"Maximum power", 5, 0, 5, 20.0f, 0.0f},    {"Extended", 7, 0, 7, 20.0f, 0.0f},
        {"Standard revised", 1, 0, 1, 25.0f, 0.0f},
    };
    db.headings = {{10, 'C', 'E'}, {11, 'M', 'M'}, {12, 'R', 'E'}, {20, 'C', 'A'}, {30, 'C', 'X'}};
    db.motorCodes = {
        {1, "TFD", "400V-3-50", "380-420", "Star", "DOL", 10.0f},
        {2, "PFJ", "230V-1-50", "220-240", "-", "DOL", 25.0f},
    };

    CompressorRow zx21 = Compressor(100, "ZX21", 'C', 1, 5, 1, 1);
    zx21.ratingSetB = 2;
    zx21.motorCodes[0] = 1;
    zx21.motorCodes[1] = 2;
    zx21.massFlowFactor = 1.01f;
    zx21.capacityFactor = 1.05f;
    zx21.powerFactor = 0.98f;
    zx21.rKey = 500;
    zx21.mKey = 600;
    zx21.drawingNumber = 7;
    zx21.applicationMask = 1;
    zx21.ratingByte = 12;
    zx21.secondNumber = 4321;
    CompressorRow zx30 = Compressor(101, "ZX30", 'C', 2, 5, 1, 3);
    zx30.applicationMask = 2;
    zx30.ratingByte = 3;
    CompressorRow zh40 = Compressor(102, "ZH40", 'C', 5, 1, 1, 4);
    CompressorRow zx21at60 = Compressor(103, "zx21", 'C', 1, 5, 2, 1);
    zx21at60.applicationMask = 1;
    CompressorRow zx99 = Compressor(107, "ZX99", 'C', 1, 5, 1, 9);
    zx99.applicationMask = 1;
    db.compressors = {
        zx21,
        zx30,
        zh40,
        zx21at60,
        Compressor(104, "no data", 'C', 1, 5, 1, 0),
        Compressor(105, "unknown refrigerant", 'C', 1, 77, 1, 1),
        Compressor(106, "unknown supply", 'C', 1, 5, 9, 1),
        zx99,
        Compressor(110, "ZS50-A", 'A', 1, 5, 1, 5),
        Compressor(110, "ZS50-C", 'C', 1, 5, 1, 5),
        Compressor(110, "ZS50-B", 'B', 1, 5, 1, 5),
        Compressor(120, "CO2-1", 'C', 12, 10, 1, 6),
    };

    CondensingUnitRow cu200 = Unit(200, "CU-200", 'A', 1, 110);
    cu200.condenserCoefficient = 1.5f;
    cu200.fanPower = 150.0f;
    cu200.maxCondensingPressure = 28.0f;
    cu200.drawingNumber = 40;
    cu200.ratingClass = 1;
    cu200.motorCodes[0] = 2;
    db.condensingUnits = {
        cu200,
        Unit(201, "CU-201", 'B', 1, 110),
        Unit(202, "CU-202", 'C', 1, 100),
        Unit(203, "CU-203", 'C', 1, 999),
        Unit(207, "CU-207", 'C', 1, 107),
        Unit(300, "NET-D10-NLO-1", 'C', 22, 100),
        Unit(301, "NET-D10-NO-2", 'C', 22, 100),
        Unit(302, "net-d10-NL-3", 'C', 22, 100),
        Unit(303, "NET-D10-N-4", 'C', 22, 100),
        Unit(304, "NET-T20-NLO", 'C', 22, 100),
        Unit(305, "-NET-X", 'C', 22, 100),
        Unit(306, "NET-Z30-NLO-1", 'C', 22, 107),
        Unit(307, "NET-M5-nl-1", 'C', 22, 110),
    };

    db.compressorTechData = {
        {100, 10, "400 V 3 ph", 1.5f},    // by model id
        {600, 11, "Mounting kit", 2.0f},  // by M-key
        {500, 12, "  Rotalock  ", 0.5f},  // by R-key
        {100, 99, "no heading", 0.0f},    // dropped
        {100, 30, "other group", 0.0f},   // not listed
        {101, 10, "230 V", 7.0f},
    };
    db.unitTechData = {
        {200, 10, "Unit supply", 3.0f}, {40, 11, "Unit frame", 4.0f},  // by the drawing number
    };
    db.accessories = {
        {100, 20, 5001, 'C', 'I'}, {100, 20, 5002, 'R', 'o'}, {200, 20, 5003, 'u', 'O'},
        {300, 20, 5004, 'v', 'i'}, {100, 20, 5005, 'C', 'X'}, {100, 98, 5006, 'C', 'I'},
        {101, 20, 5007, 'C', 'O'},
    };

    db.ordaCorrections = {
        Correction(1, 'E', -40, -40),
        Correction(1, 'E', -35, -40),
        Correction(2, 'S', 20, -40),
        Correction(1, 'T', -30, -45),
    };
    db.ordaModels = {
        {300, "TX-1", "Orifice 1", 1, 5, 1, 5.0f, 0.5f, 50},
        {301, "SV-1", "", 4, 5, 2, 10.0f, 0.2f, 0},
        {302, "TX-2", "", 1, 77, 1, 5.0f, 0.5f, 0},
        {303, "TX-3", "", 1, 5, 42, 5.0f, 0.5f, 0},
        {304, "TX-1 R134a", "Orifice 1", 1, 1, 2, 5.0f, 0.5f, 0},
    };
    db.ordaTechData = {
        {300, 10, "short", "a longer text", 1.25f},
        {301, 0, "none", "no heading", 0.0f},
    };

    RatingSetBuilder set1 = PlainSet(1);
    set1.Envelope(2, 5, {{-25, 25}, {-25, 45}}, {});  // left line only: special limit
    std::array<double, 40> speed{};
    speed[0] = 1.0;
    set1.SpeedPolynomials(speed);
    RatingSetBuilder set2 = PlainSet(2);
    TenvPoint unused;
    unused.envelopeNumber = 0;
    unused.minimumSide = true;
    unused.x = -99.0f;
    unused.y = 60.0f;
    set2.Point(unused);
    RatingSetBuilder set3 = PlainSet(3);
    std::array<double, 40> inverter{};
    inverter[0] = 1.0;
    set3.InverterPolynomials(inverter);
    RatingSetBuilder set6(6);
    set6.Kind(6).TechnologyCode(10).RatedSuperheat(10).Envelope(1, 1, {{-40, 40}, {-40, 100}},
                                                                {{0, 40}, {0, 110}});
    AddRatingSet(db, set1);
    AddRatingSet(db, set2);
    AddRatingSet(db, set3);
    AddRatingSet(db, PlainSet(4));
    AddRatingSet(db, PlainSet(5));
    AddRatingSet(db, set6);
    RatingSetBuilder duplicate = PlainSet(1);
    duplicate.Displacement(0.5);
    db.ratingSets.push_back(RatingSetRow{duplicate.Record()});

    db.drawings = {
        {7, "ZX21.pdf   ", 'C'}, {40, "CU200.pdf", 'u'},   {50, "TX1.pdf", 'V'},
        {7, "second.pdf", 'C'},  {8, "../../secret", 'C'}, {9, "x.pdf", 'Z'},
    };
    return db;
}

}  // namespace kelvra::testing
