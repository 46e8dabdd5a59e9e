#include "midi/RtMidiBackend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "midi/MidiOutput.h"

namespace midi {
namespace {

TEST(RtMidiBackendTest, WithoutAnyMidiSystemListsNothingAndPrintsNothing) {
    if (std::filesystem::exists("/dev/snd/seq")) GTEST_SKIP() << "this machine has an ALSA sequencer";
    // A JACK server name nobody runs, and no automatic start.
    const std::string server = "mondral-none-" + std::to_string(::getpid());
    ::setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    ::setenv("JACK_NO_START_SERVER", "1", 1);

    ::testing::internal::CaptureStderr();
    {
        RtMidiBackend backend("mondral-test");
        EXPECT_TRUE(backend.Inputs().empty());
        EXPECT_TRUE(backend.Outputs().empty());
        struct : InputHandler {
            void OnMidiData(std::span<const std::uint8_t>, std::uint32_t) override {}
        } handler;
        EXPECT_EQ(backend.OpenInput(0, handler), nullptr);
        EXPECT_EQ(backend.OpenOutput(0), nullptr);
        TMidiOutput output(backend);
        output.SetDeviceID(kMidiMapperId);
        EXPECT_FALSE(output.Open());
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(RtMidiBackendTest, LongMessagesGoInPiecesOnlyWhereTheSystemNeedsThem) {
    EXPECT_EQ(SendPieceSize(MidiSystem::kAlsa, 4104), 256u);
    EXPECT_EQ(SendPieceSize(MidiSystem::kAlsa, 7), 7u);
    EXPECT_EQ(SendPieceSize(MidiSystem::kJack, 4104), 4104u);
    EXPECT_EQ(SendPieceSize(MidiSystem::kJack, 16379), 16379u);
    EXPECT_EQ(SendPieceSize(MidiSystem::kJack, 16380), 8192u);
    EXPECT_EQ(SendPieceSize(MidiSystem::kOther, 4104), 4104u);  // WinMM, CoreMIDI
    EXPECT_EQ(SendPieceSize(MidiSystem::kOther, 65535), 65535u);
}

TEST(RtMidiBackendTest, OtherSystemsCountTheirPortsAsHardwareButKnownSoftwareOnes) {
    EXPECT_FALSE(IsKnownSoftwarePort("UM-ONE"));
    EXPECT_FALSE(IsKnownSoftwarePort("USB MIDI Interface 1"));
    EXPECT_TRUE(IsKnownSoftwarePort("Microsoft GS Wavetable Synth"));
    EXPECT_TRUE(IsKnownSoftwarePort("IAC Driver Bus 1"));
    EXPECT_TRUE(IsKnownSoftwarePort("loopMIDI Port"));
}

TEST(RtMidiBackendTest, AlsaPortsOfSoundCardsAreHardware) {
    EXPECT_TRUE(IsAlsaHardwarePort("UM-ONE:UM-ONE MIDI 1 20:0"));
    EXPECT_TRUE(IsAlsaHardwarePort("TX Interface:Port 2 127:1"));
    EXPECT_FALSE(IsAlsaHardwarePort("Midi Through:Midi Through Port-0 14:0"));
    EXPECT_FALSE(IsAlsaHardwarePort("System:Timer 0:0"));
    EXPECT_FALSE(IsAlsaHardwarePort("Other Program:out 128:0"));  // programs' clients
    EXPECT_FALSE(IsAlsaHardwarePort("no numbers"));
    EXPECT_FALSE(IsAlsaHardwarePort(""));
}

}  // namespace
}  // namespace midi
