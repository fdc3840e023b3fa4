#include "record_files.hpp"

#include <gtest/gtest.h>

#include <random>

#include "database_fixture.hpp"

namespace kelvra {
namespace {

using testing::FixtureDatabase;
using testing::TempFolder;

// Per layout: a row with every field set to a value of its own, the places of a few fields in
// the record (to catch fields written at the wrong offset), and the text fields.
struct TextField {
    std::size_t offset;
    std::size_t length;
};

template <class Row>
struct Layout;

template <>
struct Layout<HeaderRow> {
    static HeaderRow Sample() { return {760, "Kälte – Familie €", 'R', 'G', 1.25f}; }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.I16(0), 760);
        EXPECT_EQ(r.Char(37), 'R');
        EXPECT_EQ(r.Char(38), 'G');
        EXPECT_EQ(r.Single(39), 1.25f);
        EXPECT_EQ(r.Byte(2), 'K');
        EXPECT_EQ(r.Byte(3), 0xE4);  // "ä" in Windows-1252
    }
    static std::vector<TextField> Texts() { return {{2, 35}}; }
};

template <>
struct Layout<EnvTypeRow> {
    static EnvTypeRow Sample() { return {"380/420V-3-50", -7, 1, 60, 400.5f, 3.0f}; }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.I16(25), -7);
        EXPECT_EQ(r.I16(27), 1);
        EXPECT_EQ(r.I16(29), 60);
        EXPECT_EQ(r.Single(31), 400.5f);
        EXPECT_EQ(r.Single(35), 3.0f);
    }
    static std::vector<TextField> Texts() { return {{0, 25}}; }
};

template <>
struct Layout<HeadingRow> {
    static HeadingRow Sample() { return {0xBEEF, 'M', 'e'}; }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 0xBEEF);
        EXPECT_EQ(r.Char(2), 'M');
        EXPECT_EQ(r.Char(3), 'e');
    }
    static std::vector<TextField> Texts() { return {}; }
};

template <>
struct Layout<MotorCodeRow> {
    static MotorCodeRow Sample() {
        return {513, "TFD", "400V-3-50 Hz", "380-420 V", "Star/Delta", "Direct on line", 12.5f};
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 513);
        EXPECT_EQ(r.Text(2, 3), "TFD");
        EXPECT_EQ(r.Text(5, 16), "400V-3-50 Hz");
        EXPECT_EQ(r.Text(21, 15), "380-420 V");
        EXPECT_EQ(r.Text(36, 15), "Star/Delta");
        EXPECT_EQ(r.Text(51, 15), "Direct on line");
        EXPECT_EQ(r.Single(66), 12.5f);
    }
    static std::vector<TextField> Texts() {
        return {{2, 3}, {5, 16}, {21, 15}, {36, 15}, {51, 15}};
    }
};

template <>
struct Layout<CompressorRow> {
    static CompressorRow Sample() {
        CompressorRow row;
        row.id = 1001;
        row.secondNumber = 1002;
        row.name = "ZX 21 KCE-TFD";
        row.letter = 'U';
        row.familyCode = -3;
        row.refrigerantCode = 5;
        row.supplyCode = 7;
        for (std::size_t i = 0; i < row.motorCodes.size(); ++i)
            row.motorCodes[i] = static_cast<std::uint8_t>(i + 1);
        row.ratingSetA = 11;
        row.ratingSetB = 12;
        row.ratingSetC = 13;
        row.massFlowFactor = 0.5f;
        row.capacityFactor = 1.5f;
        row.powerFactor = 2.5f;
        row.rKey = 21;
        row.mKey = 22;
        row.drawingNumber = 23;
        row.applicationMask = 0x8001;
        row.ratingByte = 13;
        return row;
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 1001);
        EXPECT_EQ(r.U16(2), 1002);
        EXPECT_EQ(r.Char(29), 'U');
        EXPECT_EQ(r.I16(30), -3);
        EXPECT_EQ(r.I16(32), 5);
        EXPECT_EQ(r.I16(34), 7);
        EXPECT_EQ(r.Byte(36), 1);
        EXPECT_EQ(r.Byte(55), 20);
        EXPECT_EQ(r.U16(56), 11);
        EXPECT_EQ(r.U16(58), 12);
        EXPECT_EQ(r.U16(60), 13);
        EXPECT_EQ(r.Single(62), 0.5f);
        EXPECT_EQ(r.Single(66), 1.5f);
        EXPECT_EQ(r.Single(70), 2.5f);
        EXPECT_EQ(r.U16(74), 21);
        EXPECT_EQ(r.U16(76), 22);
        EXPECT_EQ(r.U16(78), 23);
        EXPECT_EQ(r.U16(80), 0x8001);
        EXPECT_EQ(r.Byte(82), 13);
    }
    static std::vector<TextField> Texts() { return {{4, 25}}; }
};

