// The system's local time through the C library's time zone rules.
#include <ctime>

#include "core/clock.hpp"

namespace tav {

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

} // namespace tav
