#pragma once
// The monotonic clock and the blocking wait of the window thread.

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

// Milliseconds of a monotonic clock (wraps after about 49 days; compare by difference).
std::uint32_t MonotonicMs();

// Blocks the calling thread for ticks × 10 ms (nothing when ticks ≤ 0). Used for the press
// feedback of buttons and the dump engine's waits; no window messages are processed meanwhile.
void WaitTicks(int ticks);

// A polling loop's pause (1 ms) and the clock its limit is measured on: the monotonic clock in
// milliseconds, or while a RecordingWaits exists the sum of the pauses taken (each pause still
// real, so other threads go on), so tests bound a poll by the polls it made, not by wall time.
void PollPause();
std::uint64_t PollClockMs();

// Takes the place of WaitTicks' blocking for its lifetime: each call is recorded and returns at
// once, after `onWait` (when set) has seen it, so tests look at what happened by the time a wait
// would have ended without spending the time.
class RecordingWaits {
public:
    RecordingWaits();
    ~RecordingWaits();
    RecordingWaits(const RecordingWaits&) = delete;
    RecordingWaits& operator=(const RecordingWaits&) = delete;

    // The ticks of every call, in order.
    const std::vector<int>& Ticks() const { return ticks_; }
    // The milliseconds of PollPause taken meanwhile.
    std::uint64_t PolledMs() const { return polledMs_; }
    std::function<void(int ticks)> onWait;

private:
    friend void WaitTicks(int ticks);
    friend void PollPause();
    friend std::uint64_t PollClockMs();
    RecordingWaits* previous_;
    std::vector<int> ticks_;
    std::uint64_t polledMs_ = 0;
};

}  // namespace platform
