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
    std::function<void(int ticks)> onWait;

private:
    friend void WaitTicks(int ticks);
    RecordingWaits* previous_;
    std::vector<int> ticks_;
};

}  // namespace platform
