#include "heat_pump_diagram.hpp"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <vector>

#include "heat_pump.hpp"
#include "heat_pump_editing.hpp"
#include "language_texts.hpp"

namespace kelvra {

namespace {

QString T(std::string_view key, std::string_view english) {
    return QString::fromStdString(Text(key, english));
}

struct Axes {
    double tLow, tSpan;          // x: from tLow over tSpan K
    double tdFull;               // y: full height in K
    std::vector<double> xTicks;  // degC
    std::vector<double> yTicks;  // K
};

Axes EvaporatorAxes(bool waterSource) {
    Axes a{-15, 45, waterSource ? 8.0 : 15.0, {-10, 0, 10, 20, 30}, {}};
    a.yTicks = waterSource ? std::vector<double>{0, 2, 4, 6, 8} : std::vector<double>{0, 5, 10, 15};
    return a;
}

Axes CondenserAxes() {
    return Axes{15, 50, 8.0, {20, 30, 40, 50, 60}, {2, 4, 6, 8}};
}

}  // namespace

THeatPumpDiagrams::THeatPumpDiagrams(QWidget* parent) : QWidget(parent) {
    setObjectName("heatPumpDiagrams");
    setMinimumSize(260, 110);
}

void THeatPumpDiagrams::setHeatPump(const THeatPump* pump) {
    pump_ = pump;
    update();
}

QRectF THeatPumpDiagrams::plotRect(int which) const {
    const QFontMetricsF m(font());
    const double half = width() / 2.0;
    const double left = which * half + m.horizontalAdvance("0") * 1.5 * 2 + 4;
    const double top = m.height() + 4;
    const double bottom = height() - m.height() * 1.5;
    return QRectF(left, top, std::max(10.0, half - (left - which * half) - 10), std::max(10.0, bottom - top));
}

bool THeatPumpDiagrams::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const bool evaporator = help->pos().x() < width() / 2;
        QToolTip::showText(help->globalPos(),
                           evaporator ? T("hntEvapTD", "Air Inlet Temp - Evaporating Temp")
                                      : T("hntCondTD", "Condensing Temp - Water Outlet Temp"),
                           this);
        return true;
    }
    return QWidget::event(e);
}

void THeatPumpDiagrams::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF m(font());
    const bool water = pump_ != nullptr && !pump_->IsAirSource();
    for (int which = 0; which < 2; ++which) {
        const bool evaporator = which == 0;
        const Axes axes = evaporator ? EvaporatorAxes(water) : CondenserAxes();
        const QRectF r = plotRect(which);
        auto x = [&](double t) { return r.left() + (t - axes.tLow) / axes.tSpan * r.width(); };
        auto y = [&](double td) { return r.bottom() - std::clamp(td, 0.0, axes.tdFull) / axes.tdFull * r.height(); };
        p.setPen(palette().color(QPalette::WindowText));
        const QString title = evaporator ? T("lblEvapTD", "Evaporator TD") : T("lblCondTD", "Condenser TD");
        p.drawText(QRectF(r.left(), 0, r.width(), r.top() - 2), Qt::AlignCenter, title);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.bottomLeft(), r.topLeft());
        for (const double t : axes.xTicks) {
            p.drawLine(QPointF(x(t), r.bottom()), QPointF(x(t), r.bottom() + 3));
            const QString label = QString::number(t);
            p.drawText(QPointF(x(t) - m.horizontalAdvance(label) / 2, r.bottom() + m.height()), label);
        }
        for (const double td : axes.yTicks) {
            p.drawLine(QPointF(r.left() - 3, y(td)), QPointF(r.left(), y(td)));
            const QString label = QString::number(td);
            p.drawText(QPointF(r.left() - 5 - m.horizontalAdvance(label), y(td) + m.ascent() / 2 - 1), label);
        }
        if (pump_ == nullptr) continue;
        const auto curve = TdCurve(*pump_, evaporator, axes.tLow, axes.tLow + axes.tSpan);
        QPolygonF line;
        for (const TdCurvePoint& point : curve) line << QPointF(x(point.t), y(point.td));
        p.setPen(QPen(Qt::blue, 2));
        p.drawPolyline(line);
    }
}

}  // namespace kelvra
