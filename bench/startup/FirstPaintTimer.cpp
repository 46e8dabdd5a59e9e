// startup_bench: how long the program takes from its process start to the first paint of its
// main window, against a bare Qt window of the same size started the same way.
//
//   startup_bench RUNS PROGRAM BARE_WINDOW
//
// Needs an X server with the DAMAGE extension ($DISPLAY, e.g. Xvfb). Each run forks and execs
// the program, watches the root window for the first top-level window it maps and counts the
// time until that window's first drawing (a damage report): the moment a user sees it. The two
// programs take turns so a busy moment of the machine hits both alike. Prints each median and
// their ratio.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    uint8_t damageEvent = 0;
    xcb_atom_t clockAtom = 0;  // a root window property touched to read the server's clock
};

std::optional<Display> OpenDisplay() {
    Display d;
    int screenIndex = 0;
    d.connection = xcb_connect(nullptr, &screenIndex);
    if (xcb_connection_has_error(d.connection)) return std::nullopt;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(d.connection, &xcb_damage_id);
    if (!damage || !damage->present) return std::nullopt;
    d.damageEvent = damage->first_event;
    free(xcb_damage_query_version_reply(
        d.connection, xcb_damage_query_version(d.connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(d.connection));
    for (int i = 0; i < screenIndex; ++i) xcb_screen_next(&screens);
    d.root = screens.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(d.connection, d.root, XCB_CW_EVENT_MASK, &mask);
    const char name[] = "STARTUP_BENCH_CLOCK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        d.connection, xcb_intern_atom(d.connection, 0, sizeof name - 1, name), nullptr);
    if (!atom) return std::nullopt;
    d.clockAtom = atom->atom;
    free(atom);
    xcb_flush(d.connection);
    return d;
}

// The X server's clock (milliseconds), read through the time stamp of a property change. Times
// are taken from the server's own stamps, not from when this process reads the events: right
// after its first frame a program may keep both cores busy, and the observer's own turn to run
// is no part of what a user sees.
std::optional<uint32_t> ServerTime(Display& d) {
    xcb_change_property(d.connection, XCB_PROP_MODE_APPEND, d.root, d.clockAtom, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(d.connection);
    while (xcb_generic_event_t* event = xcb_wait_for_event(d.connection)) {
        const bool stamp = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                           reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == d.clockAtom;
        const uint32_t time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
        free(event);
        if (stamp) return time;
    }
    return std::nullopt;
}

pid_t Start(const char* program) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// Milliseconds from the start of `program` to the first drawing in the first window it maps, by
// the X server's clock; nothing when it ends or shows nothing within 20 s.
std::optional<double> TimeToFirstPaint(Display& d, const char* program) {
    std::set<xcb_window_t> watched;
    xcb_window_t shown = 0;
    const std::optional<uint32_t> serverStart = ServerTime(d);
    if (!serverStart) return std::nullopt;
    const Clock::time_point start = Clock::now();
    const pid_t pid = Start(program);
    std::optional<double> result;
    const int fd = xcb_get_file_descriptor(d.connection);
    while (!result && Clock::now() - start < std::chrono::seconds(20)) {
        xcb_generic_event_t* event = xcb_poll_for_event(d.connection);
        if (!event) {
            fd_set in;
            FD_ZERO(&in);
            FD_SET(fd, &in);
            timeval wait{0, 50000};
            select(fd + 1, &in, nullptr, nullptr, &wait);
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) return std::nullopt;
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Watch every new top-level window from its creation, before it can draw anything.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            const xcb_damage_damage_t damage = xcb_generate_id(d.connection);
            xcb_damage_create(d.connection, damage, created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(d.connection);
            watched.insert(created->window);
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (!shown && !mapped->override_redirect && watched.count(mapped->window)) shown = mapped->window;
        } else if (type == d.damageEvent + XCB_DAMAGE_NOTIFY) {
            const auto* drawn = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (shown && drawn->drawable == shown) result = double(uint32_t(drawn->timestamp - *serverStart));
        }
        free(event);
    }
    Stop(pid);
    // Drain what the closing windows reported.
    while (xcb_generic_event_t* event = xcb_poll_for_event(d.connection)) free(event);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: startup_bench RUNS PROGRAM BARE_WINDOW\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::optional<Display> display = OpenDisplay();
    if (!display) {
        std::fprintf(stderr, "startup_bench: no X display with the DAMAGE extension\n");
        return 1;
    }
    std::vector<double> program, bare;
    // One start of each first, not counted: it fills the file system cache.
    TimeToFirstPaint(*display, argv[3]);
    TimeToFirstPaint(*display, argv[2]);
    for (int i = 0; i < runs; ++i) {
        for (auto [path, times] : {std::pair{argv[3], &bare}, std::pair{argv[2], &program}}) {
            const std::optional<double> ms = TimeToFirstPaint(*display, path);
            if (!ms) {
                std::fprintf(stderr, "startup_bench: %s showed no window\n", path);
                return 1;
            }
            times->push_back(*ms);
        }
    }
    const double p = Median(program), b = Median(bare);
    std::printf("first paint, median of %d runs: program %.1f ms, bare Qt window %.1f ms, ratio %.2f\n",
                runs, p, b, p / b);
    xcb_disconnect(display->connection);
    return 0;
}
