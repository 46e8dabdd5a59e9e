#include "core/PageBlock.h"

#include <mutex>
#include <new>
#include <thread>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace core {

#if defined(__linux__)

namespace {

// Older kernels refuse it; the pages are then mapped as they are first written.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older headers lack it
#endif

// Mapped whole and ready to write: one call maps every page instead of one fault per page.
void* MapReady(std::size_t bytes) {
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return nullptr;
    madvise(memory, bytes, MADV_HUGEPAGE);  // fewer, larger pages where the system allows
    madvise(memory, bytes, MADV_POPULATE_WRITE);
    return memory;
}

}  // namespace

std::unique_ptr<PageBlock> PageBlock::NewBlock(std::size_t pageCount) {
    const std::size_t bytes = pageCount * sizeof(VoicePage);
    void* memory = MapReady(bytes);
    if (!memory) return nullptr;
    std::unique_ptr<PageBlock> block(new (std::nothrow) PageBlock(static_cast<VoicePage*>(memory), bytes));
    if (!block) munmap(memory, bytes);
    return block;
}

PageBlock::~PageBlock() { munmap(pages_, mappedBytes_); }

#else

std::unique_ptr<PageBlock> PageBlock::NewBlock(std::size_t pageCount) {
    auto* pages = new (std::nothrow) VoicePage[pageCount];
    if (!pages) return nullptr;
    std::unique_ptr<PageBlock> block(new (std::nothrow) PageBlock(pages, 0));
    if (!block) delete[] pages;
    return block;
}

PageBlock::~PageBlock() { delete[] pages_; }

#endif

namespace {

// The block being made ready ahead, and its size.
struct ReadyAhead {
    std::mutex lock;
    std::thread maker;
    std::size_t pageCount = 0;
    std::unique_ptr<PageBlock> block;

    void Finish() {
        if (maker.joinable()) maker.join();
    }
    ~ReadyAhead() { Finish(); }
};

ReadyAhead& Ahead() {
    static ReadyAhead ahead;
    return ahead;
}

}  // namespace

void PageBlock::MakeReadyAhead(std::size_t pageCount, std::function<void(VoicePage&)> prepare) {
    ReadyAhead& ahead = Ahead();
    const std::lock_guard guard(ahead.lock);
    if (ahead.maker.joinable() || ahead.block) return;
    ahead.pageCount = pageCount;
    ahead.maker = std::thread([&ahead, pageCount, prepare = std::move(prepare)] {
        std::unique_ptr<PageBlock> block = NewBlock(pageCount);
        if (block) {
            for (std::size_t p = 0; p < pageCount; ++p) prepare(*block->Page(p));
            block->prepared_ = true;
        }
        const std::lock_guard made(ahead.lock);
        ahead.block = std::move(block);
    });
}

std::unique_ptr<PageBlock> PageBlock::Allocate(std::size_t pageCount) {
    ReadyAhead& ahead = Ahead();
    {
        std::unique_lock guard(ahead.lock);
        if (ahead.maker.joinable()) {
            guard.unlock();
            ahead.Finish();
            guard.lock();
        }
        if (ahead.block && ahead.pageCount == pageCount) return std::move(ahead.block);
    }
    return NewBlock(pageCount);
}

}  // namespace core
