#pragma once
// Channel and system common/real-time messages packed the classic way: status in the low byte,
// first data byte in the next, second data byte in the third.

#include <cstddef>
#include <cstdint>

namespace midi {

constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    return status | (std::uint32_t(data1) << 8) | (std::uint32_t(data2) << 16);
}

// Bytes on the wire for a message starting with this status byte. A data byte in the status
// position (running status) passes all three bytes unchanged.
constexpr std::size_t ShortMessageLength(std::uint8_t status) {
    if (status < 0x80) return 3;
    if (status < 0xC0) return 3;
    if (status < 0xE0) return 2;
    if (status < 0xF0) return 3;
    switch (status) {
    case 0xF1:
    case 0xF3: return 2;
    case 0xF2: return 3;
    default: return 1;
    }
}

inline constexpr std::uint8_t kSysexStart = 0xF0;
inline constexpr std::uint8_t kSysexEnd = 0xF7;
inline constexpr std::uint8_t kTimingClock = 0xF8;
inline constexpr std::uint8_t kActiveSensing = 0xFE;

}  // namespace midi
