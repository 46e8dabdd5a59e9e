#include "midi/MidiSettings.h"

#include <string>
#include <vector>

namespace midi {
namespace {

std::string ChannelName(int module) { return "C" + std::to_string(module + 1); }

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
    readKnob("Timer1", s.inputTimer, kInputTimerRange);
    readKnob("Timer2", s.outputTimer, kOutputTimerRange);
    for (int m = 0; m < 8; ++m) readKnob(ChannelName(m), s.channels[m], kChannelRange);
}

void WriteMidiSettings(const MidiSettings& s, platform::SettingsStore& store) {
    std::array<std::string, 8> names;
    std::vector<platform::SettingValue> values{
        {"AD", s.autoDump},       {"PBC", s.patchBayChannel}, {"PBCT", s.patchBayProgram},
        {"DX", s.dx7},            {"TX", s.tx816},            {"TXC", s.txCustom},
        {"TF1", s.moduleCount},   {"Timer1", s.inputTimer},   {"Timer2", s.outputTimer},
    };
    for (int m = 0; m < 8; ++m) {
        names[m] = ChannelName(m);
        values.push_back({names[m], s.channels[m]});
    }
    platform::WriteSettings(platform::kMidiKey, values, store);
}

bool ApplyModeClick(MidiSettings& s, ModeSwitch clicked) {
    switch (clicked) {
    case ModeSwitch::Dx7:
        s.dx7 = true;
        s.tx816 = false;
        s.txCustom = false;
        return true;
    case ModeSwitch::Tx816:
        s.dx7 = false;
        s.tx816 = true;
        return true;
    case ModeSwitch::Custom:
        if (!s.tx816) return false;
        s.txCustom = !s.txCustom;
        return true;
    case ModeSwitch::AutoDump:
        s.autoDump = !s.autoDump;
        return true;
    }
    return false;
}

ModeMenus MenusFor(const MidiSettings& s) {
    return {s.tx816 && s.txCustom, s.tx816, s.tx816};
}

}  // namespace midi
