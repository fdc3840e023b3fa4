#include "valve.hpp"

#include <algorithm>
#include <cmath>

#include "refrigerant.hpp"

namespace kelvra {

std::int16_t TordaObj::GroupIdOf(RecordBytes record) {
    return RecordView(record, kRecordSize, "controls correction").I16(0);
}

void TordaObj::AddRecord(RecordBytes record) {
    const RecordView row(record, kRecordSize, "controls correction");
    TordaRow next;
    next.value = row.Single(5);
    for (int j = 0; j < TordaRow::kColumns; ++j) {
        next.factors[static_cast<std::size_t>(j)] =
            row.Double(13 + 8 * static_cast<std::size_t>(j));
        if (next.factors[static_cast<std::size_t>(j)] > 0)
            columnCount_ = std::max(columnCount_, j + 1);
    }
    if (rows_.empty()) {
        id = row.I16(0);
        value = row.U16(2);
        typeLetter = row.Char(4);
        rowOrigin = next.value;
        columnOrigin = row.Single(9);
    }
    rows_.push_back(next);
}

double TordaObj::TableFactor(double x, double y) const {
    if (!std::isfinite(x) || !std::isfinite(y)) return 0.0;
    if (y < rowOrigin || x < columnOrigin) return 0.0;
    const double rowSteps = (y - rowOrigin) / kGridStep;
    const double columnSteps = (x - columnOrigin) / kGridStep;
    if (rowSteps >= RowCount() || columnSteps >= ColumnCount()) return 0.0;
    const int i = static_cast<int>(rowSteps);
    const int j = static_cast<int>(columnSteps);

    // On the last row or column exactly, the same one serves as the next; beyond it there is
    // nothing to interpolate towards.
    const double fy = rowSteps - i;
    const double fx = columnSteps - j;
    int i1 = i + 1;
    int j1 = j + 1;
    if (i1 >= RowCount()) {
        if (fy != 0.0) return 0.0;
        i1 = i;
    }
    if (j1 >= ColumnCount()) {
        if (fx != 0.0) return 0.0;
        j1 = j;
    }
    const auto at = [&](int row, int column) {
        return rows_[static_cast<std::size_t>(row)].factors[static_cast<std::size_t>(column)];
    };
    const double f00 = at(i, j);
    const double f01 = at(i, j1);
    const double f10 = at(i1, j);
    const double f11 = at(i1, j1);
    if (!(f00 > 0.0) || !(f01 > 0.0) || !(f10 > 0.0) || !(f11 > 0.0)) return 0.0;
    const double low = f00 + (f01 - f00) * fx;
    const double high = f10 + (f11 - f10) * fx;
    return low + (high - low) * fy;
}

double TordaObj::FirstRowFactor(double x) const {
    if (!std::isfinite(x)) return 0.0;
    if (x >= 4.0) return 1.0;
    if (rows_.empty() || ColumnCount() == 0) return 0.0;
    const auto& first = rows_.front().factors;
    if (x == columnOrigin) return first[0];
    if (x < columnOrigin) return 0.0;
    const double steps = (x - columnOrigin) / kGridStep;
    if (steps > ColumnCount() - 1) return 0.0;
    const int j = static_cast<int>(steps);
    const double fx = steps - j;
    if (j + 1 >= ColumnCount()) return first[static_cast<std::size_t>(j)];
    const double a = first[static_cast<std::size_t>(j)];
    const double b = first[static_cast<std::size_t>(j + 1)];
    return a + (b - a) * fx;
}

Tvalve::Tvalve() {
    classLetter = 'V';
}

char Tvalve::TypeLetter() const {
    return correctionGroup != nullptr ? correctionGroup->typeLetter : ' ';
}

ActivityMode Tvalve::TypeMode() const {
    switch (TypeLetter()) {
        case 'S':
            return ActivityMode::SolenoidValves;
        case 'P':
        case 'Q':
            return ActivityMode::HeadPressureControls;
        case 'E':
        case 'T':
            return ActivityMode::ExpansionValves;
        default:
            return ActivityMode::FilterDriers;
    }
}

double Tvalve::LoadRatio(double required) const {
    const double capacity = Result(quantity::CoolingCapacity);
    return capacity != 0.0 ? required / capacity * 100.0 : 0.0;
}

ModelStatus Tvalve::Evaluate(OperatingConditions conditions, ActivityMode /*mode*/) {
    ModelStatus status = kNoData;
    try {
        status = EvaluateUnguarded(conditions);
    } catch (...) {
        status = kNoData;
    }
    if (status < 0) {
        SetResult(quantity::CoolingCapacity, 0.0);
        SetResult(quantity::PressureDifference, 0.0);
    }
    SetStatus(status);
    return status;
}

ModelStatus Tvalve::EvaluateUnguarded(const OperatingConditions& c) {
    namespace q = quantity;
    if (correctionGroup == nullptr || refrigerant == nullptr) return kNoData;
    Trefrigerant& ref = *refrigerant;
    const TordaObj& group = *correctionGroup;
    const double s = c.subcooling;
    const double required = c.capacity;
    const double tc = c.satDischargeTemp;
    const double te = c.satSuctionTemp;
    const double systemDrop = c.ordaSystemDrop;
    const double componentDrop = c.ordaComponentDrop;
    const double qNom = nominalCapacity;
    const double second = secondValue;
    for (double v : {s, required, tc, te, systemDrop, componentDrop, qNom, second})
        if (!std::isfinite(v)) return kNoData;

    ref.ClearErrors();
    const double bubbleBase = ref.basis == 'N' ? tc : ref.BubbleTemperature(ref.DewPressure(tc));
    const double tl = bubbleBase - s;
    SetResult(q::LiquidTemp, tl);

    const auto noData = [&](double k) { return !(k > 0.0001) || !(qNom > 0.0); };
    const auto evaporatorStep = [&] { return ref.DewPressure(te + 1.0) - ref.DewPressure(te); };
    // Capacity and pressure difference, or a status.
    double capacity = Result(q::CoolingCapacity);
    double difference = 0.0;
    ModelStatus status = 0;

    switch (group.typeLetter) {
        case 'S': {
            const double k = group.TableFactor(te, tl);
            if (noData(k)) return kNoData;
            const double ratio = k * required / qNom;
            difference = kSolenoidNominalDrop * ratio * ratio;
            if (difference < kSolenoidMinDrop)
                status = kTooLarge;
            else if (difference > kSolenoidMaxDrop)
                status = kTooSmall;
            break;
        }
        case 'P': {
            const double k = group.TableFactor(te, tl);
            if (noData(k)) return kNoData;
            // The drop is held in single precision: its rated ends are compared in the same
            // precision, so that a drop entered as 0.14 bar is the high rating, not above it.
            const float drop = c.ordaComponentDrop;
            if (drop < static_cast<float>(kLowRatedDrop)) return kTooLarge;
            if (drop > static_cast<float>(kHighRatedDrop)) return kTooSmall;
            const double rated = qNom + (second - qNom) * (componentDrop - kLowRatedDrop) /
                                            (kHighRatedDrop - kLowRatedDrop);
            capacity = rated / k;
            difference = componentDrop;
            break;
        }
        case 'Q': {
            const double k = group.TableFactor(te, tl);
            if (noData(k) || !(componentDrop > 0.0) || !(second > 0.0)) return kNoData;
            capacity = qNom / k / std::sqrt(second / componentDrop);
            difference = componentDrop;
            break;
        }
        case 'R':
        case 'W':
        case 'Y': {
            const double k = group.TableFactor(te, tc);
            if (noData(k)) return kNoData;
            capacity = qNom / k;
            if (group.typeLetter == 'W')
                difference = evaporatorStep();
            else if (group.typeLetter == 'Y')
                difference = ref.DewPressure(tc + 1.0) - ref.DewPressure(tc);
            break;
        }
        case 'X':
            capacity = 0.0;
            difference = componentDrop;
            break;
        case 'U':
        case 'Z': {
            const double f = group.FirstRowFactor(te);
            if (!(f >= 1.0) || !(qNom > 0.0)) return kNoData;
            capacity = qNom / f;
            difference = group.typeLetter == 'U' && second > 0.0 ? second : evaporatorStep();
            break;
        }
        default: {
            // Expansion valves: the pressure difference across the valve from the saturation
            // pressures on the refrigerant's basis, less the rest of the system's drop.
            double pe = 0.0;
            double pc = 0.0;
            double tableEvap = te;
            double bubble = tc;
            if (ref.basis == 'M') {
                ref.MidTemperaturesToPressures(s, tc, te, pc, pe);
                bubble = ref.BubbleTemperature(pc);
                tableEvap = ref.DewTemperature(pe);
            } else {
                pe = ref.DewPressure(te);
                pc = ref.DewPressure(tc);
                if (ref.basis != 'N') bubble = ref.BubbleTemperature(pc);
            }
            const double liquid = bubble - s;
            SetResult(q::LiquidTemp, liquid);
            const double k = group.TableFactor(tableEvap, liquid);
            if (noData(k)) return kNoData;
            difference = pc - pe - systemDrop;
            const double root =
                difference > 0.0 && second > 0.0 ? std::sqrt(second / difference) : 0.0;
            const double o = group.typeLetter == 'T' && s > 15.0 ? (100.0 - s) / 100.0 : 1.0;
            if (!(root > 0.001) || !(o > 0.001)) return kNoData;
            capacity = qNom / k / root / o;
            break;
        }
    }
    if (ref.stickyError || !std::isfinite(capacity) || !std::isfinite(difference)) return kNoData;
    SetResult(q::CoolingCapacity, capacity);
    SetResult(q::PressureDifference, difference);
    return status;
}

}  // namespace kelvra
