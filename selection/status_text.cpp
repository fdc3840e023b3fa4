#include "status_text.hpp"

#include <array>
#include <string_view>

#include "language_texts.hpp"

namespace kelvra {

namespace {

struct KeyedText {
    std::string_view key;
    std::string_view english;
};

// The error texts, entry n - 1 for status -n.
constexpr std::array<KeyedText, 25> kErrors{{
    {"strError1", "Evaporating temperature too high"},
    {"strError2", "Outside the operating envelope"},
    {"strError3", "Condensing temperature too low"},
    {"strError4", "Condensing temperature too high"},
    {"strError5", "Evaporating temperature too low"},
    {"strError6", "Superheat too low"},
    {"strError7", "Outside the operating envelope"},
    {"strError8", "Outside the operating envelope"},
    {"strError9", "Unknown rating model"},
    {"strError10", "Rating data not usable"},
    {"strError11", "No condenser data"},
    {"strError12", "Condensing unit balance not found"},
    {"strError13", "Rating data not usable"},
    {"strError14", "Liquid temperature below evaporating temperature"},
    {"strError15", "Rating data not usable"},
    {"strError16", "Suction gas temperature too high"},
    {"strError17", "No rating data or calculation error"},
    {"strError18", "Condensing temperature above the unit's maximum"},
    {"strError19", "Useful superheat above the superheat"},
    {"strError20", "Motor power limit exceeded"},
    {"strError21", "Discharge temperature too high"},
    {"strError22", "Speed below the operating envelope"},
    {"strError23", "Speed above the operating envelope"},
    {"strError24", "Operating point outside the limits of this compressor"},
    {"strError25", "No data for this load step"},
}};

// The valve errors, entry n - 1 for status -n.
constexpr std::array<KeyedText, 4> kValveErrors{{
    {"strValvError1", "No data for these conditions"},
    {"strValvError2", "Valve too large"},
    {"strValvError3", "Valve too small"},
    {"strValvError4", "Outside the range of this valve"},
}};

constexpr KeyedText kFanWarning{"strErrorFan", "Additional fan cooling required"};
constexpr KeyedText kPreliminary{"strPrelimData", "Preliminary data"};
constexpr KeyedText kLimitedSuperheat{"strMaxSup", "Limited Superheat"};
constexpr KeyedText kCapacityWarning{"strWarnCap", "Capacity below the requirement"};
constexpr std::string_view kEngineering = "Engineering";
constexpr std::string_view kEngineeringMark = " (Eng)";
constexpr std::string_view kLeadingBlanks = "   ";

// A language entry holds at most kStatusTextMax characters (UTF-8 sequences kept whole).
std::string cut(std::string text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0u) == 0x80u) continue;  // continuation byte
        if (++characters > kStatusTextMax) {
            text.resize(i);
            break;
        }
    }
    return text;
}

std::string lookUp(const KeyedText& entry) {
    return cut(Text(entry.key, entry.english));
}

bool isControlsMode(ActivityMode mode) {
    const auto m = ToInt(mode);
    return m >= ToInt(ActivityMode::ExpansionValves) && m <= ToInt(ActivityMode::FilterDriers);
}

// The status table: the text of a code that the panel shows.
std::string tableText(ModelStatus code) {
    if (code < 0) {
        // Codes below the table's end are failed calculations too.
        const auto n = code < -static_cast<ModelStatus>(kErrors.size())
                           ? -model_status::EvaluationFailed
                           : -code;
        return lookUp(kErrors[static_cast<std::size_t>(n - 1)]);
    }
    switch (code) {
        case model_status::OtherEnvelopeKind:
            return lookUp(kFanWarning);
        case 2:
            return std::string(kEngineering);
        case model_status::Clamped:
            return lookUp(kFanWarning) + std::string(kEngineeringMark);
        case 4:
        case model_status::PreliminaryData:
            return lookUp(kPreliminary);
        case model_status::ExtendedEnvelope:
            return lookUp(kLimitedSuperheat);
        default:
            return {};
    }
}

}  // namespace

StatusPanelText showModelStatus(ModelStatus code, ActivityMode mode, bool autoSelect) {
    using Action = StatusPanelText::Action;
    if (isControlsMode(mode)) {
        if (code >= 0) return {Action::Clear, {}};
        if (code >= -static_cast<ModelStatus>(kValveErrors.size()))
            return {Action::Show, lookUp(kValveErrors[static_cast<std::size_t>(-code - 1)])};
        return {Action::Keep, {}};
    }
    if (code == model_status::BelowRequirement && autoSelect)
        return {Action::Show, lookUp(kCapacityWarning)};
    if (code == model_status::Valid || code == 6 || code == model_status::BelowRequirement ||
        code > model_status::ExtendedEnvelope)
        return {Action::Clear, {}};
    return {Action::Show, std::string(kLeadingBlanks) + tableText(code)};
}

std::string statusWords(ModelStatus code, ActivityMode mode, bool autoSelect) {
    const StatusPanelText panel = showModelStatus(code, mode, autoSelect);
    if (panel.action != StatusPanelText::Action::Show) {
        // A controls error without a text of its own still is an error.
        if (panel.action == StatusPanelText::Action::Keep) return tableText(code);
        return {};
    }
    std::string_view text = panel.text;
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return std::string(text);
}

}  // namespace kelvra
