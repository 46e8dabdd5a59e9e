#pragma once
// Voice-name bytes as the DX7's display shows them: its character set is ASCII except for
// three bytes, and it has no character for bytes below 20h or above 7Fh.

#include "core/VoiceFormats.h"

namespace core {

// Shown for bytes the DX7 display has no printable character for.
inline constexpr char16_t kUnprintableNameChar = u'\u2591';

// The character (as a code point) for one name byte: ASCII, except 5Ch (yen sign), 7Eh
// (arrow right) and 7Fh (arrow left).
constexpr char16_t NameCharCode(Byte byte) {
    switch (byte) {
    case 0x5C: return u'\u00A5';
    case 0x7E: return u'\u2192';
    case 0x7F: return u'\u2190';
    default: break;
    }
    if (byte < 0x20 || byte > 0x7F) return kUnprintableNameChar;
    return char16_t(byte);
}

}  // namespace core
