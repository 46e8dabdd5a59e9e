#include "librarian/LibraryCommands.h"

#include <QLabel>

#include "core/Bankson.h"
#include "core/Libson.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/LibraryScope.h"
#include "librarian/TfrmTypes.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

namespace librarian {

namespace {

constexpr std::string_view kConfirmDeleteTitle = "Confirm Delete";
constexpr std::string_view kDeleteLibraryText = "Delete All Library ?";
constexpr std::string_view kLibraryPattern = "*.DXL";
constexpr char kFindDoublesCaption[] = "Find Doubles";
// Long enough that the counter's drawing stays a small part of a search that takes a few
// milliseconds, short enough that a slow one visibly counts.
constexpr std::uint32_t kProgressIntervalMs = 40;

}  // namespace

LibraryCommands::LibraryCommands(TfrmMain& main, const TfrmMain::Banks& banks,
                                 core::Libson& library, const LibrarianOptions& options)
    : main_(main), banks_(banks), library_(library), options_(options) {}

void LibraryCommands::Connect() {
    MainMenus& menus = main_.Menus();
    const std::pair<const char*, void (LibraryCommands::*)()> commands[] = {
        {"mnpSelLibClear1Click", &LibraryCommands::mnpSelLibClear1Click},
        {"mnpSelLibInv1Click", &LibraryCommands::mnpSelLibInv1Click},
        {"mnpClearLibSel1Click", &LibraryCommands::mnpClearLibSel1Click},
        {"mnpCopySel1Click", &LibraryCommands::mnpCopySel1Click},
        {"mnpCopyLibPage1Click", &LibraryCommands::mnpCopyLibPage1Click},
        {"mnpFindDblLibClick", &LibraryCommands::mnpFindDblLibClick},
        {"mnpFinOccLib1Click", &LibraryCommands::mnpFinOccLib1Click},
        {"mnpTriAlphaLib1Click", &LibraryCommands::mnpTriAlphaLib1Click},
        {"mnpTriTypeLib1Click", &LibraryCommands::mnpTriTypeLib1Click},
        {"btnLoadLibClick", &LibraryCommands::btnLoadLibClick},
        {"btnSaveLibClick", &LibraryCommands::btnSaveLibClick},
        {"btnDelLibClick", &LibraryCommands::btnDelLibClick},
    };
    for (const auto& [handler, command] : commands)
        menus.Connect(QString::fromLatin1(handler), [this, command] { (this->*command)(); });
}

void LibraryCommands::mnpSelLibClear1Click() {
    ClearSelection(library_, main_.Scope());
    main_.RefreshLibraryLists();
}

void LibraryCommands::mnpSelLibInv1Click() {
    InvertSelection(library_, main_.Scope());
    main_.RefreshLibraryLists();
}

void LibraryCommands::mnpClearLibSel1Click() {
    ClearSelected(library_, main_.Scope());
    main_.RefreshLibraryLists();
}

void LibraryCommands::mnpCopySel1Click() {
    const int bank = main_.CurrentBank();
    if (FillFromSelection(library_, main_.Scope(), banks_[bank]->Page()) > 0)
        main_.RefreshBankList(bank);
    main_.RefreshLibraryLists();
}

void LibraryCommands::mnpCopyLibPage1Click() {
    // Always the page shown first, whatever the mode.
    const int bank = main_.CurrentBank();
    banks_[bank]->CopyFromPage(library_.Page(main_.PageNumber()), core::kStatusUsed);
    main_.RefreshBankList(bank);
}

void LibraryCommands::mnpFindDblLibClick() {
    const LibraryScope scope = main_.Scope();
    const core::DoublesOptions doubles = options_.Doubles();
    if (!scope.wholeLibrary) {
        library_.FindDoubles(scope.page, doubles);
    } else if (!progress_) {
        library_.FindDoubles(doubles);
    } else {
        midi::ShownProgress shown(*progress_, kFindDoublesCaption);
        ThrottledProgress counter([&shown](int count) { shown.SetCounter(count); },
                                  kProgressIntervalMs, platform::MonotonicMs);
        library_.FindDoubles(doubles, std::ref(counter));
    }
    main_.RefreshLibraryLists();
}

void LibraryCommands::mnpFinOccLib1Click() {
    if (!options_.MultiSelect()) mnpSelLibClear1Click();
    SearchByName(library_, main_.Scope(), options_.SearchText(), options_.SearchPosition());
    main_.RefreshLibraryLists();
}

void LibraryCommands::mnpTriAlphaLib1Click() {
    SortByName(library_, main_.Scope());
    main_.RefreshLibraryLists();
}

void LibraryCommands::mnpTriTypeLib1Click() {
    SortByMarker(library_, main_.Scope());
    main_.RefreshLibraryLists();
}

void LibraryCommands::btnLoadLibClick() {
    const std::optional<std::string> path =
        platform::AskOpenPath(kLibraryPattern, platform::kLibraryFilter);
    if (!path) return;
    library_.LoadLibraryFile(*path);  // a failure has shown its box; the views show what is there
    ShowLibraryName();
    main_.RefreshLibraryLists();
    if (markers_) markers_->RebuildLists(0);
}

void LibraryCommands::btnSaveLibClick() {
    const std::optional<std::string> path =
        platform::AskSavePath(library_.Name(), platform::kLibraryFilter);
    if (!path) return;
    library_.SaveLibraryFile(*path);
    ShowLibraryName();
}

void LibraryCommands::btnDelLibClick() {
    const LibraryScope scope = main_.Scope();
    if (!scope.wholeLibrary) {
        library_.ClearPage(scope.page);
    } else {
        if (!platform::ConfirmOkCancel(kConfirmDeleteTitle, kDeleteLibraryText)) return;
        library_.Clear();
        ShowLibraryName();
    }
    main_.RefreshLibraryLists();
}

void LibraryCommands::ShowLibraryName() {
    main_.LibraryLabel()->setText(QString::fromStdString(library_.Name()));
}

ThrottledProgress::ThrottledProgress(std::function<void(int)> show, std::uint32_t intervalMs,
                                     Clock clock)
    : show_(std::move(show)), intervalMs_(intervalMs), clock_(std::move(clock)) {}

void ThrottledProgress::operator()(int count, int total) {
    const std::uint32_t now = clock_();
    if (shownOnce_ && count < total && now - lastShown_ < intervalMs_) return;
    shownOnce_ = true;
    lastShown_ = now;
    show_(count);
}

}  // namespace librarian
