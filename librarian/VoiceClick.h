#pragma once
// A click on a voice line of a bank or library list, without the window: which slot the line
// shows, and what the click does to that slot and the edit buffer.

#include <optional>
#include <string>

#include "core/Edtson.h"
#include "core/VoiceFormats.h"

namespace librarian {

struct LibraryLine {
    int page = 0;
    int slot = 0;
    bool operator==(const LibraryLine&) const = default;
};

// Library list `list` (0-11) shows page `pageNumber` + list / 2, slots 0-15 for even lists and
// 16-31 for odd ones; line `line` (0-15) of it is this slot.
LibraryLine LibraryLineSlot(int list, int line, int pageNumber);

// A click on a used slot toggles its selection and takes its voice into the edit buffer (with
// `function`, also the function record; with `linkBuffers` into the compare image too).
// Returns the voice's ten name bytes; nothing, and nothing changed, for an unused slot.
std::optional<std::string> ClickVoice(core::VoiceSlot& slot, const core::PackedFunction* function,
                                      core::Edtson& buffer, bool linkBuffers);

}  // namespace librarian
