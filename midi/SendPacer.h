#pragma once
// Paces bytes sent to a MIDI system that drops what exceeds its buffers: a burst goes out at
// once, after that no more than `bytesPerSecond` on average. Sleeps the sending thread.

#include <chrono>
#include <cstddef>

namespace midi {

class SendPacer {
public:
    using Clock = std::chrono::steady_clock;

    SendPacer(double bytesPerSecond, std::size_t burstBytes)
        : bytesPerSecond_(bytesPerSecond), burstBytes_(burstBytes) {}

    // How long to wait before sending `bytes` at `now`; the bytes count as sent after it.
    Clock::duration Reserve(std::size_t bytes, Clock::time_point now);
    // The rate may follow the MIDI system (a JACK server can change its period while running).
    void SetBytesPerSecond(double bytesPerSecond) { bytesPerSecond_ = bytesPerSecond; }
    // Reserve, then sleep for it.
    void Wait(std::size_t bytes);

private:
    double bytesPerSecond_;
    std::size_t burstBytes_;
    Clock::time_point due_{};  // when everything reserved so far has drained
};

}  // namespace midi
