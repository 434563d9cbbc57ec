// The Timer kind's model: Interval arms a platform timer on its hidden window, and each tick raises Tick.
#include "ui/timer.hpp"

#include <array>

namespace tav::ui {
namespace {

constexpr auto kProperties = with_common(std::array<PropertySpec, 1>{
    int_at_least(0, 0), // 8 Interval
});

} // namespace

Timer::Timer() : Control(*find_kind(kind_id::kTimer)) {}

std::span<const PropertySpec> Timer::properties() { return kProperties; }

void Timer::on_created() {
    if (interval() > 0) system().set_timer(handle(), kTimerId, interval());
}

bool Timer::apply_property(int local, const Value& old) {
    if (local != kInterval || old.as_integer() == interval() || !has_window()) return false;
    system().kill_timer(handle(), kTimerId);
    if (interval() > 0) system().set_timer(handle(), kTimerId, interval());
    return false;
}

void Timer::on_timer(int timer_id) {
    if (timer_id == kTimerId) raise(kTick);
}

} // namespace tav::ui
