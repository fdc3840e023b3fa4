// The user's heat-pump file: the exact record layout, strict decoding of damaged files, the data
// store's loading onto the database's compressors, and the arithmetic between the editor's two
// points and the stored rules.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data_store.hpp"
#include "database_fixture.hpp"
#include "heat_pump.hpp"
#include "heat_pump_file.hpp"

namespace kelvra {
namespace {

using testing::BuildLibraries;
using testing::FixtureDatabase;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// A heat pump with a distinct value in every field.
HeatPumpRow SampleRow(std::int16_t sequence, std::string name, std::uint16_t compressor,
                      char source) {
    HeatPumpRow row;
    row.sequence = sequence;
    row.name = std::move(name);
    row.letter = 'C';
    row.source = source;
    row.familyCode = source == 'W' ? 71 : 73;
    row.compressorId = compressor;
    row.motorCodes[0] = 1;
    row.motorCodes[19] = 2;
    row.auxiliaryPower = 0.25f + static_cast<float>(sequence);
    row.superheat = 5.5f;
    row.subcooling = 2.25f;
    row.evapSlope = 2.0 / 7.0;
    row.evapReference = 6.0 + sequence;
    row.evapMin = 3.0;
    row.evapMax = 12.5;
    row.condSlope = 0.08;
    row.condIntercept = 1.2;
    row.condMin = 2.0;
    row.condMax = 9.0;
    row.defrostCapacityLoss = 10.0;
    row.defrostPowerLoss = 5.0;
    row.frostEvapLimit = -1.5;
    row.frostSourceLimit = -7.0;
    row.cyclingCoefficient = 0.9;
    return row;
}

std::string SafeTestWriter(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    WriteBytes(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return {};
}

// --- the record layout ---

TEST(HeatPumpRecord, FieldsLieAtTheirOffsetsLittleEndian) {
    HeatPumpRow row = SampleRow(3, "Mine", 0x1234, 'W');
    row.sequence = 0x0102;
    const auto b = row.ToBytes();
    ASSERT_EQ(b.size(), 177u);
    EXPECT_EQ(b[0], 0x02);
    EXPECT_EQ(b[1], 0x01);
    // the name is padded with blanks, not zero bytes
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[2]), 25),
              "Mine                     ");
    EXPECT_EQ(b[27], 'C');
    EXPECT_EQ(b[28], 'W');
    EXPECT_EQ(b[29], 71);
    EXPECT_EQ(b[30], 0);
    EXPECT_EQ(b[31], 0x34);
    EXPECT_EQ(b[32], 0x12);
    EXPECT_EQ(b[33], 1);
    EXPECT_EQ(b[52], 2);
    EXPECT_EQ(LoadSingle(&b[53]), row.auxiliaryPower);
    EXPECT_EQ(LoadSingle(&b[57]), 5.5f);
    EXPECT_EQ(LoadSingle(&b[61]), 2.25f);
    const std::pair<std::size_t, double> doubles[] = {
        {65, 2.0 / 7.0}, {73, 9.0},  {81, 3.0},   {89, 12.5}, {97, 0.08},
        {105, 1.2},      {113, 2.0}, {121, 9.0},  {129, 10.0}, {137, 5.0},
        {145, -1.5},     {153, -7.0}, {161, 0.9}};
    for (const auto& [offset, value] : doubles)
        EXPECT_EQ(LoadDouble(&b[offset]), value) << "offset " << offset;
    EXPECT_EQ(b[169], 1);
    EXPECT_EQ(b[170], 0);
    for (std::size_t i = 171; i < 177; ++i) EXPECT_EQ(b[i], 0) << i;
}

TEST(HeatPumpRecord, HeaderCarriesTheDateAndTheEndMarkOnly) {
    const auto h = HeatPumpHeaderRecord(45292.0);
    EXPECT_EQ(LoadSingle(&h[53]), 45292.0f);
    EXPECT_EQ(h[169], 1);
    for (std::size_t i = 0; i < h.size(); ++i) {
        if ((i >= 53 && i < 57) || i == 169) continue;
        EXPECT_EQ(h[i], 0) << "byte " << i;
    }
}

