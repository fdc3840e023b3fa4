#include "conditions_form.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "language_texts.hpp"
#include "refrigerant.hpp"
#include "standard_points.hpp"

namespace kelvra {

namespace {

bool IsControlsMode(ActivityMode mode) {
    const int m = ToInt(mode);
    return m >= 3 && m <= 6;
}

bool IsHeatPump(ActivityMode mode) {
    return mode == ActivityMode::BrineWaterHeatPumps || mode == ActivityMode::AirWaterHeatPumps;
}

// Widest ranges an edit accepts, in internal units.
constexpr double kLowestTemperature = -150;
constexpr double kHighestTemperature = 250;
constexpr double kHighestDifference = 100;
constexpr double kHighestPressure = 200;
constexpr double kHighestOrdaDrop = 1000;

std::string WithUnit(const std::string& text, const std::string& unit) {
    return unit.empty() ? text : text + " " + unit;
}

}  // namespace

QuantityCode QuantityOf(InputKind kind) {
    switch (kind) {
        case InputKind::Temperature: return quantity::CondensingTemp;
        case InputKind::TemperatureDifference: return quantity::TemperatureDifference;
        case InputKind::Pressure: return quantity::SuctionPressure;
        case InputKind::PressureDifference: return quantity::PressureDifference;
        case InputKind::Capacity: return quantity::CoolingCapacity;
    }
    return quantity::CondensingTemp;
}

double ConditionsForm::toDisplay(InputKind kind, double value) const {
    return ToDisplay(QuantityOf(kind), c_.units, value);
}

double ConditionsForm::fromDisplay(InputKind kind, double value) const {
    return FromDisplay(QuantityOf(kind), c_.units, value);
}

std::string ConditionsForm::unit(InputKind kind) const {
    return UnitLabel(QuantityOf(kind), c_.units);
}

void ConditionsForm::range(ConditionRowView& view, double lowest, double highest) const {
    view.minimum = toDisplay(view.kind, lowest);
    view.maximum = toDisplay(view.kind, highest);
    // A value outside the range is shown as it is, not clipped.
    view.minimum = std::min(view.minimum, view.value);
    view.maximum = std::max(view.maximum, view.value);
}

bool ConditionsForm::conditionsPanelVisible() const { return !IsHeatPump(c_.mode); }

bool ConditionsForm::heatPumpPanelVisible() const { return IsHeatPump(c_.mode); }

bool ConditionsForm::lossesPanelVisible(const OperatingConditions& conditions) const {
    return c_.mode == ActivityMode::Compressors && conditions.advanced;
}

bool ConditionsForm::nominalButtonVisible() const {
    return c_.mode == ActivityMode::ExpansionValves;
}

ConditionRowView ConditionsForm::row(ConditionRow which, const OperatingConditions& c) const {
    const ActivityMode mode = c_.mode;
    const int m = ToInt(mode);
    const bool units = mode == ActivityMode::CondensingUnits;
    const bool controls = IsControlsMode(mode);
    const bool panel = conditionsPanelVisible();
    const std::string temperature = unit(InputKind::Temperature);
    const std::string difference = unit(InputKind::TemperatureDifference);
    const std::string pressure = unit(InputKind::Pressure);
    ConditionRowView v;
    switch (which) {
        case ConditionRow::Evaporating:
            v.visible = panel;
            v.boxVisible = true;
            v.items = {WithUnit(Text("strEvapTemp", "Evaporating Temp"), temperature),
                       WithUnit(Text("strEvapPress", "Evaporating Pressure"), pressure)};
            v.item = c.evapByPressure != 0 ? 1 : 0;
            if (v.item == 1) {
                v.kind = InputKind::Pressure;
                v.value = toDisplay(v.kind, c.evapPressure);
                range(v, 0, kHighestPressure);
            } else {
                v.kind = InputKind::Temperature;
                v.value = toDisplay(v.kind, c.evapTemp);
                range(v, kLowestTemperature, kHighestTemperature);
            }
            break;
        case ConditionRow::UsefulSuperheat:
            v.visible = panel && (m == 0 || units);
            v.boxVisible = true;
            v.items = {Text("strUseful100", "Useful superheat 100%"),
                       Text("strUsefulSuperheat", "Useful Superheat")};
            v.item = c.usefulAll ? 0 : 1;
            v.editVisible = v.item == 1;
            v.kind = InputKind::TemperatureDifference;
            v.value = toDisplay(v.kind, c.usefulSuperheat);
            range(v, 0, kHighestDifference);
            break;
        case ConditionRow::Suction:
            v.visible = panel && m <= 2;
            v.boxVisible = true;
            v.items = {WithUnit(Text("strSGR", "SGR"), temperature),
                       WithUnit(Text("strSuperheat", "Superheat"), difference)};
            v.item = c.useSGR ? 0 : 1;
            if (c.useSGR) {
                v.kind = InputKind::Temperature;
                v.value = toDisplay(v.kind, c.suctionGasReturn);
                range(v, kLowestTemperature, kHighestTemperature);
            } else {
                v.kind = InputKind::TemperatureDifference;
                v.value = toDisplay(v.kind, c.superheat);
                range(v, 0, kHighestDifference);
            }
            break;
        case ConditionRow::Condensing:
            v.visible = panel;
            v.items = {WithUnit(Text("strCondTemp", "Condensing Temp"), temperature),
                       WithUnit(Text("strCondPress", "Condensing Pressure"), pressure)};
            if (units) {
                v.label = WithUnit(Text("strAmbtemp", "Ambient temp"), temperature);
                v.kind = InputKind::Temperature;
                v.value = toDisplay(v.kind, c.ambientTemp);
                range(v, kLowestTemperature, kHighestTemperature);
            } else if (c_.transcritical) {
                v.item = 1;
                v.label = " " + Text("strDiscPress", "Discharge pressure") + " " + pressure;
                v.kind = InputKind::Pressure;
                v.value = toDisplay(v.kind, c.condPressure);
                range(v, 0, kHighestPressure);
            } else {
                v.boxVisible = true;
                v.item = c.condByPressure != 0 ? 1 : 0;
                if (v.item == 1) {
                    v.kind = InputKind::Pressure;
                    v.value = toDisplay(v.kind, c.condPressure);
                    range(v, 0, kHighestPressure);
                } else {
                    v.kind = InputKind::Temperature;
                    v.value = toDisplay(v.kind, c.condTemp);
                    range(v, kLowestTemperature, kHighestTemperature);
                }
                // Above the highest pressure the refrigerant may be used at.
                v.red = (m == 0 || m == 2) && c.condByPressure != 0 && c_.refrigerant != nullptr &&
                        c_.refrigerant->IsAboveR410ALimit(c.condTemp);
            }
            break;
        case ConditionRow::Liquid:
            v.visible = panel && !units;
            v.items = {WithUnit(controls ? Text("strTotSubcool", "Total subcooling")
                                         : Text("lblSubcool", "Subcooling"),
                                difference),
                       WithUnit(Text("strLiquidTemp", "Liquid temperature"), temperature)};
            if (c_.transcritical) {
                v.item = 1;
                v.label = WithUnit(Text("lblCoolGas", "Gas cooler outlet"), temperature);
                v.kind = InputKind::Temperature;
                v.value = toDisplay(v.kind, c.gasCoolerOutletTemp);
                range(v, kLowestTemperature, kHighestTemperature);
            } else {
                v.boxVisible = true;
                v.item = c.liquidTempGiven ? 1 : 0;
                if (c.liquidTempGiven) {
                    v.kind = InputKind::Temperature;
                    v.value = toDisplay(v.kind, c.liquidTemp);
                    range(v, kLowestTemperature, kHighestTemperature);
                } else {
                    v.kind = InputKind::TemperatureDifference;
                    v.value = toDisplay(v.kind, c.subcooling);
                    range(v, -kHighestDifference, kHighestDifference);
                }
                v.red = c.subcooling < 0;
            }
            break;
        case ConditionRow::Orda:
            v.visible = controls;
            if (mode == ActivityMode::SolenoidValves) {
                v.kind = InputKind::Capacity;
                v.label = WithUnit(Text("strReqCap", "Required capacity"), unit(v.kind));
                v.value = toDisplay(v.kind, c.capacity);
            } else if (mode == ActivityMode::ExpansionValves) {
                v.kind = InputKind::PressureDifference;
                v.label = WithUnit(Text("lblSysPD", "System pressure difference"), unit(v.kind));
                v.value = toDisplay(v.kind, c.ordaSystemDrop);
            } else {
                v.kind = InputKind::PressureDifference;
                v.label = WithUnit(Text("lblDiffPress", "Pressure difference"), unit(v.kind));
                v.value = toDisplay(v.kind, c.ordaComponentDrop);
            }
            range(v, 0, kHighestOrdaDrop);
            break;
        case ConditionRow::WaterOutlet:
            v.visible = IsHeatPump(mode);
            v.kind = InputKind::Temperature;
            v.label = WithUnit(Text("lblWaterOut", "Heated Water Out"), temperature);
            v.value = toDisplay(v.kind, c.waterOutletTemp);
            range(v, kLowestTemperature, kHighestTemperature);
            break;
        case ConditionRow::SourceInlet:
            v.visible = IsHeatPump(mode);
            v.kind = InputKind::Temperature;
            v.label = WithUnit(mode == ActivityMode::AirWaterHeatPumps
                                   ? Text("strAirOn", "Air on temperature")
                                   : Text("strBrineInlet", "Brine inlet temperature"),
                               temperature);
            v.value = toDisplay(v.kind, c.sourceInletTemp);
            range(v, kLowestTemperature, kHighestTemperature);
            break;
    }
    return v;
}

bool ConditionsForm::enter(ConditionRow which, double displayValue,
                           OperatingConditions& c) const {
    if (!std::isfinite(displayValue)) return false;
    const ConditionRowView view = row(which, c);
    if (!view.visible) return false;
    const double value = fromDisplay(view.kind, displayValue);
    switch (which) {
        case ConditionRow::Evaporating:
            if (view.item == 1) {
                if (!(value > 0)) return false;  // no evaporating side at or below zero
                c.evapPressure = value;
                c.evapByPressure = 1;
            } else {
                c.evapTemp = value;
                c.evapByPressure = 0;
            }
            return true;
        case ConditionRow::UsefulSuperheat:
            if (!view.editVisible) return false;
            c.usefulSuperheat = std::max(0.0, value);
            return true;
        case ConditionRow::Suction:
            if (view.item == 0) {
                c.suctionGasReturn = value;
                c.useSGR = true;
            } else {
                c.superheat = std::max(0.0, value);
                c.useSGR = false;
            }
            return true;
        case ConditionRow::Condensing:
            if (c_.mode == ActivityMode::CondensingUnits) {
                c.ambientTemp = value;
            } else if (view.item == 1) {
                c.condPressure = std::max(0.0, value);
                c.condByPressure = 1;
            } else {
                c.condTemp = value;
                c.condByPressure = 0;
            }
            return true;
        case ConditionRow::Liquid:
            if (c_.transcritical) {
                c.gasCoolerOutletTemp = value;
            } else if (view.item == 1) {
                c.liquidTemp = value;
                c.liquidTempGiven = true;
            } else {
                c.subcooling = value;
                c.liquidTempGiven = false;
            }
            return true;
        case ConditionRow::Orda: {
            const double taken = std::clamp(value, 0.0, kHighestOrdaDrop);
            if (c_.mode == ActivityMode::SolenoidValves)
                c.capacity = taken;
            else if (c_.mode == ActivityMode::ExpansionValves)
                c.ordaSystemDrop = static_cast<float>(taken);
            else
                c.ordaComponentDrop = static_cast<float>(taken);
            return true;
        }
        case ConditionRow::WaterOutlet:
            c.waterOutletTemp = static_cast<float>(value);
            return true;
        case ConditionRow::SourceInlet:
            c.sourceInletTemp = static_cast<float>(value);
            return true;
    }
    return false;
}

bool ConditionsForm::choose(ConditionRow which, int item, OperatingConditions& c) const {
    if (item != 0 && item != 1) return false;
    const ConditionRowView view = row(which, c);
    if (!view.visible || !view.boxVisible || view.item == item) return false;
    switch (which) {
        case ConditionRow::Evaporating:
            c.evapByPressure = item;
            return true;
        case ConditionRow::UsefulSuperheat:
            if (item == 0) {
                c = StandardPoints::ClearAdvanced(c);
            } else {
                c.advanced = true;
                c.usefulAll = false;
            }
            return true;
        case ConditionRow::Suction:
            c.useSGR = item == 0;
            return true;
        case ConditionRow::Condensing:
            c.condByPressure = item;
            return true;
        case ConditionRow::Liquid:
            c.liquidTempGiven = item == 1;
            return true;
        default:
            return false;
    }
}

CapacityView ConditionsForm::capacity(const OperatingConditions& c) const {
    CapacityView v;
    const ActivityMode mode = c_.mode;
    if (mode == ActivityMode::SolenoidValves) {
        v.kind = InputKind::PressureDifference;
        v.caption = WithUnit(Text("strReqDiffP", "Required pressure difference"),
                             unit(v.kind));
        v.hintKey = "strReqDiffP";
        v.hint = Text("strReqDiffP", "Required pressure difference");
        v.value = toDisplay(v.kind, c.ordaDiffPressure);
        v.minimum = toDisplay(v.kind, 0.05);
        v.maximum = toDisplay(v.kind, 0.75);
        v.step = 0.01;
        return v;
    }
    v.kind = InputKind::Capacity;
    const bool heating = mode == ActivityMode::HeatPumpCompressors || IsHeatPump(mode);
    if (heating) {
        v.hintKey = "strReqHeatCap";
        v.hint = Text("strReqHeatCap", "Required heating capacity");
    } else if (mode == ActivityMode::Compressors && c.advanced) {
        v.hintKey = "strReqEvapCap";
        v.hint = Text("strReqEvapCap", "Required evaporator capacity");
    } else {
        v.hintKey = "strReqCap";
        v.hint = Text("strReqCap", "Required capacity");
    }
    v.caption = WithUnit(Text("strReqCap", "Required capacity"), unit(v.kind));
    v.value = toDisplay(v.kind, c.capacity);
    v.minimum = 0;
    v.maximum = std::max(1000.0, v.value);
    v.step = 1;
    return v;
}

double ConditionsForm::capacityFromDisplay(double displayValue) const {
    const InputKind kind = c_.mode == ActivityMode::SolenoidValves ? InputKind::PressureDifference
                                                                    : InputKind::Capacity;
    return fromDisplay(kind, displayValue);
}

std::vector<LossLine> ConditionsForm::losses(const OperatingConditions& c,
                                             bool vapourInjectionModel) const {
    const std::string difference = unit(InputKind::TemperatureDifference);
    const auto format = [&](double kelvin) {
        char text[64];
        std::snprintf(text, sizeof text, "%3.1f",
                      toDisplay(InputKind::TemperatureDifference, kelvin));
        return WithUnit(text, difference);
    };
    return {
        {Text("lblSuctionLinePD", "Suction line PD"), format(c.suctionLineDrop), true},
        {Text("lblDischargeLinePD", "Discharge line PD"), format(c.dischargeLineDrop),
         vapourInjectionModel},
        {Text("lblEVILiqTempRise", "EVI Liq Temp Rise"), format(c.liquidLineTempRise),
         vapourInjectionModel},
    };
}

SpeedView ConditionsForm::speed(bool hasVariableSpeed, bool hasInverterSpeed, bool autoSelect,
                                bool hertz, const OperatingConditions& c) {
    SpeedView v;
    v.hertz = hertz;
    v.decimals = hertz ? 1 : 0;
    if (hasVariableSpeed) {
        // Solved for the requirement while the choice is automatic: shown only by hand.
        v.visible = !autoSelect;
        v.value = hertz ? c.rpm / 60.0 : c.rpm;
        v.minimum = hertz ? 24 : 144;
        v.maximum = hertz ? 200 : 12000;
    } else if (hasInverterSpeed) {
        v.visible = true;
        v.inverter = true;
        v.value = hertz ? c.inverterRpm / 30.0 : c.inverterRpm;
        v.minimum = hertz ? 30 : 900;
        v.maximum = hertz ? 70 : 2100;
    }
    return v;
}

LoadView ConditionsForm::load(bool hasLoadControl, bool autoSelect,
                              const OperatingConditions& c) {
    LoadView v;
    v.visible = hasLoadControl && !autoSelect;
    v.value = std::clamp(c.loadPercent, 33, 100);
    return v;
}

}  // namespace kelvra
