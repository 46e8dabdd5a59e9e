#pragma once
// An InputHandler for tests: keeps what a backend delivers, joins system-exclusive pieces into
// whole messages, and lets the test wait for a number of them.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "midi/MidiBackend.h"

namespace midi {

class ReplyCollector final : public InputHandler {
public:
    void OnMidiData(std::span<const std::uint8_t> bytes, std::uint32_t) override {
        std::lock_guard lock(mutex_);
        ++pieces_;
        if (!bytes.empty() && bytes.front() == 0xF0) partial_.clear();
        partial_.insert(partial_.end(), bytes.begin(), bytes.end());
        if (partial_.front() != 0xF0 || partial_.back() == 0xF7) {
            messages_.push_back(std::move(partial_));
            partial_.clear();
            arrived_.notify_all();
        }
    }

    // The first count messages once they are there; fewer after a generous guard time.
    std::vector<std::vector<std::uint8_t>> WaitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(10), [&] { return messages_.size() >= count; });
        return messages_;
    }
    std::vector<std::vector<std::uint8_t>> Messages() {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    std::size_t Pieces() {
        std::lock_guard lock(mutex_);
        return pieces_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::vector<std::uint8_t>> messages_;
    std::vector<std::uint8_t> partial_;
    std::size_t pieces_ = 0;
};

}  // namespace midi