TEST(HeatPumpRecord, NameIsTrimmedAndCutToItsField) {
    HeatPumpRow row = SampleRow(0, "  Wärme 12   ", 1, 'A');
    EXPECT_EQ(HeatPumpRow::FromBytes(row.ToBytes()).name, "Wärme 12");
    row.name = std::string(40, 'x');
    EXPECT_EQ(HeatPumpRow::FromBytes(row.ToBytes()).name, std::string(25, 'x'));
}

// --- decoding whole files ---

std::vector<std::uint8_t> FileOf(std::vector<HeatPumpRow> rows) {
    return EncodeHeatPumpFile(45292.0, rows);
}

TEST(HeatPumpFile, WholeFileDecodesToTheSameRows) {
    const std::vector<HeatPumpRow> rows = {SampleRow(0, "One", 100, 'A'),
                                           SampleRow(1, "Two", 102, 'W')};
    const HeatPumpFileRows decoded = DecodeHeatPumpFile(FileOf(rows));
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.date, 45292.0);
    EXPECT_EQ(decoded.rows, rows);
}

TEST(HeatPumpFile, DamagedFilesAreRefusedAsAWholeWithAReason) {
    const std::vector<std::uint8_t> good =
        FileOf({SampleRow(0, "One", 100, 'A'), SampleRow(1, "Two", 102, 'W')});
    auto with = [&](auto change) {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        return bytes;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* words;  // part of the message
    };
    const Case cases[] = {
        {"empty", {}, "empty"},
        {"truncated in the last record", with([](auto& b) { b.resize(b.size() - 10); }),
         "whole number"},
        {"one byte too many", with([](auto& b) { b.push_back(0); }), "whole number"},
        {"shorter than a header", with([](auto& b) { b.resize(100); }), "whole number"},
        {"no end mark in a record", with([](auto& b) { PutI16(b, 177 * 2 + 169, 0); }),
         "end mark"},
        {"not a heat-pump file", std::vector<std::uint8_t>(177 * 3, 'x'), "end mark"},
        {"NaN slope", with([&](auto& b) { PutDouble(b, 177 + 65, nan); }), "not a number"},
        {"infinite limit", with([&](auto& b) { PutDouble(b, 177 * 2 + 121, -inf); }),
         "not a number"},
        {"NaN fan power", with([](auto& b) { PutSingle(b, 177 + 53, std::nanf("")); }),
         "not a number"},
        {"NaN date", with([](auto& b) { PutSingle(b, 53, std::nanf("")); }), "date"},
        {"absurd count",
         std::vector<std::uint8_t>(177 * (kMaxHeatPumpRecords + 2), 0), "at most"},
    };
    for (const Case& c : cases) {
        const HeatPumpFileRows decoded = DecodeHeatPumpFile(c.bytes);
        EXPECT_FALSE(decoded.ok) << c.name;
        EXPECT_TRUE(decoded.rows.empty()) << c.name;
        EXPECT_NE(decoded.error.find(c.words), std::string::npos) << c.name << ": " << decoded.error;
    }
}

// --- the editor's points ---

TEST(HeatPumpRules, TwoPointsGiveTheStoredSlopeAndReference) {
    struct Case {
        const char* name;
        bool air;
        double first, second;
        double slope, reference;
    };
    const Case cases[] = {
        {"air 8 K at +7, 4 K at -7", true, 8, 4, 2.0 / 7.0, 6},
        {"ground 5 K at 0, 4 K at -5", false, 5, 4, 0.2, 5},
        {"flat air rule", true, 6, 6, 0, 6},
        {"falling ground rule", false, 4, 6, -0.4, 4},
    };
    for (const Case& c : cases) {
        const TdRule rule = EvaporatorRuleFromPoints(c.air, c.first, c.second);
        EXPECT_NEAR(rule.slope, c.slope, 1e-12) << c.name;
        EXPECT_NEAR(rule.offset, c.reference, 1e-12) << c.name;
        // and back: the editor shows the same two values again
        const auto points = EvaporatorPointsFromRule(c.air, rule);
        EXPECT_NEAR(points[0], c.first, 1e-12) << c.name;
        EXPECT_NEAR(points[1], c.second, 1e-12) << c.name;
    }
}

