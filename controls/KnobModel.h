#pragma once
// The value arithmetic and mouse/key interaction shared by the label knob and the picture
// knob, kept free of widgets so it can be checked directly.

#include <cstdint>

namespace controls {

enum class Mouvement { posVertical, posHorizontal };

// Clamps v to lo..hi; a reversed range (lo > hi) yields lo.
int ClampValue(std::int64_t v, int lo, int hi);

// Step of a click or page key: Max / 10 with Shift (at least 1, so Shift never does less than
// a plain click on a small range), otherwise 1.
int StepSize(int max, bool shift);

// Drag origin recorded at the left press: c + state * cursorRange / (max - min).
// An empty range (max == min) contributes nothing. Kept wide: a large value on a narrow range
// lies far beyond any screen coordinate.
std::int64_t DragOrigin(int c, int state, int min, int max, int cursorRange);

// Value for mouse coordinate c during a drag: (origin - c) * (max - min) / cursorRange,
// clamped to min..max. A cursor range of 0 cannot map travel to a value: the value stays.
int DragValue(std::int64_t origin, int c, int state, int min, int max, int cursorRange);

// Filmstrip frame for a knob value: |(state - min) * glyph / (max - min)|, limited to
// glyph - 1; frame 0 for an empty range.
int KnobFrameIndex(int state, int min, int max, int glyph);

enum class KnobKey { None, PageUp, PageDown, Home, End };

// The knob's value, range and drag state, and what each mouse and key action does to them.
// Each action returns true when the change event is due.
class KnobModel {
public:
    KnobModel(int max, int cursorRange) : max_(max), cursorRange_(cursorRange) {}

    int state() const { return state_; }
    // Clamps; returns true when the stored value changed.
    bool setState(int v);
    int min() const { return min_; }
    void setMin(int v) { min_ = v; }
    int max() const { return max_; }
    void setMax(int v) { max_ = v; }
    int cursorRange() const { return cursorRange_; }
    void setCursorRange(int v) { cursorRange_ = v; }
    bool alwayDetect() const { return alwayDetect_; }
    void setAlwayDetect(bool v) { alwayDetect_ = v; }
    Mouvement mouvement() const { return mouvement_; }
    void setMouvement(Mouvement m) { mouvement_ = m; }

    bool dragging() const { return dragging_; }
    bool moved() const { return moved_; }
    bool rightPressed() const { return rightPressed_; }

    // c is the coordinate on the drag axis (y for vertical, x for horizontal).
    void pressLeft(int c);
    void pressRight();
    bool move(int c);  // only while the left button is held
    bool releaseLeft(int c, bool shift);
    bool releaseRight(bool shift);
    bool key(KnobKey k, bool shift);
    // Moves the value by `steps` (negative lowers it), clamped; true when the value changed.
    bool step(int steps);

private:
    void endDrag();

    int state_ = 0;
    int min_ = 0;
    int max_;
    int cursorRange_;
    bool alwayDetect_ = true;
    Mouvement mouvement_ = Mouvement::posVertical;
    bool dragging_ = false;
    bool moved_ = false;
    bool rightPressed_ = false;
    std::int64_t origin_ = 0;
};

}  // namespace controls
