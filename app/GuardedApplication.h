#pragma once
// The application object: an error that leaves an event handler is shown in an error box
// titled with the application's name, and the window loop goes on.

#include <QApplication>

namespace app {

class GuardedApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace app
