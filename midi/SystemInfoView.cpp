#include "midi/SystemInfoView.h"

#include <algorithm>

namespace midi {

SystemInfoView ViewOf(std::span<const Byte, kSystemInfoSize> info) {
    SystemInfoView view;
    const auto model = info.subspan(kSystemInfoModelOffset, kSystemInfoModelSize);
    view.model.assign(model.begin(), std::find(model.begin(), model.end(), Byte(0)));
    view.revision = std::to_string(info[kSystemInfoRevisionMajor]) + "." +
                    std::to_string(info[kSystemInfoRevisionMinor]);
    view.channel = std::to_string(info[kSystemInfoChannel] + 1);
    view.omni = (info[kSystemInfoFlags] & kSystemInfoOmniFlag) != 0;
    const Byte battery = info[kSystemInfoBattery];
    view.lowBattery = battery <= kLowBatteryTenths;
    view.battery = std::to_string(battery / 10) + "." + std::to_string(battery % 10) + " V";
    return view;
}

std::string SystemInfoCaption(std::size_t module) { return "Info Module " + std::to_string(module + 1); }

}  // namespace midi
