// Calendar fields to DateTime values and back, through proleptic Gregorian day counts.
#include "core/calendar.hpp"

#include <cmath>

namespace tav {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30, the day DateTime counts from.
constexpr std::int64_t kEpochOffsetDays = 25569;

// Floor division, for the proleptic Gregorian era arithmetic below.
constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Days since 1970-01-01 of a proleptic Gregorian date with month 1..12.
constexpr std::int64_t days_from_civil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floor_div(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    std::int64_t year, month, day;
};

// The proleptic Gregorian date of a day count since 1970-01-01.
constexpr CivilDate civil_from_days(std::int64_t z) {
    z += 719468;
    const std::int64_t era = floor_div(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

static_assert(days_from_civil(1899, 12, 30) == -kEpochOffsetDays);
static_assert(civil_from_days(-kEpochOffsetDays).year == 1899);

} // namespace

double date_time_from_fields(const LocalTime& f) {
    // Normalise the month first so that any int fields give a defined date.
    const std::int64_t month_index = static_cast<std::int64_t>(f.month) - 1;
    const std::int64_t year = static_cast<std::int64_t>(f.year) + floor_div(month_index, 12);
    const std::int64_t month = month_index - floor_div(month_index, 12) * 12 + 1;
    const std::int64_t total_seconds =
        (days_from_civil(year, month, 1) + (static_cast<std::int64_t>(f.day) - 1) + kEpochOffsetDays) * kSecondsPerDay +
        static_cast<std::int64_t>(f.hour) * 3600 + static_cast<std::int64_t>(f.minute) * 60 + f.second;
    const std::int64_t days = floor_div(total_seconds, kSecondsPerDay);
    const double time_of_day =
        static_cast<double>(total_seconds - days * kSecondsPerDay) / static_cast<double>(kSecondsPerDay);
    // Before 1899-12-30 the whole part counts back and the fraction still counts forward.
    return days < 0 ? static_cast<double>(days) - time_of_day : static_cast<double>(days) + time_of_day;
}

LocalTime fields_from_date_time(double date_time) {
    double d = std::isnan(date_time) ? 0.0 : date_time;
    d = d < kMinDateTime ? kMinDateTime : (d > kMaxDateTime ? kMaxDateTime : d);
    // Whole days keep the sign; the time of day is the magnitude of the fraction.
    const double whole = std::trunc(d);
    const double seconds = std::floor(std::fabs(d - whole) * static_cast<double>(kSecondsPerDay) + 0.5);
    std::int64_t days = static_cast<std::int64_t>(whole);
    std::int64_t second_of_day = static_cast<std::int64_t>(seconds);
    if (second_of_day >= kSecondsPerDay) { // rounded up into the next day, away from zero
        second_of_day -= kSecondsPerDay;
        days += d < 0 ? -1 : 1;
    }
    const CivilDate c = civil_from_days(days - kEpochOffsetDays);
    return LocalTime{static_cast<int>(c.year),
                     static_cast<int>(c.month),
                     static_cast<int>(c.day),
                     static_cast<int>(second_of_day / 3600),
                     static_cast<int>(second_of_day / 60 % 60),
                     static_cast<int>(second_of_day % 60)};
}

} // namespace tav
