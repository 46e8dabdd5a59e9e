#include "controls/KnobModel.h"

#include <algorithm>

namespace controls {

int ClampValue(std::int64_t v, int lo, int hi) {
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    return static_cast<int>(v);
}

int StepSize(int max, bool shift) {
    return shift ? std::max(1, max / 10) : 1;
}

std::int64_t DragOrigin(int c, int state, int min, int max, int cursorRange) {
    const std::int64_t range = std::int64_t{max} - min;
    if (range == 0) return c;
    return c + std::int64_t{state} * cursorRange / range;
}

int DragValue(std::int64_t origin, int c, int state, int min, int max, int cursorRange) {
    if (cursorRange == 0) return ClampValue(state, min, max);
    const std::int64_t v = (origin - c) * (std::int64_t{max} - min) / cursorRange;
    return ClampValue(v, min, max);
}

int KnobFrameIndex(int state, int min, int max, int glyph) {
    const std::int64_t range = std::int64_t{max} - min;
    if (range == 0 || glyph < 1) return 0;
    std::int64_t k = (std::int64_t{state} - min) * glyph / range;
    if (k < 0) k = -k;
    return static_cast<int>(std::min<std::int64_t>(k, glyph - 1));
}

bool KnobModel::setState(int v) {
    const int clamped = ClampValue(v, min_, max_);
    if (clamped == state_) return false;
    state_ = clamped;
    return true;
}

void KnobModel::pressLeft(int c) {
    origin_ = DragOrigin(c, state_, min_, max_, cursorRange_);
    dragging_ = true;
    rightPressed_ = false;
}

void KnobModel::pressRight() { rightPressed_ = true; }

bool KnobModel::move(int c) {
    if (!dragging_) return false;
    state_ = DragValue(origin_, c, state_, min_, max_, cursorRange_);
    moved_ = true;
    return alwayDetect_;
}

bool KnobModel::releaseLeft(int c, bool shift) {
    std::int64_t v;
    if (moved_)
        v = DragValue(origin_, c, state_, min_, max_, cursorRange_);
    else if (rightPressed_)
        v = min_;
    else
        v = std::int64_t{state_} - StepSize(max_, shift);
    state_ = ClampValue(v, min_, max_);
    endDrag();
    return true;
}

bool KnobModel::releaseRight(bool shift) {
    const std::int64_t v = rightPressed_ ? std::int64_t{state_} + StepSize(max_, shift) : max_;
    state_ = ClampValue(v, min_, max_);
    endDrag();
    return true;
}

bool KnobModel::key(KnobKey k, bool shift) {
    const int d = StepSize(max_, shift);
    std::int64_t v = state_;
    switch (k) {
        case KnobKey::PageUp: v += d; break;
        case KnobKey::PageDown: v -= d; break;
        case KnobKey::End: v = min_; break;
        case KnobKey::Home: v = max_; break;
        case KnobKey::None: return false;
    }
    if (v == state_) return false;
    state_ = ClampValue(v, min_, max_);
    return true;
}

bool KnobModel::step(int steps) {
    return setState(ClampValue(std::int64_t{state_} + steps, min_, max_));
}

void KnobModel::endDrag() {
    origin_ = 0;
    dragging_ = false;
    moved_ = false;
}

}  // namespace controls
