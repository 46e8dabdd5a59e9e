#include "librarian/BankMidiMenus.h"

#include <QAction>
#include <QString>

#include "librarian/MemoryProtectLook.h"
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
    for (const char* item : {"MemoryProtectOffClick", "AllMIDIProtect1Click"})
        menus.BeforeShowing(QString::fromLatin1(item), [this] { ShowProtection(); });
    ShowProtection();
}

void BankMidiMenus::ShowProtection() {
    const auto show = [this](const char* handler, const char* caption,
                             const std::vector<std::optional<bool>>& modules) {
        QAction* item = main_.Menus().Item(QString::fromLatin1(handler));
        const ProtectItemLook look = MemoryProtectLook(caption, modules);
        item->setText(QString::fromStdString(look.text));
        item->setCheckable(look.checkable);
        item->setChecked(look.checked);
    };
    show("MemoryProtectOffClick", "Memory Protect ", {commands_.MemoryProtectOn(MenuBank())});
    show("AllMIDIProtect1Click", "Send Memory Protect to All ", commands_.MemoryProtectAllOn());
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
