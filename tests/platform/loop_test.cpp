// Loops: nesting with timers ticking inside, quit ending every loop, the end of work in the
// headless backend, and posts from other threads.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "core/clock.hpp"
#include "fake_window.hpp"

namespace tav::platform::test {
namespace {

TEST(LoopTest, NestedLoopKeepsTimersTickingAndQuitEndsEveryLoop) {
    Desk d;
    FakeWindow& w = d.delegate("w");
    const WindowHandle h = d.top(w, {200, 100});
    FakeWindow& b = d.delegate("button");
    const WindowHandle button = d.child(h, b, {10, 10, 50, 20});

    int depth = 0;
    std::vector<int> tick_depths;
    bool inner_returned_by_quit = false;
    w.timer_action = [&](int) {
        tick_depths.push_back(depth);
        if (tick_depths.size() == 5) {
            d.ws->post_message(h, 42);
            d.ws->post_quit(3);
        }
    };
    // A click opens a "modal" loop, as a message box does; it runs until quit.
    b.down_action = [&] {
        ++depth;
        inner_returned_by_quit = !d.ws->run();
        --depth;
    };
    d.ws->set_timer(h, 1, 40);
    d.backend->schedule_click(h, {20, 20}, MouseButton::Left, 100);
    const bool outer = d.ws->run();

    EXPECT_FALSE(outer);
    EXPECT_TRUE(inner_returned_by_quit);
    EXPECT_TRUE(d.ws->quit_posted());
    EXPECT_EQ(d.ws->exit_code(), 3);
    // Two ticks before the click, three inside the nested loop, none after the quit.
    EXPECT_EQ(tick_depths, (std::vector<int>{0, 0, 1, 1, 1}));
    EXPECT_EQ(d.ws->now_ms(), 200u);
    // The nested loop took the mouse-up queued behind the down; the quit ends the loops at once,
    // before the message posted with it.
    EXPECT_EQ(std::count(d.log.begin(), d.log.end(), "button:up"), 1);
    EXPECT_EQ(std::count(d.log.begin(), d.log.end(), "w:posted 42"), 0);
    (void)button;
}

TEST(LoopTest, RunEndsWhenNothingCanHappenAndUntilIsCheckedFirst) {
    Desk d;
    FakeWindow& w = d.delegate("w");
    const WindowHandle h = d.top(w, {10, 10});
    d.ws->process_pending(); // the first paint
    d.ws->post_message(h, 9);
    // Nothing scheduled, no timer: the loop does what is queued and returns instead of hanging.
    EXPECT_TRUE(d.ws->run());
    EXPECT_EQ(d.log.back(), "w:posted 9");
    EXPECT_EQ(d.ws->now_ms(), 0u);

    // until() true at once: nothing is dispatched.
    d.ws->post_message(h, 10);
    EXPECT_TRUE(d.ws->run([] { return true; }));
    EXPECT_EQ(d.log.back(), "w:posted 9");
    d.ws->process_pending();
    EXPECT_EQ(d.log.back(), "w:posted 10");

    // run_until stops at the condition, not at the limit.
    int ticks = 0;
    w.timer_action = [&](int) { ++ticks; };
    d.ws->set_timer(h, 1, 10);
    EXPECT_TRUE(d.backend->run_until([&] { return ticks == 3; }, 1000));
    EXPECT_EQ(d.ws->now_ms(), 30u);
    EXPECT_FALSE(d.backend->run_until([&] { return ticks == 100; }, 50));
    EXPECT_EQ(d.ws->now_ms(), 80u);
}

TEST(LoopTest, ALoopNestedInRunForGoesOnPastItsEndAndARunawayOneFails) {
    Desk d;
    FakeWindow& w = d.delegate("w");
    const WindowHandle h = d.top(w, {10, 10});
    int ticks = 0;
    bool box_open = false;
    w.timer_action = [&](int) { ++ticks; };
    // A box opened at 50 and closed by a key at 300: the nested loop outlives run_for(100).
    w.posted_action = [&](std::uint32_t) {
        box_open = true;
        d.ws->run([&] { return !box_open; });
    };
    w.on_key = [&](int) { box_open = false; };
    d.ws->set_timer(h, 1, 40);
    d.backend->schedule(50, [&] { d.ws->post_message(h, 1); });
    d.backend->schedule_key(h, vk::kEscape, true, 300);
    d.backend->run_for(100);
    EXPECT_FALSE(box_open);
    EXPECT_EQ(d.ws->now_ms(), 300u);
    EXPECT_EQ(ticks, 7);

    // Never closed, with a timer running: a clear failure instead of a hang.
    d.backend->schedule(d.ws->now_ms() + 10, [&] { d.ws->post_message(h, 1); });
    EXPECT_THROW(d.backend->run_for(100), std::runtime_error);
}

TEST(LoopTest, PostsFromOtherThreadsArriveInOrderAndCanQuit) {
    Desk d;
    FakeWindow& w = d.delegate("w");
    const WindowHandle h = d.top(w, {10, 10});
    std::vector<std::uint32_t> got;
    d.backend->set_wait_for_threads(true);

    constexpr std::uint32_t kCount = 2000;
    std::atomic<std::uint32_t> received{0};
    w.posted_action = [&](std::uint32_t m) {
        got.push_back(m);
        received.store(static_cast<std::uint32_t>(got.size()));
    };
    std::thread poster([&] {
        for (std::uint32_t i = 0; i < kCount; ++i) d.ws->post_message_threadsafe(h, i);
        while (received.load() < kCount) std::this_thread::yield();
        d.ws->request_quit_threadsafe(7);
    });
    const bool run_result = d.ws->run();
    poster.join();

    EXPECT_FALSE(run_result);
    EXPECT_EQ(d.ws->exit_code(), 7);
    ASSERT_EQ(got.size(), kCount);
    for (std::uint32_t i = 0; i < kCount; ++i) ASSERT_EQ(got[i], i);
}

TEST(LoopTest, WallClockFollowsTheVirtualClock) {
    Desk d;
    const tav::WallClock running = d.backend->wall_clock({2026, 12, 31, 23, 59, 58});
    EXPECT_EQ(tav::second_of(tav::current_date_time(running)), 58);
    d.backend->run_for(2999); // 2.999 s: whole seconds only
    const LocalTime t = tav::fields_from_date_time(tav::current_date_time(running));
    EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
              (std::vector<int>{2027, 1, 1, 0, 0, 0}));
    // Held: the seconds stay where they were put, whatever the virtual time.
    const tav::WallClock held = d.backend->wall_clock({2026, 1, 1, 12, 0, 0}, false);
    d.backend->run_for(90000);
    EXPECT_EQ(tav::second_of(tav::current_date_time(held)), 0);
}

} // namespace
} // namespace tav::platform::test
