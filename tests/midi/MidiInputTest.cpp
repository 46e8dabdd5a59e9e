#include "midi/MidiInput.h"

#include <gtest/gtest.h>

#include "tests/midi/BankFiles.h"
#include "tests/midi/FakeBackend.h"

namespace midi {
namespace {

using testing::FakeBackend;

class MidiInputTest : public ::testing::Test {
protected:
    MidiInputTest() { backend.inputs = {{"Interface A", 1}, {"Interface B", 1}, {"interface b", 7}}; }
    // An open, recording input with the configuration window's settings.
    std::unique_ptr<TMidiInput> OpenInput(std::uint16_t capacity, std::uint16_t bufferSize,
                                          std::uint16_t bufferCount, bool sysexOnly) {
        auto input = std::make_unique<TMidiInput>(backend);
        input->SetCapacity(capacity);
        input->SetSysexBufferSize(bufferSize);
        input->SetSysexBufferCount(bufferCount);
        input->SetSysexOnly(sysexOnly);
        EXPECT_TRUE(input->Open());
        input->Start();
        return input;
    }
    static std::vector<std::uint8_t> Sysex(std::size_t length, std::uint8_t fill) {
        std::vector<std::uint8_t> bytes(length, fill);
        bytes.front() = 0xF0;
        bytes.back() = 0xF7;
        return bytes;
    }
    FakeBackend backend;
};

TEST_F(MidiInputTest, DefaultsAndDeviceSelection) {
    TMidiInput input(backend);
    EXPECT_EQ(input.DeviceID(), 0);
    EXPECT_EQ(input.ProductName(), "Interface A");
    EXPECT_EQ(input.Capacity(), 1024);
    EXPECT_EQ(input.SysexBufferSize(), 4096);
    EXPECT_EQ(input.SysexBufferCount(), 16);
    EXPECT_FALSE(input.SysexOnly());
    EXPECT_FALSE(input.IsOpen());
    EXPECT_EQ(input.MessageCount(), 0);
    EXPECT_EQ(input.TakeEvent(), nullptr);

    input.SetProductName("interface b");
    EXPECT_EQ(input.DeviceID(), 2);  // exact case wins over the first similar name
    input.SetDeviceID(1);
    EXPECT_EQ(input.ProductName(), "Interface B");
}

TEST_F(MidiInputTest, SelectionErrorsCarryTheirTextsAndChangeNothing) {
    TMidiInput input(backend);
    input.SetDeviceID(1);
    try {
        input.SetProductName("INTERFACE A");
        FAIL() << "no exception";
    } catch (const EMidiInputError& e) {
        EXPECT_STREQ(e.what(), "MIDI Input Device INTERFACE A not installed ");
    }
    EXPECT_EQ(input.DeviceID(), 1);
    EXPECT_THROW(
        try { input.SetDeviceID(3); } catch (const EMidiInputError& e) {
            EXPECT_STREQ(e.what(), "Invalid device ID");
            throw;
        },
        EMidiInputError);
    EXPECT_THROW(input.SetDeviceID(0xFFFF), EMidiInputError);  // -1 as an unsigned id
    EXPECT_EQ(input.ProductName(), "Interface B");

    FakeBackend empty;
    try {
        TMidiInput none(empty);
        FAIL() << "constructed without any input device";
    } catch (const EMidiInputError& e) {
        EXPECT_STREQ(e.what(), "Invalid device ID");
    }
}

TEST_F(MidiInputTest, SettingsRefusedWhileOpen) {
    TMidiInput input(backend);
    ASSERT_TRUE(input.Open());
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { input.SetDeviceID(1); }, "Change to DeviceID while device was open"},
        {[&] { input.SetProductName("Interface B"); }, "Change to ProductName while device was open"},
        {[&] { input.SetSysexBufferSize(100); }, "Change to SysexBufferSize while device was open"},
        {[&] { input.SetSysexBufferCount(2); }, "Change to SysexBuffercount while device was open"},
    };
    for (const auto& [change, text] : cases) {
        try {
            change();
            ADD_FAILURE() << "accepted: " << text;
        } catch (const EMidiInputError& e) {
            EXPECT_STREQ(e.what(), text);
        }
    }
    EXPECT_EQ(input.DeviceID(), 0);
    EXPECT_EQ(input.SysexBufferSize(), 4096);
    EXPECT_EQ(input.SysexBufferCount(), 16);
    input.SetCapacity(10);  // allowed, used at the next open
    input.SetSysexOnly(true);
    input.Close();
    input.SetDeviceID(1);
    EXPECT_EQ(input.DeviceID(), 1);
}

