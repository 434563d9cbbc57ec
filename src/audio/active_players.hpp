#pragma once
// The process-wide list of players that exist, and the threads that run them.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/wave_player.hpp"

namespace tav {

// Players enter the list before their thread runs and leave it in their first ending step.
// The list lock is never held while a player's lock is taken. Threads of players that have
// left are joined later (by the next start, a waiting stop or the destructor), so no thread
// outlives the list.
class ActivePlayers {
public:
    ActivePlayers() = default;
    // Stops every player, waits for all of them and joins every thread.
    ~ActivePlayers();
    ActivePlayers(const ActivePlayers&) = delete;
    ActivePlayers& operator=(const ActivePlayers&) = delete;

    // Adds the player and starts its thread; false (the player destroyed) if no thread can be had.
    bool start(std::unique_ptr<WavePlayer> player);
    // Signals every listed player to stop; with `wait`, returns once each of them has
    // finished its ending steps and its thread has been joined.
    void stop_all(bool wait);
    // Joins the threads of players that have completely ended; cheap, never blocks for long.
    void reap();
    // Players in the list.
    std::size_t count();
    // Player threads that have not yet finished (listed players included).
    std::size_t thread_count();

private:
    struct Entry {
        WavePlayer* player;
        std::thread thread;
    };
    struct Leaving {
        WavePlayer* player; // identity only; the player may already be freed
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void leave(WavePlayer* player, std::shared_ptr<std::atomic<bool>> finished);
    static void join_all(std::vector<Leaving>& threads);

    std::mutex mutex_; // the list lock
    std::condition_variable left_;
    std::vector<Entry> players_;
    std::vector<Leaving> leaving_;
};

} // namespace tav
