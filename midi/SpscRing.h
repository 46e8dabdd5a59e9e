#pragma once
// A fixed-capacity ring for one producer thread and one consumer thread. The producer writes
// entries and its write position, the consumer only its read position; the shared count is the
// only field both change, atomically. An entry is written completely before the count makes it
// visible. Never overwrites: a push that does not fit fails. Storage is allocated once, at
// construction, so pushing and popping never allocate.

#include <atomic>
#include <cstddef>
#include <memory>

namespace midi {

template <typename T>
class SpscRing {
public:
    explicit SpscRing(std::size_t capacity)
        : entries_(capacity ? std::make_unique<T[]>(capacity) : nullptr), capacity_(capacity) {}
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

    std::size_t Capacity() const { return capacity_; }
    std::size_t Count() const { return count_.load(std::memory_order_acquire); }

    // Producer side.
    bool Push(const T& entry) {
        if (count_.load(std::memory_order_acquire) >= capacity_) return false;
        entries_[write_] = entry;
        write_ = Next(write_);
        count_.fetch_add(1, std::memory_order_acq_rel);
        return true;
    }

    // Consumer side: the oldest entry, or nullptr when empty.
    const T* Peek() const {
        if (count_.load(std::memory_order_acquire) == 0) return nullptr;
        return &entries_[read_];
    }
    bool Remove() {
        if (count_.load(std::memory_order_acquire) == 0) return false;
        read_ = Next(read_);
        count_.fetch_sub(1, std::memory_order_acq_rel);
        return true;
    }
    bool Pop(T& entry) {
        const T* oldest = Peek();
        if (!oldest) return false;
        entry = *oldest;
        return Remove();
    }

private:
    std::size_t Next(std::size_t position) const {
        return position + 1 == capacity_ ? 0 : position + 1;
    }

    std::unique_ptr<T[]> entries_;
    std::size_t capacity_;
    std::size_t write_ = 0;  // producer only
    std::size_t read_ = 0;   // consumer only
    std::atomic<std::size_t> count_{0};
};

}  // namespace midi