template <>
struct Layout<CondensingUnitRow> {
    static CondensingUnitRow Sample() {
        CondensingUnitRow row;
        row.id = 2001;
        row.name = "NET-D10-NLO-1";
        row.letter = 'B';
        row.familyCode = 22;
        row.compressorId = 1001;
        row.motorCodes[19] = 99;
        row.condenserCoefficient = 1.75f;
        row.fanPower = 250.0f;
        row.drawingNumber = 77;
        row.unused = {1, 2, 3, 4};
        row.ratingClass = 2;
        row.maxCondensingPressure = 28.5f;
        return row;
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 2001);
        EXPECT_EQ(r.Char(27), 'B');
        EXPECT_EQ(r.I16(28), 22);
        EXPECT_EQ(r.U16(30), 1001);
        EXPECT_EQ(r.Byte(51), 99);
        EXPECT_EQ(r.Single(52), 1.75f);
        EXPECT_EQ(r.Single(56), 250.0f);
        EXPECT_EQ(r.U16(60), 77);
        EXPECT_EQ(r.Byte(62), 1);
        EXPECT_EQ(r.Byte(66), 2);
        EXPECT_EQ(r.Single(67), 28.5f);
    }
    static std::vector<TextField> Texts() { return {{2, 25}}; }
};

template <>
struct Layout<TechDataRow> {
    static TechDataRow Sample() { return {600, 11, "  Ölsumpfheizung 70 W  ", 3.5f}; }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 600);
        EXPECT_EQ(r.U16(2), 11);
        EXPECT_EQ(r.Single(39), 3.5f);
    }
    static std::vector<TextField> Texts() { return {{4, 35}}; }
};

template <>
struct Layout<AccessoryRow> {
    static AccessoryRow Sample() { return {100, 20, 5001, 'u', 'o'}; }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 100);
        EXPECT_EQ(r.U16(2), 20);
        EXPECT_EQ(r.U16(4), 5001);
        EXPECT_EQ(r.Char(6), 'u');
        EXPECT_EQ(r.Char(7), 'o');
    }
    static std::vector<TextField> Texts() { return {}; }
};

template <>
struct Layout<OrdaCorrectionRow> {
    static OrdaCorrectionRow Sample() {
        OrdaCorrectionRow row;
        row.groupId = -2;
        row.groupValue = 40000;
        row.typeLetter = 'S';
        row.rowValue = -40.0f;
        row.columnOrigin = -45.0f;
        for (std::size_t i = 0; i < row.factors.size(); ++i)
            row.factors[i] = 0.5 + static_cast<double>(i);
        row.unused = {9, 8, 7, 6, 5, 4, 3, 2};
        return row;
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.I16(0), -2);
        EXPECT_EQ(r.U16(2), 40000);
        EXPECT_EQ(r.Char(4), 'S');
        EXPECT_EQ(r.Single(5), -40.0f);
        EXPECT_EQ(r.Single(9), -45.0f);
        EXPECT_EQ(r.Double(13), 0.5);
        EXPECT_EQ(r.Double(13 + 8 * 29), 29.5);
        EXPECT_EQ(r.Byte(253), 9);
        EXPECT_EQ(r.Byte(260), 2);
    }
    static std::vector<TextField> Texts() { return {}; }
};

template <>
struct Layout<OrdaModelRow> {
    static OrdaModelRow Sample() {
        return {300, "TX-1 R404A", "Orifice 03", 1, 5, 17, 5.25f, 0.75f, 50};
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 300);
        EXPECT_EQ(r.Text(2, 25), "TX-1 R404A");
        EXPECT_EQ(r.Text(27, 25), "Orifice 03");
        EXPECT_EQ(r.I16(52), 1);
        EXPECT_EQ(r.I16(54), 5);
        EXPECT_EQ(r.U16(56), 17);
        EXPECT_EQ(r.Single(58), 5.25f);
        EXPECT_EQ(r.Single(62), 0.75f);
        EXPECT_EQ(r.U16(66), 50);
    }
    static std::vector<TextField> Texts() { return {{2, 25}, {27, 25}}; }
};

