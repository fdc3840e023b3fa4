#pragma once

// The operating-point inputs of the main window without their widgets: which rows each mode
// shows, which member of the operating point each row shows and writes, in which unit, and what
// a typed value or a choice of an input-kind box does to the point. Values stay in SI inside the
// record; a row converts to the display unit system when it is shown and back once when a value
// is entered.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "activity_mode.hpp"
#include "operating_conditions.hpp"
#include "units.hpp"

namespace kelvra {

class Trefrigerant;

enum class ConditionRow {
    Evaporating,      // evaporating temperature or pressure
    UsefulSuperheat,  // all superheat useful, or the useful part
    Suction,          // suction gas return or superheat
    Condensing,       // condensing temperature or pressure; ambient for condensing units
    Liquid,           // subcooling or liquid temperature; gas-cooler outlet when transcritical
    Orda,             // system or component pressure drop, or the capacity of solenoid valves
    WaterOutlet,      // heat pumps: heated water out
    SourceInlet,      // heat pumps: brine inlet or air on
};
inline constexpr int kConditionRowCount = 8;

// What a row's value is, for conversion and unit label.
enum class InputKind { Temperature, TemperatureDifference, Pressure, PressureDifference, Capacity };
QuantityCode QuantityOf(InputKind kind);

// One row as the panel shows it.
struct ConditionRowView {
    bool visible = false;
    bool boxVisible = false;           // the input-kind box, else `label`
    std::array<std::string, 2> items;  // the box's items, each with its unit
    int item = 0;                      // the item chosen
    std::string label;                 // the caption shown where the box is hidden
    bool editVisible = true;
    InputKind kind = InputKind::Temperature;
    double value = 0;  // in display units
    double minimum = 0;
    double maximum = 0;
    bool red = false;  // a value the point accepts but the user should look at
};

// The required-capacity edit (in solenoid-valve mode the required pressure difference).
struct CapacityView {
    InputKind kind = InputKind::Capacity;
    std::string caption;  // the radio's text, with the unit
    std::string hintKey;  // the radio's hint
    std::string hint;
    double value = 0;  // display units
    double minimum = 0;
    double maximum = 1000;
    double step = 1;
    int decimals = 2;
};

// One line of the losses panel.
struct LossLine {
    std::string label;
    std::string value;  // "%3.1f" and the temperature-difference unit
    bool enabled = true;
};

// The speed input that follows the candidates: the speed of the variable-speed models, or of the
// inverter-driven ones when there are no variable-speed models.
struct SpeedView {
    bool visible = false;
    bool inverter = false;
    bool hertz = false;
    double value = 0;
    double minimum = 0;
    double maximum = 0;
    int decimals = 0;
};

struct LoadView {
    bool visible = false;
    int value = 100;
    int minimum = 33;
    int maximum = 100;
};

class ConditionsForm {
  public:
    struct Context {
        ActivityMode mode = ActivityMode::Compressors;
        UnitSystem units = UnitSystem::SI;
        const Trefrigerant* refrigerant = nullptr;
        bool transcritical = false;
    };

    explicit ConditionsForm(const Context& context) : c_(context) {}

    // Modes 0 to 6 show the conditions panel, modes 7 and 8 the heat-pump panel.
    bool conditionsPanelVisible() const;
    bool heatPumpPanelVisible() const;
    // The losses panel: compressor mode with line drops and useful superheat in use.
    bool lossesPanelVisible(const OperatingConditions& conditions) const;
    // The nominal-conditions button: expansion valves only.
    bool nominalButtonVisible() const;

    ConditionRowView row(ConditionRow row, const OperatingConditions& conditions) const;

    // Stores a value typed into a row (display units). False when the value is not taken (a
    // pressure that is not above zero, a value that is no number, a row the mode does not show);
    // the record is then unchanged.
    bool enter(ConditionRow row, double displayValue, OperatingConditions& conditions) const;
    // The input-kind box of a row: which member the edit shows; the other is derived when the
    // point is resolved. False when the choice changes nothing.
    bool choose(ConditionRow row, int item, OperatingConditions& conditions) const;

    CapacityView capacity(const OperatingConditions& conditions) const;
    // The typed required capacity (or pressure difference) in internal units.
    double capacityFromDisplay(double displayValue) const;

    std::vector<LossLine> losses(const OperatingConditions& conditions,
                                 bool vapourInjectionModel) const;

    static SpeedView speed(bool hasVariableSpeed, bool hasInverterSpeed, bool autoSelect,
                           bool hertz, const OperatingConditions& conditions);
    static LoadView load(bool hasLoadControl, bool autoSelect,
                         const OperatingConditions& conditions);

  private:
    double toDisplay(InputKind kind, double value) const;
    double fromDisplay(InputKind kind, double value) const;
    std::string unit(InputKind kind) const;
    void range(ConditionRowView& view, double lowest, double highest) const;

    Context c_;
};

}  // namespace kelvra
