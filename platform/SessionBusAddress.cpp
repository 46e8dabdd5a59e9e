#include "platform/SessionBusAddress.h"

#include <cstdlib>
#include <string_view>

#if defined(__linux__)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// Where the D-Bus library looks for dbus-launch: its own binary folder, then the PATH (or the
// default search path when there is none).
constexpr const char* kLauncher = "dbus-launch";
constexpr const char* kLauncherFolder = "/usr/bin";
constexpr const char* kDefaultSearchPath = "/bin:/usr/bin";

std::string LauncherIn(std::string folder) {
    folder.append("/").append(kLauncher);
    return folder;
}

bool LauncherFound(const SessionBusPlaces& places) {
    if (places.executable(LauncherIn(kLauncherFolder))) return true;
    const std::string path = places.variable("PATH").value_or(kDefaultSearchPath);
    std::string_view rest = path;
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        if (places.executable(LauncherIn(folder.empty() ? "." : std::string(folder)))) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}

}  // namespace

std::optional<std::string> UnreachableSessionBusAddress(const SessionBusPlaces& places) {
    if (places.variable("DBUS_SESSION_BUS_ADDRESS")) return std::nullopt;
    const std::optional<std::string> runtime = places.variable("XDG_RUNTIME_DIR");
    const std::string userBus = (runtime && !runtime->empty()
                                     ? *runtime
                                     : "/run/user/" + std::to_string(places.userId)) +
                                "/bus";
    if (places.exists(userBus) || LauncherFound(places)) return std::nullopt;
    return "unix:path=" + userBus;
}

void SkipUnreachableSessionBus() {
#if defined(__linux__)
    const SessionBusPlaces places{
        .variable = [](const char* name) -> std::optional<std::string> {
            const char* value = std::getenv(name);
            return value ? std::optional<std::string>(value) : std::nullopt;
        },
        .exists = [](const std::string& path) {
            struct stat found {};
            return ::stat(path.c_str(), &found) == 0;
        },
        .executable = [](const std::string& path) { return ::access(path.c_str(), X_OK) == 0; },
        .userId = unsigned(::getuid()),
    };
    if (const std::optional<std::string> address = UnreachableSessionBusAddress(places))
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 0);
#endif
}

}  // namespace platform