template <>
struct Layout<OrdaTechRow> {
    static OrdaTechRow Sample() {
        return {300, 10, "UNF 5/8\"", "Flare connection 5/8\" UNF", 1.5f};
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 300);
        EXPECT_EQ(r.U16(2), 10);
        EXPECT_EQ(r.Text(4, 25), "UNF 5/8\"");
        EXPECT_EQ(r.Text(29, 35), "Flare connection 5/8\" UNF");
        EXPECT_EQ(r.Single(64), 1.5f);
    }
    static std::vector<TextField> Texts() { return {{4, 25}, {29, 35}}; }
};

template <>
struct Layout<EnvelopePointRow> {
    static EnvelopePointRow Sample() { return {9, 3, -1, 55.5f, -25.25f, 3600}; }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 9);
        EXPECT_EQ(r.Byte(2), 3);
        EXPECT_EQ(r.I16(3), -1);
        EXPECT_EQ(r.Single(5), 55.5f);
        EXPECT_EQ(r.Single(9), -25.25f);
        EXPECT_EQ(r.U16(13), 3600);
    }
    static std::vector<TextField> Texts() { return {}; }
};

template <>
struct Layout<RatingSetRow> {
    static RatingSetRow Sample() {
        RatingSetRow row;
        for (std::size_t i = 0; i < row.bytes.size(); ++i)
            row.bytes[i] = static_cast<std::uint8_t>(i * 7);
        return row;
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.Byte(465), static_cast<std::uint8_t>(465 * 7));
        EXPECT_EQ(RatingSetRow::FromBytes(r.Bytes()).Index(), r.U16(0));
    }
    static std::vector<TextField> Texts() { return {}; }
};

template <>
struct Layout<SpeedDataRow> {
    static SpeedDataRow Sample() {
        SpeedDataRow row;
        row.setIndex = 12;
        row.kind = 64;
        for (std::size_t i = 0; i < row.values.size(); ++i)
            row.values[i] = -1.0 / static_cast<double>(i + 1);
        return row;
    }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.U16(0), 12);
        EXPECT_EQ(r.U16(2), 64);
        EXPECT_EQ(r.Double(4), -1.0);
        EXPECT_EQ(r.Double(4 + 8 * 39), -1.0 / 40.0);
    }
    static std::vector<TextField> Texts() { return {}; }
};

template <>
struct Layout<DrawingRow> {
    static DrawingRow Sample() { return {-5, "ZX21 outline.pdf   ", 'u'}; }
    static void CheckPlaces(const RecordView& r) {
        EXPECT_EQ(r.I16(0), -5);
        EXPECT_EQ(r.Text(2, 35), "ZX21 outline.pdf   ");
        EXPECT_EQ(r.Char(37), 'u');
    }
    static std::vector<TextField> Texts() { return {{2, 35}}; }
};

template <class Row>
class RecordLayoutTest : public ::testing::Test {};

using AllLayouts =
    ::testing::Types<HeaderRow, EnvTypeRow, HeadingRow, MotorCodeRow, CompressorRow,
                     CondensingUnitRow, TechDataRow, AccessoryRow, OrdaCorrectionRow, OrdaModelRow,
                     OrdaTechRow, EnvelopePointRow, RatingSetRow, SpeedDataRow, DrawingRow>;
TYPED_TEST_SUITE(RecordLayoutTest, AllLayouts);

TYPED_TEST(RecordLayoutTest, FieldsSitAtTheirOffsetsAndComeBackUnchanged) {
    const TypeParam row = Layout<TypeParam>::Sample();
    const auto bytes = row.ToBytes();
    ASSERT_EQ(bytes.size(), TypeParam::kSize);
    Layout<TypeParam>::CheckPlaces(RecordView(bytes, TypeParam::kSize, "sample"));
    EXPECT_EQ(TypeParam::FromBytes(bytes), row);
}

TYPED_TEST(RecordLayoutTest, AnyRecordComesBackByteForByte) {
    std::mt19937 random(20240101u);
    for (int round = 0; round < 200; ++round) {
        std::array<std::uint8_t, TypeParam::kSize> bytes{};
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        // Text ends at its first zero byte: what follows is padding, written as zeros.
        for (const TextField& text : Layout<TypeParam>::Texts()) {
            bool ended = false;
            for (std::size_t i = 0; i < text.length; ++i) {
                if (bytes[text.offset + i] == 0 || random() % 8 == 0) ended = true;
                if (ended) bytes[text.offset + i] = 0;
            }
        }
        EXPECT_EQ(TypeParam::FromBytes(bytes).ToBytes(), bytes) << "round " << round;
    }
}

