// The selection list's rows, columns, sort order and previous/next moves, over models whose
// results are set by hand.

#include "selection_list.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kelvra {
namespace {

namespace q = quantity;
namespace st = model_status;

// A model with set results and capabilities.
class Listed : public TCModel {
  public:
    bool variableSpeed = false;
    bool loadControl = false;
    bool IsVariableSpeed() const override { return variableSpeed; }
    bool HasLoadControl() const override { return loadControl; }
};

struct Row {
    std::string name;
    double capacity, cop, displacement;
    ModelStatus status;
};

class SelectionListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const Row& r : std::vector<Row>{{"b-2", 5, 2.5, 6, st::Valid},
                                             {"A-1", 3, 3.0, 8, st::CondTooLow},
                                             {"c-3", 4, 2.5, 10, st::Valid},
                                             {"D-4", 6, 2.0, 12, st::PreliminaryData}}) {
            auto model = std::make_unique<Listed>();
            model->SetName(r.name);
            model->SetResult(q::CoolingCapacity, r.capacity);
            model->SetResult(q::COP, r.cop);
            model->SetResult(q::Displacement, r.displacement);
            model->SetStatus(r.status);
            candidates.push_back(model.get());
            models.push_back(std::move(model));
        }
    }

    void Fill(const TCModel* selected, ActivityMode mode = ActivityMode::Compressors) {
        list.fillList(candidates, selected, 0, mode, UnitSystem::SI, OperatingConditions{});
    }

    std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (const int i : list.order())
            names.push_back(list.items()[static_cast<std::size_t>(i)].model->name);
        return names;
    }

    std::vector<std::unique_ptr<Listed>> models;
    std::vector<TCModel*> candidates;
    SelectionList list;
};

TEST_F(SelectionListTest, SortsByEachKindOfColumn) {
    Fill(nullptr);
    // The compressor defaults: capacity, power, COP, current, mass flow, displacement; sorted
    // by displacement, failed models included.
    ASSERT_EQ(list.userCount(), 6);
    ASSERT_EQ(list.sortColumn(), 5);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b-2", "A-1", "c-3", "D-4"}));

    // Each sort starts from the order the last one left.
    struct Case {
        const char* name;
        int column;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        // Valid models ascending, failed ones last. b-2 and c-3 have the same COP: the swaps of
        // the selection sort move c-3 ahead of b-2, and an equal item never displaces it again.
        {"COP", 2, {"D-4", "c-3", "b-2", "A-1"}},
        {"capacity", 0, {"c-3", "b-2", "D-4", "A-1"}},
        {"model name, without regard to case", -1, {"A-1", "b-2", "c-3", "D-4"}},
        {"displacement", 5, {"b-2", "A-1", "c-3", "D-4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.sortBy(c.column);
        EXPECT_EQ(list.sortColumn(), c.column);
        EXPECT_EQ(Shown(), c.order);
    }
    // The load-ratio column outside the controls modes: the largest capacity first.
    list.setColumn(1, {'P', q::LoadRatio});
    list.sortBy(1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D-4", "b-2", "c-3", "A-1"}));

    // Columns outside the list are ignored.
    list.sortBy(6);
    list.sortBy(-2);
    EXPECT_EQ(list.sortColumn(), 1);
}

TEST_F(SelectionListTest, ANewQuantityForTheSortedColumnSortsByNameAgain) {
    Fill(nullptr);
    list.sortBy(2);
    list.setColumn(3, {'P', q::MassFlow});  // another column: the sort stays
    EXPECT_EQ(list.sortColumn(), 2);
    list.setColumn(2, {'P', q::MassFlow});
    EXPECT_EQ(list.sortColumn(), -list.fixedCount());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"A-1", "b-2", "c-3", "D-4"}));
    EXPECT_EQ(list.columns()[2], (ListColumn{'P', q::MassFlow}));
}

TEST_F(SelectionListTest, PreviousAndNextFollowTheDisplayedOrder) {
    Fill(candidates[0]);  // b-2
    list.sortBy(-1);      // A-1, b-2, c-3, D-4
    EXPECT_TRUE(list.hasPrevious());
    EXPECT_TRUE(list.hasNext());
    EXPECT_EQ(list.moveSelection(false), candidates[1]);
    EXPECT_FALSE(list.hasPrevious());
    EXPECT_EQ(list.moveSelection(false), nullptr);  // nothing above the first row
    EXPECT_EQ(list.moveSelection(true), candidates[0]);
    EXPECT_EQ(list.moveSelection(true), candidates[2]);
    EXPECT_EQ(list.moveSelection(true), candidates[3]);
    EXPECT_FALSE(list.hasNext());

    list.markModel(nullptr);
    EXPECT_FALSE(list.hasPrevious());
    EXPECT_FALSE(list.hasNext());
    EXPECT_EQ(list.moveSelection(true), nullptr);
    EXPECT_EQ(list.sortCaption(), " (Compressor)");
}

TEST_F(SelectionListTest, SnapshotsSurviveLaterEvaluationsUntilRecomputed) {
    Fill(nullptr);
    models[0]->SetResult(q::CoolingCapacity, 50);
    EXPECT_EQ(list.items()[0].result(q::CoolingCapacity), 5.0);
    list.recomputeList(OperatingConditions{});
    EXPECT_EQ(list.items()[0].result(q::CoolingCapacity), 50.0);

    EXPECT_EQ(list.valueText(list.items()[1], q::CoolingCapacity), "-");  // failed
    list.setUnits(UnitSystem::Imperial);
    EXPECT_EQ(list.valueText(list.items()[2], q::CoolingCapacity), "13.65");  // 4 kW in kBtu/h
}

TEST_F(SelectionListTest, FixedColumnsAndDefaultsFollowTheModeAndTheModels) {
    models[2]->variableSpeed = true;
    models[3]->loadControl = true;
    Fill(nullptr, ActivityMode::CondensingUnits);
    EXPECT_EQ(list.fixedColumns(),
              (std::vector<FixedColumn>{FixedColumn::Name, FixedColumn::Second, FixedColumn::Speed,
                                        FixedColumn::Load}));
    EXPECT_EQ(list.sortColumn(), 5);

    struct Case {
        ActivityMode mode;
        std::vector<ListColumn> columns;
        int sortColumn;
    };
    const Case cases[] = {
        {ActivityMode::HeatPumpCompressors,
         {{'P', q::HeatingCapacity},
          {'P', q::PowerInput},
          {'P', q::COP},
          {'P', q::Current},
          {'P', q::MassFlow},
          {'P', q::Displacement}},
         5},
        {ActivityMode::ExpansionValves,
         {{'P', q::CoolingCapacity}, {'P', q::LoadRatio}, {'M', 1}},
         0},
        {ActivityMode::SolenoidValves, {{'P', q::PressureDifference}, {'M', 1}}, 0},
        {ActivityMode::BrineWaterHeatPumps,
         {{'P', q::HeatingCapacity},
          {'P', q::PowerInput},
          {'P', q::COP},
          {'P', q::Current},
          {'P', q::MassFlow},
          {'P', q::Displacement}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToInt(c.mode));
        Fill(nullptr, c.mode);
        EXPECT_EQ(list.columns(), c.columns);
        EXPECT_EQ(list.sortColumn(), c.sortColumn);
    }
    // The user's columns stay while the mode does.
    list.setColumns({{'P', q::COP}});
    Fill(nullptr, ActivityMode::BrineWaterHeatPumps);
    EXPECT_EQ(list.columns(), (std::vector<ListColumn>{{'P', q::COP}}));
}

}  // namespace
}  // namespace kelvra
