#include "compressor.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "compressor_step.hpp"
#include "envelope.hpp"
#include "performance_table.hpp"
#include "rating_data.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace {

namespace st = model_status;
namespace q = quantity;
using compressor_detail::IsInjectionKind;

// Capacity factors above this are taken as the displacement factor of an enlarged model.
constexpr double kLargestDisplacementFactor = 1.1;
constexpr double kEnlargedDisplacementFactor = 1.2069;

// Results that a part-load blend interpolates between two load steps.
constexpr QuantityCode kBlendedResults[] = {
    q::CoolingCapacity,      q::PowerInput, q::Current,       q::VolumetricEfficiency,
    q::IsentropicEfficiency, q::MassFlow,   q::HeatRejection, q::DischargeTemp,
    q::HeatingCapacity,      q::PowerFactor};

}  // namespace

TComp::TComp() {
    classLetter = 'C';
}

// --- slots ---

bool TComp::FirstOptionFlag() const {
    return ratingSetA != nullptr && ratingSetA->FirstOptionFlag();
}

bool TComp::HasVapourInjection() const {
    return ratingSetA != nullptr && IsInjectionKind(ratingSetA->RatingModelKind());
}

bool TComp::HidesCurrent() const {
    return ratingSetA != nullptr && ratingSetA->TechnologyCode() == TcrateObj::kTechCurrentNotShown;
}

bool TComp::IsVariableSpeed() const {
    return ratingSetA != nullptr && ratingSetA->SpeedPolynomials() != nullptr;
}

bool TComp::IsInverterDriven() const {
    return ratingSetA != nullptr && ratingSetA->Inverter() != nullptr;
}

bool TComp::IsCO2Transcritical() const {
    return ratingSetA != nullptr &&
           ratingSetA->TechnologyCode() == TcrateObj::kTechCO2Transcritical;
}

bool TComp::HasLoadControl() const {
    return ratingSetB != nullptr;
}

std::int32_t TComp::NominalSpeed() const {
    return ratingSetA != nullptr ? ratingSetA->NominalSpeed() : 0;
}

bool TComp::EnvelopeBounds(double& yMin, double& yMax, double& xMax, double& xMin) const {
    return CompressorEnvelopeBounds(ratingSetA, ratingSetB, ratingSetC, load_, yMin, yMax, xMax,
                                    xMin);
}

double TComp::Displacement() const {
    if (ratingSetA == nullptr) return 0.0;
    const double factor = capacityFactor <= kLargestDisplacementFactor
                              ? static_cast<double>(capacityFactor)
                              : kEnlargedDisplacementFactor;
    return ratingSetA->Displacement() * factor;
}

// --- evaluation ---

ModelStatus TComp::Evaluate(OperatingConditions conditions, ActivityMode mode) {
    double ratio = 1.0;
    switch (mode) {
        case ActivityMode::CondensingUnits:
            // The unit's own liquid line: no subcooling of the compressor's, every degree of
            // superheat useful, no line drops.
            if (conditions.compSubcooling != 0.0) {
                conditions.subcooling = 0.0;
                conditions.compSubcooling = 0.0;
            }
            conditions.usefulAll = true;
            conditions.suctionLineDrop = 0.0;
            conditions.dischargeLineDrop = 0.0;
            break;
        case ActivityMode::HeatPumpCompressors: {
            // Saturated temperatures at the compressor are the evaporating and condensing
            // temperatures; useful superheat is the superheat.
            conditions.advanced = false;
            conditions.suctionLineDrop = 0.0;
            conditions.dischargeLineDrop = 0.0;
            const std::int32_t resolved =
                refrigerant != nullptr ? Resolve(conditions, refrigerant) : ResolveOk;
            if (resolved < 0) {
                const ModelStatus status = ClampCompressorStatus(resolved);
                SetStatus(status);
                ClearResults();
                return status;
            }
            break;
        }
        case ActivityMode::Compressors:
            ratio = conditions.capacityRatio;
            break;
        default:
            break;
    }

    const ModelStatus status = EvaluateAtLoad(conditions, ratio);

    if (mode == ActivityMode::HeatPumpCompressors && status >= 0 && Result(q::PowerInput) != 0.0) {
        SetResult(q::RefrigerationCOP, Result(q::COP));
        SetResult(q::COP, Result(q::HeatingCapacity) / Result(q::PowerInput));
    }
    return status;
}

