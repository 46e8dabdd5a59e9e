#pragma once
// The desktop's session bus, connected on a helper thread as soon as the application object
// exists. On Linux the window system's accessibility support connects to it the first time any
// widget reports a change (the first label's text), and waits for it there; where no session
// bus is running, that connection first starts one, which takes several milliseconds. Started
// here, the connection is made while the main window is being built. Elsewhere, and on display
// platforms without accessibility support (offscreen), it does nothing.

#include <thread>

namespace platform {

class SessionBusAhead {
public:
    SessionBusAhead();  // after the application object is made
    ~SessionBusAhead();  // waits for the helper thread
    SessionBusAhead(const SessionBusAhead&) = delete;
    SessionBusAhead& operator=(const SessionBusAhead&) = delete;

private:
    std::thread connector_;
};

}  // namespace platform
