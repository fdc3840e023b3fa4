// The performance model base, driven through a small model whose evaluation is scripted.

#include "model.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "language_texts.hpp"
#include "quantity_heading.hpp"

namespace kelvra {
namespace {

namespace q = quantity;

// A model whose evaluation is a function of its speed. It records every speed it was
// evaluated at and writes the speed into result 27, so a test can see which evaluation the
// result vector comes from.
class ScriptedModel : public TCModel {
  public:
    // Fills the results for one evaluation at `rpm`; returns the status.
    using Script = std::function<ModelStatus(ScriptedModel&, std::int32_t rpm)>;

    Script script = [](ScriptedModel&, std::int32_t) { return model_status::Valid; };
    bool variableSpeed = false;
    bool hidesCurrent = false;
    bool vapourInjection = false;
    std::int32_t nominalSpeed = 0;
    std::vector<std::int32_t> evaluatedSpeeds;
    double lastRequiredCapacity = 0;

    bool HidesCurrent() const override { return hidesCurrent; }
    bool HasVapourInjection() const override { return vapourInjection; }
    bool IsVariableSpeed() const override { return variableSpeed; }
    std::int32_t NominalSpeed() const override { return nominalSpeed; }

    ModelStatus Evaluate(OperatingConditions conditions, ActivityMode) override {
        evaluatedSpeeds.push_back(Speed());
        lastRequiredCapacity = conditions.capacity;
        conditions.capacity = -1;  // the model's own copy: the caller must not see this
        const ModelStatus status = script(*this, Speed());
        if (status >= 0) SetResult(q::Speed, Speed());
        SetStatus(status);
        return status;
    }
};

// Capacity in kW of one hundredth of the speed, i.e. 30 kW at 3000 rpm, in result `entry`.
ScriptedModel::Script CapacityFromSpeed(QuantityCode entry = q::CoolingCapacity) {
    return [entry](ScriptedModel& m, std::int32_t rpm) {
        m.SetResult(entry, rpm / 100.0);
        return model_status::Valid;
    };
}

// A table that records what the model did to it.
class RecordingTable : public ModelTable {
  public:
    explicit RecordingTable(bool automatic) : automatic_(automatic) {}
    void ClearRows() override { log.push_back("clear"); }
    bool AutomaticAxes() const override { return automatic_; }
    void SetComputed(bool computed) override {
        log.push_back(computed ? "computed" : "not computed");
    }
    std::vector<std::string> log;

