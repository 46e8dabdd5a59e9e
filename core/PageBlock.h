#pragma once
// The library's voice pages in one block of memory. Separately allocated pages cost one
// allocation each and one fault of the system per 4 KiB the first time they are written; a
// block asks the system for all of its memory at once where it can (the library's thousand
// pages are cleared at start-up, before the main window can show).

#include <cstddef>
#include <functional>
#include <memory>

#include "core/VoiceFormats.h"

namespace core {

class PageBlock {
public:
    // Nothing when the memory can't be had. The pages' bytes are left undefined. Takes the block
    // made ready ahead when it has that many pages.
    static std::unique_ptr<PageBlock> Allocate(std::size_t pageCount);
    // Starts making a block ready on a helper thread, each page passed through `prepare` (the
    // program does it while its window system connection is set up, long before the library
    // is made).
    static void MakeReadyAhead(std::size_t pageCount, std::function<void(VoicePage&)> prepare);
    // True when the block was made ahead: its pages have been through `prepare`.
    bool Prepared() const { return prepared_; }
    ~PageBlock();
    PageBlock(const PageBlock&) = delete;
    PageBlock& operator=(const PageBlock&) = delete;

    VoicePage* Page(std::size_t index) { return pages_ + index; }

private:
    static std::unique_ptr<PageBlock> NewBlock(std::size_t pageCount);
    PageBlock(VoicePage* pages, std::size_t mappedBytes) : pages_(pages), mappedBytes_(mappedBytes) {}

    VoicePage* pages_;
    std::size_t mappedBytes_;  // 0 where the block comes from the heap
    bool prepared_ = false;
};

}  // namespace core
