#pragma once

// Process-wide look-up of user-visible texts by language key ("strEvapCap", "litPower", ...).
//
// Code asks for a text with its built-in English wording as the default. Until a language table
// is installed, and for every key the installed table does not know, the English default answers.

#include <memory>
#include <string>
#include <string_view>

namespace kelvra {

// Supplies the texts of one language, e.g. a loaded language file.
class LanguageTextProvider {
  public:
    virtual ~LanguageTextProvider() = default;
    // The text for `key`, or an empty string when the key has no text.
    virtual std::string Lookup(std::string_view key) const = 0;
};

// The installed text for `key`; `englishDefault` when there is none or it is empty.
std::string Text(std::string_view key, std::string_view englishDefault);

// Installs the provider that answers Text() from now on; nullptr restores the built-in texts.
void InstallLanguageTexts(std::shared_ptr<const LanguageTextProvider> provider);

// Back to the built-in English texts.
void ResetLanguageTexts();

}  // namespace kelvra
