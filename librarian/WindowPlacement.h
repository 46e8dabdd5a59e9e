#pragma once
// Where a window with a stored place opens. A place saved on a screen that is gone (a second
// monitor unplugged, a smaller resolution) would open the window out of reach; such a place
// gives way to the window's default place.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace librarian {

// `stored` when a strip of the window's top edge (where it is grabbed) lies at least partly
// on one of `screens` (their available areas); `fallback` otherwise, or when no screen is known.
QPoint ReachablePlace(QPoint stored, QSize size, const QList<QRect>& screens, QPoint fallback);

// The same against the screens the application has now.
QPoint ReachablePlace(QPoint stored, QSize size, QPoint fallback);

}  // namespace librarian
