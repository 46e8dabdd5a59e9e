#include "controls/Tzoadsr2.h"

#include <QPainter>
#include <QPolygonF>

namespace controls {

Tzoadsr2::Tzoadsr2(QWidget* parent) : GraphDisplay(parent, gr2VertCenterToBorder) {
    values_.fill(49);
}

int Tzoadsr2::value(int i) const {
    return i >= 0 && i < int(values_.size()) ? values_[i] : 0;
}

void Tzoadsr2::setValue(int i, int v) {
    if (i >= 0 && i < int(values_.size())) change(values_[i], v);
}

EnvelopePoints Tzoadsr2::points() const {
    return EnvelopeLayout(values_, width(), height(), max());
}

int Tzoadsr2::pick(int x, int y) const {
    return PickEnvelopePoint(points(), x, y, markerSize());
}

void Tzoadsr2::dragTo(int picked, int x, int y) {
    if (DragEnvelopePoint(values_, picked, x, y, width(), height(), max())) update();
}

void Tzoadsr2::paintContent(QPainter& p) const {
    const EnvelopePoints pts = points();
    const int w = width();
    const int level4 = EnvelopeLevelY(values_[7], height(), max());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0.5, 0.5);
    QPolygonF shape;
    for (const GraphPoint& pt : pts) shape << QPointF(pt.x, pt.y);
    p.setPen(SolidPen(lineColor()));
    if (fillEnabled()) {
        p.setBrush(lineColor());
        p.drawPolygon(shape);
    } else {
        p.drawPolyline(shape);
    }
    p.restore();
    if (showVLines()) {
        DottedLine(p, pts[3], {pts[3].x, level4 - 1}, markerColor());
        DottedLine(p, {0, level4}, {w - 1, level4}, markerColor());
    }
    paintMarkers(p, pts.data(), int(pts.size()));
}

}  // namespace controls
