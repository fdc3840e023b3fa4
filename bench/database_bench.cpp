// Loading a whole product database folder: a generated database of the size of the shipped one
// (about 200 compressors with two or three rating sets each, 60 condensing units, 20 network
// units and 40 controls valves), and the shipped database itself when the build has compiled it.

#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "data_store.hpp"
#include "property_library.hpp"
#include "rating_set_builder.hpp"
#include "record_files.hpp"

namespace {

using namespace kelvra;

ProductDatabase GeneratedDatabase() {
    ProductDatabase db;
    db.date = 45292.0;
    const std::pair<std::int16_t, float> compressorFamilies[] = {
        {1, 1}, {2, 2}, {11, 11}, {12, 12}};
    for (const auto& [code, category] : compressorFamilies) {
        db.header.push_back({code, fmt::format("Family {}", code), 'A', 'C', category});
    }
    db.header.push_back({1, "Indoor units", 'A', 'U', 1});
    db.header.push_back({11, "Outdoor units", 'A', 'U', 11});
    db.header.push_back({22, "Network units", 'A', 'U', 12});
    for (std::int16_t code = 1; code <= 7; ++code) {
        db.header.push_back(
            {code, fmt::format("Controls {}", code), 'A', 'V', static_cast<float>(code)});
    }
    const std::pair<std::int16_t, const char*> refrigerants[] = {
        {1, "R134a"}, {5, "R404A"}, {6, "R407C"}, {7, "R410A"}, {10, "R744"}};
    for (const auto& [code, name] : refrigerants) db.header.push_back({code, name, 'R', 'N', 1.1f});

    db.suppliesAndTypes = {{"400V-3-50", 1, 0, 50, 400, 3},   {"230V-1-50", 2, 0, 50, 230, 1},
                           {"460V-3-60", 3, 0, 60, 460, 3},   {"Standard", 1, 0, 1, 20, 0},
                           {"Maximum power", 5, 0, 5, 20, 0}, {"Extended", 7, 0, 7, 20, 0}};
    for (std::uint16_t id = 1; id <= 30; ++id) {
        db.headings.push_back({id, id % 3 == 0 ? 'M' : 'C', id % 2 == 0 ? 'E' : 'M'});
    }
    for (std::uint16_t id = 1; id <= 20; ++id) {
        db.motorCodes.push_back({id, "TFD", "400V-3-50", "380-420", "Star", "DOL", 10.0f + id});
    }

    std::uint16_t nextSet = 1;
    auto addSet = [&](int points) {
        RatingSetBuilder set(nextSet);
        std::vector<EnvelopeCorner> left;
        std::vector<EnvelopeCorner> right;
        for (int i = 0; i < points / 2; ++i) {
            left.push_back({-35.0 + i, 20.0 + 5 * i});
            right.push_back({10.0 - i, 20.0 + 6 * i});
        }
        set.Kind(2).Displacement(0.001).RatedSuperheat(10).Envelope(1, 1, left, right);
        set.Envelope(2, 5, {{-30, 25}, {-30, 45}}, {});
        db.ratingSets.push_back(RatingSetRow{set.Record()});
        for (const auto& point : set.PointRecords()) {
            db.envelopePoints.push_back(EnvelopePointRow::FromBytes(point));
        }
        return nextSet++;
    };

    const std::int16_t refrigerantCodes[] = {1, 5, 6, 7};
    for (std::uint16_t i = 0; i < 200; ++i) {
        CompressorRow row;
        row.id = static_cast<std::uint16_t>(1000 + i);
        row.name = fmt::format("ZX{:03}", i);
        row.letter = 'C';
        row.familyCode = compressorFamilies[i % 4].first;
        row.refrigerantCode = refrigerantCodes[i % 4];
        row.supplyCode = static_cast<std::int16_t>(1 + i % 3);
        row.motorCodes[0] = static_cast<std::uint8_t>(1 + i % 20);
        row.ratingSetA = addSet(12);
        row.ratingSetB = addSet(10);
        if (i % 2 == 0) row.ratingSetC = addSet(8);
        row.massFlowFactor = row.capacityFactor = row.powerFactor = 1.0f;
        row.rKey = static_cast<std::uint16_t>(5000 + i);
        row.mKey = static_cast<std::uint16_t>(6000 + i);
        row.drawingNumber = static_cast<std::uint16_t>(1 + i);
        row.applicationMask = 1;
        db.compressors.push_back(row);
        for (std::uint16_t h = 1; h <= 10; ++h) {
            db.compressorTechData.push_back({row.id, h, fmt::format("value {}", h), 1.0f * h});
        }
        for (std::uint16_t a = 0; a < 5; ++a) {
            db.accessories.push_back(
                {row.id, 2, static_cast<std::uint16_t>(7000 + a), 'C', a % 2 ? 'I' : 'O'});
        }
        db.drawings.push_back(
            {static_cast<std::int16_t>(1 + i), fmt::format("ZX{:03}.pdf", i), 'C'});
    }
    for (std::uint16_t i = 0; i < 80; ++i) {
        CondensingUnitRow row;
        row.id = static_cast<std::uint16_t>(2000 + i);
        const bool network = i >= 60;
        row.name = network ? fmt::format("NET-{}-{}-{}", i / 4, (i % 2) ? "NLO" : "N", i)
                           : fmt::format("CU{:03}", i);
        row.letter = 'C';
        row.familyCode = network ? 22 : (i % 2 ? 1 : 11);
        row.compressorId = static_cast<std::uint16_t>(1000 + i * 2);
        row.condenserCoefficient = 1.5f;
        row.fanPower = 150.0f;
        row.drawingNumber = static_cast<std::uint16_t>(300 + i);
        db.condensingUnits.push_back(row);
        db.unitTechData.push_back({row.id, 2, "unit supply", 1.0f});
        db.drawings.push_back(
            {static_cast<std::int16_t>(300 + i), fmt::format("CU{:03}.pdf", i), 'U'});
    }
    for (std::int16_t group = 1; group <= 10; ++group) {
        for (int r = 0; r < 6; ++r) {
            OrdaCorrectionRow row;
            row.groupId = group;
            row.typeLetter = "ETSPQRW UZX"[group % 11];
            row.rowValue = -40.0f + 5.0f * r;
            row.columnOrigin = -40.0f;
            for (auto& factor : row.factors) factor = 1.0;
            db.ordaCorrections.push_back(row);
        }
    }
    for (std::uint16_t i = 0; i < 40; ++i) {
        OrdaModelRow row;
        row.id = static_cast<std::uint16_t>(3000 + i);
        row.name = fmt::format("TX{:02}", i);
        row.familyCode = static_cast<std::int16_t>(1 + i % 7);
        row.refrigerantCode = refrigerantCodes[i % 4];
        row.groupId = static_cast<std::uint16_t>(1 + i % 10);
        row.nominalCapacity = 5.0f;
        db.ordaModels.push_back(row);
        for (std::uint16_t h = 1; h <= 5; ++h) {
            db.ordaTechData.push_back({row.id, h, "short", "long text", 1.0f});
        }
    }
    for (std::uint16_t set = 1; set < 60; set += 3) {
        SpeedDataRow row;
        row.setIndex = set;
        row.kind = set % 2 ? 1 : 64;
        row.values[0] = 1.0;
        db.speedData.push_back(row);
    }
    return db;
}

class Folder {
  public:
    Folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvra-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

void LoadFolder(benchmark::State& state, const std::filesystem::path& folder) {
    LoadPropertyLibraries();
    std::size_t compressors = 0;
    for (auto _ : state) {
        TdataStore store(DatabaseSources{folder, nullptr});
        compressors = store.Compressors().size();
        if (!store.Valid()) state.SkipWithError("the database is not valid");
        benchmark::DoNotOptimize(compressors);
    }
    state.counters["compressors"] = static_cast<double>(compressors);
    UnloadPropertyLibraries();
}

void BM_LoadGeneratedDatabase(benchmark::State& state) {
    Folder folder;
    WriteProductDatabase(folder.path, GeneratedDatabase());
    LoadFolder(state, folder.path);
}
BENCHMARK(BM_LoadGeneratedDatabase)->Unit(benchmark::kMillisecond);

void BM_LoadShippedDatabase(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::path(InstallationFolder()) / "data";
    if (FindDatabaseFile(folder, DatabaseFile::Header).empty()) {
        state.SkipWithError("this build has no compiled product database");
        for (auto _ : state) {
        }
        return;
    }
    LoadFolder(state, folder);
}
BENCHMARK(BM_LoadShippedDatabase)->Unit(benchmark::kMillisecond);

}  // namespace