TEST(HeatPumpRules, CondenserLineThroughTheTwoWaterTemperatures) {
    const TdRule rule = CondenserRuleFromPoints(7.0, 5.0);  // 7 K at 60 degC, 5 K at 35 degC
    EXPECT_NEAR(rule.slope, 0.08, 1e-12);
    EXPECT_NEAR(rule.offset, 2.2, 1e-12);
    EXPECT_NEAR(rule.slope * 60 + rule.offset, 7.0, 1e-12);
    EXPECT_NEAR(rule.slope * 35 + rule.offset, 5.0, 1e-12);
    const auto points = CondenserPointsFromRule(rule);
    EXPECT_NEAR(points[0], 7.0, 1e-12);
    EXPECT_NEAR(points[1], 5.0, 1e-12);
}

// --- the data store ---

class UserHeatPumpsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { libraries_ = std::make_unique<BuildLibraries>(); }
    static void TearDownTestSuite() { libraries_.reset(); }

    void SetUp() override {
        WriteProductDatabase(folder_.path() / "data", FixtureDatabase());
        store_ = std::make_unique<TdataStore>(DatabaseSources{folder_.path() / "data", nullptr});
        ASSERT_TRUE(store_->Valid());
    }

    std::filesystem::path File(const char* name) const { return folder_.path() / name; }

    const THeatPump& Pump(std::size_t i) const {
        return dynamic_cast<const THeatPump&>(*store_->HeatPumps().at(i));
    }

    TempFolder folder_;
    std::unique_ptr<TdataStore> store_;
    static std::unique_ptr<BuildLibraries> libraries_;
};
std::unique_ptr<BuildLibraries> UserHeatPumpsTest::libraries_;

TEST_F(UserHeatPumpsTest, ThreeSavedHeatPumpsComeBackInOrderWithEveryValue) {
    std::vector<HeatPumpRow> rows = {SampleRow(7, "Ground one", 100, 'W'),
                                     SampleRow(3, "Air two", 102, 'A'),
                                     SampleRow(9, "Air three", 110, 'A')};
    WriteBytes(File("first.zqv"), FileOf(rows));
    ASSERT_TRUE(store_->LoadUserHeatPumps(File("first.zqv")).ok());
    ASSERT_EQ(store_->HeatPumps().size(), 3u);

    const std::string error = store_->SaveUserHeatPumps(File("second.zqv"), SafeTestWriter);
    ASSERT_EQ(error, "");
    const std::vector<std::uint8_t> saved = ReadBytes(File("second.zqv"));
    ASSERT_EQ(saved.size(), 4u * 177u);
    EXPECT_EQ(LoadSingle(&saved[53]), static_cast<float>(store_->Date()));

    const UserHeatPumpLoad load = store_->LoadUserHeatPumps(File("second.zqv"));
    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(load.loaded, 3);
    ASSERT_EQ(store_->HeatPumps().size(), 3u);
    const HeatPumpFileRows reread = DecodeHeatPumpFile(saved);
    ASSERT_TRUE(reread.ok);
    for (std::size_t i = 0; i < 3; ++i) {
        HeatPumpRow expected = rows[i];
        expected.sequence = static_cast<std::int16_t>(i);  // renumbered in list order
        EXPECT_EQ(reread.rows[i], expected) << i;
        const THeatPump& pump = Pump(i);
        EXPECT_EQ(pump.key, static_cast<int>(i));
        EXPECT_EQ(pump.name, rows[i].name);
        EXPECT_EQ(HeatPumpRow::Of(pump, static_cast<std::int16_t>(i)), expected) << i;
    }
    // linked to the database
    const THeatPump& ground = Pump(0);
    ASSERT_NE(ground.compressor, nullptr);
    EXPECT_EQ(ground.compressor->name, "ZX21");
    EXPECT_EQ(ground.refrigerantNumber, 5);
    EXPECT_EQ(ground.refrigerant, ground.compressor->refrigerant);
    EXPECT_EQ(ground.supply, ground.compressor->supply);
    ASSERT_NE(ground.family, nullptr);
    EXPECT_EQ(ground.family->code, 71);
    EXPECT_EQ(ground.family->kind, TFamily::kHeatPump);
    EXPECT_EQ(ground.classLetter, 'P');
    EXPECT_EQ(Pump(1).compressor->name, "ZH40");
}

