#pragma once
// Label knob: a text label showing an integer that the user drags or clicks to change.
// Drag along the chosen axis over CursorRange pixels to cover the whole range; a plain left
// click steps down, a right click steps up (Shift: Max / 10); holding one button while
// clicking the other jumps to Min or Max.

#include <QLabel>

#include "controls/KnobControl.h"

namespace controls {

class Tzopotlab : public QLabel, public KnobControl {
    Q_OBJECT
public:
    explicit Tzopotlab(QWidget* parent = nullptr);

    // With fine steps on, each notch of the wheel and each arrow key (Up and Right raise it)
    // moves the value by one, and the knob takes the focus for the keys: for wide ranges whose
    // drag passes several values a pixel.
    void setFineSteps(bool on);

signals:
    // After every change by the user (drag moves with AlwayDetect, every release).
    void changed();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showState() override;

private:
    bool fineSteps_ = false;
    int wheelRest_ = 0;  // eighths of a degree not yet making a notch (fine-grained wheels)
};

}  // namespace controls
