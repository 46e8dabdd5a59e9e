#include "controls/Tzopotlab.h"

#include <QMouseEvent>

namespace controls {

Tzopotlab::Tzopotlab(QWidget* parent) : QLabel(parent) {
    resize(30, 30);
    showState();
}

void Tzopotlab::setState(int v) {
    if (model_.setState(v)) showState();
}

int Tzopotlab::axis(const QMouseEvent* e) const {
    const QPoint p = e->position().toPoint();
    return model_.mouvement() == Mouvement::posVertical ? p.y() : p.x();
}

void Tzopotlab::showState() { setText(QString::number(model_.state())); }

void Tzopotlab::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        model_.pressLeft(axis(e));
    else if (e->button() == Qt::RightButton)
        model_.pressRight();
}

void Tzopotlab::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) {
        const bool wasDragging = model_.dragging();
        const bool fire = model_.move(axis(e));
        if (wasDragging) showState();
        update();
        if (fire) emit changed();
    }
}

void Tzopotlab::mouseReleaseEvent(QMouseEvent* e) {
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    bool fire = false;
    if (e->button() == Qt::LeftButton)
        fire = model_.releaseLeft(axis(e), shift);
    else if (e->button() == Qt::RightButton)
        fire = model_.releaseRight(shift);
    if (fire) {
        showState();
        update();
        emit changed();
    }
}

}  // namespace controls
