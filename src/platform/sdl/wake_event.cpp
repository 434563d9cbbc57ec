// The wake-up descriptor as an eventfd: a write signals it, a non-blocking read drains it.
#include "platform/sdl/wake_event.hpp"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace tav::platform::sdl {

WakeEvent::WakeEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WakeEvent::~WakeEvent() {
    if (fd_ >= 0) ::close(fd_);
}

void WakeEvent::signal() const {
    if (fd_ < 0) return;
    const std::uint64_t one = 1;
    // A full counter (never in practice) is still readable, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
}

bool WakeEvent::drain() const {
    if (fd_ < 0) return false;
    std::uint64_t count = 0;
    return ::read(fd_, &count, sizeof count) == ssize_t(sizeof count) && count > 0;
}

} // namespace tav::platform::sdl
