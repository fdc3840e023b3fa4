#pragma once

// The operating-envelope picture: condensing temperature (or, for transcritical CO2, discharge
// pressure) over evaporating temperature, with one limit line per envelope of the rating set,
// the special-limit envelopes, the maximum-pressure line of a condensing unit and the operating
// point as a red cross.
//
// Three pieces, each usable without a window:
//  - EnvelopePicture: what is drawn, in engineering units, taken from a compressor;
//  - EnvelopeGeometry: the axes and the pixel mapping for a paint area of a given size;
//  - PaintEnvelope: draws a picture on any QPainter (screen, clipboard image, report page).

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "activity_mode.hpp"
#include "operating_conditions.hpp"

class QPainter;

namespace kelvra {

class TCModel;
class TComp;

// A point of the plot: evaporating temperature (degC) and condensing temperature (degC) or
// discharge pressure (bar).
struct EnvelopeXY {
    double x = 0;
    double y = 0;
};

// The legend slots 1..6 take the rating set's envelopes 1..6; 7 is the maximum-power line,
// 8 the extended (hatched) region.
inline constexpr int kEnvelopeLegendSlots = 6;

// The line colour of legend slot 1..6 (black outside that range).
QColor EnvelopeSlotColour(int slot);

struct EnvelopeSlot {
    bool present = false;  // the set has this envelope with both lines
    bool drawn = false;    // and the current suction conditions lie in its band
    std::string name;      // the envelope type's name
    std::vector<EnvelopeXY> limit;     // left line: minimum evaporating temperature
    std::vector<EnvelopeXY> boundary;  // right line: maximum evaporating temperature
};

struct EnvelopePicture {
    std::string modelName;
    bool pressureAxis = false;  // y is the discharge pressure in bar
    std::array<EnvelopeSlot, kEnvelopeLegendSlots> legend;
    std::optional<double> maxPowerX;            // slot 7: the evaporating temperature of its line
    std::vector<EnvelopeXY> extendedRegion;     // slot 8: a closed polygon; empty when absent
    std::optional<EnvelopeXY> operatingPoint;   // none when the evaluation gave no valid point
    std::optional<double> maxPressureY;         // condensing unit: saturation temperature, degC
    // The extent of the envelopes (the compressor's envelope bounds).
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;

    bool anyDrawn() const;
};

// Axes and pixel mapping of the plot in a paint area.
class EnvelopeGeometry {
  public:
    static constexpr int kLeft = 45;       // px, left edge of the plot rectangle
    static constexpr int kTop = 15;        // px, top edge
    static constexpr int kRightSpace = 55;  // px, the width is the area width less this
    static constexpr int kBottomSpace = 60;  // px, the height is at most the area height less this
    static constexpr int kInset = 10;      // px, the grid is this much smaller than the rectangle
    static constexpr double kXStep = 5.0;   // K per column
    static constexpr double kYStep = 10.0;  // K (or bar) per row

    // Axes from the envelope extent: x from xMin rounded down to a multiple of 5 in 5 K steps
    // until past xMax; y from yMin rounded down to a multiple of 10 up to yMax rounded down to
    // a multiple of 10 plus 10.
    EnvelopeGeometry(double xMin, double xMax, double yMin, double yMax, QSize area);

    double xStart() const { return xStart_; }
    double xEnd() const { return xStart_ + columns_ * kXStep; }
    int columns() const { return columns_; }
    double yStart() const { return yStart_; }
    double yEnd() const { return yStart_ + rows_ * kYStep; }
    int rows() const { return rows_; }

    // The white plot rectangle.
    QRect plotRect() const { return plot_; }
    int columnWidth() const { return columnWidth_; }
    int rowHeight() const { return rowHeight_; }
    // The grid: from the lower left corner, columns() x rows() cells.
    QRect gridRect() const;

    // Pixel of a plot point.
    QPointF toPixel(double x, double y) const;
    // True when the pixel lies inside the plot rectangle.
    bool insidePlot(QPointF pixel) const;

  private:
    double xStart_ = 0;
    int columns_ = 1;
    double yStart_ = 0;
    int rows_ = 1;
    QRect plot_;
    int columnWidth_ = 1;
    int rowHeight_ = 1;
};

// The compressor whose envelope is drawn for the model shown in a mode: the compressor itself
// in modes 0 and 2, the unit's compressor in mode 1, the heat pump's compressor in modes 7 and
// 8; none for the Orda components of modes 3 to 6.
TComp* EnvelopeCompressor(TCModel* model, ActivityMode mode);

// The picture of a compressor's envelopes at its current load and speed, for the conditions.
// `unit` is the condensing unit in mode 1 (its condensing result gives the operating point and
// its maximum pressure the red line), else nullptr. False (picture untouched) when the
// compressor has no envelope.
bool BuildEnvelopePicture(TComp& compressor, const TCModel* unit,
                          const OperatingConditions& conditions, ActivityMode mode,
                          EnvelopePicture& picture);

// Draws the plot into `area` (the painter's coordinates start at the area's top left).
// `panel` is the colour around the plot.
void PaintEnvelope(QPainter& painter, QSize area, const EnvelopePicture& picture,
                   const QColor& panel);

}  // namespace kelvra
