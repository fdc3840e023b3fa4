#pragma once

// The pressure-enthalpy diagram of a refrigerant with the refrigeration cycle of an operating
// point on it: the saturation dome (bubble and dew lines up to the critical point), a few
// isotherms, and the cycle -- evaporation, superheat, compression to the discharge state,
// condensing or gas cooling, subcooling and expansion. The geometry is computed here from the
// refrigerant's property functions; PaintPhDiagram draws it on any QPainter with a logarithmic
// pressure axis and the enthalpy in kJ/kg.

#include <QRectF>
#include <string>
#include <vector>

#include "operating_conditions.hpp"

class QPainter;

namespace kelvra {

class Trefrigerant;

struct PhPoint {
    double h = 0;  // kJ/kg
    double p = 0;  // bar
};

struct PhIsotherm {
    double temperature = 0;  // degC
    std::vector<PhPoint> points;
};

// What a compressor with vapour injection reports of its economiser: the intermediate
// saturation temperature, the temperature of the vapour injected and the temperature of the
// liquid leaving the economiser (degC).
struct PhInjection {
    double intermediateSatTemp = 0;
    double injectionTemp = 0;
    double economiserLiquidTemp = 0;
};

// The corners of the cycle, in the order the refrigerant passes them.
struct PhCycle {
    bool transcritical = false;
    PhPoint evaporatorInlet;    // after expansion
    PhPoint evaporatorDew;      // saturated vapour at the evaporating pressure
    PhPoint suction;            // compressor inlet: suction gas temperature, after the line drop
    PhPoint discharge;          // compressor outlet
    PhPoint condenserDew;       // saturated vapour at the condensing pressure (subcritical)
    PhPoint condenserBubble;    // saturated liquid at the condensing pressure (subcritical)
    PhPoint liquid;             // liquid (or gas-cooler outlet) entering the expansion device
    double dischargeTemp = 0;   // degC
    // With vapour injection: the liquid leaving the economiser on the main flow, and the
    // injection flow expanded to the intermediate pressure and evaporated there.
    bool injection = false;
    PhPoint economiserLiquid;
    PhPoint injectionInlet;
    PhPoint injectionOutlet;
    // The closed polyline through the corners.
    std::vector<PhPoint> Path() const;
    // The injection branch: liquid, expanded, evaporated; empty without injection.
    std::vector<PhPoint> InjectionPath() const;
};

class PhDiagram {
  public:
    // Isentropic efficiency assumed for the compression when no discharge temperature is known.
    static constexpr double kAssumedIsentropicEfficiency = 0.7;

    // `conditions` are resolved for the refrigerant (pressures, suction gas and liquid
    // temperatures set). `dischargeTemp` (degC) is the compressor's, when known; otherwise
    // (0 or less, or not a number) the compression follows kAssumedIsentropicEfficiency.
    // `injection`, when given, adds the economiser of a vapour-injection compressor; the
    // liquid to the evaporator is then the economiser's liquid.
    static PhDiagram Compute(Trefrigerant& refrigerant, const OperatingConditions& conditions,
                             double dischargeTemp = 0, const PhInjection* injection = nullptr);

    std::string refrigerantName;
    std::vector<PhPoint> bubbleLine;  // ascending in pressure, ending below the critical point
    std::vector<PhPoint> dewLine;
    PhPoint critical;
    std::vector<PhIsotherm> isotherms;
    PhCycle cycle;
    bool cycleValid = false;  // every corner of the cycle could be computed
    // Axis ranges.
    double hMin = 0, hMax = 0, pMin = 0, pMax = 0;
};

// The pixel mapping of a diagram in a rectangle: enthalpy linear across, pressure logarithmic
// upwards.
class PhAxes {
  public:
    PhAxes(const PhDiagram& diagram, QRectF area);
    QPointF toPixel(double h, double p) const;
    QPointF toPixel(PhPoint point) const { return toPixel(point.h, point.p); }
    QRectF plot() const { return plot_; }
    // Pressure ticks 1, 2, 5 x 10^n within the range; enthalpy ticks every 50 or 100 kJ/kg.
    std::vector<double> pressureTicks() const;
    std::vector<double> enthalpyTicks() const;

  private:
    QRectF plot_;
    double hMin_, hMax_, logMin_, logMax_;
};

// The enthalpy (kJ/kg) of the fluid leaving a gas cooler at pressure p (bar, above the
// critical pressure) and temperature t (degC): the dense single-phase state, or below the
// critical temperature, where that call has no answer, the saturated liquid at t. The
// refrigerant's last-error flag tells whether the value is good.
double GasCoolerOutletEnthalpy(Trefrigerant& refrigerant, double p, double t);

// Draws the diagram into `area` (white background, axes, dome, isotherms, cycle in red).
void PaintPhDiagram(QPainter& painter, QRectF area, const PhDiagram& diagram);

}  // namespace kelvra
