#pragma once
// The hand-off of notices from the MIDI thread to the window thread. The MIDI thread posts
// (lock-free, no allocation of ours); a wake hook, called once per batch of pending notices,
// lets the window layer schedule a call of the port's HandleNotices on its own thread
// (the Qt layer connects it to a queued invocation). Without a hook, notices simply wait until
// the window thread asks. Every notice is counted, so a batch hands each one on: one
// notification per queued event, per lost event, per completed send.

#include <array>
#include <atomic>
#include <functional>

namespace midi {

enum Notice : unsigned {
    kNoticeData,        // an event was queued
    kNoticeOverflow,    // an event was lost because the queue or the buffers were full
    kNoticeOutputDone,  // a system-exclusive send has been completed
    kNoticeKinds
};

class PortNotices {
public:
    using Counts = std::array<unsigned, kNoticeKinds>;

    // Set before the port opens; called on the MIDI thread, so it must not block.
    void SetWakeHook(std::function<void()> hook) { wake_ = std::move(hook); }

    // Any thread. (Sequentially consistent throughout: a post that finds a wake already
    // scheduled is sure to be counted by the Take that wake leads to, or by a later one.)
    void Post(Notice notice) {
        counts_[notice].fetch_add(1);
        if (!scheduled_.exchange(true) && wake_) wake_();
    }
    // Window thread: the notices posted since the last call, by kind.
    Counts Take() {
        scheduled_.store(false);
        Counts taken{};
        for (unsigned kind = 0; kind < kNoticeKinds; ++kind) taken[kind] = counts_[kind].exchange(0);
        return taken;
    }

private:
    std::array<std::atomic<unsigned>, kNoticeKinds> counts_{};
    std::atomic<bool> scheduled_{false};
    std::function<void()> wake_;
};

}  // namespace midi