TEST_F(MidiInputTest, OpenFailureIsAbsorbed) {
    TMidiInput input(backend);
    backend.refuseOpen = true;
    EXPECT_FALSE(input.Open());
    EXPECT_FALSE(input.IsOpen());
    input.Start();  // nothing to start
    EXPECT_FALSE(backend.started);
    EXPECT_EQ(input.MessageCount(), 0);
    backend.refuseOpen = false;
    EXPECT_TRUE(input.Open());
    input.Start();
    EXPECT_TRUE(backend.started);
    EXPECT_TRUE(input.IsRecording());
}

TEST_F(MidiInputTest, ShortMessagesKeepTheirBytesAndTimestamps) {
    auto input = OpenInput(16, 4096, 4, false);
    backend.Deliver({0x90, 0x3C, 0x64}, 12);
    backend.Deliver({0xC3, 0x05}, 40);
    backend.Deliver({0xFE}, 41);  // active sensing
    backend.Deliver({0xF8}, 42);  // timing clock
    ASSERT_EQ(input->MessageCount(), 2);
    auto noteOn = input->TakeEvent();
    EXPECT_EQ(noteOn->status, 0x90);
    EXPECT_EQ(noteOn->data1, 0x3C);
    EXPECT_EQ(noteOn->data2, 0x64);
    EXPECT_EQ(noteOn->timestamp, 12u);
    EXPECT_EQ(noteOn->sysexLength, 0);
    EXPECT_TRUE(noteOn->sysexData.empty());
    auto program = input->TakeEvent();
    EXPECT_EQ(program->status, 0xC3);
    EXPECT_EQ(program->data1, 0x05);
    EXPECT_EQ(program->data2, 0);
    EXPECT_EQ(program->timestamp, 40u);
    EXPECT_EQ(input->TakeEvent(), nullptr);
}

TEST_F(MidiInputTest, SysexOnlyDropsShortMessagesAndTakesEffectWhileOpen) {
    auto input = OpenInput(16, 4096, 4, true);
    backend.Deliver({0x90, 0x3C, 0x64});
    EXPECT_EQ(input->MessageCount(), 0);
    backend.Deliver({0xF0, 0x43, 0x20, 0x09, 0xF7});
    EXPECT_EQ(input->MessageCount(), 1);
    input->SetSysexOnly(false);
    backend.Deliver({0x80, 0x3C, 0x00});
    EXPECT_EQ(input->MessageCount(), 2);
    EXPECT_EQ(input->TakeEvent()->status, 0xF0);
    EXPECT_EQ(input->TakeEvent()->status, 0x80);
}

TEST_F(MidiInputTest, BankDumpArrivesAsOneEventWholeOrInPieces) {
    const auto paths = testing::BankFilePaths();
    ASSERT_GE(paths.size(), 2u);
    const std::vector<std::uint8_t> first = testing::ReadBytes(paths[0]);
    const std::vector<std::uint8_t> second = testing::ReadBytes(paths[1]);
    ASSERT_EQ(first.size(), 4104u);
    ASSERT_EQ(second.size(), 4104u);

    auto input = OpenInput(5000, 16000, 64, true);
    backend.Deliver(first, 5);
    // As WinMM hands it over: 1024-byte pieces, a clock tick between them.
    for (std::size_t offset = 0; offset < second.size(); offset += 1024) {
        const std::size_t end = std::min(second.size(), offset + 1024);
        backend.Deliver(std::vector<std::uint8_t>(second.begin() + offset, second.begin() + end), 9);
        backend.Deliver({0xF8}, 9);
    }
    ASSERT_EQ(input->MessageCount(), 2);
    const std::pair<const std::vector<std::uint8_t>*, std::uint32_t> expectations[] = {{&first, 5}, {&second, 9}};
    for (const auto& [expected, timestamp] : expectations) {
        auto event = input->TakeEvent();
        ASSERT_NE(event, nullptr);
        EXPECT_EQ(event->timestamp, timestamp);
        EXPECT_EQ(event->status, 0xF0);
        EXPECT_EQ(event->data1, 0);
        EXPECT_EQ(event->sysexLength, 4104);
        EXPECT_EQ(event->sysexData, *expected);
    }
    EXPECT_EQ(input->TakeEvent(), nullptr);
}

