#include "librarian/BankMidiMenus.h"

#include <QString>

#include "librarian/TfrmMain.h"
#include "midi/TfrmMidi.h"
#include "midi/TfrmSystem.h"

namespace librarian {

BankMidiMenus::BankMidiMenus(TfrmMain& main, const BankMidiCommands::Banks& banks,
                             midi::TfrmMidi& midi, midi::DumpProgress& progress,
                             midi::TfrmSystem& system)
    : main_(main), system_(system), commands_(banks, *this, midi.Dump(), progress) {
    MainMenus& menus = main_.Menus();
    menus.Connect("GetBankMIDIClick", [this] { commands_.GetBank(MenuBank()); });
    menus.Connect("SendBankMIDIClick", [this] { commands_.SendBank(MenuBank()); });
    menus.Connect("GetAllBankMIDIClick", [this] { commands_.GetAllBanks(); });
    menus.Connect("SendAllBankstoMIDIClick", [this] { commands_.SendAllBanks(); });
    menus.Connect("ShowSystemInfoClick", [this] { ShowSystemInfo(MenuBank()); });
    menus.Connect("MemoryProtectOffClick", [this] { commands_.ToggleMemoryProtect(MenuBank()); });
    menus.Connect("AllMIDIProtect1Click", [this] { commands_.ToggleMemoryProtectAll(); });
}

int BankMidiMenus::MenuBank() const {
    const int bank = main_.MenuBank();
    return bank >= 0 && bank < kBankCount ? bank : main_.CurrentBank();
}

void BankMidiMenus::ShowSystemInfo(int bank) {
    SystemInfoBytes info{};
    if (!commands_.FetchSystemInfo(bank, info)) return;
    system_.Fill(info, std::size_t(bank));
    system_.exec();
}

bool BankMidiMenus::FunctionsMode() const { return main_.FunctionsMode(); }

void BankMidiMenus::SetBankLabel(int bank, const std::string& text) {
    main_.SetBankLabel(bank, QString::fromStdString(text));
}

void BankMidiMenus::RefreshBankList(int bank) { main_.RefreshBankList(bank); }

}  // namespace librarian
