#include "ph_diagram.hpp"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "refrigerant.hpp"

namespace kelvra {

namespace {

bool Good(const Trefrigerant& ref, double value) { return !ref.lastError && std::isfinite(value); }

bool Finite(const PhPoint& p) { return std::isfinite(p.h) && std::isfinite(p.p) && p.p > 0; }

// Pressures from `high` down to `low`, evenly spaced on a logarithmic scale.
std::vector<double> LogSteps(double high, double low, int steps) {
    std::vector<double> out;
    if (!(high > 0) || !(low > 0) || steps < 1) return out;
    const double a = std::log(high), b = std::log(low);
    for (int i = 0; i <= steps; ++i) out.push_back(std::exp(a + (b - a) * i / steps));
    return out;
}

}  // namespace

double GasCoolerOutletEnthalpy(Trefrigerant& ref, double p, double t) {
    const double h = ref.VapourEnthalpy(p, t);
    if (Good(ref, h) || !(t < ref.criticalTemperature)) return h;
    // Below the critical temperature the state just above the critical pressure is liquid-like,
    // where the gas-phase call has no answer: the saturated liquid at that temperature differs
    // from it by the small effect of pressure on a liquid.
    return ref.LiquidEnthalpy(p, t);
}

std::vector<PhPoint> PhCycle::Path() const {
    std::vector<PhPoint> path = {evaporatorInlet, evaporatorDew, suction, discharge};
    if (!transcritical) {
        path.push_back(condenserDew);
        path.push_back(condenserBubble);
    }
    path.push_back(liquid);
    if (injection) path.push_back(economiserLiquid);
    path.push_back(evaporatorInlet);
    return path;
}

std::vector<PhPoint> PhCycle::InjectionPath() const {
    if (!injection) return {};
    return {liquid, injectionInlet, injectionOutlet};
}

PhDiagram PhDiagram::Compute(Trefrigerant& ref, const OperatingConditions& c, double dischargeTemp,
                             const PhInjection* injection) {
    PhDiagram d;
    d.refrigerantName = ref.name;
    const double tc = ref.criticalTemperature;
    const double pc = ref.criticalPressure;

    // --- the cycle ---
    PhCycle& y = d.cycle;
    bool ok = true;
    auto check = [&](double value) {
        if (!Good(ref, value)) ok = false;
        return value;
    };
    const double pe = c.evapPressure > 0 ? c.evapPressure : check(ref.DewPressure(c.evapTemp));
    const double ps = c.suctionPressure > 0 ? c.suctionPressure : pe;
    const double pcond = c.condPressure;
    const double pd = c.dischargePressure > pcond ? c.dischargePressure : pcond;
    y.transcritical = ref.isCO2 && pcond > pc;

    const double liquidTemp = y.transcritical ? c.gasCoolerOutletTemp : c.liquidTemp;
    // above the critical pressure the gas leaves the cooler as a dense single-phase state
    const double hLiquid = y.transcritical ? check(GasCoolerOutletEnthalpy(ref, pcond, liquidTemp))
                                           : check(ref.LiquidEnthalpy(pcond, liquidTemp));
    y.liquid = {hLiquid, pcond};
    y.evaporatorInlet = {hLiquid, pe};
    if (injection != nullptr && !y.transcritical) {
        y.injection = true;
        const double pInt = check(ref.DewPressure(injection->intermediateSatTemp));
        y.injectionInlet = {hLiquid, pInt};
        y.injectionOutlet = {check(ref.VapourEnthalpy(pInt, injection->injectionTemp)), pInt};
        const double hEco = check(ref.LiquidEnthalpy(pcond, injection->economiserLiquidTemp));
        y.economiserLiquid = {hEco, pcond};
        // the heat gained after the economiser is in the conditions' liquid-line rise
        const double hInlet =
            c.liquidLineTempRise > 0
                ? check(ref.LiquidEnthalpy(pcond, injection->economiserLiquidTemp + c.liquidLineTempRise))
                : hEco;
        y.evaporatorInlet = {hInlet, pe};
    }
    const double tDewE = check(ref.DewTemperature(pe));
    y.evaporatorDew = {check(ref.VapourEnthalpy(pe, tDewE)), pe};
    const double tSuction = c.suctionGasReturn;
    const double hSuction = check(ref.VapourEnthalpy(ps, tSuction));
    y.suction = {hSuction, ps};

    if (std::isfinite(dischargeTemp) && dischargeTemp > 0) {
        y.dischargeTemp = dischargeTemp;
        y.discharge = {check(ref.VapourEnthalpy(pd, dischargeTemp)), pd};
    } else {
        // Above the critical pressure the search starts from this temperature instead of a
        // dew point; the suction temperature would start it in the dense phase.
        const double start = ref.isCO2 && pd >= pc ? std::max(tSuction + 60.0, tc + 30.0) : tSuction;
        const double tIs = check(ref.IsentropicTemperature(pd, ps, start, tSuction));
        const double hIs = check(ref.VapourEnthalpy(pd, tIs));
        const double hOut = hSuction + (hIs - hSuction) / kAssumedIsentropicEfficiency;
        y.discharge = {hOut, pd};
        y.dischargeTemp = ref.VapourTemperatureFromEnthalpy(hOut, tIs, pd);
        if (!Good(ref, y.dischargeTemp)) y.dischargeTemp = tIs;
    }
    if (!y.transcritical) {
        const double tDewC = check(ref.DewTemperature(pcond));
        y.condenserDew = {check(ref.VapourEnthalpy(pcond, tDewC)), pcond};
        const double tBubC = check(ref.BubbleTemperature(pcond));
        y.condenserBubble = {check(ref.LiquidEnthalpy(pcond, tBubC)), pcond};
    }
    d.cycleValid = ok;
    for (const PhPoint& p : y.Path()) d.cycleValid = d.cycleValid && Finite(p);
    for (const PhPoint& p : y.InjectionPath()) d.cycleValid = d.cycleValid && Finite(p);

    // --- the dome ---
    const double tLow = std::max(ref.isCO2 ? Trefrigerant::CO2MinTemperature + 1 : -100.0,
                                 std::min(c.evapTemp, c.satSuctionTemp) - 25.0);
    std::vector<double> temperatures;
    const double tTop = tc - 3.0;
    for (int i = 0; i <= 30; ++i) temperatures.push_back(tLow + (tTop - tLow) * i / 30.0);
    for (double below : {2.0, 1.0, 0.5, 0.2}) temperatures.push_back(tc - below);
    for (double t : temperatures) {
        const double pb = ref.BubblePressure(t);
        if (Good(ref, pb) && pb > 0) {
            const double hl = ref.LiquidEnthalpy(pb, t);
            if (Good(ref, hl)) d.bubbleLine.push_back({hl, pb});
        }
        const double pv = ref.DewPressure(t);
        if (Good(ref, pv) && pv > 0) {
            const double hv = ref.VapourEnthalpy(pv, t);
            if (Good(ref, hv)) d.dewLine.push_back({hv, pv});
        }
    }
    if (!d.bubbleLine.empty() && !d.dewLine.empty())
        d.critical = {(d.bubbleLine.back().h + d.dewLine.back().h) / 2.0, pc};

    // --- ranges ---
    double lowP = pe, highP = std::max({pd, pcond, pc});
    double lowH = hLiquid, highH = y.discharge.h;
    for (const PhPoint& p : y.Path())
        if (Finite(p)) {
            lowP = std::min(lowP, p.p);
            highH = std::max(highH, p.h);
            lowH = std::min(lowH, p.h);
        }
    if (!d.bubbleLine.empty()) lowH = std::min(lowH, d.bubbleLine.front().h);
    if (!d.dewLine.empty()) highH = std::max(highH, d.dewLine.front().h);
    if (!(lowP > 0) || !std::isfinite(lowP)) lowP = 1;
    d.pMin = lowP * 0.5;
    d.pMax = highP * 1.5;
    d.hMin = std::floor((lowH - 30.0) / 50.0) * 50.0;
    d.hMax = std::ceil((highH + 40.0) / 50.0) * 50.0;
    if (!(d.hMax > d.hMin)) {
        d.hMin = 100;
        d.hMax = 500;
    }

    // --- isotherms every 20 K from below the evaporating to above the discharge temperature ---
    const double tFirst = std::ceil(tLow / 20.0) * 20.0;
    const double tLast = std::max(y.dischargeTemp, tc + 20.0);
    for (double t = tFirst; t <= tLast + 1e-9 && d.isotherms.size() < 12; t += 20.0) {
        PhIsotherm iso;
        iso.temperature = t;
        if (t < tc - 0.5) {
            const double pb = ref.BubblePressure(t);
            const double pv = ref.DewPressure(t);
            const double hl = ref.LiquidEnthalpy(pb, t);
            const bool liquidOk = Good(ref, hl) && pb > 0;
            double hv = ref.VapourEnthalpy(pv, t);
            const bool vapourOk = Good(ref, hv) && pv > 0;
            if (!liquidOk || !vapourOk) continue;
            // the liquid hardly changes with pressure: a steep line at its saturated enthalpy
            iso.points.push_back({hl, d.pMax});
            iso.points.push_back({hl, pb});
            iso.points.push_back({hv, pv});
            for (double p : LogSteps(pv, d.pMin, 14)) {
                if (p >= pv) continue;
                hv = ref.VapourEnthalpy(p, t);
                if (Good(ref, hv)) iso.points.push_back({hv, p});
            }
        } else {
            for (double p : LogSteps(d.pMax, d.pMin, 30)) {
                const double h = ref.VapourEnthalpy(p, t);
                if (Good(ref, h)) iso.points.push_back({h, p});
            }
        }
        if (iso.points.size() >= 2) d.isotherms.push_back(std::move(iso));
    }
    ref.ClearErrors();
    return d;
}

// ---------------------------------------------------------------------------------------------

PhAxes::PhAxes(const PhDiagram& d, QRectF area)
    : plot_(area.adjusted(56, 14, -14, -40)),
      hMin_(d.hMin),
      hMax_(d.hMax > d.hMin ? d.hMax : d.hMin + 1),
      logMin_(std::log10(d.pMin > 0 ? d.pMin : 0.1)),
      logMax_(std::log10(d.pMax > d.pMin ? d.pMax : (d.pMin > 0 ? d.pMin : 0.1) * 10)) {}

QPointF PhAxes::toPixel(double h, double p) const {
    const double fx = (h - hMin_) / (hMax_ - hMin_);
    const double fy = (std::log10(std::max(p, 1e-9)) - logMin_) / (logMax_ - logMin_);
    return {plot_.left() + fx * plot_.width(), plot_.bottom() - fy * plot_.height()};
}

std::vector<double> PhAxes::pressureTicks() const {
    std::vector<double> ticks;
    for (int e = static_cast<int>(std::floor(logMin_)); e <= static_cast<int>(std::ceil(logMax_)); ++e)
        for (double m : {1.0, 2.0, 5.0}) {
            const double p = m * std::pow(10.0, e);
            const double l = std::log10(p);
            if (l >= logMin_ - 1e-9 && l <= logMax_ + 1e-9) ticks.push_back(p);
        }
    return ticks;
}

std::vector<double> PhAxes::enthalpyTicks() const {
    std::vector<double> ticks;
    const double step = hMax_ - hMin_ > 400 ? 100 : 50;
    for (double h = std::ceil(hMin_ / step) * step; h <= hMax_ + 1e-9; h += step) ticks.push_back(h);
    return ticks;
}

void PaintPhDiagram(QPainter& painter, QRectF area, const PhDiagram& d) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(area, Qt::white);
    const PhAxes axes(d, area);
    const QRectF plot = axes.plot();
    const QFontMetrics metrics(painter.font());

