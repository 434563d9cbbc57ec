#pragma once
// SIGTERM, SIGINT and SIGHUP as a session-end request instead of an abrupt end: the program asks
// its windows, then ends through its own clean-up, even while a modal box is open; and a
// watchdog for when that clean-up cannot finish because the display no longer answers.

#include <semaphore.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/sdl/wake_event.hpp"

namespace tav::platform::sdl {

// While it lives, SIGTERM, SIGINT and SIGHUP no longer end the process: the handler only sets a
// flag and signals `wake` (both async-signal-safe), whichever thread the signal interrupts; the
// UI thread's wait then wakes and take()s the flag. A signal ignored when it is made (as nohup
// does for SIGHUP) stays ignored. One instance at a time; the previous handlers come back when
// it is destroyed.
class TerminationSignals {
public:
    explicit TerminationSignals(const WakeEvent& wake);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when another instance holds the signals (they then act as before).
    bool active() const { return active_; }
    // True when a signal came since the last call.
    bool take();

private:
    struct sigaction old_term_ {};
    struct sigaction old_int_ {};
    struct sigaction old_hup_ {};
    bool active_ = false;
};

// Ends the process when something does not finish in time. Armed Now, or OnTerminationRequest:
// by the first signal a TerminationSignals takes while the watchdog lives (its handler posts a
// semaphore, so this works while the UI thread is stuck inside an Xlib call on a display that
// has stopped). Once armed, unless the watchdog is destroyed within `grace`, its own thread runs
// `last_words` and calls _exit(exit_code): no destructors, no atexit handlers, no display calls.
// Destroying it in time stands it down and joins its thread. An OnTerminationRequest watchdog
// also ends a program whose window refused the session end: it is for programs whose windows
// never refuse. One of them at a time (a second one is never armed); it must be destroyed after
// the TerminationSignals that arm it.
class ExitWatchdog {
public:
    enum class Arming { Now, OnTerminationRequest };
    ExitWatchdog(Arming arming, std::chrono::milliseconds grace, int exit_code, std::function<void()> last_words);
    ~ExitWatchdog();
    ExitWatchdog(const ExitWatchdog&) = delete;
    ExitWatchdog& operator=(const ExitWatchdog&) = delete;

private:
    void watch(Arming arming);

    std::chrono::milliseconds grace_;
    int exit_code_;
    std::function<void()> last_words_;
    sem_t armed_{};
    bool registered_ = false;
    std::mutex mutex_;
    std::condition_variable stood_down_cv_;
    bool stood_down_ = false;
    std::thread thread_; // last: starts once the rest is ready
};

} // namespace tav::platform::sdl
