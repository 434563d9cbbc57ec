// The real main window loaded on the headless backend: every control built with its stored
// values, stacked in layout order, and the bindings reached through real input.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "assets/assets.hpp"
#include "core/gbk.hpp"
#include "game/board.hpp"
#include "game/main_window_layout.hpp"
#include "gfx/logfont.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"

namespace tav::ui {
namespace {

constexpr int kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3, kVisible = 5;

struct LoadedMainWindow {
    std::vector<std::string> calls;
    platform::HeadlessBackend* backend = nullptr;
    std::unique_ptr<Runtime> runtime;

    LoadedMainWindow() {
        MainWindowHandlers h;
        h.window_created = [this] { calls.push_back("created"); };
        h.window_right_down = [this](std::int32_t, std::int32_t, std::int32_t) { calls.push_back("right"); };
        h.start_spin = [this] { calls.push_back("start"); };
        h.add_credits = [this] { calls.push_back("credits"); };
        h.change_bet = [this](std::uint32_t display, std::int32_t step) {
            calls.push_back("bet " + std::to_string(display) + " " + std::to_string(step));
        };
        h.run_length_tick = [this] { calls.push_back("run length"); };
        auto b = std::make_unique<platform::HeadlessBackend>();
        backend = b.get();
        runtime = std::make_unique<Runtime>(main_window_layout(h), std::move(b));
        runtime->load_window(kMainWindowId);
    }

