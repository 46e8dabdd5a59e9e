#include "app/SessionEnd.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace app {

#ifdef Q_OS_UNIX
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};
int requestPipe[2] = {-1, -1};

extern "C" void OnSessionEndSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(requestPipe[1], &byte, 1);
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> close) {
    if (requestPipe[0] < 0) {
        if (::pipe(requestPipe) != 0) return;
        for (int fd : requestPipe) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(requestPipe[1], F_SETFL, O_NONBLOCK);
    }
    notifier_ = std::make_unique<QSocketNotifier>(requestPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [close = std::move(close)] {
                         char bytes[16];
                         [[maybe_unused]] const auto taken =
                             ::read(requestPipe[0], bytes, sizeof bytes);
                         close();
                     });
    struct sigaction action {};
    action.sa_handler = OnSessionEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

SessionEnd::~SessionEnd() {
    for (int signal : kSignals) ::signal(signal, SIG_DFL);
}
#else
SessionEnd::SessionEnd(std::function<void()>) {}
SessionEnd::~SessionEnd() = default;
#endif

}  // namespace app
