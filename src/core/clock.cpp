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

WallClockSlot& Slot() {
    static WallClockSlot slot;
    return slot;
}

} // namespace

LocalTime SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm fields{};
    if (localtime_r(&now, &fields) == nullptr) {
        return LocalTime{1899, 12, 30, 0, 0, 0};
    }
    // A leap second reads as the last second of its minute.
    const int second = fields.tm_sec > 59 ? 59 : fields.tm_sec;
    return LocalTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, second};
}

double CurrentDateTime() {
    std::function<LocalTime()> clock;
    {
        std::lock_guard lock(Slot().mutex);
        clock = Slot().clock;
    }
    // Called outside the lock so that a clock may itself replace the clock.
    return DateTimeFromFields(clock ? clock() : SystemLocalTime());
}

std::int32_t SecondOf(double dateTime) {
    return FieldsFromDateTime(dateTime).second;
}

void SetWallClock(std::function<LocalTime()> clock) {
    std::lock_guard lock(Slot().mutex);
    Slot().clock = std::move(clock);
}

} // namespace tav
