#pragma once
// The session bus where none can be had. Without DBUS_SESSION_BUS_ADDRESS and without a bus at
// the user's runtime directory, the D-Bus library "autolaunches": it forks the whole process to
// run dbus-launch, which finds or starts a bus. Where dbus-launch is not installed (containers,
// build machines, bare X servers) that fork only fails, after copying the process's memory map:
// about a tenth of this program's start-up on a small virtual machine, and the window system's
// accessibility support waits for it. There the address of the missing user bus is named
// instead, so the connection fails at once, with the same outcome: no session bus.

#include <functional>
#include <optional>
#include <string>

namespace platform {

struct SessionBusPlaces {
    std::function<std::optional<std::string>(const char* name)> variable;  // the environment
    std::function<bool(const std::string& path)> exists;
    std::function<bool(const std::string& path)> executable;
    unsigned userId = 0;
};

// The address to give the D-Bus library, or nothing where it may find or start a bus itself.
std::optional<std::string> UnreachableSessionBusAddress(const SessionBusPlaces& places);

// Applies the above to this process. Call first in main, before any thread is started: it may
// set an environment variable. Does nothing outside Linux.
void SkipUnreachableSessionBus();

}  // namespace platform
