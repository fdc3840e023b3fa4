#pragma once

// Units of measure and the quantity catalogue.
//
// Every value is held and computed in one internal unit set (kW, A, g/s, degrees C, K, bar
// absolute, m3/h, rpm, %) and converted only where it is typed in or shown. A quantity is named by
// its QuantityCode, which is also its index in a model's result vector.

#include <cstdint>
#include <string>
#include <string_view>

#include "activity_mode.hpp"

namespace kelvra {

// The unit system chosen by the user (settings key "units", the unit menu's tags). The values are
// fixed; any value other than Imperial or Kcal behaves as SI.
enum class UnitSystem : std::int32_t {
    SI = 1,
    Imperial = 2,
    Kcal = 3,  // kcal-metric
};

constexpr std::int32_t ToInt(UnitSystem system) {
    return static_cast<std::int32_t>(system);
}

// A result quantity; the index into a model's result vector.
using QuantityCode = int;

namespace quantity {
inline constexpr QuantityCode Status = 0;                     // model status (not a quantity)
inline constexpr QuantityCode CoolingCapacity = 1;            // kW
inline constexpr QuantityCode PowerInput = 2;                 // kW
inline constexpr QuantityCode Current = 3;                    // A
inline constexpr QuantityCode COP = 4;                        // -
inline constexpr QuantityCode VolumetricEfficiency = 5;       // %
inline constexpr QuantityCode IsentropicEfficiency = 6;       // %
inline constexpr QuantityCode MassFlow = 7;                   // g/s
inline constexpr QuantityCode HeatRejection = 8;              // kW
inline constexpr QuantityCode CondensingTemp = 9;             // degC
inline constexpr QuantityCode DischargeTemp = 10;             // degC
inline constexpr QuantityCode HeatingCapacity = 11;           // kW
inline constexpr QuantityCode LiquidTemp = 12;                // degC
inline constexpr QuantityCode PowerFactor = 13;               // -
inline constexpr QuantityCode IntermediateSatTemp = 14;       // degC
inline constexpr QuantityCode PressureDifference = 15;        // bar (pressure drop or difference)
inline constexpr QuantityCode Displacement = 16;              // m3/h
inline constexpr QuantityCode CapacityReserved = 17;          // kW, capacity-like
inline constexpr QuantityCode LoadRatio = 18;                 // %
inline constexpr QuantityCode EconomiserCapacity = 19;        // kW
inline constexpr QuantityCode RefrigerationCOP = 20;          // -, cooling COP kept in heating use
inline constexpr QuantityCode SuctionPressure = 21;           // bar
inline constexpr QuantityCode DischargePressure = 22;         // bar
inline constexpr QuantityCode SeasonalEfficiency = 23;        // -
inline constexpr QuantityCode InjectionMassFlow = 24;         // g/s
inline constexpr QuantityCode InjectionTemp = 25;             // degC, vapour-injection temperature
inline constexpr QuantityCode IntermediateBubbleTemp = 26;    // degC
inline constexpr QuantityCode Speed = 27;                     // rpm
inline constexpr QuantityCode Load = 28;                      // %
inline constexpr QuantityCode IntermediatePressure = 30;      // bar
inline constexpr QuantityCode VapourOutletTemp = 31;          // degC, vapour-injection outlet
inline constexpr QuantityCode LiquidTempInjectionInlet = 32;  // degC
inline constexpr QuantityCode LiquidTempEconomiserOutlet = 33;  // degC
inline constexpr QuantityCode TemperatureDifference = 41;       // K
}  // namespace quantity

// Internal value -> value in the display unit of `system`.
double ToDisplay(QuantityCode code, UnitSystem system, double value);

// Display value (as typed in) -> internal value; the exact inverse of ToDisplay.
double FromDisplay(QuantityCode code, UnitSystem system, double value);

// Short unit label in UTF-8 ("kW", "kBtu/h", "\u00B0C", ...); empty for unitless quantities and
// codes outside the catalogue.
std::string UnitLabel(QuantityCode code, UnitSystem system);

// Decimals a quantity is shown with: 1 for temperatures and temperature differences, else 2.
int Decimals(QuantityCode code);

// Rounds a display value to a step that depends on the quantity and the value's magnitude
// (halves to even), so that shown figures do not pretend more accuracy than the ratings have.
double RoundForDisplay(QuantityCode code, double value);

// The index-th quantity (1-based) shown in a model's summary for an activity mode, or -1 after the
// end of the list, for an index outside 1..16, and for modes without a summary list.
QuantityCode SummaryQuantity(ActivityMode mode, int index);

// `text` (UTF-8) with every occurrence of `character` removed, e.g. the thousands separator of a
// typed-in number. An invalid code point leaves the text as it is.
std::string RemoveCharacter(char32_t character, std::string_view text);

}  // namespace kelvra
