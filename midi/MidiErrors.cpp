#include "midi/MidiErrors.h"

#include "midi/MidiBackend.h"

namespace midi {

std::string MidiResultText(std::uint16_t result) {
    switch (result) {
    case kResultOk: return "The operation completed successfully.";
    case kResultError: return "The MIDI device did not accept the operation.";
    case kResultBadDeviceId: return "The MIDI device ID is out of range.";
    case kResultInvalidHandle: return "The MIDI device handle is invalid.";
    default: return "Specified error number is out of range";
    }
}

std::string TechnologyName(int technology) {
    switch (technology) {
    case kTechnologyNone: return "None";
    case kTechnologyMidiPort: return "MIDI Port";
    case kTechnologyGenericSynth: return "Generic Synth";
    case kTechnologySquareWaveSynth: return "Square Wave Synth";
    case kTechnologyFmSynth: return "FM Synth";
    case kTechnologyMidiMapper: return "MIDI Mapper";
    case kTechnologySoftwarePort: return "Software Port";
    default: return "Technology " + std::to_string(technology);
    }
}

}  // namespace midi
