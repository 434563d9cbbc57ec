// How punctually a 30 ms Timer control ticks on the desktop: one window with one Timer, run by
// the real runtime on the desktop backend (SDL, or Win32 in the Windows build) for a few seconds, every tick's time
// taken from the monotonic clock. Prints one JSON object: ticks, mean period, lateness percentiles against the ideal
// grid (start + k × 30 ms), and how often a tick more than a period late restarted it.
//
// Usage: tavrino_timer_timing [SECONDS]   (needs a display; the default is 5 s)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "desktop_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/control_kind.hpp"
#include "ui/layout_data.hpp"

namespace {

using namespace tav;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kTimingWindowId = 0x52010001;
constexpr std::uint32_t kTimerControl = 0x16010001;
constexpr int kPeriodMs = 30;
constexpr int kIntervalProperty = 8;
constexpr double kDefaultSeconds = 5;

ui::LayoutData timing_layout(ui::Handler tick) {
    ui::WindowTemplate w;
    w.id = kTimingWindowId;
    ui::ControlTemplate self;
    self.id = ui::kWindowSelfControlId;
    self.kind = ui::kind_id::kWindow;
    self.rect = {0, 0, 200, 100};
    w.controls.push_back(self);
    ui::ControlTemplate timer;
    timer.id = kTimerControl;
    timer.kind = ui::kind_id::kTimer;
    timer.rect = {0, 0, 32, 32};
    timer.events.push_back({0, std::move(tick)});
    w.controls.push_back(timer);
    ui::LayoutData layout;
    layout.windows.push_back(std::move(w));
    layout.startup_window = kTimingWindowId;
    return layout;
}

// The value below which `share` of the sorted samples lie (nearest rank).
double percentile(std::vector<double> sorted, double share) {
    if (sorted.empty()) return 0;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(rank, sorted.size() - 1)];
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : kDefaultSeconds;
    std::string reason;
    auto backend = make_desktop_backend(&reason);
    if (!backend) {
        std::fprintf(stderr, "tavrino_timer_timing: cannot open a display: %s\n", reason.c_str());
        return 1;
    }

    std::vector<Clock::time_point> ticks;
    ticks.reserve(static_cast<std::size_t>(seconds * 1000 / kPeriodMs) + 16);
    Clock::time_point start;
    Runtime* runtime = nullptr;
    const auto end_after = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    Runtime rt(timing_layout([&](std::span<const std::int32_t>) -> std::optional<std::int32_t> {
                   const auto now = Clock::now();
                   ticks.push_back(now);
                   if (now - start >= end_after) runtime->request_end_program();
                   return std::nullopt;
               }),
               std::move(backend));
    runtime = &rt;
    rt.load_window(kTimingWindowId);
    rt.windows().process_pending(); // the window is up and painted before the clock starts
    start = Clock::now();
    rt.set_property(kTimingWindowId, kTimerControl, kIntervalProperty, -1, Value::of_integer(kPeriodMs));
    rt.run_message_loop();

    // Lateness of each tick against the time it was due on the ideal grid (start + k × 30 ms).
    // The window system re-arms a tick that came more than a period late one period after its
    // delivery (no burst), so the grid starts afresh there; such restarts are counted. The
    // window system's clock counts whole milliseconds, so a tick may read up to 1 ms early.
    std::vector<double> lateness;
    std::vector<double> periods;
    long restarts = 0;
    double due = kPeriodMs;
    Clock::time_point previous = start;
    for (const Clock::time_point t : ticks) {
        const double since_start = std::chrono::duration<double, std::milli>(t - start).count();
        const double late = since_start - due;
        lateness.push_back(late);
        if (late > kPeriodMs) {
            ++restarts;
            due = since_start + kPeriodMs;
        } else {
            due += kPeriodMs;
        }
        periods.push_back(std::chrono::duration<double, std::milli>(t - previous).count());
        previous = t;
    }
    double mean_period = 0;
    for (double p : periods) mean_period += p;
    if (!periods.empty()) mean_period /= static_cast<double>(periods.size());
    std::printf("{\"ticks\": %zu, \"mean_period_ms\": %.3f, \"lateness_p50_ms\": %.3f, \"lateness_p99_ms\": %.3f, "
                "\"lateness_max_ms\": %.3f, \"grid_restarts\": %ld}\n",
                ticks.size(), mean_period, percentile(lateness, 0.5), percentile(lateness, 0.99),
                percentile(lateness, 1.0), restarts);
    return 0;
}
