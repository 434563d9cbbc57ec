// Timers: restart on set, merged late ticks, phase keeping, ticks only when the queue is empty.

#include <gtest/gtest.h>

#include "fake_window.hpp"

namespace tav::platform::test {
namespace {

struct TimerTest : ::testing::Test {
    Desk d;
    FakeWindow& w = d.delegate("w");
    WindowHandle h = d.top(w, {100, 100});
    std::vector<std::uint64_t> ticks; // virtual times of the ticks

    void SetUp() override {
        d.ws->process_pending(); // the first paint
        d.log.clear();
        w.timer_action = [this](int) { ticks.push_back(d.ws->now_ms()); };
    }
};

TEST_F(TimerTest, SettingATimerRestartsItsPeriodFromThatMoment) {
    // Set from inside its own tick: the next tick one new period later.
    w.timer_action = [this](int) {
        ticks.push_back(d.ws->now_ms());
        if (ticks.size() == 1) d.ws->set_timer(h, 1, 70);
    };
    d.ws->set_timer(h, 1, 100);
    d.backend->run_for(250);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{100, 170, 240}));

    // Set twice in a row: the second set wins and restarts the period again.
    ticks.clear();
    w.timer_action = [this](int) { ticks.push_back(d.ws->now_ms()); };
    d.ws->set_timer(h, 2, 50);
    d.ws->kill_timer(h, 1);
    d.backend->advance(20);
    d.ws->set_timer(h, 2, 50);
    d.backend->run_for(60);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{320}));

    // Killing stops it for good; periods under the minimum are raised to it.
    d.ws->kill_timer(h, 2);
    d.backend->run_for(200);
    EXPECT_EQ(ticks.size(), 1u);
    d.ws->set_timer(h, 3, 1);
    const std::uint64_t start = d.ws->now_ms();
    d.backend->run_for(25);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{320, start + kMinTimerPeriodMs, start + 2 * kMinTimerPeriodMs}));
}

TEST_F(TimerTest, KeepsItsPhaseAndMergesTicksThatFallDueWhileAHandlerRuns) {
    // On time: every tick exactly on the 30 ms grid.
    d.ws->set_timer(h, 1, 30);
    d.backend->run_for(150);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{30, 60, 90, 120, 150}));

    // A handler that blocks for several periods: exactly one tick afterwards, then one period on.
    ticks.clear();
    w.timer_action = [this](int) {
        ticks.push_back(d.ws->now_ms());
        if (ticks.size() == 1) d.backend->advance(200);
    };
    d.backend->run_for(200);
    // 180 blocked until 380; the merged tick at 380; then 410, 440 (due ticks are not replayed).
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{180, 380}));
    d.backend->run_for(60);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{180, 380, 410, 440}));

    // Less than a period late: the grid is kept (no drift), with no extra tick.
    ticks.clear();
    w.timer_action = [this](int) {
        ticks.push_back(d.ws->now_ms());
        if (ticks.size() == 1) d.backend->advance(20);
    };
    d.backend->run_for(100);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{470, 500, 530}));
}

TEST_F(TimerTest, TicksComeOnlyWhenNoMessageOrPaintWaits) {
    d.ws->set_timer(h, 7, 10);
    w.posted_action = [this](std::uint32_t m) {
        if (m == 1) {
            d.backend->advance(50); // the timer falls due while messages wait
            d.ws->post_message(h, 3);
            d.ws->invalidate(h, Rect{0, 0, 5, 5});
        }
    };
    d.ws->post_message(h, 1);
    d.ws->post_message(h, 2);
    d.ws->process_pending();
    EXPECT_EQ(d.log, (std::vector<std::string>{"w:posted 1", "w:posted 2", "w:posted 3", "w:paint", "w:timer 7"}));
}

TEST_F(TimerTest, TicksOfADestroyedWindowVanish) {
    FakeWindow& c = d.delegate("c");
    const WindowHandle child = d.child(h, c, {0, 0, 10, 10});
    int child_ticks = 0;
    c.timer_action = [&](int) { ++child_ticks; };
    d.ws->set_timer(child, 1, 25);
    d.ws->set_timer(h, 1, 20);
    // At 20 the top-level's handler runs past the child's due time, then destroys the child:
    // the child's overdue tick must not arrive.
    w.timer_action = [&](int) {
        d.backend->advance(10);
        d.ws->destroy(child);
    };
    d.backend->run_for(100);
    EXPECT_EQ(child_ticks, 0);
    EXPECT_FALSE(d.ws->exists(child));
}

} // namespace
} // namespace tav::platform::test
