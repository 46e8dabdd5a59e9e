// The emulated rack plays: notes on a module's channel sound its edit buffer, and whatever
// changes the edit buffer is heard on the notes already sounding in the next audio block.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "midi/EmulatedRack.h"
#include "midi/SysexMessages.h"
#include "synth/SynthVoices.h"

namespace midi {
namespace {

using Bytes = std::vector<Byte>;
using synth::testing::Fundamental;
using synth::testing::Rms;
using synth::testing::VoiceImage;
using namespace std::chrono_literals;

constexpr std::size_t kPeriod = 1024;

std::vector<float> Block(EmulatedRack& rack, std::size_t frames) {
    std::vector<float> left(frames), right(frames);
    rack.Modules().Render(left.data(), right.data(), frames);
    return left;
}

Bytes SingleVoice(const VoiceImage& voice, Byte nibble) {
    return BuildSysex(MakeSysexHeader(kFormatSingleVoice, nibble, core::kUnpackedVoiceSize),
                      std::span<const Byte>(voice.bytes.data(), core::kUnpackedVoiceSize));
}

// A held A4 on module 1 moves to the frequency each change of its edit buffer asks for.
TEST(RackSoundTest, EditBufferChangesReachTheSoundingNoteInTheNextBlock) {
    EmulatedRack rack;
    // Memory 5 of module 1: a carrier at ratio 3.
    BankBytes bank = GeneratedVoiceBank(0);
    VoiceImage third;
    third.Level(1, 99).Frequency(1, 0, 3, 0);
    core::PackVoice(std::span<const Byte, 155>(third.bytes.data(), 155),
                    std::span<Byte, 128>(bank.data() + 4 * 128, 128));
    rack.LoadVoiceBank(0, bank);
    auto output = rack.OpenOutput(0);
    ASSERT_TRUE(output);

    VoiceImage lone;
    lone.Level(1, 99);
    ASSERT_TRUE(output->Send(SingleVoice(lone, 0)));
    ASSERT_TRUE(output->Send(Bytes{0x90, 69, 127}));
    ASSERT_TRUE(rack.WaitIdle(10s));
    EXPECT_NEAR(Fundamental(Block(rack, 4800)), 440.0, 1.0);

    VoiceImage fifth = lone;
    fifth.Frequency(1, 0, 1, 50);
    const ParameterChange coarse = MakeParameterChange(21 * 5 + 18, kGroupVoice, 2, 0);
    struct Step {
        const char* what;
        Bytes message;
        double hz;
    };
    const Step steps[] = {
        {"parameter change: OP1 coarse 2", Bytes(coarse.begin(), coarse.end()), 880.0},
        {"single voice: OP1 ratio 1.5", SingleVoice(fifth, 0), 660.0},
        {"program change to memory 5", Bytes{0xC0, 4}, 1320.0},
        {"program change 32: no such memory", Bytes{0xC0, 32}, 1320.0},
        {"single voice on channel 2: another module", SingleVoice(lone, 1), 1320.0},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(output->Send(step.message));
        ASSERT_TRUE(rack.WaitIdle(10s));
        EXPECT_NEAR(Fundamental(Block(rack, kPeriod)) / step.hz, 1.0, 0.01) << step.what;
    }
}

// A keyboard's notes reach the module listening on their channel, and only that one.
TEST(RackSoundTest, KeyboardNotesPlayTheModuleOnTheirChannel) {
    struct Case {
        Byte status;
        bool sounds;
    };
    const Case cases[] = {{0x90, true}, {0x97, true}, {0x98, false}, {0x9F, false}};
    for (const Case& c : cases) {
        EmulatedRack rack;
        rack.SetModuleChannel(3, 8);  // module 4 moves to channel 8, none is left on 4
        KeyboardThru* thru = rack.KeyboardThruFor(0);
        ASSERT_NE(thru, nullptr);
        const std::array<Byte, 3> on{c.status, 60, 100};
        thru->PlayChannelMessage(on);
        Block(rack, kPeriod);
        EXPECT_EQ(Rms(Block(rack, kPeriod)) > 1e-3, c.sounds) << std::hex << int(c.status);
    }
    EmulatedRack rack;
    EXPECT_EQ(rack.KeyboardThruFor(1), nullptr);
    const std::array<Byte, 3> moved{0x93, 60, 100};
    rack.SetModuleChannel(3, 8);
    rack.KeyboardThruFor(0)->PlayChannelMessage(moved);
    EXPECT_EQ(Rms(Block(rack, kPeriod)), 0.0);
}

}  // namespace
}  // namespace midi
