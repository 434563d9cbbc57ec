#include "report_run.hpp"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "core/random.hpp"

namespace tav::report {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kProgressPeriod = std::chrono::milliseconds(200);

// Steps `random` `draws` times.
void burn_draws(RandomSource& random, std::uint64_t draws) {
    for (std::uint64_t i = 0; i < draws; ++i) random.in_range(0, 1);
}

} // namespace

RunResult run_spins(const RunOptions& options) {
    const int threads = std::max(1, options.threads);
    std::vector<Tally> tallies(static_cast<std::size_t>(threads));
    std::vector<double> rates(static_cast<std::size_t>(threads), 0.0);
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(threads));
    std::atomic<std::uint64_t> done{0};
    std::atomic<int> running{threads};
    std::atomic<bool> stop{false};
    // One thread at a time builds its window, and none spins meanwhile.
    std::mutex setup;
    std::barrier gate(threads);

    const auto started = Clock::now();
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                const auto index = static_cast<std::size_t>(t);
                const std::uint64_t share = options.spins / static_cast<std::uint64_t>(threads) +
                                            (index < options.spins % static_cast<std::uint64_t>(threads) ? 1 : 0);
                std::unique_ptr<HeadlessGame> game;
                try {
                    PlayerOptions player = options.player;
                    player.clock_seed = options.player.clock_seed + index;
                    std::lock_guard lock(setup);
                    game = std::make_unique<HeadlessGame>(player);
                    // Loading the window draws nothing, so this is as if burnt at program start.
                    burn_draws(game->random(), index * kThreadDrawOffset);
                } catch (...) {
                    errors[index] = std::current_exception();
                }
                gate.arrive_and_wait();
                if (game) {
                    try {
                        const auto t0 = Clock::now();
                        std::uint64_t played = 0;
                        for (; played < share && !stop.load(std::memory_order_relaxed); ++played) {
                            tallies[index].add(game->play_spin(), game->stake());
                            done.fetch_add(1, std::memory_order_relaxed);
                        }
                        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
                        rates[index] = s > 0 ? static_cast<double>(played) / s : 0.0;
                    } catch (...) {
                        errors[index] = std::current_exception();
                    }
                }
                gate.arrive_and_wait();
                {
                    std::lock_guard lock(setup);
                    game.reset();
                }
                running.fetch_sub(1);
            });
        }
        while (running.load() > 0) {
            std::this_thread::sleep_for(kProgressPeriod);
            if (options.progress) options.progress(done.load(), options.spins);
            if (options.max_seconds > 0 &&
                std::chrono::duration<double>(Clock::now() - started).count() > options.max_seconds) {
                stop.store(true);
            }
        }
    }
    for (const std::exception_ptr& e : errors) {
        if (e) std::rethrow_exception(e);
    }

    RunResult result;
    result.wall_seconds = std::chrono::duration<double>(Clock::now() - started).count();
    result.threads = threads;
    result.stopped_early = stop.load();
    for (const Tally& t : tallies) result.tally.merge(t);
    if (result.tally.spins == 0) result.tally.stake = 0;
    double rate_sum = 0;
    for (double r : rates) rate_sum += r;
    result.spins_per_second_per_thread = rate_sum / threads;
    result.spins_per_second = rate_sum;
    return result;
}

} // namespace tav::report
