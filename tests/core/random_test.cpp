#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <thread>
#include <vector>

#include "core/random.hpp"

namespace tav {
namespace {

// The first raw values of a generator that starts at state 1.
constexpr std::array<std::int32_t, 10> kFirstRaw = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

// A draw over 0..32767 returns the raw value itself.
std::int32_t draw_raw(RandomSource& r) { return r.in_range(0, 32767); }

std::vector<std::int32_t> draws(RandomSource& r, std::int32_t lower, std::int32_t upper, int count) {
    std::vector<std::int32_t> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(r.in_range(lower, upper));
    }
    return out;
}

TEST(RandomInRange, FollowsTheGeneratorFromStateOne) {
    RandomSource r;
    for (std::int32_t expected : kFirstRaw) {
        EXPECT_EQ(draw_raw(r), expected);
    }
    r = RandomSource{};
    EXPECT_EQ(draws(r, 0, 200, 5), (std::vector<std::int32_t>{41, 176, 103, 169, 74}));
    r = RandomSource{};
    EXPECT_EQ(r.in_range(0, 60), 41);
    r = RandomSource{};
    EXPECT_EQ(r.in_range(1, 20), 2);
}

TEST(RandomInRange, NormalisesBoundsAsDocumented) {
    RandomSource r;
    struct Case {
        std::int32_t lower, upper;
        std::int32_t same_as_lower, same_as_upper;
    };
    // Each pair must draw the same sequence as its normalised form.
    const std::vector<Case> cases = {
        {20, 1, 1, 20},
        {-5, 3, 0, 3},
        {3, -5, 0, 3},
        {0, kMax32, 0, 32767}, // span capped at 0x7FFFFFFE: raw values pass unchanged
    };
    for (const Case& c : cases) {
        r = RandomSource{};
        const auto got = draws(r, c.lower, c.upper, 8);
        r = RandomSource{};
        EXPECT_EQ(got, draws(r, c.same_as_lower, c.same_as_upper, 8)) << c.lower << ", " << c.upper;
    }
    r = RandomSource{};
    EXPECT_EQ(r.in_range(1, kMax32), 42);
    EXPECT_EQ(r.in_range(kMax32 - 1, kMax32), kMax32 - 1 + 18467 % 2);
}

TEST(RandomInRange, EqualBoundsDoNotStepTheGenerator) {
    RandomSource r;
    EXPECT_EQ(r.in_range(7, 7), 7);
    EXPECT_EQ(r.in_range(-3, -9), 0); // both raised to 0
    EXPECT_EQ(r.in_range(kMax32, kMax32), kMax32);
    EXPECT_EQ(draw_raw(r), kFirstRaw[0]);
    EXPECT_EQ(r.in_range(Value::of_integer(4), Value::of_integer(4)), 4);
    EXPECT_EQ(draw_raw(r), kFirstRaw[1]);
}

TEST(RandomInRange, TakesTaggedBoundsWithAbsentDefaults) {
    RandomSource r;
    EXPECT_EQ(r.in_range(Value(), Value()), kFirstRaw[0]); // 0 .. 0x7FFFFFFF
    EXPECT_EQ(r.in_range(Value(), Value::of_integer(60)), kFirstRaw[1] % 61);
    EXPECT_EQ(r.in_range(Value::of_integer(10), Value()), 10 + kFirstRaw[2]);
    EXPECT_EQ(r.in_range(Value::of_integer(-10), Value::of_integer(200)), kFirstRaw[3] % 201);
    EXPECT_EQ(r.in_range(Value::of_text(Text("20")), Value::of_double(1.9)), 1 + kFirstRaw[4] % 20);
}

TEST(RandomInRange, StaysWithinBoundsAndReachesEveryValue) {
    RandomSource random;
    std::array<int, 5> seen{};
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t r = random.in_range(5, 9);
        ASSERT_GE(r, 5);
        ASSERT_LE(r, 9);
        ++seen[static_cast<std::size_t>(r - 5)];
    }
    for (int count : seen) {
        EXPECT_GT(count, 0);
    }
}

TEST(RandomInRange, EachGeneratorHasItsOwnSequence) {
    RandomSource r;
    EXPECT_EQ(draw_raw(r), kFirstRaw[0]);
    EXPECT_EQ(draw_raw(r), kFirstRaw[1]);
    // Two threads draw at the same time, each with its own generator; each starts at state 1
    // and sees the whole sequence.
    std::array<std::vector<std::int32_t>, 2> seen;
    {
        std::jthread a([&] {
            RandomSource own;
            seen[0] = draws(own, 0, 32767, 10);
        });
        std::jthread b([&] {
            RandomSource own;
            seen[1] = draws(own, 0, 32767, 10);
        });
    }
    const std::vector<std::int32_t> expected(kFirstRaw.begin(), kFirstRaw.end());
    EXPECT_EQ(seen[0], expected);
    EXPECT_EQ(seen[1], expected);
    // The first generator's sequence carries on where it was.
    EXPECT_EQ(draw_raw(r), kFirstRaw[2]);
}

} // namespace
} // namespace tav
