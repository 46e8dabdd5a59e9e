#pragma once
// "Import Collection..." of the library name's menu (popLib2), and folders dropped on a library
// list: the folders' files, sub-folders included, read through core/CollectionImport.h into
// the free library slots from the page shown on, with the progress window counting files
// (Esc or its close button stops after the current file) and one report at the end.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/CollectionImport.h"

namespace midi {
class DumpProgress;
}

namespace librarian {

class TfrmMain;
class TfrmTypes;

inline constexpr char kImportCollectionCaption[] = "Import Collection";

// The options the import dialog asks for; the first page is the page shown.
struct CollectionChoices {
    bool skipKnown = true;
    bool skipRepeated = true;
    bool folderMarkers = false;
    bool operator==(const CollectionChoices&) const = default;
};

class CollectionImportCommands {
public:
    // Asks the options for the folders chosen; nothing when the user cancels.
    using AskChoices = std::function<std::optional<CollectionChoices>(const std::vector<std::filesystem::path>&)>;
    // Shows the finished import's report.
    using ShowReport = std::function<void(const core::CollectionReport&)>;
    using Clock = std::function<std::uint32_t()>;

    CollectionImportCommands(TfrmMain& main, core::Libson& library, midi::DumpProgress& progress,
                             AskChoices ask, ShowReport show);

    // Connects "Import Collection..." to its menu item.
    void Connect();
    void SetMarkersWindow(TfrmTypes* window) { markers_ = window; }
    // The clock of the progress redraws and the cancel checks (tests step it).
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    void ImportCollectionClick();
    // Asks the options, then imports every file under the folders.
    void ImportFolders(const std::vector<std::filesystem::path>& folders);

    // The report of the last import, nothing before the first.
    const std::optional<core::CollectionReport>& LastReport() const { return lastReport_; }

private:
    void Run(const std::vector<std::filesystem::path>& folders, const CollectionChoices& choices);
    // Where every import ends, cancelled, full or not: the lists and markers redrawn once, the
    // report shown.
    void Finish(core::CollectionReport report);

    TfrmMain& main_;
    core::Libson& library_;
    midi::DumpProgress& progress_;
    AskChoices ask_;
    ShowReport show_;
    Clock clock_;
    TfrmTypes* markers_ = nullptr;
    std::optional<core::CollectionReport> lastReport_;
};

}  // namespace librarian
