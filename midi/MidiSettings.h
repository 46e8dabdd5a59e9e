#pragma once
// The transfer settings of the MIDI configuration: instrument mode, module channels, patch bay,
// timers. The configuration window edits one of these; the message and dump code read it at
// the moment of use, so a change takes effect at its next use.

#include <array>
#include <chrono>
#include <cstddef>

namespace midi {

inline constexpr std::size_t kModuleCount = 8;
// A byte on a MIDI wire: 31,250 baud, ten bits a byte.
inline constexpr std::chrono::microseconds kWireByteTime{320};

struct MidiSettings {
    // Mode switches. DX7 and TX816 exclude each other when clicked, but restored settings can
    // hold any combination, so they stay three separate switches.
    bool dx7 = false;       // single function as format 02h; no function bank is sent
    bool tx816 = true;      // dump requests precede every expected reply
    bool txCustom = true;   // customized TX816: modules are selected by controller 20
    bool autoDump = true;   // a voice picked in a list is sent to its module

    std::array<int, kModuleCount> moduleChannels{1, 2, 3, 4, 5, 6, 7, 8};  // 1-16
    int patchBayChannel = 16;  // 1-16: program change and module-select controller
    int patchBayProgram = 3;   // 1-128 as displayed
    int moduleCount = 8;       // 1-8: modules taking part in "all banks" commands
    int inputTimerTicks = 100;   // 1-999, ticks of 10 ms waited for a reply
    int outputTimerTicks = 100;  // 1-1000, ticks of 10 ms between a bank and its functions
    // Where the emulated rack sounds (AudioChoice): 0 JACK while a server runs, else the
    // system's default output; 1 the system's default output; 2 off.
    int audioOutput = 0;

    // The MIDI channel 1-16 of module 0-7.
    int ModuleChannel(std::size_t module) const { return moduleChannels.at(module); }
};

}  // namespace midi
