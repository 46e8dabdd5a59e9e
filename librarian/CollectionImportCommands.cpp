#include "librarian/CollectionImportCommands.h"

#include "librarian/LibraryCommands.h"
#include "librarian/MainMenus.h"
#include "librarian/TfrmMain.h"
#include "librarian/TfrmTypes.h"
#include "midi/DumpProgress.h"
#include "platform/BusyCursor.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/FolderWalk.h"

namespace librarian {

namespace {

// The counter is drawn, and Esc looked for, at most this often: a file takes well under a
// millisecond, and both cost more than reading it.
constexpr std::uint32_t kProgressIntervalMs = 40;

// Lets the progress window take a cancel for its lifetime (longer than the window is shown).
class CancelableProgress {
public:
    explicit CancelableProgress(midi::DumpProgress& progress) : progress_(progress) { progress_.SetCancelable(true); }
    ~CancelableProgress() { progress_.SetCancelable(false); }
    CancelableProgress(const CancelableProgress&) = delete;
    CancelableProgress& operator=(const CancelableProgress&) = delete;

private:
    midi::DumpProgress& progress_;
};

}  // namespace

CollectionImportCommands::CollectionImportCommands(TfrmMain& main, core::Libson& library,
                                                   midi::DumpProgress& progress, AskChoices ask,
                                                   ShowReport show)
    : main_(main),
      library_(library),
      progress_(progress),
      ask_(std::move(ask)),
      show_(std::move(show)),
      clock_(platform::MonotonicMs) {}

void CollectionImportCommands::Connect() {
    main_.Menus().Connect(QStringLiteral("ImportCollectionClick"), [this] { ImportCollectionClick(); });
}

void CollectionImportCommands::ImportCollectionClick() {
    const std::optional<std::string> folder = platform::AskFolderPath();
    if (!folder) return;
    ImportFolders({*folder});
}

void CollectionImportCommands::ImportFolders(const std::vector<std::filesystem::path>& folders) {
    if (folders.empty()) return;
    const std::optional<CollectionChoices> choices = ask_ ? ask_(folders) : CollectionChoices{};
    if (!choices) return;
    Run(folders, *choices);
}

void CollectionImportCommands::Run(const std::vector<std::filesystem::path>& folders,
                                   const CollectionChoices& choices) {
    core::CollectionOptions options;
    options.firstPage = main_.PageNumber();
    options.skipKnown = choices.skipKnown;
    options.skipRepeated = choices.skipRepeated;
    options.folderMarkers = choices.folderMarkers;
    std::optional<core::CollectionImport> import;
    {
        const platform::BusyCursor busy;
        import.emplace(library_, options, platform::WalkFolders(folders, true));
        const CancelableProgress cancelable(progress_);
        midi::ShownProgress shown(progress_, kImportCollectionCaption);
        shown.SetCounter(0);
        const int total = int(import->FileCount());
        ThrottledProgress throttled([&shown](int count) { shown.SetCounter(count); }, kProgressIntervalMs, clock_);
        std::uint32_t lastLook = clock_();
        while (!import->Done()) {
            import->ReadNext();
            throttled(int(import->FilesDone()), total);
            if (const std::uint32_t now = clock_(); now - lastLook >= kProgressIntervalMs) {
                lastLook = now;
                if (progress_.CancelRequested()) import->Cancel();
            }
        }
    }
    Finish(import->Report());
}

void CollectionImportCommands::Finish(core::CollectionReport report) {
    main_.RefreshLibraryLists();
    if (markers_ && !report.markers.empty()) markers_->RebuildLists(report.markers.front().marker);
    lastReport_ = std::move(report);
    // One undo step for the whole import, before the report is read.
    main_.CommandFinished(QStringLiteral("Import Collection"));
    if (show_) show_(*lastReport_);
}

}  // namespace librarian
