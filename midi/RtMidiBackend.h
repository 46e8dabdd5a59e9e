#pragma once
// The platform's MIDI devices: through RtMidi the ALSA sequencer, WinMM and CoreMIDI, and a
// JACK server through one client of our own (midi/JackSession), each used only when present
// (no MIDI system at all: no devices, nothing printed). A JACK server that stops is dropped and
// one that starts (again) is found by the next list.
// Hardware interfaces report technology "MIDI Port"; other programs' ports and loopbacks
// report kTechnologySoftwarePort, so automatic selection prefers a real interface.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"

namespace midi {

// The MIDI systems RtMidi offers, as far as sending differs.
enum class MidiSystem { kAlsa, kJack, kOther };

// Long messages go out in pieces of this size: on ALSA in small sequencer events (large single
// events fail), on JACK only above RtMidi's largest message (longer ones vanish); WinMM and
// CoreMIDI take a system-exclusive message whole and refuse a piece not starting with F0.
std::size_t SendPieceSize(MidiSystem system, std::size_t messageSize);

// WinMM and CoreMIDI ports count as hardware except the software ones every user may have:
// the Windows synthesizer, loopMIDI, the macOS IAC and network buses.
bool IsKnownSoftwarePort(const std::string& name);

// ALSA port names end in "client:port": clients 16-127 are sound cards, the rest are the
// system, the "Midi Through" loopback and programs.
bool IsAlsaHardwarePort(const std::string& name);

class RtMidiBackend final : public Backend {
public:
    // clientName: how our connections appear to other programs ("<clientName>:in" and
    // "<clientName>:out"); our own ports are not listed, other programs' ports are, whatever
    // their names.
    explicit RtMidiBackend(std::string clientName = "Mondral");
    ~RtMidiBackend() override;

    std::vector<DeviceInfo> Inputs() override;
    std::vector<DeviceInfo> Outputs() override;
    std::unique_ptr<InputStream> OpenInput(std::size_t index, InputHandler& handler) override;
    std::unique_ptr<OutputStream> OpenOutput(std::size_t index) override;
    // JACK on the program's JACK client while a server runs (else the system's default output),
    // or the system's default output.
    std::unique_ptr<AudioStream> OpenAudio(AudioChoice choice, AudioRenderer& renderer) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace midi
