#pragma once
// Small builders for pages and slots in the core tests.

#include <cstring>
#include <string_view>

#include "core/Nomsyn.h"
#include "core/VoiceFormats.h"

namespace core::test {

// A used slot whose parameters are all `parameters` and whose name is `name` padded with
// spaces to 10 characters.
inline VoiceSlot UsedSlot(std::string_view name, Byte parameters = 1, Byte status = kStatusUsed) {
    VoiceSlot slot;
    slot.voice.fill(parameters);
    std::memset(slot.voice.data() + kPackedNameOffset, ' ', kNameSize);
    std::memcpy(slot.voice.data() + kPackedNameOffset, name.data(), std::min(name.size(), kNameSize));
    slot.status = status;
    return slot;
}

inline VoicePage EmptyPage() {
    VoicePage page;
    Nomsyn::InitPage(page);
    return page;
}

inline std::string NameOf(const VoiceSlot& slot) { return VoiceNameOf(slot.voice); }

}  // namespace core::test
