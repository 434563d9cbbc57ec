#include "platform/sdl/termination_signals.hpp"

#include <atomic>
#include <cerrno>

namespace tav::platform::sdl {
namespace {

// What the handler may touch: lock-free atomics only.
std::atomic<const WakeEvent*> g_wake{nullptr};
std::atomic<bool> g_signalled{false};

extern "C" void on_termination_signal(int) {
    const int saved_errno = errno;
    g_signalled.store(true);
    if (const WakeEvent* wake = g_wake.load()) wake->signal();
    errno = saved_errno;
}

} // namespace

TerminationSignals::TerminationSignals(const WakeEvent& wake) {
    static_assert(std::atomic<const WakeEvent*>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);
    const WakeEvent* expected = nullptr;
    if (!g_wake.compare_exchange_strong(expected, &wake)) return;
    g_signalled.store(false);
    struct sigaction action {};
    action.sa_handler = on_termination_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &old_term_);
    ::sigaction(SIGINT, &action, &old_int_);
    active_ = true;
}

TerminationSignals::~TerminationSignals() {
    if (!active_) return;
    ::sigaction(SIGTERM, &old_term_, nullptr);
    ::sigaction(SIGINT, &old_int_, nullptr);
    g_wake.store(nullptr);
}

bool TerminationSignals::take() { return active_ && g_signalled.exchange(false); }

} // namespace tav::platform::sdl
