#pragma once

// Short texts of models and product records: names, labels and value texts have fixed maximum
// lengths, counted in characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvra {

// The first `maxCharacters` characters of a UTF-8 text. A multi-byte character is kept whole or
// dropped whole, never split.
std::string CutToCharacters(std::string_view text, std::size_t maxCharacters);

// The text without leading and trailing blanks, tabs, line breaks and NUL padding (record
// fields are padded with either).
std::string TrimText(std::string_view text);

}  // namespace kelvra
