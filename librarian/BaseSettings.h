#pragma once
// The values of the "Base" settings key: the main window's place and modes, the options and
// markers windows' places and visibility, and the librarian options.

#include <cstdint>

#include "platform/SettingsStore.h"

namespace librarian {

struct BaseValues {
    // Each window's top edge ("..X") and left edge ("..Y").
    std::int32_t mainTop = 166;       // "MBX"
    std::int32_t mainLeft = 241;      // "MBY"
    std::int32_t optionsTop = 506;    // "OBX"
    std::int32_t optionsLeft = 118;   // "OBY"
    std::int32_t markersTop = 248;    // "TBX"
    std::int32_t markersLeft = 168;   // "TBY"
    std::int32_t functionsMode = 0;   // "PER": gswPerform
    std::int32_t pageMode = 0;        // "PAG": gswLib
    std::int32_t optionsOpen = 0;     // "OBO"
    std::int32_t markersOpen = 0;     // "TBO"
    std::int32_t multiSelect = 0;     // "MSL"
    std::int32_t linkBuffers = 0;     // "LBU"
    std::int32_t dropCopy = 1;        // "CPY"
    std::int32_t dropSwap = 0;        // "SWP"
    std::int32_t dropAddTo = 0;       // "ADD"
    std::int32_t doublesFirst = 0;    // "DF1"
    std::int32_t doublesSecond = 1;   // "DF2"
    std::int32_t doublesDelete = 0;   // "DEL"
    // The audition after a voice click: on, note, velocity, length in tenths of a second.
    std::int32_t auditionOn = 0;          // "AUD"
    std::int32_t auditionNote = 60;       // "AUDN"
    std::int32_t auditionVelocity = 100;  // "AUDV"
    std::int32_t auditionLength = 5;      // "AUDL"
};

// The main window's four values, read in the order "MBX", "MBY", "PER", "PAG"; the first
// missing one leaves itself and the rest at the values already in `values`.
void ReadMainWindowValues(BaseValues& values, platform::SettingsStore& store = platform::Settings());

// The options window's fifteen values, read in the order "OBX", "OBY", "OBO", "MSL", "LBU",
// "CPY", "SWP", "ADD", "DF1", "DF2", "DEL", "AUD", "AUDN", "AUDV", "AUDL"; the first missing
// one leaves itself and the rest.
void ReadOptionsWindowValues(BaseValues& values,
                             platform::SettingsStore& store = platform::Settings());
// The markers window's three values, read in the order "TBX", "TBY", "TBO" with the same rule.
void ReadMarkersWindowValues(BaseValues& values,
                             platform::SettingsStore& store = platform::Settings());

// Writes all twenty-two values in the key's fixed order; returns how many were written.
int WriteBaseValues(const BaseValues& values, platform::SettingsStore& store = platform::Settings());

}  // namespace librarian
