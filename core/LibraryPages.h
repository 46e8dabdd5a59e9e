#pragma once
// The library's pages as the library-wide algorithms see them: one sequence of slots in
// library order (global position = 32 x page + slot).

#include <span>

#include "core/VoiceFormats.h"

namespace core {

using LibraryPages = std::span<VoicePage* const>;

inline VoiceSlot& SlotAt(LibraryPages pages, std::size_t position) {
    return (*pages[position / kSlotsPerPage])[position % kSlotsPerPage];
}

}  // namespace core
