// The bank transfers against the emulated rack, through the real ports: what goes out, what is
// taken from what comes back, and the one box each failure shows.

#include <gtest/gtest.h>

#include <numeric>

#include "BankFiles.h"
#include "midi/DumpEngine.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "platform/MessageBoxes.h"

namespace midi {
namespace {

using Bytes = std::vector<Byte>;
using namespace std::chrono_literals;

class DumpEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As the configuration window sets the ports up.
        input.SetCapacity(5000);
        input.SetSysexBufferSize(16000);
        input.SetSysexBufferCount(64);
        input.SetSysexOnly(true);
        input.SetProductName(kEmulatedRackName);
        output.SetTechnology(kTechnologyMidiPort);
        ASSERT_TRUE(output.Open());
        ASSERT_TRUE(input.Open());
        input.Start();
        settings.inputTimerTicks = 5;
        settings.outputTimerTicks = 1;
    }

    // What the rack took in since the last call, once it has taken in everything.
    std::vector<Bytes> Taken() {
        EXPECT_TRUE(rack.WaitIdle(10s));
        auto taken = rack.ReceivedMessages();
        rack.ClearReceivedMessages();
        return taken;
    }

    EmulatedRack rack;
    TMidiInput input{rack};
    TMidiOutput output{rack};
    MidiSettings settings;
    SysexMessages messages{output, settings};
    DumpEngine engine{messages, input, settings};
    platform::RecordingBoxes boxes;
};

TEST_F(DumpEngineTest, AutoDumpVoiceSendsOnlyWhenSwitchedOnAndWhatAsked) {
    core::EditImage image;
    std::iota(image.begin(), image.end(), Byte(0));
    for (auto& byte : image) byte &= 0x7F;
    const Bytes voice(image.begin(), image.begin() + core::kUnpackedVoiceSize);
    const Bytes function(image.begin() + core::kUnpackedVoiceSize, image.end());
    settings.moduleChannels[5] = 11;
    rack.SetModuleChannel(5, 11);

    settings.autoDump = false;
    EXPECT_FALSE(engine.AutoDumpVoice(image, kDumpVoices | kDumpFunctions, 5));
    EXPECT_TRUE(Taken().empty());

    settings.autoDump = true;
    EXPECT_TRUE(engine.AutoDumpVoice(image, kDumpVoices, 5));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{BuildSysex({0xF0, 0x43, 0x0A, 0x00, 0x01, 0x1B}, voice)}));

    EXPECT_TRUE(engine.AutoDumpVoice(image, kDumpFunctions, 5));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{BuildSysex({0xF0, 0x43, 0x0A, 0x01, 0x00, 0x5E}, function)}));

    settings.dx7 = true;
    EXPECT_TRUE(engine.AutoDumpVoice(image, kDumpVoices | kDumpFunctions, 5));
    EXPECT_EQ(Taken(), (std::vector<Bytes>{BuildSysex({0xF0, 0x43, 0x0A, 0x00, 0x01, 0x1B}, voice),
                                            BuildSysex({0xF0, 0x43, 0x0A, 0x02, 0x00, 0x5E}, function)}));
    EXPECT_EQ(rack.EditBuffer(5), image);
    EXPECT_TRUE(boxes.Shown().empty());
}

}  // namespace
}  // namespace midi
