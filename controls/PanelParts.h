#pragma once
// The parts the small option windows are built of, in one look: recessed group panels, light
// captions and amber headings on the wallpaper, lamp switches, small push buttons and label
// knobs with the rack's value read-out.

#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

namespace controls {

class Tzografsw;
class Tzopotlab;

namespace panel {

extern const char* const kCaptionStyle;
extern const char* const kHeadingStyle;

// A recessed panel grouping controls, like the front of a rack unit.
QFrame* Group(QWidget* parent, const QRect& area);
// A text at (x, y), sized to fit.
QLabel* Caption(QWidget* parent, const QString& text, int x, int y,
                const char* style = kCaptionStyle);
// A two-state lamp (red LED) at (x, y).
Tzografsw* Lamp(QWidget* parent, int x, int y);
// A small round push button at (x, y), two frames: up, pressed.
Tzografsw* SmallPushButton(QWidget* parent, int x, int y);
// A label knob over min..max; dragging `cursorRange` pixels covers the whole range.
Tzopotlab* LabelKnob(QWidget* parent, int min, int max, int cursorRange, const QRect& geometry);
// A control's hint, shown on its caption as well: both answer the same clicks.
void SetHint(QWidget* control, QLabel* caption, const QString& hint);

}  // namespace panel
}  // namespace controls
