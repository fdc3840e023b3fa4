#pragma once

#include <cstdint>

namespace kelvra {

// What is being selected. Stored as a 32-bit integer (settings key "mode"), so the values are
// fixed.
enum class ActivityMode : std::int32_t {
    Compressors = 0,
    CondensingUnits = 1,
    HeatPumpCompressors = 2,
    ExpansionValves = 3,
    SolenoidValves = 4,
    HeadPressureControls = 5,  // head-pressure controls and system protectors
    FilterDriers = 6,          // suction-line filter driers and pressure regulators
    BrineWaterHeatPumps = 7,
    AirWaterHeatPumps = 8,
};

inline constexpr std::int32_t kActivityModeCount = 9;

constexpr std::int32_t ToInt(ActivityMode mode) {
    return static_cast<std::int32_t>(mode);
}

// True for the values 0..8; anything else read from a file is not an activity mode.
constexpr bool IsActivityMode(std::int32_t value) {
    return value >= 0 && value < kActivityModeCount;
}

// Brine/water and air/water heat pumps (not the heat-pump compressors of mode 2).
constexpr bool IsHeatPumpMode(ActivityMode mode) {
    return mode == ActivityMode::BrineWaterHeatPumps || mode == ActivityMode::AirWaterHeatPumps;
}

}  // namespace kelvra
