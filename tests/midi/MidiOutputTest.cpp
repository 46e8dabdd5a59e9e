#include "midi/MidiOutput.h"

#include <gtest/gtest.h>

#include "tests/midi/BankFiles.h"
#include "tests/midi/FakeBackend.h"

namespace midi {
namespace {

using testing::FakeBackend;
using Bytes = std::vector<std::uint8_t>;

template <typename Action>
std::string OutputErrorText(Action action) {
    try {
        action();
    } catch (const EmidioutputError& e) {
        return e.what();
    }
    return "(no exception)";
}

class MidiOutputTest : public ::testing::Test {
protected:
    MidiOutputTest() {
        backend.outputs = {{"Through", kTechnologySoftwarePort},
                           {"Synth", kTechnologyGenericSynth},
                           {"Interface", kTechnologyMidiPort},
                           {"Interface 2", kTechnologyMidiPort}};
    }
    FakeBackend backend;
};

TEST_F(MidiOutputTest, SelectionByIdNameAndTechnology) {
    TMidiOutput output(backend);
    EXPECT_EQ(output.DeviceID(), 0);
    EXPECT_FALSE(output.IsOpen());
    output.SetDeviceID(1);
    EXPECT_EQ(output.ProductName(), "Synth");
    EXPECT_EQ(output.Technology(), kTechnologyGenericSynth);
    output.SetProductName("Interface 2");
    EXPECT_EQ(output.DeviceID(), 3);
    output.SetTechnology(kTechnologyMidiPort);
    EXPECT_EQ(output.DeviceID(), 2);  // the lower id of two hardware ports
    output.SetDeviceID(kMidiMapperId);
    EXPECT_EQ(output.ProductName(), "MIDI Mapper");
    EXPECT_EQ(output.Technology(), kTechnologyMidiMapper);
    output.SetProductName("MIDI Mapper");
    EXPECT_EQ(output.DeviceID(), kMidiMapperId);
}

TEST_F(MidiOutputTest, SelectionErrors) {
    TMidiOutput output(backend);
    output.SetDeviceID(1);
    EXPECT_EQ(OutputErrorText([&] { output.SetDeviceID(4); }), "Invalid device ID");
    EXPECT_EQ(OutputErrorText([&] { output.SetDeviceID(-2); }), "Invalid device ID");
    EXPECT_EQ(OutputErrorText([&] { output.SetProductName("interface"); }),
              "MIDI output Device interface not installed");
    EXPECT_EQ(output.DeviceID(), 1);

    FakeBackend synthsOnly;
    synthsOnly.outputs = {{"Soft Synth", kTechnologyGenericSynth}, {"Through", kTechnologySoftwarePort}};
    TMidiOutput other(synthsOnly);
    EXPECT_EQ(OutputErrorText([&] { other.SetTechnology(kTechnologyMidiPort); }),
              "MIDI output technology MIDI Port not installed");
}

TEST_F(MidiOutputTest, SettingsRefusedWhileOpen) {
    TMidiOutput output(backend);
    ASSERT_TRUE(output.Open());
    EXPECT_EQ(OutputErrorText([&] { output.SetDeviceID(1); }), "Change to DeviceID while device was open");
    EXPECT_EQ(OutputErrorText([&] { output.SetProductName("Synth"); }),
              "Change to ProductName while device was open");
    EXPECT_EQ(OutputErrorText([&] { output.SetTechnology(1); }),
              "Change to Product Technology while device was open");
    EXPECT_EQ(output.DeviceID(), 0);
    EXPECT_TRUE(output.Close());
    EXPECT_FALSE(output.Close());
    output.SetDeviceID(1);
}

TEST_F(MidiOutputTest, ClosedOrUnopenableOutputReportsOnSend) {
    TMidiOutput output(backend);
    backend.refuseOpen = true;
    EXPECT_FALSE(output.Open());
    EXPECT_FALSE(output.IsOpen());
    const Bytes request{0xF0, 0x43, 0x20, 0x09, 0xF7};
    const std::string invalidHandle = TMidiOutput::ErrorText(kResultInvalidHandle);
    EXPECT_EQ(OutputErrorText([&] { output.SendLong(request.data(), 5); }), invalidHandle);
    EXPECT_EQ(OutputErrorText([&] { output.SendShort(0x90, 1, 2); }), invalidHandle);
    EXPECT_EQ(output.LastResult(), kResultInvalidHandle);
    TMyMidiEvent event;
    EXPECT_EQ(OutputErrorText([&] { output.SendEvent(event); }), "MIDI Output device not open");
    EXPECT_TRUE(backend.sent.empty());

    backend.refuseOpen = false;
    ASSERT_TRUE(output.Open());
    backend.refuseSend = true;
    EXPECT_EQ(OutputErrorText([&] { output.SendShort(0x90, 1, 2); }), TMidiOutput::ErrorText(kResultError));
    EXPECT_EQ(TMidiOutput::ErrorText(999), "Specified error number is out of range");
}

TEST_F(MidiOutputTest, SendsBytesUnchanged) {
    const auto paths = testing::BankFilePaths();
    ASSERT_FALSE(paths.empty());
    const Bytes bank = testing::ReadBytes(paths.back());
    TMidiOutput output(backend);
    ASSERT_TRUE(output.Open());
    int completions = 0;
    output.Onmidioutput = [&](TMidiOutput&) { ++completions; };

    output.SendShort(0xBF, 0x14, 0x03);  // module select
    output.SendShort(0xCF, 0x03, 0x00);  // patch bay program: two bytes on the wire
    output.SendShort(0xBF, 0x80, 0xFF);  // not masked
    output.SendLong(bank.data(), static_cast<std::uint16_t>(bank.size()));
    TMyMidiEvent shortEvent{0x92, 0x40, 0x7F, 0, 0, {}};
    output.SendEvent(shortEvent);
    TMyMidiEvent longEvent{0xF0, 0, 0, 0, 5, {0xF0, 0x43, 0x22, 0x09, 0xF7}};
    output.SendEvent(longEvent);
    output.HandleNotices();
    EXPECT_EQ(completions, 2);  // one per completed system-exclusive send, none for short ones
    output.HandleNotices();
    EXPECT_EQ(completions, 2);

    const std::vector<Bytes> expected{{0xBF, 0x14, 0x03}, {0xCF, 0x03}, {0xBF, 0x80, 0xFF}, bank,
                                      {0x92, 0x40, 0x7F}, {0xF0, 0x43, 0x22, 0x09, 0xF7}};
    EXPECT_EQ(backend.sent, expected);
}

TEST_F(MidiOutputTest, CompletionOfASendIsReportedEvenAfterClose) {
    TMidiOutput output(backend);
    int completions = 0;
    output.Onmidioutput = [&](TMidiOutput&) { ++completions; };
    ASSERT_TRUE(output.Open());
    const Bytes request{0xF0, 0x43, 0x20, 0x09, 0xF7};
    output.SendLong(request.data(), static_cast<std::uint16_t>(request.size()));
    output.Close();
    output.HandleNotices();
    EXPECT_EQ(completions, 1);
}

TEST_F(MidiOutputTest, MapperOpensTheFirstHardwarePortOrDeviceZero) {
    TMidiOutput output(backend);
    output.SetDeviceID(kMidiMapperId);
    ASSERT_TRUE(output.Open());
    EXPECT_EQ(backend.lastOpenedOutput, 2u);
    output.Close();

    FakeBackend softOnly;
    softOnly.outputs = {{"Through", kTechnologySoftwarePort}};
    TMidiOutput soft(softOnly);
    soft.SetDeviceID(kMidiMapperId);
    ASSERT_TRUE(soft.Open());
    EXPECT_EQ(softOnly.lastOpenedOutput, 0u);

    FakeBackend none;
    TMidiOutput nothing(none);
    nothing.SetDeviceID(kMidiMapperId);
    EXPECT_FALSE(nothing.Open());
    EXPECT_EQ(OutputErrorText([&] { nothing.SetDeviceID(0); }), "Invalid device ID");
}

}  // namespace
}  // namespace midi
