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

// The name byte a typed or shown character stands for: the way back from DisplayNameChar, so
// a user can type what the lists show. A backslash and "~" are taken as the DX7's 5Ch and 7Eh
// too. Nothing for a character no name byte holds.
std::optional<core::Byte> NameByteOf(QChar shown);
// `typed` with every character as the lists show its byte (a backslash becomes the yen sign,
// "~" the arrow); nothing when a character has no name byte. The placeholder for an
// unprintable byte stays as it is.
std::optional<QString> ShownNameText(const QString& typed);
// The name bytes of a text made of shown characters (those without a byte, the placeholder
// among them, are left out).
std::string NameBytesOf(const QString& shown);
// A name field that ends at its first zero byte (marker names): the bytes before it, shown.
QString DisplayShortName(const core::Byte* name, std::size_t size);

}  // namespace librarian