TEST_F(UserHeatPumpsTest, CompressorIsFoundByIdAndLetterTheLastMatchWinning) {
    // Compressor 110 exists with letters A, C and B, in that order.
    HeatPumpRow byC = SampleRow(0, "by C", 110, 'A');
    HeatPumpRow byB = SampleRow(1, "by B", 110, 'A');
    byB.letter = 'B';
    HeatPumpRow byA = SampleRow(2, "by A", 110, 'A');
    byA.letter = 'A';
    HeatPumpRow gone = SampleRow(3, "removed compressor", 107, 'A');  // set A missing
    HeatPumpRow unknown = SampleRow(4, "unknown compressor", 4242, 'W');
    WriteBytes(File("letters.zqv"), FileOf({byC, gone, byB, unknown, byA}));
    const UserHeatPumpLoad load = store_->LoadUserHeatPumps(File("letters.zqv"));
    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(load.loaded, 3);
    EXPECT_EQ(load.dropped, 2);
    ASSERT_EQ(store_->HeatPumps().size(), 3u);
    EXPECT_EQ(Pump(0).compressor->name, "ZS50-C");
    EXPECT_EQ(Pump(1).compressor->name, "ZS50-B");
    EXPECT_EQ(Pump(2).compressor->name, "ZS50-C");  // 'C' is common to every letter; last wins
    // saving afterwards leaves the dropped records out
    ASSERT_EQ(store_->SaveUserHeatPumps(File("letters.zqv"), SafeTestWriter), "");
    EXPECT_EQ(ReadBytes(File("letters.zqv")).size(), 4u * 177u);
}

TEST_F(UserHeatPumpsTest, HeaderOnlyFileClearsTheHeatPumps) {
    WriteBytes(File("two.zqv"), FileOf({SampleRow(0, "a", 100, 'A'), SampleRow(1, "b", 100, 'W')}));
    ASSERT_TRUE(store_->LoadUserHeatPumps(File("two.zqv")).ok());
    ASSERT_EQ(store_->HeatPumps().size(), 2u);
    WriteBytes(File("empty.zqv"), FileOf({}));
    const UserHeatPumpLoad load = store_->LoadUserHeatPumps(File("empty.zqv"));
    EXPECT_TRUE(load.ok()) << load.error;
    EXPECT_TRUE(load.found);
    EXPECT_TRUE(store_->HeatPumps().empty());
}

