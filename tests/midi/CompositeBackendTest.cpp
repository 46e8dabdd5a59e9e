#include "midi/CompositeBackend.h"

#include <gtest/gtest.h>

#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "tests/midi/FakeBackend.h"

namespace midi {
namespace {

using testing::FakeBackend;

TEST(CompositeBackendTest, ListsInOrderAndOpensThroughTheOwningBackend) {
    FakeBackend platform;
    platform.inputs = {{"USB In", kTechnologyMidiPort}};
    platform.outputs = {{"Through", kTechnologySoftwarePort}, {"USB Out", kTechnologyMidiPort}};
    FakeBackend rack;
    rack.inputs = {{"Emulated TX816", kTechnologyMidiPort}};
    rack.outputs = {{"Emulated TX816", kTechnologyMidiPort}};
    CompositeBackend all({&platform, &rack});

    const auto outputs = all.Outputs();
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_EQ(outputs[0].name, "Through");
    EXPECT_EQ(outputs[2].name, "Emulated TX816");

    TMidiOutput output(all);
    output.SetTechnology(kTechnologyMidiPort);
    EXPECT_EQ(output.ProductName(), "USB Out");  // a real interface before the rack
    output.SetProductName("Emulated TX816");
    ASSERT_TRUE(output.Open());
    output.SendShort(0xC0, 1, 0);
    EXPECT_TRUE(platform.sent.empty());
    EXPECT_EQ(rack.sent.size(), 1u);

    TMidiInput input(all);
    input.SetDeviceID(1);
    ASSERT_TRUE(input.Open());
    EXPECT_EQ(platform.handler, nullptr);
    ASSERT_NE(rack.handler, nullptr);
    input.Start();
    rack.Deliver({0xF0, 0x43, 0x00, 0xF7});
    EXPECT_EQ(input.MessageCount(), 1);
    EXPECT_FALSE(all.OpenOutput(3));
}

TEST(CompositeBackendTest, IndexesFollowTheLastListing) {
    FakeBackend first;
    FakeBackend second;
    second.inputs = {{"Rack", kTechnologyMidiPort}};
    CompositeBackend all({&first, &second});
    ASSERT_EQ(all.Inputs().size(), 1u);
    first.inputs = {{"New", kTechnologyMidiPort}};  // plugged in after the listing
    struct : InputHandler {
        void OnMidiData(std::span<const std::uint8_t>, std::uint32_t) override {}
    } handler;
    auto stream = all.OpenInput(0, handler);
    EXPECT_NE(stream, nullptr);
    EXPECT_EQ(second.handler, &handler);
    EXPECT_EQ(first.handler, nullptr);
}

}  // namespace
}  // namespace midi
