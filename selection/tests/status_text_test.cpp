// The status panel's text for a model status, by mode and choice, in English and from an
// installed language.

#include "status_text.hpp"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "language_texts.hpp"

namespace kelvra {
namespace {

using Action = StatusPanelText::Action;
namespace st = model_status;

constexpr ActivityMode kComp = ActivityMode::Compressors;

TEST(ShowModelStatus, ChoosesTheTextByCodeModeAndChoice) {
    struct Case {
        ModelStatus code;
        ActivityMode mode;
        bool autoSelect;
        StatusPanelText expected;
    };
    const Case cases[] = {
        {st::Valid, kComp, true, {Action::Clear, ""}},
        {st::BelowRequirement, kComp, true, {Action::Show, "Capacity below the requirement"}},
        {st::BelowRequirement,
         ActivityMode::HeatPumpCompressors,
         true,
         {Action::Show, "Capacity below the requirement"}},
        {st::BelowRequirement, kComp, false, {Action::Clear, ""}},
        {6, kComp, false, {Action::Clear, ""}},
        {6, kComp, true, {Action::Clear, ""}},
        {9, kComp, true, {Action::Clear, ""}},
        {1, kComp, true, {Action::Show, "   Additional fan cooling required"}},
        {2, kComp, false, {Action::Show, "   Engineering"}},
        {3,
         ActivityMode::CondensingUnits,
         true,
         {Action::Show, "   Additional fan cooling required (Eng)"}},
        {4, kComp, true, {Action::Show, "   Preliminary data"}},
        {5, ActivityMode::AirWaterHeatPumps, false, {Action::Show, "   Preliminary data"}},
        {8, kComp, true, {Action::Show, "   Limited Superheat"}},
        {-1, kComp, true, {Action::Show, "   Evaporating temperature too high"}},
        {-5,
         ActivityMode::CondensingUnits,
         false,
         {Action::Show, "   Evaporating temperature too low"}},
        {-17, kComp, true, {Action::Show, "   No rating data or calculation error"}},
        {-24,
         kComp,
         true,
         {Action::Show, "   Operating point outside the limits of this compressor"}},
        {-25, kComp, true, {Action::Show, "   No data for this load step"}},
        {-26, kComp, true, {Action::Show, "   No rating data or calculation error"}},
        // Controls have their own texts, without the blanks, and no capacity warning.
        {0, ActivityMode::ExpansionValves, true, {Action::Clear, ""}},
        {st::BelowRequirement, ActivityMode::ExpansionValves, true, {Action::Clear, ""}},
        {3, ActivityMode::SolenoidValves, false, {Action::Clear, ""}},
        {-1, ActivityMode::ExpansionValves, true, {Action::Show, "No data for these conditions"}},
        {-2, ActivityMode::SolenoidValves, true, {Action::Show, "Valve too large"}},
        {-3, ActivityMode::SolenoidValves, true, {Action::Show, "Valve too small"}},
        {-4, ActivityMode::FilterDriers, false, {Action::Show, "Outside the range of this valve"}},
        {-5, ActivityMode::HeadPressureControls, true, {Action::Keep, ""}},
        {-17, ActivityMode::FilterDriers, true, {Action::Keep, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << ", mode " << ToInt(c.mode)
                                        << (c.autoSelect ? ", automatic" : ", manual"));
        EXPECT_EQ(showModelStatus(c.code, c.mode, c.autoSelect), c.expected);
    }
}

TEST(ShowModelStatus, EveryErrorHasWordsOfItsOwn) {
    for (ModelStatus code = -25; code <= -1; ++code) {
        const StatusPanelText panel = showModelStatus(code, kComp, true);
        EXPECT_EQ(panel.action, Action::Show) << code;
        EXPECT_GT(panel.text.size(), 3u) << code;
        EXPECT_EQ(statusWords(code, kComp, true), panel.text.substr(3)) << code;
    }
    // A controls error without a text of its own is still named.
    EXPECT_EQ(statusWords(-17, ActivityMode::FilterDriers, true),
              "No rating data or calculation error");
    EXPECT_EQ(statusWords(st::Valid, kComp, true), "");
    EXPECT_EQ(statusWords(st::BelowRequirement, kComp, true), "Capacity below the requirement");
}

class Translation : public LanguageTextProvider {
  public:
    explicit Translation(std::map<std::string, std::string> texts) : texts_(std::move(texts)) {}
    std::string Lookup(std::string_view key) const override {
        const auto it = texts_.find(std::string(key));
        return it == texts_.end() ? std::string() : it->second;
    }

  private:
    std::map<std::string, std::string> texts_;
};

TEST(ShowModelStatus, TakesTheInstalledLanguageCutTo100Characters) {
    std::string longText;
    for (int i = 0; i < 60; ++i) longText += "\u00e4";  // two bytes each
    longText += std::string(60, 'x');
    InstallLanguageTexts(std::make_shared<Translation>(std::map<std::string, std::string>{
        {"strWarnCap", "Leistung zu klein"},
        {"strErrorFan", "Zusatzl\u00fcfter"},
        {"strError5", longText},
        {"strValvError2", "Ventil zu gro\u00df"},
    }));
    EXPECT_EQ(showModelStatus(7, kComp, true).text, "Leistung zu klein");
    EXPECT_EQ(showModelStatus(3, kComp, true).text, "   Zusatzl\u00fcfter (Eng)");
    EXPECT_EQ(showModelStatus(-2, ActivityMode::SolenoidValves, true).text, "Ventil zu gro\u00df");
    const std::string cut = showModelStatus(-5, kComp, true).text;
    EXPECT_EQ(cut, "   " + longText.substr(0, 120 + 40));  // 60 two-byte letters and 40 x
    // Keys the language does not know keep their English text.
    EXPECT_EQ(showModelStatus(-6, kComp, true).text, "   Superheat too low");
    ResetLanguageTexts();
    EXPECT_EQ(showModelStatus(7, kComp, true).text, "Capacity below the requirement");
}

}  // namespace
}  // namespace kelvra