  private:
    bool automatic_;
};

class AxesModel : public TCModel {
  public:
    void SetUpTableAxes(ModelTable& table, UnitSystem system) override {
        static_cast<RecordingTable&>(table).log.push_back("axes " + std::to_string(ToInt(system)));
    }
};

// --- result vector and status ---

TEST(ResultVector, StatusLivesInTheLowBitsOfEntryZero) {
    for (ModelStatus status : {0, 1, 8, -1, -17, -25, INT32_MIN, INT32_MAX}) {
        ResultVector r;
        for (int code = 1; code < kResultCount; ++code) r.Set(code, code * 1.5);
        r.SetStatus(status);
        EXPECT_EQ(r.Status(), status);
        const auto bits = std::bit_cast<std::uint64_t>(r.Entries()[0]);
        EXPECT_EQ(static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(status));
        EXPECT_EQ(bits >> 32, 0u) << status;
        for (int code = 1; code < kResultCount; ++code) EXPECT_EQ(r.Get(code), code * 1.5);
    }
}

TEST(ResultVector, CodesOutsideTheVector) {
    ResultVector r;
    r.Set(q::Load, 66);
    EXPECT_EQ(r.Get(q::Load), 66);
    for (QuantityCode code : {-1, 29, 30, 41, INT_MIN, INT_MAX}) EXPECT_EQ(r.Get(code), 0.0);
    // Entry 0 is the status: writing a number there would corrupt it.
    for (QuantityCode code : {0, -1, 29, 33}) EXPECT_THROW(r.Set(code, 1.0), std::out_of_range);
}

TEST(ResultVector, ClearingResultsKeepsTheStatus) {
    ResultVector r;
    r.Set(q::CoolingCapacity, 12);
    r.Set(q::Load, 100);
    r.SetStatus(model_status::MotorLimit);
    r.ClearResults();
    EXPECT_EQ(r.Status(), model_status::MotorLimit);
    for (int code = 1; code < kResultCount; ++code) EXPECT_EQ(r.Get(code), 0.0);
}

TEST(TCModel, StatusFieldAndEntryZeroAgree) {
    ScriptedModel m;
    m.SetStatus(model_status::ExtendedEnvelope);
    EXPECT_EQ(m.Status(), 8);
    EXPECT_EQ(m.Results().Status(), 8);

    ResultVector other;
    other.Set(q::CoolingCapacity, 7.5);
    other.SetStatus(model_status::CondTooHigh);
    m.SetResults(other);
    EXPECT_EQ(m.Status(), model_status::CondTooHigh);
    EXPECT_EQ(m.Result(q::CoolingCapacity), 7.5);

    m.ClearResults();
    EXPECT_EQ(m.Result(q::CoolingCapacity), 0);
    EXPECT_EQ(m.Status(), model_status::CondTooHigh);
    EXPECT_EQ(m.Results().Status(), model_status::CondTooHigh);
}

TEST(TCModel, CopIsMinusOneWithoutPower) {
    EXPECT_EQ(CoefficientOfPerformance(10, 0), -1);
    EXPECT_EQ(CoefficientOfPerformance(0, 0), -1);
    EXPECT_DOUBLE_EQ(CoefficientOfPerformance(10, 2.5), 4);
}

TEST(ModelStatus, Clamps) {
    struct Case {
        ModelStatus in, compressor, table, unit;
    };
    const Case cases[] = {
        {INT32_MIN, -25, -25, -25},
        {-26, -25, -25, -25},
        {-25, -25, -25, -25},
        {-17, -17, -17, -17},
        {-1, -1, -1, -1},
        {0, 0, 0, 0},
        {1, 1, 1, 1},
        {2, 2, 2, 2},
        {3, 3, 3, 3},
        {4, 5, 3, 3},
        {5, 5, 3, 3},
        {6, 3, 3, 3},
        {7, 3, 3, 3},
        {8, 8, 8, 3},
        {9, 3, 3, 3},
        {INT32_MAX, 3, 3, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClampCompressorStatus(c.in), c.compressor) << c.in;
        EXPECT_EQ(ClampTableStatus(c.in), c.table) << c.in;
        EXPECT_EQ(ClampUnitStatus(c.in), c.unit) << c.in;
    }
}

// --- the slots of a plain model ---

TEST(TCModel, PlainModelDefaults) {
    TCModel m;
    EXPECT_FALSE(m.FirstOptionFlag());
    EXPECT_FALSE(m.HasVapourInjection());
    EXPECT_FALSE(m.HidesCurrent());
    EXPECT_FALSE(m.IsVariableSpeed());
    EXPECT_FALSE(m.IsInverterDriven());
    EXPECT_FALSE(m.IsCO2Transcritical());
    EXPECT_FALSE(m.HasLoadControl());
    EXPECT_EQ(m.NominalSpeed(), 0);
    EXPECT_EQ(m.MaxLoad(), 100);
    EXPECT_EQ(m.Speed(), 0);
    EXPECT_EQ(m.Load(), 0);

    const OperatingConditions conditions;
    EXPECT_EQ(m.SolveLoad(conditions, ActivityMode::Compressors), 100);
    EXPECT_EQ(m.Load(), 0);  // only answered, not stored

    double yMin = 1, yMax = 2, xMax = 3, xMin = 4;
    EXPECT_FALSE(m.EnvelopeBounds(yMin, yMax, xMax, xMin));
    EXPECT_EQ(yMin, 1);
    EXPECT_EQ(yMax, 2);
    EXPECT_EQ(xMax, 3);
    EXPECT_EQ(xMin, 4);

    m.SetSpeed(4200);
    m.SetLoad(66);
    EXPECT_EQ(m.Speed(), 4200);
    EXPECT_EQ(m.Load(), 66);
}

TEST(TCModel, PlainEvaluateFailsAndSaysSo) {
    TCModel m;
    m.SetResult(q::CoolingCapacity, 5);
    EXPECT_EQ(m.Evaluate(OperatingConditions{}, ActivityMode::Compressors), -17);
    EXPECT_EQ(m.Status(), model_status::EvaluationFailed);
    EXPECT_EQ(m.Results().Status(), model_status::EvaluationFailed);
    EXPECT_EQ(m.Result(q::CoolingCapacity), 5);  // nothing computed, nothing touched
}

TEST(TCModel, FillTableClearsLaysOutAxesWhenAutomaticAndMarksComputed) {
    AxesModel m;
    RecordingTable automatic(true);
    m.FillTable(automatic, OperatingConditions{}, ActivityMode::Compressors, UnitSystem::Imperial);
    EXPECT_EQ(automatic.log, (std::vector<std::string>{"clear", "axes 2", "computed"}));

    RecordingTable fixed(false);
    m.FillTable(fixed, OperatingConditions{}, ActivityMode::Compressors, UnitSystem::SI);
    EXPECT_EQ(fixed.log, (std::vector<std::string>{"clear", "computed"}));
}

// --- selection value and sorting ---

TEST(TCModel, SelectionValueByMode) {
    ScriptedModel m;
    m.SetResult(q::CoolingCapacity, 1.1);
    m.SetResult(q::HeatingCapacity, 11.11);
    m.SetResult(q::PressureDifference, 0.15);
    const struct {
        ActivityMode mode;
        double expected;
    } cases[] = {
        {ActivityMode::Compressors, 1.1},           {ActivityMode::CondensingUnits, 1.1},
        {ActivityMode::HeatPumpCompressors, 11.11}, {ActivityMode::ExpansionValves, 1.1},
        {ActivityMode::SolenoidValves, 0.15},       {ActivityMode::HeadPressureControls, 1.1},
        {ActivityMode::FilterDriers, 1.1},          {ActivityMode::BrineWaterHeatPumps, 11.11},
        {ActivityMode::AirWaterHeatPumps, 11.11},
    };
    for (const auto& c : cases) EXPECT_EQ(m.SelectionValue(c.mode), c.expected) << ToInt(c.mode);
}

// Models named by letter, with a cooling capacity and a status.
struct Listed {
    std::vector<std::unique_ptr<ScriptedModel>> owned;
    std::vector<TCModel*> list;

