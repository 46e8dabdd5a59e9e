#pragma once
// "Auto Import Bank" and "Auto Export Bank" of the library name's menu (popLib2): the dialogs,
// the extractor window and the redraws around the passes of AutoImportExport. Both stage the
// files in a bank of their own; the user's banks stay as they are (the export takes the current
// bank's function records for "Save Functions "). After an import the library shows the first
// page imported.

#include <functional>

#include "librarian/TfrmMain.h"

namespace midi {
class DumpProgress;
}

namespace librarian {

class TfrmExtract;

inline constexpr char kLoadBankCaption[] = "Load Bank";

class AutoBankCommands {
public:
    // `moduleChannel` answers the MIDI channel (1-16) of module 0-7, for sysex files.
    AutoBankCommands(TfrmMain& main, const TfrmMain::Banks& banks, core::Libson& library,
                     TfrmExtract& extractor, midi::DumpProgress& progress,
                     std::function<int(int module)> moduleChannel);

    // Connects both commands to their menu items.
    void Connect();

    void AutoImportBankClick();
    void AutoExportBank1Click();

private:
    TfrmMain& main_;
    TfrmMain::Banks banks_;
    core::Libson& library_;
    TfrmExtract& extractor_;
    midi::DumpProgress& progress_;
    std::function<int(int)> moduleChannel_;
};

}  // namespace librarian
