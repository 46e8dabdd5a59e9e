#include "controls/Tzopotbmp.h"

#include <QKeyEvent>
#include <QPainter>

namespace controls {

Tzopotbmp::Tzopotbmp(QWidget* parent) : FilmstripWidget(256, parent), KnobControl(1, 5) {
    setFocusPolicy(Qt::StrongFocus);
}

int Tzopotbmp::currentFrame() const {
    return KnobFrameIndex(model_.state(), model_.min(), model_.max(), glyph());
}

void Tzopotbmp::mousePressEvent(QMouseEvent* e) {
    if (knobPress(*e))
        setFocus(Qt::MouseFocusReason);
    else
        FilmstripWidget::mousePressEvent(e);
}

void Tzopotbmp::mouseMoveEvent(QMouseEvent* e) {
    if (knobMove(*e)) emit changed();
}

void Tzopotbmp::mouseReleaseEvent(QMouseEvent* e) {
    if (knobRelease(*e)) emit changed();
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