    void Add(const std::string& name, double capacity, ModelStatus status = 0, double power = 0) {
        auto m = std::make_unique<ScriptedModel>();
        m->name = name;
        m->SetResult(q::CoolingCapacity, capacity);
        m->SetResult(q::PowerInput, power);
        m->SetStatus(status);
        list.push_back(m.get());
        owned.push_back(std::move(m));
    }
    std::string Order() const {
        std::string out;
        for (const TCModel* m : list) out += m ? m->name : std::string("_");
        return out;
    }
};

TEST(TCModel, SortByCapacityPutsFailedModelsLast) {
    Listed l;
    l.Add("a", 5);
    l.Add("b", 3, model_status::CondTooLow);
    l.Add("c", 4);
    TCModel::SortByCapacity(l.list);
    EXPECT_EQ(l.Order(), "cab");
}

TEST(TCModel, SortKeepsTheOrderOfEqualValues) {
    // An exchange-based selection sort would move "a" behind "b" here.
    Listed l;
    l.Add("a", 5);
    l.Add("b", 5);
    l.Add("c", 3);
    l.Add("d", 5);
    l.Add("e", 1);
    TCModel::SortByCapacity(l.list);
    EXPECT_EQ(l.Order(), "ecabd");
}

TEST(TCModel, SortKeepsFailedModelsInTheirOrderAndGapsAtTheEnd) {
    Listed l;
    l.Add("f", 1, model_status::EvaluationFailed);
    l.Add("a", 9);
    l.Add("g", 0, model_status::EvapTooHigh);
    l.list.insert(l.list.begin() + 1, nullptr);
    l.Add("b", 2);
    l.Add("h", 0.5, model_status::NoLoadStepData);
    l.Add("w", 3, model_status::ExtendedEnvelope);  // a warning is valid
    TCModel::SortByCapacity(l.list);
    EXPECT_EQ(l.Order(), "bwafgh_");
}

TEST(TCModel, SortByAnotherQuantityAndOddLists) {
    Listed l;
    l.Add("a", 1, 0, 7);
    l.Add("b", 2, 0, std::numeric_limits<double>::quiet_NaN());
    l.Add("c", 3, 0, 2);
    l.Add("d", 4, 0, 5);
    TCModel::SortByResult(l.list, q::PowerInput);
    EXPECT_EQ(l.Order(), "cdab");  // a value that is not a number after every number

    std::vector<TCModel*> empty;
    TCModel::SortByCapacity(empty);
    Listed one;
    one.Add("x", 1);
    TCModel::SortByCapacity(one.list);
    EXPECT_EQ(one.Order(), "x");
}

// --- snapshots ---

TEST(TperfObject, KeepsItsCopyUntilRefreshed) {
    ScriptedModel m;
    m.script = CapacityFromSpeed();
    m.SetSpeed(2000);
    m.Evaluate(OperatingConditions{}, ActivityMode::Compressors);
    const TperfObject snapshot(m);
    EXPECT_EQ(&snapshot.Model(), &m);

    // A later failing evaluation at another speed changes the model, not the snapshot.
    m.script = [](ScriptedModel& s, std::int32_t) {
        s.SetResult(q::CoolingCapacity, 0);
        return model_status::CondTooHigh;
    };
    m.SetSpeed(5000);
    m.Evaluate(OperatingConditions{}, ActivityMode::Compressors);
    EXPECT_EQ(m.Status(), model_status::CondTooHigh);
    EXPECT_EQ(snapshot.Status(), model_status::Valid);
    EXPECT_EQ(snapshot.Result(q::CoolingCapacity), 20);
    EXPECT_EQ(snapshot.Result(q::Speed), 2000);
    EXPECT_EQ(snapshot.Result(99), 0);

    TperfObject refreshed = snapshot;
    refreshed.Refresh();
    EXPECT_EQ(refreshed.Status(), model_status::CondTooHigh);
    EXPECT_EQ(refreshed.Results(), m.Results());
    EXPECT_EQ(snapshot.Result(q::CoolingCapacity), 20);  // copies are independent
}

// --- guarded evaluation ---

TEST(TCModel, AFaultInsideAnEvaluationBecomesStatusMinus17) {
    ScriptedModel m;
    m.SetResult(q::CoolingCapacity, 12);
    m.script = [](ScriptedModel& s, std::int32_t) -> ModelStatus {
        s.SetResult(q::PowerInput, 99);  // half-written when the fault strikes
        throw std::runtime_error("property call failed");
    };
    EXPECT_EQ(m.EvaluateGuarded(OperatingConditions{}, ActivityMode::Compressors), -17);
    EXPECT_EQ(m.Status(), model_status::EvaluationFailed);
    EXPECT_EQ(m.Results().Status(), model_status::EvaluationFailed);
    EXPECT_EQ(m.Result(q::CoolingCapacity), 0);
    EXPECT_EQ(m.Result(q::PowerInput), 0);
}

// --- speed search ---

ScriptedModel VariableSpeedModel(std::int32_t nominal) {
    ScriptedModel m;
    m.variableSpeed = true;
    m.nominalSpeed = nominal;
    m.script = CapacityFromSpeed();
    return m;
}

OperatingConditions Requiring(double capacity) {
    OperatingConditions c;
    c.capacity = capacity;
    return c;
}

TEST(SolveSpeed, SmallestGridSpeedAboveTheRequirement) {
    struct Case {
        const char* what;
        double required;
        std::int32_t step;
        std::int32_t expected;
    };
    const Case cases[] = {
        // Capacity at 3000 rpm is 30 kW.
        {"down: 20 kW is reached at 2000 rpm, so 2040 is the last above", 20, 60, 2040},
        {"up: 40 kW needs 4000 rpm, the grid gives 4020", 40, 60, 4020},
        {"up, on the grid exactly", 36, 60, 3600},
        {"up in steps of 10", 30.05, 10, 3010},
        {"down to the lowest speed: 1020 is the last at or above 1000", 1, 60, 1020},
        {"never reached: the highest speed tried below 8001", 1000, 60, 7980},
    };
    for (const Case& c : cases) {
        ScriptedModel m = VariableSpeedModel(3000);
        const OperatingConditions conditions = Requiring(c.required);
        EXPECT_EQ(m.SolveSpeed(conditions, ActivityMode::Compressors, c.step), c.expected)
            << c.what;
        EXPECT_EQ(m.Speed(), c.expected) << c.what;
        // The results belong to the speed returned.
        EXPECT_EQ(m.evaluatedSpeeds.back(), c.expected) << c.what;
        EXPECT_EQ(m.Result(q::Speed), c.expected) << c.what;
        EXPECT_EQ(m.lastRequiredCapacity, c.required) << c.what;
        EXPECT_EQ(conditions.capacity, c.required) << c.what;
    }
}

TEST(SolveSpeed, EvaluationFailuresEndTheSearch) {
    struct Case {
        const char* what;
        std::int32_t nominal;
        double required;
        std::int32_t failsBelow, failsAbove;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"rated speed fails: fall back to 3000", 5000, 20, 0, 4500, 3000},
        {"fails on the way up: the last speed below the requirement", 3000, 100, 0, 5000, 4980},
        {"fails on the way down: the last speed above the requirement", 3000, 5, 2500, 99999, 2520},
    };
    for (const Case& c : cases) {
        ScriptedModel m = VariableSpeedModel(c.nominal);
        m.script = [c](ScriptedModel& s, std::int32_t rpm) {
            if (rpm < c.failsBelow || rpm > c.failsAbove) {
                s.SetResult(q::CoolingCapacity, 0);
                return model_status::OutsideEnvelope;
            }
            s.SetResult(q::CoolingCapacity, rpm / 100.0);
            return model_status::Valid;
        };
        EXPECT_EQ(m.SolveSpeed(Requiring(c.required), ActivityMode::Compressors, 60), c.expected)
            << c.what;
        EXPECT_EQ(m.evaluatedSpeeds.back(), c.expected) << c.what;
        EXPECT_EQ(m.Status(), model_status::Valid) << c.what;
    }
}

TEST(SolveSpeed, AFaultRaisedByTheModelIsAFailedEvaluation) {
    ScriptedModel m = VariableSpeedModel(4500);
    m.script = [](ScriptedModel& s, std::int32_t rpm) {
        if (rpm > 4000) throw std::runtime_error("no data");
        s.SetResult(q::CoolingCapacity, rpm / 100.0);
        return model_status::Valid;
    };
    EXPECT_EQ(m.SolveSpeed(Requiring(20), ActivityMode::Compressors, 60), 3000);
    EXPECT_EQ(m.Status(), model_status::Valid);
    EXPECT_EQ(m.Result(q::CoolingCapacity), 30);
}

TEST(SolveSpeed, ComparesTheSelectionValueOfTheMode) {
    // A heat-pump compressor is matched on heating capacity; its cooling capacity stays 0.
    ScriptedModel m = VariableSpeedModel(3000);
    m.script = CapacityFromSpeed(q::HeatingCapacity);
    EXPECT_EQ(m.SolveSpeed(Requiring(40), ActivityMode::HeatPumpCompressors, 60), 4020);
    // The same model matched on cooling capacity never gets there.
    ScriptedModel c = VariableSpeedModel(3000);
    c.script = CapacityFromSpeed(q::HeatingCapacity);
    EXPECT_EQ(c.SolveSpeed(Requiring(40), ActivityMode::Compressors, 60), 7980);
}

TEST(SolveSpeed, FixedSpeedModelsAndBadSteps) {
    ScriptedModel fixed;
    fixed.script = CapacityFromSpeed();
    fixed.nominalSpeed = 2900;
    EXPECT_EQ(fixed.SolveSpeed(Requiring(20), ActivityMode::Compressors, 60), 0);
    EXPECT_TRUE(fixed.evaluatedSpeeds.empty());

    for (std::int32_t step : {0, -60, INT32_MIN}) {
        ScriptedModel m = VariableSpeedModel(3000);
        EXPECT_THROW(m.SolveSpeed(Requiring(20), ActivityMode::Compressors, step),
                     std::invalid_argument);
        EXPECT_TRUE(m.evaluatedSpeeds.empty());
    }
}

TEST(SolveSpeed, EndsForAnySpeedAndStep) {
    // Extreme rated speeds and steps neither overflow nor loop for long.
    struct Case {
        std::int32_t nominal, step;
        double required;
        std::int32_t expected;
    };
    const Case cases[] = {
        {INT32_MAX, 60, 1, INT32_MAX - 10000 * 60},  // stopped by the step limit
        {INT32_MAX, INT32_MAX, 1, INT32_MAX},
        {INT32_MIN, 60, 1, 3000},  // the script fails below 0 rpm
        {0, INT32_MAX, 1e9, 0},
        {7990, 60, 1e9, 7990},
    };
    for (const Case& c : cases) {
        ScriptedModel m = VariableSpeedModel(c.nominal);
        m.script = [](ScriptedModel& s, std::int32_t rpm) {
            s.SetResult(q::CoolingCapacity, rpm / 100.0);
            return rpm < 0 ? model_status::OutsideEnvelope : model_status::Valid;
        };
        EXPECT_EQ(m.SolveSpeed(Requiring(c.required), ActivityMode::Compressors, c.step),
                  c.expected)
            << c.nominal << " " << c.step;
        EXPECT_LE(m.evaluatedSpeeds.size(), 10002u);
    }
}

// --- formatting one result ---

class FormatQuantityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetLanguageTexts();
        model.name = "ZX-100";
        supply.voltage = 400;
        model.supply = &supply;
        model.SetResult(q::CoolingCapacity, 10);
        model.SetResult(q::PowerInput, 3.2);
        model.SetResult(q::Current, 6.5);
        model.SetResult(q::COP, 3);
        model.SetResult(q::VolumetricEfficiency, 70);
        model.SetResult(q::IsentropicEfficiency, 65);
        model.SetResult(q::MassFlow, 100);
        model.SetResult(q::HeatRejection, 12.34);
        model.SetResult(q::CondensingTemp, 45.3);
        model.SetResult(q::DischargeTemp, 74.96);
        model.SetResult(q::HeatingCapacity, 13);
        model.SetResult(q::LiquidTemp, 35);
        model.SetResult(q::PowerFactor, 0.85);
        model.SetResult(q::PressureDifference, 1.5);
        model.SetResult(q::Displacement, 11.7);
        model.SetResult(q::Speed, 2900);
    }
    void TearDown() override { ResetLanguageTexts(); }

    struct Texts {
        std::string label, value;
    };
    Texts Format(QuantityCode code, UnitSystem system, ActivityMode mode,
                 std::size_t labelMax = 255, std::size_t valueMax = 255) const {
        Texts t{"stale", "stale"};
        model.FormatQuantity(code, system, t.label, labelMax, t.value, valueMax, conditions, mode);
        return t;
    }
    std::string Heading(QuantityCode code, UnitSystem system, ActivityMode mode) const {
        return QuantityHeading(code, system, mode, conditions);
    }

    ScriptedModel model;
    TSupply supply;
    OperatingConditions conditions;
};

