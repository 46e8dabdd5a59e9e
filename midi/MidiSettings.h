#pragma once
// The transfer settings the MIDI window shows and the message and dump code reads at the moment
// of use: instrument modes, module channels, module count, timers, patch bay and Auto Dump.
// Stored under the "Midi" settings key.

#include <array>
#include <cstdint>

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
inline constexpr KnobRange kOutputTimerRange{1, 1000};

struct MidiSettings {
    bool autoDump = true;       // "AD"
    bool dx7 = false;           // "DX"
    bool tx816 = true;          // "TX"
    bool txCustom = true;       // "TXC"
    int patchBayChannel = 16;   // "PBC", 1-16
    int patchBayProgram = 3;    // "PBCT", 1-128, sent as shown
    int moduleCount = 8;        // "TF1", 1-8
    int inputTimer = 100;       // "Timer1", ticks of 10 ms
    int outputTimer = 100;      // "Timer2", ticks of 10 ms
    std::array<int, 8> channels{1, 2, 3, 4, 5, 6, 7, 8};  // "C1"..."C8", 1-16

    bool operator==(const MidiSettings&) const = default;
};

// Reads the "Midi" key in its fixed order ("AD", "DX", "TX", "TXC", "PBC", "PBCT", "TF1",
// "Timer1", "Timer2", "C1"..."C8"); the first missing value leaves it and all later ones as they
// are. A switch state other than 0 or 1 becomes off; a knob value outside its range is brought
// to the nearest end of the range.
void ReadMidiSettings(MidiSettings& settings, platform::SettingsStore& store = platform::Settings());

// Writes the 17 values in the order of the program's shutdown ("AD", "PBC", "PBCT", "DX", "TX",
// "TXC", "TF1", "Timer1", "Timer2", "C1"..."C8").
void WriteMidiSettings(const MidiSettings& settings,
                       platform::SettingsStore& store = platform::Settings());

// The user's clicks on the mode switches.
enum class ModeSwitch { Dx7, Tx816, Custom, AutoDump };

// Applies a click; false when it changes nothing (Custom while TX816 mode is off).
bool ApplyModeClick(MidiSettings& settings, ModeSwitch clicked);

// The main-window menu items that depend on the modes.
struct ModeMenus {
    bool getAllBanks;     // "Get All Banks from MIDI": a customized TX816 selects the modules
    bool memoryProtect;   // "Memory Protect ": TX816 mode
    bool showSystemInfo;  // "Show System Info": TX816 mode
    bool operator==(const ModeMenus&) const = default;
};
ModeMenus MenusFor(const MidiSettings& settings);

}  // namespace midi
