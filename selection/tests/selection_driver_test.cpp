// The selection driver's chains on a small product database: candidates, evaluation, the
// automatic and the manual choice, and the reactions to inputs.

#include "selection_driver.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data_store.hpp"
#include "result_quantities.hpp"
#include "selection_fixture.hpp"

namespace kelvra {
namespace {

using testing::FixtureCapacity;
namespace q = quantity;
namespace st = model_status;

// Records what the driver asks its views to do, in order.
class RecordingViews : public SelectionViews {
  public:
    void candidatesRebuilt(const SelectionDriver&) override { events.push_back("rebuilt"); }
    void showSelectedModel(const SelectionDriver& d) override {
        events.push_back("show " + (d.selectedModel() ? d.selectedModel()->name : "none"));
    }
    void refreshSelectedModel(const SelectionDriver&) override { events.push_back("refresh"); }
    void listChanged(const SelectionList&) override { events.push_back("list"); }
    void showStatus(const StatusPanelText& text) override {
        events.push_back("status '" + text.text + "'");
    }
    void supplyChanged(const SelectionDriver&) override { events.push_back("supply"); }
    std::vector<std::string> events;
};

class SelectionDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(libraries.loaded.general);
        WriteProductDatabase(folder.path(), testing::SelectionFixtureDatabase());
        store = std::make_unique<TdataStore>(DatabaseSources{folder.path(), nullptr});
        ASSERT_TRUE(store->Valid() && !store->Missing())
            << (store->Problems().empty() ? "" : store->Problems().front());
        r134a = store->FindRefrigerantByName("R134a");
        r404a = store->FindRefrigerantByName("R404A");
        ASSERT_NE(r134a, nullptr);
        ASSERT_NE(r404a, nullptr);
        driver = std::make_unique<SelectionDriver>(*store, &views);
    }

    // Compressors of family 1 and the standard point -10/40 degC, 10 K superheat.
    SelectionDriver::Setup Standard(double capacity, bool automatic = true) const {
        SelectionDriver::Setup setup;
        setup.refrigerant = r134a;
        setup.conditions.evapTemp = -10;
        setup.conditions.condTemp = 40;
        setup.conditions.superheat = 10;
        setup.conditions.subcooling = 0;
        setup.conditions.capacity = capacity;
        setup.families[FamilyPage::Compressors].Add(1);
        setup.families[FamilyPage::CondensingUnits].Add(1);
        setup.autoSelect = automatic;
        return setup;
    }

    void Start(const SelectionDriver::Setup& setup) {
        driver->setUp(setup);
        views.events.clear();
        driver->layoutForMode();
    }

    std::vector<std::string> CandidateNames() const {
        std::vector<std::string> names;
        for (const TCModel* model : driver->candidates()) names.push_back(model->name);
        return names;
    }

    std::string Selected() const {
        return driver->selectedModel() != nullptr ? driver->selectedModel()->name : "none";
    }

    TCModel* Candidate(const std::string& name) const {
        for (TCModel* model : driver->candidates())
            if (model->name == name) return model;
        ADD_FAILURE() << name << " is no candidate";
        return nullptr;
    }

    testing::PropertyLibraries libraries;
    testing::ScratchFolder folder;
    std::unique_ptr<TdataStore> store;
    Trefrigerant* r134a = nullptr;
    Trefrigerant* r404a = nullptr;
    RecordingViews views;
    std::unique_ptr<SelectionDriver> driver;
};

