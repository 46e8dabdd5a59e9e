#pragma once
// The library's voice pages in one block of memory. Separately allocated pages cost one
// allocation each and one fault of the system per 4 KiB the first time they are written; a
// block asks the system for all of its memory at once where it can (the library's thousand
// pages are cleared at start-up, before the main window can show).

#include <cstddef>
#include <memory>

#include "core/VoiceFormats.h"

namespace core {

class PageBlock {
public:
    // Nothing when the memory can't be had. The pages' bytes are left undefined.
    static std::unique_ptr<PageBlock> Allocate(std::size_t pageCount);
    ~PageBlock();
    PageBlock(const PageBlock&) = delete;
    PageBlock& operator=(const PageBlock&) = delete;

    VoicePage* Page(std::size_t index) { return pages_ + index; }

private:
    PageBlock(VoicePage* pages, std::size_t mappedBytes) : pages_(pages), mappedBytes_(mappedBytes) {}

    VoicePage* pages_;
    std::size_t mappedBytes_;  // 0 where the block comes from the heap
};

}  // namespace core