ModelStatus TComp::EvaluateAtLoad(const OperatingConditions& c, double ratio) {
    ModelStatus status = st::Valid;
    if (!c.usefulAll && c.superheat + 0.0001 < c.usefulSuperheat + c.suctionLineDrop) {
        status = st::UsefulSuperheatTooHigh;
    } else if (!HasLoadControl() || load_ > 99) {
        status = EvaluateStep(c, ratingSetA, ratio);
    } else {
        const std::int32_t L = load_;
        TcrateObj* lower = nullptr;
        TcrateObj* upper = nullptr;
        double phi = 0.0;
        if (ratingSetC != nullptr) {
            if (L == 33) {
                status = EvaluateStep(c, ratingSetC, ratio);
            } else if (L <= 32) {
                status = st::NoLoadStepData;
            } else if (L < kThreeStepUpper) {
                lower = ratingSetC;
                upper = ratingSetB;
                phi = (L - 33.33) / 33.33;
            } else {
                lower = ratingSetB;
                upper = ratingSetA;
                phi = (L - 66.66) / 33.33;
            }
        } else if (L <= 49) {
            status = st::NoLoadStepData;
        } else {
            lower = ratingSetB;
            upper = ratingSetA;
            phi = (L - 50.0) / 50.0;
        }

        if (lower != nullptr) {
            status = EvaluateStep(c, lower, ratio);
            if (status >= 0) {
                const ResultVector low = Results();
                status = EvaluateStep(c, upper, ratio);
                if (status >= 0) {
                    for (const QuantityCode code : kBlendedResults)
                        SetResult(code, low[code] + (Result(code) - low[code]) * phi);
                    if (Result(q::PowerInput) != 0.0)
                        SetResult(q::COP, Result(q::CoolingCapacity) / Result(q::PowerInput));
                }
            }
        }
    }

    status = ClampCompressorStatus(status);
    SetStatus(status);
    if (status < 0) {
        ClearResults();
    } else {
        SetResult(q::Displacement, Displacement() * 3600.0);
        SetResult(q::Speed, speed_);
        SetResult(q::Load, load_);
    }
    return status;
}

// --- load steps ---

std::int32_t TComp::SolveLoad(OperatingConditions conditions, ActivityMode mode) {
    const double R = conditions.capacity;
    double load = 100.0;
    if (HasLoadControl() && EvaluateStep(conditions, ratingSetA, 1.0) >= 0) {
        const double QA = SelectionValue(mode);
        if (QA > R && EvaluateStep(conditions, ratingSetB, 1.0) >= 0) {
            const double QB = SelectionValue(mode);
            if (ratingSetC != nullptr) {
                if (R == QB) {
                    load = 66.6667;
                } else if (R > QB) {
                    load = QA == QB ? 100.0 : 100.0 - (QA - R) * 33.333 / (QA - QB);
                } else if (EvaluateStep(conditions, ratingSetC, 1.0) < 0) {
                    load = 66.667;
                } else {
                    const double QC = SelectionValue(mode);
                    if (R <= QC)
                        load = 33.333;
                    else if (QB != QC)
                        load = 66.667 - (QB - R) * 33.333 / (QB - QC);
                    else
                        load = 66.667;
                }
            } else if (R < QB) {
                load = 50.0;
            } else {
                load = QA == QB ? 100.0 : 100.0 - (QA - R) * 50.0 / (QA - QB);
            }
        }
    }
    const auto rounded = static_cast<std::int32_t>(std::lround(load));
    SetLoad(rounded);
    return rounded;
}

// --- performance table ---

void TComp::SetUpTableAxes(ModelTable& model_table, UnitSystem unitSystem) {
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr) return;
    table->SetUnitSystem(unitSystem);
    double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
    if (!EnvelopeBounds(yMin, yMax, xMax, xMin)) {
        table->SetRowCount(kUnboundedTableRows);
        const std::vector<double> columns = UnboundedTableColumns();
        table->SetColumns(columns);
    } else {
        const std::vector<double> columns = CompressorTableColumns(xMin, xMax, unitSystem);
        const std::vector<double> rows =
            CompressorTableRows(yMin, yMax, unitSystem, IsCO2Transcritical());
        table->SetColumns(columns);
        table->SetRows(rows);
    }
    table->ConvertAxes();
}

