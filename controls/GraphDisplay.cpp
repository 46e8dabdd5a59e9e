#include "controls/GraphDisplay.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "controls/ColourValue.h"
#include "controls/GradientBands.h"
#include "controls/GradientCache.h"

namespace controls {

GraphDisplay::GraphDisplay(QWidget* parent, int gradientType)
    : QWidget(parent),
      lineColor_(ColourFromValue(kColourTeal)),
      gradientColor_(ColourFromValue(kColourNavy)),
      gradientType_(gradientType),
      markerColor_(ColourFromValue(kColourAqua)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(100, 80);
}

void GraphDisplay::setMax(int v) { change(max_, v); }
void GraphDisplay::setLineColor(const QColor& c) { change(lineColor_, c); }
void GraphDisplay::setGradientColor(const QColor& c) { change(gradientColor_, c); }
void GraphDisplay::setGradientEnabled(bool v) { change(gradientEnabled_, v); }
void GraphDisplay::setMarkerSize(int v) { change(markerSize_, v); }
void GraphDisplay::setMarkerColor(const QColor& c) { change(markerColor_, c); }
void GraphDisplay::setColor(const QColor& c) { change(color_, c); }

void GraphDisplay::setGradientNbOfColors(int n) {
    if (IsGradientBandCount(n)) change(gradientNbOfColors_, n);
}

void GraphDisplay::setGradientType(int t) {
    if (t >= 0 && t < kGradientTypes) change(gradientType_, t);
}

QPen GraphDisplay::SolidPen(const QColor& c) {
    QPen pen(c, 1);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void GraphDisplay::DottedLine(QPainter& p, GraphPoint from, GraphPoint to, const QColor& c) const {
    if (from.x != to.x && from.y != to.y) return;  // guides are never slanted
    const bool across = from.y == to.y;
    const int start = across ? from.x : from.y;
    const int stop = across ? to.x : to.y;
    // Only the stretch inside the control can show; the dots keep their places from `from`.
    const int limit = (across ? width() : height()) - 1;
    int lo = std::max(std::min(start, stop), 0);
    const int hi = std::min(std::max(start, stop), limit);
    if ((std::int64_t{lo} - start) % 2 != 0) ++lo;
    for (int at = lo; at <= hi; at += 2) {
        if (across)
            p.fillRect(at, from.y, 1, 1, c);
        else
            p.fillRect(from.x, at, 1, 1, c);
    }
}

void GraphDisplay::paintBackground(QPainter& p) const {
    const QRect area = backgroundRect();
    if (area.isEmpty()) return;
    if (gradientEnabled_) {
        // The cache key holds both colours, so a new background colour brings its own picture.
        p.drawImage(area.topLeft(),
                    GradientPicture(area.size(), p.device()->devicePixelRatioF(),
                                    ValueFromColour(gradientColor_), ValueFromColour(color_),
                                    gradientType_, gradientNbOfColors_));
    } else {
        p.fillRect(area, color_);
    }
}

void GraphDisplay::paintMarkers(QPainter& p, const GraphPoint* points, int count) const {
    if (markerSize_ <= 0) return;
    // Four fills per square: exact at any device pixel ratio, centred on the point.
    const int m = markerSize_;
    for (int i = 0; i < count; ++i) {
        const int left = points[i].x - m, top = points[i].y - m, side = 2 * m + 1;
        p.fillRect(left, top, side, 1, markerColor_);
        p.fillRect(left, top + side - 1, side, 1, markerColor_);
        p.fillRect(left, top, 1, side, markerColor_);
        p.fillRect(left + side - 1, top, 1, side, markerColor_);
    }
}

QImage GraphDisplay::render(qreal ratio) const {
    if (size().isEmpty()) return {};
    QImage surface(size() * ratio, QImage::Format_RGB32);
    surface.setDevicePixelRatio(ratio);
    surface.fill(color_);
    QPainter p(&surface);
    paintBackground(p);
    paintContent(p);
    return surface;
}

bool GraphDisplay::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && !showHint_) {
        e->ignore();
        return true;
    }
    return QWidget::event(e);
}

void GraphDisplay::paintEvent(QPaintEvent*) {
    // Drawn whole off screen, then shown in one step.
    QPainter(this).drawImage(0, 0, render(devicePixelRatioF()));
}

void GraphDisplay::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
    const QPoint at = e->position().toPoint();
    picked_ = pick(at.x(), at.y());
    dragging_ = picked_ >= 0;
}

void GraphDisplay::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    if (dragging_ && picked_ >= 0) {
        const QPoint at = e->position().toPoint();
        dragTo(picked_, at.x(), at.y());
        if (alwayDetect_) emit changed();
    }
    update();
}

void GraphDisplay::mouseReleaseEvent(QMouseEvent* e) {
    const bool wasDragging = dragging_;
    dragging_ = false;
    if (e->button() != Qt::LeftButton || !wasDragging || picked_ < 0) return;
    const QPoint at = e->position().toPoint();
    dragTo(picked_, at.x(), at.y());
    update();
    emit changed();
}

}  // namespace controls
