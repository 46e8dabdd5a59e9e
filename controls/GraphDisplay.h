#pragma once
// What the envelope and keyboard scaling displays share: their look (background colour or
// gradient, line and marker colours, marker size), the hint flag, the owner's tag, and the
// mouse protocol: a left press picks a handle, moves with the left button held drag it (and
// report each step when AlwayDetect is on), the left release drags once more and always
// reports. The displays know nothing of voices; the owner reads the values and the picked
// handle when `changed` arrives.

#include <QColor>
#include <QImage>
#include <QPen>
#include <QWidget>

#include "controls/ColourNumber.h"
#include "controls/DisplayGeometry.h"

class QPainter;

namespace controls {

class GraphDisplay : public QWidget {
    Q_OBJECT
public:
    int max() const { return max_; }
    void setMax(int v);  // full scale of every value
    QColor lineColor() const { return lineColor_; }
    void setLineColor(const QColor& c);
    bool alwayDetect() const { return alwayDetect_; }
    void setAlwayDetect(bool v) { alwayDetect_ = v; }
    // Off: the control shows no tooltip.
    bool showHint() const { return showHint_; }
    void setShowHint(bool v) { showHint_ = v; }
    QColor gradientColor() const { return gradientColor_; }
    void setGradientColor(const QColor& c);
    bool gradientEnabled() const { return gradientEnabled_; }
    void setGradientEnabled(bool v);
    // 0 (one band per pixel, up to 256) or 2..256; any other value is ignored.
    int gradientNbOfColors() const { return gradientNbOfColors_; }
    void setGradientNbOfColors(int n);
    // 0..7 (the displays' gr2… and grk… names); any other value is ignored.
    int gradientType() const { return gradientType_; }
    void setGradientType(int t);
    int markerSize() const { return markerSize_; }
    void setMarkerSize(int v);  // half size of the handle squares; 0 hides them
    QColor markerColor() const { return markerColor_; }
    void setMarkerColor(const QColor& c);
    QColor color() const { return color_; }
    void setColor(const QColor& c);  // the plain background, and the gradient's other colour
    int tag() const { return tag_; }
    void setTag(int v) { tag_ = v; }

    // Whether a drag is under way (a handle was picked and the left button is held).
    bool dragging() const { return dragging_; }

    // The whole control as drawn, at the given device pixel ratio (what paintEvent shows).
    QImage render(qreal ratio = 1.0) const;

signals:
    // After a drag step (with AlwayDetect) and at the end of every drag.
    void changed();

protected:
    GraphDisplay(QWidget* parent, int gradientType);

    // The handle under (x, y) for the current values, or -1.
    virtual int pick(int x, int y) const = 0;
    // Moves the picked handle towards (x, y).
    virtual void dragTo(int picked, int x, int y) = 0;
    // Everything above the background.
    virtual void paintContent(QPainter& p) const = 0;
    // The rectangle the background (colour or gradient) covers.
    virtual QRect backgroundRect() const { return rect(); }

    int picked() const { return picked_; }
    // Curves are stroked through pixel centres (the painter shifted half a pixel) with this pen,
    // so a one-pixel line covers whole pixels at every device pixel ratio.
    static QPen SolidPen(const QColor& c);
    // A horizontal or vertical guide line of every other pixel from `from` towards `to` (both
    // included when the distance is even), drawn as pixel fills so it is exact at any ratio.
    void DottedLine(QPainter& p, GraphPoint from, GraphPoint to, const QColor& c) const;
    void paintBackground(QPainter& p) const;
    // Framed squares of MarkerSize around each point (nothing when it is 0).
    void paintMarkers(QPainter& p, const GraphPoint* points, int count) const;
    // Stores `v` into `field` and repaints when they differ.
    template <typename T>
    void change(T& field, const T& v) {
        if (field == v) return;
        field = v;
        update();
    }

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int max_ = 99;
    QColor lineColor_;
    bool alwayDetect_ = true;
    bool showHint_ = true;
    QColor gradientColor_;
    bool gradientEnabled_ = false;
    int gradientNbOfColors_ = 64;
    int gradientType_;
    int markerSize_ = 3;
    QColor markerColor_;
    QColor color_{0, 0, 0};
    int tag_ = 0;
    int picked_ = -1;
    bool dragging_ = false;
};

}  // namespace controls
