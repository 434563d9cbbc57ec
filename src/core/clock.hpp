#pragma once
// The local wall clock as DateTime values, with a replaceable clock source for tests and
// the headless window system.

#include <cstdint>
#include <functional>

#include "core/calendar.hpp"

namespace tav {

// The current local date and time at whole seconds, as days since 1899-12-30 00:00.
double current_date_time();

// The second of the minute (0..59) of a DateTime, after clamping to the calendar's range and
// rounding to the nearest second: 12:34:59.6 counts as 12:35:00 and gives 0.
std::int32_t second_of(double date_time);

// Replaces the wall clock that current_date_time reads; an empty function restores the system's
// local time. Safe to call from any thread; the clock function runs on the reading thread.
void set_wall_clock(std::function<LocalTime()> clock);

// The system's local time now, at whole seconds.
LocalTime system_local_time();

} // namespace tav
