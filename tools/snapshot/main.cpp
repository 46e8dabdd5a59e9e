// snapshot OUTDIR [NAME...]: renders pictures of the program's widgets and windows into
// OUTDIR/NAME.png and OUTDIR/NAME@2x.png. Meant to run with QT_QPA_PLATFORM=offscreen.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "SnapshotRegistry.h"
#include "controls/Artwork.h"
#include "controls/RackStyle.h"

namespace {

bool RenderOne(const snapshot::Entry& entry, qreal ratio, const QDir& out) {
    std::unique_ptr<QWidget> widget = entry.make(ratio);
    widget->setAttribute(Qt::WA_DontShowOnScreen);
    widget->show();
    QApplication::processEvents();
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    widget->render(&image);
    const QString file = out.filePath(QString::fromStdString(entry.name) +
                                      (ratio == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png")));
    if (!image.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(new controls::RackStyle);
    QApplication::setPalette(controls::artwork::RackPalette());
    QApplication::setWindowIcon(controls::artwork::AppIconSet());
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: snapshot OUTDIR [NAME...]\n");
        return 2;
    }
    QDir out(args[1]);
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args[1]));
        return 1;
    }
    const QStringList wanted = args.mid(2);
    int rendered = 0;
    bool ok = true;
    for (const snapshot::Entry& entry : snapshot::Registry()) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromStdString(entry.name))) continue;
        for (qreal ratio : {1.0, 2.0}) ok = RenderOne(entry, ratio, out) && ok;
        ++rendered;
    }
    if (rendered == 0) {
        std::fprintf(stderr, "nothing to render; known names:");
        for (const snapshot::Entry& entry : snapshot::Registry()) std::fprintf(stderr, " %s", entry.name.c_str());
        std::fprintf(stderr, "\n");
        return 1;
    }
    return ok ? 0 : 1;
}
