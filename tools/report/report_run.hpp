#pragma once
// Runs many spins of the headless game, on one or more threads, and adds up what they did.

#include <cstdint>
#include <functional>

#include "headless_game.hpp"
#include "statistics.hpp"

namespace tav::report {

// Draws of the random source each further thread is set ahead of the one before.
inline constexpr std::uint64_t kThreadDrawOffset = std::uint64_t{1} << 28;

struct RunOptions {
    std::uint64_t spins = 100000;
    // Each thread is a player of its own with its own window and runtime. Thread 0 draws the
    // program's sequence from state 1; thread i starts i × kThreadDrawOffset draws further on,
    // and its clock generator has a seed of its own.
    int threads = 1;
    PlayerOptions player;
    // Wall-clock seconds after which the run stops early and reports the spins done; 0: none.
    double max_seconds = 0;
    // Called on the calling thread about five times a second with the spins done so far.
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
};

struct RunResult {
    Tally tally;
    double wall_seconds = 0;
    int threads = 1;
    double spins_per_second = 0;            // all threads together
    double spins_per_second_per_thread = 0; // the mean of the threads' own rates
    bool stopped_early = false;             // max_seconds ran out before every spin was played
};

// Plays `options.spins` spins split over the threads (fewer when max_seconds runs out) and
// returns the merged counts.
RunResult run_spins(const RunOptions& options);

} // namespace tav::report
