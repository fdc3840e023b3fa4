#pragma once

// Reading and writing the fixed-length little-endian records of the product database.
//
// Every record class is built from a byte span. A span shorter than the record is refused with a
// RecordError before any field is read, and every read checks its own bounds as well, so a
// damaged file can never make a record read outside its bytes. Single-byte text in the records
// is Windows-1252; it becomes UTF-8 here, at the edge, and nowhere else.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvra {

// A record that cannot be read: too short, or a field outside its bytes.
class RecordError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

using RecordBytes = std::span<const std::uint8_t>;

// Windows-1252 text as UTF-8. The five byte values that code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same number, so nothing is lost.
std::string Windows1252ToUtf8(std::string_view text);

// UTF-8 text as Windows-1252 bytes; a character the code page cannot hold, or a byte that is
// not valid UTF-8, becomes '?'.
std::string Utf8ToWindows1252(std::string_view text);

// Bounds-checked reads from one record.
class RecordView {
  public:
    // Refuses (RecordError naming `what`) a record shorter than `size` bytes. Only the first
    // `size` bytes are visible through the view.
    RecordView(RecordBytes bytes, std::size_t size, std::string_view what);

    std::size_t Size() const { return bytes_.size(); }
    RecordBytes Bytes() const { return bytes_; }

    std::uint8_t Byte(std::size_t offset) const;
    char Char(std::size_t offset) const { return static_cast<char>(Byte(offset)); }
    std::uint16_t U16(std::size_t offset) const;
    std::int16_t I16(std::size_t offset) const;
    std::uint32_t U32(std::size_t offset) const;
    float Single(std::size_t offset) const;
    double Double(std::size_t offset) const;
    std::array<std::uint8_t, 4> Four(std::size_t offset) const;

    // The text of a char[length] field: up to its first zero byte (or all `length` bytes),
    // converted to UTF-8, not trimmed.
    std::string Text(std::size_t offset, std::size_t length) const;

  private:
    void Check(std::size_t offset, std::size_t length) const;

    RecordBytes bytes_;
    std::string what_;
};

// Little-endian writes into a record buffer, for the writers of records (the catalogue compiler
// and the test fixtures). Each throws RecordError when the field does not fit.
void PutByte(std::span<std::uint8_t> record, std::size_t offset, std::uint8_t value);
void PutU16(std::span<std::uint8_t> record, std::size_t offset, std::uint16_t value);
void PutI16(std::span<std::uint8_t> record, std::size_t offset, std::int16_t value);
void PutSingle(std::span<std::uint8_t> record, std::size_t offset, float value);
void PutDouble(std::span<std::uint8_t> record, std::size_t offset, double value);
// Writes the UTF-8 text as Windows-1252 into a char[length] field, cut to `length` bytes and
// padded with zero bytes.
void PutText(std::span<std::uint8_t> record, std::size_t offset, std::size_t length,
             std::string_view text);

// Reads straight from a byte array whose size the caller has already made sure of.
std::uint16_t LoadU16(const std::uint8_t* bytes);
float LoadSingle(const std::uint8_t* bytes);
double LoadDouble(const std::uint8_t* bytes);

}  // namespace kelvra
