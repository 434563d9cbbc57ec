#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/clock.hpp"

namespace tav {

// Lets failures show the fields.
void PrintTo(const LocalTime& t, std::ostream* os) {
    *os << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour << ':' << t.minute << ':' << t.second;
}

namespace {

double at(int h, int m, double s) { return (h * 3600 + m * 60 + s) / 86400.0; }

TEST(Calendar, BreaksDateTimesIntoFields) {
    struct Case {
        double date_time;
        LocalTime expected;
    };
    const std::vector<Case> cases = {
        {0.0, {1899, 12, 30, 0, 0, 0}},
        {45000.0, {2023, 3, 15, 0, 0, 0}},
        {45351.0, {2024, 2, 29, 0, 0, 0}},
        {60.0, {1900, 2, 28, 0, 0, 0}},
        {61.0, {1900, 3, 1, 0, 0, 0}},
        {45000.0 + at(12, 34, 56), {2023, 3, 15, 12, 34, 56}},
        {45000.0 + at(23, 59, 59.7), {2023, 3, 16, 0, 0, 0}},
        {-0.5, {1899, 12, 30, 12, 0, 0}},
        {-1.25, {1899, 12, 29, 6, 0, 0}},
        {-657434.0, {100, 1, 1, 0, 0, 0}},
        {-1e300, {100, 1, 1, 0, 0, 0}},
        {2958465.0, {9999, 12, 31, 0, 0, 0}},
        {2958465.75, {9999, 12, 31, 0, 0, 0}},
        {std::numeric_limits<double>::infinity(), {9999, 12, 31, 0, 0, 0}},
        {std::numeric_limits<double>::quiet_NaN(), {1899, 12, 30, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fields_from_date_time(c.date_time), c.expected) << c.date_time;
    }
}

TEST(Calendar, BuildsDateTimesFromFieldsWithCarries) {
    const std::vector<LocalTime> round_trips = {
        {2026, 12, 7, 21, 5, 33}, {1899, 12, 30, 0, 0, 0}, {2000, 2, 29, 23, 59, 59}, {1600, 3, 1, 1, 2, 3}};
    for (const LocalTime& t : round_trips) {
        EXPECT_EQ(fields_from_date_time(date_time_from_fields(t)), t);
    }
    EXPECT_EQ(date_time_from_fields({2026, 12, 7, 0, 0, 0}), 46363.0);
    EXPECT_EQ(date_time_from_fields({2023, 13, 1, 0, 0, 0}), date_time_from_fields({2024, 1, 1, 0, 0, 0}));
    EXPECT_EQ(date_time_from_fields({2024, 0, 1, 0, 0, 0}), date_time_from_fields({2023, 12, 1, 0, 0, 0}));
    EXPECT_EQ(fields_from_date_time(date_time_from_fields({2023, 3, 15, 24, 0, 60})),
              (LocalTime{2023, 3, 16, 0, 1, 0}));
}

TEST(SecondOf, RoundsToTheNearestSecond) {
    struct Case {
        double date_time;
        int expected;
    };
    const double day = 46363.0;
    const std::vector<Case> cases = {
        {day + at(12, 34, 56), 56},
        {day + at(12, 34, 59.6), 0},
        {day + at(12, 34, 59.4), 59},
        {day + at(12, 34, 0.5), 1},
        {day + at(0, 0, 0), 0},
        {-1.0 - at(12, 34, 56), 56},
        {1e300, 0},
        {-std::numeric_limits<double>::infinity(), 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(second_of(c.date_time), c.expected) << c.date_time;
    }
}

TEST(CurrentDateTime, ReadsTheGivenWallClock) {
    LocalTime now{2026, 12, 7, 21, 5, 0};
    const WallClock clock = [&] { return now; };
    EXPECT_EQ(current_date_time(clock), 46363.0 + at(21, 5, 0));
    EXPECT_EQ(second_of(current_date_time(clock)), 0);
    now.second = 37;
    EXPECT_EQ(second_of(current_date_time(clock)), 37);
    EXPECT_EQ(fields_from_date_time(current_date_time(clock)), now);

    const LocalTime system = fields_from_date_time(current_date_time({}));
    EXPECT_GE(system.year, 2024); // the real clock again, not the replaced one
    EXPECT_LE(system.second, 59);
}

} // namespace
} // namespace tav
