#pragma once

// The standard rating points that the buttons of the conditions panel load: the LT, MT and HT
// points of EN 12900 / ARI for compressors and controls, EN 13215 for condensing units, the
// heat-pump-compressor points, the four points of each kind of water heat pump and the nominal
// point of expansion valves. Each returns a whole new operating point, built on the current one,
// that the window hands to SelectionDriver::applyConditions.

#include <string_view>

#include "activity_mode.hpp"
#include "operating_conditions.hpp"

namespace kelvra {

class Trefrigerant;

enum class StandardButton { LT, MT, HT };

class StandardPoints {
  public:
    // Refrigerant number of the fluid whose LT point uses superheat class 5 in compressor mode.
    static constexpr int kClass5Refrigerant = 23;

    // The LT, MT or HT point of `mode` for the chosen standard, or the current point unchanged
    // where the mode has none (heat pumps). Carbon dioxide in compressor mode has points of its
    // own, transcritical at MT and HT.
    static OperatingConditions Standard(StandardButton button, ActivityMode mode,
                                        RatingStandard standard,
                                        const Trefrigerant* refrigerant,
                                        OperatingConditions current);

    // The language key of the button's hint.
    static std::string_view HintKey(StandardButton button, ActivityMode mode,
                                    RatingStandard standard, const Trefrigerant* refrigerant);
    // Whether the mode offers LT/MT/HT buttons (modes 0 to 6).
    static bool HasStandardButtons(ActivityMode mode);
    // Whether the EN/ARI choice applies to the mode's buttons (modes 0, 3, 4, 5, 6).
    static bool UsesRatingStandard(ActivityMode mode);
    // Whether the EN/ARI radios are offered (modes 0, 3, 4, 5); mode 6 keeps the last choice.
    static bool ShowsRatingStandard(ActivityMode mode);

    // Heat-pump points 1..4: source inlet and water outlet temperature of the brine/water or
    // air/water standard points; the current point for any other mode or button.
    static OperatingConditions HeatPump(int button, ActivityMode mode, OperatingConditions current);
    static std::string_view HeatPumpHintKey(int button, ActivityMode mode);

    // The nominal point of expansion valves for the refrigerant.
    static OperatingConditions Nominal(const Trefrigerant* refrigerant,
                                       OperatingConditions current);

    // Line drops, useful superheat and liquid temperature rise back to none: what "Close" on the
    // losses panel does before the point is applied again.
    static OperatingConditions ClearAdvanced(OperatingConditions current);
};

}  // namespace kelvra
