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

}  // namespace
}  // namespace midi
