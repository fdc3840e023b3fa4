#pragma once

// Text encodings of the files users bring: our own files are UTF-8; files written on Windows
// machines hold single-byte Windows-1252 text. Everything inside the program is UTF-8.

#include <optional>
#include <string>
#include <string_view>

#include "record_bytes.hpp"  // Windows1252ToUtf8

namespace kelvra {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF). Plain ASCII is valid.
bool IsValidUtf8(std::string_view bytes);

// One line (or field) of a file whose encoding is not declared: kept as it is when it is valid
// UTF-8, converted from Windows-1252 otherwise. Deciding per line lets a file that was edited on
// both kinds of machine read correctly throughout.
std::string DecodeText(std::string_view bytes);

// The Windows-1252 byte that stands for the code point `c`, if there is one (ASCII included).
std::optional<unsigned char> Windows1252Byte(char32_t c);

// Appends the UTF-8 form of `c` (which must be at most U+10FFFF and not a surrogate).
void AppendUtf8(std::string& out, char32_t c);

// Decodes the UTF-8 character that starts at `pos` of a valid UTF-8 text and advances `pos`
// past it. An ill-formed byte yields U+FFFD and advances by one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

}  // namespace kelvra
