#pragma once
// Our MIDI service layer: what the port components need from a MIDI system. Implemented by
// the RtMidi backend (ALSA, JACK, WinMM, CoreMIDI) and by the emulated TX816 rack.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace midi {

// Device technology codes, as the port components report them.
enum Technology : int {
    kTechnologyNone = 0,
    kTechnologyMidiPort = 1,  // a hardware interface (or the emulated rack)
    kTechnologyGenericSynth = 2,
    kTechnologySquareWaveSynth = 3,
    kTechnologyFmSynth = 4,
    kTechnologyMidiMapper = 5,
    kTechnologySoftwarePort = 7,  // another program's port or a loopback, no interface behind it
};

struct DeviceInfo {
    std::string name;
    int technology = kTechnologyMidiPort;
};

// Receives incoming data on the backend's own thread. Implementations must not block.
class InputHandler {
public:
    // bytes: a short message (1-3 bytes), a whole system-exclusive message (F0 ... F7), or a
    // piece of one (the first piece starts with F0, the last ends with F7); the receiver joins
    // pieces. timestampMs counts from InputStream::Start.
    virtual void OnMidiData(std::span<const std::uint8_t> bytes, std::uint32_t timestampMs) = 0;

protected:
    ~InputHandler() = default;
};

// An open input device. Destroying it closes the device; no call reaches the handler after
// the destructor returns.
class InputStream {
public:
    virtual ~InputStream() = default;
    // Starts delivering data to the handler; timestamps count from here.
    virtual void Start() = 0;
};

// An open output device. Destroying it closes the device.
class OutputStream {
public:
    virtual ~OutputStream() = default;
    // Sends one whole message (short or system-exclusive). Long messages are paced as the
    // backend needs. False when the device refused it.
    virtual bool Send(std::span<const std::uint8_t> bytes) = 0;
};

// An output device's direct entrance for a keyboard's channel messages (the emulated rack
// plays what the chosen input brings). Called on the input's MIDI thread: must not block.
class KeyboardThru {
public:
    virtual void PlayChannelMessage(std::span<const std::uint8_t> bytes) = 0;

protected:
    ~KeyboardThru() = default;
};

// What an audio output plays: Prepare on the opening thread before the first block, then
// RenderAudio on the output's own thread, which must never allocate, lock or wait.
class AudioRenderer {
public:
    virtual void PrepareAudio(double sampleRate) = 0;
    virtual void RenderAudio(float* left, float* right, std::size_t frames) = 0;

protected:
    ~AudioRenderer() = default;
};

// An open audio output. Destroying it stops the rendering before it returns.
class AudioStream {
public:
    virtual ~AudioStream() = default;
    // What it plays through, e.g. "JACK (Mondral:out_1, out_2)".
    virtual std::string Description() const = 0;
};

// Where the sound goes, as the MIDI window offers it (its settings value).
enum class AudioChoice : int { kJack = 0, kSystem = 1, kOff = 2 };

// A MIDI system: its devices in a fixed order, addressed by index.
class Backend {
public:
    virtual ~Backend() = default;
    virtual std::vector<DeviceInfo> Inputs() = 0;
    virtual std::vector<DeviceInfo> Outputs() = 0;
    // nullptr when the device cannot be opened.
    virtual std::unique_ptr<InputStream> OpenInput(std::size_t index, InputHandler& handler) = 0;
    virtual std::unique_ptr<OutputStream> OpenOutput(std::size_t index) = 0;
    // nullptr for the devices that have none (all but the emulated rack).
    virtual KeyboardThru* KeyboardThruFor(std::size_t /*outputIndex*/) { return nullptr; }
    // The sound this system makes (the emulated rack's), or nullptr.
    virtual AudioRenderer* Sound() { return nullptr; }
    // An audio output playing `renderer`: JACK (on the program's JACK client) or the system's
    // default output; nullptr where there is none.
    virtual std::unique_ptr<AudioStream> OpenAudio(AudioChoice /*choice*/, AudioRenderer& /*renderer*/) {
        return nullptr;
    }
};

}  // namespace midi
