#include "language_texts.hpp"

#include <mutex>
#include <utility>

namespace kelvra {

namespace {

struct Installed {
    std::mutex mutex;
    std::shared_ptr<const LanguageTextProvider> provider;
};

Installed& Current() {
    static Installed installed;
    return installed;
}

std::shared_ptr<const LanguageTextProvider> Provider() {
    Installed& installed = Current();
    std::lock_guard lock(installed.mutex);
    return installed.provider;
}

}  // namespace

std::string Text(std::string_view key, std::string_view englishDefault) {
    // Hold our own reference so that a provider replaced meanwhile stays alive for this look-up.
    if (const auto provider = Provider()) {
        std::string text = provider->Lookup(key);
        if (!text.empty()) return text;
    }
    return std::string(englishDefault);
}

void InstallLanguageTexts(std::shared_ptr<const LanguageTextProvider> provider) {
    Installed& installed = Current();
    std::lock_guard lock(installed.mutex);
    installed.provider = std::move(provider);
}

void ResetLanguageTexts() {
    InstallLanguageTexts(nullptr);
}

}  // namespace kelvra