    Value get(std::string_view name, int index) {
        return runtime->get_property(kMainWindowId, main_window_control_id(name), index);
    }
    Value get_window(int index) { return runtime->get_property(kMainWindowId, kWindowSelfControlId, index); }
    platform::WindowHandle top() { return runtime->window_handle_of(kMainWindowId); }
    platform::WindowHandle handle(std::string_view name) {
        return runtime->find_control(kMainWindowId, main_window_control_id(name))->handle();
    }
    // A point inside control `name`, `dx`, `dy` from its corner, in the window's client area.
    Point at(std::string_view name, int dx, int dy) {
        return {get(name, kLeft).as_integer() + dx, get(name, kTop).as_integer() + dy};
    }
};

TEST(MainWindowLoad, EveryControlAnswersWithItsStoredValues) {
    LoadedMainWindow w;
    ASSERT_TRUE(w.runtime->is_loaded(kMainWindowId));

    // The window: its caption, a client area of 505 × 584, centred on the screen.
    EXPECT_EQ(w.get_window(8).text(), gbk("Tavrino"));
    EXPECT_EQ(w.backend->native(w.top())->caption, "Tavrino");
    EXPECT_EQ(w.runtime->windows().client_size(w.top()), (Size{505, 584}));
    const Point corner = w.runtime->windows().rect(w.top()).origin();
    EXPECT_EQ(corner, (Point{(platform::HeadlessBackend::kScreenSize.width - 505) / 2,
                             (platform::HeadlessBackend::kScreenSize.height - 584) / 2}));
    EXPECT_TRUE(w.runtime->windows().is_visible(w.top()));

    // Every control exists with its rectangle and visibility.
    const LayoutData layout = main_window_layout({});
    for (const ControlTemplate& c : layout.windows[0].controls) {
        if (c.id == kWindowSelfControlId) continue;
        ASSERT_NE(w.runtime->find_control(kMainWindowId, c.id), nullptr) << c.name;
        EXPECT_EQ(w.get(c.name, kLeft).as_integer(), c.rect.x) << c.name;
        EXPECT_EQ(w.get(c.name, kTop).as_integer(), c.rect.y) << c.name;
        EXPECT_EQ(w.get(c.name, kWidth).as_integer(), c.rect.width) << c.name;
        EXPECT_EQ(w.get(c.name, kHeight).as_integer(), c.rect.height) << c.name;
        if (c.kind == kind_id::kTimer) continue; // never drawn: its flag is only stored
        EXPECT_EQ(w.get(c.name, kVisible).as_integer(), c.visible ? 1 : 0) << c.name;
    }

    EXPECT_EQ(w.get(game::board::kCredits, 8).text(), Text("0"));
    EXPECT_EQ(w.get(game::board::kOdds, 8).text(), Text("0"));
    EXPECT_EQ(w.get("标签x", 8).text(), gbk("总分:"));
    EXPECT_EQ(w.get(game::board::kLegendText, 8).text().size(), 80u);
    EXPECT_EQ(w.get(game::board::kRing[6].lamp, kVisible).as_integer(), 0);
    EXPECT_FALSE(w.runtime->windows().is_visible(w.handle(game::board::kRing[6].lamp)));
    EXPECT_EQ(w.get(game::board::kAccelerationTimer, 8).as_integer(), 0);
    EXPECT_TRUE(w.get(game::board::kLampPosition, 8).absent()); // empty content reads as no text
    EXPECT_TRUE(w.get(game::board::kIntervalReadout, 8).absent());
    EXPECT_TRUE(w.get(game::board::kPrizePicture, 10).absent());
    EXPECT_TRUE(std::ranges::equal(w.get(game::board::kRing[0].picture, 10).bytes(),
                                   assets::large_picture(assets::Motif::Knot)));
    EXPECT_TRUE(std::ranges::equal(w.get(game::board::kLegendPictures[8], 10).bytes(),
                                   assets::small_picture(assets::Motif::Butterfly)));
    EXPECT_EQ(parse_log_font(w.get(game::board::kStartButton, 13).bytes()),
              parse_log_font(make_log_font(gbk("楷体_GB2312").view(), 21, kWeightBold)));
    EXPECT_EQ(parse_log_font(w.get(game::board::kAddCreditsButton, 13).bytes()), stock_gui_font());
    EXPECT_EQ(static_cast<std::uint32_t>(w.get(game::board::kWin, 16).as_integer()), 0x0000FF00u);

    // Stacked in layout order: the children of the window from the top down.
    const auto order = w.runtime->windows().children(w.top());
    std::vector<platform::WindowHandle> expected;
    for (std::string_view name : main_window_control_names()) expected.push_back(w.handle(name));
    std::vector<platform::WindowHandle> ours;
    std::ranges::copy_if(order, std::back_inserter(ours),
                         [&](platform::WindowHandle h) { return std::ranges::find(expected, h) != expected.end(); });
    EXPECT_EQ(ours, expected);
}

TEST(MainWindowLoad, InputReachesTheBoundOperations) {
    LoadedMainWindow w;
    ASSERT_FALSE(w.calls.empty());
    EXPECT_EQ(w.calls.front(), "created");
    w.calls.clear();

    auto& input = *w.backend;
    input.click(w.top(), w.at(game::board::kAddCreditsButton, 32, 17));
    input.click(w.top(), w.at(game::board::kStartButton, 32, 44));
    input.click(w.top(), w.at(game::board::kBetColumns[2].spinner, 16, 10));                 // upper arrow
    input.click(w.top(), w.at(game::board::kBetColumns[2].spinner, 16, 40));                 // lower arrow
    input.click(w.top(), w.at(game::board::kCredits, 10, 10), platform::MouseButton::Right); // not the window
    input.click(w.top(), {480, 20}, platform::MouseButton::Right);                           // the window's background
    input.click(w.top(), w.at(game::board::kRing[0].picture, 30, 30));                       // decoration: nothing
    w.runtime->windows().process_pending();

    const std::string bet3 = std::to_string(main_window_control_id(game::board::kBetColumns[2].bet_display));
    const std::vector<std::string> expected = {"credits", "start", "bet " + bet3 + " 1", "bet " + bet3 + " -1",
                                               "right"};
    EXPECT_EQ(w.calls, expected);

    // A timer started by property runs its bound operation.
    w.calls.clear();
    w.runtime->set_property(kMainWindowId, main_window_control_id(game::board::kRunLengthTimer), 8, -1,
                            Value::of_integer(50));
    input.run_for(120);
    EXPECT_GE(std::ranges::count(w.calls, std::string("run length")), 2);
}

TEST(MainWindowLoad, RingShowsBlackGapsAndALitLampFramesItsPicture) {
    LoadedMainWindow w;
    auto& ws = w.runtime->windows();
    ws.update(w.top());
    const Point middle = w.at(game::board::kRing[0].picture, 32, 32);
    const Argb picture_middle = ws.framebuffer(w.top()).pixel(middle.x, middle.y);
    // The black bars show between neighbouring pictures and around them; no lamp is lit.
    EXPECT_EQ(ws.framebuffer(w.top()).pixel(82, 40), rgb(0, 0, 0));
    EXPECT_EQ(ws.framebuffer(w.top()).pixel(15, 40), rgb(0, 0, 0));
    EXPECT_NE(ws.framebuffer(w.top()).pixel(18, 40), rgb(255, 0, 0));

    w.runtime->set_property(kMainWindowId, main_window_control_id(game::board::kRing[0].lamp), kVisible, -1,
                            Value::of_bool(true));
    ws.update(w.top());
    const Bitmap& lit = ws.framebuffer(w.top());
    EXPECT_EQ(lit.pixel(15, 40), rgb(255, 0, 0));             // the 2 pixels around the picture
    EXPECT_EQ(lit.pixel(18, 40), rgb(255, 0, 0));             // the picture's outer 5 pixels
    EXPECT_EQ(lit.pixel(middle.x, middle.y), picture_middle); // the middle shows the picture
    EXPECT_EQ(lit.pixel(82, 40), rgb(255, 0, 0));             // the frame's right band over the gap
    EXPECT_EQ(lit.pixel(15, 120), rgb(0, 0, 0));              // the lamp of position 20 below stays dark
}

} // namespace
} // namespace tav::ui