TYPED_TEST(RecordLayoutTest, AShortRecordIsRefused) {
    std::vector<std::uint8_t> bytes(TypeParam::kSize - 1, 0);
    EXPECT_THROW(TypeParam::FromBytes(bytes), RecordError);
}

TEST(RecordLayout, TextWithoutTerminatorFillsItsField) {
    HeaderRow row;
    row.name = std::string(35, 'x');
    EXPECT_EQ(HeaderRow::FromBytes(row.ToBytes()).name, row.name);
    row.name = std::string(40, 'y');  // cut to the field
    EXPECT_EQ(HeaderRow::FromBytes(row.ToBytes()).name, std::string(35, 'y'));
    auto bytes = row.ToBytes();
    bytes[10] = 0;  // the text ends at the first zero byte
    EXPECT_EQ(HeaderRow::FromBytes(bytes).name, std::string(8, 'y'));
}

TEST(RecordFile, CutsWholeRecordsAndReportsWhatIsWrong) {
    const struct {
        const char* what;
        std::size_t bytes;
        std::size_t recordSize;
        std::size_t count;
        bool complete;
    } cases[] = {
        {"whole records", 3 * 43, 43, 3, true},
        {"a short last record", 3 * 43 + 10, 43, 3, false},
        {"shorter than one record", 42, 43, 0, false},
        {"empty", 0, 43, 0, false},
        {"another layout", 5 * 83, 43, 9, false},
        {"record size 0", 10, 0, 0, false},
    };
    for (const auto& c : cases) {
        const RecordFile file =
            RecordFile::FromBytes(std::vector<std::uint8_t>(c.bytes, 1), c.recordSize);
        EXPECT_EQ(file.Count(), c.count) << c.what;
        EXPECT_EQ(file.Complete(), c.complete) << c.what;
        EXPECT_EQ(file.Error().empty(), c.complete) << c.what;
        if (c.count > 0) {
            EXPECT_EQ(file.Record(c.count - 1).size(), c.recordSize) << c.what;
        }
        EXPECT_THROW(file.Record(c.count), std::out_of_range) << c.what;
    }
}

TEST(RecordFile, MissingFilesAndFoldersAreReportedNotThrown) {
    TempFolder folder;
    const RecordFile missing = RecordFile::Read(folder.path() / "nothing.ZQV", 43);
    EXPECT_FALSE(missing.Found());
    EXPECT_FALSE(missing.Error().empty());
    EXPECT_EQ(missing.Count(), 0u);
    const RecordFile unnamed = RecordFile::Read({}, 43);
    EXPECT_FALSE(unnamed.Found());
    const RecordFile aFolder = RecordFile::Read(folder.path(), 43);
    EXPECT_FALSE(aFolder.Found());
}

TEST(DatabaseFiles, AreFoundWithoutRegardToCasePreferringTheExactName) {
    TempFolder folder;
    const auto& dir = folder.path();
    EXPECT_TRUE(FindDatabaseFile(dir, DatabaseFile::Compressors).empty());
    testing::WriteBytes(dir / "Comp5.Zqv", {1});
    testing::WriteBytes(dir / "COMP5.ZQV", {2});
    EXPECT_EQ(FindDatabaseFile(dir, DatabaseFile::Compressors), dir / "COMP5.ZQV");
    testing::WriteBytes(dir / "comp5.ZQV", {3});
    EXPECT_EQ(FindDatabaseFile(dir, DatabaseFile::Compressors), dir / "comp5.ZQV");
    std::filesystem::create_directory(dir / "envdata5.zqv");  // a folder is not the file
    EXPECT_TRUE(FindDatabaseFile(dir, DatabaseFile::EnvelopePoints).empty());
    EXPECT_TRUE(FindDatabaseFile(dir / "no such folder", DatabaseFile::Header).empty());
}

