#pragma once

// Which result quantities an evaluated model fills, for lists and exports that show "every
// result" of a model without the zeros of quantities it never computes.

#include <vector>

#include "activity_mode.hpp"
#include "model.hpp"
#include "units.hpp"

namespace kelvra {

// The quantity codes the model fills when evaluated in `mode`, ascending:
// - compressors: capacity, power, current (unless hidden), COP, efficiencies, mass flow, heat
//   rejection, discharge temperature, heating capacity, liquid temperature, power factor,
//   displacement, suction and discharge pressure; the cooling COP in heat-pump-compressor mode;
//   the vapour-injection quantities with vapour injection; speed for variable-speed and
//   inverter-driven models, load for models with load steps;
// - condensing units: capacity, power, current, COP, condensing temperature;
// - heat pumps: power, COP, condensing temperature, heating capacity;
// - controls valves: capacity, liquid temperature, pressure difference;
// - any other model: none.
std::vector<QuantityCode> filledQuantities(const TCModel& model, ActivityMode mode);

}  // namespace kelvra