TEST_F(SelectionDriverTest, RebuildEvaluatesEveryCandidateAndChoosesByCapacityInOrder) {
    Start(Standard(10));

    EXPECT_EQ(driver->supply()->name, "400V-3-50");  // the first 50 Hz supply
    EXPECT_EQ(CandidateNames(),
              (std::vector<std::string>{"KS-05", "KS-07", "KS-10", "KS-12", "KS-09N"}));
    for (const double scale : {0.5, 0.75, 1.0, 1.2}) {
        const TCModel* model = driver->candidates()[static_cast<std::size_t>(scale == 0.5    ? 0
                                                                             : scale == 0.75 ? 1
                                                                             : scale == 1.0  ? 2
                                                                                             : 3)];
        EXPECT_EQ(model->Status(), st::Valid) << model->name;
        EXPECT_NEAR(model->Result(q::CoolingCapacity), FixtureCapacity(scale, -10, 40), 1e-6)
            << model->name;
    }
    // Outside its envelope: evaluated with an error, never chosen.
    EXPECT_LT(Candidate("KS-09N")->Status(), 0);
    EXPECT_EQ(Selected(), "KS-10");
    EXPECT_EQ(driver->statusText(), "");
    EXPECT_EQ(driver->resolveStatus(), ResolveOk);

    // Show the choice, then fill the list, then the inputs follow the candidates.
    EXPECT_EQ(views.events,
              (std::vector<std::string>{"show KS-10", "list", "status ''", "list", "rebuilt"}));
    const SelectionList& list = driver->list();
    ASSERT_EQ(list.items().size(), 5u);
    ASSERT_GE(list.currentItem(), 0);
    EXPECT_EQ(list.items()[static_cast<std::size_t>(list.currentItem())].model->name, "KS-10");
}

TEST_F(SelectionDriverTest, ARequiredCapacityChangeChoosesAgainAndNeverKeepsAnOldWarning) {
    Start(Standard(10));
    struct Step {
        double capacity;
        std::string chosen;
        ModelStatus status;
        std::string text;
    };
    const Step steps[] = {
        {11.5, "KS-12", st::Valid, ""},
        {13.0, "KS-12", st::BelowRequirement, "Capacity below the requirement"},  // 12 < 12.74
        {7.6, "KS-07", st::Valid, ""},   // 7.5 > 7.448 and closer than 10
        {12.2, "KS-12", st::Valid, ""},  // 12 is above 98 % of 12.2
        {0.0, "KS-05", st::Valid, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.capacity);
        views.events.clear();
        driver->changeRequiredCapacity(step.capacity);
        EXPECT_EQ(Selected(), step.chosen);
        EXPECT_EQ(driver->selectedModel()->Status(), step.status);
        EXPECT_EQ(driver->statusText(), step.text);
        EXPECT_EQ(driver->list().requiredCapacity(), step.capacity);
        // The warning of one requirement is gone with it.
        for (const TCModel* model : driver->candidates())
            if (model != driver->selectedModel()) {
                EXPECT_NE(model->Status(), st::BelowRequirement) << model->name;
            }
        // Evaluate, refresh the list, choose and show.
        ASSERT_GE(views.events.size(), 3u);
        EXPECT_EQ(views.events[0], "list");
        EXPECT_EQ(views.events[1], "show " + step.chosen);
    }
}

TEST_F(SelectionDriverTest, ANewOperatingPointIsResolvedAndEveryCandidateReevaluated) {
    Start(Standard(7.5));
    OperatingConditions point = driver->conditions();
    point.evapTemp = -20;
    driver->applyConditions(point);
    EXPECT_EQ(driver->resolveStatus(), ResolveOk);
    EXPECT_GT(driver->conditions().evapPressure, 0.0);
    EXPECT_NEAR(Candidate("KS-10")->Result(q::CoolingCapacity), FixtureCapacity(1.0, -20, 40),
                1e-6);
    EXPECT_EQ(Selected(), "KS-10");  // 7.7 kW; KS-07 gives 5.8
    EXPECT_TRUE(driver->projectModified());

    // A point the refrigerant cannot have: resolving fails and so does every model; the first
    // candidate is shown with its own error.
    point.evapTemp = 120;
    point.condTemp = 130;
    driver->applyConditions(point);
    EXPECT_LT(driver->resolveStatus(), 0);
    for (const TCModel* model : driver->candidates()) EXPECT_LT(model->Status(), 0) << model->name;
    EXPECT_EQ(Selected(), "KS-05");
    EXPECT_FALSE(driver->statusText().empty());
}

