// The MIDI thread and the window thread at once: every message arrives once, whole, in order,
// with the queue and the buffer pool running full now and then.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "midi/MidiInput.h"
#include "midi/PortNotices.h"
#include "tests/midi/FakeBackend.h"

namespace midi {
namespace {

std::vector<std::uint8_t> NumberedSysex(std::uint32_t number) {
    std::vector<std::uint8_t> bytes(6 + number % 300, static_cast<std::uint8_t>(number % 128));
    bytes[0] = 0xF0;
    bytes[1] = static_cast<std::uint8_t>(number & 0x7F);
    bytes[2] = static_cast<std::uint8_t>((number >> 7) & 0x7F);
    bytes[3] = static_cast<std::uint8_t>((number >> 14) & 0x7F);
    bytes.back() = 0xF7;
    return bytes;
}

TEST(InputThreadsTest, ProducerAndConsumerOnTwoThreads) {
    testing::FakeBackend backend;
    backend.inputs = {{"Interface", kTechnologyMidiPort}};
    TMidiInput input(backend);
    input.SetCapacity(64);
    input.SetSysexBufferSize(512);
    input.SetSysexBufferCount(8);
    std::atomic<int> wakes{0};
    input.SetNoticeHook([&] { wakes.fetch_add(1); });
    ASSERT_TRUE(input.Open());
    input.Start();

    // In the first half of every thousand the MIDI thread waits for room (nothing may be lost),
    // in the second half it sends regardless (losses allowed, but never a damaged message).
    constexpr std::uint32_t kMessages = 20000;
    auto mustArrive = [](std::uint32_t n) { return n % 1000 < 500; };
    std::atomic<bool> done{false};
    std::thread midiThread([&] {
        for (std::uint32_t n = 0; n < kMessages; ++n) {
            // Fewer than 8 entries waiting leaves a free buffer and room in the queue.
            while (mustArrive(n) && input.MessageCount() >= 8) std::this_thread::yield();
            if (n % 3 == 0) {
                const std::uint8_t note = static_cast<std::uint8_t>(n % 128);
                backend.Deliver({0x90, note, static_cast<std::uint8_t>((n / 128) % 128)}, n);
                continue;
            }
            const auto bytes = NumberedSysex(n);
            if (n % 2) {  // in two pieces, as a driver with small buffers delivers them
                backend.Deliver({bytes.begin(), bytes.begin() + 3}, n);
                backend.Deliver({0xFE}, n);
                backend.Deliver({bytes.begin() + 3, bytes.end()}, n);
            } else {
                backend.Deliver(bytes, n);
            }
        }
        done.store(true);
    });

    std::vector<bool> arrived(kMessages, false);
    std::int64_t lastNumber = -1;
    for (;;) {
        auto event = input.TakeEvent();
        if (!event) {
            if (done.load() && input.MessageCount() == 0) break;
            std::this_thread::yield();
            continue;
        }
        const std::uint32_t number = event->timestamp;
        ASSERT_LT(number, kMessages);
        ASSERT_GT(static_cast<std::int64_t>(number), lastNumber) << "out of order or duplicated";
        lastNumber = number;
        arrived[number] = true;
        if (number % 3 == 0) {
            ASSERT_EQ(event->status, 0x90);
            ASSERT_EQ(event->data1, number % 128);
            ASSERT_EQ(event->data2, (number / 128) % 128);
        } else {
            ASSERT_EQ(event->status, 0xF0);
            ASSERT_EQ(event->sysexData, NumberedSysex(number)) << "message " << number;
        }
    }
    midiThread.join();
    for (std::uint32_t n = 0; n < kMessages; ++n)
        if (mustArrive(n)) {
            ASSERT_TRUE(arrived[n]) << "message " << n << " lost";
        }
    EXPECT_GT(wakes.load(), 0);
}

TEST(InputThreadsTest, EveryNoticeIsHandedOverOnceAndWakesTheWindowThread) {
    PortNotices notices;
    std::atomic<int> wakes{0};
    notices.SetWakeHook([&] { wakes.fetch_add(1); });
    constexpr unsigned kPosts = 100000;
    std::atomic<bool> done{false};
    std::thread midiThread([&] {
        for (unsigned n = 0; n < kPosts; ++n) notices.Post(n % 4 == 0 ? kNoticeOverflow : kNoticeData);
        done.store(true);
    });
    PortNotices::Counts total{};
    int takes = 0;
    auto take = [&] {
        const PortNotices::Counts counts = notices.Take();
        for (unsigned kind = 0; kind < kNoticeKinds; ++kind) total[kind] += counts[kind];
        ++takes;
    };
    while (!done.load()) take();
    midiThread.join();
    take();
    EXPECT_EQ(total[kNoticeData], kPosts / 4 * 3);
    EXPECT_EQ(total[kNoticeOverflow], kPosts / 4);
    EXPECT_EQ(total[kNoticeOutputDone], 0u);
    // One wake per batch: never more than the takes that ended a batch, at least one.
    EXPECT_GE(wakes.load(), 1);
    EXPECT_LE(wakes.load(), takes);
}

}  // namespace
}  // namespace midi