    // grid and tick labels
    painter.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 1));
    for (double p : axes.pressureTicks()) {
        const double y = axes.toPixel(d.hMin, p).y();
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    for (double h : axes.enthalpyTicks()) {
        const double x = axes.toPixel(h, d.pMin).x();
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    for (double p : axes.pressureTicks()) {
        const double y = axes.toPixel(d.hMin, p).y();
        painter.drawText(QRectF(area.left(), y - metrics.height() / 2.0, plot.left() - area.left() - 4,
                                metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(p, 'g', 4));
    }
    for (double h : axes.enthalpyTicks()) {
        const double x = axes.toPixel(h, d.pMin).x();
        painter.drawText(QRectF(x - 30, plot.bottom() + 2, 60, metrics.height()), Qt::AlignCenter,
                         QString::number(h, 'f', 0));
    }
    painter.drawText(QRectF(area.left() + 2, area.top(), 60, 14), Qt::AlignLeft | Qt::AlignVCenter,
                     "p / bar");
    painter.drawText(QRectF(plot.left(), plot.bottom() + 2 + metrics.height(), plot.width(),
                            metrics.height()),
                     Qt::AlignCenter, "h / kJ/kg");

    painter.setClipRect(plot);
    auto polyline = [&axes](const std::vector<PhPoint>& points) {
        QPolygonF line;
        for (const PhPoint& p : points) line << axes.toPixel(p);
        return line;
    };

    // isotherms, labelled where they leave the dome
    for (const PhIsotherm& iso : d.isotherms) {
        painter.setPen(QPen(QColor(0x70, 0xA0, 0x70), 1, Qt::DashLine));
        painter.drawPolyline(polyline(iso.points));
        const QPointF at = axes.toPixel(iso.points.size() > 3 ? iso.points[3] : iso.points.back());
        painter.setPen(QColor(0x30, 0x70, 0x30));
        painter.drawText(at + QPointF(3, -3),
                         QString::number(iso.temperature, 'f', 0) + QString::fromUtf8("\u00B0C"));
    }

    // the dome
    painter.setPen(QPen(Qt::blue, 2));
    std::vector<PhPoint> dome = d.bubbleLine;
    if (!d.bubbleLine.empty() && !d.dewLine.empty()) {
        dome.push_back(d.critical);
        dome.insert(dome.end(), d.dewLine.rbegin(), d.dewLine.rend());
    }
    painter.drawPolyline(polyline(dome));

    // the cycle
    if (d.cycleValid) {
        painter.setPen(QPen(Qt::red, 2));
        const std::vector<PhPoint> path = d.cycle.Path();
        painter.drawPolyline(polyline(path));
        if (d.cycle.injection) {
            painter.setPen(QPen(QColor(0xE0, 0x80, 0x00), 2, Qt::DashLine));
            painter.drawPolyline(polyline(d.cycle.InjectionPath()));
            painter.setPen(QPen(Qt::red, 2));
        }
        painter.setBrush(Qt::red);
        for (const PhPoint& p : path) painter.drawEllipse(axes.toPixel(p), 3, 3);
        painter.setBrush(Qt::NoBrush);
    }
    painter.restore();
}

}  // namespace kelvra
