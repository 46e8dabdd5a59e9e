#include "platform/SessionBusAddress.h"

#include <map>
#include <optional>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace platform {
namespace {

// The address is named only where the D-Bus library could neither find a bus nor run
// dbus-launch: any variable, socket or launcher that could lead to a bus leaves it alone.
TEST(SessionBusAddress, NamedOnlyWhereNoBusNorLauncherCanBeFound) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> variables;
        std::set<std::string> files;
        std::set<std::string> executables;
        std::optional<std::string> address;
    };
    const std::map<std::string, std::string> plain{{"XDG_RUNTIME_DIR", "/run/user/1000"},
                                                   {"PATH", "/usr/local/bin:/opt/x/bin"}};
    auto with = [&](std::string name, std::string value) {
        auto variables = plain;
        variables[name] = value;
        return variables;
    };
    auto without = [&](const std::string& name) {
        auto variables = plain;
        variables.erase(name);
        return variables;
    };
    const Case cases[] = {
        {"nothing anywhere", plain, {}, {}, "unix:path=/run/user/1000/bus"},
        {"an address given", with("DBUS_SESSION_BUS_ADDRESS", "unix:path=/tmp/b"), {}, {}, {}},
        {"an empty address given", with("DBUS_SESSION_BUS_ADDRESS", ""), {}, {}, {}},
        {"a bus at the runtime folder", plain, {"/run/user/1000/bus"}, {}, {}},
        {"a bus elsewhere only", plain, {"/run/user/1001/bus"}, {}, "unix:path=/run/user/1000/bus"},
        {"the launcher in its own folder", plain, {}, {"/usr/bin/dbus-launch"}, {}},
        {"the launcher in the last PATH folder", plain, {}, {"/opt/x/bin/dbus-launch"}, {}},
        {"a launcher of another name", plain, {}, {"/opt/x/bin/dbus-launcher"},
         "unix:path=/run/user/1000/bus"},
        {"the launcher in the current folder, named by an empty PATH entry",
         with("PATH", "/usr/local/bin::/opt/x/bin"), {}, {"./dbus-launch"}, {}},
        {"no PATH: the default search path", without("PATH"), {}, {"/bin/dbus-launch"}, {}},
        {"no runtime folder: the user's conventional one", without("XDG_RUNTIME_DIR"), {}, {},
         "unix:path=/run/user/1000/bus"},
        {"an empty runtime folder, with its bus", with("XDG_RUNTIME_DIR", ""),
         {"/run/user/1000/bus"}, {}, {}},
    };
    for (const Case& c : cases) {
        const SessionBusPlaces places{
            .variable = [&](const char* name) -> std::optional<std::string> {
                auto found = c.variables.find(name);
                return found == c.variables.end() ? std::nullopt
                                                  : std::optional<std::string>(found->second);
            },
            .exists = [&](const std::string& path) { return c.files.count(path) > 0; },
            .executable = [&](const std::string& path) { return c.executables.count(path) > 0; },
            .userId = 1000,
        };
        EXPECT_EQ(UnreachableSessionBusAddress(places), c.address) << c.what;
    }
}

}  // namespace
}  // namespace platform
