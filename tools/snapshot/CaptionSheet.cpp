// Caption bars side by side: the main window's, a caption too long for its bar, the two extra
// texts, the centre-to-border gradient and a bar without buttons. The about box with its bar.

#include "SnapshotRegistry.h"
#include "controls/TTitleBar.h"
#include "librarian/TfrmInfo.h"

namespace {

using namespace controls;

TTitleBar* Bar(QWidget* sheet, int y, int width, const QString& caption, CaptionButtons buttons) {
    auto* host = new QWidget(sheet);
    host->setGeometry(10, y, width, TTitleBar::CaptionHeight());
    host->setWindowTitle(caption);
    auto* bar = new TTitleBar(host, buttons);
    bar->setGeometry(host->rect());
    return bar;
}

std::unique_ptr<QWidget> CaptionBars(qreal) {
    auto sheet = std::make_unique<QWidget>();
    sheet->resize(420, 5 * (TTitleBar::CaptionHeight() + 10) + 10);
    const int step = TTitleBar::CaptionHeight() + 10;
    Bar(sheet.get(), 10, 400, QStringLiteral("Mondral"), kCaptionClose | kCaptionMinimize);
    Bar(sheet.get(), 10 + step, 260,
        QStringLiteral("A caption far too long for the little window it belongs to"), kCaptionClose);
    TTitleBar* texts = Bar(sheet.get(), 10 + 2 * step, 400, QStringLiteral("MIDI"), kCaptionClose);
    texts->CompanyInfo().SetCaption(QStringLiteral("Korvane"));
    texts->ApplicationInfo().SetCaption(QStringLiteral("Feldra"));
    TTitleBar* centre = Bar(sheet.get(), 10 + 3 * step, 400, QStringLiteral("Centred"), kCaptionClose);
    centre->SetType(CaptionGradient::gtCenterToBorder);
    centre->SetAlignment(CaptionAlignment::Center);
    Bar(sheet.get(), 10 + 4 * step, 140, QStringLiteral("Get All"), kNoCaptionButtons);
    return sheet;
}

std::unique_ptr<QWidget> AboutWindow(qreal) { return std::make_unique<librarian::TfrmInfo>(); }

}  // namespace

SNAPSHOT_REGISTER("caption_bars", CaptionBars);
SNAPSHOT_REGISTER("about_window", AboutWindow);