TEST_F(SelectionDriverTest, ManualChoiceRecomputesTheShownModelAndKeepsItsNameAcrossRebuilds) {
    Start(Standard(10, false));
    EXPECT_EQ(Selected(), "KS-05");  // the first candidate
    driver->selectModel(Candidate("KS-12"));
    EXPECT_EQ(Selected(), "KS-12");

    views.events.clear();
    OperatingConditions point = driver->conditions();
    point.condTemp = 45;
    driver->applyConditions(point);
    EXPECT_EQ(Selected(), "KS-12");  // no automatic choice
    EXPECT_EQ(views.events, (std::vector<std::string>{"list", "refresh", "status ''"}));

    // A model that is not a candidate cannot be chosen.
    TCModel stranger;
    driver->selectModel(&stranger);
    EXPECT_EQ(Selected(), "KS-12");

    // Another refrigerant: the model of the same name is kept.
    driver->selectModel(Candidate("KS-10"));
    driver->changeRefrigerant(r404a);
    EXPECT_EQ(CandidateNames(), std::vector<std::string>{"KS-10"});
    ASSERT_NE(driver->selectedModel(), nullptr);
    EXPECT_EQ(driver->selectedModel()->refrigerant, r404a);
    EXPECT_EQ(driver->selectedModel()->Status(), st::Valid);
}

TEST_F(SelectionDriverTest, TheFrequencyRadioAlwaysTakesTheFirstSupplyOfTheFrequency) {
    SelectionDriver::Setup setup = Standard(10);
    setup.supply = store->FindSupply(testing::kSupplySingle50);
    Start(setup);
    EXPECT_EQ(driver->supply()->name, "230V-1-50");
    EXPECT_TRUE(driver->candidates().empty());
    EXPECT_EQ(Selected(), "none");

    driver->changeFrequency(60);
    EXPECT_EQ(driver->supply()->name, "460V-3-60");
    ASSERT_EQ(driver->supplyChoices().size(), 1u);
    EXPECT_EQ(Selected(), "KS-10");
    EXPECT_NEAR(driver->selectedModel()->Result(q::CoolingCapacity), FixtureCapacity(1.2, -10, 40),
                1e-6);

    driver->changeFrequency(50);
    EXPECT_EQ(driver->supply()->name, "400V-3-50");
    EXPECT_EQ(driver->supplyChoices().size(), 2u);

    views.events.clear();
    driver->changeSupply(driver->supply());  // unchanged: ignored
    EXPECT_TRUE(views.events.empty());
    driver->changeSupply(store->FindSupply(testing::kSupplySingle50));
    ASSERT_FALSE(views.events.empty());
    EXPECT_EQ(views.events.front(), "supply");
    EXPECT_TRUE(driver->candidates().empty());
}

TEST_F(SelectionDriverTest, FamilyTicksSwitchBetweenCompressorAndHeatPumpCompressorModes) {
    Start(Standard(10));
    TFamily* scrollRefrigeration = const_cast<TFamily*>(store->FindFamily(2, 'C'));
    TFamily* heatPump = const_cast<TFamily*>(store->FindFamily(5, 'H'));
    ASSERT_TRUE(scrollRefrigeration && heatPump);

    driver->tickFamily(*scrollRefrigeration, true);  // added in the same mode
    EXPECT_EQ(driver->activityMode(), ActivityMode::Compressors);
    EXPECT_EQ(driver->families()[FamilyPage::Compressors].Codes(), (std::vector<int>{1, 2}));
    EXPECT_EQ(driver->candidates().size(), 7u);

    driver->tickFamily(*heatPump, true);
    EXPECT_EQ(driver->activityMode(), ActivityMode::HeatPumpCompressors);
    EXPECT_EQ(driver->families()[FamilyPage::Compressors].Codes(), std::vector<int>{5});
    EXPECT_EQ(CandidateNames(), std::vector<std::string>{"KP-10"});
    const TCModel* pump = driver->selectedModel();
    ASSERT_NE(pump, nullptr);
    // Heating capacity, compared with the requirement, is the capacity plus most of the power.
    EXPECT_GT(pump->Result(q::HeatingCapacity), 13.0);
    EXPECT_LT(pump->Result(q::HeatingCapacity), 14.0 + 1e-9);
    EXPECT_EQ(pump->Status(), st::Valid);

    TFamily* scroll = const_cast<TFamily*>(store->FindFamily(1, 'C'));
    driver->tickFamily(*scroll, true);
    EXPECT_EQ(driver->activityMode(), ActivityMode::Compressors);
    EXPECT_EQ(driver->families()[FamilyPage::Compressors].Codes(), std::vector<int>{1});

    driver->tickFamily(*scroll, false);
    EXPECT_TRUE(driver->candidates().empty());
    EXPECT_EQ(Selected(), "none");
    EXPECT_EQ(driver->list().items().size(), 0u);
}

