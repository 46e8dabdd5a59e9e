#pragma once
// What the "TF1 System Info" window shows of a module's 16 bytes of system information.

#include <cstddef>
#include <span>
#include <string>

#include "midi/SysexMessages.h"

namespace midi {

// At or below this a module's backup battery is low (tenths of a volt: below 2.6 V).
inline constexpr Byte kLowBatteryTenths = 25;

struct SystemInfoView {
    std::string model;     // bytes 0-9, up to the first zero byte
    std::string revision;  // "major.minor"
    std::string channel;   // 1-16
    bool omni = false;
    bool lowBattery = false;
    std::string battery;   // "3.1 V"
};

SystemInfoView ViewOf(std::span<const Byte, kSystemInfoSize> info);
// "Info Module n", n counted from 1.
std::string SystemInfoCaption(std::size_t module);

}  // namespace midi
