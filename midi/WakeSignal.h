#pragma once
// Wakes the window thread from the MIDI thread without allocating or blocking: raising writes to
// an event counter (eventfd) that the window layer watches with a socket notifier. A queued call
// posted from the MIDI thread would allocate an event for every batch of notices.

#include <functional>

namespace midi {

class WakeSignal {
public:
    // Throws std::system_error when the system has no event counter to give.
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    // Any thread; never blocks (a counter already raised stays raised).
    void Raise() noexcept;
    // Window thread: lowers the signal; true when it was raised.
    bool Clear() noexcept;
    // The descriptor that becomes readable while raised.
    int Handle() const { return fd_; }
    // The port's wake hook: raises this signal.
    std::function<void()> Hook() {
        return [this] { Raise(); };
    }

private:
    int fd_;
};

}  // namespace midi
