#include "midi/CompositeBackend.h"

namespace midi {

std::vector<DeviceInfo> CompositeBackend::List(bool inputs) {
    std::vector<DeviceInfo> all;
    std::vector<std::size_t>& counts = inputs ? inputCounts_ : outputCounts_;
    counts.clear();
    for (Backend* backend : backends_) {
        std::vector<DeviceInfo> devices = inputs ? backend->Inputs() : backend->Outputs();
        counts.push_back(devices.size());
        all.insert(all.end(), devices.begin(), devices.end());
    }
    return all;
}

std::vector<DeviceInfo> CompositeBackend::Inputs() { return List(true); }
std::vector<DeviceInfo> CompositeBackend::Outputs() { return List(false); }

bool CompositeBackend::Locate(bool inputs, std::size_t& index, Backend*& backend) {
    std::vector<std::size_t>& counts = inputs ? inputCounts_ : outputCounts_;
    if (counts.size() != backends_.size()) List(inputs);
    for (std::size_t i = 0; i < backends_.size(); ++i) {
        if (index < counts[i]) {
            backend = backends_[i];
            return true;
        }
        index -= counts[i];
    }
    return false;
}

std::unique_ptr<InputStream> CompositeBackend::OpenInput(std::size_t index, InputHandler& handler) {
    Backend* backend = nullptr;
    if (!Locate(true, index, backend)) return nullptr;
    return backend->OpenInput(index, handler);
}

std::unique_ptr<OutputStream> CompositeBackend::OpenOutput(std::size_t index) {
    Backend* backend = nullptr;
    if (!Locate(false, index, backend)) return nullptr;
    return backend->OpenOutput(index);
}

KeyboardThru* CompositeBackend::KeyboardThruFor(std::size_t outputIndex) {
    Backend* backend = nullptr;
    if (!Locate(false, outputIndex, backend)) return nullptr;
    return backend->KeyboardThruFor(outputIndex);
}

AudioRenderer* CompositeBackend::Sound() {
    for (Backend* backend : backends_)
        if (AudioRenderer* sound = backend->Sound()) return sound;
    return nullptr;
}

std::unique_ptr<AudioStream> CompositeBackend::OpenAudio(AudioChoice choice, AudioRenderer& renderer) {
    for (Backend* backend : backends_)
        if (auto stream = backend->OpenAudio(choice, renderer)) return stream;
    return nullptr;
}

}  // namespace midi
