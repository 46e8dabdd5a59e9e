#include "controls/Tzopotlab.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace controls {

Tzopotlab::Tzopotlab(QWidget* parent) : QLabel(parent), KnobControl(100, 15) {
    resize(30, 30);
    showState();
}

void Tzopotlab::setFineSteps(bool on) {
    fineSteps_ = on;
    wheelRest_ = 0;
    setFocusPolicy(on ? Qt::WheelFocus : Qt::NoFocus);
}

void Tzopotlab::showState() { setText(QString::number(model_.state())); }

void Tzopotlab::mousePressEvent(QMouseEvent* e) {
    if (!knobPress(*e)) QLabel::mousePressEvent(e);
}

void Tzopotlab::mouseMoveEvent(QMouseEvent* e) {
    if (knobMove(*e)) emit changed();
}

void Tzopotlab::mouseReleaseEvent(QMouseEvent* e) {
    if (knobRelease(*e)) emit changed();
}

void Tzopotlab::wheelEvent(QWheelEvent* e) {
    if (!fineSteps_) return QLabel::wheelEvent(e);
    constexpr int kNotch = QWheelEvent::DefaultDeltasPerStep;
    const QPoint delta = e->angleDelta();
    wheelRest_ += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = wheelRest_ / kNotch;
    wheelRest_ -= notches * kNotch;
    e->accept();
    if (notches != 0 && knobStep(notches)) emit changed();
}

void Tzopotlab::keyPressEvent(QKeyEvent* e) {
    int steps = 0;
    if (fineSteps_) {
        switch (e->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right: steps = 1; break;
        case Qt::Key_Down:
        case Qt::Key_Left: steps = -1; break;
        default: break;
        }
    }
    if (steps == 0) return QLabel::keyPressEvent(e);
    e->accept();
    if (knobStep(steps)) emit changed();
}

}  // namespace controls
