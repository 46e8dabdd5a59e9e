#pragma once
// What the label knob and the picture knob share: their properties (kept in a KnobModel) and
// the way mouse events drive the model. The widget says how it shows the value.

#include <QMouseEvent>

#include "controls/KnobModel.h"

namespace controls {

class KnobControl {
public:
    int state() const { return model_.state(); }
    // Clamps to Min..Max and shows the value; never fires the change event.
    void setState(int v) {
        if (model_.setState(v)) showState();
    }
    int min() const { return model_.min(); }
    void setMin(int v) {  // State is not re-clamped
        model_.setMin(v);
        rangeChanged();
    }
    int max() const { return model_.max(); }
    void setMax(int v) {
        model_.setMax(v);
        rangeChanged();
    }
    int cursorRange() const { return model_.cursorRange(); }
    void setCursorRange(int v) { model_.setCursorRange(v); }
    bool alwayDetect() const { return model_.alwayDetect(); }
    void setAlwayDetect(bool v) { model_.setAlwayDetect(v); }
    Mouvement mouvement() const { return model_.mouvement(); }
    void setMouvement(Mouvement m) { model_.setMouvement(m); }

protected:
    KnobControl(int max, int cursorRange) : model_(max, cursorRange) {}
    virtual ~KnobControl() = default;

    // Shows the current value (caption or frame).
    virtual void showState() = 0;
    virtual void rangeChanged() {}

    // Feed the widget's mouse events; true when the change event is due. Every move with the
    // left button held and every left or right release shows the value.
    bool knobPress(const QMouseEvent& e);  // true for the left or right button
    bool knobMove(const QMouseEvent& e);
    bool knobRelease(const QMouseEvent& e);
    // Moves the value by `steps` and shows it; true when it changed (the change event is due).
    bool knobStep(int steps);

    KnobModel model_;

private:
    int axis(const QMouseEvent& e) const;
};

}  // namespace controls
