// Window timers. A timer is not a queued message: when the loop has nothing else to do it takes
// the earliest due timer and delivers one tick, so ticks that fell due meanwhile merge into it.

#include <algorithm>
#include <utility>

#include "platform/window_system_impl.hpp"

namespace tav::platform {

std::optional<std::uint64_t> WindowSystem::Impl::next_timer_due() const {
    std::optional<std::uint64_t> due;
    for (const Timer& t : timers) {
        if (!due || t.due_ms < *due) due = t.due_ms;
    }
    return due;
}

bool WindowSystem::Impl::deliver_due_timer(std::uint64_t now) {
    auto best = timers.end();
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->due_ms <= now && (best == timers.end() || it->due_ms < best->due_ms)) best = it;
    }
    if (best == timers.end()) return false;
    const auto period = static_cast<std::uint64_t>(best->period_ms);
    // Keep the phase of the period; but a tick more than a period late starts afresh from
    // now, so a stalled loop gets one tick, not a burst.
    std::uint64_t next = best->due_ms + period;
    if (next + period < now) next = now + period;
    best->due_ms = next;
    const WindowHandle w = best->window;
    const int id = best->id;
    // Re-armed before the handler runs, so a set_timer or kill_timer inside it wins.
    if (Window* win = find(w)) win->delegate->on_timer(id);
    return true;
}

void WindowSystem::Impl::kill_timers_of(WindowHandle w) {
    std::erase_if(timers, [w](const Timer& t) { return t.window == w; });
}

void WindowSystem::set_timer(WindowHandle w, int id, int ms) {
    Impl& i = *impl_;
    if (!i.find(w)) return;
    if (ms <= 0) {
        kill_timer(w, id);
        return;
    }
    int period = std::max(ms, kMinTimerPeriodMs);
    if (i.timer_period_map) period = std::max(1, i.timer_period_map(period));
    const std::uint64_t due = i.backend->now_ms() + static_cast<std::uint64_t>(period);
    for (Timer& t : i.timers) {
        if (t.window == w && t.id == id) {
            t.period_ms = period;
            t.due_ms = due;
            return;
        }
    }
    i.timers.push_back({w, id, period, due});
}

void WindowSystem::set_timer_period_map(std::function<int(int)> map) { impl_->timer_period_map = std::move(map); }

void WindowSystem::kill_timer(WindowHandle w, int id) {
    std::erase_if(impl_->timers, [w, id](const Timer& t) { return t.window == w && t.id == id; });
}

} // namespace tav::platform
