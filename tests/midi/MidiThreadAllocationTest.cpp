// The MIDI thread's work allocates nothing: every allocation made on a watched thread is
// counted by this program's own operator new.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "midi/EmulatedRack.h"
#include "midi/InputReceiver.h"
#include "midi/SysexMessages.h"
#include "midi/WakeSignal.h"

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

}  // namespace
}  // namespace midi
