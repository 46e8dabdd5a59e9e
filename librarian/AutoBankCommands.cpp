#include "librarian/AutoBankCommands.h"

#include <algorithm>

#include "core/Bankson.h"
#include "core/Libson.h"
#include "librarian/AutoImportExport.h"
#include "librarian/LibraryCommands.h"
#include "librarian/TfrmExtract.h"
#include "midi/DumpProgress.h"
#include "platform/BusyCursor.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/WildcardSearch.h"

namespace librarian {

namespace {

constexpr std::string_view kBankPattern = "*.DX7";
// The counter is drawn at most this often: drawing each of a thousand files would cost more
// than reading them.
constexpr std::uint32_t kProgressIntervalMs = 40;

}  // namespace

AutoBankCommands::AutoBankCommands(TfrmMain& main, const TfrmMain::Banks& banks,
                                   core::Libson& library, TfrmExtract& extractor,
                                   midi::DumpProgress& progress,
                                   std::function<int(int)> moduleChannel)
    : main_(main),
      banks_(banks),
      library_(library),
      extractor_(extractor),
      progress_(progress),
      moduleChannel_(std::move(moduleChannel)) {}

void AutoBankCommands::Connect() {
    MainMenus& menus = main_.Menus();
    menus.Connect(QStringLiteral("AutoImportBankClick"), [this] { AutoImportBankClick(); });
    menus.Connect(QStringLiteral("AutoExportBank1Click"), [this] { AutoExportBank1Click(); });
}

void AutoBankCommands::AutoImportBankClick() {
    const int firstPage = main_.PageNumber();
    // Validation off: a typed pattern such as PIANO*.DX7 comes back as typed.
    const std::optional<std::string> pattern =
        platform::AskOpenPath(kBankPattern, platform::kBankFilter, false);
    if (!pattern) return;
    const std::vector<std::filesystem::path> files = platform::FindFiles(*pattern);

    ImportResult result;
    {
        const platform::BusyCursor busy;
        midi::ShownProgress shown(progress_, kLoadBankCaption);
        shown.SetCounter(0);
        ThrottledProgress throttled([&shown](int count) { shown.SetCounter(count); },
                                    kProgressIntervalMs, platform::MonotonicMs);
        const int total = int(files.size());
        // Staged in a bank of the command's own: the user's banks and their function records
        // are no part of an import.
        core::Bankson staging;
        result = ImportBankFiles(staging, library_, files, firstPage,
                                 [&](int filled) { throttled(filled, total); });
    }
    // The first page imported, where the user looks for what came in; the lists are drawn once.
    main_.SetPageNumber(firstPage);
}

void AutoBankCommands::AutoExportBank1Click() {
    const int bank = main_.CurrentBank();
    const ExtractorSettings settings = extractor_.Ask();
    const std::optional<std::string> path =
        platform::AskSavePath(library_.Name(),
                              settings.asSysex ? platform::kSysexFilter : platform::kBankFilter,
                              false);
    if (!path) return;
    // Staged in a bank of the command's own, carrying the current bank's function records for
    // "Save Functions ": the current bank stays as it is.
    core::Bankson staging;
    staging.Functions() = banks_[bank]->Functions();
    ExportBankFiles(staging, library_, settings, *path, moduleChannel_(bank), progress_);
    main_.RefreshLibraryLists();
}

}  // namespace librarian