TEST_F(MidiInputTest, QueueOverflowKeepsEarlierEntriesAndNotifies) {
    auto input = OpenInput(5000, 16000, 64, false);
    int overflows = 0;
    int dataNotices = 0;
    input->OnOverflow = [&](TMidiInput&) { ++overflows; };
    input->OnMidiInput = [&](TMidiInput&) { ++dataNotices; };
    for (int i = 0; i < 5000; ++i)
        backend.Deliver({0xB0, static_cast<std::uint8_t>(i % 128), static_cast<std::uint8_t>(i / 128)});
    EXPECT_EQ(input->MessageCount(), 5000);
    input->HandleNotices();
    EXPECT_EQ(dataNotices, 5000);  // one per queued event
    EXPECT_EQ(overflows, 0);

    backend.Deliver({0x90, 0x7F, 0x7F});  // the 5001st
    EXPECT_EQ(input->MessageCount(), 5000);
    input->HandleNotices();
    EXPECT_EQ(overflows, 1);
    for (int i = 0; i < 5000; ++i) {
        auto event = input->TakeEvent();
        ASSERT_NE(event, nullptr);
        ASSERT_EQ(event->status, 0xB0);
        ASSERT_EQ(event->data1, i % 128);
        ASSERT_EQ(event->data2, i / 128);
    }
    EXPECT_EQ(input->TakeEvent(), nullptr);
    // Room again: the ring has wrapped and keeps working.
    backend.Deliver({0x90, 0x01, 0x02});
    EXPECT_EQ(input->TakeEvent()->data2, 0x02);
}

TEST_F(MidiInputTest, SysexBeyondTheBufferPoolIsLostUntilEventsAreTaken) {
    auto input = OpenInput(100, 64, 3, true);
    int overflows = 0;
    input->OnOverflow = [&](TMidiInput&) { ++overflows; };
    for (std::uint8_t i = 1; i <= 5; ++i) backend.Deliver(Sysex(10, i));
    EXPECT_EQ(input->MessageCount(), 3);
    input->HandleNotices();
    EXPECT_EQ(overflows, 2);  // one for each message lost

    EXPECT_EQ(input->TakeEvent()->sysexData, Sysex(10, 1));  // its buffer returns to the pool
    backend.Deliver(Sysex(12, 6));
    EXPECT_EQ(input->MessageCount(), 3);
    EXPECT_EQ(input->TakeEvent()->sysexData, Sysex(10, 2));
    EXPECT_EQ(input->TakeEvent()->sysexData, Sysex(10, 3));
    EXPECT_EQ(input->TakeEvent()->sysexData, Sysex(12, 6));
}

TEST_F(MidiInputTest, FullQueueDropsSysexWithoutLosingItsBuffer) {
    auto input = OpenInput(1, 64, 2, false);
    backend.Deliver({0x90, 0x01, 0x01});
    backend.Deliver(Sysex(8, 1));  // no room in the queue
    backend.Deliver(Sysex(8, 2));
    EXPECT_EQ(input->TakeEvent()->status, 0x90);
    backend.Deliver(Sysex(8, 3));
    backend.Deliver({0x90, 0x02, 0x02});
    EXPECT_EQ(input->TakeEvent()->sysexData, Sysex(8, 3));
    backend.Deliver(Sysex(8, 4));
    EXPECT_EQ(input->TakeEvent()->sysexData, Sysex(8, 4));  // both buffers still in service
}

