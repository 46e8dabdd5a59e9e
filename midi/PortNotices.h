#pragma once
// The hand-off of notices from the MIDI thread to the window thread. The MIDI thread posts
// (lock-free, no allocation of ours); a wake hook, called once per batch of pending notices,
// lets the window layer schedule a call of the port's HandleNotices on its own thread
// (the Qt layer connects it to a queued invocation). Without a hook, notices simply wait until
// the window thread asks.

#include <atomic>
#include <functional>

namespace midi {

enum Notice : unsigned {
    kNoticeData = 1u,        // an event was queued
    kNoticeOverflow = 2u,    // an event was lost because the queue or the buffers were full
    kNoticeOutputDone = 4u,  // a system-exclusive send has been completed
};

class PortNotices {
public:
    // Set before the port opens; called on the MIDI thread, so it must not block.
    void SetWakeHook(std::function<void()> hook) { wake_ = std::move(hook); }

    // Any thread.
    void Post(Notice notice) {
        if (pending_.fetch_or(notice, std::memory_order_acq_rel) == 0 && wake_) wake_();
    }
    // Window thread: the pending notices, cleared.
    unsigned Take() { return pending_.exchange(0, std::memory_order_acq_rel); }

private:
    std::atomic<unsigned> pending_{0};
    std::function<void()> wake_;
};

}  // namespace midi
