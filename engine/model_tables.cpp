// Performance tables of the models built around a compressor or a correction table: condensing
// units (ambient temperature down), heat pumps (water outlet down, source across) and the
// circuit controls (condensing down, evaporating across).

#include <array>
#include <cmath>
#include <vector>

#include "compressor.hpp"
#include "heat_pump.hpp"
#include "model_status.hpp"
#include "performance_table.hpp"
#include "refrigerant.hpp"
#include "unit.hpp"
#include "units.hpp"
#include "valve.hpp"

namespace kelvra {

namespace q = quantity;

namespace {

double FahrenheitOf(double celsius) { return celsius * 1.8 + 32.0; }

// A table cell of a failed point: its status only, capacity and pressure difference at 0.
void StoreFailedCell(ResultVector& cell, ModelStatus status) {
    cell = ResultVector{};
    cell.SetStatus(status);
}

// The ambient temperatures of a condensing-unit table (degC).
constexpr std::array<double, 6> kUnitTableAmbients = {27.0, 32.0, 38.0, 43.0, 46.0, 49.0};

}  // namespace

// --- condensing units ---

void Tunit::SetUpTableAxes(ModelTable& model_table, UnitSystem unitSystem) {
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr) return;
    if (compressor != nullptr) compressor->SetUpTableAxes(*table, unitSystem);
    table->SetUnitSystem(unitSystem);
    std::vector<double> rows;
    for (const double ambient : kUnitTableAmbients)
        rows.push_back(unitSystem == UnitSystem::Imperial ? FahrenheitOf(ambient) : ambient);
    table->SetRows(rows);
    table->ConvertAxes();
}

void Tunit::FillTable(ModelTable& model_table, OperatingConditions c, ActivityMode mode,
                      UnitSystem unitSystem) {
    TCModel::FillTable(model_table, c, mode, unitSystem);
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr || !c.usefulAll || compressor == nullptr) {
        model_table.SetComputed(false);
        return;
    }
    c.subcooling = 0;

    // The balance of every cell starts from a condensing temperature fitted to the compressor's
    // own table, so that it settles in a few corrections.
    std::vector<CondensingObservation> cells;
    {
        TableDefinition definition;
        definition.name = "Temp";
        TTableObject temp(definition, true);
        compressor->FillTable(temp, c, ActivityMode::Compressors, UnitSystem::SI);
        for (const auto& row : temp.Rows()) {
            for (int j = 0; j < temp.ColumnCount(); ++j) {
                const ResultVector& cell = row->Cell(j);
                cells.push_back({row->ValueSI(), temp.ColumnValueSI(j), cell.Status(),
                                 cell.Get(q::CoolingCapacity), cell.Get(q::HeatRejection)});
            }
        }
    }
    if (!FitCondensingPolynomial(cells, false, condenserRating)) {
        table->SetComputed(false);
        return;
    }

    const ResultVector kept = Results();
    for (int i = 0; i < table->RowCount(); ++i) {
        const double ambient = table->RowValueSI(i);
        c.ambientTemp = ambient;
        TrowObj& row = table->AddRow(table->RowValue(i), ambient);
        for (int j = 0; j < table->ColumnCount(); ++j) {
            const double x = table->ColumnValueSI(j);
            c.evapTemp = x;
            c.satSuctionTemp = x;
            double tc = FittedCondensing(ambient, x);
            ModelStatus status = model_status::BalanceNotConverged;
            for (int correction = 0; correction < kMaxTableCorrections; ++correction) {
                if (std::fabs(condenserRating) < kMinCondenserRating) {
                    status = model_status::NoCondenserData;
                    break;
                }
                try {
                    status = EvaluateFrom(c, tc);
                } catch (...) {
                    status = model_status::EvaluationFailed;
                }
                status = ClampUnitStatus(status);
                if (status < 0) break;
                const double t = Result(q::HeatRejection) / condenserRating + ambient;
                if (std::fabs(tc - t) <= kBalanceTolerance) break;
                tc = (tc + t) / 2.0;
                status = model_status::BalanceNotConverged;
            }
            ResultVector& cell = row.Cell(j);
            if (status >= 0)
                cell = Results();
            else
                StoreFailedCell(cell, status);
            cell.SetStatus(status);
        }
    }
    SetResults(kept);
}

// --- heat pumps ---