void TComp::FillTable(ModelTable& model_table, OperatingConditions c, ActivityMode mode,
                      UnitSystem unitSystem) {
    TCModel::FillTable(model_table, c, mode, unitSystem);
    auto* table = dynamic_cast<TTableObject*>(&model_table);
    if (table == nullptr || c.advanced) {
        model_table.SetComputed(false);
        return;
    }
    if (ratingSetA != nullptr && ratingSetA->CapsSubcooling())
        c.subcooling =
            std::min(c.subcooling, HasVapourInjection() ? kCappedSubcoolingVI : kCappedSubcooling);

    // The table must not change what the model shows for the operating point.
    const ResultVector kept = Results();
    const bool transcritical = IsCO2Transcritical() && refrigerant != nullptr;
    const double critical = refrigerant != nullptr ? refrigerant->criticalTemperature : 0.0;

    for (int i = 0; i < table->RowCount(); ++i) {
        const double y = table->RowValueSI(i);
        if (transcritical) {
            c.gasCoolerOutletTemp = y;
            if (y < critical) {
                c.condTemp = y;
                c.satDischargeTemp = y;
                c.condPressure = refrigerant->BubblePressure(y);
                c.dischargePressure = c.condPressure;
            }
        } else {
            c.condTemp = y;
            c.satDischargeTemp = y;
        }
        TrowObj& row = table->AddRow(table->RowValue(i), y);

        for (int j = 0; j < table->ColumnCount(); ++j) {
            const double x = table->ColumnValueSI(j);
            c.evapTemp = x;
            c.satSuctionTemp = x;
            ModelStatus status = model_status::EvaluationFailed;
            try {
                if (transcritical && !(y < critical)) {
                    c.condPressure = OptimumGasCoolerPressure(c);
                    c.dischargePressure = c.condPressure;
                }
                status = EvaluateGuarded(c, mode);
            } catch (...) {
                // The gas-cooler pressure search evaluates too; a fault there fails the cell.
                status = model_status::EvaluationFailed;
            }
            status = ClampTableStatus(status);
            ResultVector& cell = row.Cell(j);
            if (status >= 0) {
                cell = Results();
                if (transcritical) cell.Set(quantity::PressureDifference, c.condPressure);
            } else {
                cell.Set(quantity::CoolingCapacity, 0.0);
            }
            cell.SetStatus(status);
        }
    }
    SetResults(kept);
}

// --- CO2 gas-cooler pressure ---

double TComp::OptimumGasCoolerPressure(const OperatingConditions& conditions) {
    if (refrigerant == nullptr) return conditions.condPressure;
    Trefrigerant& ref = *refrigerant;
    if (!(conditions.gasCoolerOutletTemp > ref.criticalTemperature))
        return ref.BubblePressure(conditions.liquidTemp);

    double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
    if (!EnvelopeBounds(yMin, yMax, xMax, xMin)) return conditions.condPressure;

    const auto copAt = [&](double pressure) {
        OperatingConditions at = conditions;
        at.condPressure = pressure;
        at.dischargePressure = pressure;
        Evaluate(at, ActivityMode::Compressors);
        return Result(q::COP);
    };

    const double pHigh = yMax;
    const double pLow = std::max(std::floor(ref.criticalPressure) + 1.0, yMin);
    double step = (pHigh - pLow) / 2.0;
    double p = (pHigh + pLow) / 2.0;
    double best = copAt(p);
    bool lowerAlways = true;
    bool upperAlways = true;
    for (int n = 0; step > 0.2 && n < kGasCoolerSearchSteps; ++n) {
        const double lowerCop = copAt(p - step);
        const double upperCop = copAt(p + step);
        if (lowerCop > best) {
            p -= step;
            best = lowerCop;
            upperAlways = false;
        } else if (upperCop > best) {
            p += step;
            best = upperCop;
            lowerAlways = false;
        } else {
            lowerAlways = false;
            upperAlways = false;
        }
        step /= 2.0;
    }
    // The best COP may lie on a bound that the halving never reaches.
    if (lowerAlways) {
        if (copAt(pLow) > best) p = pLow;
    } else if (upperAlways) {
        if (copAt(pHigh) > best) p = pHigh;
    }
    return p;
}

}  // namespace kelvra