TEST_F(MidiInputTest, OddSysexDeliveries) {
    auto input = OpenInput(16, 8, 6, true);
    backend.Deliver({0x10, 0x20, 0xF7});          // the end of a message whose start was lost
    backend.Deliver({0xF0, 0x43, 0x00});          // never terminated ...
    backend.Deliver({0xF0, 0x43, 0x01, 0xF7});    // ... a new start hands it over
    backend.Deliver(Sysex(20, 0x11));             // longer than one buffer: continues in the next
    ASSERT_EQ(input->MessageCount(), 5);
    EXPECT_EQ(input->TakeEvent()->sysexData, (std::vector<std::uint8_t>{0xF0, 0x43, 0x00}));
    EXPECT_EQ(input->TakeEvent()->sysexData, (std::vector<std::uint8_t>{0xF0, 0x43, 0x01, 0xF7}));
    std::vector<std::uint8_t> joined;
    for (std::size_t expected : {8u, 8u, 4u}) {
        auto piece = input->TakeEvent();
        EXPECT_EQ(piece->sysexLength, expected);
        joined.insert(joined.end(), piece->sysexData.begin(), piece->sysexData.end());
    }
    EXPECT_EQ(joined, Sysex(20, 0x11));
}

TEST_F(MidiInputTest, NoSysexBuffersMeansNoSysex) {
    auto input = OpenInput(16, 0, 4, false);
    backend.Deliver(Sysex(6, 1));
    backend.Deliver({0x90, 0x01, 0x02});
    ASSERT_EQ(input->MessageCount(), 1);
    EXPECT_EQ(input->TakeEvent()->status, 0x90);
}

TEST_F(MidiInputTest, CloseDiscardsQueueAndCapacityAppliesAtNextOpen) {
    auto input = OpenInput(2, 64, 2, false);
    int notices = 0;
    input->OnMidiInput = [&](TMidiInput&) { ++notices; };
    backend.Deliver({0x90, 0x01, 0x02});
    input->Close();
    EXPECT_EQ(backend.handler, nullptr);
    EXPECT_EQ(input->MessageCount(), 0);
    EXPECT_EQ(input->TakeEvent(), nullptr);
    input->HandleNotices();
    EXPECT_EQ(notices, 0);  // notices of the closed port are void

    input->SetCapacity(3);
    ASSERT_TRUE(input->Open());
    for (int i = 0; i < 5; ++i) backend.Deliver({0x90, 0x01, 0x02});
    EXPECT_EQ(input->MessageCount(), 3);
}

TEST_F(MidiInputTest, WakeHookFiresOncePerBatchAndEveryNoticeIsHandedOn) {
    TMidiInput input(backend);
    int wakes = 0;
    input.SetNoticeHook([&] { ++wakes; });
    // A handler that takes one event per notice, as the port's notices allow.
    std::vector<std::uint8_t> taken;
    input.OnMidiInput = [&](TMidiInput& sender) {
        EXPECT_EQ(&sender, &input);
        taken.push_back(sender.TakeEvent()->data2);
    };
    int overflows = 0;
    input.OnOverflow = [&](TMidiInput&) { ++overflows; };
    input.SetCapacity(2);
    ASSERT_TRUE(input.Open());
    for (std::uint8_t value = 1; value <= 4; ++value) backend.Deliver({0x90, 0x01, value});
    EXPECT_EQ(wakes, 1);
    input.HandleNotices();
    EXPECT_EQ(taken, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(overflows, 2);  // two events lost, two notices

    backend.Deliver({0x90, 0x01, 5});
    EXPECT_EQ(wakes, 2);
    input.TakeEvent();
    input.HandleNotices();
    EXPECT_EQ(taken.size(), 2u);  // nothing left in the queue: no call
    input.HandleNotices();
    EXPECT_EQ(overflows, 2);  // each notice is handed on once
}

}  // namespace
}  // namespace midi
