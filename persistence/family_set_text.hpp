#pragma once

// The text form of a family set in settings and project files: family code n is the character
// of code n + 64 ("A" is 1, "C" is 3, "CK" is {3, 11}).

#include <string>
#include <string_view>

#include "family_selection.hpp"

namespace kelvra {

// The codes 1 to 255 of the set in ascending order. Codes up to 191 are the single-byte
// characters that files from Windows machines hold (Windows-1252, here in UTF-8); codes 192 to
// 255, which no single byte can carry, are the characters U+0100 to U+013F. Code 0 (custom
// families) is not written.
std::string FamilySetText(const FamilySelection& families);

// Every character adds its code, in any order; characters that stand for no code 1 to 255 are
// ignored. The empty text is the empty set.
FamilySelection ParseFamilySet(std::string_view text);

}  // namespace kelvra
