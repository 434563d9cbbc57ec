// Termination signals turned into a flag, a wake-up and, when asked for, an exit watchdog's alarm.
#include "platform/sdl/termination_signals.hpp"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace tav::platform::sdl {
namespace {

// What the handler may touch: lock-free atomics, an eventfd write and sem_post only.
std::atomic<const WakeEvent*> g_wake{nullptr};
std::atomic<bool> g_signalled{false};
std::atomic<sem_t*> g_watchdog{nullptr};

extern "C" void on_termination_signal(int) {
    const int saved_errno = errno;
    g_signalled.store(true);
    if (const WakeEvent* wake = g_wake.load()) wake->signal();
    if (sem_t* watchdog = g_watchdog.load()) ::sem_post(watchdog);
    errno = saved_errno;
}

// Takes `signal` over unless it is ignored; `old` receives what to put back.
void take_over(int signal, const struct sigaction& action, struct sigaction& old) {
    ::sigaction(signal, nullptr, &old);
    if (old.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(const WakeEvent& wake) {
    static_assert(std::atomic<const WakeEvent*>::is_always_lock_free && std::atomic<bool>::is_always_lock_free &&
                  std::atomic<sem_t*>::is_always_lock_free);
    const WakeEvent* expected = nullptr;
    if (!g_wake.compare_exchange_strong(expected, &wake)) return;
    g_signalled.store(false);
    struct sigaction action {};
    action.sa_handler = on_termination_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    take_over(SIGTERM, action, old_term_);
    take_over(SIGINT, action, old_int_);
    take_over(SIGHUP, action, old_hup_);
    active_ = true;
}

TerminationSignals::~TerminationSignals() {
    if (!active_) return;
    ::sigaction(SIGTERM, &old_term_, nullptr);
    ::sigaction(SIGINT, &old_int_, nullptr);
    ::sigaction(SIGHUP, &old_hup_, nullptr);
    g_wake.store(nullptr);
}

bool TerminationSignals::take() { return active_ && g_signalled.exchange(false); }

ExitWatchdog::ExitWatchdog(Arming arming, std::chrono::milliseconds grace, int exit_code,
                           std::function<void()> last_words)
    : grace_(grace), exit_code_(exit_code), last_words_(std::move(last_words)) {
    ::sem_init(&armed_, 0, 0);
    if (arming == Arming::OnTerminationRequest) {
        sem_t* expected = nullptr;
        registered_ = g_watchdog.compare_exchange_strong(expected, &armed_);
        if (!registered_) return; // another one watches: this one would never be armed
    }
    try {
        thread_ = std::thread(&ExitWatchdog::watch, this, arming);
    } catch (const std::system_error&) {
        // No thread to be had: the program goes on unwatched, as it did before watchdogs.
    }
}

ExitWatchdog::~ExitWatchdog() {
    if (registered_) g_watchdog.store(nullptr);
    {
        const std::lock_guard lock(mutex_);
        stood_down_ = true;
    }
    stood_down_cv_.notify_all();
    ::sem_post(&armed_);
    if (thread_.joinable()) thread_.join();
    ::sem_destroy(&armed_);
}

void ExitWatchdog::watch(Arming arming) {
    if (arming == Arming::OnTerminationRequest) {
        while (::sem_wait(&armed_) != 0) {
            if (errno != EINTR) return;
        }
    }
    std::unique_lock lock(mutex_);
    if (stood_down_cv_.wait_for(lock, grace_, [this] { return stood_down_; })) return;
    lock.unlock();
    if (last_words_) last_words_();
    ::_exit(exit_code_);
}

} // namespace tav::platform::sdl
