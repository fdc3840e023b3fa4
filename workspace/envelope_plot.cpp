#include "envelope_plot.hpp"

#include <QBrush>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "compressor.hpp"
#include "envelope.hpp"
#include "heat_pump.hpp"
#include "product_records.hpp"
#include "rating_data.hpp"
#include "refrigerant.hpp"
#include "unit.hpp"
#include "units.hpp"

namespace kelvra {

namespace {

constexpr double kNoPoint = 200.0;  // an evaporating value at or above it is no valid point

// A value of the axis, written without trailing zeros ("-40", "12.5").
QString AxisText(double value) {
    return QString::number(std::abs(value) < 1e-9 ? 0.0 : value, 'g', 6);
}

// The plot's temperature of an envelope coordinate given on `pointBasis`, for a refrigerant
// whose temperatures are on `ref`'s own basis. Unchanged when the bases agree or a property
// call fails.
double OnRefrigerantBasis(Trefrigerant* ref, char pointBasis, double t) {
    if (ref == nullptr || ref->basis == pointBasis || pointBasis == 'N' || ref->basis == 'N')
        return t;
    double result = t;
    if (ref->basis == 'M' && pointBasis == 'D') {
        const double p = ref->DewPressure(t);
        if (!ref->lastError) result = ref->MidPointTemperature(p);
    } else if (ref->basis == 'D' && pointBasis == 'M') {
        const double p = ref->MidPointPressure(t);
        if (!ref->lastError) result = ref->DewTemperature(p);
    }
    return ref->lastError || !std::isfinite(result) ? t : result;
}

std::vector<EnvelopeXY> PlotLine(const EnvelopeLine& line, Trefrigerant* ref, bool pressureAxis) {
    std::vector<EnvelopeXY> out;
    out.reserve(line.size());
    for (const TenvPoint* p : line) {
        EnvelopeXY xy{p->x, p->y};
        if (!pressureAxis) {
            xy.x = OnRefrigerantBasis(ref, p->basis, p->x);
            xy.y = OnRefrigerantBasis(ref, p->basis, p->y);
        }
        out.push_back(xy);
    }
    return out;
}

// The lines of an envelope at speed n: the current envelope of a variable-speed envelope
// outside its base range, else its own lines.
const Tenvelope& LinesAtSpeed(const Tenvelope& envelope, std::int32_t n) {
    const auto* variable = dynamic_cast<const TVSenvelope*>(&envelope);
    if (variable == nullptr || !(envelope.speedInterpolation || envelope.speedBands)) return envelope;
    if (variable->InBaseRange(n)) return envelope;
    const Tenvelope& current = variable->Current();
    if (current.speed == n && current.HasBothLines()) return current;
    return envelope;
}

// True when the suction conditions lie in the band of the envelope type: the same limits as
// the envelope check (a superheat limit of 10 K counts as 11.2 K, of 5 K as 5.6 K).
bool InBand(const TenvObj* type, const OperatingConditions& c) {
    if (type == nullptr) return true;
    const float limit = type->Limit();
    if (type->ReturnGasMode()) return c.suctionGasReturn <= limit + kEnvelopeTolerance;
    double counted = limit;
    if (limit == 10.0f) counted = 11.2;
    if (limit == 5.0f) counted = 5.6;
    return c.superheat <= counted + kEnvelopeTolerance;
}

// The rating set whose envelopes apply at the compressor's load: 33 % set below 66.6 %, the
// next step below 100 %, else the full-load set.
TcrateObj* SetAtLoad(const TComp& compressor) {
    const double load = compressor.Load() > 0 ? compressor.Load() : 100;
    if (compressor.ratingSetC != nullptr && load < TComp::kThreeStepUpper) return compressor.ratingSetC;
    if (compressor.ratingSetB != nullptr && load < 100) return compressor.ratingSetB;
    return compressor.ratingSetA;
}

}  // namespace

QColor EnvelopeSlotColour(int slot) {
    static const QColor colours[kEnvelopeLegendSlots] = {
        QColor(0xFF, 0x00, 0xFF), QColor(0x80, 0x00, 0x80), QColor(0x80, 0x80, 0x00),
        QColor(0x00, 0x80, 0x80), QColor(0xFF, 0x80, 0x80), QColor(0xFF, 0x80, 0xFF)};
    if (slot < 1 || slot > kEnvelopeLegendSlots) return Qt::black;
    return colours[slot - 1];
}

bool EnvelopePicture::anyDrawn() const {
    return std::any_of(legend.begin(), legend.end(), [](const EnvelopeSlot& s) { return s.drawn; });
}

// ---------------------------------------------------------------------------------------------
// Geometry

EnvelopeGeometry::EnvelopeGeometry(double xMin, double xMax, double yMin, double yMax, QSize area) {
    if (!std::isfinite(xMin) || !std::isfinite(xMax) || xMax < xMin) xMax = xMin = 0;
    if (!std::isfinite(yMin) || !std::isfinite(yMax) || yMax < yMin) yMax = yMin = 0;
    xStart_ = std::floor(xMin / kXStep) * kXStep;
    columns_ = std::max(1, static_cast<int>(std::floor((xMax - xStart_) / kXStep)) + 1);
    yStart_ = std::floor(yMin / kYStep) * kYStep;
    const double yEnd = std::floor(yMax / kYStep) * kYStep + kYStep;
    rows_ = std::max(1, static_cast<int>(std::lround((yEnd - yStart_) / kYStep)));

    const int width = std::max(kInset + columns_, area.width() - kRightSpace);
    const int height = std::max(kInset + rows_, std::min(width, area.height() - kBottomSpace));
    plot_ = QRect(kLeft, kTop, width, height);
    columnWidth_ = std::max(1, (width - kInset) / columns_);
    rowHeight_ = std::max(1, (height - kInset) / rows_);
}

QRect EnvelopeGeometry::gridRect() const {
    const int left = plot_.left() + kInset / 2;
    const int bottom = plot_.top() + plot_.height() - kInset / 2;
    return QRect(left, bottom - rows_ * rowHeight_, columns_ * columnWidth_, rows_ * rowHeight_);
}

QPointF EnvelopeGeometry::toPixel(double x, double y) const {
    const QRect grid = gridRect();
    return {grid.left() + (x - xStart_) / kXStep * columnWidth_,
            grid.top() + grid.height() - (y - yStart_) / kYStep * rowHeight_};
}

bool EnvelopeGeometry::insidePlot(QPointF pixel) const {
    return pixel.x() >= plot_.left() && pixel.x() <= plot_.left() + plot_.width() &&
           pixel.y() >= plot_.top() && pixel.y() <= plot_.top() + plot_.height();
}

// ---------------------------------------------------------------------------------------------
// From the compressor

TComp* EnvelopeCompressor(TCModel* model, ActivityMode mode) {
    if (model == nullptr) return nullptr;
    switch (mode) {
        case ActivityMode::Compressors:
        case ActivityMode::HeatPumpCompressors:
            return dynamic_cast<TComp*>(model);
        case ActivityMode::CondensingUnits:
            if (auto* unit = dynamic_cast<Tunit*>(model)) return unit->compressor;
            return nullptr;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            if (auto* pump = dynamic_cast<THeatPump*>(model)) return pump->compressor;
            return nullptr;
        default:
            return nullptr;
    }
}

bool BuildEnvelopePicture(TComp& compressor, const TCModel* unit,
                          const OperatingConditions& conditions, ActivityMode mode,
                          EnvelopePicture& picture) {
    double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
    if (!compressor.EnvelopeBounds(yMin, yMax, xMax, xMin)) return false;
    TcrateObj* set = SetAtLoad(compressor);
    if (set == nullptr) return false;

    EnvelopePicture p;
    p.modelName = unit != nullptr ? unit->name : compressor.name;
    p.xMin = xMin;
    p.xMax = xMax;
    p.yMin = yMin;
    p.yMax = yMax;
    Trefrigerant* ref = compressor.refrigerant;
    // The basis conversions below ask the refrigerant for properties; its error flags belong
    // to the last evaluation and are given back as they were.
    struct KeepErrors {
        Trefrigerant* ref;
        std::int32_t code = ref ? ref->errorCode : 0;
        bool last = ref ? ref->lastError : false;
        bool sticky = ref ? ref->stickyError : false;
        ~KeepErrors() {
            if (ref == nullptr) return;
            ref->errorCode = code;
            ref->lastError = last;
            ref->stickyError = sticky;
        }
    } keep{ref};

    std::int32_t n = compressor.Speed();
    if (n <= 0) n = compressor.NominalSpeed();
    if (n > 0 && set->HasVariableSpeedEnvelopes()) PrepareEnvelopeSpeeds(*set, n);

    for (int position = 1; position <= kEnvelopeLegendSlots; ++position) {
        const Tenvelope* envelope = set->Envelope(position);
        if (envelope == nullptr) continue;
        const Tenvelope& lines = LinesAtSpeed(*envelope, n);
        if (!lines.HasBothLines()) continue;
        EnvelopeSlot& slot = p.legend[static_cast<std::size_t>(position - 1)];
        slot.present = true;
        slot.drawn = InBand(envelope->type, conditions);
        slot.name = envelope->type != nullptr ? envelope->type->name : std::string();
        slot.limit = PlotLine(lines.LeftLine(), ref, envelope->pressureAxis);
        slot.boundary = PlotLine(lines.RightLine(), ref, envelope->pressureAxis);
        p.pressureAxis = p.pressureAxis || envelope->pressureAxis;
    }
    if (const Tenvelope* power = set->SpecialLimitEnvelope(1); power && !power->LeftLine().empty())
        p.maxPowerX = OnRefrigerantBasis(ref, power->LeftLine().front()->basis,
                                         power->LeftLine().front()->x);
    if (const Tenvelope* extended = set->SpecialLimitEnvelope(2))
        p.extendedRegion = PlotLine(extended->LeftLine(), ref, extended->pressureAxis);
    // The axes take in the special limits too: the extended region lies outside the envelopes
    // by its nature and would otherwise be cut off.
    for (const EnvelopeXY& xy : p.extendedRegion) {
        p.xMin = std::min(p.xMin, xy.x);
        p.xMax = std::max(p.xMax, xy.x);
        p.yMin = std::min(p.yMin, xy.y);
        p.yMax = std::max(p.yMax, xy.y);
    }
    if (p.maxPowerX) {
        p.xMin = std::min(p.xMin, *p.maxPowerX);
        p.xMax = std::max(p.xMax, *p.maxPowerX);
    }

    // The operating point.
    double x = conditions.evapTemp;
    double y = p.pressureAxis ? conditions.condPressure : conditions.condTemp;
    bool valid = true;
    if (mode == ActivityMode::CondensingUnits && unit != nullptr) {
        valid = unit->Status() >= 0;
        y = unit->Result(quantity::CondensingTemp);
        if (const auto* u = dynamic_cast<const Tunit*>(unit);
            u != nullptr && u->maxCondensingPressure > 0 && ref != nullptr) {
            const double t = ref->basis == 'M' ? ref->MidPointTemperature(u->maxCondensingPressure)
                                               : ref->DewTemperature(u->maxCondensingPressure);
            if (!ref->lastError) p.maxPressureY = t;
        }
    }
    if (valid && std::isfinite(x) && std::isfinite(y) && x < kNoPoint) p.operatingPoint = EnvelopeXY{x, y};

    picture = std::move(p);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Painting

void PaintEnvelope(QPainter& painter, QSize area, const EnvelopePicture& picture,
                   const QColor& panel) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRect(QPoint(0, 0), area), panel);
    const EnvelopeGeometry g(picture.xMin, picture.xMax, picture.yMin, picture.yMax, area);
    const QRect plot = g.plotRect();
    painter.fillRect(plot, Qt::white);

