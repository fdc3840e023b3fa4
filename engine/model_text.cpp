#include "model_text.hpp"

namespace kelvra {

std::string CutToCharacters(std::string_view text, std::size_t maxCharacters) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // A character starts at every byte that is not a continuation byte (10xxxxxx).
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (count == maxCharacters) break;
            ++count;
        }
        ++i;
    }
    return std::string(text.substr(0, i));
}

std::string TrimText(std::string_view text) {
    constexpr std::string_view kBlank(" \t\r\n\0", 5);
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlank);
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace kelvra
