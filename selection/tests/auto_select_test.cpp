// The automatic choice by required capacity over models whose results are set by hand.

#include "auto_select.hpp"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra {
namespace {

namespace q = quantity;
namespace st = model_status;

struct Candidate {
    double value;  // the selection value of the case's mode
    ModelStatus status = st::Valid;
};

struct Case {
    std::string name;
    ActivityMode mode;
    double required;  // capacity (kW), or the pressure difference (bar) for solenoid valves
    std::vector<Candidate> candidates;
    int chosen;                         // index, -1 for none
    std::vector<ModelStatus> statuses;  // of every candidate afterwards
};

// The entry a mode compares with the requirement.
QuantityCode ValueEntry(ActivityMode mode) {
    if (mode == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(mode))
        return q::HeatingCapacity;
    if (mode == ActivityMode::SolenoidValves) return q::PressureDifference;
    return q::CoolingCapacity;
}

constexpr std::array<std::string_view, 4> kNames = {"first", "second", "third", "fourth"};

TEST(AutoSelectModel, ChoosesTheClosestModelAbove98PercentOfTheRequirement) {
    constexpr ActivityMode kComp = ActivityMode::Compressors;
    const std::vector<Case> cases = {
        {"the closest above the threshold wins, not the first above it",
         kComp,
         10,
         {{9.7}, {10.5}, {12}, {9.9}},
         3,
         {0, 0, 0, 0}},
        {"equal distance: the earlier stays (above first)",
         kComp,
         100,
         {{100.5}, {99.5}},
         0,
         {0, 0}},
        {"equal distance: the earlier stays (below first)",
         kComp,
         100,
         {{99.5}, {100.5}},
         0,
         {0, 0}},
        {"exactly 98 % does not qualify", kComp, 50, {{49.0}, {60}}, 1, {0, 0}},
        {"exactly 98 % alone is short of the requirement", kComp, 50, {{49.0}}, 0, {7}},
        {"none reaches 98 %: the largest valid one with status 7",
         kComp,
         20,
         {{5}, {12, st::CondTooLow}, {9}, {8}},
         2,
         {0, st::CondTooLow, 7, 0}},
        {"every candidate failed: the first keeps its own error",
         kComp,
         10,
         {{8, st::EvapTooLow}, {12, st::DischargeTooHot}},
         0,
         {st::EvapTooLow, st::DischargeTooHot}},
        {"a failed first candidate gives way to a valid one",
         kComp,
         10,
         {{0, st::EvaluationFailed}, {3}},
         1,
         {st::EvaluationFailed, 7}},
        {"left-over results of a failed first candidate do not count",
         kComp,
         10,
         {{15, st::EvaluationFailed}, {3}},
         1,
         {st::EvaluationFailed, 7}},
        {"a failed model is skipped even when it is the closest",
         kComp,
         10,
         {{10, st::EvapTooHigh}, {11}},
         1,
         {st::EvapTooHigh, 0}},
        {"a warning still competes and is kept",
         kComp,
         10,
         {{10.2, st::PreliminaryData}, {12}},
         0,
         {st::PreliminaryData, 0}},
        {"a failed model between short ones is not the largest",
         kComp,
         30,
         {{5}, {40, st::MotorLimit}, {7}},
         2,
         {0, st::MotorLimit, 7}},
        {"no requirement: the smallest model is the closest",
         kComp,
         0,
         {{5}, {3}, {7}},
         1,
         {0, 0, 0}},
        {"condensing units compare cooling capacity",
         ActivityMode::CondensingUnits,
         10,
         {{12}, {10.1}},
         1,
         {0, 0}},
        {"heat-pump compressors compare heating capacity",
         ActivityMode::HeatPumpCompressors,
         10,
         {{9}, {10.3}},
         1,
         {0, 0}},
        {"air/water heat pumps compare heating capacity",
         ActivityMode::AirWaterHeatPumps,
         10,
         {{14}, {11}, {9.5}},
         1,
         {0, 0, 0}},
        {"solenoid valves: the threshold is the pressure difference itself",
         ActivityMode::SolenoidValves,
         0.15,
         {{0.149}, {0.3}, {0.16}},
         2,
         {0, 0, 0}},
        {"solenoid valves: none above the pressure difference",
         ActivityMode::SolenoidValves,
         0.15,
         {{0.149}, {0.1}},
         0,
         {7, 0}},
        {"expansion valves: warnings are cleared, errors stay",
         ActivityMode::ExpansionValves,
         5,
         {{6, 3}, {4, st::EvapTooHigh}, {5.5, 1}},
         2,
         {0, st::EvapTooHigh, 0}},
        {"filter driers: warnings are cleared on the way to status 7",
         ActivityMode::FilterDriers,
         10,
         {{6, 3}, {4}},
         0,
         {7, 0}},
        {"no candidates: nothing is chosen", kComp, 10, {}, -1, {}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OperatingConditions conditions;
        conditions.capacity = 10;  // the capacity of the valve case must not matter
        if (c.mode == ActivityMode::SolenoidValves)
            conditions.ordaDiffPressure = static_cast<float>(c.required);
        else
            conditions.capacity = c.required;

        std::vector<std::unique_ptr<TCModel>> models;
        std::vector<TCModel*> list;
        for (const Candidate& candidate : c.candidates) {
            auto model = std::make_unique<TCModel>();
            model->SetName(kNames.at(models.size()));
            model->SetResult(ValueEntry(c.mode), candidate.value);
            // A decoy: the entry that the mode does not compare.
            if (ValueEntry(c.mode) != q::CoolingCapacity) model->SetResult(q::CoolingCapacity, 10);
            model->SetStatus(candidate.status);
            list.push_back(model.get());
            models.push_back(std::move(model));
        }

        TCModel* chosen = autoSelectModel(list, c.mode, conditions);

        if (c.chosen < 0) {
            EXPECT_EQ(chosen, nullptr);
        } else {
            EXPECT_EQ(chosen, list.at(static_cast<std::size_t>(c.chosen)))
                << "chose " << (chosen != nullptr ? chosen->name : "nothing");
        }
        std::vector<ModelStatus> statuses;
        for (const TCModel* model : list) {
            statuses.push_back(model->Status());
            EXPECT_EQ(model->Results().Status(), model->Status()) << model->name;
        }
        EXPECT_EQ(statuses, c.statuses);
    }
}

}  // namespace
}  // namespace kelvra
