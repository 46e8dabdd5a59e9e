#pragma once
// Label knob: a text label showing an integer that the user drags or clicks to change.
// Drag along the chosen axis over CursorRange pixels to cover the whole range; a plain left
// click steps down, a right click steps up (Shift: Max / 10); holding one button while
// clicking the other jumps to Min or Max.

#include <QLabel>

#include "controls/KnobModel.h"

namespace controls {

class Tzopotlab : public QLabel {
    Q_OBJECT
public:
    explicit Tzopotlab(QWidget* parent = nullptr);

    int state() const { return model_.state(); }
    // Clamps to Min..Max and updates the caption; never emits changed().
    void setState(int v);
    int min() const { return model_.min(); }
    void setMin(int v) { model_.setMin(v); }  // State is not re-clamped
    int max() const { return model_.max(); }
    void setMax(int v) { model_.setMax(v); }
    int cursorRange() const { return model_.cursorRange(); }
    void setCursorRange(int v) { model_.setCursorRange(v); }
    bool alwayDetect() const { return model_.alwayDetect(); }
    void setAlwayDetect(bool v) { model_.setAlwayDetect(v); }
    Mouvement mouvement() const { return model_.mouvement(); }
    void setMouvement(Mouvement m) { model_.setMouvement(m); }

signals:
    // After every change by the user (drag moves with AlwayDetect, every release).
    void changed();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int axis(const QMouseEvent* e) const;
    void showState();

    KnobModel model_{100, 15};
};

}  // namespace controls
