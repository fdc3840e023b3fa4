#include "drawings.hpp"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kelvra::catalogue {

namespace {

// Paper coordinates in millimetres, A4 landscape.
constexpr double kPaperWidth = 297.0, kPaperHeight = 210.0, kMargin = 10.0;

QString Q(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

QString Millimetres(double v) {
    return QString::number(static_cast<int>(std::lround(v)));
}

class Sheet {
  public:
    // `dpi`: the device resolution; the painter is scaled to millimetres.
    Sheet(QPainter& p, double dpi) : p_(p), dpi_(dpi) {}

    void Arrow(QPointF tip, QPointF from) {
        const QPointF d = from - tip;
        const double len = std::hypot(d.x(), d.y());
        if (len <= 0) return;
        const QPointF u = d / len, n(-u.y(), u.x());
        const double a = 2.2, w = 0.7;
        QPolygonF head;
        head << tip << tip + u * a + n * w << tip + u * a - n * w;
        p_.setBrush(Qt::black);
        p_.drawPolygon(head);
        p_.setBrush(Qt::NoBrush);
    }

    // A horizontal dimension between x1 and x2 at height y, measured from the feature at yRef.
    void Horizontal(double x1, double x2, double y, double yRef, const QString& text) {
        QPen thin(Qt::black, 0.18);
        p_.setPen(thin);
        p_.drawLine(QPointF(x1, yRef), QPointF(x1, y + (y > yRef ? 1.5 : -1.5)));
        p_.drawLine(QPointF(x2, yRef), QPointF(x2, y + (y > yRef ? 1.5 : -1.5)));
        p_.drawLine(QPointF(x1, y), QPointF(x2, y));
        Arrow({x1, y}, {x2, y});
        Arrow({x2, y}, {x1, y});
        Text(QRectF(std::min(x1, x2), y - 5.0, std::fabs(x2 - x1), 4.5), text, Qt::AlignHCenter | Qt::AlignBottom);
    }

    // A vertical dimension between y1 and y2 at x, measured from the feature at xRef.
    void Vertical(double y1, double y2, double x, double xRef, const QString& text) {
        QPen thin(Qt::black, 0.18);
        p_.setPen(thin);
        p_.drawLine(QPointF(xRef, y1), QPointF(x + (x > xRef ? 1.5 : -1.5), y1));
        p_.drawLine(QPointF(xRef, y2), QPointF(x + (x > xRef ? 1.5 : -1.5), y2));
        p_.drawLine(QPointF(x, y1), QPointF(x, y2));
        Arrow({x, y1}, {x, y2});
        Arrow({x, y2}, {x, y1});
        p_.save();
        p_.translate(x - 1.0, (y1 + y2) / 2.0);
        p_.rotate(-90);
        Text(QRectF(-20, -4.5, 40, 4.5), text, Qt::AlignHCenter | Qt::AlignBottom);
        p_.restore();
    }

    void Text(const QRectF& r, const QString& text, int flags, double size = 2.8, bool bold = false) {
        QFont f("DejaVu Sans");
        f.setPointSizeF(size * 72.0 / dpi_);  // size in mm of paper
        f.setBold(bold);
        p_.setFont(f);
        p_.setPen(QPen(Qt::black, 0.18));
        p_.drawText(r, flags, text);
    }

    QPainter& P() { return p_; }

  private:
    QPainter& p_;
    double dpi_;
};

// The outline of a front view in a box (x, y top-left, w wide, h high), by kind.
void FrontOutline(QPainter& p, const std::string& kind, double x, double y, double w, double h) {
    QPen body(Qt::black, 0.5);
    p.setPen(body);
    p.setBrush(Qt::NoBrush);
    if (kind == "scroll") {
        const double dome = std::min(w * 0.25, h * 0.15);
        QPainterPath shell;
        shell.moveTo(x + w * 0.08, y + h * 0.92);
        shell.lineTo(x + w * 0.08, y + dome);
        shell.quadTo(x + w * 0.5, y - dome * 0.6, x + w * 0.92, y + dome);
        shell.lineTo(x + w * 0.92, y + h * 0.92);
        shell.quadTo(x + w * 0.5, y + h * 0.97, x + w * 0.08, y + h * 0.92);
        p.drawPath(shell);
        p.drawRect(QRectF(x, y + h * 0.93, w, h * 0.07));  // base plate
        p.setPen(QPen(Qt::black, 0.18, Qt::DashDotLine));
        p.drawLine(QPointF(x + w / 2, y - 3), QPointF(x + w / 2, y + h + 3));
    } else if (kind == "reciprocating") {
        p.drawRoundedRect(QRectF(x + w * 0.04, y, w * 0.92, h * 0.9), w * 0.18, h * 0.2);
        p.drawRect(QRectF(x, y + h * 0.9, w, h * 0.1));
    } else if (kind == "semi-hermetic") {
        // Motor end, crankcase and cylinder heads.
        p.drawRoundedRect(QRectF(x, y + h * 0.3, w * 0.45, h * 0.55), 3, 3);
        p.drawRect(QRectF(x + w * 0.45, y + h * 0.2, w * 0.55, h * 0.65));
        for (int i = 0; i < 3; ++i) p.drawRect(QRectF(x + w * (0.5 + 0.16 * i), y, w * 0.13, h * 0.2));
        p.drawRect(QRectF(x + w * 0.05, y + h * 0.85, w * 0.9, h * 0.15));
    } else if (kind == "unit") {
        p.drawRect(QRectF(x, y, w, h));
        const double r = std::min(w * 0.22, h * 0.38);
        p.drawEllipse(QPointF(x + w * 0.65, y + h * 0.48), r, r);
        p.drawEllipse(QPointF(x + w * 0.65, y + h * 0.48), r * 0.2, r * 0.2);
        p.setPen(QPen(Qt::black, 0.18));
        for (int i = 1; i < 8; ++i) p.drawLine(QPointF(x + w * 0.05, y + h * i / 8.0), QPointF(x + w * 0.3, y + h * i / 8.0));
    } else {  // valve
        p.drawRect(QRectF(x + w * 0.3, y + h * 0.55, w * 0.4, h * 0.3));               // body
        p.drawRect(QRectF(x, y + h * 0.62, w * 0.3, h * 0.16));                        // inlet
        p.drawRect(QRectF(x + w * 0.7, y + h * 0.62, w * 0.3, h * 0.16));              // outlet
        p.drawRoundedRect(QRectF(x + w * 0.35, y, w * 0.3, h * 0.55), 2, 2);          // head
    }
}

void TopOutline(QPainter& p, const std::string& kind, double x, double y, double w, double d) {
    p.setPen(QPen(Qt::black, 0.5));
    p.setBrush(Qt::NoBrush);
    if (kind == "scroll") {
        p.drawRect(QRectF(x, y, w, d));
        const double r = std::min(w, d) * 0.42;
        p.drawEllipse(QPointF(x + w / 2, y + d / 2), r, r);
        for (double fx : {0.08, 0.92})
            for (double fy : {0.08, 0.92}) p.drawEllipse(QPointF(x + w * fx, y + d * fy), 1.2, 1.2);
    } else if (kind == "reciprocating") {
        p.drawEllipse(QRectF(x, y, w, d));
    } else {
        p.drawRect(QRectF(x, y, w, d));
        if (kind == "unit") {
            p.setPen(QPen(Qt::black, 0.18, Qt::DashLine));
            p.drawRect(QRectF(x + w * 0.4, y + d * 0.1, w * 0.55, d * 0.8));
        }
    }
}

}  // namespace

void DrawDimensionalDrawing(const DrawingDef& d, const std::string& provenance, const std::filesystem::path& file) {
    QPdfWriter writer(QString::fromStdString(file.string()));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    writer.setTitle(Q(d.title));
    writer.setCreator("kelvra-catalogue");
    QPainter painter;
    if (!painter.begin(&writer)) throw std::runtime_error("cannot write the drawing " + file.string());
    // One unit is one millimetre of paper.
    const double unit = writer.resolution() / 25.4;
    painter.scale(unit, unit);
    painter.setRenderHint(QPainter::Antialiasing);
    Sheet s(painter, writer.resolution());

    // Frame and title block.
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawRect(QRectF(kMargin, kMargin, kPaperWidth - 2 * kMargin, kPaperHeight - 2 * kMargin));
    const QRectF block(kPaperWidth - kMargin - 120, kPaperHeight - kMargin - 32, 120, 32);
    painter.drawRect(block);
    painter.drawLine(QPointF(block.left(), block.top() + 12), QPointF(block.right(), block.top() + 12));
    s.Text(block.adjusted(3, 1, -3, -20), Q(d.title), Qt::AlignLeft | Qt::AlignVCenter, 4.0, true);
    QString numbers;
    for (int n : d.numbers) numbers += (numbers.isEmpty() ? "" : ", ") + QString::number(n);
    s.Text(block.adjusted(3, 13, -3, -12), "Drawing " + numbers + "    " + Q(d.file), Qt::AlignLeft | Qt::AlignVCenter, 2.8);
    s.Text(block.adjusted(3, 20, -3, -6), "Dimensions in mm, not to scale for manufacture", Qt::AlignLeft | Qt::AlignVCenter, 2.4);
    const std::size_t stop = provenance.find(". ");
    s.Text(block.adjusted(3, 26, -3, 0), Q(provenance.substr(0, stop == std::string::npos ? 90 : stop + 1)),
           Qt::AlignLeft | Qt::AlignVCenter, 2.2);

    // Views: front (length x height) on the left, top (length x width) on the right.
    // Room for the connection labels and the height dimension left of the front view.
    const double areaW = (kPaperWidth - 2 * kMargin - 120) / 2.0;
    const double areaH = kPaperHeight - 2 * kMargin - 70;
    const double scale = std::min({areaW / d.length, areaH / d.height, areaH / d.width});
    const double fw = d.length * scale, fh = d.height * scale, tw = d.length * scale, td = d.width * scale;
    const double fx = kMargin + 62, fy = kMargin + 30 + (areaH - fh) / 2.0;
    // The top view keeps 25 mm to the frame for its width dimension.
    const double tx = kMargin + 95 + areaW, ty = kMargin + 30 + (areaH - td) / 2.0;
    const double inset = d.outline == "scroll" ? 0.08 * fw : 0.0;  // the shell inside the base plate
    s.Text(QRectF(fx, kMargin + 8, fw, 6), "Front view", Qt::AlignHCenter, 3.2, true);
    s.Text(QRectF(tx, kMargin + 8, tw, 6), "Top view", Qt::AlignHCenter, 3.2, true);
    FrontOutline(painter, d.outline, fx, fy, fw, fh);
    TopOutline(painter, d.outline, tx, ty, tw, td);

    s.Horizontal(fx, fx + fw, fy + fh + 10, fy + fh, Millimetres(d.length));
    s.Vertical(fy, fy + fh, fx - 55, fx, Millimetres(d.height));
    s.Horizontal(tx, tx + tw, ty + td + 10, ty + td, Millimetres(d.length));
    s.Vertical(ty, ty + td, tx + tw + 10, tx + tw, Millimetres(d.width));

    // Connections on the front view, each labelled with its size beside its stub.
    for (const DrawingConnection& c : d.connections) {
        QPointF at, out;
        QRectF label;
        int align = 0;
        const QString text = Q(c.label) + "\n" + Q(c.size);
        if (c.side == "left") {
            at = {fx + inset, fy + fh * c.position};
            out = {fx - 7, at.y()};
            label = QRectF(out.x() - 42, out.y() - 9.5, 42, 8.5);
            align = Qt::AlignRight | Qt::AlignBottom;
        } else if (c.side == "right") {
            at = {fx + fw - inset, fy + fh * c.position};
            out = {fx + fw + 7, at.y()};
            label = QRectF(out.x() + 1.5, out.y() - 9.5, 42, 8.5);
            align = Qt::AlignLeft | Qt::AlignBottom;
        } else {
            at = {fx + fw * c.position, fy};
            out = {at.x(), fy - 7};
            label = QRectF(out.x() + 2.5, out.y() - 8.5, 42, 8.5);
            align = Qt::AlignLeft | Qt::AlignVCenter;
        }
        painter.setPen(QPen(Qt::black, 0.6));
        painter.drawLine(at, out);
        painter.drawEllipse(out, 1.2, 1.2);
        s.Text(label, text, align, 2.6);
    }
    painter.end();
    if (!std::filesystem::exists(file)) throw std::runtime_error("cannot write the drawing " + file.string());
}

}  // namespace kelvra::catalogue
