// One spin of the real game on the headless backend, bets placed and read back as the pay report
// does: every handler, property access and timer of the game, no composition and no sound.

#include <benchmark/benchmark.h>

#include "headless_game.hpp"
#include "core/random.hpp"

namespace {

using namespace tav::report;

void RunSpins(benchmark::State& state, bool tick_rounding) {
    tav::ResetRandomForThisThread();
    HeadlessHooks hooks;
    PlayerOptions options;
    options.tick_rounding = tick_rounding;
    HeadlessGame game(options);
    for (auto _ : state) {
        benchmark::DoNotOptimize(game.PlaySpin());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_HeadlessSpin(benchmark::State& state) { RunSpins(state, false); }
void BM_HeadlessSpinTickRounding(benchmark::State& state) { RunSpins(state, true); }

} // namespace

BENCHMARK(BM_HeadlessSpin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeadlessSpinTickRounding)->Unit(benchmark::kMicrosecond);
