// render_icons OUTDIR: writes the application icon as OUTDIR/NxN/apps/NAME.png at the sizes a
// desktop's icon theme looks for. Runs at build time under the offscreen platform.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "controls/Artwork.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_icons OUTDIR NAME\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int pixels : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(pixels);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !controls::artwork::AppIcon(pixels).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
