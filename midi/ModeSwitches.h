#pragma once
// The instrument mode switches of the MIDI window and the main-window menu items they steer.

#include "midi/MidiSettings.h"

namespace midi {

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
