#include "core/clock.hpp"

#include <ctime>
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

LocalTime system_local_time() {
    const std::time_t now = std::time(nullptr);
    std::tm fields{};
    if (localtime_r(&now, &fields) == nullptr) {
        return LocalTime{1899, 12, 30, 0, 0, 0};
    }
    // A leap second reads as the last second of its minute.
    const int second = fields.tm_sec > 59 ? 59 : fields.tm_sec;
    return LocalTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, second};
}

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
