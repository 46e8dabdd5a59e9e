#pragma once
// Voice names as the lists show them: the DX7's own character set, all ten bytes.

#include <QString>

#include <optional>
#include <string>

#include "core/VoiceFormats.h"

namespace librarian {

// Shown for bytes the DX7 display has no printable character for (below 20h, above 7Fh).
inline constexpr char16_t kUnprintableNameChar = u'\u2591';

// One name byte as the DX7 shows it: ASCII, except 5Ch (yen sign), 7Eh (arrow right) and
// 7Fh (arrow left).
QChar DisplayNameChar(core::Byte byte);
// All ten bytes of a name; a zero byte is shown as a placeholder and never ends the name.
QString DisplayVoiceName(const core::Byte* name);
// A slot's line: its name, or "----------" when the slot is not used.
QString DisplayVoiceName(const core::VoiceSlot& slot);

// The name byte a typed character stands for, so a search finds what the lists show: the
// characters DisplayNameChar shows for 20h-7Fh give their byte back (a typed backslash or tilde too);
// nothing for any other character.
std::optional<core::Byte> NameByteFromChar(QChar typed);
// A typed text as name bytes; characters without a byte are left out.
std::string NameBytesFromText(const QString& text);

}  // namespace librarian
