#include "quantity_heading.hpp"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "language_texts.hpp"
#include "operating_conditions.hpp"

namespace kelvra {
namespace {

// Answers every key with "<key>" so that a test sees which key was asked for.
class EchoTexts : public LanguageTextProvider {
  public:
    std::string Lookup(std::string_view key) const override { return "<" + std::string(key) + ">"; }
};

class MapTexts : public LanguageTextProvider {
  public:
    explicit MapTexts(std::map<std::string, std::string, std::less<>> texts)
        : texts_(std::move(texts)) {}
    std::string Lookup(std::string_view key) const override {
        const auto it = texts_.find(key);
        return it == texts_.end() ? std::string() : it->second;
    }

  private:
    std::map<std::string, std::string, std::less<>> texts_;
};

class QuantityHeadingTest : public ::testing::Test {
  protected:
    void TearDown() override { ResetLanguageTexts(); }
};

OperatingConditions Conditions(bool advanced, bool usefulAll) {
    OperatingConditions c;
    c.advanced = advanced;
    c.usefulAll = usefulAll;
    return c;
}

struct HeadingCase {
    QuantityCode code;
    UnitSystem system;
    ActivityMode mode;
    bool advanced;
    bool usefulAll;
    const char* key;
};

using M = ActivityMode;
constexpr UnitSystem SI = UnitSystem::SI;
constexpr UnitSystem IMP = UnitSystem::Imperial;
constexpr UnitSystem KCAL = UnitSystem::Kcal;

TEST_F(QuantityHeadingTest, CapacityAndCopHeadingsFollowModeSystemAndConditions) {
    InstallLanguageTexts(std::make_shared<EchoTexts>());
    const std::vector<HeadingCase> table = {
        // cooling capacity
        {1, SI, M::Compressors, false, true, "<litCapacity>"},
        {1, SI, M::Compressors, true, false, "<strEvapCap>"},
        {1, SI, M::Compressors, false, false, "<litCapacity>"},  // partial useful SH alone
        {1, SI, M::CondensingUnits, false, true, "<litCapacity>"},
        {1, SI, M::CondensingUnits, false, false, "<strEvapCap>"},
        {1, SI, M::CondensingUnits, true, true, "<litCapacity>"},  // advanced alone
        {1, IMP, M::HeatPumpCompressors, true, false, "<strRefrigCap>"},
        {1, SI, M::HeatPumpCompressors, false, true, "<strRefrigCap>"},
        {1, SI, M::BrineWaterHeatPumps, false, true, "<strRefrigCap>"},
        {1, KCAL, M::AirWaterHeatPumps, true, false, "<strRefrigCap>"},
        {1, SI, M::ExpansionValves, true, false, "<litCapacity>"},
        {1, SI, M::FilterDriers, false, false, "<litCapacity>"},
        // COP: EER in Imperial, a system figure with advanced conditions
        {4, IMP, M::Compressors, false, true, "<litEER>"},
        {4, IMP, M::Compressors, true, false, "<litSysEER>"},
        {4, IMP, M::CondensingUnits, true, true, "<litSysEER>"},
        {4, IMP, M::HeatPumpCompressors, true, false, "<litEER>"},
        {4, IMP, M::AirWaterHeatPumps, true, false, "<litSysEER>"},
        {4, SI, M::Compressors, false, true, "<litCOP>"},
        {4, SI, M::Compressors, true, false, "<litSysCOP>"},
        {4, SI, M::HeatPumpCompressors, true, false, "<litSysCOP>"},
        {4, KCAL, M::CondensingUnits, true, true, "<litSysCOP>"},
        {4, KCAL, M::Compressors, false, false, "<litCOP>"},
        {4, static_cast<UnitSystem>(9), M::Compressors, false, true, "<litCOP>"},
    };
    for (const HeadingCase& h : table) {
        SCOPED_TRACE("code " + std::to_string(h.code) + " system " +
                     std::to_string(ToInt(h.system)) + " mode " + std::to_string(ToInt(h.mode)) +
                     " advanced " + std::to_string(h.advanced) + " usefulAll " +
                     std::to_string(h.usefulAll));
        EXPECT_EQ(QuantityHeading(h.code, h.system, h.mode, Conditions(h.advanced, h.usefulAll)),
                  h.key);
    }
}

TEST_F(QuantityHeadingTest, CatalogueKeys) {
    InstallLanguageTexts(std::make_shared<EchoTexts>());
    const std::map<QuantityCode, std::string> keys = {
        {2, "litPower"},       {3, "litCurrent"},    {5, "litVolEff"},
        {6, "litIsenEff"},     {7, "litMassFlow"},   {8, "litHeatRejection"},
        {9, "litCondTemp"},    {10, "strDiscTemp"},  {11, "strHeatCapacity"},
        {12, "strLiquidTemp"}, {13, "litPowFact"},   {14, "strTSI"},
        {15, "lblDiffPress"},  {16, "strDisp"},      {18, "strLoadRatio"},
        {19, "strSubCap"},     {20, "strRefCop"},    {24, "strInjMassFlow"},
        {25, "strTVI"},        {26, "strTsiBubble"}, {27, "strSpeed"},
        {28, "lblLoading"},    {30, "strIpress"},    {31, "strVOTemp"},
        {32, "strLiqTempLI"},  {33, "strLiqTempLX"},
    };
    const OperatingConditions plain = Conditions(false, true);
    const OperatingConditions advanced = Conditions(true, false);
    for (int code = -2; code <= 45; ++code) {
        const auto it = keys.find(code);
        const std::string expected = it == keys.end() ? "" : "<" + it->second + ">";
        if (code == 1 || code == 4) continue;  // special cases, above
        for (UnitSystem s : {SI, IMP, KCAL}) {
            for (int m = 0; m < kActivityModeCount; ++m) {
                const auto mode = static_cast<ActivityMode>(m);
                EXPECT_EQ(QuantityHeading(code, s, mode, plain), expected)
                    << "code " << code << " mode " << m;
                EXPECT_EQ(QuantityHeading(code, s, mode, advanced), expected)
                    << "code " << code << " mode " << m;
            }
        }
        EXPECT_EQ(std::string(HeadingKey(code)), it == keys.end() ? "" : it->second);
    }
    EXPECT_EQ(HeadingKey(1), "litCapacity");
    EXPECT_EQ(HeadingKey(4), "litCOP");
}

TEST_F(QuantityHeadingTest, CallerSuppliedHeadingsAreEmpty) {
    // Suction and discharge pressure, seasonal efficiency, the reserved capacity code and the
    // temperature difference take their headings from the caller.
    for (QuantityCode code : {0, 17, 21, 22, 23, 29, 41, 99, -1}) {
        EXPECT_EQ(QuantityHeading(code, SI, M::Compressors, Conditions(false, true)), "")
            << "code " << code;
    }
}

TEST_F(QuantityHeadingTest, BuiltInEnglishWhenNoLanguageIsInstalled) {
    const OperatingConditions c = Conditions(false, true);
    EXPECT_EQ(QuantityHeading(1, SI, M::Compressors, c), "Cooling capacity");
    EXPECT_EQ(QuantityHeading(1, SI, M::HeatPumpCompressors, c), "Refrigeration capacity");
    EXPECT_EQ(QuantityHeading(1, SI, M::CondensingUnits, Conditions(false, false)),
              "Evaporator capacity");
    EXPECT_EQ(QuantityHeading(4, IMP, M::Compressors, c), "EER");
    EXPECT_EQ(QuantityHeading(4, SI, M::Compressors, Conditions(true, false)), "System COP");
    EXPECT_EQ(QuantityHeading(2, SI, M::Compressors, c), "Power input");
    EXPECT_EQ(QuantityHeading(10, SI, M::Compressors, c), "Discharge temperature");
    // Every catalogue heading has an English text of its own, never its key.
    for (int code = 0; code <= 45; ++code) {
        const std::string_view key = HeadingKey(code);
        if (key.empty()) continue;
        const std::string text = QuantityHeading(code, SI, M::Compressors, c);
        EXPECT_FALSE(text.empty()) << "code " << code;
        EXPECT_NE(text, key) << "code " << code;
    }
}

TEST_F(QuantityHeadingTest, LanguageTextsReplaceTheEnglishWhereTheyHaveAText) {
    InstallLanguageTexts(std::make_shared<MapTexts>(std::map<std::string, std::string, std::less<>>{
        {"litPower", "Leistungsaufnahme"},
        {"strEvapCap", "Verdampferleistung"},
        {"litCurrent", ""},  // an empty entry keeps the built-in text
    }));
    EXPECT_EQ(QuantityHeading(2, SI, M::Compressors, Conditions(false, true)), "Leistungsaufnahme");
    EXPECT_EQ(QuantityHeading(1, SI, M::Compressors, Conditions(true, false)),
              "Verdampferleistung");
    EXPECT_EQ(QuantityHeading(1, SI, M::Compressors, Conditions(false, true)), "Cooling capacity");
    EXPECT_EQ(QuantityHeading(3, SI, M::Compressors, Conditions(false, true)), "Current");

    ResetLanguageTexts();
    EXPECT_EQ(QuantityHeading(2, SI, M::Compressors, Conditions(false, true)), "Power input");
}

TEST_F(QuantityHeadingTest, TextLookUp) {
    EXPECT_EQ(Text("strAnything", "Built-in"), "Built-in");
    InstallLanguageTexts(std::make_shared<MapTexts>(
        std::map<std::string, std::string, std::less<>>{{"strAnything", "Installed"}}));
    EXPECT_EQ(Text("strAnything", "Built-in"), "Installed");
    EXPECT_EQ(Text("stranything", "Built-in"), "Built-in");  // keys are compared exactly
    EXPECT_EQ(Text("strOther", "Other"), "Other");
    InstallLanguageTexts(nullptr);
    EXPECT_EQ(Text("strAnything", "Built-in"), "Built-in");
}

}  // namespace
}  // namespace kelvra
