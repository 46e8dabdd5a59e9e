#include "midi/WakeSignal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace midi {

WakeSignal::WakeSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

WakeSignal::~WakeSignal() { close(fd_); }

void WakeSignal::Raise() noexcept {
    const std::uint64_t one = 1;
    // Fails only when the counter is full, which leaves it raised all the same.
    [[maybe_unused]] const auto written = write(fd_, &one, sizeof one);
}

bool WakeSignal::Clear() noexcept {
    std::uint64_t count = 0;
    return read(fd_, &count, sizeof count) == sizeof count && count > 0;
}

}  // namespace midi
