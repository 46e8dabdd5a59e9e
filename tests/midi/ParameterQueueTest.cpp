// The parameter change queue: one message per wire slot, the latest value of each parameter,
// and a module that ends exactly as if every change had been sent.

#include "midi/ParameterQueue.h"

#include <random>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "midi/EmulatedRack.h"
#include "midi/MidiOutput.h"
#include "midi/SysexMessages.h"

namespace midi {
namespace {

using namespace std::chrono_literals;
using Clock = ParameterQueue::Clock;
using Sent = std::tuple<std::size_t, int, int, int>;  // module, parameter, group, value

constexpr auto kMessageTime = kWireByteTime * kParameterChangeSize;  // 2.24 ms

TEST(ParameterQueueTest, OneMessagePerWireSlotLatestValueInItsPlace) {
    std::vector<Sent> sent;
    ParameterQueue queue([&](std::size_t m, int p, int g, int v) { sent.emplace_back(m, p, g, v); },
                         kWireByteTime);
    const Clock::time_point t0{1s};
    queue.Post(0, 5, 0, 10);
    EXPECT_EQ(queue.Flush(t0), std::nullopt);  // an idle wire takes the first at once
    queue.Post(0, 5, 0, 11);
    queue.Post(0, 6, 0, 1);
    queue.Post(0, 5, 0, 12);   // replaces 11, keeps its place before parameter 6
    queue.Post(1, 5, 0, 13);   // another module: its own change
    queue.Post(0, 5, 4, 14);   // another group: its own change
    EXPECT_EQ(queue.Waiting(), 4u);
    EXPECT_EQ(queue.Flush(t0 + kMessageTime - 1us), t0 + kMessageTime);  // wire still busy
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(queue.Flush(t0 + kMessageTime), t0 + 2 * kMessageTime);
    EXPECT_EQ(queue.Flush(t0 + 2 * kMessageTime), t0 + 3 * kMessageTime);
    // Late: the slot starts when the flush comes, not when it could have.
    EXPECT_EQ(queue.Flush(t0 + 10 * kMessageTime), t0 + 11 * kMessageTime);
    EXPECT_EQ(queue.Flush(t0 + 11 * kMessageTime), std::nullopt);
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(sent, (std::vector<Sent>{{0, 5, 0, 10}, {0, 5, 0, 12}, {0, 6, 0, 1}, {1, 5, 0, 13},
                                       {0, 5, 4, 14}}));
}

// Random changes on two modules, flushed at random times through the real output port into the
// emulated rack: each module's edit buffer ends as the literal send-everything would leave it.
TEST(ParameterQueueTest, TheRackEndsAsIfEveryChangeHadBeenSent) {
    EmulatedRack rack;
    TMidiOutput output(rack);
    output.SetTechnology(kTechnologyMidiPort);
    ASSERT_TRUE(output.Open());
    MidiSettings settings;
    SysexMessages messages(output, settings);
    ParameterQueue queue(
        [&](std::size_t m, int p, int g, int v) { messages.SendParameterChange(p, m, g, v); },
        kWireByteTime);

    std::array<core::EditImage, 2> expected{rack.EditBuffer(2), rack.EditBuffer(5)};
    const std::array<std::size_t, 2> modules{2, 5};
    std::mt19937 random(17);
    Clock::time_point now{1s};
    std::size_t sentCount = 0;
    int posts = 0;
    for (; posts < 3000; ++posts) {
        const int which = int(random() % 2);
        const bool performance = random() % 8 == 0;
        // Few parameters, so they repeat: 0, the last of the low group, and 128 and up.
        static constexpr int kVoice[] = {0, 1, 127, 128, 134, 144};
        const int p = performance ? int(random() % 23) : kVoice[random() % 6];
        const int value = int(random() % 100);
        queue.Post(modules[which], p, performance ? kGroupPerformance : kGroupVoice, value);
        if (performance) {
            const auto [byte, mask] = kPerformanceParameters[std::size_t(p)];
            if (mask == 0) expected[which][core::kUnpackedVoiceSize + byte] = Byte(value);
            else if (value != 0) expected[which][core::kUnpackedVoiceSize + byte] |= mask;
            else expected[which][core::kUnpackedVoiceSize + byte] &= Byte(~mask);
        } else {
            expected[which][std::size_t(p)] = Byte(value);
        }
        now += std::chrono::microseconds(random() % 1500);
        queue.Flush(now);
    }
    while (auto next = queue.Flush(now)) now = *next;
    ASSERT_TRUE(rack.WaitIdle(10s));
    sentCount = rack.ReceivedMessages().size();
    EXPECT_LT(sentCount, std::size_t(posts));  // coalesced, not every move
    EXPECT_EQ(rack.EditBuffer(2), expected[0]);
    EXPECT_EQ(rack.EditBuffer(5), expected[1]);
}

}  // namespace
}  // namespace midi
