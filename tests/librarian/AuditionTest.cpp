// The audition after a voice click: its settings as stored, and the note it plays on the
// module's channel through the MIDI window's output (the emulated rack here).

#include <gtest/gtest.h>

#include <QTest>

#include <chrono>
#include <vector>

#include "librarian/Audition.h"
#include "midi/EmulatedRack.h"
#include "midi/TfrmMidi.h"
#include "platform/MemorySettings.h"
#include "support/TestApplication.h"

namespace librarian {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

TEST(AuditionTest, StoredValuesAreBroughtIntoRangeAndKeptAsTheyAre) {
    struct Case {
        BaseValues stored;
        AuditionSettings expected;
    };
    auto values = [](int on, int note, int velocity, int length) {
        BaseValues v;
        v.auditionOn = on;
        v.auditionNote = note;
        v.auditionVelocity = velocity;
        v.auditionLength = length;
        return v;
    };
    const Case cases[] = {
        {BaseValues{}, {false, 60, 100, 5}},
        {values(1, 127, 127, 99), {true, 127, 127, 99}},
        {values(2, 128, 0, 0), {true, 127, 1, 1}},
        {values(0, -1, 1, 100), {false, 0, 1, 99}},
    };
    for (const Case& c : cases) {
        const AuditionSettings read = AuditionFrom(c.stored);
        EXPECT_EQ(read, c.expected) << c.stored.auditionNote << " " << c.stored.auditionVelocity;
        BaseValues back;
        StoreAudition(read, back);
        EXPECT_EQ(AuditionFrom(back), read);
    }
}

class AuditionPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::TestApplication();
        midi_ = std::make_unique<midi::TfrmMidi>(rack_, nullptr, settings_);
        midi_->ListPorts();
        rack_.ClearReceivedMessages();
    }
    void TearDown() override { midi_->ClosePorts(); }
    std::vector<Bytes> Received() {
        EXPECT_TRUE(rack_.WaitIdle(2s));
        return rack_.ReceivedMessages();
    }

    platform::MemorySettings settings_;
    midi::EmulatedRack rack_;
    std::unique_ptr<midi::TfrmMidi> midi_;
};

// On module 3 (channel 3): the note, then its end after the length; a second click ends the
// first note before its own starts; with the option off nothing is sent.
TEST_F(AuditionPlayerTest, PlaysTheNoteOnTheModulesChannelAndEndsIt) {
    AuditionPlayer player(*midi_);
    const AuditionSettings settings{true, 64, 90, 1};
    player.Play(settings, 2);
    EXPECT_EQ(Received(), (std::vector<Bytes>{{0x92, 64, 90}}));
    EXPECT_TRUE(player.Sounding());
    QTest::qWait(250);
    EXPECT_FALSE(player.Sounding());
    EXPECT_EQ(Received(), (std::vector<Bytes>{{0x92, 64, 90}, {0x92, 64, 0}}));

    rack_.ClearReceivedMessages();
    player.Play(settings, 2);
    player.Play({true, 65, 90, 1}, 0);
    EXPECT_EQ(Received(), (std::vector<Bytes>{{0x92, 64, 90}, {0x92, 64, 0}, {0x90, 65, 90}}));

    rack_.ClearReceivedMessages();
    QTest::qWait(250);
    player.Play({false, 60, 100, 5}, 0);
    EXPECT_EQ(Received(), (std::vector<Bytes>{{0x90, 65, 0}}));
}

}  // namespace
}  // namespace librarian
