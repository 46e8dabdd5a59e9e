#include "midi/SystemAudio.h"

#include <RtAudio.h>

#include <string>

#include "midi/QuietStderr.h"

namespace midi {
namespace {

constexpr unsigned kSampleRate = 48000;
// About 5 ms a period: a note starts within that.
constexpr unsigned kPeriodFrames = 256;

class RtAudioStream final : public AudioStream {
public:
    RtAudioStream(std::unique_ptr<RtAudio> audio, std::string description)
        : audio_(std::move(audio)), description_(std::move(description)) {}
    ~RtAudioStream() override {
        QuietStderr quiet;
        try {
            if (audio_->isStreamRunning()) audio_->stopStream();
            if (audio_->isStreamOpen()) audio_->closeStream();
        } catch (const RtAudioError&) {
        }
    }
    std::string Description() const override { return description_; }

private:
    std::unique_ptr<RtAudio> audio_;
    std::string description_;
};

int Callback(void* output, void*, unsigned frames, double, RtAudioStreamStatus, void* user) {
    auto* samples = static_cast<float*>(output);
    static_cast<AudioRenderer*>(user)->RenderAudio(samples, samples + frames, frames);
    return 0;
}

}  // namespace

std::unique_ptr<AudioStream> OpenSystemAudio(AudioRenderer& renderer) {
    QuietStderr quiet;
    for (const RtAudio::Api api : {RtAudio::LINUX_PULSE, RtAudio::LINUX_ALSA}) {
        try {
            auto audio = std::make_unique<RtAudio>(api);
            if (audio->getDeviceCount() == 0) continue;
            RtAudio::StreamParameters parameters;
            parameters.deviceId = audio->getDefaultOutputDevice();
            parameters.nChannels = 2;
            RtAudio::StreamOptions options;
            options.flags = RTAUDIO_NONINTERLEAVED;
            options.streamName = "Mondral";
            unsigned frames = kPeriodFrames;
            renderer.PrepareAudio(kSampleRate);
            audio->openStream(&parameters, nullptr, RTAUDIO_FLOAT32, kSampleRate, &frames, &Callback,
                              &renderer, &options);
            audio->startStream();
            const std::string name = api == RtAudio::LINUX_PULSE ? "PulseAudio" : "ALSA";
            return std::make_unique<RtAudioStream>(std::move(audio), name + " (system default)");
        } catch (const RtAudioError&) {
        }
    }
    return nullptr;
}

}  // namespace midi
