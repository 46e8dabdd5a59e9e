// The MIDI thread's work allocates nothing: every allocation made on a watched thread is
// counted by this program's own operator new. The audio thread's rendering also takes no
// lock: this program's pthread_mutex_lock counts those too.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "midi/EmulatedRack.h"
#include "midi/InputReceiver.h"
#include "midi/SysexMessages.h"
#include "midi/WakeSignal.h"

#include <cmath>
#include <mutex>
#include <numeric>

namespace {

thread_local bool tWatched = false;
std::atomic<int> gWatchedAllocations{0};

}  // namespace

// GCC sees the replaced pair inlined and takes malloc/free for a mismatch with new/delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (tWatched) gWatchedAllocations.fetch_add(1);
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {
std::atomic<int> gWatchedLocks{0};
}  // namespace

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using Lock = int (*)(pthread_mutex_t*);
    static const Lock real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (tWatched) gWatchedLocks.fetch_add(1);
    return real(mutex);
}

namespace midi {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes Sysex(std::size_t length, std::uint8_t fill) {
    Bytes bytes(length, fill);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

TEST(MidiThreadAllocationTest, ReceiverAllocatesNothingWhateverArrives) {
    int wakes = 0;
    PortNotices notices;
    notices.SetWakeHook([&] { ++wakes; });
    InputReceiver receiver(4, 16, 3, false, notices);
    const Bytes longSysex = Sysex(40, 0x22);  // three buffers' worth
    const Bytes shortSysex = Sysex(8, 0x11);
    const Bytes noteOn{0x90, 0x3C, 0x64};
    const Bytes activeSensing{0xFE};

    tWatched = true;
    receiver.OnMidiData(noteOn, 1);
    receiver.OnMidiData(activeSensing, 2);
    receiver.OnMidiData(std::span(shortSysex).first(3), 3);  // in pieces
    receiver.OnMidiData(std::span(shortSysex).subspan(3), 3);
    receiver.OnMidiData(longSysex, 4);   // runs out of buffers
    receiver.OnMidiData(noteOn, 5);      // queue full
    receiver.OnMidiData(shortSysex, 6);  // queue full and no buffer
    tWatched = false;

    EXPECT_EQ(gWatchedAllocations.exchange(0), 0);
    EXPECT_EQ(receiver.Count(), 4);
    EXPECT_EQ(wakes, 1);
}

// Stands between the rack and a receiver and marks the rack's thread as watched.
class WatchingHandler final : public InputHandler {
public:
    explicit WatchingHandler(InputReceiver& receiver) : receiver_(receiver) {}
    void OnMidiData(std::span<const std::uint8_t> bytes, std::uint32_t timestampMs) override {
        tWatched = true;
        receiver_.OnMidiData(bytes, timestampMs);
        calls.fetch_add(1);
    }
    std::atomic<int> calls{0};

private:
    InputReceiver& receiver_;
};

TEST(MidiThreadAllocationTest, RackDeliversWithoutAllocating) {
    PortNotices notices;
    InputReceiver receiver(16, 4104, 8, true, notices);
    WatchingHandler handler(receiver);
    EmulatedRack rack;
    auto input = rack.OpenInput(0, handler);
    input->Start();
    // Replies built on this thread: from the first delivery on, the rack's thread only
    // takes them off its wire and calls the handler.
    for (std::size_t module = 0; module < 8; ++module) rack.SendUnsolicitedBankDump(module);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(handler.calls.load(), 8);
    EXPECT_EQ(gWatchedAllocations.exchange(0), 0);
    EXPECT_EQ(receiver.Count(), 8);
    input.reset();
}

// The hook the MIDI window installs on its ports: the MIDI thread raises a signal that the window
// thread's notifier watches; raising allocates nothing, and a raised signal stays raised.
TEST(MidiThreadAllocationTest, WindowWakeHookAllocatesNothing) {
    WakeSignal signal;
    PortNotices notices;
    notices.SetWakeHook(signal.Hook());
    InputReceiver receiver(16, 4104, 8, true, notices);
    WatchingHandler handler(receiver);
    EmulatedRack rack;
    auto input = rack.OpenInput(0, handler);
    input->Start();
    for (std::size_t module = 0; module < 8; ++module) rack.SendUnsolicitedBankDump(module);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(handler.calls.load(), 8);
    EXPECT_EQ(gWatchedAllocations.exchange(0), 0);
    // One batch so far (nobody took the notices): raised once, then lowered by the window thread.
    EXPECT_TRUE(signal.Clear());
    EXPECT_FALSE(signal.Clear());
    EXPECT_EQ(notices.Take()[kNoticeData], 8u);

    // A new batch raises it again, from the MIDI thread, still without allocating.
    rack.SendUnsolicitedBankDump(0);
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_EQ(gWatchedAllocations.exchange(0), 0);
    EXPECT_TRUE(signal.Clear());
    input.reset();
}

// A busy minute of audio: notes coming and going on all eight modules (up to 16 at once on
// each), edits and program changes through the rack's wire and a keyboard's notes through
// its thru, rendered period by period. Only the rendering runs watched.
TEST(AudioThreadTest, RenderingAMinuteAllocatesAndLocksNothing) {
    EmulatedRack rack;
    rack.RestartSound(48000.0);
    auto output = rack.OpenOutput(0);
    ASSERT_TRUE(output);
    constexpr std::size_t kPeriod = 256;
    constexpr std::size_t kPeriods = 60 * 48000 / kPeriod;
    std::vector<float> left(kPeriod), right(kPeriod);
    int sounding = 0;
    // The watch works: an allocation and a lock on a watched thread are counted.
    tWatched = true;
    int* volatile block = new int(1);
    delete block;
    { std::mutex m; std::lock_guard lock(m); }
    tWatched = false;
    ASSERT_GE(gWatchedAllocations.exchange(0), 1);
    ASSERT_GE(gWatchedLocks.exchange(0), 1);
    for (std::size_t period = 0; period < kPeriods; ++period) {
        if (period % 4 == 0) {
            const auto channel = Byte(period % 8);
            const auto key = Byte(36 + (period * 7) % 48);
            ASSERT_TRUE(output->Send(Bytes{Byte(0x90 | channel), key, Byte(40 + period % 80)}));
            if (period % 3 == 0) output->Send(Bytes{Byte(0x80 | channel), Byte(36 + ((period + 120) * 7) % 48), 0});
            if (period % 5 == 0) {
                const ParameterChange change = MakeParameterChange(int(period % 126), kGroupVoice, int(period % 100), channel);
                output->Send(Bytes(change.begin(), change.end()));
            }
            if (period % 97 == 0) output->Send(Bytes{Byte(0xC0 | channel), Byte(period % 32)});
            if (period % 11 == 0) output->Send(Bytes{Byte(0xE0 | channel), 0, Byte(period % 128)});
            if (period % 7 == 0) {
                const std::array<Byte, 3> note{Byte(0x90 | ((period + 3) % 8)), Byte(40 + period % 40), 90};
                rack.KeyboardThruFor(0)->PlayChannelMessage(note);
            }
            ASSERT_TRUE(rack.WaitIdle(10s));
        }
        tWatched = true;
        rack.Modules().Render(left.data(), right.data(), kPeriod);
        tWatched = false;
        if (period == kPeriods / 2) sounding = std::accumulate(left.begin(), left.end(), 0.0f, [](float a, float x) { return a + std::abs(x); }) > 0.0f;
    }
    EXPECT_TRUE(sounding);
    EXPECT_EQ(gWatchedAllocations.exchange(0), 0);
    EXPECT_EQ(gWatchedLocks.exchange(0), 0);
}

}  // namespace
}  // namespace midi
