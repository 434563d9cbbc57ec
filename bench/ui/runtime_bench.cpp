// Property access and event dispatch on the headless window system.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/control_kind.hpp"
#include "ui/layout_data.hpp"

namespace {

using namespace tav;

constexpr std::uint32_t kWindowId = 0x52010001;
constexpr std::uint32_t kLabel = 0x16010001;
constexpr std::uint32_t kTimer = 0x16010002;
constexpr int kTickMs = 10;

ui::LayoutData bench_layout(ui::Handler tick) {
    ui::WindowTemplate w;
    w.id = kWindowId;
    ui::ControlTemplate self;
    self.id = ui::kWindowSelfControlId;
    self.kind = ui::kind_id::kWindow;
    self.rect = {0, 0, 511, 615};
    w.controls.push_back(self);
    // A window as full as the game's: the looked-up label sits behind ninety others.
    for (std::uint32_t i = 0; i < 90; ++i) {
        ui::ControlTemplate c;
        c.id = 0x16010100 + i;
        c.kind = ui::kind_id::kPicBox;
        c.rect = {static_cast<int>(i % 10) * 50, static_cast<int>(i / 10) * 50, 48, 48};
        w.controls.push_back(c);
    }
    ui::ControlTemplate label;
    label.id = kLabel;
    label.kind = ui::kind_id::kLabel;
    label.rect = {10, 10, 100, 24};
    w.controls.push_back(label);
    ui::ControlTemplate timer;
    timer.id = kTimer;
    timer.kind = ui::kind_id::kTimer;
    timer.events.push_back({0, std::move(tick)});
    w.controls.push_back(timer);
    ui::LayoutData layout;
    layout.windows.push_back(std::move(w));
    layout.startup_window = kWindowId;
    return layout;
}

void bm_label_caption_set_get(benchmark::State& state) {
    Runtime rt(bench_layout({}), std::make_unique<platform::HeadlessBackend>());
    rt.load_window(kWindowId);
    const Value caption = Value::of_text("12345");
    for (auto _ : state) {
        set_property(kWindowId, kLabel, 8, -1, caption);
        Value v = get_property(kWindowId, kLabel, 8);
        benchmark::DoNotOptimize(v);
        free_value(v);
    }
}
BENCHMARK(bm_label_caption_set_get);

void bm_timer_tick_dispatch(benchmark::State& state) {
    std::int64_t ticks = 0;
    auto backend = std::make_unique<platform::HeadlessBackend>();
    platform::HeadlessBackend* b = backend.get();
    Runtime rt(bench_layout([&ticks](std::span<const std::int32_t>) -> std::optional<std::int32_t> {
                   ++ticks;
                   return std::nullopt;
               }),
               std::move(backend));
    rt.load_window(kWindowId);
    set_property(kWindowId, kTimer, 8, -1, Value::of_integer(kTickMs));
    for (auto _ : state) b->run_for(kTickMs); // one tick through the loop each time
    state.counters["ticks_per_iteration"] =
        benchmark::Counter(static_cast<double>(ticks) / static_cast<double>(state.iterations()));
}
BENCHMARK(bm_timer_tick_dispatch);

} // namespace