TEST_F(UserHeatPumpsTest, DamagedFileLoadsNothingKeepsTheListAndSaysWhy) {
    WriteBytes(File("good.zqv"), FileOf({SampleRow(0, "kept", 100, 'A')}));
    ASSERT_TRUE(store_->LoadUserHeatPumps(File("good.zqv")).ok());
    const TCModel* kept = store_->HeatPumps().at(0).get();

    std::vector<std::uint8_t> truncated =
        FileOf({SampleRow(0, "a", 100, 'A'), SampleRow(1, "b", 100, 'W')});
    truncated.resize(truncated.size() - 1);
    WriteBytes(File("truncated.zqv"), truncated);
    std::vector<std::uint8_t> nan = FileOf({SampleRow(0, "a", 100, 'A')});
    PutDouble(nan, 177 + 89, std::numeric_limits<double>::quiet_NaN());
    WriteBytes(File("nan.zqv"), nan);
    std::filesystem::create_directory(File("folder.zqv"));

    for (const char* name : {"truncated.zqv", "nan.zqv", "folder.zqv"}) {
        const UserHeatPumpLoad load = store_->LoadUserHeatPumps(File(name));
        EXPECT_FALSE(load.ok()) << name;
        EXPECT_NE(load.error.find(name), std::string::npos) << load.error;
        ASSERT_EQ(store_->HeatPumps().size(), 1u) << name;
        EXPECT_EQ(store_->HeatPumps()[0].get(), kept) << name;
    }
}

TEST_F(UserHeatPumpsTest, MissingFileLeavesNoHeatPumps) {
    WriteBytes(File("one.zqv"), FileOf({SampleRow(0, "a", 100, 'A')}));
    ASSERT_TRUE(store_->LoadUserHeatPumps(File("one.zqv")).ok());
    const UserHeatPumpLoad load = store_->LoadUserHeatPumps(File("nothing-here.zqv"));
    EXPECT_TRUE(load.ok());
    EXPECT_FALSE(load.found);
    EXPECT_TRUE(store_->HeatPumps().empty());
}

TEST_F(UserHeatPumpsTest, AFailedWriteIsReportedNotSwallowed) {
    WriteBytes(File("one.zqv"), FileOf({SampleRow(0, "a", 100, 'A')}));
    ASSERT_TRUE(store_->LoadUserHeatPumps(File("one.zqv")).ok());
    const auto failing = [](const std::filesystem::path& path, std::span<const std::uint8_t>) {
        return "Unable to write to " + path.string();
    };
    EXPECT_EQ(store_->SaveUserHeatPumps(File("x.zqv"), failing),
              "Unable to write to " + File("x.zqv").string());
    EXPECT_NE(store_->SaveUserHeatPumps(File("x.zqv"), HeatPumpFileWriter{}), "");
}

TEST_F(UserHeatPumpsTest, RemovingOneHeatPumpKeepsTheOthers) {
    WriteBytes(File("two.zqv"), FileOf({SampleRow(0, "a", 100, 'A'), SampleRow(1, "b", 100, 'W')}));
    ASSERT_TRUE(store_->LoadUserHeatPumps(File("two.zqv")).ok());
    const TCModel* second = store_->HeatPumps()[1].get();
    EXPECT_TRUE(store_->RemoveHeatPump(*store_->HeatPumps()[0]));
    ASSERT_EQ(store_->HeatPumps().size(), 1u);
    EXPECT_EQ(store_->HeatPumps()[0].get(), second);
    THeatPump stranger;
    EXPECT_FALSE(store_->RemoveHeatPump(stranger));
}

TEST(HeatPumpFileChoice, ShortOrMissingUserPathFallsBackToTheDefaultFile) {
    TempFolder folder;
    const std::filesystem::path data = folder.path() / "data";
    const std::filesystem::path mine = folder.path() / "mine.zqv";
    WriteBytes(mine, FileOf({}));
    const std::filesystem::path fallback = data / "hpump7.ZQV";
    struct Case {
        std::string setting;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {"X", fallback},
        {"", fallback},
        {"a.zq", fallback},  // four characters name no file
        {(folder.path() / "gone.zqv").string(), fallback},
        {mine.string(), mine},
    };
    for (const Case& c : cases) EXPECT_EQ(HeatPumpFileToRead(c.setting, data), c.expected) << c.setting;
}

}  // namespace
}  // namespace kelvra
