#pragma once
// What the MIDI window needs from the main window: the current bank (for parameter changes to
// the current module) and the enabled state of the bank menu items that depend on the modes.
// The main window implements it.

namespace midi {

class MainWindowLink {
public:
    // The index 0-7 of the bank switch that is on.
    virtual int CurrentBank() const = 0;
    // "Get All Banks from MIDI", "Memory Protect " and "Show System Info".
    virtual void SetGetAllBanksEnabled(bool enabled) = 0;
    virtual void SetMemoryProtectEnabled(bool enabled) = 0;
    virtual void SetShowSystemInfoEnabled(bool enabled) = 0;

protected:
    ~MainWindowLink() = default;
};

}  // namespace midi
