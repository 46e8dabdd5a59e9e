#pragma once
// One received MIDI message, as TMidiInput::TakeEvent hands it out; the taker owns it.

#include <cstdint>
#include <vector>

namespace midi {

struct TMyMidiEvent {
    std::uint8_t status = 0;  // F0h for a system-exclusive message
    std::uint8_t data1 = 0;   // 0 for system exclusive
    std::uint8_t data2 = 0;
    std::uint32_t timestamp = 0;     // ms since the input's Start
    std::uint16_t sysexLength = 0;   // 0 for a short message
    std::vector<std::uint8_t> sysexData;  // F0h ... F7h as received; empty when sysexLength is 0
};

}  // namespace midi
