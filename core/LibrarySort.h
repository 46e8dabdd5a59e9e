#pragma once
// The library-wide sorts over all slots as one sequence in library order: used slots first,
// ascending by name (plain unsigned byte order) or by marker, free slots last. Equal keys
// keep their library order. The slots are moved in place; the working memory is reserved
// once.

#include "core/LibraryPages.h"
#include "core/VoiceFormats.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>
#include "core/WorkingMemory.h"

namespace core {

class LibrarySorter {
public:
    explicit LibrarySorter(std::size_t pageCount);

    void SortByName(LibraryPages pages);
    void SortByMarker(LibraryPages pages);

private:
    struct NameKey {
        std::uint64_t high;  // name bytes 0-7, most significant first
        std::uint64_t low;   // name bytes 8-9, then the position
        bool operator<(const NameKey& other) const {
            return high != other.high ? high < other.high : low < other.low;
        }
    };

    // Appends the free positions, in library order, after the used ones in order_.
    void AppendFreePositions(LibraryPages pages, std::size_t used);
    // Moves the slot at order_[k] to position k for every k.
    void Permute(LibraryPages pages);

    WorkingVector<NameKey> keys_;
    WorkingVector<std::uint32_t> order_;
};

}  // namespace core
