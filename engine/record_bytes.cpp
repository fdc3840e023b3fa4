#include "record_bytes.hpp"

#include <fmt/format.h>

#include <bit>
#include <cstring>

namespace kelvra {

namespace {

// Code points of the bytes 0x80..0x9F; the five undefined bytes keep their own number.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The Windows-1252 byte of a code point, or '?' when the code page has none.
char ToWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

std::uint64_t LoadLittle(const std::uint8_t* bytes, std::size_t n) {
    std::uint64_t value = 0;
    for (std::size_t i = n; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

void StoreLittle(std::uint8_t* bytes, std::uint64_t value, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

void CheckFits(std::span<std::uint8_t> record, std::size_t offset, std::size_t length) {
    if (offset > record.size() || length > record.size() - offset) {
        throw RecordError(fmt::format("field of {} bytes at offset {} lies outside a record of {}",
                                      length, offset, record.size()));
    }
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            out.push_back(ch);
        } else if (byte < 0xA0) {
            AppendUtf8(out, kHighControls[byte - 0x80]);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                c = (c << 6) | (next & 0x3F);
            }
        }
        if (!valid) {
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(ToWindows1252(c));
        i += length;
    }
    return out;
}

RecordView::RecordView(RecordBytes bytes, std::size_t size, std::string_view what) : what_(what) {
    if (bytes.size() < size) {
        throw RecordError(fmt::format("{} record of {} bytes is too short: {} expected", what,
                                      bytes.size(), size));
    }
    bytes_ = bytes.first(size);
}

void RecordView::Check(std::size_t offset, std::size_t length) const {
    if (offset > bytes_.size() || length > bytes_.size() - offset) {
        throw RecordError(
            fmt::format("{} record: field of {} bytes at offset {} lies outside its "
                        "{} bytes",
                        what_, length, offset, bytes_.size()));
    }
}

std::uint8_t RecordView::Byte(std::size_t offset) const {
    Check(offset, 1);
    return bytes_[offset];
}

std::uint16_t RecordView::U16(std::size_t offset) const {
    Check(offset, 2);
    return static_cast<std::uint16_t>(LoadLittle(bytes_.data() + offset, 2));
}

std::int16_t RecordView::I16(std::size_t offset) const {
    return static_cast<std::int16_t>(U16(offset));
}

std::uint32_t RecordView::U32(std::size_t offset) const {
    Check(offset, 4);
    return static_cast<std::uint32_t>(LoadLittle(bytes_.data() + offset, 4));
}

float RecordView::Single(std::size_t offset) const {
    Check(offset, 4);
    return LoadSingle(bytes_.data() + offset);
}

double RecordView::Double(std::size_t offset) const {
    Check(offset, 8);
    return LoadDouble(bytes_.data() + offset);
}

std::array<std::uint8_t, 4> RecordView::Four(std::size_t offset) const {
    Check(offset, 4);
    std::array<std::uint8_t, 4> out{};
    std::memcpy(out.data(), bytes_.data() + offset, 4);
    return out;
}

std::string RecordView::Text(std::size_t offset, std::size_t length) const {
    Check(offset, length);
    const char* start = reinterpret_cast<const char*>(bytes_.data() + offset);
    std::size_t n = 0;
    while (n < length && start[n] != '\0') ++n;
    return Windows1252ToUtf8(std::string_view(start, n));
}

void PutByte(std::span<std::uint8_t> record, std::size_t offset, std::uint8_t value) {
    CheckFits(record, offset, 1);
    record[offset] = value;
}

void PutU16(std::span<std::uint8_t> record, std::size_t offset, std::uint16_t value) {
    CheckFits(record, offset, 2);
    StoreLittle(record.data() + offset, value, 2);
}

void PutI16(std::span<std::uint8_t> record, std::size_t offset, std::int16_t value) {
    PutU16(record, offset, static_cast<std::uint16_t>(value));
}

void PutSingle(std::span<std::uint8_t> record, std::size_t offset, float value) {
    CheckFits(record, offset, 4);
    StoreLittle(record.data() + offset, std::bit_cast<std::uint32_t>(value), 4);
}

void PutDouble(std::span<std::uint8_t> record, std::size_t offset, double value) {
    CheckFits(record, offset, 8);
    StoreLittle(record.data() + offset, std::bit_cast<std::uint64_t>(value), 8);
}

void PutText(std::span<std::uint8_t> record, std::size_t offset, std::size_t length,
             std::string_view text) {
    CheckFits(record, offset, length);
    const std::string bytes = Utf8ToWindows1252(text);
    for (std::size_t i = 0; i < length; ++i) {
        record[offset + i] = i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0;
    }
}

std::uint16_t LoadU16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(LoadLittle(bytes, 2));
}

float LoadSingle(const std::uint8_t* bytes) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(LoadLittle(bytes, 4)));
}

double LoadDouble(const std::uint8_t* bytes) {
    return std::bit_cast<double>(LoadLittle(bytes, 8));
}

}  // namespace kelvra
