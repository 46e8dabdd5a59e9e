#pragma once
// The voice lists of the main window: a fixed-pitch font that fits ten characters in the list's
// width, 13-pixel lines, several highlighted lines; the highlight follows the slots' selected
// bits and is set only by the program.

#include <QColor>
#include <QString>

#include "controls/ColourValue.h"

class QListWidget;
class QRect;
class QWidget;

namespace core {
struct VoiceSlot;
}

namespace librarian {

inline constexpr int kVoiceLineHeight = 13;

using controls::ColourFromValue;  // colour numbers as stored: red in the low byte

QListWidget* MakeVoiceList(QWidget* parent, const QString& name, const QRect& geometry,
                           QColor background);

// Replaces the list's lines by `count` slots from `lineSlots`; a line is highlighted exactly when
// its slot is selected.
void FillVoiceList(QListWidget* list, const core::VoiceSlot* lineSlots, int count);

}  // namespace librarian
