#include "midi/MidiSettingsStore.h"

#include <string>
#include <vector>

namespace midi {
namespace {

// Appended rather than "C" + ...: GCC 12 warns falsely about the latter at -O3.
std::string ChannelName(std::size_t module) {
    return std::string("C").append(std::to_string(module + 1));
}

}  // namespace

void ReadMidiSettings(MidiSettings& s, platform::SettingsStore& store) {
    platform::SettingsReader reader(platform::kMidiKey, store);
    std::int32_t v = 0;
    const auto readSwitch = [&](const char* name, bool& target) {
        if (reader.Next(name, v)) target = v == 1;
    };
    const auto readKnob = [&](std::string_view name, int& target, KnobRange range) {
        if (reader.Next(name, v)) target = range.Clamp(v);
    };
    readSwitch("AD", s.autoDump);
    readSwitch("DX", s.dx7);
    readSwitch("TX", s.tx816);
    readSwitch("TXC", s.txCustom);
    readKnob("PBC", s.patchBayChannel, kChannelRange);
    readKnob("PBCT", s.patchBayProgram, kProgramRange);
    readKnob("TF1", s.moduleCount, kModuleCountRange);
    readKnob("Timer1", s.inputTimerTicks, kInputTimerRange);
    readKnob("Timer2", s.outputTimerTicks, kOutputTimerRange);
    for (std::size_t m = 0; m < kModuleCount; ++m)
        readKnob(ChannelName(m), s.moduleChannels[m], kChannelRange);
    readKnob("AUDIO", s.audioOutput, kAudioOutputRange);
}

void WriteMidiSettings(const MidiSettings& s, platform::SettingsStore& store) {
    std::array<std::string, kModuleCount> names;
    std::vector<platform::SettingValue> values{
        {"AD", s.autoDump},         {"PBC", s.patchBayChannel},       {"PBCT", s.patchBayProgram},
        {"DX", s.dx7},              {"TX", s.tx816},                  {"TXC", s.txCustom},
        {"TF1", s.moduleCount},     {"Timer1", s.inputTimerTicks},    {"Timer2", s.outputTimerTicks},
    };
    for (std::size_t m = 0; m < kModuleCount; ++m) {
        names[m] = ChannelName(m);
        values.push_back({names[m], s.moduleChannels[m]});
    }
    values.push_back({"AUDIO", s.audioOutput});
    platform::WriteSettings(platform::kMidiKey, values, store);
}

}  // namespace midi