TEST_F(SelectionDriverTest, TheRangeFilterAppliesWhileItsBoxIsShown) {
    Start(Standard(30));
    TFamily* semiHermetic = const_cast<TFamily*>(store->FindFamily(12, 'C'));
    ASSERT_NE(semiHermetic, nullptr);
    EXPECT_FALSE(driver->rangeBoxVisible());

    driver->tickFamily(*semiHermetic, true);
    EXPECT_TRUE(driver->rangeBoxVisible());
    EXPECT_EQ(Selected(), "KH-30-LT");
    driver->changeRange(kRangeMediumTemperature);
    EXPECT_EQ(CandidateNames(),
              (std::vector<std::string>{"KS-05", "KS-07", "KS-10", "KS-12", "KS-09N", "KH-40-MT"}));
    driver->changeRange(kRangeLowTemperature);
    EXPECT_EQ(CandidateNames().back(), "KH-30-LT");
    driver->changeRange(kRangeBoth);
    EXPECT_EQ(CandidateNames().size(), 7u);
    driver->changeRange(17);  // no such entry: all models
    EXPECT_EQ(driver->rangeFilter(), kRangeAll);

    driver->changeRange(kRangeMediumTemperature);
    driver->tickFamily(*semiHermetic, false);  // the box disappears and forgets its choice
    EXPECT_FALSE(driver->rangeBoxVisible());
    EXPECT_EQ(driver->rangeFilter(), kRangeAll);
}

TEST_F(SelectionDriverTest, LoadStepsAreSolvedForTheRequirementOrSetByHand) {
    SelectionDriver::Setup setup = Standard(12);
    setup.families[FamilyPage::Compressors].Clear();
    setup.families[FamilyPage::Compressors].Add(2);
    Start(setup);
    EXPECT_TRUE(driver->hasLoadControl());
    EXPECT_EQ(CandidateNames(), (std::vector<std::string>{"KR-15", "KR-20-2S"}));
    // 20 kW at full load, 10 kW at the 50 % step: 12 kW at 60 % beats KR-15's 15 kW.
    EXPECT_EQ(Selected(), "KR-20-2S");
    EXPECT_EQ(driver->selectedModel()->Load(), 60);
    EXPECT_NEAR(driver->selectedModel()->Result(q::CoolingCapacity), 12.0, 0.01);

    driver->chooseByHand();  // every candidate at the load setting, 100 %
    EXPECT_EQ(Selected(), "KR-20-2S");
    EXPECT_EQ(driver->selectedModel()->Load(), 100);
    EXPECT_NEAR(driver->selectedModel()->Result(q::CoolingCapacity), 20.0, 0.01);

    driver->changeLoad(50);
    EXPECT_NEAR(driver->selectedModel()->Result(q::CoolingCapacity), 10.0, 0.01);
    EXPECT_EQ(driver->conditions().loadPercent, 50);

    driver->chooseByCapacity();
    EXPECT_EQ(Selected(), "KR-20-2S");
    EXPECT_EQ(driver->selectedModel()->Load(), 60);
}

TEST_F(SelectionDriverTest, EachFamilyPageRemembersItsModel) {
    Start(Standard(10, false));
    driver->selectModel(Candidate("KS-12"));

    driver->changeFamilyPage(FamilyPage::CondensingUnits);
    EXPECT_EQ(driver->activityMode(), ActivityMode::CondensingUnits);
    EXPECT_EQ(CandidateNames(), std::vector<std::string>{"CU-10"});
    EXPECT_EQ(driver->lastModelByPage(FamilyPage::Compressors)->name, "KS-12");

    driver->changeFamilyPage(FamilyPage::Compressors);
    EXPECT_EQ(driver->activityMode(), ActivityMode::Compressors);
    EXPECT_EQ(Selected(), "KS-12");
    EXPECT_EQ(driver->families()[FamilyPage::Compressors].Codes(), std::vector<int>{1});
}