TEST_F(FormatQuantityTest, EveryCodeInEachUnitSystem) {
    using M = ActivityMode;
    constexpr auto SI = UnitSystem::SI;
    constexpr auto Imp = UnitSystem::Imperial;
    constexpr auto Kcal = UnitSystem::Kcal;
    struct Case {
        QuantityCode code;
        UnitSystem system;
        ActivityMode mode;
        std::string unit;  // what follows the heading and its blank
        std::string value;
    };
    const Case cases[] = {
        {0, SI, M::Compressors, "", "ZX-100"},
        {0, Imp, M::CondensingUnits, "", "ZX-100"},
        {1, SI, M::Compressors, "kW", "10.00"},
        {1, Imp, M::Compressors, "kBtu/h", "34.10"},
        {1, Kcal, M::Compressors, "MCal/h", "8.60"},
        {2, SI, M::Compressors, "kW", "3.20"},
        {2, Imp, M::Compressors, "kW", "3.20"},
        {3, SI, M::Compressors, "400V, A", "6.50"},
        {3, Imp, M::CondensingUnits, "400V, A", "6.50"},
        {3, SI, M::ExpansionValves, "", ""},
        {3, Imp, M::SolenoidValves, "", ""},
        {3, SI, M::HeadPressureControls, "400V, A", "6.50"},
        {4, SI, M::Compressors, "", "3.00"},
        {4, Imp, M::Compressors, "Btu/h/W", "10.24"},
        {4, Kcal, M::Compressors, "", "3.00"},
        {5, SI, M::Compressors, "", ""},
        {6, Imp, M::Compressors, "", ""},
        {13, SI, M::Compressors, "", ""},
        {7, SI, M::Compressors, "g/s", "100.00"},
        {7, Imp, M::Compressors, "lb/h", "794.00"},
        {7, Kcal, M::Compressors, "kg/s", "0.10"},
        {8, SI, M::Compressors, "kW", "12.35"},
        {8, Imp, M::CondensingUnits, "kBtu/h", "42.10"},
        {8, SI, M::HeatPumpCompressors, "", ""},
        {8, Imp, M::HeatPumpCompressors, "", ""},
        {9, SI, M::CondensingUnits, "\u00B0C", "45.3"},
        {9, Imp, M::CondensingUnits, "\u00B0F", "113.5"},
        {9, SI, M::Compressors, "", ""},
        {9, Imp, M::BrineWaterHeatPumps, "", ""},
        {10, SI, M::Compressors, "\u00B0C", "75.0"},
        {10, Imp, M::HeatPumpCompressors, "\u00B0F", "167.0"},
        {10, SI, M::CondensingUnits, "", ""},
        {10, Imp, M::CondensingUnits, "", ""},
        {11, SI, M::HeatPumpCompressors, "kW", "13.00"},
        {11, Imp, M::Compressors, "kBtu/h", "44.40"},
        {11, Kcal, M::AirWaterHeatPumps, "MCal/h", "11.15"},
        {12, SI, M::Compressors, "\u00B0C", ""},
        {12, Imp, M::Compressors, "\u00B0F", ""},
        {15, SI, M::ExpansionValves, "bar", "1.50"},
        {15, Imp, M::SolenoidValves, "psi", "21.75"},
        {15, Kcal, M::FilterDriers, "bar", "1.50"},
        {15, SI, M::Compressors, "", "1.50"},
        {15, Imp, M::AirWaterHeatPumps, "", "21.75"},
        // No rule of their own: the heading and an empty value.
        {16, SI, M::Compressors, "", ""},
        {27, Imp, M::Compressors, "", ""},
        {-1, SI, M::CondensingUnits, "", ""},
        {41, SI, M::Compressors, "", ""},
    };
    for (const Case& c : cases) {
        const Texts t = Format(c.code, c.system, c.mode);
        EXPECT_EQ(t.label, Heading(c.code, c.system, c.mode) + " " + c.unit)
            << "code " << c.code << " system " << ToInt(c.system) << " mode " << ToInt(c.mode);
        EXPECT_EQ(t.value, c.value)
            << "code " << c.code << " system " << ToInt(c.system) << " mode " << ToInt(c.mode);
    }
}

