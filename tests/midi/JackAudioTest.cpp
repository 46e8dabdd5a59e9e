// The emulated rack heard through a real JACK server: a note sent to the rack is captured from
// our audio port out_1 by a JACK client of the test's own, and its fundamental is right.
// Runs on the private server of tools/test.sh (MONDRAL_JACK_SERVER); skipped without one.

#include <gtest/gtest.h>

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "midi/EmulatedRack.h"
#include "midi/RtMidiBackend.h"
#include "midi/SysexMessages.h"
#include "synth/SynthVoices.h"

namespace midi {
namespace {

using namespace std::chrono_literals;

// Records its one input port into a buffer made before it starts.
class Capture {
public:
    explicit Capture(const std::string& name, double seconds) : samples_(std::size_t(seconds * 48000)) {
        client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
        if (!client_) return;
        port_ = jack_port_register(client_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &Capture::Process, this);
        jack_activate(client_);
    }
    ~Capture() {
        if (client_) jack_client_close(client_);
    }
    bool Ready() const { return client_ && port_; }
    std::string PortName() const { return jack_port_name(port_); }
    double SampleRate() const { return jack_get_sample_rate(client_); }
    bool Connect(const std::string& from) { return jack_connect(client_, from.c_str(), PortName().c_str()) == 0; }
    void Begin() { recording_.store(true); }
    std::size_t Recorded() const { return written_.load(); }
    const std::vector<float>& Samples() const { return samples_; }

private:
    static int Process(jack_nframes_t frames, void* self) {
        auto* capture = static_cast<Capture*>(self);
        const auto* in = static_cast<const float*>(jack_port_get_buffer(capture->port_, frames));
        if (!capture->recording_.load()) return 0;
        std::size_t at = capture->written_.load();
        for (jack_nframes_t i = 0; i < frames && at < capture->samples_.size(); ++i) capture->samples_[at++] = in[i];
        capture->written_.store(at);
        return 0;
    }

    std::vector<float> samples_;
    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::atomic<bool> recording_{false};
    std::atomic<std::size_t> written_{0};
};

TEST(JackAudioTest, NoteSentToTheRackIsHeardOnOut1AtItsPitch) {
    const char* server = std::getenv("MONDRAL_JACK_SERVER");
    if (!server || !*server) {
        const char* ci = std::getenv("CI");
        if (ci && std::string(ci) == "true") FAIL() << "CI: this test needs the private JACK server of tools/test.sh.";
        GTEST_SKIP() << "No JACK server (tools/test.sh starts a private one); skipped.";
    }
    ::setenv("JACK_DEFAULT_SERVER", server, 1);
    ::setenv("JACK_NO_START_SERVER", "1", 1);
    const std::string tag = std::to_string(::getpid());
    RtMidiBackend backend("mondral-audio-" + tag);
    EmulatedRack rack;
    auto audio = backend.OpenAudio(AudioChoice::kJack, rack);
    ASSERT_TRUE(audio);
    // "JACK (<client>:out_1, out_2)"
    const std::string description = audio->Description();
    const auto open = description.find('('), comma = description.find(',');
    ASSERT_NE(comma, std::string::npos) << description;
    const std::string out1 = description.substr(open + 1, comma - open - 1);
    EXPECT_EQ(out1, "mondral-audio-" + tag + ":out_1");

    Capture capture("mondral-capture-" + tag, 1.5);
    ASSERT_TRUE(capture.Ready());
    ASSERT_TRUE(capture.Connect(out1));

    synth::testing::VoiceImage voice;
    voice.Level(1, 99);
    auto output = rack.OpenOutput(0);
    ASSERT_TRUE(output->Send(BuildSysex(MakeSysexHeader(kFormatSingleVoice, 0, core::kUnpackedVoiceSize),
                                        std::span<const Byte>(voice.bytes.data(), core::kUnpackedVoiceSize))));
    ASSERT_TRUE(output->Send(std::vector<Byte>{0x90, 69, 127}));
    ASSERT_TRUE(rack.WaitIdle(10s));
    std::this_thread::sleep_for(100ms);  // the connection is live and the attack is over
    capture.Begin();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (capture.Recorded() < capture.Samples().size() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(capture.Recorded(), capture.Samples().size());
    const std::vector<float> heard(capture.Samples().begin() + std::ptrdiff_t(capture.SampleRate() / 4),
                                   capture.Samples().end());
    EXPECT_GT(synth::testing::Rms(heard), 0.01);
    EXPECT_NEAR(synth::testing::Fundamental(heard) * capture.SampleRate() / 48000.0, 440.0, 440.0 * 0.0005);
    audio.reset();
}

}  // namespace
}  // namespace midi
