#pragma once
// The monotonic clock and the blocking wait of the window thread.

#include <cstdint>

namespace platform {

// Milliseconds of a monotonic clock (wraps after about 49 days; compare by difference).
std::uint32_t MonotonicMs();

// Blocks the calling thread for ticks × 10 ms (nothing when ticks ≤ 0). Used for the press
// feedback of buttons and the dump engine's waits; no window messages are processed meanwhile.
void WaitTicks(int ticks);

}  // namespace platform
