#pragma once
// The options window's switches as the commands read them, and the rules its clicks keep:
// exactly one of Copy, Swap and Add To is on; at least one of First and Second is on.

#include "core/Nomsyn.h"
#include "librarian/BaseSettings.h"

namespace librarian {

struct OptionStates {
    bool multiSelect = false;    // "MSL"
    bool linkBuffers = false;    // "LBU"
    bool copy = true;            // "CPY"
    bool swap = false;           // "SWP"
    bool addTo = false;          // "ADD"
    bool first = false;          // "DF1"
    bool second = true;          // "DF2"
    bool doublesDelete = false;  // "DEL"
    bool operator==(const OptionStates&) const = default;
};

// The states stored in the "Base" values (any value but 0 counts as on), and back as 0 or 1.
// Stored states are taken as they are, even when they break the click rules: a first click
// on the group restores them.
OptionStates OptionStatesFrom(const BaseValues& values);
void StoreOptionStates(const OptionStates& states, BaseValues& values);

enum class OptionSwitch { MultiSelect, LinkBuffers, Copy, Swap, AddTo, First, Second, Delete };

// A click on a switch or its label: Multi Select, Link Buffers and Delete toggle; a radio
// switch goes on and the other two off; First and Second toggle, and when neither is left on,
// First goes on.
void ClickOption(OptionStates& states, OptionSwitch clicked);

enum class CopyMode { Copy, Swap, AddTo };

// What "Copy Bank -> Bank" does: Swap when on, else Copy when on, else Add To.
CopyMode BankCopyMode(const OptionStates& states);
// What a drop onto a bank list does: Add To when on, else Swap when on, else Copy.
CopyMode BankDropMode(const OptionStates& states);

// The doubles search as First, Second and Delete set it.
core::DoublesOptions DoublesFrom(const OptionStates& states);

}  // namespace librarian
