#pragma once
// A helper program run alongside this one, handing its results back through shared memory.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <sys/types.h>

namespace tav::platform {

// Runs a helper program alongside this one and takes what it makes from an area both share,
// part by part as the helper finishes each. A separate program costs this process next to
// nothing while it runs: a second thread would make every stdio call here take a lock (and
// libX11 reads its compose table a character at a time as the display connection opens), and
// a fork would make both processes copy each page either of them writes. The helper detaches
// as it starts (HelperChannel::Inherited), so nothing here ever waits for it to end.
class HelperProcess {
public:
    // How long part() waits for the helper in all, by default, before giving up on it.
    static constexpr std::chrono::milliseconds kPatience{5000};

    // Starts `program` with `arguments`, giving it the shared area of `capacity` bytes and the
    // pipe for its parts (see HelperChannel). Without a helper (it or the area could not be
    // made) every part is empty.
    HelperProcess(const std::string& program, const std::vector<std::string>& arguments, std::size_t capacity,
                  std::chrono::milliseconds patience = kPatience);
    // Stops listening to the helper (see stop()); the area goes.
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Whether the helper was started.
    bool started() const { return child_ > 0 || !ends_.empty(); }
    // Keeps the shared area mapped while held, even after this is gone: what the parts hold
    // can be used in place.
    std::shared_ptr<const void> area_keeper() const { return area_; }
    // Waits until the helper has handed over part `n` (from 0) and gives its bytes: empty when
    // it ended, failed or was stopped first, or ran out of patience. Valid while this lives.
    std::span<const std::uint8_t> part(std::size_t n);
    // Stops listening to the helper: the process started is ended and reaped, and a detached
    // helper still working ends at its next hand-over. The parts handed over stay.
    void stop();

private:
    // Reaps the helper if it has ended, or waits for it to end with `wait`.
    void reap(bool wait);

    std::shared_ptr<const std::uint8_t> area_;
    std::size_t capacity_ = 0;
    pid_t child_ = -1;
    int parts_fd_ = -1;                              // the helper writes the end of each part here
    std::vector<std::size_t> ends_;                  // the ends of the parts handed over so far
    std::chrono::steady_clock::time_point deadline_; // when part() stops waiting
};

// The helper's side: the shared area and the pipe it was started with.
class HelperChannel {
public:
    // The channel this process was started with as a helper; nothing when it was not. The
    // helper goes on in a forked copy of itself while the process started ends at once, so
    // that its starter reaps it without waiting and the worker is left to the system to reap.
    static std::optional<HelperChannel> inherited();
    ~HelperChannel();
    HelperChannel(HelperChannel&& other) noexcept;
    HelperChannel& operator=(HelperChannel&&) = delete;

    // The shared area, to be written part after part from its start.
    std::span<std::uint8_t> area() const { return area_; }
    // Tells the starter the area's bytes up to `end` are a finished part; false when it no
    // longer listens.
    bool hand_over(std::size_t end);

    // The descriptors a helper is started with.
    static constexpr int kAreaFd = 3;
    static constexpr int kPartsFd = 4;

private:
    HelperChannel(std::span<std::uint8_t> area, int parts_fd) : area_(area), parts_fd_(parts_fd) {}

    std::span<std::uint8_t> area_;
    int parts_fd_ = -1;
    std::size_t last_ = 0;
};

} // namespace tav::platform
