#include "controls/Tzopotlab.h"

namespace controls {

Tzopotlab::Tzopotlab(QWidget* parent) : QLabel(parent), KnobControl(100, 15) {
    resize(30, 30);
    showState();
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

}  // namespace controls
