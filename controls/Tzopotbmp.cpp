#include "controls/Tzopotbmp.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace controls {

Tzopotbmp::Tzopotbmp(QWidget* parent) : FilmstripWidget(256, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void Tzopotbmp::setState(int v) {
    if (model_.setState(v)) update();
}

void Tzopotbmp::setMin(int v) {
    model_.setMin(v);
    update();
}

void Tzopotbmp::setMax(int v) {
    model_.setMax(v);
    update();
}

int Tzopotbmp::currentFrame() const {
    return KnobFrameIndex(model_.state(), model_.min(), model_.max(), glyph());
}

int Tzopotbmp::axis(const QMouseEvent* e) const {
    const QPoint p = e->position().toPoint();
    return model_.mouvement() == Mouvement::posVertical ? p.y() : p.x();
}

void Tzopotbmp::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        model_.pressLeft(axis(e));
        setFocus(Qt::MouseFocusReason);
    } else if (e->button() == Qt::RightButton) {
        model_.pressRight();
        setFocus(Qt::MouseFocusReason);
    }
}

void Tzopotbmp::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    const bool fire = model_.move(axis(e));
    update();
    if (fire) emit changed();
}

void Tzopotbmp::mouseReleaseEvent(QMouseEvent* e) {
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    bool fire = false;
    if (e->button() == Qt::LeftButton)
        fire = model_.releaseLeft(axis(e), shift);
    else if (e->button() == Qt::RightButton)
        fire = model_.releaseRight(shift);
    if (fire) {
        update();
        emit changed();
    }
}

void Tzopotbmp::keyPressEvent(QKeyEvent* e) {
    KnobKey k = KnobKey::None;
    switch (e->key()) {
        case Qt::Key_PageUp: k = KnobKey::PageUp; break;
        case Qt::Key_PageDown: k = KnobKey::PageDown; break;
        case Qt::Key_Home: k = KnobKey::Home; break;
        case Qt::Key_End: k = KnobKey::End; break;
        default: FilmstripWidget::keyPressEvent(e); return;
    }
    e->accept();
    if (model_.key(k, e->modifiers() & Qt::ShiftModifier)) {
        update();
        emit changed();
    }
}

void Tzopotbmp::paintEvent(QPaintEvent* e) {
    FilmstripWidget::paintEvent(e);
    if (hasFocus()) {
        // A thin amber tick under the knob shows where the keys go.
        QPainter p(this);
        p.setPen(QColor(255, 170, 40, 200));
        const int y = height() - 1;
        p.drawLine(width() / 2 - 5, y, width() / 2 + 5, y);
    }
}

}  // namespace controls
