// One lamp step as a spin pays for it every 30 ms: the handler's property reads and writes on
// the real window, the repaint of the lamps and prize picture it dirtied, and the start of the
// step sound (mixed into a silent sink on the player's own thread); at the scale given as the
// argument (1, and 2 for a HiDPI screen).

#include <benchmark/benchmark.h>

#include <memory>

#include "audio/play_sound.hpp"
#include "game/game.hpp"
#include "game/game_handlers.hpp"
#include "game/main_window_layout.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"

namespace tav::game {
namespace {

void bm_lamp_step(benchmark::State& state) {
    {
        auto headless = std::make_unique<platform::HeadlessBackend>(int(state.range(0)));
        const platform::HeadlessBackend& backend = *headless;
        Runtime runtime(ui::main_window_layout(game_handlers()), std::move(headless));
        runtime.load_window(kMainWindow);
        const platform::WindowHandle top = runtime.window_handle_of(kMainWindow);
        runtime.windows().update(top);
        const std::size_t presents = backend.present_count();
        for (auto _ : state) {
            advance_lamp();
            runtime.windows().update(top);
        }
        // Every step must have repainted something, or the figure leaves the drawing out.
        state.counters["presents_per_step"] =
            static_cast<double>(backend.present_count() - presents) / static_cast<double>(state.iterations());
        stop_all_sounds(true);
    }
    stop_sounds_at_exit();
}
BENCHMARK(bm_lamp_step)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace
} // namespace tav::game
