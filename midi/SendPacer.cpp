#include "midi/SendPacer.h"

#include <algorithm>
#include <thread>

namespace midi {

SendPacer::Clock::duration SendPacer::Reserve(std::size_t bytes, Clock::time_point now) {
    using Seconds = std::chrono::duration<double>;
    const auto burst = std::chrono::duration_cast<Clock::duration>(Seconds(burstBytes_ / bytesPerSecond_));
    const auto cost = std::chrono::duration_cast<Clock::duration>(Seconds(bytes / bytesPerSecond_));
    due_ = std::max(due_, now);
    const Clock::duration wait = std::max(Clock::duration::zero(), due_ - now - burst);
    due_ += cost;
    return wait;
}

void SendPacer::Wait(std::size_t bytes) {
    const Clock::duration wait = Reserve(bytes, Clock::now());
    if (wait > Clock::duration::zero()) std::this_thread::sleep_for(wait);
}

}  // namespace midi