TEST_F(FormatQuantityTest, CurrentHiddenByTheModelOrWithoutSupply) {
    model.hidesCurrent = true;
    Texts t = Format(q::Current, UnitSystem::SI, ActivityMode::Compressors);
    EXPECT_EQ(t.label, Heading(q::Current, UnitSystem::SI, ActivityMode::Compressors) + " ");
    EXPECT_EQ(t.value, "");

    model.hidesCurrent = false;
    supply.voltage = 229.6f;
    t = Format(q::Current, UnitSystem::SI, ActivityMode::Compressors);
    EXPECT_EQ(t.label, Heading(q::Current, UnitSystem::SI, ActivityMode::Compressors) + " 230V, A");

    model.supply = nullptr;  // no supply known: the unit alone
    t = Format(q::Current, UnitSystem::SI, ActivityMode::Compressors);
    EXPECT_EQ(t.label, Heading(q::Current, UnitSystem::SI, ActivityMode::Compressors) + " A");
    EXPECT_EQ(t.value, "6.50");
}

TEST_F(FormatQuantityTest, LiquidTemperatureOfVapourInjectionModels) {
    model.vapourInjection = true;
    Texts t = Format(q::LiquidTemp, UnitSystem::SI, ActivityMode::Compressors);
    EXPECT_EQ(t.label, "Liquid temperature, liquid outlet \u00B0C");
    EXPECT_EQ(t.value, "35.0");
    t = Format(q::LiquidTemp, UnitSystem::Imperial, ActivityMode::Compressors);
    EXPECT_EQ(t.label, "Liquid temperature, liquid outlet \u00B0F");
    EXPECT_EQ(t.value, "95.0");

    // The installed language replaces the wording.
    struct German : LanguageTextProvider {
        std::string Lookup(std::string_view key) const override {
            return key == "strLiqTempLO" ? "Fl\u00FCssigkeitstemperatur aus" : "";
        }
    };
    InstallLanguageTexts(std::make_shared<German>());
    t = Format(q::LiquidTemp, UnitSystem::SI, ActivityMode::Compressors);
    EXPECT_EQ(t.label, "Fl\u00FCssigkeitstemperatur aus \u00B0C");
}

