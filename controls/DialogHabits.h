#pragma once
// What the program's small dialogs share: they open centred on the screen, and Enter accepts
// them while Escape closes them.

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

}  // namespace controls
