#pragma once
// The library panel's commands: the items of the library lists' menu (popLib) and of the
// library name's menu (popLib2) but the two auto commands. Each acts in the main window's
// scope (Page mode: the page shown first; Library mode: all 1000 pages) and redraws what it
// changed. Connecting them enables their menu items.

#include <QString>

#include <cstdint>
#include <functional>

#include "core/Nomsyn.h"
#include "librarian/TfrmMain.h"
#include "midi/DumpProgress.h"

namespace librarian {

class LibrarianOptions;
class TfrmTypes;

class LibraryCommands {
public:
    LibraryCommands(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                    const LibrarianOptions& options);

    // Connects every command to its menu item.
    void Connect();
    // The markers window, rebuilt with marker 0 highlighted after a library file is loaded.
    void SetMarkersWindow(TfrmTypes* window) { markers_ = window; }
    // The progress window of the library-wide doubles search.
    void SetProgress(midi::DumpProgress* progress) { progress_ = progress; }

    // popLib
    void mnpSelLibClear1Click();
    void mnpSelLibInv1Click();
    void mnpClearLibSel1Click();
    void mnpCopySel1Click();
    void mnpCopyLibPage1Click();
    void mnpFindDblLibClick();
    void mnpFinOccLib1Click();
    void mnpTriAlphaLib1Click();
    void mnpTriTypeLib1Click();
    // popLib2
    void btnLoadLibClick();
    void btnSaveLibClick();
    void btnDelLibClick();

private:
    void ShowLibraryName();

    TfrmMain& main_;
    TfrmMain::Banks banks_;
    core::Libson& library_;
    const LibrarianOptions& options_;
    TfrmTypes* markers_ = nullptr;
    midi::DumpProgress* progress_ = nullptr;
};

// Reports a library-wide operation's progress without letting the drawing cost more than the
// work: a count is passed on when `intervalMs` have gone by since the last one shown, and the
// last count always. The first call shows its count at once.
class ThrottledProgress {
public:
    using Clock = std::function<std::uint32_t()>;
    ThrottledProgress(std::function<void(int)> show, std::uint32_t intervalMs, Clock clock);
    void operator()(int count, int total);

private:
    std::function<void(int)> show_;
    std::uint32_t intervalMs_;
    Clock clock_;
    bool shownOnce_ = false;
    std::uint32_t lastShown_ = 0;
};

}  // namespace librarian