TEST_F(SelectionDriverTest, ListCandidatesComparesRefrigerants) {
    Start(Standard(10));
    std::vector<Trefrigerant*> both = {r134a, r404a};
    std::vector<std::string> names;
    for (const TCModel* model : driver->listCandidates(both)) names.push_back(model->name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"KS-05", "KS-07", "KS-10", "KS-12", "KS-09N", "KS-10"}));

    // The list holds both refrigerants' models, each at the point of its own refrigerant.
    SelectionList& list = driver->list();
    ASSERT_TRUE(list.compareRefrigerants({r404a}, r134a));
    driver->rebuildCandidates();
    ASSERT_EQ(list.items().size(), 6u);
    EXPECT_EQ(list.fixedColumns(),
              (std::vector<FixedColumn>{FixedColumn::Name, FixedColumn::Refrigerant}));
    const ListItem& last = list.items().back();
    EXPECT_EQ(last.refrigerant, r404a);
    EXPECT_EQ(last.status(), st::Valid);
    EXPECT_GT(last.result(q::CoolingCapacity), 0.0);
    // Moving onto another refrigerant's row does not select it in the main window.
    driver->selectModel(Candidate("KS-09N"));  // the last of R134a in load order
    list.sortBy(-list.fixedCount());           // by name: ..., KS-10, KS-10, KS-12
    while (list.hasNext()) {
        TCModel* model = list.moveSelection(true);
        const ListItem& item = list.items()[static_cast<std::size_t>(list.currentItem())];
        EXPECT_EQ(model != nullptr, item.refrigerant == r134a) << item.model->name;
    }

    driver->changeMode(ActivityMode::Compressors);  // a re-layout ends the comparison
    EXPECT_FALSE(list.isComparison());
    EXPECT_EQ(list.items().size(), 5u);
}

TEST_F(SelectionDriverTest, ComparedModelsThatWereNeverCandidatesAreRatedAtTheUsersSettings) {
    SelectionDriver::Setup setup = Standard(10);
    setup.families[FamilyPage::Compressors].Add(2);
    Start(setup);
    SelectionList& list = driver->list();
    ASSERT_TRUE(list.compareRefrigerants({r404a}, r134a));
    driver->rebuildCandidates();
    const ListItem* other = nullptr;
    for (const ListItem& item : list.items())
        if (item.refrigerant == r404a && item.model->name == "KR-20-2S") other = &item;
    ASSERT_NE(other, nullptr);
    // Never a candidate, so never given a load: rated at the load setting, not at none.
    EXPECT_EQ(other->status(), st::Valid);
    EXPECT_EQ(other->model->Load(), 100);
    EXPECT_GT(other->result(q::CoolingCapacity), 0.0);
}

TEST_F(SelectionDriverTest, EachModeSelectsFromItsOwnFamilies) {
    struct Case {
        ActivityMode mode;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {ActivityMode::Compressors, {1, 2, 3, 12}},    {ActivityMode::HeatPumpCompressors, {5}},
        {ActivityMode::CondensingUnits, {1}},          {ActivityMode::ExpansionValves, {1}},
        {ActivityMode::SolenoidValves, {3}},           {ActivityMode::HeadPressureControls, {}},
        {ActivityMode::BrineWaterHeatPumps, {70, 71}},  // the built-in heat-pump families
        {ActivityMode::AirWaterHeatPumps, {72, 73}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToInt(c.mode));
        EXPECT_EQ(familiesOfMode(*store, c.mode).Codes(), c.codes);
    }
}

TEST_F(SelectionDriverTest, FilledQuantitiesFollowWhatEachModelCanDo) {
    SelectionDriver::Setup setup = Standard(10);
    setup.families[FamilyPage::Compressors] = familiesOfMode(*store, ActivityMode::Compressors);
    Start(setup);
    const auto has = [](const std::vector<QuantityCode>& codes, QuantityCode code) {
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    };
    const auto fixed = filledQuantities(*Candidate("KS-10"), ActivityMode::Compressors);
    EXPECT_TRUE(has(fixed, q::CoolingCapacity) && has(fixed, q::SuctionPressure));
    EXPECT_FALSE(has(fixed, q::Speed) || has(fixed, q::Load) || has(fixed, q::CondensingTemp) ||
                 has(fixed, q::RefrigerationCOP) || has(fixed, q::EconomiserCapacity));
    EXPECT_TRUE(has(filledQuantities(*Candidate("KR-20-2S"), ActivityMode::Compressors), q::Load));
    EXPECT_TRUE(has(filledQuantities(*Candidate("KV-10"), ActivityMode::Compressors), q::Speed));
    EXPECT_TRUE(has(filledQuantities(*Candidate("KS-10"), ActivityMode::HeatPumpCompressors),
                    q::RefrigerationCOP));
    EXPECT_EQ(filledQuantities(*store->CondensingUnits().front(), ActivityMode::CondensingUnits),
              (std::vector<QuantityCode>{q::CoolingCapacity, q::PowerInput, q::Current, q::COP,
                                         q::CondensingTemp}));
}

