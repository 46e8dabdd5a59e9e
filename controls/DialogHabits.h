#pragma once
// What the program's small windows share: dialogs open centred on the screen, Enter accepts
// them and Escape closes them; tool windows are put away by either key.

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace controls {

// Moves the window so its frame is centred on the primary screen's free area.
inline void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

// Enter accepts the dialog, Escape rejects it; true when the key was one of them.
inline bool AcceptOrRejectByKey(QDialog& dialog, const QKeyEvent& e) {
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        dialog.accept();
        return true;
    case Qt::Key_Escape:
        dialog.reject();
        return true;
    default:
        return false;
    }
}

// Enter or Escape hides a modeless tool window; true when the key was one of them.
inline bool HideByKey(QWidget& window, const QKeyEvent& e) {
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        window.hide();
        return true;
    default:
        return false;
    }
}

}  // namespace controls
