#include "startup_choices.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <system_error>

#include "file_names.hpp"
#include "product_records.hpp"

namespace kelvra {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int IndexOfEnglish(const std::vector<std::string>& names) {
    if (names.empty()) return -1;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (EqualIgnoringCase(names[i], "ENGLISH")) return static_cast<int>(i);
    return 0;
}

int RoundedCategory(const TFamily& family) { return static_cast<int>(std::lround(family.category)); }

}  // namespace

std::vector<std::string> HelpSets(const std::filesystem::path& installation) {
    std::vector<std::string> sets;
    std::error_code ec;
    const std::filesystem::path folder = installation / "help";
    if (!std::filesystem::is_directory(folder, ec)) return sets;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code inner;
        if (it->is_directory(inner) && std::filesystem::is_regular_file(it->path() / "index.html", inner))
            sets.push_back(it->path().filename().string());
    }
    std::sort(sets.begin(), sets.end(), [](const std::string& a, const std::string& b) {
        return Upper(a) < Upper(b);
    });
    return sets;
}

std::string HelpSetOf(std::string_view helpSetting) {
    const std::size_t slash = helpSetting.find_last_of("/\\");
    std::string name(slash == std::string_view::npos ? helpSetting : helpSetting.substr(slash + 1));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

StartupOffer StartupOfferFor(const std::filesystem::path& installation) {
    StartupOffer offer;
    for (const std::string& file : FilesWithExtension(installation, ".lng"))
        offer.languages.push_back(Upper(std::filesystem::path(file).stem().string()));
    offer.helps = HelpSets(installation);
    offer.language = IndexOfEnglish(offer.languages);
    offer.help = IndexOfEnglish(offer.helps);
    return offer;
}

bool SemiHermeticAvailable(StartupApplication application) {
    return application != StartupApplication::Heating;
}

StartupChoices WithApplication(StartupChoices choices, StartupApplication application) {
    choices.application = application;
    if (!SemiHermeticAvailable(application)) choices.semiHermetic = false;
    return choices;
}

bool StartupOkEnabled(const StartupChoices& choices) {
    return choices.scroll || (choices.semiHermetic && SemiHermeticAvailable(choices.application));
}

ActivityMode StartMode(StartupApplication application) {
    switch (application) {
        case StartupApplication::Heating: return ActivityMode::HeatPumpCompressors;
        case StartupApplication::CondensingUnits: return ActivityMode::CondensingUnits;
        default: return ActivityMode::Compressors;
    }
}

bool AirConditioningLike(StartupApplication application) {
    return application == StartupApplication::AirConditioning ||
           application == StartupApplication::Heating;
}

Settings FirstRunSettings(const StartupChoices& choices,
                          const std::vector<std::unique_ptr<TFamily>>& families,
                          const std::filesystem::path& installation) {
    Settings s;
    s.compressorFamilies.Clear();
    s.condensingUnitFamilies.Clear();
    s.controlsFamilies.Clear();
    s.heatPumpFamilies.Clear();

    if (!choices.language.empty()) {
        // the file as the folder spells it: file systems may tell "GERMAN.LNG" from "german.lng"
        if (const auto file = FindFileIgnoringCase(installation, choices.language + ".lng"))
            s.language = file->filename().string();
    }
    if (!choices.help.empty()) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(installation / "help" / choices.help / "index.html", ec))
            s.help = (installation / (choices.help + ".chm")).string();
    }

    const bool airConditioning = AirConditioningLike(choices.application);
    const ActivityMode mode = StartMode(choices.application);
    s.refrigerant = airConditioning ? "R407C" : "R404A";
    s.mode = mode;

    OperatingConditions& c = s.conditions;
    switch (mode) {
        case ActivityMode::Compressors:
            if (airConditioning) {
                c.evapTemp = 5;
                c.condTemp = 50;
                Preset(2, RatingStandard::EN, c);
            } else {
                c.evapTemp = -10;
                c.condTemp = 45;
                Preset(1, RatingStandard::EN, c);
            }
            break;
        case ActivityMode::CondensingUnits:
            c.evapTemp = -10;
            c.ambientTemp = 32;
            c.suctionGasReturn = 20;
            c.useSGR = true;
            c.subcooling = 0;
            break;
        default:  // heat-pump compressors
            c.evapTemp = -8;
            c.condTemp = 50;
            c.subcooling = 4;
            c.superheat = 5;
            c.useSGR = false;
            break;
    }
    if (mode != ActivityMode::Compressors) {
        c.suctionLineDrop = 0;
        c.dischargeLineDrop = 0;
        c.usefulAll = true;
        c.usefulSuperheat = c.superheat;
        c.evapByPressure = 0;
        c.condByPressure = 0;
        c.liquidTempGiven = false;
    }
    c.capacity = 20;

    const int scrollCategory = airConditioning ? 1 : 2;
    const int semiCategory = airConditioning ? 11 : 12;
    for (const auto& family : families) {
        const int category = RoundedCategory(*family);
        switch (mode) {
            case ActivityMode::HeatPumpCompressors:
                if (family->kind == TFamily::kHeatPumpCompressor) s.compressorFamilies.Add(family->code);
                break;
            case ActivityMode::Compressors:
                if (family->kind != TFamily::kCompressor) break;
                if (choices.scroll && category < 10 && category == scrollCategory)
                    s.compressorFamilies.Add(family->code);
                if (choices.semiHermetic && category > 10 && category == semiCategory)
                    s.compressorFamilies.Add(family->code);
                break;
            default:  // condensing units
                if (family->kind != TFamily::kCondensingUnit) break;
                if (choices.scroll && category < 10 && category != 3)
                    s.condensingUnitFamilies.Add(family->code);
                if (choices.semiHermetic && category > 10) s.condensingUnitFamilies.Add(family->code);
                break;
        }
        if (family->kind == TFamily::kHeatPump && category == 1) s.heatPumpFamilies.Add(family->code);
    }

    // A database without the chosen lines still opens on something to select from.
    FamilySelection& own = mode == ActivityMode::CondensingUnits ? s.condensingUnitFamilies
                                                                 : s.compressorFamilies;
    const char kind = mode == ActivityMode::CondensingUnits    ? TFamily::kCondensingUnit
                      : mode == ActivityMode::HeatPumpCompressors ? TFamily::kHeatPumpCompressor
                                                                  : TFamily::kCompressor;
    if (own.Empty())
        for (const auto& family : families)
            if (family->kind == kind) own.Add(family->code);
    return s;
}

StartupChoices UnansweredStartupChoices() {
    StartupChoices choices;
    choices.application = StartupApplication::Refrigeration;
    choices.language = "ENGLISH";
    choices.help = "english";
    return choices;
}

}  // namespace kelvra
