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
std::int32_t DrawRaw() {
    return RandomInRange(0, 32767);
}

std::vector<std::int32_t> Draws(std::int32_t lower, std::int32_t upper, int count) {
    std::vector<std::int32_t> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(RandomInRange(lower, upper));
    }
    return out;
}

TEST(RandomInRange, FollowsTheGeneratorFromStateOne) {
    ResetRandomForThisThread();
    for (std::int32_t expected : kFirstRaw) {
        EXPECT_EQ(DrawRaw(), expected);
    }
    ResetRandomForThisThread();
    EXPECT_EQ(Draws(0, 200, 5), (std::vector<std::int32_t>{41, 176, 103, 169, 74}));
    ResetRandomForThisThread();
    EXPECT_EQ(RandomInRange(0, 60), 41);
    ResetRandomForThisThread();
    EXPECT_EQ(RandomInRange(1, 20), 2);
}

TEST(RandomInRange, NormalisesBoundsAsDocumented) {
    struct Case {
        std::int32_t lower, upper;
        std::int32_t sameAsLower, sameAsUpper;
    };
    // Each pair must draw the same sequence as its normalised form.
    const std::vector<Case> cases = {
        {20, 1, 1, 20},
        {-5, 3, 0, 3},
        {3, -5, 0, 3},
        {0, kMax32, 0, 32767}, // span capped at 0x7FFFFFFE: raw values pass unchanged
    };
    for (const Case& c : cases) {
        ResetRandomForThisThread();
        const auto got = Draws(c.lower, c.upper, 8);
        ResetRandomForThisThread();
        EXPECT_EQ(got, Draws(c.sameAsLower, c.sameAsUpper, 8)) << c.lower << ", " << c.upper;
    }
    ResetRandomForThisThread();
    EXPECT_EQ(RandomInRange(1, kMax32), 42);
    EXPECT_EQ(RandomInRange(kMax32 - 1, kMax32), kMax32 - 1 + 18467 % 2);
}

TEST(RandomInRange, EqualBoundsDoNotStepTheGenerator) {
    ResetRandomForThisThread();
    EXPECT_EQ(RandomInRange(7, 7), 7);
    EXPECT_EQ(RandomInRange(-3, -9), 0); // both raised to 0
    EXPECT_EQ(RandomInRange(kMax32, kMax32), kMax32);
    EXPECT_EQ(DrawRaw(), kFirstRaw[0]);
    EXPECT_EQ(RandomInRange(Value::OfInteger(4), Value::OfInteger(4)), 4);
    EXPECT_EQ(DrawRaw(), kFirstRaw[1]);
}

TEST(RandomInRange, TakesTaggedBoundsWithAbsentDefaults) {
    ResetRandomForThisThread();
    EXPECT_EQ(RandomInRange(Value(), Value()), kFirstRaw[0]); // 0 .. 0x7FFFFFFF
    EXPECT_EQ(RandomInRange(Value(), Value::OfInteger(60)), kFirstRaw[1] % 61);
    EXPECT_EQ(RandomInRange(Value::OfInteger(10), Value()), 10 + kFirstRaw[2]);
    EXPECT_EQ(RandomInRange(Value::OfInteger(-10), Value::OfInteger(200)), kFirstRaw[3] % 201);
    EXPECT_EQ(RandomInRange(Value::OfText(Text("20")), Value::OfDouble(1.9)), 1 + kFirstRaw[4] % 20);
}

TEST(RandomInRange, StaysWithinBoundsAndReachesEveryValue) {
    ResetRandomForThisThread();
    std::array<int, 5> seen{};
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t r = RandomInRange(5, 9);
        ASSERT_GE(r, 5);
        ASSERT_LE(r, 9);
        ++seen[static_cast<std::size_t>(r - 5)];
    }
    for (int count : seen) {
        EXPECT_GT(count, 0);
    }
}

TEST(RandomInRange, EachThreadHasItsOwnSequence) {
    ResetRandomForThisThread();
    EXPECT_EQ(DrawRaw(), kFirstRaw[0]);
    EXPECT_EQ(DrawRaw(), kFirstRaw[1]);
    // Two threads draw at the same time; each starts at state 1 and sees the whole sequence.
    std::array<std::vector<std::int32_t>, 2> seen;
    {
        std::jthread a([&] { seen[0] = Draws(0, 32767, 10); });
        std::jthread b([&] { seen[1] = Draws(0, 32767, 10); });
    }
    const std::vector<std::int32_t> expected(kFirstRaw.begin(), kFirstRaw.end());
    EXPECT_EQ(seen[0], expected);
    EXPECT_EQ(seen[1], expected);
    // This thread's sequence carries on where it was.
    EXPECT_EQ(DrawRaw(), kFirstRaw[2]);
}

} // namespace
} // namespace tav
