#include "family_set_text.hpp"

#include "text_encoding.hpp"

namespace kelvra {

namespace {

constexpr int kOffset = 64;
constexpr char32_t kWideFirst = 0x100;  // stands for code 192
constexpr int kLastSingleByteCode = 0xFF - kOffset;

}  // namespace

std::string FamilySetText(const FamilySelection& families) {
    std::string text;
    for (const int code : families.Codes()) {
        if (code < 1) continue;
        if (code <= kLastSingleByteCode) {
            // The character Windows-1252 shows for the byte code + 64.
            text += Windows1252ToUtf8(std::string(1, static_cast<char>(code + kOffset)));
        } else {
            AppendUtf8(text, kWideFirst + static_cast<char32_t>(code - kLastSingleByteCode - 1));
        }
    }
    return text;
}

FamilySelection ParseFamilySet(std::string_view text) {
    FamilySelection families;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = NextCodePoint(text, pos);
        int code = 0;
        if (c >= kWideFirst && c < kWideFirst + (255 - kLastSingleByteCode))
            code = kLastSingleByteCode + 1 + static_cast<int>(c - kWideFirst);
        else if (const auto byte = Windows1252Byte(c))
            code = *byte - kOffset;
        if (code >= 1 && code <= FamilySelection::kMaxCode) families.Add(code);
    }
    return families;
}

}  // namespace kelvra
