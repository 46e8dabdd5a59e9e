#include "midi/ModeSwitches.h"

namespace midi {

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