TEST_F(FormatQuantityTest, PressureDifferenceOfZeroIsNotApplicableForControls) {
    model.SetResult(q::PressureDifference, 0);
    const struct {
        ActivityMode mode;
        const char* value;
    } cases[] = {
        {ActivityMode::HeadPressureControls, "N/A"}, {ActivityMode::FilterDriers, "N/A"},
        {ActivityMode::ExpansionValves, "0.00"},     {ActivityMode::SolenoidValves, "0.00"},
        {ActivityMode::Compressors, "0.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Format(q::PressureDifference, UnitSystem::Imperial, c.mode).value, c.value)
            << ToInt(c.mode);
    }
    model.SetResult(q::PressureDifference, 0.004);
    EXPECT_EQ(Format(q::PressureDifference, UnitSystem::SI, ActivityMode::FilterDriers).value,
              "0.00");
}

TEST_F(FormatQuantityTest, NeverShowsMinusZero) {
    model.SetResult(q::CoolingCapacity, -0.00001);
    EXPECT_EQ(Format(q::CoolingCapacity, UnitSystem::SI, ActivityMode::Compressors).value, "0.00");
}

TEST_F(FormatQuantityTest, TextsAreCutToTheirLengthWithoutSplittingCharacters) {
    const std::string heading =
        Heading(q::CondensingTemp, UnitSystem::SI, ActivityMode::CondensingUnits);
    const std::size_t headingChars = heading.size();  // the English heading is plain ASCII
    // Heading, blank, degree sign: the degree sign is two bytes and stays whole.
    Texts t = Format(q::CondensingTemp, UnitSystem::SI, ActivityMode::CondensingUnits,
                     headingChars + 2, 2);
    EXPECT_EQ(t.label, heading + " \u00B0");
    EXPECT_EQ(t.value, "45");

    t = Format(q::Status, UnitSystem::SI, ActivityMode::Compressors, 0, 3);
    EXPECT_EQ(t.label, "");
    EXPECT_EQ(t.value, "ZX-");
}

}  // namespace
}  // namespace kelvra