    // grid and axis labels
    const QRect grid = g.gridRect();
    const QFontMetrics metrics(painter.font());
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
    for (int c = 0; c <= g.columns(); ++c) {
        const double px = grid.left() + c * g.columnWidth();
        painter.drawLine(QPointF(px, grid.top()), QPointF(px, grid.top() + grid.height()));
    }
    for (int r = 0; r <= g.rows(); ++r) {
        const double py = grid.top() + grid.height() - r * g.rowHeight();
        painter.drawLine(QPointF(grid.left(), py), QPointF(grid.left() + grid.width(), py));
    }
    painter.setPen(Qt::black);
    const int labelTop = plot.top() + plot.height() + 2;
    for (int c = 0; c <= g.columns(); ++c) {
        const QString text = AxisText(g.xStart() + c * EnvelopeGeometry::kXStep);
        const int px = grid.left() + c * g.columnWidth();
        const int w = metrics.horizontalAdvance(text);
        painter.drawText(QRect(px - w, labelTop, 2 * w, metrics.height()), Qt::AlignCenter, text);
    }
    for (int r = 0; r <= g.rows(); ++r) {
        const QString text = AxisText(g.yStart() + r * EnvelopeGeometry::kYStep);
        const int py = grid.top() + grid.height() - r * g.rowHeight();
        painter.drawText(QRect(0, py - metrics.height() / 2, plot.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    painter.drawText(QRect(2, labelTop + metrics.height(), plot.left(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("\u00B0C"));
    if (picture.pressureAxis)
        painter.drawText(QRect(2, 0, plot.left(), plot.top()), Qt::AlignLeft | Qt::AlignVCenter,
                         "bar");

    painter.setClipRect(plot);
    auto pixel = [&g](const EnvelopeXY& p) { return g.toPixel(p.x, p.y); };

    // limit lines: bottom edge black, the minimum-evaporating line in the slot colour, top edge
    // black
    for (int slot = kEnvelopeLegendSlots; slot >= 1; --slot) {
        const EnvelopeSlot& s = picture.legend[static_cast<std::size_t>(slot - 1)];
        if (!s.drawn || s.limit.empty() || s.boundary.empty()) continue;
        QPointF from = pixel(s.boundary.front());
        for (std::size_t i = 0; i < s.limit.size(); ++i) {
            const QPointF to = pixel(s.limit[i]);
            painter.setPen(QPen(i == 0 ? QColor(Qt::black) : EnvelopeSlotColour(slot), 2));
            painter.drawLine(from, to);
            from = to;
        }
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(from, pixel(s.boundary.back()));
    }

    // the extended region, hatched
    if (picture.extendedRegion.size() >= 3) {
        QPolygonF polygon;
        for (const EnvelopeXY& p : picture.extendedRegion) polygon << pixel(p);
        painter.setPen(QPen(Qt::blue, 1));
        painter.setBrush(QBrush(Qt::blue, Qt::BDiagPattern));
        painter.drawPolygon(polygon);
        painter.setBrush(Qt::NoBrush);
    }

    // maximum evaporating lines in blue
    painter.setPen(QPen(Qt::blue, 2));
    for (const EnvelopeSlot& s : picture.legend) {
        if (!s.drawn || s.boundary.size() < 2) continue;
        QPolygonF line;
        for (const EnvelopeXY& p : s.boundary) line << pixel(p);
        painter.drawPolyline(line);
    }
    painter.setClipping(false);

    // the operating point
    if (picture.operatingPoint) {
        const QPointF c = pixel(*picture.operatingPoint);
        if (g.insidePlot(c)) {
            painter.setPen(QPen(Qt::red, 2));
            painter.drawLine(QPointF(c.x() - 5, c.y()), QPointF(c.x() + 6, c.y()));
            painter.drawLine(QPointF(c.x(), c.y() - 5), QPointF(c.x(), c.y() + 5));
        }
    }

    // maximum-power line
    if (picture.maxPowerX) {
        // on a pixel centre, so that the thin line keeps its colour
        const double px = std::floor(g.toPixel(*picture.maxPowerX, g.yStart()).x()) + 0.5;
        if (px >= plot.left() && px <= plot.left() + plot.width()) {
            painter.setPen(QPen(Qt::red, 1));
            painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.top() + plot.height()));
        }
    }

    // the condensing unit's maximum pressure
    if (picture.maxPressureY) {
        const double py = std::round(g.toPixel(g.xStart(), *picture.maxPressureY).y());
        if (py >= plot.top() && py <= plot.top() + plot.height()) {
            painter.setPen(QPen(Qt::red, 2));
            painter.drawLine(QPointF(plot.left(), py), QPointF(plot.left() + plot.width(), py));
        }
    }
    painter.restore();
}

}  // namespace kelvra
