#pragma once
// Keyboard scaling display: a level line, a break point line and the left and right scaling
// curves (straight or arced) drawn from their crossing, between two hatched side strips. The
// lines' handles drag level and break point; the strips drag each side's depth and direction.
// Layout and drag arithmetic live in controls/KeyScaleGeometry.h.

#include "controls/GraphDisplay.h"
#include "controls/KeyScaleGeometry.h"

namespace controls {

class Tzokeyf : public GraphDisplay {
    Q_OBJECT
public:
    enum GradientType {
        grkLeftToRight,
        grkRightToLeft,
        grkTopToBottom,
        grkBottomToTop,
        grkHorizCenterToBorder,
        grkHorizBorderToCenter,
        grkVertCenterToBorder,
        grkVertBorderToCenter,
    };

    // 100 x 80, every value 0.
    explicit Tzokeyf(QWidget* parent = nullptr);

    // Values 0..5: output level, left curve, break point, right curve, left depth, right depth
    // (KeyScaleValue). Drawn as set, even outside 0..Max; only dragging clamps. An index
    // outside 0..5 reads 0 and is not stored.
    int value(int i) const;
    void setValue(int i, int v);
    const KeyScaleValues& values() const { return values_; }

    // The handle picked by the last left press: 0..4 a point (KeyScaleHandle), 5 the left strip,
    // 6 the right strip, -1 none. It stays after the release for the owner's change handler.
    // A strip drag may turn its side's curve code between falling and rising: the owner reads
    // the curve (value 1 or 3) with the depth (value 4 or 5).
    int pickedHandle() const { return picked(); }

    KeyScaleLayout layout() const;

    bool rubberEnabled() const { return rubberEnabled_; }
    void setRubberEnabled(bool v) { change(rubberEnabled_, v); }
    int rubberSize() const { return rubberSize_; }
    void setRubberSize(int v) { change(rubberSize_, v); }
    // Horizontal stretch of the arcs: each arc is (Max - depth) * ExpCoeff + 20 pixels wide.
    int expCoeff() const { return expCoeff_; }
    void setExpCoeff(int v) { change(expCoeff_, v); }
    QColor rubberColor() const { return rubberColor_; }
    void setRubberColor(const QColor& c) { change(rubberColor_, c); }

protected:
    int pick(int x, int y) const override;
    void dragTo(int picked, int x, int y) override;
    void paintContent(QPainter& p) const override;
    QRect backgroundRect() const override;

private:
    void paintStrips(QPainter& p, const KeyScaleLayout& l) const;
    void paintCurve(QPainter& p, const KeyScaleLayout& l, int code, int depth, bool rightSide) const;

    KeyScaleValues values_{};
    bool rubberEnabled_ = true;
    int rubberSize_ = 7;
    int expCoeff_ = 10;
    QColor rubberColor_;
};

}  // namespace controls
