// The SDL backend on a real display (skipped without DISPLAY): waiting, waking, signals and
// the windows it makes, through the window system as the program uses it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "gfx/system_colors.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "platform/window_delegate.hpp"
#include "platform/window_system.hpp"

namespace tav::platform {
namespace {

constexpr std::uint64_t kFarAway = 10'000; // ms: a wait that ends this late was not woken

struct Recorder : WindowDelegate {
    std::vector<Point> downs;
    void on_mouse_down(MouseButton, Point p, std::uint32_t) override { downs.push_back(p); }
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

// The SDL window of ours with this title (SDL numbers its windows from 1).
SDL_Window* sdl_window_titled(std::string_view title) {
    for (Uint32 id = 1; id < 1000; ++id) {
        SDL_Window* w = SDL_GetWindowFromID(id);
        if (w != nullptr && title == SDL_GetWindowTitle(w)) return w;
    }
    return nullptr;
}

Argb surface_pixel(SDL_Surface* s, int x, int y) {
    Uint32 v = 0;
    std::memcpy(&v, static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
                s->format->BytesPerPixel);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(v, s->format, &r, &g, &b);
    return rgb(r, g, b);
}

TEST_F(SdlBackendTest, ClientEdgeSurroundsTheFramebufferAndTheMouseStartsInsideIt) {
    Recorder recorder;
    TopLevelStyle style;
    style.client_edge = true;
    const WindowHandle w = system_->create_top_level(recorder, {40, 30}, style, "edge");
    ASSERT_NE(w, kNoWindow);
    EXPECT_EQ(system_->backend().frame_size(style).width, system_->backend().frame_size({}).width + 4);
    system_->show(w, true);
    system_->process_pending();
    SDL_Window* native = sdl_window_titled("edge");
    ASSERT_NE(native, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowSize(native, &width, &height);
    EXPECT_EQ(width, 44);
    EXPECT_EQ(height, 34);

    const Bitmap red(40, 30, rgb(255, 0, 0));
    const Rect all[] = {{0, 0, 40, 30}};
    system_->backend().present(w, red, all);
    SDL_Surface* s = SDL_GetWindowSurface(native);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->w, 44);
    EXPECT_EQ(surface_pixel(s, 0, 0), syscolor::kShadow);
    EXPECT_EQ(surface_pixel(s, 1, 1), syscolor::kDarkShadow);
    EXPECT_EQ(surface_pixel(s, 43, 33), syscolor::kHighlight);
    EXPECT_EQ(surface_pixel(s, 42, 32), syscolor::kLight);
    EXPECT_EQ(surface_pixel(s, 2, 2), rgb(255, 0, 0));
    EXPECT_EQ(surface_pixel(s, 41, 31), rgb(255, 0, 0));

    // A click on the first client pixel, just inside the edge, is at (0, 0).
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.windowID = SDL_GetWindowID(native);
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.clicks = 1;
    e.button.x = 2;
    e.button.y = 2;
    SDL_PushEvent(&e);
    ASSERT_TRUE(wait_until([&] { return !recorder.downs.empty(); }));
    EXPECT_EQ(recorder.downs.front(), (Point{0, 0}));
}

// What our windows tell the window manager before it takes them on, read back from X.
TEST_F(SdlBackendTest, ToolTopMostAndUnmovableWindowsSayItToTheWindowManager) {
    Recorder plain_r, tool_r;
    const WindowHandle plain = system_->create_top_level(plain_r, {40, 30}, {}, "plain");
    TopLevelStyle style;
    style.tool_window = true;
    style.top_most = true;
    style.movable = false;
    const WindowHandle tool = system_->create_top_level(tool_r, {40, 30}, style, "tool");
    ASSERT_NE(plain, kNoWindow);
    ASSERT_NE(tool, kNoWindow);

    struct Seen {
        bool utility = false, above = false, movable = false, skips_task_bar = false;
    };
    const auto seen = [](const char* title) {
        Seen out;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        SDL_Window* native = sdl_window_titled(title);
        EXPECT_NE(native, nullptr) << title;
        if (native == nullptr || !SDL_GetWindowWMInfo(native, &info) || info.subsystem != SDL_SYSWM_X11) return out;
        Display* d = info.info.x11.display;
        const ::Window x = info.info.x11.window;
        const auto longs = [&](const char* name, Atom type) {
            Atom actual = None;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            std::vector<long> v;
            if (XGetWindowProperty(d, x, XInternAtom(d, name, False), 0, 64, False, type, &actual, &format, &count,
                                   &after, &data) == Success &&
                data != nullptr && format == 32) {
                v.assign(reinterpret_cast<const long*>(data), reinterpret_cast<const long*>(data) + count);
            }
            if (data != nullptr) XFree(data);
            return v;
        };
        const auto has = [&](const std::vector<long>& v, const char* atom) {
            return std::find(v.begin(), v.end(), long(XInternAtom(d, atom, False))) != v.end();
        };
        out.utility = has(longs("_NET_WM_WINDOW_TYPE", XA_ATOM), "_NET_WM_WINDOW_TYPE_UTILITY");
        const auto state = longs("_NET_WM_STATE", XA_ATOM);
        out.above = has(state, "_NET_WM_STATE_ABOVE");
        out.skips_task_bar = has(state, "_NET_WM_STATE_SKIP_TASKBAR");
        const Atom motif = XInternAtom(d, "_MOTIF_WM_HINTS", False);
        const auto mwm = longs("_MOTIF_WM_HINTS", motif);
        constexpr long kFunctionMove = 4;
        out.movable = mwm.size() < 2 || (mwm[1] & kFunctionMove) != 0;
        return out;
    };
    const Seen p = seen("plain");
    EXPECT_FALSE(p.utility);
    EXPECT_FALSE(p.skips_task_bar);
    EXPECT_FALSE(p.above);
    EXPECT_TRUE(p.movable);
    const Seen t = seen("tool");
    EXPECT_TRUE(t.utility);
    EXPECT_TRUE(t.skips_task_bar);
    EXPECT_TRUE(t.above);
    EXPECT_FALSE(t.movable);
}

} // namespace
} // namespace tav::platform
