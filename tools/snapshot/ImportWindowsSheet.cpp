// The collection import's two windows: its options for a folder, and a report of the kind an
// import of a messy folder tree ends with.

#include <QPlainTextEdit>

#include "SnapshotRegistry.h"
#include "librarian/TfrmImportOptions.h"
#include "librarian/TfrmImportReport.h"

namespace {

std::unique_ptr<QWidget> ImportOptions(qreal) {
    auto window = std::make_unique<librarian::TfrmImportOptions>();
    window->SetFolders({"/home/user/DX7 Collection"});
    return window;
}

std::unique_ptr<QWidget> ImportReport(qreal) {
    auto window = std::make_unique<librarian::TfrmImportReport>();
    window->memReport->setPlainText(QStringLiteral(
        "124 files read (3 with nothing usable); 2,816 voices added, 1,022 exact doubles skipped\n"
        "  Rom1A.syx: 32 voices\n"
        "  junk/readme.txt: nothing usable: a text file\n"
        "  banks/two in one.syx: 2 voice-bank dumps, 64 voices; checksum recomputed\n"));
    return window;
}

}  // namespace

SNAPSHOT_REGISTER("import_options", ImportOptions);
SNAPSHOT_REGISTER("import_report", ImportReport);
