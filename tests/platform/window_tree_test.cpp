// The window tree: destruction of subtrees with their timers, placement, coordinates.

#include <gtest/gtest.h>

#include "fake_window.hpp"

namespace tav::platform::test {
namespace {

TEST(WindowTreeTest, DestroyRemovesChildrenFirstWithTheirTimersFocusAndCapture) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    const WindowHandle h = d.top(top, {100, 100});
    FakeWindow& panel_d = d.delegate("panel");
    const WindowHandle panel = d.child(h, panel_d, {0, 0, 50, 50});
    FakeWindow& leaf_d = d.delegate("leaf");
    const WindowHandle leaf = d.child(panel, leaf_d, {0, 0, 10, 10});
    int leaf_ticks = 0;
    leaf_d.timer_action = [&](int) { ++leaf_ticks; };
    d.ws->set_timer(leaf, 1, 10);
    d.ws->set_focus(leaf);
    d.ws->set_capture(panel);
    d.ws->post_message(leaf, 5);
    d.log.clear();

    d.ws->destroy(panel);
    EXPECT_EQ(d.log, (std::vector<std::string>{"leaf:destroy", "panel:destroy"}));
    EXPECT_FALSE(d.ws->exists(leaf));
    EXPECT_FALSE(d.ws->exists(panel));
    EXPECT_TRUE(d.ws->children(h).empty());
    EXPECT_EQ(d.ws->focus(), kNoWindow);
    EXPECT_EQ(d.ws->capture(), kNoWindow);

    // Its timer and the message posted to it vanish; the area it covered is repainted.
    d.backend->run_for(50);
    EXPECT_EQ(leaf_ticks, 0);
    EXPECT_EQ(std::count(d.log.begin(), d.log.end(), "leaf:posted 5"), 0);
    EXPECT_EQ(d.log.back(), "top:paint");

    // Handles are not reused, and stale handles are harmless.
    FakeWindow& again_d = d.delegate("again");
    const WindowHandle again = d.ws->create_child(h, again_d, {0, 0, 5, 5});
    EXPECT_NE(again, panel);
    EXPECT_NE(again, leaf);
    d.ws->show(leaf, true);
    d.ws->set_timer(leaf, 1, 10);
    EXPECT_EQ(d.ws->rect(leaf), Rect{});
}

TEST(WindowTreeTest, PlacementCoordinatesAndReparenting) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    TopLevelStyle centred;
    centred.centred = true;
    const WindowHandle h = d.ws->create_top_level(top, {511, 615}, centred, "game");
    EXPECT_FALSE(d.backend->native(h)->visible);
    d.ws->show(h, true);
    EXPECT_EQ(d.ws->rect(h), (Rect{(1280 - 511) / 2, (1024 - 615) / 2, 511, 615}));
    EXPECT_TRUE(d.backend->native(h)->visible);
    EXPECT_EQ(d.backend->native(h)->position, (Point{384, 204}));

    FakeWindow& a_d = d.delegate("a");
    FakeWindow& b_d = d.delegate("b");
    const WindowHandle a = d.child(h, a_d, {100, 50, 200, 200});
    const WindowHandle b = d.child(a, b_d, {10, 20, 30, 30});
    EXPECT_EQ(d.ws->top_level(b), h);
    EXPECT_EQ(d.ws->parent(b), a);
    EXPECT_EQ(d.ws->map_point(b, h, {1, 2}), (Point{111, 72}));
    EXPECT_EQ(d.ws->map_point(h, b, {111, 72}), (Point{1, 2}));

    // Reparenting keeps the rectangle, now in the new parent; the window goes on top there.
    FakeWindow& c_d = d.delegate("c");
    const WindowHandle c = d.child(h, c_d, {0, 0, 10, 10});
    d.ws->set_parent(b, h);
    EXPECT_EQ(d.ws->children(h).front(), b);
    EXPECT_EQ(d.ws->map_point(b, h, {1, 2}), (Point{11, 22}));
    (void)c;

    // Visibility needs every ancestor; is_visible is the window's own flag.
    d.ws->show(a, false);
    FakeWindow& in_d = d.delegate("in");
    const WindowHandle in = d.child(a, in_d, {0, 0, 5, 5});
    EXPECT_TRUE(d.ws->is_visible(in));
    d.ws->set_parent(a, in); // a cycle is refused
    EXPECT_EQ(d.ws->parent(a), h);
    EXPECT_EQ(d.ws->window_at(h, {101, 51}), h);
}

TEST(WindowTreeTest, TheWindowManagersMovesAndResizesComeBackWithoutAnEcho) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    const WindowHandle h = d.top(top, {100, 80});
    d.backend->run_for(10);
    const int paints = top.paints;

    d.ws->on_native_placed(h, {30, 40}, {120, 90});
    EXPECT_EQ(d.ws->rect(h), (Rect{30, 40, 120, 90}));
    EXPECT_EQ(d.ws->framebuffer(h).size(), (Size{120, 90}));
    EXPECT_EQ(top.moves_told, 1);
    EXPECT_EQ(top.resizes_told, 1);
    // Nothing went back to the native window: it is already where the window manager put it.
    EXPECT_EQ(d.backend->native(h)->client, (Size{100, 80}));
    EXPECT_EQ(d.backend->native(h)->position, (Point{}));
    d.backend->run_for(10);
    EXPECT_GT(top.paints, paints); // the larger client area is painted whole

    // The same place again changes nothing; a move alone is no resize.
    d.ws->on_native_placed(h, {30, 40}, {120, 90});
    d.ws->on_native_placed(h, {0, 5}, {120, 90});
    EXPECT_EQ(top.moves_told, 2);
    EXPECT_EQ(top.resizes_told, 1);

    // A window that starts maximised gets the screen once the window manager has taken it on;
    // one without a sizing frame keeps its size.
    TopLevelStyle maximised;
    maximised.resizable = true;
    maximised.start_state = StartState::Maximised;
    FakeWindow& big_d = d.delegate("big");
    const WindowHandle big = d.top(big_d, {100, 80}, maximised);
    maximised.resizable = false;
    FakeWindow& fixed_d = d.delegate("fixed");
    const WindowHandle fixed = d.top(fixed_d, {100, 80}, maximised);
    d.backend->run_for(10);
    EXPECT_EQ(d.ws->rect(big), (Rect{0, 0, HeadlessBackend::kScreenSize.width, HeadlessBackend::kScreenSize.height}));
    EXPECT_EQ(big_d.resizes_told, 1);
    EXPECT_EQ(d.ws->client_size(fixed), (Size{100, 80}));
    EXPECT_EQ(fixed_d.resizes_told, 0);
}

} // namespace
} // namespace tav::platform::test