TEST(DatabaseFiles, NamesSizesAndDateFields) {
    std::vector<std::string> names;
    for (const DatabaseFile file : AllDatabaseFiles()) names.push_back(DatabaseFileName(file));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "header5.ZQV", "envtype5.ZQV", "header25.ZQV", "motcod5.ZQV", "comp5.ZQV",
                         "cond5.ZQV", "comptech5.ZQV", "condtech5.ZQV", "access5.ZQV",
                         "ordakorr5.ZQV", "ordamod.ZQV", "ordatech.ZQV", "ENVDATA5.ZQV",
                         "CRATE5.ZQV", "rpmData.ZQV", "draw6.ZQV"}));
    EXPECT_EQ(DatabaseRecordSize(DatabaseFile::OrdaCorrections), 261u);
    EXPECT_FALSE(DatabaseHeaderDate(DatabaseFile::Headings).has_value());
    EXPECT_FALSE(DatabaseHeaderDate(DatabaseFile::Drawings).has_value());
    const auto crate = DatabaseHeaderDate(DatabaseFile::RatingSets);
    ASSERT_TRUE(crate.has_value());
    EXPECT_EQ(crate->offset, 4u);
    EXPECT_TRUE(crate->isDouble);
}

TEST(ProductDatabaseWriter, WritesEveryFileAsHeaderAndRowsThatReadBack) {
    TempFolder folder;
    ProductDatabase db = FixtureDatabase();
    db.headerDates[DatabaseFile::Compressors] = 40000.0;
    WriteProductDatabase(folder.path(), db);

    // Each file: its header with the date in its place, then the rows as given.
    auto check = [&](DatabaseFile file, const auto& rows) {
        using Row = typename std::decay_t<decltype(rows)>::value_type;
        const RecordRows<Row> read = ReadDatabaseRows<Row>(folder.path(), file);
        ASSERT_TRUE(read.found) << DatabaseFileName(file);
        EXPECT_TRUE(read.error.empty()) << read.error;
        ASSERT_EQ(read.rows.size(), rows.size() + 1) << DatabaseFileName(file);
        EXPECT_TRUE(std::equal(rows.begin(), rows.end(), read.rows.begin() + 1))
            << DatabaseFileName(file);
        const RecordFile raw = RecordFile::Read(FindDatabaseFile(folder.path(), file), Row::kSize);
        const RecordView header(raw.Record(0), Row::kSize, "header");
        if (const auto date = DatabaseHeaderDate(file)) {
            const double expected = file == DatabaseFile::Compressors ? 40000.0 : db.date;
            EXPECT_EQ(date->isDouble ? header.Double(date->offset) : header.Single(date->offset),
                      expected)
                << DatabaseFileName(file);
        }
    };
    check(DatabaseFile::Header, db.header);
    check(DatabaseFile::SuppliesAndTypes, db.suppliesAndTypes);
    check(DatabaseFile::Headings, db.headings);
    check(DatabaseFile::MotorCodes, db.motorCodes);
    check(DatabaseFile::Compressors, db.compressors);
    check(DatabaseFile::CondensingUnits, db.condensingUnits);
    check(DatabaseFile::CompressorTechData, db.compressorTechData);
    check(DatabaseFile::UnitTechData, db.unitTechData);
    check(DatabaseFile::Accessories, db.accessories);
    check(DatabaseFile::OrdaCorrections, db.ordaCorrections);
    check(DatabaseFile::OrdaModels, db.ordaModels);
    check(DatabaseFile::OrdaTechData, db.ordaTechData);
    check(DatabaseFile::EnvelopePoints, db.envelopePoints);
    check(DatabaseFile::RatingSets, db.ratingSets);
    check(DatabaseFile::SpeedData, db.speedData);
    check(DatabaseFile::Drawings, db.drawings);

    const auto header = ReadDatabaseRows<HeaderRow>(folder.path(), DatabaseFile::Header);
    EXPECT_EQ(header.rows[0].code, kDatabaseFormatCode);
    // No temporary files are left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, kDatabaseFileCount);
}

TEST(ProductDatabaseWriter, ReportsAFolderItCannotWriteTo) {
    TempFolder folder;
    testing::WriteBytes(folder.path() / "plain file", {0});
    EXPECT_THROW(WriteProductDatabase(folder.path() / "plain file" / "data", FixtureDatabase()),
                 DatabaseFileError);
    std::filesystem::create_directory(folder.path() / "data");
    std::filesystem::create_directory(folder.path() / "data" / "comp5.ZQV");  // in the way
    EXPECT_THROW(WriteProductDatabase(folder.path() / "data", FixtureDatabase()),
                 DatabaseFileError);
}

}  // namespace
}  // namespace kelvra
