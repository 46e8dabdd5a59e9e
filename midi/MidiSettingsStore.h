#pragma once
// The transfer settings under the "Midi" settings key, and the ranges of their knobs.

#include "midi/MidiSettings.h"
#include "platform/SettingsStore.h"

namespace midi {

struct KnobRange {
    int min;
    int max;
    int Clamp(int value) const { return value < min ? min : value > max ? max : value; }
};

inline constexpr KnobRange kChannelRange{1, 16};
inline constexpr KnobRange kProgramRange{1, 128};
inline constexpr KnobRange kModuleCountRange{1, 8};
inline constexpr KnobRange kInputTimerRange{1, 999};
inline constexpr KnobRange kAudioOutputRange{0, 2};
inline constexpr KnobRange kOutputTimerRange{1, 1000};

// Reads the "Midi" key in its fixed order ("AD", "DX", "TX", "TXC", "PBC", "PBCT", "TF1",
// "Timer1", "Timer2", "C1"..."C8"); the first missing value leaves it and all later ones as they
// are. A switch state other than 0 or 1 becomes off; a knob value outside its range is brought
// to the nearest end of the range.
void ReadMidiSettings(MidiSettings& settings, platform::SettingsStore& store = platform::Settings());

// Writes the 17 values in the order of the program's shutdown ("AD", "PBC", "PBCT", "DX", "TX",
// "TXC", "TF1", "Timer1", "Timer2", "C1"..."C8").
void WriteMidiSettings(const MidiSettings& settings,
                       platform::SettingsStore& store = platform::Settings());

}  // namespace midi
