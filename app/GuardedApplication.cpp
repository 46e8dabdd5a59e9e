#include "app/GuardedApplication.h"

#include <exception>

#include "platform/MessageBoxes.h"

namespace app {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        platform::ShowError(applicationName().toStdString(), error.what());
    }
    return false;
}

}  // namespace app
