// The cost of one timer tick: the loop finds the due timer, polls for input, re-arms the timer
// and calls a delegate that does nothing. Also a posted message, for comparison.

#include <benchmark/benchmark.h>

#include "platform/headless/headless_backend.hpp"
#include "platform/window_system.hpp"

namespace {

using namespace tav::platform;

struct Idle : WindowDelegate {
    std::uint64_t ticks = 0;
    void on_timer(int id) override { ticks += id == 0 ? 1u : 0u; }
};

// A top-level window with a few children, so look-ups are not in an empty table.
struct Setup {
    Setup() {
        auto b = std::make_unique<HeadlessBackend>();
        backend = b.get();
        ws = std::make_unique<WindowSystem>(std::move(b));
        top = ws->create_top_level(idle, {64, 64}, {}, "bench");
        for (int i = 0; i < 40; ++i) ws->create_child(top, idle, {i, i, 8, 8});
        ws->show(top, true);
        ws->process_pending();
    }
    Idle idle;
    HeadlessBackend* backend = nullptr;
    std::unique_ptr<WindowSystem> ws;
    WindowHandle top = kNoWindow;
};

constexpr int kPeriodMs = 30;

void bm_timer_tick_process_pending(benchmark::State& state) {
    Setup s;
    for (int id = 1; id <= 4; ++id) s.ws->set_timer(s.top, id, 1 << 30); // idle timers to scan past
    s.ws->set_timer(s.top, 0, kPeriodMs);
    for (auto _ : state) {
        s.backend->advance(kPeriodMs);
        s.ws->process_pending();
    }
    if (s.idle.ticks != static_cast<std::uint64_t>(state.iterations())) state.SkipWithError("a tick was lost");
}
BENCHMARK(bm_timer_tick_process_pending)->Repetitions(5)->ReportAggregatesOnly(true);

void bm_timer_tick_run(benchmark::State& state) {
    Setup s;
    s.ws->set_timer(s.top, 0, kPeriodMs);
    // One run() per batch of ticks: the loop waits (the virtual clock jumps) between ticks.
    constexpr std::uint64_t kBatch = 1000;
    for (auto _ : state) {
        const std::uint64_t target = s.idle.ticks + kBatch;
        s.ws->run([&] { return s.idle.ticks >= target; });
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kBatch));
}
BENCHMARK(bm_timer_tick_run)->Repetitions(5)->ReportAggregatesOnly(true);

void bm_posted_message(benchmark::State& state) {
    Setup s;
    for (auto _ : state) {
        s.ws->post_message(s.top, 1);
        s.ws->process_pending();
    }
}
BENCHMARK(bm_posted_message)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
