#pragma once
// Picture knob: shows the filmstrip frame chosen by its value; changed by mouse like the label
// knob and, while focused, by Page Up/Down (step), Home (Max) and End (Min).

#include "controls/FilmstripWidget.h"
#include "controls/KnobControl.h"

namespace controls {

class Tzopotbmp : public FilmstripWidget, public KnobControl {
    Q_OBJECT
public:
    explicit Tzopotbmp(QWidget* parent = nullptr);

    int currentFrame() const override;

signals:
    void changed();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void showState() override { update(); }
    void rangeChanged() override { update(); }
};

}  // namespace controls
