#pragma once
// SIGTERM and SIGINT as a session-end request instead of an abrupt end: the program asks its
// windows, then ends through its own clean-up, even while a modal box is open.

#include <csignal>

#include "platform/sdl/wake_event.hpp"

namespace tav::platform::sdl {

// While it lives, SIGTERM and SIGINT no longer end the process: the handler only sets a flag
// and signals `wake` (both async-signal-safe), whichever thread the signal interrupts; the UI
// thread's wait then wakes and take()s the flag. One instance at a time; the previous handlers
// come back when it is destroyed.
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
    bool active_ = false;
};

} // namespace tav::platform::sdl
