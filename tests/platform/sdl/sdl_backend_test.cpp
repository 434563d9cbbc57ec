// The SDL backend on a real display (skipped without DISPLAY): waiting, waking, signals and
// the windows it makes, through the window system as the program uses it.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/sdl/sdl_backend.hpp"
#include "platform/window_delegate.hpp"
#include "platform/window_system.hpp"

namespace tav::platform {
namespace {

constexpr std::uint64_t kFarAway = 10'000; // ms: a wait that ends this late was not woken

struct Recorder : WindowDelegate {
    int close_requests = 0;
    int session_queries = 0;
    bool refuse_session_end = false;
    int posted = 0;
    void on_close_request() override { ++close_requests; }
    bool on_session_end_query() override {
        ++session_queries;
        return !refuse_session_end;
    }
    void on_posted(std::uint32_t, std::uintptr_t, std::intptr_t) override { ++posted; }
};

class SdlBackendTest : public ::testing::Test {
protected:
    // Waits and dispatches until `done()`; false when that took until the far-away deadline
    // (nothing woke the wait).
    template <typename Done>
    bool wait_until(Done done) {
        Backend& b = system_->backend();
        const std::uint64_t deadline = b.now_ms() + kFarAway;
        while (!done() && b.now_ms() < deadline) {
            b.wait(deadline);
            system_->process_pending();
        }
        return done() && b.now_ms() < deadline;
    }

    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no DISPLAY";
        std::string error;
        auto backend = create_sdl_backend(&error, 1);
        ASSERT_NE(backend, nullptr) << error;
        system_ = std::make_unique<WindowSystem>(std::move(backend));
    }

    std::unique_ptr<WindowSystem> system_;
};

TEST_F(SdlBackendTest, WaitNeverEndsBeforeItsDeadline) {
    Backend& b = system_->backend();
    for (std::uint64_t ms : {1u, 7u, 30u}) {
        const std::uint64_t deadline = b.now_ms() + ms;
        b.wait(deadline);
        EXPECT_GE(b.now_ms(), deadline) << "waiting " << ms << " ms";
    }
    const std::uint64_t past = b.now_ms();
    b.wait(past == 0 ? 0 : past - 1); // a deadline already gone is a poll
}

TEST_F(SdlBackendTest, AnotherThreadWakesTheWaitAndItsPostArrives) {
    Recorder recorder;
    const WindowHandle w = system_->create_top_level(recorder, {50, 40}, {}, "w");
    ASSERT_NE(w, kNoWindow);
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        system_->post_message_threadsafe(w, 1);
    });
    EXPECT_TRUE(wait_until([&] { return recorder.posted == 1; }));
    poster.join();
}

TEST_F(SdlBackendTest, TerminationSignalEndsTheSessionUnlessAWindowRefuses) {
    Recorder game, box;
    const WindowHandle g = system_->create_top_level(game, {505, 584}, {}, "Tavrino");
    TopLevelStyle modal;
    modal.modal_dialog = true;
    const WindowHandle m = system_->create_top_level(box, {200, 100}, modal, "box");
    ASSERT_NE(g, kNoWindow);
    ASSERT_NE(m, kNoWindow);
    system_->show(g, true);
    system_->show(m, true);
    system_->process_pending();

    // Every window is asked, the box included; one refusing keeps the program going.
    box.refuse_session_end = true;
    std::raise(SIGTERM); // would end the test program if it were not taken over
    EXPECT_TRUE(wait_until([&] { return box.session_queries == 1; }));
    EXPECT_EQ(game.session_queries, 1);
    EXPECT_FALSE(system_->quit_posted());

    box.refuse_session_end = false;
    std::raise(SIGINT);
    EXPECT_TRUE(wait_until([&] { return system_->quit_posted(); }));
    EXPECT_EQ(system_->exit_code(), 0);
    EXPECT_EQ(game.session_queries, 2);
    EXPECT_EQ(game.close_requests + box.close_requests, 0); // nothing is closed under the box
}

TEST_F(SdlBackendTest, PresentsOnlyWhatTheWindowHolds) {
    Recorder recorder;
    const WindowHandle w = system_->create_top_level(recorder, {64, 48}, {}, "w");
    ASSERT_NE(w, kNoWindow);
    system_->show(w, true);
    system_->process_pending();
    const Bitmap small(16, 16, rgb(1, 2, 3));
    const Rect areas[] = {{-10, -10, 100, 100}, {60, 40, 50, 50}, {200, 200, 5, 5}, {0, 0, 0, 0}};
    system_->backend().present(w, small, areas); // must stay inside both bitmap and surface
    const Bitmap big(640, 480, rgb(4, 5, 6));
    system_->backend().present(w, big, areas);
    system_->backend().present(kNoWindow + 999, big, areas); // no such window: nothing happens
    const Size screen = system_->backend().screen_size();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
}

} // namespace
} // namespace tav::platform
