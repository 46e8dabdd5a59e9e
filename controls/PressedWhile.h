#pragma once
// Shows a switch pressed for the length of an action that blocks the window thread (a wait, a
// modal window), painting at once on both edges since no paint event gets through meanwhile.

#include "controls/Tzografsw.h"

namespace controls {

class PressedWhile {
public:
    explicit PressedWhile(Tzografsw* sw) : sw_(sw) { Show(1); }
    ~PressedWhile() { Show(0); }
    PressedWhile(const PressedWhile&) = delete;
    PressedWhile& operator=(const PressedWhile&) = delete;

private:
    void Show(int state) {
        sw_->setState(state);
        sw_->repaint();
    }
    Tzografsw* sw_;
};

}  // namespace controls
