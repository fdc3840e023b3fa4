#include "product_records.hpp"

#include <fmt/format.h>

#include "model_text.hpp"

namespace kelvra {

void TFamily::SetName(std::string_view text) {
    name = CutToCharacters(TrimText(text), kNameLength);
}

void TSupply::SetName(std::string_view text) {
    name = CutToCharacters(TrimText(text), kNameLength);
}

std::string TSupply::FrequencyText() const {
    if (frequency > 40) return fmt::format("{}Hz", frequency);
    return CutToCharacters(name, kNameLength);
}

}  // namespace kelvra
