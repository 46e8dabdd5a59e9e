#pragma once
// Voice names as the lists show them: the DX7's own character set, all ten bytes.

#include <QString>

#include "core/NameChars.h"
#include "core/VoiceFormats.h"

namespace librarian {

using core::kUnprintableNameChar;

// One name byte as the DX7 shows it: ASCII, except 5Ch (yen sign), 7Eh (arrow right) and
// 7Fh (arrow left).
QChar DisplayNameChar(core::Byte byte);
// All ten bytes of a name; a zero byte is shown as a placeholder and never ends the name.
QString DisplayVoiceName(const core::Byte* name);
// A slot's line: its name, or "----------" when the slot is not used.
QString DisplayVoiceName(const core::VoiceSlot& slot);

}  // namespace librarian
