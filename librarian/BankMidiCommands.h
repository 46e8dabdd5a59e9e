#pragma once
// The bank menus' MIDI commands: fetch and send one bank or all of them, a module's system
// information, memory protection. Plain logic over the banks, the dump engine, the progress
// and what the bank panel must show, so tests run it without windows.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/Bankson.h"
#include "midi/DumpEngine.h"
#include "midi/DumpProgress.h"

namespace librarian {

inline constexpr char kMidiNewLabel[] = "MIDI New";
inline constexpr char kGetAllCaption[] = "Get All";
inline constexpr char kSendAllCaption[] = "Send All";

// What the commands change on the main window's bank panel.
class BankPanel {
public:
    // "Mode Voices/Functions": transfers include the function banks.
    virtual bool FunctionsMode() const = 0;
    virtual void SetBankLabel(int bank, const std::string& text) = 0;
    virtual void RefreshBankList(int bank) = 0;

protected:
    ~BankPanel() = default;
};

using SystemInfoBytes = std::array<core::Byte, midi::kSystemInfoSize>;

class BankMidiCommands {
public:
    using Banks = std::array<core::Bankson*, core::kModuleCount>;

    BankMidiCommands(const Banks& banks, BankPanel& panel, midi::DumpEngine& engine,
                     midi::DumpProgress& progress);

    // "Get Bank from MIDI": bank i from module i, "MIDI New"; a failed fetch changes nothing.
    void GetBank(int bank);
    // "Send Bank to MIDI": the bank is not changed; nothing is shown on success.
    void SendBank(int bank);
    // "Get All Banks from MIDI": modules 0 .. count - 1, stopping at the first failure; the
    // banks fetched before it keep their new voices.
    void GetAllBanks();
    // "Send All Banks to MIDI".
    void SendAllBanks();

    // "Show System Info": the module's 16 bytes; false after the error box was shown.
    bool FetchSystemInfo(int bank, SystemInfoBytes& info);
    // "Memory Protect ": toggles the protection of bank i's module.
    void ToggleMemoryProtect(int bank);
    // "Send Memory Protect to All ": each module taking part, in order.
    void ToggleMemoryProtectAll();
    // The protection the program last set on bank i's module; none where it set none since
    // start (what the module holds is not known then).
    std::optional<bool> MemoryProtectOn(int bank) const;
    // The same for each module taking part in the all-modules commands, in order.
    std::vector<std::optional<bool>> MemoryProtectAllOn() const;

private:
    int What() const;
    int ModuleCount() const;
    // One module's fetch into its bank, with the label and list; true when it succeeded.
    bool Fetch(int bank, int what);
    void Send(int bank, int what, midi::SendBuffer& buffer);

    Banks banks_;
    BankPanel& panel_;
    midi::DumpEngine& engine_;
    midi::DumpProgress& progress_;
};

}  // namespace librarian
