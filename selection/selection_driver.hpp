#pragma once

// The selection driver: the state and the fixed chains of the main window without its widgets.
//
// It holds what is being selected (mode, refrigerant, supply, ticked families, application
// range), the operating point, the candidate models and the model shown, and runs the chains
// that every input ends in: read the conditions -> resolve -> evaluate the candidates ->
// recompute the selection list -> choose the model -> show it. A window owns one driver, wires
// its controls to the operations below and paints what the driver tells its SelectionViews;
// kelvra-cli drives the same class without any view.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "activity_mode.hpp"
#include "candidates.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"
#include "selection_list.hpp"
#include "status_text.hpp"
#include "units.hpp"

namespace kelvra {

class SelectionDriver;
class TdataStore;
class TFamily;
class TSupply;
class Trefrigerant;

// What a window repaints when the driver asks; every call is optional.
class SelectionViews {
  public:
    virtual ~SelectionViews() = default;
    // The candidates and capability flags are new: model box, speed and load inputs, radios,
    // range box.
    virtual void candidatesRebuilt(const SelectionDriver& /*driver*/) {}
    // The selected model (or none) is to be shown: title, menus, tools, envelope, summary,
    // technical data, accessories, motor codes, report texts, performance table.
    virtual void showSelectedModel(const SelectionDriver& /*driver*/) {}
    // Manual choice, new operating point: the shown model's envelope point, grids and table.
    virtual void refreshSelectedModel(const SelectionDriver& /*driver*/) {}
    // The selection list has new contents, snapshots, order or mark.
    virtual void listChanged(const SelectionList& /*list*/) {}
    // Networking condensing units: the network panel follows the new point (or is cleared when
    // there are no candidates).
    virtual void refreshNetworkPanel(const SelectionDriver& /*driver*/) {}
    // The status panel.
    virtual void showStatus(const StatusPanelText& /*text*/) {}
    // The supply changed: cached table values are stale.
    virtual void supplyChanged(const SelectionDriver& /*driver*/) {}
    // The refrigerant is carbon dioxide and the inputs follow a (non-)transcritical point.
    virtual void refreshConditionInputs(const SelectionDriver& /*driver*/) {}
};

class SelectionDriver {
  public:
    // Step of the speed search when a speed is solved for the required capacity (rpm).
    static constexpr std::int32_t kSpeedSolveStep = 60;

    // The store must outlive the driver.
    explicit SelectionDriver(const TdataStore& store, SelectionViews* views = nullptr);

    void setViews(SelectionViews* views) { views_ = views; }

    // --- set-up, without any recomputation (start-up, settings and project files) ---

    struct Setup {
        ActivityMode mode = ActivityMode::Compressors;
        UnitSystem unitSystem = UnitSystem::SI;
        OperatingConditions conditions;
        Trefrigerant* refrigerant = nullptr;
        const TSupply* supply = nullptr;  // none: the first 50 Hz supply
        FamilySets families;
        bool autoSelect = true;
        int rangeFilter = kRangeAll;
    };
    void setUp(const Setup& setup);

    // Resolves the conditions and rebuilds the candidates for the current mode: what the window
    // runs at its first showing and after a mode change.
    void layoutForMode();

    // --- the chains ---

    // The supplies of the chosen frequency become the choice; the one with `keepNumber` is
    // kept, else the first; then, with `rebuild`, the candidates are rebuilt.
    void rebuildSupplyBox(std::int32_t keepNumber, bool rebuild = true);
    void rebuildCandidates();
    // Lets go of every user heat pump before the store replaces or deletes them: the selected
    // model and the remembered models of the family pages when they are heat pumps, and in the
    // heat-pump modes the candidates and the selection list. rebuildCandidates afterwards.
    void releaseHeatPumps();
    void evaluateCandidates();
    void autoSelectModel();
    void showSelectedModel();
    void recompute();
    // Resolve and recompute, after any change of the operating point.
    void readConditions();
    // The status panel for a status (also handed to the views).
    StatusPanelText showModelStatus(ModelStatus code);
    // The candidate filter for a list of refrigerants.
    std::vector<TCModel*> listCandidates(std::span<Trefrigerant* const> refrigerants) const;

    // --- reactions to inputs ---

