// Timers: ticks at their interval, sets of the same or another interval, changes from inside
// their own handler, merged ticks after a long handler.
#include <gtest/gtest.h>

#include "test_window.hpp"

namespace tav::test {
namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override {
        p.load();
        start = p.ws().now_ms();
        p.log.actions["timer:Tick"] = [this](auto) {
            ticks.push_back(p.ws().now_ms() - start);
            if (on_tick) on_tick();
            return std::nullopt;
        };
    }
    TestProgram p;
    std::uint64_t start = 0;
    std::vector<std::uint64_t> ticks;
    std::function<void()> on_tick;
};

TEST_F(Timers, TickEveryIntervalAndSameIntervalDoesNotRestart) {
    p.set(kTimer, 8, Value::OfInteger(50));
    p.backend->run_for(30);
    p.set(kTimer, 8, Value::OfInteger(50)); // unchanged: the tick at 50 still comes
    p.backend->run_for(120);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{50, 100, 150}));

    // A different interval restarts the period from the set.
    p.set(kTimer, 8, Value::OfInteger(40));
    p.backend->run_for(80);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{50, 100, 150, 190, 230}));

    // A negative interval reads back 0 and stops the timer.
    p.set(kTimer, 8, Value::OfInteger(-5));
    EXPECT_EQ(p.get_int(kTimer, 8), 0);
    p.backend->run_for(500);
    EXPECT_EQ(ticks.size(), 5u);
}

TEST_F(Timers, AHandlerChangingItsOwnIntervalTakesEffectFromThatMoment) {
    on_tick = [this] {
        if (ticks.size() == 1) p.set(kTimer, 8, Value::OfInteger(200));
        if (ticks.size() == 3) p.set(kTimer, 8, Value::OfInteger(0));
    };
    p.set(kTimer, 8, Value::OfInteger(30));
    p.backend->run_for(1000);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{30, 230, 430}));
}

TEST_F(Timers, TicksFallingDueDuringALongHandlerAreMergedNotQueued) {
    on_tick = [this] {
        if (ticks.size() == 1) p.backend->advance(250); // the first handler blocks for 250 ms
    };
    p.set(kTimer, 8, Value::OfInteger(50));
    p.backend->run_for(400);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{50, 300, 350, 400}));
}

} // namespace
} // namespace tav::test
