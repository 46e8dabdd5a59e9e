#include "core/LibrarySort.h"

#include <algorithm>
#include <array>

namespace core {
namespace {

constexpr std::size_t kMarkerValues = 64;  // all values bits 2-7 can hold

}  // namespace

LibrarySorter::LibrarySorter(std::size_t pageCount)
    : keys_(pageCount * kSlotsPerPage), order_(pageCount * kSlotsPerPage) {}

void LibrarySorter::SortByName(LibraryPages pages) {
    const std::size_t slots = pages.size() * kSlotsPerPage;
    if (slots > order_.size()) return;
    std::size_t used = 0;
    for (std::size_t position = 0; position < slots; ++position) {
        const VoiceSlot& slot = SlotAt(pages, position);
        if (!slot.IsUsed()) continue;
        const Byte* name = slot.voice.data() + kPackedNameOffset;
        std::uint64_t high = 0;
        for (std::size_t i = 0; i < 8; ++i) high = (high << 8) | name[i];
        keys_[used++] = {high,
                         std::uint64_t(name[8]) << 56 | std::uint64_t(name[9]) << 48 | position};
    }
    std::sort(keys_.begin(), keys_.begin() + used);
    for (std::size_t k = 0; k < used; ++k) order_[k] = std::uint32_t(keys_[k].low);
    AppendFreePositions(pages, used);
    Permute(pages);
}

void LibrarySorter::SortByMarker(LibraryPages pages) {
    const std::size_t slots = pages.size() * kSlotsPerPage;
    if (slots > order_.size()) return;
    // Counting sort: stable, so equal markers keep their library order.
    std::array<std::size_t, kMarkerValues + 1> start{};
    for (std::size_t position = 0; position < slots; ++position) {
        const VoiceSlot& slot = SlotAt(pages, position);
        if (slot.IsUsed()) ++start[slot.Marker() + 1];
    }
    for (std::size_t m = 0; m < kMarkerValues; ++m) start[m + 1] += start[m];
    const std::size_t used = start[kMarkerValues];
    for (std::size_t position = 0; position < slots; ++position) {
        const VoiceSlot& slot = SlotAt(pages, position);
        if (slot.IsUsed()) order_[start[slot.Marker()]++] = std::uint32_t(position);
    }
    AppendFreePositions(pages, used);
    Permute(pages);
}

void LibrarySorter::AppendFreePositions(LibraryPages pages, std::size_t used) {
    const std::size_t slots = pages.size() * kSlotsPerPage;
    for (std::size_t position = 0; position < slots; ++position)
        if (!SlotAt(pages, position).IsUsed()) order_[used++] = std::uint32_t(position);
}

void LibrarySorter::Permute(LibraryPages pages) {
    const std::size_t slots = pages.size() * kSlotsPerPage;
    // Follow each cycle of the permutation with one slot in hand; a position that has
    // received its slot is marked by order_[k] == k.
    for (std::size_t start = 0; start < slots; ++start) {
        if (order_[start] == start) continue;
        const VoiceSlot held = SlotAt(pages, start);
        std::size_t k = start;
        while (order_[k] != start) {
            const std::size_t from = order_[k];
            SlotAt(pages, k) = SlotAt(pages, from);
            order_[k] = std::uint32_t(k);
            k = from;
        }
        SlotAt(pages, k) = held;
        order_[k] = std::uint32_t(k);
    }
}

}  // namespace core
