#include "table_layouts.hpp"

#include <algorithm>
#include <cmath>

#include "language_texts.hpp"
#include "model.hpp"

namespace kelvra {

namespace {

int LimitCount(std::int32_t count) { return std::clamp<std::int32_t>(count, 0, kMaxTableAxis); }

float Finite(float value) { return std::isfinite(value) ? value : 0.0f; }

std::array<float, kMaxTableAxis> EvenValues(double start, double step, int count) {
    std::array<float, kMaxTableAxis> values{};
    for (int i = 0; i < count && i < kMaxTableAxis; ++i)
        values[static_cast<std::size_t>(i)] = static_cast<float>(start + i * step);
    return values;
}

bool EvenAxis(const std::array<float, kMaxTableAxis>& values, int count) {
    if (count < 3) return true;
    const double step = values[1] - values[0];
    for (int i = 2; i < count; ++i) {
        const double d = values[static_cast<std::size_t>(i)] - values[static_cast<std::size_t>(i - 1)];
        if (std::abs(d - step) > 1e-3) return false;
    }
    return true;
}

// Puts the model's results and status back when it goes, also when the table computation
// throws, so that the summary and the status bar keep showing the operating point.
class KeepModelResults {
  public:
    explicit KeepModelResults(TCModel& model)
        : model_(model), results_(model.Results()), status_(model.Status()) {}
    ~KeepModelResults() {
        model_.SetResults(results_);
        model_.SetStatus(status_);
    }
    KeepModelResults(const KeepModelResults&) = delete;
    KeepModelResults& operator=(const KeepModelResults&) = delete;

  private:
    TCModel& model_;
    ResultVector results_;
    ModelStatus status_;
};

}  // namespace

std::optional<TableProduct> TableProductOf(ActivityMode mode) {
    switch (mode) {
        case ActivityMode::Compressors: return TableProduct::Compressors;
        case ActivityMode::CondensingUnits: return TableProduct::CondensingUnits;
        case ActivityMode::HeatPumpCompressors: return TableProduct::HeatPumpCompressors;
        default: return std::nullopt;
    }
}

TableDefinition DefinitionFromRecord(const TableLayoutRecord& record) {
    TableDefinition d;
    d.name = record.name;
    d.productType = record.productType;
    d.unitSystem = record.IsImperial() ? UnitSystem::Imperial : UnitSystem::SI;
    d.columnCount = LimitCount(record.setting1);
    d.rowCount = LimitCount(record.setting2);
    for (std::size_t i = 0; i < kMaxTableAxis; ++i) {
        d.columnValues[i] = Finite(record.axis1[i]);
        d.rowValues[i] = Finite(record.axis2[i]);
    }
    return d;
}

TableLayoutRecord RecordFromDefinition(const TableDefinition& d) {
    TableLayoutRecord record;
    record.name = d.name;
    record.productType = d.productType;
    record.unitSystem = d.unitSystem == UnitSystem::Imperial ? ToInt(UnitSystem::Imperial)
                                                            : ToInt(UnitSystem::SI);
    record.setting1 = LimitCount(d.columnCount);
    record.setting2 = LimitCount(d.rowCount);
    record.axis1 = d.columnValues;
    record.axis2 = d.rowValues;
    return record;
}

TableDefinition BuiltInTableLayout(TableProduct product, UnitSystem system) {
    TableDefinition d;
    d.productType = static_cast<std::int32_t>(product);
    d.unitSystem = system == UnitSystem::Imperial ? UnitSystem::Imperial : system;
    if (system == UnitSystem::Imperial) {
        d.columnCount = 10;  // -40 .. 50 degF
        d.rowCount = 7;      // 80 .. 140 degF
        d.columnValues = EvenValues(-40, 10, d.columnCount);
        d.rowValues = EvenValues(80, 10, d.rowCount);
    } else {
        d.columnCount = 11;  // -40 .. 10 degC
        d.rowCount = 8;      // 25 .. 60 degC
        d.columnValues = EvenValues(-40, 5, d.columnCount);
        d.rowValues = EvenValues(25, 5, d.rowCount);
    }
    return d;
}

TableDefinition NewTableLayout(TableProduct product, UnitSystem system) {
    TableDefinition d = BuiltInTableLayout(product, system);
    if (d.unitSystem != UnitSystem::Imperial) d.unitSystem = UnitSystem::SI;
    d.name = Text("strNewTable", "New Table");
    return d;
}

bool IsRegularLayout(const TableDefinition& layout) {
    return EvenAxis(layout.columnValues, LimitCount(layout.columnCount)) &&
           EvenAxis(layout.rowValues, LimitCount(layout.rowCount));
}

IoStatus TableLayouts::Load(const std::filesystem::path& userFolder,
                            const std::filesystem::path& installationFolder) {
    const TableLayoutLoad load =
        LoadTableLayouts(TableLayoutFileToRead(userFolder, installationFolder));
    tables_ = load.tables;
    if (!load.exists) return IoStatus::Success();
    return load.status;
}

IoStatus TableLayouts::Save(const std::filesystem::path& userFolder) const {
    return SaveTableLayouts(userFolder / std::string(kTableLayoutFileName), tables_);
}

std::optional<TableLayoutRecord> TableLayouts::UserTableFor(ActivityMode mode,
                                                            UnitSystem system) const {
    const std::optional<TableProduct> product = TableProductOf(mode);
    if (!product) return std::nullopt;
    const std::optional<std::size_t> index =
        DefaultTableLayout(tables_, *product, system, defaults_.For(*product, system));
    if (!index) return std::nullopt;
    return tables_[*index];
}

std::unique_ptr<TTableObject> TableLayouts::MakeTable(ActivityMode mode, UnitSystem system) const {
    if (const auto user = UserTableFor(mode, system))
        return std::make_unique<TTableObject>(DefinitionFromRecord(*user), false);
    const TableProduct product = TableProductOf(mode).value_or(TableProduct::Compressors);
    return std::make_unique<TTableObject>(BuiltInTableLayout(product, system), true);
}

bool ComputeTable(TTableObject& table, TCModel* model, const OperatingConditions& conditions,
                  ActivityMode mode, UnitSystem system) {
    table.Reset();
    if (model == nullptr) return false;
    if (mode == ActivityMode::CondensingUnits && !(model->Result(quantity::CoolingCapacity) > 0))
        return false;
    KeepModelResults keep(*model);
    model->FillTable(table, conditions, mode, system);
    return true;
}

}  // namespace kelvra
