// Starting a player on a thread of its own, stopping them all, and joining the threads that have ended.
#include "audio/active_players.hpp"

#include <algorithm>
#include <system_error>

namespace tav {

ActivePlayers::~ActivePlayers() {
    stop_all(true);
    std::vector<Leaving> rest;
    {
        std::lock_guard lock(mutex_);
        rest.swap(leaving_);
    }
    join_all(rest);
}

bool ActivePlayers::start(std::unique_ptr<WavePlayer> player) {
    WavePlayer* raw = player.get();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    // The thread is made under the list lock, so it cannot reach its ending steps (which take
    // the lock) before it is listed, and a stop issued after this returns always reaches it.
    std::lock_guard lock(mutex_);
    try {
        players_.reserve(players_.size() + 1);
        std::thread thread([this, owned = std::move(player), finished]() mutable {
            owned->run();
            leave(owned.get(), finished);
            owned->close_device();
            owned.reset();
            finished->store(true, std::memory_order_release);
        });
        players_.push_back({raw, std::move(thread)});
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void ActivePlayers::leave(WavePlayer* player, std::shared_ptr<std::atomic<bool>> finished) {
    {
        std::lock_guard lock(mutex_);
        auto it =
            std::find_if(players_.begin(), players_.end(), [player](const Entry& e) { return e.player == player; });
        if (it != players_.end()) {
            leaving_.push_back({player, std::move(it->thread), std::move(finished)});
            players_.erase(it);
        }
    }
    left_.notify_all();
}

void ActivePlayers::stop_all(bool wait) {
    std::vector<WavePlayer*> noted;
    {
        std::lock_guard lock(mutex_);
        for (Entry& e : players_) {
            e.player->signal_stop();
            if (wait) noted.push_back(e.player);
        }
    }
    if (!wait) return;
    std::vector<Leaving> ended;
    {
        std::unique_lock lock(mutex_);
        left_.wait(lock, [&] {
            return std::none_of(players_.begin(), players_.end(), [&](const Entry& e) {
                return std::find(noted.begin(), noted.end(), e.player) != noted.end();
            });
        });
        // Every noted player is now past its first ending step; joining finishes the rest.
        ended.swap(leaving_);
    }
    join_all(ended);
}

void ActivePlayers::reap() {
    std::vector<Leaving> done;
    {
        std::lock_guard lock(mutex_);
        auto first_done = std::partition(leaving_.begin(), leaving_.end(),
                                         [](const Leaving& l) { return !l.finished->load(std::memory_order_acquire); });
        std::move(first_done, leaving_.end(), std::back_inserter(done));
        leaving_.erase(first_done, leaving_.end());
    }
    join_all(done);
}

std::size_t ActivePlayers::count() {
    std::lock_guard lock(mutex_);
    return players_.size();
}

std::size_t ActivePlayers::thread_count() {
    std::lock_guard lock(mutex_);
    std::size_t running = players_.size();
    for (const Leaving& l : leaving_)
        if (!l.finished->load(std::memory_order_acquire)) ++running;
    return running;
}

void ActivePlayers::join_all(std::vector<Leaving>& threads) {
    for (Leaving& l : threads)
        if (l.thread.joinable()) l.thread.join();
    threads.clear();
}

} // namespace tav
