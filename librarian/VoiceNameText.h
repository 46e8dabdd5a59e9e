#pragma once
// Voice names as the lists show them: the DX7's own character set, all ten bytes.

#include <QString>

#include <optional>
#include <string>

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

// The name byte a typed character stands for, so a search finds what the lists show: the
// characters DisplayNameChar shows for 20h-7Fh give their byte back (a typed backslash or tilde too);
// nothing for any other character.
std::optional<core::Byte> NameByteFromChar(QChar typed);
// A typed text as name bytes; characters without a byte are left out.
std::string NameBytesFromText(const QString& text);
// `typed` with every character as the lists show its byte (a backslash becomes the yen sign,
// "~" the arrow); nothing when a character has no name byte. The placeholder for an
// unprintable byte stays as it is.
std::optional<QString> ShownNameText(const QString& typed);
// A name field that ends at its first zero byte (marker names): the bytes before it, shown.
QString DisplayShortName(const core::Byte* name, std::size_t size);

}  // namespace librarian
