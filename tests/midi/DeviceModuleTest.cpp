// The program's MIDI devices come from a module loaded at the first listing: loaded, it must
// list what the RtMidi backend lists; missing, the program goes on without devices, silently.

#include "midi/DeviceModule.h"

#include <gtest/gtest.h>

#include "midi/RtMidiBackend.h"

namespace midi {
namespace {

std::vector<std::string> Names(const std::vector<DeviceInfo>& devices) {
    std::vector<std::string> names;
    for (const DeviceInfo& device : devices) names.push_back(device.name);
    return names;
}

TEST(DeviceModule, ListsWhatTheRtMidiBackendListsAndWithoutTheModuleNothing) {
    struct : InputHandler {
        void OnMidiData(std::span<const std::uint8_t>, std::uint32_t) override {}
    } handler;
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "module present" : "module missing");
        ::testing::internal::CaptureStderr();
        DeviceModule devices(present ? MONDRAL_TEST_DEVICE_MODULE : "/nonexistent/devices.so",
                             "mondral-module-test");
        EXPECT_EQ(devices.Loaded(), present);
        if (present) {
            RtMidiBackend direct("mondral-direct-test");
            EXPECT_EQ(Names(devices.Inputs()), Names(direct.Inputs()));
            EXPECT_EQ(Names(devices.Outputs()), Names(direct.Outputs()));
        } else {
            EXPECT_TRUE(devices.Inputs().empty());
            EXPECT_TRUE(devices.Outputs().empty());
            EXPECT_EQ(devices.OpenInput(0, handler), nullptr);
            EXPECT_EQ(devices.OpenOutput(0), nullptr);
        }
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
}

}  // namespace
}  // namespace midi
