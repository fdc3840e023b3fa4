#pragma once

// The user's performance-table layouts, file "table.dat": fixed records of 452 bytes, one per
// table, integers little-endian.
//
//   offset   0  short text: length byte + 255 characters   table name
//   offset 256  int32                                      product type (TableProduct)
//   offset 260  int32                                      unit system the table is made for
//   offset 264  int32                                      written 0
//   offset 268  int32                                      table setting 1
//   offset 272  int32                                      table setting 2
//   offset 276  22 x float32                               first axis (evaporating or source)
//   offset 364  22 x float32                               second axis (condensing, ambient or
//                                                          water outlet)

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io_status.hpp"
#include "settings_file.hpp"
#include "units.hpp"

namespace kelvra {

inline constexpr std::string_view kTableLayoutFileName = "table.dat";
inline constexpr std::size_t kTableLayoutRecordSize = 452;

struct TableLayoutRecord {
    static constexpr std::size_t kNameLength = 255;  // bytes of the short text
    static constexpr std::size_t kAxisLength = 22;

    std::string name;  // UTF-8
    std::int32_t productType = 0;
    std::int32_t unitSystem = 1;
    std::int32_t setting1 = 0;
    std::int32_t setting2 = 0;
    std::array<float, kAxisLength> axis1{};
    std::array<float, kAxisLength> axis2{};

    // A table of the Imperial system, or of the others (SI and kcal share their tables).
    bool IsImperial() const { return unitSystem == ToInt(UnitSystem::Imperial); }

    bool operator==(const TableLayoutRecord&) const = default;
};

// One record as it is stored. The name is written in UTF-8 and cut at a character boundary to
// the 255 bytes the field holds.
std::array<unsigned char, kTableLayoutRecordSize> EncodeTableLayout(
    const TableLayoutRecord& record);
// Reads a record. A name that is not valid UTF-8 comes from a Windows machine and is read as
// Windows-1252.
TableLayoutRecord DecodeTableLayout(const unsigned char* record);

struct TableLayoutLoad {
    IoStatus status;  // failure: unreadable, or a last record cut short (the whole ones are read)
    bool exists = false;
    std::vector<TableLayoutRecord> tables;
};

TableLayoutLoad LoadTableLayouts(const std::filesystem::path& path);

// Writes every table, also none: an empty file says that the user has no tables of his own.
IoStatus SaveTableLayouts(const std::filesystem::path& path,
                          const std::vector<TableLayoutRecord>& tables);

// The table file to read: the user's own when the user folder holds one, else the one shipped in
// the installation folder. Tables are always saved in the user folder, so a table saved in one
// run is there in the next.
std::filesystem::path TableLayoutFileToRead(const std::filesystem::path& userFolder,
                                            const std::filesystem::path& installationFolder);

// The default table of a product and unit system: the index in `tables` of the n-th table
// (counting from 1, in file order) of that product and kind of unit system; nothing - the
// built-in table - for n = 0 or a count beyond the list.
std::optional<std::size_t> DefaultTableLayout(const std::vector<TableLayoutRecord>& tables,
                                              TableProduct product, UnitSystem system, int n);

}  // namespace kelvra
