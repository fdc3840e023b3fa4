#pragma once
// Rating data computed from a compressor's physical description.
//
// For one compressor model on one refrigerant and supply, and one load step, the generator
// computes the performance at the rated superheat (or suction gas temperature) and subcooling
// at points covering the model's envelope, fits the family's rating model to it by least
// squares and writes the rating data set through the rating-set builder, with its envelopes and
// speed or inverter data. The fit's worst deviations come with it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue_source.hpp"
#include "compressor_physics.hpp"
#include "operating_conditions.hpp"
#include "rating_basis.hpp"
#include "rating_set_builder.hpp"
#include "refrigerant.hpp"

namespace kelvra::catalogue {

// Everything that identifies one rating of the range.
struct RatingTarget {
    const CompressorFamilyDef* family = nullptr;
    const CompressorModelDef* model = nullptr;
    const RefrigerantDef* refrigerantDef = nullptr;
    const SupplyDef* supply = nullptr;
    const EnvelopeSetDef* envelope = nullptr;
    Trefrigerant* refrigerant = nullptr;
    int step = 0;  // 0 full load (set A), 1 set B, 2 set C
};

// The worst deviations of a set's fits over the points they were fitted to.
struct FitReport {
    double capacity = 0;       // relative (mass flow for CO2 sets, volumetric efficiency for the efficiency model)
    double power = 0;          // relative
    double current = 0;        // relative
    double intermediateK = 0;  // K, intermediate temperature of vapour injection (or the mass flow's relative deviation, kind 4)
    int points = 0;
    std::string forms;         // the efficiency model's chosen forms, e.g. "volumetric 4, loss 1"
};

struct GeneratedSet {
    RatingSetBuilder builder;
    FitReport report;
    CompressorPhysics physics;
    double maxPower = 0;    // kW over the fit points at the rated state
    double maxCurrent = 0;  // A
};

// The refrigerant's compression exponent: the given one, else the isentropic exponent of a
// typical compression (evaporating -10 degC, condensing 40 degC; CO2 to 90 bar), 3 decimals.
double CompressionExponent(const RefrigerantDef& def, Trefrigerant& ref);

// The physical description of a model on a refrigerant and supply at a load step.
CompressorPhysics BuildPhysics(const RatingTarget& t);

// The state at the compressor for an envelope point (x, y) with subcooling E and the family's
// rating options; y is the discharge pressure on a pressure axis.
BasisState PointState(const RatingTarget& t, double x, double y, double E);

// The rated suction gas temperature at a state.
double RatedSuctionGas(const RatingDef& r, const BasisState& s);

// The operating conditions of the envelope point (x, y) with the given superheat and subcooling
// (superheat as input), resolved for the refrigerant; on a pressure axis y is the discharge
// pressure and `gasCooler` the gas-cooler outlet temperature.
OperatingConditions ConditionsAt(const RatingTarget& t, double x, double y, double superheat,
                                 double subcooling, double gasCooler = 35.0);

// The physical performance at resolved conditions as the compressor model reads them: the
// state at the compressor from the conditions' saturated temperatures, the conditions'
// suction gas and liquid, the given speed ratio.
PhysicalResult PhysicalAt(const RatingTarget& t, const CompressorPhysics& physics,
                          const OperatingConditions& c, double speedRatio = 1.0);

// Points (x, y) of the envelope set on which the rating is fitted: a grid of `step` spacing
// inside any envelope with both lines where the compressor may run, plus the corners. For a variable-speed set, `speed`
// chooses the level (0: the base envelope).
std::vector<Point2> FitPoints(const EnvelopeSetDef& set, double step, int speed = 0);

// Computes and fits the rating data set with index `index`.
GeneratedSet GenerateRatingSet(const RatingTarget& t, std::uint16_t index);

}  // namespace kelvra::catalogue
