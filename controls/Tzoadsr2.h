#pragma once
// Envelope display: four rates and four levels drawn as a polyline (or filled shape) over a
// plain or gradient background, its six corner points dragged with the mouse. Layout and drag
// arithmetic live in controls/EnvelopeGeometry.h.

#include "controls/EnvelopeGeometry.h"
#include "controls/GraphDisplay.h"

namespace controls {

class Tzoadsr2 : public GraphDisplay {
    Q_OBJECT
public:
    enum GradientType {
        gr2LeftToRight,
        gr2RightToLeft,
        gr2TopToBottom,
        gr2BottomToTop,
        gr2HorizCenterToBorder,
        gr2HorizBorderToCenter,
        gr2VertCenterToBorder,
        gr2VertBorderToCenter,
    };

    // 100 x 80, every value 49.
    explicit Tzoadsr2(QWidget* parent = nullptr);

    // Values 0..7: rate 1, level 1, rate 2, level 2, rate 3, level 3, rate 4, level 4. Values
    // set here are drawn as they are, even outside 0..Max; only dragging clamps. An index
    // outside 0..7 reads 0 and is not stored.
    int value(int i) const;
    void setValue(int i, int v);
    const EnvelopeValues& values() const { return values_; }

    // The point (0..5) picked by the last left press, -1 when it hit none. It stays after the
    // release, for the owner's change handler.
    int pickedPoint() const { return picked(); }

    // Points P0..P5 for the current values and size.
    EnvelopePoints points() const;

    bool fillEnabled() const { return fillEnabled_; }
    void setFillEnabled(bool v) { change(fillEnabled_, v); }
    // The dotted guide lines: level 4 across the control, and down from the end of rate 3.
    bool showVLines() const { return showVLines_; }
    void setShowVLines(bool v) { change(showVLines_, v); }

protected:
    int pick(int x, int y) const override;
    void dragTo(int picked, int x, int y) override;
    void paintContent(QPainter& p) const override;

private:
    EnvelopeValues values_;
    bool fillEnabled_ = false;
    bool showVLines_ = true;
};

}  // namespace controls
