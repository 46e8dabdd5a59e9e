#include "controls/KnobControl.h"

namespace controls {

int KnobControl::axis(const QMouseEvent& e) const {
    const QPoint p = e.position().toPoint();
    return model_.mouvement() == Mouvement::posVertical ? p.y() : p.x();
}

bool KnobControl::knobPress(const QMouseEvent& e) {
    if (e.button() == Qt::LeftButton)
        model_.pressLeft(axis(e));
    else if (e.button() == Qt::RightButton)
        model_.pressRight();
    else
        return false;
    return true;
}

bool KnobControl::knobMove(const QMouseEvent& e) {
    if (!(e.buttons() & Qt::LeftButton)) return false;
    const bool fire = model_.move(axis(e));
    showState();
    return fire;
}

bool KnobControl::knobRelease(const QMouseEvent& e) {
    const bool shift = e.modifiers() & Qt::ShiftModifier;
    bool fire = false;
    if (e.button() == Qt::LeftButton)
        fire = model_.releaseLeft(axis(e), shift);
    else if (e.button() == Qt::RightButton)
        fire = model_.releaseRight(shift);
    if (fire) showState();
    return fire;
}

bool KnobControl::knobStep(int steps) {
    if (!model_.step(steps)) return false;
    showState();
    return true;
}

}  // namespace controls
