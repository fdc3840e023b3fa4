#include "table_layout_file.hpp"

#include <cstring>

#include "persistence_texts.hpp"
#include "safe_file.hpp"
#include "text_encoding.hpp"

namespace kelvra {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kProductOffset = 256;
constexpr std::size_t kUnitOffset = 260;
constexpr std::size_t kReservedOffset = 264;
constexpr std::size_t kSetting1Offset = 268;
constexpr std::size_t kSetting2Offset = 272;
constexpr std::size_t kAxis1Offset = 276;
constexpr std::size_t kAxis2Offset = 364;

void PutInt32(unsigned char* at, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k) at[k] = static_cast<unsigned char>(u >> (8 * k));
}

std::int32_t GetInt32(const unsigned char* at) {
    std::uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(at[k]) << (8 * k);
    return static_cast<std::int32_t>(u);
}

void PutFloat(unsigned char* at, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    PutInt32(at, static_cast<std::int32_t>(bits));
}

float GetFloat(const unsigned char* at) {
    const auto bits = static_cast<std::uint32_t>(GetInt32(at));
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

// The longest start of `text` of at most `maxBytes` bytes that ends at a character boundary.
std::string_view CutToBytes(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

std::array<unsigned char, kTableLayoutRecordSize> EncodeTableLayout(const TableLayoutRecord& r) {
    std::array<unsigned char, kTableLayoutRecordSize> bytes{};
    const std::string_view name = CutToBytes(r.name, TableLayoutRecord::kNameLength);
    bytes[0] = static_cast<unsigned char>(name.size());
    std::memcpy(bytes.data() + 1, name.data(), name.size());
    PutInt32(&bytes[kProductOffset], r.productType);
    PutInt32(&bytes[kUnitOffset], r.unitSystem);
    PutInt32(&bytes[kReservedOffset], 0);
    PutInt32(&bytes[kSetting1Offset], r.setting1);
    PutInt32(&bytes[kSetting2Offset], r.setting2);
    for (std::size_t i = 0; i < TableLayoutRecord::kAxisLength; ++i) {
        PutFloat(&bytes[kAxis1Offset + 4 * i], r.axis1[i]);
        PutFloat(&bytes[kAxis2Offset + 4 * i], r.axis2[i]);
    }
    return bytes;
}

TableLayoutRecord DecodeTableLayout(const unsigned char* bytes) {
    TableLayoutRecord r;
    const std::size_t length = bytes[0];  // a byte: never beyond the field
    r.name = DecodeText(std::string_view(reinterpret_cast<const char*>(bytes + 1), length));
    r.productType = GetInt32(bytes + kProductOffset);
    r.unitSystem = GetInt32(bytes + kUnitOffset);
    r.setting1 = GetInt32(bytes + kSetting1Offset);
    r.setting2 = GetInt32(bytes + kSetting2Offset);
    for (std::size_t i = 0; i < TableLayoutRecord::kAxisLength; ++i) {
        r.axis1[i] = GetFloat(bytes + kAxis1Offset + 4 * i);
        r.axis2[i] = GetFloat(bytes + kAxis2Offset + 4 * i);
    }
    return r;
}

TableLayoutLoad LoadTableLayouts(const fs::path& path) {
    TableLayoutLoad load;
    const FileContents file = ReadWholeFile(path);
    load.exists = file.exists;
    if (!file.status) {
        load.status = file.status;
        return load;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.bytes.data());
    const std::size_t whole = file.bytes.size() / kTableLayoutRecordSize;
    load.tables.reserve(whole);
    for (std::size_t i = 0; i < whole; ++i)
        load.tables.push_back(DecodeTableLayout(bytes + i * kTableLayoutRecordSize));
    if (file.bytes.size() % kTableLayoutRecordSize != 0)
        load.status = IoStatus::Failure(Text(texts::kTableFileIncomplete) + " " + path.string(),
                                        "The file ends inside a table layout.");
    return load;
}

IoStatus SaveTableLayouts(const fs::path& path, const std::vector<TableLayoutRecord>& tables) {
    std::string bytes;
    bytes.reserve(tables.size() * kTableLayoutRecordSize);
    for (const TableLayoutRecord& table : tables) {
        const auto record = EncodeTableLayout(table);
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    return WriteFileSafely(path, bytes);
}

fs::path TableLayoutFileToRead(const fs::path& userFolder, const fs::path& installationFolder) {
    std::error_code ec;
    const fs::path own = userFolder / kTableLayoutFileName;
    if (!userFolder.empty() && fs::is_regular_file(own, ec)) return own;
    return installationFolder / kTableLayoutFileName;
}

std::optional<std::size_t> DefaultTableLayout(const std::vector<TableLayoutRecord>& tables,
                                              TableProduct product, UnitSystem system, int n) {
    if (n <= 0) return std::nullopt;
    const bool imperial = system == UnitSystem::Imperial;
    int count = 0;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (tables[i].productType != static_cast<std::int32_t>(product) ||
            tables[i].IsImperial() != imperial)
            continue;
        if (++count == n) return i;
    }
    return std::nullopt;
}

}  // namespace kelvra
