#pragma once
// The desktop session's request to end the program (SIGTERM, or SIGINT from a terminal) closes
// the main window as the user would, so the settings are written as at any close.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace app {

class SessionEnd {
public:
    // Installs the handlers; a request reaches `close` on the window thread. One that arrives
    // before the window loop runs is kept until it does.
    explicit SessionEnd(std::function<void()> close);
    // Restores the default handlers.
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace app
