#pragma once
// The platform's MIDI devices, loaded when first asked for. The RtMidi backend and the MIDI
// system libraries it needs (RtMidi, JACK, ALSA) live in a module of their own, next to the
// program, so starting the program does not wait for them to be loaded; they are loaded at
// the first port listing, after the main window is on screen. Without the module or its
// libraries (a machine without any MIDI system installed) the program lists no devices and
// says nothing, as RtMidiBackend does without a MIDI system.

#include <memory>
#include <string>

#include "midi/MidiBackend.h"

namespace midi {

class DeviceModule final : public Backend {
public:
    // modulePath: the module file; clientName as for RtMidiBackend.
    DeviceModule(std::string modulePath, std::string clientName);
    ~DeviceModule() override;

    std::vector<DeviceInfo> Inputs() override;
    std::vector<DeviceInfo> Outputs() override;
    std::unique_ptr<InputStream> OpenInput(std::size_t index, InputHandler& handler) override;
    std::unique_ptr<OutputStream> OpenOutput(std::size_t index) override;
    std::unique_ptr<AudioStream> OpenAudio(AudioChoice choice, AudioRenderer& renderer) override;

    // False when the module or one of its libraries could not be loaded.
    bool Loaded();

private:
    Backend* Devices();

    std::string modulePath_;
    std::string clientName_;
    bool tried_ = false;
    void* library_ = nullptr;
    Backend* devices_ = nullptr;
    void (*free_)(Backend*) = nullptr;
};

// The module's entry points (C names, found with dlsym).
extern "C" {
using MakeDevicesFunction = Backend* (*)(const char* clientName);
using FreeDevicesFunction = void (*)(Backend* devices);
}
inline constexpr const char* kMakeDevicesName = "MondralMakeDevices";
inline constexpr const char* kFreeDevicesName = "MondralFreeDevices";

}  // namespace midi
