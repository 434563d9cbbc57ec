#pragma once
// The buffer semaphore and the stop event of a player, waited on together.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tav {

// Why a wait for the next finished buffer returned.
enum class PlayerWake { Buffer, Stop, Timeout };

// A counting semaphore (initial and maximum count given) and a manual-reset stop event
// sharing one wait. When both are signalled the semaphore wins, so no finished buffer
// is missed on the way out.
class PlayerSignals {
public:
    // A semaphore holding `initial` counts of at most `maximum`, and a clear stop event.
    PlayerSignals(int initial, int maximum) : count_(initial), maximum_(maximum) {}
    PlayerSignals(const PlayerSignals&) = delete;
    PlayerSignals& operator=(const PlayerSignals&) = delete;

    // Adds `n` counts; a release that would pass the maximum changes nothing and returns false.
    bool release(int n = 1) {
        {
            std::lock_guard lock(mutex_);
            if (n < 1 || count_ > maximum_ - n) return false;
            count_ += n;
        }
        changed_.notify_all();
        return true;
    }

    // Raises the count to its maximum, whatever it was.
    void fill() {
        {
            std::lock_guard lock(mutex_);
            count_ = maximum_;
        }
        changed_.notify_all();
    }

    // Sets the stop event; it stays set.
    void signal_stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

    // Waits up to `timeout` for a count (taking it) or the stop event.
    PlayerWake wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, timeout, [this] { return count_ > 0 || stopped_; });
        if (count_ > 0) {
            --count_;
            return PlayerWake::Buffer;
        }
        return stopped_ ? PlayerWake::Stop : PlayerWake::Timeout;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_;
    const int maximum_;
    bool stopped_ = false;
};

} // namespace tav
