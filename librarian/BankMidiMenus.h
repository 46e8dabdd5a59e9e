#pragma once
// Puts the bank MIDI commands on the main window's bank menus: the bank name labels' menu
// (for the bank it was opened on) and the all-banks menu.

#include "librarian/BankMidiCommands.h"

namespace midi {
class TfrmMidi;
class TfrmSystem;
}  // namespace midi

namespace librarian {

class TfrmMain;

class BankMidiMenus final : public BankPanel {
public:
    BankMidiMenus(TfrmMain& main, const BankMidiCommands::Banks& banks, midi::TfrmMidi& midi,
                  midi::DumpProgress& progress, midi::TfrmSystem& system);

    BankMidiCommands& Commands() { return commands_; }
    // "Show System Info" on a bank: the window filled and shown modally, after a successful
    // exchange only.
    void ShowSystemInfo(int bank);

    // BankPanel.
    bool FunctionsMode() const override;
    void SetBankLabel(int bank, const std::string& text) override;
    void RefreshBankList(int bank) override;

private:
    // The bank the menu was opened on; the current bank when none.
    int MenuBank() const;
    // The memory-protect items show the protection last set on the modules they act on.
    void ShowProtection();

    TfrmMain& main_;
    midi::TfrmSystem& system_;
    BankMidiCommands commands_;
};

}  // namespace librarian
