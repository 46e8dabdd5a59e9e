#include "librarian/VoiceClick.h"

namespace librarian {

LibraryLine LibraryLineSlot(int list, int line, int pageNumber) {
    constexpr int kLinesPerList = int(core::kSlotsPerPage) / 2;
    return {pageNumber + list / 2, line + (list % 2) * kLinesPerList};
}

std::optional<std::string> ClickVoice(core::VoiceSlot& slot, const core::PackedFunction* function,
                                      core::Edtson& buffer, bool linkBuffers) {
    if (!slot.IsUsed()) return std::nullopt;
    slot.status ^= core::kStatusSelected;
    return buffer.TakeVoice(slot.voice, function, function != nullptr, linkBuffers);
}

}  // namespace librarian