void THeatPump::SetUpTableAxes(ModelTable& model_table, UnitSystem /*unitSystem*/) {
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr || compressor == nullptr) return;
    double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
    if (!compressor->EnvelopeBounds(yMin, yMax, xMax, xMin)) return;
    if (yMax < -999) yMax = 35;
    if (yMin < -999) yMin = 30;
    if (xMin < -999) xMin = -5;
    if (xMax < -999) xMax = 0;

    // The axes are water outlet and source temperatures, in degC; the view converts them.
    const auto grid = [](double from, double to) {
        std::vector<double> values;
        const double first = std::ceil(from / 5.0 - 1e-9) * 5.0;
        const double last = std::floor(to / 5.0 + 1e-9) * 5.0;
        for (double v = first; v <= last + 1e-9 && values.size() < kMaxTableAxis; v += 5.0)
            values.push_back(v);
        return values;
    };
    table->SetUnitSystem(UnitSystem::SI);
    table->SetRows(grid(WaterFromCondensing(yMin), WaterFromCondensing(yMax)));
    table->SetColumns(grid(SourceFromEvaporating(xMin), SourceFromEvaporating(xMax)));
    table->ConvertAxes();
}

void THeatPump::FillTable(ModelTable& model_table, OperatingConditions c, ActivityMode mode,
                          UnitSystem unitSystem) {
    TCModel::FillTable(model_table, c, mode, unitSystem);
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr) {
        model_table.SetComputed(false);
        return;
    }
    const ResultVector kept = Results();
    for (int i = 0; i < table->RowCount(); ++i) {
        const double water = table->RowValueSI(i);
        c.waterOutletTemp = static_cast<float>(water);
        TrowObj& row = table->AddRow(table->RowValue(i), water);
        for (int j = 0; j < table->ColumnCount(); ++j) {
            c.sourceInletTemp = static_cast<float>(table->ColumnValueSI(j));
            ModelStatus status = EvaluateGuarded(c, mode);
            ResultVector& cell = row.Cell(j);
            cell = Results();
            cell.SetStatus(status);
        }
    }
    SetResults(kept);
}

// --- circuit controls ---

void Tvalve::SetUpTableAxes(ModelTable& model_table, UnitSystem unitSystem) {
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr) return;
    table->SetUnitSystem(unitSystem);
    const TordaObj* group = correctionGroup;
    if (group == nullptr || TypeLetter() == 'U' || group->RowCount() == 0 ||
        group->ColumnCount() == 0) {
        table->SetRowCount(kUnboundedTableRows);
        table->SetColumns(UnboundedTableColumns());
        table->ConvertAxes();
        return;
    }
    const double xMin = group->columnOrigin;
    const double xMax = group->columnOrigin + 5.0 * (group->ColumnCount() - 1);
    const double yMin = group->rowOrigin + tableSubcooling_;
    const double yMax = yMin + 5.0 * (group->RowCount() - 1);
    table->SetColumns(ValveTableColumns(xMin, xMax, unitSystem));
    table->SetRows(CompressorTableRows(yMin, yMax, unitSystem, false));
    table->ConvertAxes();
}

void Tvalve::FillTable(ModelTable& model_table, OperatingConditions c, ActivityMode mode,
                       UnitSystem unitSystem) {
    // The rows of the correction group start above its liquid temperatures by the subcooling.
    tableSubcooling_ = c.subcooling;
    TCModel::FillTable(model_table, c, mode, unitSystem);
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr) {
        model_table.SetComputed(false);
        return;
    }
    if (TypeLetter() == 'U') return;
    const ResultVector kept = Results();
    for (int i = 0; i < table->RowCount(); ++i) {
        const double y = table->RowValueSI(i);
        c.condTemp = y;
        c.satDischargeTemp = y;
        TrowObj& row = table->AddRow(table->RowValue(i), y);
        for (int j = 0; j < table->ColumnCount(); ++j) {
            const double x = table->ColumnValueSI(j);
            c.evapTemp = x;
            c.satSuctionTemp = x;
            const ModelStatus status = ClampTableStatus(EvaluateGuarded(c, mode));
            ResultVector& cell = row.Cell(j);
            if (status >= 0)
                cell = Results();
            else
                StoreFailedCell(cell, status);
            cell.SetStatus(status);
        }
    }
    SetResults(kept);
}

std::vector<double> ValveTableColumns(double xMin, double xMax, UnitSystem system) {
    std::vector<double> values;
    if (system == UnitSystem::Imperial) {
        const double from = FahrenheitOf(xMin);
        const double to = FahrenheitOf(xMax);
        double v = std::round(from / 10.0) * 10.0;
        const double step = (to - from) > 220.0 ? 20.0 : 10.0;
        for (; v <= to + 0.0001 && values.size() < kMaxTableAxis; v += step) values.push_back(v);
        return values;
    }
    const double from = std::round(xMin * 100.0) / 100.0;
    const double to = std::round(xMax * 100.0) / 100.0;
    const double step = (to - from) > 110.0 ? 10.0 : 5.0;
    double v = std::trunc(std::round(from) / step) * step;
    for (; v <= to + 0.0001 && values.size() < kMaxTableAxis; v += step) values.push_back(v);
    return values;
}

}  // namespace kelvra
