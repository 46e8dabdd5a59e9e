// The library extractor: once with its defaults (page range 0 to 999), once in selected voices
// mode with "Save As Sysex" on and the count quoted.

#include <QLabel>

#include "SnapshotRegistry.h"
#include "librarian/TfrmExtract.h"

namespace {

std::unique_ptr<QWidget> ExtractorWindow(qreal) {
    return std::make_unique<librarian::TfrmExtract>(nullptr);
}

std::unique_ptr<QWidget> ExtractorWindowSelected(qreal) {
    static QLabel count(QStringLiteral("70"));
    auto window = std::make_unique<librarian::TfrmExtract>(&count);
    window->gswExtractSelClick();
    window->gswAsSysexClick();
    return window;
}

}  // namespace

SNAPSHOT_REGISTER("extractor_window", ExtractorWindow);
SNAPSHOT_REGISTER("extractor_window_selected", ExtractorWindowSelected);