    void changeRefrigerant(Trefrigerant* refrigerant);
    // The 50 Hz / 60 Hz choice: the first supply of the frequency.
    void changeFrequency(int hertz);
    void changeSupply(const TSupply* supply);
    void changeRange(int index);
    // Ticks or unticks a family of any page (a custom family keeps its own flag).
    void tickFamily(TFamily& family, bool ticked);
    // Another family page is shown.
    void changeFamilyPage(FamilyPage page);
    void changeMode(ActivityMode mode);
    // The capacity radio (automatic choice) and the manual radio.
    void chooseByCapacity();
    void chooseByHand();
    // A model picked by hand (model box, selection list).
    void selectModel(TCModel* model);
    // The required capacity (kW), or in solenoid-valve mode the required pressure difference
    // (bar), in internal units.
    void changeRequiredCapacity(double value);
    // The speed input: the speed of the variable-speed models, or without any of them of the
    // inverter-driven ones; `hertz` tells whether the value is in Hz (x 60 for variable speed,
    // x 30 for inverter speed) or in rpm.
    void changeSpeed(double value, bool hertz);
    void changeLoad(std::int32_t percent);
    // Takes a whole new operating point (standard points, tools, project files) and reads it.
    void applyConditions(const OperatingConditions& conditions);
    void changeUnits(UnitSystem unitSystem);
    // While the performance-table tab is shown the status panel stays clear.
    void setTableTabActive(bool active) { tableTabActive_ = active; }

    // --- state ---
    const TdataStore& store() const { return store_; }
    ActivityMode activityMode() const { return activityMode_; }
    UnitSystem unitSystem() const { return unitSystem_; }
    const OperatingConditions& conditions() const { return conditions_; }
    Trefrigerant* refrigerant() const { return refrigerant_; }
    const TSupply* supply() const { return supply_; }
    int frequency() const { return frequency_; }
    // The supplies offered for the current frequency.
    const std::vector<const TSupply*>& supplyChoices() const { return supplyChoices_; }
    const std::vector<TCModel*>& candidates() const { return candidates_; }
    TCModel* selectedModel() const { return selectedModel_; }
    bool autoSelect() const { return autoSelect_; }
    int rangeFilter() const { return rangeFilter_; }
    // The range box is shown in condensing-unit mode, and in compressor mode while a
    // semi-hermetic air-conditioning family is ticked.
    bool rangeBoxVisible() const;
    const FamilySets& families() const { return families_; }
    TCModel* lastModelByPage(FamilyPage page) const {
        return lastModelByPage_[static_cast<std::size_t>(page)];
    }
    const FamilySelection& savedCompressorFamilies() const { return savedCompressorFamilies_; }
    bool hasVariableSpeed() const { return hasVariableSpeed_; }
    bool hasInverterSpeed() const { return hasInverterSpeed_; }
    bool hasLoadControl() const { return hasLoadControl_; }
    bool hasNetworkFamilies() const { return hasNetworkFamilies_; }
    bool anyVapourInjection() const { return anyVapourInjection_; }
    // The status of the last resolving of the conditions (ResolveOk or negative).
    std::int32_t resolveStatus() const { return resolveStatus_; }
    // The point is transcritical: compressor mode, carbon dioxide, above its critical point.
    bool isTranscritical() const;
    // The status panel as it stands.
    const std::string& statusText() const { return statusText_; }
    bool projectModified() const { return projectModified_; }
    void setProjectModified(bool modified) { projectModified_ = modified; }

    SelectionList& list() { return list_; }
    const SelectionList& list() const { return list_; }

  private:
    CandidateFilter candidateFilter() const;
    void solveSpeeds();
    void solveLoads();
    // Every variable-speed candidate to `rpm`, every inverter-driven one to `inverterRpm` of the
    // conditions; fixed-speed models have no speed to set.
    void applySpeedSettings();
    void setCandidateLoads(std::int32_t percent);
    void updateRangeFilter();
    void updateNetworkFlag();

    const TdataStore& store_;
    SelectionViews* views_;
    SelectionList list_;

    ActivityMode activityMode_ = ActivityMode::Compressors;
    UnitSystem unitSystem_ = UnitSystem::SI;
    OperatingConditions conditions_;
    Trefrigerant* refrigerant_ = nullptr;
    const TSupply* supply_ = nullptr;
    int frequency_ = 50;
    std::vector<const TSupply*> supplyChoices_;
    std::vector<TCModel*> candidates_;
    TCModel* selectedModel_ = nullptr;
    bool autoSelect_ = true;
    int rangeFilter_ = kRangeAll;
    FamilySets families_;
    std::array<TCModel*, kFamilyPageCount> lastModelByPage_{};
    FamilySelection savedCompressorFamilies_;
    bool hasVariableSpeed_ = false;
    bool hasInverterSpeed_ = false;
    bool hasLoadControl_ = false;
    bool hasNetworkFamilies_ = false;
    bool anyVapourInjection_ = false;
    std::int32_t resolveStatus_ = ResolveOk;
    std::string statusText_;
    bool tableTabActive_ = false;
    bool projectModified_ = false;
};

}  // namespace kelvra
