#include "controls/Tzografsw.h"

#include <QMouseEvent>

namespace controls {

int SwitchFrameIndex(int state, int glyph) { return state > 0 && state <= glyph - 1 ? state : 0; }

Tzografsw::Tzografsw(QWidget* parent) : FilmstripWidget(255, parent) {}

void Tzografsw::setState(int v) {
    if (v == state_) return;
    state_ = v < 0 || v >= glyph() ? 0 : v;
    // Drawn at once: windows show button feedback while their thread is blocked.
    repaint();
}

int Tzografsw::currentFrame() const { return SwitchFrameIndex(state_, glyph()); }

void Tzografsw::mousePressEvent(QMouseEvent* e) {
    emit mousePressed(e->button(), e->modifiers());
}

void Tzografsw::mouseReleaseEvent(QMouseEvent* e) {
    emit mouseReleased(e->button(), e->modifiers());
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
}

}  // namespace controls
