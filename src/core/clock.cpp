#include "core/clock.hpp"

#include <mutex>
#include <utility>

namespace tav {
namespace {

// The replaced wall clock, empty while the system clock is in use.
struct WallClockSlot {
    std::mutex mutex;
    std::function<LocalTime()> clock;
};

WallClockSlot& slot() {
    static WallClockSlot slot;
    return slot;
}

} // namespace

double current_date_time() {
    std::function<LocalTime()> clock;
    {
        std::lock_guard lock(slot().mutex);
        clock = slot().clock;
    }
    // Called outside the lock so that a clock may itself replace the clock.
    return date_time_from_fields(clock ? clock() : system_local_time());
}

std::int32_t second_of(double date_time) { return fields_from_date_time(date_time).second; }

void set_wall_clock(std::function<LocalTime()> clock) {
    std::lock_guard lock(slot().mutex);
    slot().clock = std::move(clock);
}

} // namespace tav
