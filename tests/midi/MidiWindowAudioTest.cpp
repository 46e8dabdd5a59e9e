// The MIDI window and the emulated rack's sound: a keyboard on the chosen input plays the rack
// when the rack is the chosen output (and only then), and the "Audio" list opens the output it
// names and keeps the choice in the settings.

#include <gtest/gtest.h>

#include <QComboBox>

#include <cmath>
#include <string>
#include <vector>

#include "midi/CompositeBackend.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiSettingsStore.h"
#include "midi/TfrmMidi.h"
#include "platform/MemorySettings.h"
#include "support/TestApplication.h"
#include "tests/midi/FakeBackend.h"

namespace midi {
namespace {

// A keyboard interface and a synthesizer port; the audio outputs it opens are recorded.
class Devices final : public testing::FakeBackend {
public:
    Devices() {
        inputs = {{"USB Keyboard", kTechnologyMidiPort}};
        outputs = {{"Soft Synth", kTechnologySoftwarePort}};
    }
    std::unique_ptr<AudioStream> OpenAudio(AudioChoice choice, AudioRenderer& renderer) override {
        struct Stream final : AudioStream {
            std::string name;
            std::string Description() const override { return name; }
        };
        choices.push_back(int(choice));
        if (choice == AudioChoice::kOff) return nullptr;
        renderer.PrepareAudio(44100.0);
        auto stream = std::make_unique<Stream>();
        stream->name = choice == AudioChoice::kJack ? "JACK" : "System";
        return stream;
    }
    std::vector<int> choices;
};

double Loudness(EmulatedRack& rack) {
    std::vector<float> left(2048), right(2048);
    rack.RenderAudio(left.data(), right.data(), left.size());
    double sum = 0;
    for (const float x : left) sum += double(x) * x;
    return std::sqrt(sum / double(left.size()));
}

TEST(MidiWindowAudioTest, KeyboardPlaysTheRackOnlyWhenTheRackIsTheOutput) {
    testing_support::TestApplication();
    Devices devices;
    EmulatedRack rack;
    CompositeBackend backend({&devices, &rack});
    platform::MemorySettings settings;
    TfrmMidi w(backend, nullptr, settings);
    w.ListPorts();  // the rack is the only interface among the outputs
    ASSERT_EQ(w.cmbOutput->currentText().toStdString(), kEmulatedRackName);
    ASSERT_NE(devices.handler, nullptr);
    devices.Deliver({0x90, 60, 100});
    EXPECT_GT(Loudness(rack), 1e-3);

    devices.Deliver({0xB0, 120, 0});  // all sound off
    EXPECT_EQ(Loudness(rack), 0.0);
    w.cmbOutput->setCurrentIndex(0);  // the synthesizer port
    w.cmbOutputClick();
    ASSERT_EQ(w.cmbOutput->currentText().toStdString(), "Soft Synth");
    devices.Deliver({0x90, 62, 100});
    EXPECT_EQ(Loudness(rack), 0.0);
    w.ClosePorts();
}

TEST(MidiWindowAudioTest, AudioListOpensTheNamedOutputAndIsKept) {
    testing_support::TestApplication();
    Devices devices;
    EmulatedRack rack;
    CompositeBackend backend({&devices, &rack});
    platform::MemorySettings settings;
    MidiSettings stored;
    stored.audioOutput = 1;
    WriteMidiSettings(stored, settings);
    TfrmMidi w(backend, nullptr, settings);
    EXPECT_EQ(w.cmbAudio->currentIndex(), 1);
    w.OpenAudio();
    EXPECT_EQ(w.AudioDescription(), "System");
    w.cmbAudioClick(2);
    EXPECT_EQ(w.AudioDescription(), "");
    w.cmbAudioClick(0);
    EXPECT_EQ(w.AudioDescription(), "JACK");
    EXPECT_EQ(devices.choices, (std::vector<int>{1, 2, 0}));
    platform::MemorySettings written;
    w.WriteSettings(written);
    EXPECT_EQ(written.Get(platform::kMidiKey, "AUDIO"), 0);
}

}  // namespace
}  // namespace midi
