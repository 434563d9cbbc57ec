#pragma once
// The local wall clock as DateTime values, read from the system's clock or from one a test or
// the headless window system gives.

#include <cstdint>
#include <functional>

#include "core/calendar.hpp"

namespace tav {

// A source of the local wall-clock time at whole seconds; empty stands for the system's.
using WallClock = std::function<LocalTime()>;

// The current local date and time of `clock` (empty: the system's) at whole seconds, as days
// since 1899-12-30 00:00. The clock runs on the calling thread.
double current_date_time(const WallClock& clock);

// The second of the minute (0..59) of a DateTime, after clamping to the calendar's range and
// rounding to the nearest second: 12:34:59.6 counts as 12:35:00 and gives 0.
std::int32_t second_of(double date_time);

// The system's local time now, at whole seconds.
LocalTime system_local_time();

} // namespace tav
