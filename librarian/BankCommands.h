#pragma once
// The commands of the three bank menus (bank lists, bank name labels, trash picture) and the
// voice click shared by the bank and library lists. Each reads the main window's state and the
// options when it runs, works through librarian/BankOperations.h and the bank objects, and
// refreshes what it changed.

#include <QObject>

#include <functional>
#include <string>

#include "librarian/Audition.h"
#include "librarian/TfrmMain.h"


namespace midi {
class TfrmMidi;
}

namespace librarian {

class TfrmOption;

class BankCommands : public QObject {
    Q_OBJECT
public:
    // Connects every bank menu item and the clicks on the 20 voice lists. `midi` gives the
    // module count and channels and sends the voice a click picks.
    BankCommands(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                 core::Edtson& buffer, const TfrmOption& options, midi::TfrmMidi& midi);

    // --- popBank: the bank list the menu was opened on ---
    void popSelCleanClick();
    void popSelRrevClick();
    void popSelDelClick();
    void popFindDblClick();
    void popFindNameClick();
    void popSortNameClick();
    void popCpyBLClick();
    void popCpySLClick();
    void popCpySBClick();
    void popCpyBBClick();
    // --- popBank2: the bank name label the menu was opened on ---
    void popLoadBankClick();
    void popSaveBankClick();
    void SaveAsSysex1Click();
    void popDelBankClick();
    // --- popAllBank: the trash picture ---
    void DeselectAllBanks1Click();
    void DeleteAllBanksClick();
    void LoadAllBanks1Click();
    void SaveAllBanks1Click();
    void CopyAllBankstoLibrary1Click();

    // A left click on line `line` of a bank or library list (ListBox1MouseUp): toggles the
    // slot's selection, takes the voice into the edit buffer, names it on btnBuffer, tells the
    // editor and sends the voice to the module.
    void VoiceClick(VoiceListBox* list, int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The bank the menu was opened on, nullptr when it was opened on anything else.
    core::Bankson* MenuBank() const;
    // Runs an operation on the menu's bank (if any) and refreshes its list.
    void OnMenuBank(const std::function<void(core::Bankson&)>& operation);
    void RefreshBankAndLabel(int bank);
    void SetLabelToName(int bank);
    // After a voice click took a voice: its name on btnBuffer, the editor told, the voice sent.
    void VoiceTaken(std::string name, int module);
    // Sends the working voice (in Functions mode also its function data) to the module when
    // Auto Dump is on, then plays the options window's audition note when that is on.
    void Audition(int module);

    TfrmMain& main_;
    TfrmMain::Banks banks_;
    core::Libson& library_;
    core::Edtson& buffer_;
    const TfrmOption& options_;
    midi::TfrmMidi& midi_;
    AuditionPlayer audition_{midi_};
};

}  // namespace librarian
