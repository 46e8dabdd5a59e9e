#include "librarian/DragTracker.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace librarian {

void DragTrackerBase::Watch(QWidget* widget) { widget->installEventFilter(this); }

bool DragTrackerBase::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    // A quick second press comes as a double click: it may begin a drag all the same.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (mouse->button() != Qt::LeftButton || !widget || dragging_) break;
        Forget();
        pressedOn_ = nullptr;
        if (BeginAt(widget, mouse->position().toPoint())) {
            pressedOn_ = widget;
            pressedAt_ = mouse->globalPosition().toPoint();
        }
        break;  // the press goes on: the widget's own click runs as usual
    }
    case QEvent::MouseMove: {
        if (watched != pressedOn_) break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        if (!(mouse->buttons() & Qt::LeftButton)) {  // the release went elsewhere
            End();
            Forget();
            pressedOn_ = nullptr;
            break;
        }
        if (!dragging_) {
            if ((global - pressedAt_).manhattanLength() < QApplication::startDragDistance()) break;
            dragging_ = true;
            qApp->installEventFilter(this);  // for Escape, wherever the focus is
        }
        ShowPointer(AcceptsAt(global));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched != pressedOn_ || mouse->button() != Qt::LeftButton) break;
        pressedOn_ = nullptr;
        if (!dragging_) {
            Forget();
            break;
        }
        End();
        DropAt(mouse->globalPosition().toPoint());
        return true;  // a drag is no click
    }
    case QEvent::KeyPress:
        if (dragging_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            End();
            Forget();
            pressedOn_ = nullptr;
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void DragTrackerBase::ShowPointer(bool accepted) {
    const QCursor cursor(accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    if (pointerShown_) {
        QApplication::changeOverrideCursor(cursor);
    } else {
        QApplication::setOverrideCursor(cursor);
        pointerShown_ = true;
    }
}

void DragTrackerBase::End() {
    if (dragging_) qApp->removeEventFilter(this);
    dragging_ = false;
    if (pointerShown_) QApplication::restoreOverrideCursor();
    pointerShown_ = false;
}

}  // namespace librarian
