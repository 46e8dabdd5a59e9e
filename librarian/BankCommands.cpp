#include "librarian/BankCommands.h"

#include <QLabel>
#include <QMouseEvent>

#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/BankOperations.h"
#include "librarian/BankRecovery.h"
#include "librarian/TfrmOption.h"
#include "librarian/VoiceClick.h"
#include "librarian/VoiceList.h"
#include "librarian/VoiceNameText.h"
#include "midi/DumpEngine.h"
#include "midi/TfrmMidi.h"
#include "platform/FileDialogs.h"

namespace librarian {
namespace {

constexpr const char* kEmptyLabel = "Empty";
constexpr const char* kBankPattern = "*.DX7";

QString FromBytes(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

BankCommands::BankCommands(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                           core::Edtson& buffer, const TfrmOption& options, midi::TfrmMidi& midi)
    : QObject(&main), main_(main), banks_(banks), library_(library), buffer_(buffer),
      options_(options), midi_(midi) {
    MainMenus& menus = main_.Menus();
    const std::pair<const char*, void (BankCommands::*)()> items[] = {
        {"popSelCleanClick", &BankCommands::popSelCleanClick},
        {"popSelRrevClick", &BankCommands::popSelRrevClick},
        {"popSelDelClick", &BankCommands::popSelDelClick},
        {"popFindDblClick", &BankCommands::popFindDblClick},
        {"popFindNameClick", &BankCommands::popFindNameClick},
        {"popSortNameClick", &BankCommands::popSortNameClick},
        {"popCpyBLClick", &BankCommands::popCpyBLClick},
        {"popCpySLClick", &BankCommands::popCpySLClick},
        {"popCpySBClick", &BankCommands::popCpySBClick},
        {"popCpyBBClick", &BankCommands::popCpyBBClick},
        {"popLoadBankClick", &BankCommands::popLoadBankClick},
        {"popSaveBankClick", &BankCommands::popSaveBankClick},
        {"SaveAsSysex1Click", &BankCommands::SaveAsSysex1Click},
        {"popDelBankClick", &BankCommands::popDelBankClick},
        {"DeselectAllBanks1Click", &BankCommands::DeselectAllBanks1Click},
        {"DeleteAllBanksClick", &BankCommands::DeleteAllBanksClick},
        {"LoadAllBanks1Click", &BankCommands::LoadAllBanks1Click},
        {"SaveAllBanks1Click", &BankCommands::SaveAllBanks1Click},
        {"CopyAllBankstoLibrary1Click", &BankCommands::CopyAllBankstoLibrary1Click},
    };
    for (const auto& [handler, command] : items)
        menus.Connect(QString::fromLatin1(handler), [this, command] { (this->*command)(); });

    // The click takes effect when the button goes down, before a drag can start; the lists'
    // own handling (and a drag) still sees the press.
    for (int n = 0; n < kBankCount; ++n) main_.BankList(n)->installEventFilter(this);
    for (int k = 0; k < kLibraryListCount; ++k) main_.LibraryList(k)->installEventFilter(this);
}

core::Bankson* BankCommands::MenuBank() const {
    const int bank = main_.MenuBank();
    return bank >= 0 && bank < kBankCount ? banks_[bank] : nullptr;
}

void BankCommands::OnMenuBank(const std::function<void(core::Bankson&)>& operation) {
    if (core::Bankson* bank = MenuBank()) {
        operation(*bank);
        main_.RefreshBankList(main_.MenuBank());
    }
}

void BankCommands::RefreshBankAndLabel(int bank) {
    main_.RefreshBankList(bank);
    SetLabelToName(bank);
}

void BankCommands::SetLabelToName(int bank) {
    main_.SetBankLabel(bank, FromBytes(banks_[bank]->Name()));
}

// --- popBank ---

void BankCommands::popSelCleanClick() {
    OnMenuBank([](core::Bankson& bank) { bank.ClearSelection(); });
}

void BankCommands::popSelRrevClick() {
    OnMenuBank([](core::Bankson& bank) { bank.InvertSelection(); });
}

void BankCommands::popSelDelClick() {
    OnMenuBank([this](core::Bankson& bank) { bank.ClearSelected(main_.FunctionsMode()); });
}

void BankCommands::popFindDblClick() {
    OnMenuBank([this](core::Bankson& bank) {
        bank.FindDoubles(main_.FunctionsMode(), options_.Doubles());
    });
}

void BankCommands::popFindNameClick() {
    OnMenuBank([this](core::Bankson& bank) {
        SearchBankByName(bank, options_.SearchText(), options_.SearchPosition(),
                         options_.MultiSelect());
    });
}

void BankCommands::popSortNameClick() {
    OnMenuBank([this](core::Bankson& bank) { bank.SortByName(main_.FunctionsMode()); });
}

void BankCommands::popCpyBLClick() {
    if (core::Bankson* bank = MenuBank()) {
        CopyBankToLibrary(*bank, library_, core::kStatusUsed, main_.PageMode(), main_.PageNumber());
        main_.RefreshLibraryLists();
    }
}

void BankCommands::popCpySLClick() {
    if (core::Bankson* bank = MenuBank()) {
        CopyBankToLibrary(*bank, library_, core::kStatusSelected, main_.PageMode(),
                          main_.PageNumber());
        main_.RefreshBankList(main_.MenuBank());
        main_.RefreshLibraryLists();
    }
}

void BankCommands::popCpySBClick() {
    if (core::Bankson* bank = MenuBank()) {
        const int current = main_.CurrentBank();
        bank->CopyToPage(banks_[current]->Page(), core::kStatusSelected);
        main_.RefreshBankList(main_.MenuBank());
        main_.RefreshBankList(current);
    }
}

void BankCommands::popCpyBBClick() {
    core::Bankson* bank = MenuBank();
    const int current = main_.CurrentBank();
    if (!bank || main_.MenuBank() == current) return;
    CopyBankToBank(*bank, *banks_[current], BankCopyMode(options_.States()), main_.FunctionsMode());
    main_.RefreshBankList(main_.MenuBank());
    main_.RefreshBankList(current);
}

// --- popBank2 ---

void BankCommands::popLoadBankClick() {
    core::Bankson* bank = MenuBank();
    if (!bank) return;
    const int index = main_.MenuBank();
    const auto path = platform::AskOpenPath(kBankPattern, platform::kBankFilter);
    if (!path) return;
    // A file of several dumps or single voices is offered as what the reader recovers; a refused
    // file has shown its box and left the bank and its label as they were.
    const Recovery recovery = OfferRecoveredVoices(*bank, *path);
    if (recovery == Recovery::kLoaded ||
        (recovery == Recovery::kNotOffered && bank->LoadBankFile(*path, main_.FunctionsMode())))
        RefreshBankAndLabel(index);
}

void BankCommands::popSaveBankClick() {
    core::Bankson* bank = MenuBank();
    if (!bank) return;
    const int index = main_.MenuBank();
    const auto path = platform::AskSavePath(bank->Name(), platform::kBankFilter);
    if (!path) return;
    bank->SaveBankFile(*path, main_.FunctionsMode());
    SetLabelToName(index);
}

void BankCommands::SaveAsSysex1Click() {
    core::Bankson* bank = MenuBank();
    if (!bank) return;
    const int index = main_.MenuBank();
    const auto path = platform::AskSavePath(bank->Name(), platform::kSysexFilter);
    if (!path) return;
    bank->SaveSysexFile(*path, main_.FunctionsMode(), midi_.ModuleChannel(std::size_t(index)));
    SetLabelToName(index);
}

void BankCommands::popDelBankClick() {
    core::Bankson* bank = MenuBank();
    if (!bank) return;
    bank->ClearVoices();
    if (main_.FunctionsMode()) bank->ClearFunctions();
    main_.RefreshBankList(main_.MenuBank());
    main_.SetBankLabel(main_.MenuBank(), QString::fromLatin1(kEmptyLabel));
}

// --- popAllBank ---

void BankCommands::DeselectAllBanks1Click() {
    for (int n = 0; n < kBankCount; ++n) {
        banks_[n]->ClearSelection();
        main_.RefreshBankList(n);
    }
}

void BankCommands::DeleteAllBanksClick() {
    const bool withFunctions = main_.FunctionsMode();
    for (int n = 0; n < kBankCount; ++n) {
        banks_[n]->ClearVoices();
        if (withFunctions) banks_[n]->ClearFunctions();
        main_.RefreshBankList(n);
        main_.SetBankLabel(n, QString::fromLatin1(kEmptyLabel));
    }
}

void BankCommands::LoadAllBanks1Click() {
    const int count = midi_.Settings().moduleCount;
    // Without validation a typed pattern (PIANO*.DX7) comes back as typed.
    const auto pattern = platform::AskOpenPath(kBankPattern, platform::kBankFilter, false);
    if (!pattern) return;
    const auto files = LoadAllPaths(*pattern, count);
    // A refused file keeps its bank as it was; the next file still goes to the next bank.
    for (std::size_t n = 0; n < files.size(); ++n)
        if (banks_[n]->LoadBankFile(files[n], false)) RefreshBankAndLabel(int(n));
}

void BankCommands::SaveAllBanks1Click() {
    const int count = midi_.Settings().moduleCount;
    const auto given = platform::AskSavePath(banks_[main_.CurrentBank()]->Name(),
                                             platform::kBankFilter, false);
    if (!given) return;
    const bool withFunctions = main_.FunctionsMode();
    const auto files = SaveAllPaths(*given, count);
    for (std::size_t n = 0; n < files.size(); ++n) {
        banks_[n]->SaveBankFile(files[n], withFunctions);  // a failure shows its box; go on
        SetLabelToName(int(n));
    }
}

void BankCommands::CopyAllBankstoLibrary1Click() {
    CopyAllBanksToLibrary(banks_, library_, main_.PageMode(), main_.PageNumber());
    main_.RefreshLibraryLists();
}

// --- Voice click ---

void BankCommands::VoiceClick(VoiceListBox* list, int line) {
    if (line < 0) return;
    const bool withFunctions = main_.FunctionsMode();
    for (int n = 0; n < kBankCount; ++n) {
        if (list != main_.BankList(n) || line >= kBankListLines) continue;
        core::Bankson& bank = *banks_[n];
        const auto name = ClickVoice(bank.Page()[std::size_t(line)],
                                     withFunctions ? &bank.Functions()[std::size_t(line)] : nullptr,
                                     buffer_, options_.LinkBuffers());
        if (!name) return;
        main_.RefreshBankList(n);
        VoiceTaken(*name, n);
        main_.CommandFinished(QString::fromLatin1(kVoiceClickCaption));
        return;
    }
    for (int k = 0; k < kLibraryListCount; ++k) {
        if (list != main_.LibraryList(k) || line >= kLibraryListLines) continue;
        const LibraryLine at = LibraryLineSlot(k, line, main_.PageNumber());
        const auto name = ClickVoice(library_.Page(at.page)[std::size_t(at.slot)], nullptr,
                                     buffer_, options_.LinkBuffers());
        if (!name) return;
        main_.RefreshLibraryLists();  // the line's highlight and the selected count
        VoiceTaken(*name, main_.CurrentBank());
        main_.CommandFinished(QString::fromLatin1(kVoiceClickCaption));
        return;
    }
}

void BankCommands::VoiceTaken(std::string name, int module) {
    name.resize(core::kNameSize, ' ');
    main_.BufferLabel()->setText(DisplayVoiceName(reinterpret_cast<const core::Byte*>(name.data())));
    emit main_.editBufferChanged();
    Audition(module);
}

void BankCommands::Audition(int module) {
    const core::EditImage& image = buffer_.Image(core::Edtson::Working);
    midi::DumpEngine& dump = midi_.Dump();
    dump.AutoDumpVoice(image, midi::kDumpVoices, std::size_t(module));
    if (main_.FunctionsMode()) dump.AutoDumpVoice(image, midi::kDumpFunctions, std::size_t(module));
    audition_.Play(options_.Audition(), module);
}

bool BankCommands::eventFilter(QObject* watched, QEvent* event) {
    // Qt delivers a double click as press, release, double click, release: the double click
    // counts as the second click.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* list = qobject_cast<VoiceListBox*>(watched);
        if (mouse->button() == Qt::LeftButton && list)
            VoiceClick(list, list->LineAt(mouse->position().toPoint()));
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace librarian
