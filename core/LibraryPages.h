#pragma once
// The library's separately allocated pages as the library-wide algorithms see them: one
// sequence of slots in library order (global position = 32 x page + slot).

#include <memory>
#include <span>

#include "core/VoiceFormats.h"

namespace core {

using LibraryPages = std::span<const std::unique_ptr<VoicePage>>;

inline VoiceSlot& SlotAt(LibraryPages pages, std::size_t position) {
    return (*pages[position / kSlotsPerPage])[position % kSlotsPerPage];
}

}  // namespace core
