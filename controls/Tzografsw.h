#pragma once
// Picture switch: shows frame State of its filmstrip (buttons, switches, radio choices, lamps).
// It has no behaviour of its own on input; the window's click handler sets the new State.

#include "controls/FilmstripWidget.h"

namespace controls {

// Frame shown for a switch state: the state itself when it names a frame, else 0.
int SwitchFrameIndex(int state, int glyph);

class Tzografsw : public FilmstripWidget {
    Q_OBJECT
public:
    explicit Tzografsw(QWidget* parent = nullptr);

    int state() const { return state_; }
    // A value below 0 or not below Glyph becomes 0; never emits a signal.
    void setState(int v);

    int currentFrame() const override;

signals:
    // Left button pressed and released over the switch.
    void clicked();
    // Every press and release, for handlers that care about the button or Shift.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int state_ = 0;
};

}  // namespace controls