TEST_F(SelectionDriverTest, TheListSortsTechnicalDataColumnsByTheStoresValues) {
    Start(Standard(10));
    SelectionList& list = driver->list();
    list.setColumns({{'P', q::CoolingCapacity}, {'M', 10}});
    list.sortBy(1);
    std::vector<std::string> names;
    for (const int i : list.order())
        names.push_back(list.items()[static_cast<std::size_t>(i)].model->name);
    // Weights 20, 25 and 28 kg; the models without one count as 0.
    EXPECT_EQ(names, (std::vector<std::string>{"KS-07", "KS-09N", "KS-05", "KS-10", "KS-12"}));
    EXPECT_EQ(list.columnTitle(1), store->Headings().front()->caption);
}

TEST_F(SelectionDriverTest, SpeedsFollowEachModelsKindSetByHandOrSolvedForTheRequirement) {
    SelectionDriver::Setup setup = Standard(10, false);
    setup.families[FamilyPage::Compressors].Clear();
    setup.families[FamilyPage::Compressors].Add(3);
    Start(setup);
    ASSERT_EQ(CandidateNames(), (std::vector<std::string>{"KV-10", "KI-10"}));
    EXPECT_TRUE(driver->hasVariableSpeed());
    EXPECT_TRUE(driver->hasInverterSpeed());
    TCModel* variable = Candidate("KV-10");
    TCModel* inverter = Candidate("KI-10");
    // By hand: each at the speed setting of its kind (3000 and 1500 rpm), never at an unset
    // speed nor at the other kind's.
    EXPECT_EQ(variable->Speed(), 3000);
    EXPECT_EQ(inverter->Speed(), 1500);
    EXPECT_EQ(variable->Status(), st::Valid);
    EXPECT_EQ(inverter->Status(), st::Valid);
    EXPECT_EQ(variable->Result(q::Speed), 3000.0);
    const double nominal = variable->Result(q::CoolingCapacity);

    driver->changeSpeed(40, true);  // Hz of the variable-speed models
    EXPECT_EQ(driver->conditions().rpm, 2400);
    EXPECT_EQ(variable->Speed(), 2400);
    EXPECT_EQ(inverter->Speed(), 1500);
    EXPECT_LT(variable->Result(q::CoolingCapacity), nominal);
    driver->changeSpeed(4500, false);
    EXPECT_EQ(variable->Speed(), 4500);
    EXPECT_GT(variable->Result(q::CoolingCapacity), nominal);
    EXPECT_EQ(inverter->Status(), st::Valid);

    // Automatic: the smallest speed on a 60 rpm grid that still gives the requirement; the
    // inverter stays at its setting.
    driver->changeRequiredCapacity(nominal * 1.2);
    driver->chooseByCapacity();
    const std::int32_t solved = variable->Speed();
    EXPECT_EQ(solved % 60, 0);
    EXPECT_GT(solved, 3000);
    EXPECT_GE(variable->Result(q::CoolingCapacity), nominal * 1.2);
    EXPECT_EQ(inverter->Speed(), 1500);
    EXPECT_EQ(inverter->Status(), st::Valid);
    variable->SetSpeed(solved - 60);
    variable->Evaluate(driver->conditions(), ActivityMode::Compressors);
    EXPECT_LT(variable->Result(q::CoolingCapacity), nominal * 1.2);

    // A rebuild under automatic choice solves again and keeps the inverter's setting.
    driver->rebuildCandidates();
    EXPECT_EQ(variable->Speed(), solved);
    EXPECT_EQ(inverter->Speed(), 1500);
}

}  // namespace
}  // namespace kelvra
