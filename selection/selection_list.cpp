#include "selection_list.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "data_store.hpp"
#include "heat_pump.hpp"
#include "language_texts.hpp"
#include "quantity_heading.hpp"
#include "refrigerant.hpp"
#include "unit.hpp"
#include "valve.hpp"

namespace kelvra {

namespace {

bool isControlsMode(ActivityMode mode) {
    const auto m = ToInt(mode);
    return m >= ToInt(ActivityMode::ExpansionValves) && m <= ToInt(ActivityMode::FilterDriers);
}

bool hasSecondColumn(ActivityMode mode) {
    return mode == ActivityMode::CondensingUnits || mode == ActivityMode::ExpansionValves ||
           IsHeatPumpMode(mode);
}

// Case-insensitive "a before b" of two names.
bool nameBefore(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The text of the second fixed column of a model.
std::string secondText(const TCModel& model, ActivityMode mode) {
    if (mode == ActivityMode::CondensingUnits) {
        if (const auto* unit = dynamic_cast<const Tunit*>(&model)) return unit->compressorName;
        return {};
    }
    if (isControlsMode(mode)) {
        if (const auto* valve = dynamic_cast<const Tvalve*>(&model)) return valve->secondName;
        return {};
    }
    return model.name;  // heat pumps sort this column by model name
}

// A model of another refrigerant may never have been a candidate: one whose speed or load was
// never set would be rated at standstill or at no load step. It takes the user's settings.
void GiveSettings(TCModel& model, const OperatingConditions& conditions) {
    if (model.HasLoadControl() && model.Load() == 0) model.SetLoad(conditions.loadPercent);
    if (model.Speed() == 0) {
        if (model.IsVariableSpeed())
            model.SetSpeed(conditions.rpm);
        else if (model.IsInverterDriven())
            model.SetSpeed(conditions.inverterRpm);
    }
}

std::string refrigerantName(const ListItem& item) {
    return item.refrigerant != nullptr ? item.refrigerant->DisplayName() : std::string();
}

// Quantity codes a performance column may show.
bool isListableQuantity(int code) {
    return (code >= quantity::CoolingCapacity && code <= quantity::Load &&
            code != quantity::SeasonalEfficiency) ||
           (code >= quantity::IntermediatePressure && code <= quantity::LiquidTempEconomiserOutlet);
}

bool isTechnical(const ListColumn& column) { return column.kind == 'M' || column.kind == 'E'; }

bool vapourInjectionModes(ActivityMode mode) {
    return mode == ActivityMode::Compressors || mode == ActivityMode::HeatPumpCompressors;
}

std::string withoutAmpersands(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

}  // namespace

SelectionList::SelectionList(const TdataStore* store)
    : store_(store),
      columns_(defaultColumns(ActivityMode::Compressors)),
      sortColumn_(defaultSortColumn(ActivityMode::Compressors)) {}

std::vector<ListColumn> SelectionList::defaultColumns(ActivityMode mode) {
    const bool heating = mode == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(mode);
    const bool controls = isControlsMode(mode);
    std::vector<ListColumn> columns{
        {'P', mode == ActivityMode::SolenoidValves ? quantity::PressureDifference
              : heating                            ? quantity::HeatingCapacity
                                                   : quantity::CoolingCapacity},
        {'P', controls && mode != ActivityMode::SolenoidValves ? quantity::LoadRatio
                                                               : quantity::PowerInput},
        {'P', quantity::COP},
        {'P', quantity::Current},
        {'P', quantity::MassFlow},
        {'P', quantity::Displacement},
    };
    if (mode == ActivityMode::SolenoidValves) {
        columns.resize(2);
    } else if (controls) {
        columns.resize(3);
    }
    if (controls) {
        // The last column shows the controls' first technical field.
        columns.back() = ListColumn{'M', 1};
    }
    return columns;
}

int SelectionList::defaultSortColumn(ActivityMode mode) {
    return ToInt(mode) <= ToInt(ActivityMode::HeatPumpCompressors) ? 5 : 0;
}

void SelectionList::setRequiredCapacity(double value) {
    requiredCapacity_ = value;
}

void SelectionList::fillList(std::span<TCModel* const> candidates, const TCModel* selected,
                             int rangeIndex, ActivityMode mode, UnitSystem unitSystem,
                             const OperatingConditions& conditions) {
    const bool modeChanged = !filled_ || mode != mode_;
    filled_ = true;
    rangeIndex_ = rangeIndex;
    unitSystem_ = unitSystem;
    conditions_ = conditions;
    requiredCapacity_ = conditions.capacity;
    if (modeChanged && isComparison()) clearComparison();
    mode_ = mode;

    items_.clear();
    current_ = -1;
    std::vector<TCModel*> models;
    if (isComparison() && listCandidates) {
        models = listCandidates(refrigerants_);
    } else {
        models.assign(candidates.begin(), candidates.end());
    }
    for (TCModel* model : models) {
        if (model == nullptr) continue;
        ListItem item;
        item.model = model;
        item.refrigerant = model->refrigerant;
        items_.push_back(std::move(item));
        if (model == selected) current_ = static_cast<int>(items_.size()) - 1;
    }
    recountFixedColumns();
    takeSnapshots(isComparison());
    order_.resize(items_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i);

    if (modeChanged) {
        columns_ = defaultColumns(mode);
        if (isControlsMode(mode) && store_ != nullptr && !store_->OrdaTechData().empty())
            columns_.back().code = store_->OrdaTechData().front()->headingId;
        sortColumn_ = defaultSortColumn(mode);
    }
    sortBy(sortColumn_);
}

void SelectionList::recomputeList(const OperatingConditions& conditions) {
    conditions_ = conditions;
    takeSnapshots(isComparison());
    sortBy(sortColumn_);
}

void SelectionList::takeSnapshots(bool evaluate) {
    if (!evaluate) {
        for (ListItem& item : items_) item.results = item.model->Results();
        return;
    }
    // Each compared refrigerant gets the point resolved for itself.
    for (Trefrigerant* refrigerant : refrigerants_) {
        OperatingConditions point = conditions_;
        Resolve(point, refrigerant);
        for (ListItem& item : items_) {
            if (item.refrigerant != refrigerant) continue;
            GiveSettings(*item.model, conditions_);
            item.model->EvaluateGuarded(point, mode_);
            item.results = item.model->Results();
        }
    }
    // Models of no compared refrigerant keep what they hold.
    for (ListItem& item : items_) {
        if (std::find(refrigerants_.begin(), refrigerants_.end(), item.refrigerant) ==
            refrigerants_.end())
            item.results = item.model->Results();
    }
}

void SelectionList::markModel(const TCModel* model) {
    current_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (model != nullptr && items_[i].model == model) {
            current_ = static_cast<int>(i);
            break;
        }
    }
    updateNavigation();
}

bool SelectionList::compareRefrigerants(std::vector<Trefrigerant*> refrigerants,
                                        Trefrigerant* main) {
    mainRefrigerant_ = main;
    std::vector<Trefrigerant*> list;
    if (main != nullptr) list.push_back(main);
    for (Trefrigerant* r : refrigerants) {
        if (r != nullptr && std::find(list.begin(), list.end(), r) == list.end()) list.push_back(r);
    }
    if (list.size() < 2) {
        clearComparison();
        return false;
    }
    refrigerants_ = std::move(list);
    return true;
}

void SelectionList::clearComparison() {
    refrigerants_.clear();
    if (mainRefrigerant_ != nullptr) refrigerants_.push_back(mainRefrigerant_);
}

TCModel* SelectionList::moveSelection(bool next) {
    if (current_ < 0 || order_.empty()) return nullptr;
    const auto at = std::find(order_.begin(), order_.end(), current_) - order_.begin();
    const auto target = next ? at + 1 : at - 1;
    if (target < 0 || target >= static_cast<std::ptrdiff_t>(order_.size())) return nullptr;
    current_ = order_[static_cast<std::size_t>(target)];
    updateNavigation();
    const ListItem& item = items_[static_cast<std::size_t>(current_)];
    return ofMainRefrigerant(item) ? item.model : nullptr;
}

void SelectionList::setColumns(std::vector<ListColumn> columns) {
    if (columns.empty()) return;
    if (columns.size() > static_cast<std::size_t>(kMaxUserColumns)) columns.resize(kMaxUserColumns);
    columns_ = std::move(columns);
    if (sortColumn_ >= userCount()) sortBy(-fixedCount());
}

void SelectionList::setColumn(int index, ListColumn column) {
    if (index < 0 || index >= userCount()) return;
    columns_[static_cast<std::size_t>(index)] = column;
    if (index == sortColumn_) sortBy(-fixedCount());
}

void SelectionList::recountFixedColumns() {
    fixed_.assign(1, FixedColumn::Name);
    if (hasSecondColumn(mode_)) fixed_.push_back(FixedColumn::Second);
    if (isComparison()) fixed_.push_back(FixedColumn::Refrigerant);
    const auto any = [this](bool (TCModel::*query)() const) {
        return std::any_of(items_.begin(), items_.end(),
                           [query](const ListItem& i) { return (i.model->*query)(); });
    };
    if (any(&TCModel::IsVariableSpeed)) fixed_.push_back(FixedColumn::Speed);
    if (any(&TCModel::HasLoadControl)) fixed_.push_back(FixedColumn::Load);
    if (any(&TCModel::IsInverterDriven)) fixed_.push_back(FixedColumn::InverterSpeed);
}

void SelectionList::computeKeys(const ListColumn& column) {
    for (ListItem& item : items_) {
        if (column.kind == 'M' || column.kind == 'E') {
            item.sortKey =
                store_ != nullptr ? store_->TechValue(*item.model, column.kind, column.code) : 0.0;
        } else if (loadRatio) {
            item.sortKey = loadRatio(*item.model, requiredCapacity_);
        } else {
            item.sortKey = item.result(quantity::LoadRatio);
        }
    }
}

bool SelectionList::comesFirst(const ListItem& a, const ListItem& b, int column) const {
    if (column < 0) {
        const auto fixedIndex = static_cast<std::size_t>(column + fixedCount());
        switch (fixed_[fixedIndex]) {
            case FixedColumn::Name:
                return nameBefore(a.model->name, b.model->name);
            case FixedColumn::Second:
                return nameBefore(secondText(*a.model, mode_), secondText(*b.model, mode_));
            case FixedColumn::Refrigerant:
                return nameBefore(refrigerantName(a), refrigerantName(b));
            case FixedColumn::Speed:
            case FixedColumn::InverterSpeed:
                return a.model->Speed() < b.model->Speed();
            case FixedColumn::Load:
                return a.model->Load() < b.model->Load();
        }
        return false;
    }
    const ListColumn& c = columns_[static_cast<std::size_t>(column)];
    if (c.kind == 'M' || c.kind == 'E' || (c.code == quantity::LoadRatio && isControlsMode(mode_)))
        return a.sortKey < b.sortKey;
    if (c.code == quantity::Displacement)
        return a.result(quantity::Displacement) < b.result(quantity::Displacement);
    const bool aValid = IsValidStatus(a.status());
    const bool bValid = IsValidStatus(b.status());
    if (aValid != bValid) return aValid;
    if (!aValid) return false;
    if (c.code == quantity::LoadRatio)  // largest capacity first
        return a.result(quantity::CoolingCapacity) > b.result(quantity::CoolingCapacity);
    return a.result(c.code) < b.result(c.code);
}

void SelectionList::sortBy(int column) {
    if (column >= userCount() || column < -fixedCount()) return;
    sortColumn_ = column;
    if (column >= 0) {
        const ListColumn& c = columns_[static_cast<std::size_t>(column)];
        if (c.kind == 'M' || c.kind == 'E' ||
            (c.code == quantity::LoadRatio && isControlsMode(mode_)))
            computeKeys(c);
    }
    // A selection sort: each position takes the first of the remaining items that must come
    // before all others; an equal item never displaces the one already chosen.
    for (std::size_t i = 0; i + 1 < order_.size(); ++i) {
        std::size_t first = i;
        for (std::size_t j = i + 1; j < order_.size(); ++j) {
            if (comesFirst(items_[static_cast<std::size_t>(order_[j])],
                           items_[static_cast<std::size_t>(order_[first])], column))
                first = j;
        }
        std::swap(order_[i], order_[first]);
    }
    updateNavigation();
}

void SelectionList::updateNavigation() {
    hasPrevious_ = hasNext_ = false;
    if (current_ < 0 || order_.empty()) return;
    const auto at = std::find(order_.begin(), order_.end(), current_) - order_.begin();
    hasPrevious_ = at > 0;
    hasNext_ = at + 1 < static_cast<std::ptrdiff_t>(order_.size());
}

std::string SelectionList::columnTitle(int column) const {
    if (column < -fixedCount() || column >= userCount()) return {};
    if (column < 0) {
        const auto fixedIndex = static_cast<std::size_t>(column + fixedCount());
        switch (fixed_[fixedIndex]) {
            case FixedColumn::Name:
                if (mode_ == ActivityMode::CondensingUnits)
                    return Text("strCondUnit", "Condensing Unit");
                if (isControlsMode(mode_)) return Text("strValve", "Valve");
                if (IsHeatPumpMode(mode_)) return Text("strHeatPump", "Heat Pump");
                return Text("strCompressor", "Compressor");
            case FixedColumn::Second:
                if (isControlsMode(mode_)) return Text("strOrifice", "Orifice");
                return Text("strCompressor", "Compressor");
            case FixedColumn::Refrigerant:
                return Text("strREFRIGERANT", "REFRIGERANT");
            case FixedColumn::Speed:
            case FixedColumn::InverterSpeed:
                return QuantityHeading(quantity::Speed, unitSystem_, mode_, conditions_);
            case FixedColumn::Load:
                return QuantityHeading(quantity::Load, unitSystem_, mode_, conditions_);
        }
        return {};
    }
    const ListColumn& c = columns_[static_cast<std::size_t>(column)];
    if (c.kind == 'M' || c.kind == 'E') {
        if (store_ != nullptr) {
            for (const auto& heading : store_->Headings())
                if (heading->id == c.code) return heading->caption;
        }
        return {};
    }
    if (c.code == quantity::LiquidTemp)
        return Text("strLiqTempLO", "Liquid temperature, liquid outlet");
    return QuantityHeading(c.code, unitSystem_, mode_, conditions_);
}

std::string SelectionList::sortCaption() const {
    return " (" + columnTitle(sortColumn_) + ")";
}

std::string SelectionList::valueText(const ListItem& item, QuantityCode code) const {
    if (!IsValidStatus(item.status())) return "-";
    const double shown = ToDisplay(code, unitSystem_, item.result(code)) + 0.0;
    return fmt::format("{:.{}f}", shown, Decimals(code));
}

// --- columns in the settings file ---

SelectionListColumns SelectionList::saveColumns() const {
    SelectionListColumns saved;
    saved.count = userCount();
    for (const ListColumn& c : columns_) {
        saved.kinds.push_back(c.kind);
        saved.codes.push_back(c.code);
    }
    return saved;
}

void SelectionList::loadColumns(const SelectionListColumns& saved) {
    const int count = std::min(saved.count, kMaxUserColumns);
    if (count <= 0) return;
    const std::vector<ListColumn> defaults = defaultColumns(mode_);
    std::vector<ListColumn> columns;
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        ListColumn column = at < defaults.size() ? defaults[at] : ListColumn{};
        const char kind = at < saved.kinds.size() ? saved.kinds[at] : 'P';
        const int code = at < saved.codes.size() ? saved.codes[at] : -1;
        if (kind == 'M' || kind == 'E') {
            if (code >= 0) column = ListColumn{kind, code};
        } else if (isListableQuantity(code)) {
            column = ListColumn{'P', code};
        }
        columns.push_back(column);
    }
    const int sorted = sortColumn_;
    setColumns(std::move(columns));
    sortBy(sorted < userCount() ? sortColumn_ : -fixedCount());
}

std::vector<ListChoice> SelectionList::choices() const {
    std::vector<ListChoice> list;
    const auto add = [&](int code, std::string text, bool enabled = true) {
        if (text.empty()) text = QuantityHeading(code, unitSystem_, mode_, conditions_);
        list.push_back(ListChoice{{'P', code}, withoutAmpersands(std::move(text)), enabled});
    };
    if (isControlsMode(mode_)) {
        add(mode_ == ActivityMode::SolenoidValves ? quantity::PressureDifference
                                                  : quantity::CoolingCapacity,
            {});
        if (mode_ != ActivityMode::SolenoidValves) add(quantity::LoadRatio, {});
    } else {
        const bool heating = mode_ == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(mode_);
        add(quantity::CoolingCapacity, {});
        add(quantity::PowerInput, {});
        add(quantity::Current, {});
        add(quantity::COP, {});
        add(quantity::MassFlow, {});
        add(heating ? quantity::HeatingCapacity : quantity::HeatRejection, {});
        add(mode_ == ActivityMode::CondensingUnits ? quantity::CondensingTemp
                                                   : quantity::DischargeTemp,
            {});
        add(quantity::EconomiserCapacity, {});
        add(quantity::InjectionMassFlow, {});
        add(quantity::IntermediatePressure, "PSI");
        add(quantity::IntermediateSatTemp, "TSI");
        add(quantity::VapourOutletTemp, {});
        add(quantity::LiquidTemp, Text("strLiqTempLO", "Liquid temperature, liquid outlet"));
        add(quantity::LiquidTempInjectionInlet, {});
        add(quantity::LiquidTempEconomiserOutlet, {});
        add(quantity::RefrigerationCOP, {}, mode_ == ActivityMode::HeatPumpCompressors);
        add(quantity::Displacement, {});
    }
    if (store_ == nullptr) return list;
    if (isControlsMode(mode_)) {
        // the controls' own technical fields, by heading id, each once
        std::vector<std::int32_t> seen;
        for (const auto& item : store_->OrdaTechData()) {
            if (std::find(seen.begin(), seen.end(), item->headingId) != seen.end()) continue;
            seen.push_back(item->headingId);
            std::string text = item->text;
            for (const auto& heading : store_->Headings())
                if (heading->id == item->headingId) text = heading->caption;
            list.push_back(ListChoice{{'M', item->headingId}, withoutAmpersands(text), true});
        }
        return list;
    }
    const char kind = mode_ == ActivityMode::CondensingUnits ? 'U' : 'C';
    for (const char group : {'M', 'E'}) {
        for (const auto& heading : store_->Headings()) {
            if (heading->group != group) continue;
            if (heading->usedBy != kind && heading->usedBy != TTecHeadObj::kBoth) continue;
            list.push_back(
                ListChoice{{group, heading->id}, withoutAmpersands(heading->caption), true});
        }
    }
    return list;
}

// --- cells ---

bool SelectionList::isPreliminary(const ListItem& item) {
    if (item.model == nullptr) return false;
    if (const auto* pump = dynamic_cast<const THeatPump*>(item.model))
        return pump->compressor != nullptr && pump->compressor->FirstOptionFlag();
    return item.model->FirstOptionFlag();
}

ModelStatus SelectionList::clickStatus(const ListItem& item) const {
    const ModelStatus status = item.status();
    if (status < 0 || status == 2 || status == 3) return status;
    if (!isControlsMode(mode_) && isPreliminary(item)) return 4;  // the preliminary-data text
    return model_status::Valid;
}

std::string SelectionList::secondColumnText(const ListItem& item) const {
    if (item.model == nullptr) return {};
    if (const auto* pump = dynamic_cast<const THeatPump*>(item.model))
        return pump->compressor != nullptr ? pump->compressor->name : std::string();
    if (IsHeatPumpMode(mode_)) return {};
    return secondText(*item.model, mode_);
}

std::string SelectionList::columnUnit(int column) const {
    if (column < -fixedCount() || column >= userCount()) return {};
    if (column < 0) {
        const FixedColumn f = fixed_[static_cast<std::size_t>(column + fixedCount())];
        return f == FixedColumn::Speed || f == FixedColumn::InverterSpeed ? "Hz" : "";
    }
    const ListColumn& c = columns_[static_cast<std::size_t>(column)];
    return isTechnical(c) ? std::string() : UnitLabel(c.code, unitSystem_);
}

std::string SelectionList::cellText(const ListItem& item, int column) const {
    if (column < -fixedCount() || column >= userCount()) return {};
    if (column < 0) {
        switch (fixed_[static_cast<std::size_t>(column + fixedCount())]) {
            case FixedColumn::Name:
                return item.model->name;
            case FixedColumn::Second:
                return secondColumnText(item);
            case FixedColumn::Refrigerant:
                return refrigerantName(item);
            case FixedColumn::Speed:
                return item.model->IsVariableSpeed()
                           ? fmt::format("{:.1f}", item.model->Speed() / 60.0)
                           : std::string();
            case FixedColumn::InverterSpeed:
                return item.model->IsInverterDriven() && !item.model->IsVariableSpeed()
                           ? fmt::format("{:.1f}", item.model->Speed() / 30.0)
                           : std::string();
            case FixedColumn::Load:
                return item.model->HasLoadControl() ? fmt::format("{}", item.model->Load())
                                                    : std::string();
        }
        return {};
    }
    const ListColumn& c = columns_[static_cast<std::size_t>(column)];
    if (isTechnical(c)) return techText(item, c);
    if (!IsValidStatus(item.status())) return "-";
    const std::optional<double> value = columnValue(item, c);
    if (!value) return {};
    const double shown = ToDisplay(c.code, unitSystem_, *value) + 0.0;
    return fmt::format("{:.{}f}", shown, Decimals(c.code));
}

std::optional<double> SelectionList::columnValue(const ListItem& item, const ListColumn& column,
                                                 bool vapourOutletGiven) const {
    if (isTechnical(column) || !IsValidStatus(item.status())) return std::nullopt;
    const int code = column.code;
    const bool injection = item.model != nullptr && item.model->HasVapourInjection();
    if (code == quantity::LoadRatio && isControlsMode(mode_)) {
        const double ratio = loadRatio ? loadRatio(*item.model, requiredCapacity_)
                                       : item.result(quantity::LoadRatio);
        if (ratio > 0 && ratio <= 110) return ratio;
        return std::nullopt;
    }
    if (code == quantity::LiquidTemp && !isControlsMode(mode_)) {
        if (!injection) return std::nullopt;
        return item.result(code);
    }
    if (code == quantity::EconomiserCapacity) {
        if (!injection || !vapourInjectionModes(mode_)) return std::nullopt;
        return item.result(code);
    }
    if (code >= 1 && code < quantity::IntermediatePressure) return item.result(code);
    if (code > quantity::LiquidTempEconomiserOutlet) return std::nullopt;
    if (!injection || !vapourInjectionModes(mode_)) return std::nullopt;
    const double tsi = item.result(quantity::IntermediateSatTemp);
    switch (code) {
        case quantity::IntermediatePressure:
            if (item.refrigerant == nullptr) return std::nullopt;
            return item.refrigerant->DewPressure(tsi);
        case quantity::VapourOutletTemp:
            return tsi + (vapourOutletGiven ? conditions_.vapourOutletSuperheat : 5.0);
        case quantity::LiquidTempInjectionInlet:
            return conditions_.liquidTemp;
        case quantity::LiquidTempEconomiserOutlet:
            return item.result(quantity::LiquidTemp) + conditions_.liquidLineTempRise;
        default:
            return std::nullopt;
    }
}

std::string SelectionList::techText(const ListItem& item, const ListColumn& column) const {
    if (!isTechnical(column) || store_ == nullptr || item.model == nullptr) return {};
    return store_->TechText(*item.model, column.kind, column.code);
}

std::string SelectionList::clipboardText() const {
    std::string text;
    std::vector<std::string> titles;
    switch (mode_) {
        case ActivityMode::CondensingUnits:
            titles = {Text("strCondUnit", "Condensing Unit"), Text("strCompressor", "Compressor")};
            break;
        case ActivityMode::ExpansionValves:
            titles = {Text("strValve", "Valve"), Text("strOrifice", "Orifice")};
            break;
        case ActivityMode::SolenoidValves:
            titles = {Text("strValve", "Valve")};
            break;
        case ActivityMode::HeadPressureControls:
            titles = {"Regulator", Text("strOrifice", "Orifice")};
            break;
        case ActivityMode::FilterDriers:
            titles = {"Preotector", Text("strOrifice", "Orifice")};
            break;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            titles = {Text("strHeatPump", "Heat Pump"), Text("strCompressor", "Compressor")};
            break;
        default:
            titles = {Text("strCompressor", "Compressor")};
            break;
    }
    const std::size_t fixedShown = titles.size();
    if (isComparison()) titles.push_back(Text("strREFRIGERANT", "REFRIGERANT"));
    const std::size_t leading = titles.size();
    std::vector<std::string> units(leading);
    for (int c = 0; c < userCount(); ++c) {
        titles.push_back(columnTitle(c));
        units.push_back(columnUnit(c));
    }
    const auto line = [&text](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) text += '\t';
            text += cells[i];
        }
        text += "\r\n";
    };
    line(titles);
    line(units);
    for (const int index : order_) {
        const ListItem& item = items_[static_cast<std::size_t>(index)];
        std::vector<std::string> cells{item.model->name};
        if (fixedShown > 1) cells.push_back(secondColumnText(item));
        if (isComparison()) cells.push_back(refrigerantName(item));
        for (const ListColumn& c : columns_) {
            if (isTechnical(c)) {
                cells.push_back(techText(item, c));
                continue;
            }
            if (!IsValidStatus(item.status())) {
                cells.push_back("-");
                continue;
            }
            const std::optional<double> value = columnValue(item, c);
            cells.push_back(value ? fmt::format("{:.{}f}",
                                                ToDisplay(c.code, unitSystem_, *value) + 0.0,
                                                Decimals(c.code))
                                  : std::string());
        }
        line(cells);
    }
    return text;
}

}  // namespace kelvra
