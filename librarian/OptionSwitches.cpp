#include "librarian/OptionSwitches.h"

namespace librarian {

OptionStates OptionStatesFrom(const BaseValues& v) {
    return {v.multiSelect != 0, v.linkBuffers != 0, v.dropCopy != 0,     v.dropSwap != 0,
            v.dropAddTo != 0,   v.doublesFirst != 0, v.doublesSecond != 0, v.doublesDelete != 0};
}

void StoreOptionStates(const OptionStates& s, BaseValues& v) {
    v.multiSelect = s.multiSelect;
    v.linkBuffers = s.linkBuffers;
    v.dropCopy = s.copy;
    v.dropSwap = s.swap;
    v.dropAddTo = s.addTo;
    v.doublesFirst = s.first;
    v.doublesSecond = s.second;
    v.doublesDelete = s.doublesDelete;
}

void ClickOption(OptionStates& s, OptionSwitch clicked) {
    switch (clicked) {
    case OptionSwitch::MultiSelect: s.multiSelect = !s.multiSelect; break;
    case OptionSwitch::LinkBuffers: s.linkBuffers = !s.linkBuffers; break;
    case OptionSwitch::Delete: s.doublesDelete = !s.doublesDelete; break;
    case OptionSwitch::Copy:
    case OptionSwitch::Swap:
    case OptionSwitch::AddTo:
        s.copy = clicked == OptionSwitch::Copy;
        s.swap = clicked == OptionSwitch::Swap;
        s.addTo = clicked == OptionSwitch::AddTo;
        break;
    case OptionSwitch::First:
    case OptionSwitch::Second:
        if (clicked == OptionSwitch::First) s.first = !s.first;
        else s.second = !s.second;
        if (!s.first && !s.second) s.first = true;
        break;
    }
}

CopyMode BankCopyMode(const OptionStates& s) {
    if (s.swap) return CopyMode::Swap;
    if (s.copy) return CopyMode::Copy;
    return CopyMode::AddTo;
}

CopyMode BankDropMode(const OptionStates& s) {
    if (s.addTo) return CopyMode::AddTo;
    if (s.swap) return CopyMode::Swap;
    return CopyMode::Copy;
}

core::DoublesOptions DoublesFrom(const OptionStates& s) { return {s.first, s.second, s.doublesDelete}; }

}  // namespace librarian
