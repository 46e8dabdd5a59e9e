#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {

std::uint32_t MonotonicMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {

RecordingWaits* recordingWaits = nullptr;

}  // namespace

RecordingWaits::RecordingWaits() : previous_(recordingWaits) { recordingWaits = this; }

RecordingWaits::~RecordingWaits() { recordingWaits = previous_; }

void WaitTicks(int ticks) {
    if (RecordingWaits* waits = recordingWaits) {
        waits->ticks_.push_back(ticks);
        if (waits->onWait) waits->onWait(ticks);
        return;
    }
    if (ticks <= 0) return;
    // sleep_for may wake early on some systems; wait out the whole span on the monotonic clock.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(10 * ticks);
    for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now())
        std::this_thread::sleep_for(end - now);
}

void PollPause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (RecordingWaits* waits = recordingWaits) ++waits->polledMs_;
}

std::uint64_t PollClockMs() {
    if (RecordingWaits* waits = recordingWaits) return waits->polledMs_;
    return std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count());
}

}  // namespace platform
