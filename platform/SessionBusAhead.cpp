#include "platform/SessionBusAhead.h"

#include <QGuiApplication>

#if defined(__linux__)
#include <QDBusConnection>
#endif

namespace platform {

SessionBusAhead::SessionBusAhead() {
#if defined(__linux__)
    const QString display = QGuiApplication::platformName();
    if (display != QLatin1String("xcb") && display != QLatin1String("wayland")) return;
    // The bus connection is shared: accessibility later finds it made (or found missing).
    connector_ = std::thread([] { QDBusConnection::sessionBus(); });
#endif
}

SessionBusAhead::~SessionBusAhead() {
    if (connector_.joinable()) connector_.join();
}

}  // namespace platform
