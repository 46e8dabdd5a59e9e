#pragma once
// Picture knob: shows the filmstrip frame chosen by its value; changed by mouse like the label
// knob and, while focused, by Page Up/Down (step), Home (Max) and End (Min).

#include "controls/FilmstripWidget.h"
#include "controls/KnobModel.h"

namespace controls {

class Tzopotbmp : public FilmstripWidget {
    Q_OBJECT
public:
    explicit Tzopotbmp(QWidget* parent = nullptr);

    int state() const { return model_.state(); }
    // Clamps to Min..Max and repaints; never emits changed().
    void setState(int v);
    int min() const { return model_.min(); }
    void setMin(int v);  // State is not re-clamped
    int max() const { return model_.max(); }
    void setMax(int v);
    int cursorRange() const { return model_.cursorRange(); }
    void setCursorRange(int v) { model_.setCursorRange(v); }
    bool alwayDetect() const { return model_.alwayDetect(); }
    void setAlwayDetect(bool v) { model_.setAlwayDetect(v); }
    Mouvement mouvement() const { return model_.mouvement(); }
    void setMouvement(Mouvement m) { model_.setMouvement(m); }

    int currentFrame() const override;

signals:
    void changed();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    int axis(const QMouseEvent* e) const;

    KnobModel model_{1, 5};
};

}  // namespace controls
