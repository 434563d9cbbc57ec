#pragma once
// Calendar arithmetic for DateTime values: days since 1899-12-30 00:00, the fraction the time of day.

#include <cstdint>

namespace tav {

// A broken-down local date and time, month and day counted from 1.
struct LocalTime {
    int year, month, day, hour, minute, second;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// Earliest DateTime the calendar breaks down: 0100-01-01 00:00.
inline constexpr double kMinDateTime = -657434.0;
// Latest DateTime the calendar breaks down: 9999-12-31 00:00.
inline constexpr double kMaxDateTime = 2958465.0;

// The DateTime of calendar fields; out-of-range fields carry over (month 13 is January of the next
// year, second 60 the next minute). Before 1899-12-30 the fraction is subtracted: 1899-12-29 06:00 is -1.25.
double date_time_from_fields(const LocalTime& fields);

// Calendar fields of a DateTime, clamped into [kMinDateTime, kMaxDateTime] and rounded to the
// nearest second (halves away from zero). A negative value counts whole days back from 1899-12-30
// and its fraction is still the time of day. NaN reads as 0, the start of 1899-12-30.
LocalTime fields_from_date_time(double date_time);

} // namespace tav
