#pragma once
// A file descriptor that becomes readable when someone wakes the UI thread.

namespace tav::platform::sdl {

// An eventfd owner. signal() may be called from any thread and from a signal handler; the
// waiting thread polls fd() and drain()s it before looking for what woke it.
class WakeEvent {
public:
    WakeEvent();
    ~WakeEvent();
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;

    // -1 when the descriptor could not be made (the waiter then polls with a short timeout).
    int fd() const { return fd_; }
    // Makes fd() readable (async-signal-safe).
    void signal() const;
    // Reads fd() back to not readable; true when it had been signalled.
    bool drain() const;

private:
    int fd_ = -1;
};

} // namespace tav::platform::sdl
