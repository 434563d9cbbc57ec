// Painting the game's window on the headless backend with the real drawing code, at the scale
// given as the benchmark's argument (1, and 2 for a HiDPI screen: four times the pixels).
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>

#include "game/board.hpp"
#include "game/main_window_layout.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"

namespace {

using namespace tav;

constexpr int kRingSize = 20;
constexpr int kVisible = 5;
constexpr int kPicture = 10;

struct GameWindow {
    std::unique_ptr<Runtime> runtime;
    std::array<std::uint32_t, kRingSize> lamps{};
    std::array<Value, kRingSize> pictures;
    std::uint32_t prize = 0;

    explicit GameWindow(int scale) {
        runtime =
            std::make_unique<Runtime>(ui::main_window_layout({}), std::make_unique<platform::HeadlessBackend>(scale));
        runtime->load_window(ui::kMainWindowId);
        runtime->services().themes.themed_drawing(3);
        for (int k = 0; k < kRingSize; ++k) {
            const game::board::RingPosition& position = game::board::kRing[std::size_t(k)];
            lamps[std::size_t(k)] = ui::main_window_control_id(position.lamp);
            pictures[std::size_t(k)] =
                runtime->get_property(ui::kMainWindowId, ui::main_window_control_id(position.picture), kPicture);
        }
        prize = ui::main_window_control_id(game::board::kPrizePicture);
        ws().update(top());
    }
    platform::WindowSystem& ws() { return runtime->windows(); }
    platform::WindowHandle top() { return runtime->window_handle_of(ui::kMainWindowId); }
    void set(std::uint32_t id, int index, const Value& v) {
        runtime->set_property(ui::kMainWindowId, id, index, -1, v);
    }
};

// One step of the running lamp: the lit lamp goes out, the next lights, the prize box takes the
// next ring picture, and the changed area is painted at once.
void bm_lamp_step(benchmark::State& state) {
    GameWindow w(int(state.range(0)));
    int at = 0;
    w.set(w.lamps[0], kVisible, Value::of_bool(true));
    w.ws().update(w.top());
    for (auto _ : state) {
        const int next = (at + 1) % kRingSize;
        w.set(w.lamps[std::size_t(at)], kVisible, Value::of_bool(false));
        w.set(w.lamps[std::size_t(next)], kVisible, Value::of_bool(true));
        w.set(w.prize, kPicture, w.pictures[std::size_t(next)]);
        w.ws().update(w.top());
        at = next;
    }
}
BENCHMARK(bm_lamp_step)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The whole 505 x 584 client area (1010 x 1168 pixels at scale 2): stretched background, ring, labels, spinners and
// buttons.
void bm_full_repaint(benchmark::State& state) {
    GameWindow w(int(state.range(0)));
    for (auto _ : state) {
        w.ws().invalidate(w.top());
        w.ws().update(w.top());
    }
}
BENCHMARK(bm_full_repaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
