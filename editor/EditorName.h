#pragma once
// The voice name as the editor shows and stores it. A name byte of 80h or more would break
// every dump that carries the voice, so only what the DX7 can show is stored.

#include <QString>

#include <array>
#include <optional>

#include "core/VoiceFormats.h"

namespace editor {

using NameBytes = std::array<core::Byte, core::kNameSize>;

// The ten name bytes for the text the user typed over `current` (the bytes the name field
// showed): the characters 20h-7Eh as they are, and the DX7's yen sign, right and left arrows
// back to 5Ch, 7Eh and 7Fh. A character the name field showed unchanged in its place keeps
// its byte (even one with no character of its own); other characters are left out. At most ten
// are taken, the rest filled with spaces. Nothing when the text is the name shown (trailing
// spaces aside): an unchanged name is never rewritten.
std::optional<NameBytes> StoredName(const QString& typed, const core::Byte* current);

}  // namespace editor
