#include "librarian/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace librarian {
namespace {

// Enough of the top edge to take hold of the window and drag it back.
constexpr int kGrabStripHeight = 24;
constexpr int kGrabStripMinimumWidth = 40;

}  // namespace

QPoint ReachablePlace(QPoint stored, QSize size, const QList<QRect>& screens, QPoint fallback) {
    const QRect strip(stored, QSize(size.width(), kGrabStripHeight));
    for (const QRect& screen : screens) {
        const QRect common = strip.intersected(screen);
        if (common.width() >= kGrabStripMinimumWidth && common.height() > 0) return stored;
    }
    return screens.isEmpty() ? stored : fallback;
}

QPoint ReachablePlace(QPoint stored, QSize size, QPoint fallback) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.append(screen->availableGeometry());
    return ReachablePlace(stored, size, screens, fallback);
}

}  // namespace librarian
