// One spin of the real game on the headless backend, bets placed and read back as the pay report
// does: every handler, property access and timer of the game, no composition and no sound.

#include <benchmark/benchmark.h>

#include "headless_game.hpp"

namespace {

using namespace tav::report;

void run_spins(benchmark::State& state, bool tick_rounding) {
    PlayerOptions options;
    options.tick_rounding = tick_rounding;
    HeadlessGame game(options);
    for (auto _ : state) {
        benchmark::DoNotOptimize(game.play_spin());
    }
    state.SetItemsProcessed(state.iterations());
}

void bm_headless_spin(benchmark::State& state) { run_spins(state, false); }
void bm_headless_spin_tick_rounding(benchmark::State& state) { run_spins(state, true); }

} // namespace

BENCHMARK(bm_headless_spin)->Unit(benchmark::kMicrosecond);
BENCHMARK(bm_headless_spin_tick_rounding)->Unit(benchmark::kMicrosecond);
