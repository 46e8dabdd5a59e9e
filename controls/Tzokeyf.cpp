#include "controls/Tzokeyf.h"

#include <QPainter>

#include "controls/ColourValue.h"

namespace controls {

namespace {

// Rows between the hatch lines of the side strips.
constexpr int kHatchPitch = 4;

}  // namespace

Tzokeyf::Tzokeyf(QWidget* parent)
    : GraphDisplay(parent, grkVertCenterToBorder), rubberColor_(ColourFromValue(kColourSilver)) {}

int Tzokeyf::value(int i) const {
    return i >= 0 && i < int(values_.size()) ? values_[i] : 0;
}

void Tzokeyf::setValue(int i, int v) {
    if (i >= 0 && i < int(values_.size())) change(values_[i], v);
}

KeyScaleLayout Tzokeyf::layout() const {
    return KeyScaleGeometry(values_, width(), height(), max(), rubberSize_, rubberEnabled_);
}

QRect Tzokeyf::backgroundRect() const {
    const KeyScaleLayout l = layout();
    return {l.rubber, 0, l.areaWidth, height()};
}

int Tzokeyf::pick(int x, int y) const {
    return PickKeyScaleHandle(layout(), x, y, width(), height(), markerSize(), rubberEnabled_);
}

void Tzokeyf::dragTo(int picked, int x, int y) {
    if (DragKeyScaleHandle(values_, picked, x, y, width(), height(), max(), rubberSize_,
                           rubberEnabled_))
        update();
}

void Tzokeyf::paintStrips(QPainter& p, const KeyScaleLayout& l) const {
    if (l.rubber <= 0) return;
    const int right = l.rubber + l.areaWidth;
    for (int x : {0, right}) {
        p.fillRect(x, 0, l.rubber, height(), color());
        for (int y = kHatchPitch - 1; y < height(); y += kHatchPitch)
            p.fillRect(x, y, l.rubber, 1, rubberColor_);
    }
}

void Tzokeyf::paintCurve(QPainter& p, const KeyScaleLayout& l, int code, int depth,
                         bool rightSide) const {
    const GraphPoint from = l.points[khCrossing];
    if (!IsArcCurve(code)) {
        const GraphPoint to = StraightCurveEnd(l, code, depth, rightSide, max());
        p.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
        return;
    }
    const CurveArc a = ArcCurve(l, code, depth, rightSide, max(), expCoeff_);
    p.drawArc(QRectF(a.left, a.top, a.width, a.height), a.startDegrees * 16, a.spanDegrees * 16);
}

void Tzokeyf::paintContent(QPainter& p) const {
    const KeyScaleLayout l = layout();
    paintStrips(p, l);
    if (l.areaWidth <= 0) return;
    {
        // Guides and curves stay inside the drawing area, off the strips.
        p.save();
        p.setClipRect(QRect(l.rubber, 0, l.areaWidth, height()));
        DottedLine(p, {l.breakX, 0}, {l.breakX, l.c}, markerColor());
        DottedLine(p, {l.rubber, l.levelY}, {l.rubber + l.e, l.levelY}, markerColor());
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(0.5, 0.5);
        p.setPen(SolidPen(lineColor()));
        p.setBrush(Qt::NoBrush);
        paintCurve(p, l, values_[ksRightCurve], values_[ksRightDepth], true);
        paintCurve(p, l, values_[ksLeftCurve], values_[ksLeftDepth], false);
        p.restore();
    }
    paintMarkers(p, l.points.data(), int(l.points.size()));
}

}  // namespace controls
