#include "table_layout_file.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "file_fixtures.hpp"

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TableLayoutRecord Layout(std::string name, int product, int units, int first) {
    TableLayoutRecord r;
    r.name = std::move(name);
    r.productType = product;
    r.unitSystem = units;
    r.setting1 = 6;
    r.setting2 = 5;
    for (std::size_t i = 0; i < r.axis1.size(); ++i) {
        r.axis1[i] = static_cast<float>(first) + 2.5f * static_cast<float>(i);
        r.axis2[i] = 60.0f - 5.0f * static_cast<float>(i);
    }
    return r;
}

std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);  // the tests run little-endian
    return value;
}

TEST(TableLayoutFileTest, RecordLayout) {
    const TableLayoutRecord r = Layout("Freezer", 1, 2, -40);
    const auto encoded = EncodeTableLayout(r);
    const std::string bytes(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    ASSERT_EQ(bytes.size(), 452u);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(bytes.substr(1, 7), "Freezer");
    EXPECT_EQ(bytes[8], '\0');
    EXPECT_EQ(Int32At(bytes, 256), 1);
    EXPECT_EQ(Int32At(bytes, 260), 2);
    EXPECT_EQ(Int32At(bytes, 264), 0);
    EXPECT_EQ(Int32At(bytes, 268), 6);
    EXPECT_EQ(Int32At(bytes, 272), 5);
    float first, last;
    std::memcpy(&first, bytes.data() + 276, 4);
    std::memcpy(&last, bytes.data() + 364 + 21 * 4, 4);
    EXPECT_EQ(first, -40.0f);
    EXPECT_EQ(last, 60.0f - 5.0f * 21);
}

TEST(TableLayoutFileTest, LayoutsSurviveTheRoundTrip) {
    std::vector<TableLayoutRecord> tables{
        Layout("Standard", 0, 1, -35),
        Layout("Imperial \xC2\xB0"
               "F",
               0, 2, -40),
        Layout("", 2, 3, 0),
        Layout(std::string(254, 'x') + "\xC3\xA4", 1, 1, -10),  // cut before the split character
    };
    tables.back().setting1 = -7;
    TempFolder folder;
    const fs::path file = folder / "table.dat";
    ASSERT_TRUE(SaveTableLayouts(file, tables));
    EXPECT_EQ(fs::file_size(file), 4 * 452u);
    const TableLayoutLoad load = LoadTableLayouts(file);
    ASSERT_TRUE(load.status);
    ASSERT_EQ(load.tables.size(), 4u);
    tables.back().name = std::string(254, 'x');
    for (std::size_t i = 0; i < tables.size(); ++i) EXPECT_EQ(load.tables[i], tables[i]) << i;

    ASSERT_TRUE(SaveTableLayouts(file, {}));  // no tables of the user's own: an empty file
    EXPECT_EQ(fs::file_size(file), 0u);
    EXPECT_TRUE(LoadTableLayouts(file).tables.empty());
}

TEST(TableLayoutFileTest, WindowsNamesAndDamagedFiles) {
    auto record = EncodeTableLayout(Layout("", 0, 1, 0));
    const char name[] = "K\xFChlraum";  // Windows-1252
    record[0] = 8;
    std::memcpy(record.data() + 1, name, 8);
    std::string bytes(reinterpret_cast<const char*>(record.data()), record.size());
    bytes += bytes;
    bytes += bytes.substr(0, 200);  // the last record cut short

    TempFolder folder;
    const fs::path file = folder / "table.dat";
    WriteBytes(file, bytes);
    const TableLayoutLoad load = LoadTableLayouts(file);
    ASSERT_EQ(load.tables.size(), 2u);
    EXPECT_EQ(load.tables[0].name, "K\xC3\xBChlraum");
    EXPECT_FALSE(load.status);
    EXPECT_EQ(load.status.message, "Incomplete table layout ignored in " + file.string());

    const TableLayoutLoad missing = LoadTableLayouts(folder / "none.dat");
    EXPECT_FALSE(missing.exists);
    EXPECT_TRUE(missing.tables.empty());
}

// Tables are saved in the user folder and read from there in the next run; the installation
// folder's file counts only while the user has none.
TEST(TableLayoutFileTest, TheUsersFileComesFirst) {
    TempFolder user;
    TempFolder install;
    EXPECT_EQ(TableLayoutFileToRead(user.path(), install.path()), install / "table.dat");
    WriteBytes(user / "table.dat", "");
    EXPECT_EQ(TableLayoutFileToRead(user.path(), install.path()), user / "table.dat");
}

TEST(TableLayoutFileTest, DefaultTableIsTheNthOfItsKind) {
    const std::vector<TableLayoutRecord> tables{
        Layout("C SI 1", 0, 1, 0),   Layout("C IP 1", 0, 2, 0), Layout("U SI 1", 1, 1, 0),
        Layout("C kcal 2", 0, 3, 0), Layout("C SI 3", 0, 1, 0),
    };
    struct Case {
        TableProduct product;
        UnitSystem system;
        int n;
        std::optional<std::size_t> index;
    };
    const Case cases[] = {
        {TableProduct::Compressors, UnitSystem::SI, 0, std::nullopt},
        {TableProduct::Compressors, UnitSystem::SI, 1, 0},
        {TableProduct::Compressors, UnitSystem::Kcal, 2, 3},  // SI and kcal share their tables
        {TableProduct::Compressors, UnitSystem::SI, 3, 4},
        {TableProduct::Compressors, UnitSystem::SI, 4, std::nullopt},
        {TableProduct::Compressors, UnitSystem::Imperial, 1, 1},
        {TableProduct::CondensingUnits, UnitSystem::SI, 1, 2},
        {TableProduct::HeatPumpCompressors, UnitSystem::SI, 1, std::nullopt},
        {TableProduct::Compressors, UnitSystem::SI, -1, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultTableLayout(tables, c.product, c.system, c.n), c.index) << c.n;
}

}  // namespace
}  // namespace kelvra
