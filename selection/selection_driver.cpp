#include "selection_driver.hpp"

#include <algorithm>
#include <cmath>

#include "auto_select.hpp"
#include "data_store.hpp"
#include "product_records.hpp"
#include "refrigerant.hpp"
#include "valve.hpp"

namespace kelvra {

namespace {

constexpr int kSemiHermeticAirConditioning = 11;  // category of the range box's families
constexpr int kBrineWaterCategory = 1;
constexpr int kAirWaterCategory = 11;

int roundedCategory(const TFamily& family) {
    return static_cast<int>(std::lround(family.category));
}

FamilyPage pageOfKind(char kind) {
    switch (kind) {
        case TFamily::kCondensingUnit:
            return FamilyPage::CondensingUnits;
        case TFamily::kControls:
            return FamilyPage::Orda;
        case TFamily::kHeatPump:
            return FamilyPage::HeatPumps;
        default:
            return FamilyPage::Compressors;
    }
}

}  // namespace

SelectionDriver::SelectionDriver(const TdataStore& store, SelectionViews* views)
    : store_(store), views_(views), list_(&store) {
    list_.listCandidates = [this](std::span<Trefrigerant* const> refrigerants) {
        return listCandidates(refrigerants);
    };
    // The controls' load-ratio column: the requirement over the valve's capacity at the point.
    list_.loadRatio = [](const TCModel& model, double requiredCapacity) {
        const auto* valve = dynamic_cast<const Tvalve*>(&model);
        return valve != nullptr ? valve->LoadRatio(requiredCapacity) : 0.0;
    };
}

void SelectionDriver::setUp(const Setup& setup) {
    activityMode_ = setup.mode;
    unitSystem_ = setup.unitSystem;
    conditions_ = setup.conditions;
    refrigerant_ = setup.refrigerant;
    families_ = setup.families;
    autoSelect_ = setup.autoSelect;
    rangeFilter_ = isRangeIndex(setup.rangeFilter) ? setup.rangeFilter : kRangeAll;
    list_.setUnits(unitSystem_);
    list_.setRequiredCapacity(conditions_.capacity);
    list_.compareRefrigerants({}, refrigerant_);
    candidates_.clear();
    selectedModel_ = nullptr;
    lastModelByPage_.fill(nullptr);
    savedCompressorFamilies_ = families_[FamilyPage::Compressors];
    frequency_ = setup.supply != nullptr && setup.supply->frequency == 60 ? 60 : 50;
    rebuildSupplyBox(setup.supply != nullptr ? setup.supply->id : 0, false);
    updateNetworkFlag();
    updateRangeFilter();
}

void SelectionDriver::layoutForMode() {
    resolveStatus_ = Resolve(conditions_, refrigerant_);
    if (refrigerant_ != nullptr && refrigerant_->isCO2 && views_ != nullptr)
        views_->refreshConditionInputs(*this);
    updateRangeFilter();
    list_.clearComparison();
    rebuildCandidates();
}

// --- chains ---

void SelectionDriver::rebuildSupplyBox(std::int32_t keepNumber, bool rebuild) {
    supplyChoices_.clear();
    const TSupply* kept = nullptr;
    for (const auto& supply : store_.Supplies()) {
        if ((supply->frequency == 60) != (frequency_ == 60)) continue;
        supplyChoices_.push_back(supply.get());
        if (kept == nullptr && supply->id == keepNumber) kept = supply.get();
    }
    if (kept == nullptr && !supplyChoices_.empty()) kept = supplyChoices_.front();
    supply_ = kept;
    if (rebuild) rebuildCandidates();
}

CandidateFilter SelectionDriver::candidateFilter() const {
    CandidateFilter filter;
    filter.refrigerantCode = refrigerant_ != nullptr ? refrigerant_->id : 0;
    filter.network = hasNetworkFamilies_ && activityMode_ == ActivityMode::CondensingUnits;
    filter.supplyCode = supply_ != nullptr ? supply_->id : 0;
    filter.families = families_.forMode(activityMode_);
    filter.rangeIndex = rangeFilter_;
    filter.mode = activityMode_;
    return filter;
}

void SelectionDriver::releaseHeatPumps() {
    const auto isHeatPump = [](const TCModel* model) {
        return model != nullptr && model->classLetter == 'P';
    };
    if (isHeatPump(selectedModel_)) selectedModel_ = nullptr;
    for (TCModel*& model : lastModelByPage_)
        if (isHeatPump(model)) model = nullptr;
    if (!IsHeatPumpMode(activityMode_)) return;
    candidates_.clear();
    selectedModel_ = nullptr;
    list_.fillList(candidates_, nullptr, rangeFilter_, activityMode_, unitSystem_, conditions_);
    if (views_ != nullptr) {
        views_->candidatesRebuilt(*this);
        views_->listChanged(list_);
        views_->showSelectedModel(*this);
    }
}

void SelectionDriver::rebuildCandidates() {
    // 1. Remember the model shown; clear the choice and the capability flags.
    TCModel* remembered = selectedModel_;
    selectedModel_ = nullptr;
    hasVariableSpeed_ = hasInverterSpeed_ = hasLoadControl_ = anyVapourInjection_ = false;
    updateNetworkFlag();

    // 2. The candidates of the current filters.
    candidates_.clear();
    if (refrigerant_ != nullptr) candidates_ = selectCandidates(store_, candidateFilter());

    // 3. Keep the remembered model (the same one, else the first of its name) and note what the
    // candidates can do.
    const ActivityMode m = activityMode_;
    const bool heatingModes = m == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(m);
    for (TCModel* model : candidates_) {
        if (remembered != nullptr &&
            (model == remembered || (selectedModel_ == nullptr && model->name == remembered->name)))
            selectedModel_ = model;
        // Variable speed counts in compressor mode too: a model whose speed is never set would
        // be rated at standstill.
        if ((m == ActivityMode::Compressors || heatingModes) && model->IsVariableSpeed())
            hasVariableSpeed_ = true;
        if ((m == ActivityMode::Compressors || heatingModes) && model->HasLoadControl())
            hasLoadControl_ = true;
        if (m == ActivityMode::Compressors && model->IsInverterDriven()) hasInverterSpeed_ = true;
        if (m == ActivityMode::Compressors && model->HasVapourInjection())
            anyVapourInjection_ = true;
    }

    // 6. Speeds and loads: solved for the requirement, or the user's settings.
    if (autoSelect_) {
        for (TCModel* model : candidates_) {
            try {
                if (model->IsVariableSpeed())
                    model->SolveSpeed(conditions_, activityMode_, kSpeedSolveStep);
                if (model->HasLoadControl()) model->SolveLoad(conditions_, activityMode_);
            } catch (...) {
                // The evaluation below gives the model its status.
            }
        }
        // Inverter-driven models run at the inverter setting; the speeds just solved stay.
        for (TCModel* model : candidates_)
            if (model->IsInverterDriven() && !model->IsVariableSpeed())
                model->SetSpeed(conditions_.inverterRpm);
    } else {
        applySpeedSettings();
        if (hasLoadControl_) setCandidateLoads(conditions_.loadPercent);
    }

    // 7./8. Evaluate and choose.
    if (candidates_.empty()) {
        selectedModel_ = nullptr;
        if (views_ != nullptr && hasNetworkFamilies_) views_->refreshNetworkPanel(*this);
        showSelectedModel();
    } else {
        evaluateCandidates();
        if (autoSelect_) {
            autoSelectModel();
        } else {
            if (selectedModel_ == nullptr) selectedModel_ = candidates_.front();
            showSelectedModel();
        }
    }

    // 9. The selection list.
    list_.fillList(candidates_, selectedModel_, rangeFilter_, activityMode_, unitSystem_,
                   conditions_);
    if (views_ != nullptr) {
        views_->listChanged(list_);
        // 4., 5., 10. Inputs that follow the candidates.
        views_->candidatesRebuilt(*this);
    }
}

void SelectionDriver::evaluateCandidates() {
    kelvra::evaluateCandidates(candidates_, conditions_, activityMode_);
}

void SelectionDriver::autoSelectModel() {
    selectedModel_ = kelvra::autoSelectModel(candidates_, activityMode_, conditions_);
    showSelectedModel();
}

void SelectionDriver::showSelectedModel() {
    list_.markModel(selectedModel_);
    if (views_ != nullptr) {
        views_->showSelectedModel(*this);
        views_->listChanged(list_);
    }
    const bool shown = selectedModel_ != nullptr && !tableTabActive_;
    showModelStatus(shown ? selectedModel_->Status() : model_status::Valid);
    projectModified_ = true;
}

void SelectionDriver::recompute() {
    evaluateCandidates();
    list_.recomputeList(conditions_);
    if (views_ != nullptr) views_->listChanged(list_);
    if (views_ != nullptr && activityMode_ == ActivityMode::CondensingUnits && hasNetworkFamilies_)
        views_->refreshNetworkPanel(*this);
    if (autoSelect_) {
        autoSelectModel();
    } else if (selectedModel_ != nullptr) {
        if (views_ != nullptr) views_->refreshSelectedModel(*this);
        showModelStatus(tableTabActive_ ? model_status::Valid : selectedModel_->Status());
    }
}

void SelectionDriver::readConditions() {
    resolveStatus_ = Resolve(conditions_, refrigerant_);
    if (refrigerant_ != nullptr && refrigerant_->isCO2 && views_ != nullptr)
        views_->refreshConditionInputs(*this);
    if (autoSelect_) {
        if (hasVariableSpeed_) solveSpeeds();
        if (hasLoadControl_) solveLoads();
    }
    recompute();
    projectModified_ = true;
}

StatusPanelText SelectionDriver::showModelStatus(ModelStatus code) {
    StatusPanelText panel = kelvra::showModelStatus(code, activityMode_, autoSelect_);
    switch (panel.action) {
        case StatusPanelText::Action::Clear:
            statusText_.clear();
            break;
        case StatusPanelText::Action::Show:
            statusText_ = panel.text;
            break;
        case StatusPanelText::Action::Keep:
            break;
    }
    if (views_ != nullptr) views_->showStatus(panel);
    return panel;
}

std::vector<TCModel*> SelectionDriver::listCandidates(
    std::span<Trefrigerant* const> refrigerants) const {
    std::vector<const Trefrigerant*> list(refrigerants.begin(), refrigerants.end());
    const bool network = hasNetworkFamilies_ && activityMode_ == ActivityMode::CondensingUnits;
    return kelvra::listCandidates(store_, list, network, supply_, families_.forMode(activityMode_),
                                  rangeFilter_, activityMode_);
}

// --- reactions to inputs ---

void SelectionDriver::changeRefrigerant(Trefrigerant* refrigerant) {
    if (refrigerant == nullptr || refrigerant == refrigerant_) return;
    refrigerant_ = refrigerant;
    // The old candidates are of the old refrigerant: resolve for the new one and evaluate only
    // its own candidates, below.
    resolveStatus_ = Resolve(conditions_, refrigerant_);
    if (views_ != nullptr) views_->refreshConditionInputs(*this);
    projectModified_ = true;
    list_.compareRefrigerants({}, refrigerant_);
    rebuildCandidates();
}

void SelectionDriver::changeFrequency(int hertz) {
    frequency_ = hertz == 60 ? 60 : 50;
    rebuildSupplyBox(0);
}

void SelectionDriver::changeSupply(const TSupply* supply) {
    if (supply == nullptr || supply == supply_) return;
    supply_ = supply;
    if (views_ != nullptr) views_->supplyChanged(*this);
    rebuildCandidates();
}

void SelectionDriver::changeRange(int index) {
    rangeFilter_ = isRangeIndex(index) ? index : kRangeAll;
    rebuildCandidates();
}

bool SelectionDriver::rangeBoxVisible() const {
    if (activityMode_ == ActivityMode::CondensingUnits) return true;
    if (activityMode_ != ActivityMode::Compressors) return false;
    const FamilySelection& set = families_[FamilyPage::Compressors];
    for (const auto& family : store_.Families()) {
        if ((family->kind == TFamily::kCompressor ||
             family->kind == TFamily::kHeatPumpCompressor) &&
            roundedCategory(*family) == kSemiHermeticAirConditioning && set.Contains(family->code))
            return true;
    }
    for (const auto& family : store_.CustomFamilies()) {
        if (family->selected && family->kind == TFamily::kCompressor &&
            roundedCategory(*family) == kSemiHermeticAirConditioning)
            return true;
    }
    return false;
}

void SelectionDriver::updateRangeFilter() {
    if (!rangeBoxVisible()) rangeFilter_ = kRangeAll;
}

void SelectionDriver::updateNetworkFlag() {
    hasNetworkFamilies_ = false;
    for (const int code : families_[FamilyPage::CondensingUnits].Codes())
        if (TdataStore::IsNetworkFamily(code)) hasNetworkFamilies_ = true;
}

void SelectionDriver::tickFamily(TFamily& family, bool ticked) {
    auto* custom = dynamic_cast<TcustFam*>(&family);
    const FamilyPage page = pageOfKind(family.kind);
    FamilySelection& set = families_[page];
    // Ticks the family alone: the page's set holds only it and no custom family stays ticked.
    const auto only = [&]() {
        set.Clear();
        for (const auto& other : store_.CustomFamilies())
            if (pageOfKind(other->kind) == page) other->selected = false;
        if (custom != nullptr)
            custom->selected = true;
        else
            set.Add(family.code);
    };
    const auto addOrRemove = [&]() {
        if (custom != nullptr)
            custom->selected = ticked;
        else if (ticked)
            set.Add(family.code);
        else
            set.Remove(family.code);
    };
    const auto switchTo = [&](ActivityMode mode) {
        only();
        activityMode_ = mode;
        layoutForMode();
    };

    switch (page) {
        case FamilyPage::Compressors: {
            const bool heatPump = family.kind == TFamily::kHeatPumpCompressor;
            if (ticked && heatPump && activityMode_ != ActivityMode::HeatPumpCompressors)
                return switchTo(ActivityMode::HeatPumpCompressors);
            if (ticked && !heatPump && activityMode_ != ActivityMode::Compressors)
                return switchTo(ActivityMode::Compressors);
            addOrRemove();
            updateRangeFilter();
            return rebuildCandidates();
        }
        case FamilyPage::CondensingUnits:
            addOrRemove();
            updateNetworkFlag();
            return rebuildCandidates();
        case FamilyPage::Orda: {
            const int section = roundedCategory(family) - 1;
            const ActivityMode m = activityMode_;
            if (ticked) {
                if (section == 2 && m != ActivityMode::SolenoidValves)
                    return switchTo(ActivityMode::SolenoidValves);
                if ((section == 4 || section == 5) && m != ActivityMode::HeadPressureControls)
                    return switchTo(ActivityMode::HeadPressureControls);
                if ((section == 3 || section == 6) && m != ActivityMode::FilterDriers)
                    return switchTo(ActivityMode::FilterDriers);
                if (section <= 1 && m != ActivityMode::ExpansionValves)
                    return switchTo(ActivityMode::ExpansionValves);
            }
            addOrRemove();
            return rebuildCandidates();
        }
        case FamilyPage::HeatPumps: {
            const ActivityMode own = roundedCategory(family) == kAirWaterCategory
                                         ? ActivityMode::AirWaterHeatPumps
                                         : ActivityMode::BrineWaterHeatPumps;
            if (ticked && activityMode_ != own) return switchTo(own);
            addOrRemove();
            return rebuildCandidates();
        }
    }
}

void SelectionDriver::changeFamilyPage(FamilyPage page) {
    const FamilyPage leaving = familyPageFor(activityMode_);
    if (page == leaving) return;
    lastModelByPage_[static_cast<std::size_t>(leaving)] = selectedModel_;
    if (leaving == FamilyPage::Compressors)
        savedCompressorFamilies_ = families_[FamilyPage::Compressors];

    // Whether a family of the page's kind and category is ticked.
    const auto ticked = [this](FamilyPage p, char kind, int category) {
        const FamilySelection& set = families_[p];
        for (const auto& family : store_.Families())
            if (family->kind == kind && roundedCategory(*family) == category &&
                set.Contains(family->code))
                return true;
        for (const auto& family : store_.CustomFamilies())
            if (family->selected && family->kind == kind && roundedCategory(*family) == category)
                return true;
        return false;
    };

    ActivityMode mode = ActivityMode::Compressors;
    switch (page) {
        case FamilyPage::Compressors: {
            families_[FamilyPage::Compressors] = savedCompressorFamilies_;
            bool heatPump = false;
            for (const auto& family : store_.Families())
                if (family->kind == TFamily::kHeatPumpCompressor &&
                    families_[FamilyPage::Compressors].Contains(family->code))
                    heatPump = true;
            mode = heatPump ? ActivityMode::HeatPumpCompressors : ActivityMode::Compressors;
            break;
        }
        case FamilyPage::CondensingUnits:
            mode = ActivityMode::CondensingUnits;
            break;
        case FamilyPage::Orda: {
            const auto orda = [&](int category) {
                return ticked(FamilyPage::Orda, TFamily::kControls, category);
            };
            mode = ActivityMode::ExpansionValves;
            if (orda(3))
                mode = ActivityMode::SolenoidValves;
            else if (orda(5))
                mode = ActivityMode::HeadPressureControls;
            else if (orda(7) || orda(4))
                mode = ActivityMode::FilterDriers;
            else if (orda(6))
                mode = ActivityMode::HeadPressureControls;
            break;
        }
        case FamilyPage::HeatPumps:
            mode = ticked(FamilyPage::HeatPumps, TFamily::kHeatPump, kAirWaterCategory)
                       ? ActivityMode::AirWaterHeatPumps
                       : ActivityMode::BrineWaterHeatPumps;
            break;
    }
    activityMode_ = mode;
    selectedModel_ = lastModelByPage_[static_cast<std::size_t>(page)];
    layoutForMode();
}

void SelectionDriver::changeMode(ActivityMode mode) {
    if (!IsActivityMode(ToInt(mode))) return;
    activityMode_ = mode;
    layoutForMode();
}

void SelectionDriver::chooseByCapacity() {
    autoSelect_ = true;
    if (hasVariableSpeed_ || hasLoadControl_) {
        if (hasVariableSpeed_) solveSpeeds();
        if (hasLoadControl_) solveLoads();
        recompute();  // ends in the automatic choice
    } else {
        autoSelectModel();
    }
}

void SelectionDriver::chooseByHand() {
    autoSelect_ = false;
    if (hasVariableSpeed_) applySpeedSettings();
    if (hasLoadControl_) setCandidateLoads(conditions_.loadPercent);
    if (hasVariableSpeed_ || hasLoadControl_) recompute();
    showModelStatus(selectedModel_ != nullptr ? selectedModel_->Status() : model_status::Valid);
}

void SelectionDriver::selectModel(TCModel* model) {
    if (model != nullptr &&
        std::find(candidates_.begin(), candidates_.end(), model) == candidates_.end())
        return;
    selectedModel_ = model;
    showSelectedModel();
}

void SelectionDriver::changeRequiredCapacity(double value) {
    if (!std::isfinite(value)) return;
    if (activityMode_ == ActivityMode::SolenoidValves)
        conditions_.ordaDiffPressure = static_cast<float>(value);
    else
        conditions_.capacity = value;
    projectModified_ = true;
    list_.setRequiredCapacity(conditions_.capacity);
    if (!autoSelect_) return;
    if (hasVariableSpeed_) solveSpeeds();
    if (hasLoadControl_) solveLoads();
    // Re-evaluated even without speeds or loads to solve: a capacity warning (status 7) left on
    // a model by the last choice must not outlive the requirement it was given for.
    recompute();
}

void SelectionDriver::changeSpeed(double value, bool hertz) {
    if (!std::isfinite(value) || value <= 0) return;
    const bool inverter = !hasVariableSpeed_ && hasInverterSpeed_;
    const double rpm = hertz ? value * (inverter ? 30.0 : 60.0) : value;
    if (!(rpm < 1e6)) return;
    const auto speed = static_cast<std::int32_t>(std::lround(rpm));
    if (inverter)
        conditions_.inverterRpm = speed;
    else
        conditions_.rpm = speed;
    applySpeedSettings();
    recompute();
}

void SelectionDriver::changeLoad(std::int32_t percent) {
    conditions_.loadPercent = percent;
    setCandidateLoads(percent);
    recompute();
}

void SelectionDriver::applyConditions(const OperatingConditions& conditions) {
    conditions_ = conditions;
    readConditions();
}

void SelectionDriver::changeUnits(UnitSystem unitSystem) {
    unitSystem_ = unitSystem;
    list_.setUnits(unitSystem);
    showSelectedModel();
}

bool SelectionDriver::isTranscritical() const {
    return activityMode_ == ActivityMode::Compressors && refrigerant_ != nullptr &&
           refrigerant_->isCO2 &&
           (conditions_.condPressure > refrigerant_->criticalPressure ||
            conditions_.condTemp > refrigerant_->criticalTemperature);
}

// --- speeds and loads ---

void SelectionDriver::solveSpeeds() {
    for (TCModel* model : candidates_) {
        if (!model->IsVariableSpeed()) continue;
        try {
            model->SolveSpeed(conditions_, activityMode_, kSpeedSolveStep);
        } catch (...) {
            // The next evaluation gives the model its status.
        }
    }
}

void SelectionDriver::solveLoads() {
    for (TCModel* model : candidates_) {
        if (!model->HasLoadControl()) continue;
        try {
            model->SolveLoad(conditions_, activityMode_);
        } catch (...) {
            // The next evaluation gives the model its status.
        }
    }
}

void SelectionDriver::applySpeedSettings() {
    // One speed cannot fit both kinds: a variable-speed model at an inverter's 1500 rpm (or an
    // inverter at a scroll's 3000 rpm) would be rated outside its envelope.
    for (TCModel* model : candidates_) {
        if (model->IsVariableSpeed())
            model->SetSpeed(conditions_.rpm);
        else if (model->IsInverterDriven())
            model->SetSpeed(conditions_.inverterRpm);
    }
}

void SelectionDriver::setCandidateLoads(std::int32_t percent) {
    for (TCModel* model : candidates_) model->SetLoad(percent);
}

}  // namespace kelvra
