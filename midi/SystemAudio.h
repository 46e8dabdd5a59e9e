#pragma once
// The system's default audio output through RtAudio (PulseAudio, else ALSA; never RtAudio's
// own JACK client, the program has one already).

#include <memory>

#include "midi/MidiBackend.h"

namespace midi {

// nullptr when no such output opens (a machine without sound); prints nothing.
std::unique_ptr<AudioStream> OpenSystemAudio(AudioRenderer& renderer);

}  // namespace midi
