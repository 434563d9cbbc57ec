// Timers: ticks at their interval, sets of the same or another interval, changes from inside
// their own handler, merged ticks after a long handler.
#include <gtest/gtest.h>

#include "test_window.hpp"

namespace tav::test {
namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override {
        p_.load();
        start_ = p_.ws().now_ms();
        p_.log.actions["timer:Tick"] = [this](auto) {
            ticks_.push_back(p_.ws().now_ms() - start_);
            if (on_tick_) on_tick_();
            return std::nullopt;
        };
    }
    TestProgram p_;
    std::uint64_t start_ = 0;
    std::vector<std::uint64_t> ticks_;
    std::function<void()> on_tick_;
};

TEST_F(Timers, TickEveryIntervalAndSameIntervalDoesNotRestart) {
    p_.set(kTimer, 8, Value::of_integer(50));
    p_.backend->run_for(30);
    p_.set(kTimer, 8, Value::of_integer(50)); // unchanged: the tick at 50 still comes
    p_.backend->run_for(120);
    EXPECT_EQ(ticks_, (std::vector<std::uint64_t>{50, 100, 150}));

    // A different interval restarts the period from the set.
    p_.set(kTimer, 8, Value::of_integer(40));
    p_.backend->run_for(80);
    EXPECT_EQ(ticks_, (std::vector<std::uint64_t>{50, 100, 150, 190, 230}));

    // A negative interval reads back 0 and stops the timer.
    p_.set(kTimer, 8, Value::of_integer(-5));
    EXPECT_EQ(p_.get_int(kTimer, 8), 0);
    p_.backend->run_for(500);
    EXPECT_EQ(ticks_.size(), 5u);
}

TEST_F(Timers, AHandlerChangingItsOwnIntervalTakesEffectFromThatMoment) {
    on_tick_ = [this] {
        if (ticks_.size() == 1) p_.set(kTimer, 8, Value::of_integer(200));
        if (ticks_.size() == 3) p_.set(kTimer, 8, Value::of_integer(0));
    };
    p_.set(kTimer, 8, Value::of_integer(30));
    p_.backend->run_for(1000);
    EXPECT_EQ(ticks_, (std::vector<std::uint64_t>{30, 230, 430}));
}

TEST_F(Timers, TicksFallingDueDuringALongHandlerAreMergedNotQueued) {
    on_tick_ = [this] {
        if (ticks_.size() == 1) p_.backend->advance(250); // the first handler blocks for 250 ms
    };
    p_.set(kTimer, 8, Value::of_integer(50));
    p_.backend->run_for(400);
    EXPECT_EQ(ticks_, (std::vector<std::uint64_t>{50, 300, 350, 400}));
}

} // namespace
} // namespace tav::test
