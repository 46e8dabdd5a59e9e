#pragma once
// Several MIDI backends listed as one: the devices of the first backend, then those of the
// next, and so on (the program lists the platform's devices first, the emulated rack last).

#include <vector>

#include "midi/MidiBackend.h"

namespace midi {

class CompositeBackend final : public Backend {
public:
    // The backends must outlive this object.
    explicit CompositeBackend(std::vector<Backend*> backends) : backends_(std::move(backends)) {}

    std::vector<DeviceInfo> Inputs() override;
    std::vector<DeviceInfo> Outputs() override;
    std::unique_ptr<InputStream> OpenInput(std::size_t index, InputHandler& handler) override;
    std::unique_ptr<OutputStream> OpenOutput(std::size_t index) override;
    KeyboardThru* KeyboardThruFor(std::size_t outputIndex) override;
    // The first system's sound that has one; the first system's output that opens.
    AudioRenderer* Sound() override;
    std::unique_ptr<AudioStream> OpenAudio(AudioChoice choice, AudioRenderer& renderer) override;

private:
    // Lists every backend's devices, remembering how many each one had, so that an index
    // refers to the list the caller saw last.
    std::vector<DeviceInfo> List(bool inputs);
    // The backend holding overall index `index` and the index within it; false if none.
    bool Locate(bool inputs, std::size_t& index, Backend*& backend);

    std::vector<Backend*> backends_;
    std::vector<std::size_t> inputCounts_;
    std::vector<std::size_t> outputCounts_;
};

}  // namespace midi
