// import: voice files and folders of them read into the free slots of a library file, with the
// window program's own collection import and report.

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "cli/Session.h"
#include "core/CollectionImport.h"
#include "core/FileIo.h"
#include "core/Libson.h"
#include "platform/FolderWalk.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kImportHelp =
    "usage: mondral-cli import PATH... --library LIB.DXL [--page N] [--recursive]\n"
    "                          [--skip-doubles] [--skip-repeated] [--folder-markers] [--json]\n"
    "\n"
    "Reads each file, and every file of each folder (with --recursive also those of its\n"
    "sub-folders, in natural order by path; links back to a folder already read are\n"
    "skipped), as repair does, and copies every whole voice found (bank dumps, single\n"
    "voices, bank images) into the free slots of the library, in library order from page N\n"
    "on. Empty voices (\"----------\" with all parameters as cleared) are skipped. The\n"
    "library is created when it does not exist; an existing one is kept as LIB.BAK. The\n"
    "report tells the files read, voices added, doubles skipped, files with nothing usable\n"
    "and why, files repaired and what, and where the library ran full.\n"
    "\n"
    "  --library LIB.DXL   the library file (\".DXL\" is added to a name without extension)\n"
    "  --page N            first page to fill, 0-999 (default 0)\n"
    "  -r, --recursive     read the sub-folders of the folders named too\n"
    "  --skip-doubles      leave out voices the library already holds (every parameter\n"
    "                      equal, names aside, as the doubles search compares)\n"
    "  --skip-repeated     leave out voices this import has already added\n"
    "  --folder-markers    give the voices of each top-level sub-folder a marker named\n"
    "                      after it, as many as the library has free markers\n"
    "  --json              the report as one JSON object, for scripts\n";

int Import(const Arguments& args, Session& session) {
    const std::optional<std::string> libraryPath = args.Value("--library");
    if (!libraryPath) return session.Usage("import needs a library (--library LIB.DXL)", kImportHelp);
    if (args.positional.empty()) return session.Usage("import needs files or folders to import", kImportHelp);
    core::CollectionOptions options;
    if (const std::optional<std::string> page = args.Value("--page")) {
        const std::optional<int> number = ParseNumber(*page, 0, core::kLibraryPageCount - 1);
        if (!number) return session.Usage("--page takes a page number 0-999", kImportHelp);
        options.firstPage = *number;
    }
    options.skipKnown = args.Has("--skip-doubles");
    options.skipRepeated = args.Has("--skip-repeated");
    options.folderMarkers = args.Has("--folder-markers");
    const fs::path target = core::ResolveSaveTarget(*libraryPath, ".DXL").target;
    std::unique_ptr<core::Libson> library;
    std::error_code ec;
    if (fs::exists(target, ec)) {
        library = LoadLibrary(target, session);
        if (!library) return session.Status();
    } else {
        library = std::make_unique<core::Libson>();
    }

    std::vector<fs::path> roots(args.positional.begin(), args.positional.end());
    const bool recursive = args.Has("--recursive") || args.Has("-r");
    core::CollectionImport import(*library, options, platform::WalkFolders(roots, recursive));
    while (!import.Done()) {
        session.ShowProgress(import.FilesDone(), import.FileCount());
        import.ReadNext();
    }
    session.ShowProgress(import.FileCount(), import.FileCount());
    session.ClearProgress();
    const core::CollectionReport& report = import.Report();
    // A path named on the command line that gave nothing is an error; files found in folders
    // are only reported.
    for (const platform::SkippedEntry& entry : report.skippedEntries)
        for (const fs::path& root : roots)
            if (entry.path == root) session.Fail(root.string(), entry.reason);
    for (const core::FileProblem& problem : report.unusable)
        for (const fs::path& root : roots)
            if (problem.file == root.string()) session.Fail(problem.file, problem.text);
    if (!report.fullAt.empty())
        session.Fail(target.string(), "full from page " + std::to_string(options.firstPage) + " on: " +
                                          Plural(std::size_t(report.voicesLeft), "voice", "voices") + " of " +
                                          report.fullAt + " and " +
                                          Plural(std::size_t(report.filesLeft), "file", "files") +
                                          " after it not imported");
    const bool changed = report.voicesAdded > 0 || !report.markers.empty();
    if (changed && !SaveLibrary(*library, target, session)) return session.Status();
    if (args.Has("--json")) {
        session.Out() << core::CollectionReportJson(report) << "\n";
        return session.Status();
    }
    session.Out() << core::CollectionReportText(report);
    session.Out() << (changed ? "Saved " + target.string() + "." : std::string("The library was not changed."))
                  << "\n";
    return session.Status();
}

}  // namespace

const Command kImportCommand{"import", kImportHelp,
                             {{"--library", "--page"},
                              {"--recursive", "-r", "--skip-doubles", "--skip-repeated", "--folder-markers",
                               "--json", "--help", "-h"}},
                             Import};

}  // namespace cli
