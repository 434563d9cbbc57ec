// Input: hit-testing through shapes, capture, mouse leave, disabled windows, focus, Tab order,
// dialog keys, modifier bits and the input hook.

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_window.hpp"

namespace tav::platform::test {
namespace {

int count(const std::vector<std::string>& log, const std::string& what) {
    return static_cast<int>(std::count(log.begin(), log.end(), what));
}

// A 30 x 30 frame 5 pixels wide around a 20 x 20 hole, as a lamp's shape.
Region frame_region() {
    Region r;
    r.add({0, 0, 30, 5});
    r.add({0, 25, 30, 5});
    r.add({0, 5, 5, 20});
    r.add({25, 5, 5, 20});
    return r;
}

TEST(InputTest, HitTestingFollowsZOrderShapesAndTransparency) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    const WindowHandle h = d.top(top, {200, 200});
    FakeWindow& pic = d.delegate("pic");
    const WindowHandle picture = d.child(h, pic, {10, 10, 60, 60});
    FakeWindow& lamp_d = d.delegate("lamp");
    const WindowHandle lamp = d.child(h, lamp_d, {20, 20, 30, 30}); // created later: on top
    d.ws->set_region(lamp, frame_region());

    EXPECT_EQ(d.ws->window_at(h, {22, 22}), lamp);      // on the frame
    EXPECT_EQ(d.ws->window_at(h, {35, 35}), picture);   // in the cut-out: the window beneath
    EXPECT_EQ(d.ws->window_at(h, {5, 5}), h);           // outside every child: the parent
    EXPECT_EQ(d.ws->window_at(h, {300, 5}), kNoWindow); // outside the client area

    // A click in the cut-out reaches the picture beneath, in its own client coordinates.
    d.backend->click(h, {35, 35});
    d.ws->process_pending();
    EXPECT_EQ(pic.downs, (std::vector<Point>{{25, 25}}));
    EXPECT_TRUE(lamp_d.downs.empty());

    // Z-order changes the answer where they overlap; a window that declines hit_test lets it fall through.
    d.ws->place_behind(lamp, picture);
    EXPECT_EQ(d.ws->window_at(h, {22, 22}), picture);
    d.ws->bring_to_top(lamp);
    lamp_d.hits = false;
    EXPECT_EQ(d.ws->window_at(h, {22, 22}), picture);
    lamp_d.hits = true;

    // The deepest child wins; hidden windows are not hit.
    FakeWindow& inner_d = d.delegate("inner");
    const WindowHandle inner = d.child(picture, inner_d, {0, 0, 8, 8});
    EXPECT_EQ(d.ws->window_at(h, {12, 12}), inner);
    d.ws->show(inner, false);
    EXPECT_EQ(d.ws->window_at(h, {12, 12}), picture);
    d.ws->show(picture, false);
    EXPECT_EQ(d.ws->window_at(h, {12, 12}), h);
}

TEST(InputTest, CaptureTakesAllMouseInputAndLeaveIsSentOnce) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    const WindowHandle h = d.top(top, {200, 100});
    FakeWindow& a = d.delegate("a");
    const WindowHandle wa = d.child(h, a, {10, 10, 40, 40});
    FakeWindow& b = d.delegate("b");
    const WindowHandle wb = d.child(h, b, {100, 10, 40, 40});

    // Moving from a to b: a is told it was left, once.
    d.backend->mouse_move(h, {20, 20});
    d.ws->process_pending();
    d.backend->mouse_move(h, {110, 20});
    d.ws->process_pending();
    d.backend->mouse_move(h, {115, 25});
    d.ws->process_pending();
    EXPECT_EQ(a.leaves, 1);
    EXPECT_EQ(b.moves.size(), 2u);

    // a captures on mouse-down: moves over b and outside the window go to a, in a's coordinates.
    a.down_action = [&] { d.ws->set_capture(wa); };
    b.moves.clear();
    a.moves.clear();
    d.backend->mouse_move(h, {20, 20});
    d.backend->mouse_down(h, {20, 20});
    d.ws->process_pending();
    EXPECT_EQ(b.leaves, 1);
    EXPECT_TRUE(d.ws->button_held(MouseButton::Left));
    d.backend->mouse_move(h, {110, 20});
    d.ws->process_pending();
    d.backend->mouse_move(h, {-5, 300});
    d.ws->process_pending();
    EXPECT_EQ(a.moves, (std::vector<Point>{{10, 10}, {100, 10}, {-15, 290}}));
    EXPECT_TRUE(b.moves.empty());
    EXPECT_EQ(d.ws->cursor_pos(wa), (Point{-15, 290}));

    // Taken by another window: the old holder is told. Released: the next move goes by position.
    d.ws->set_capture(wb);
    EXPECT_EQ(count(d.log, "a:capture lost"), 1);
    d.ws->release_capture();
    EXPECT_EQ(count(d.log, "b:capture lost"), 0);
    d.backend->mouse_up(h, {120, 20});
    d.ws->process_pending();
    EXPECT_EQ(count(d.log, "b:up"), 1);
    EXPECT_FALSE(d.ws->button_held(MouseButton::Left));
    EXPECT_EQ(a.leaves, 2);

    // The second press of a double click is a press unless the window wants it otherwise.
    d.backend->system().on_native_mouse_button(h, MouseButton::Left, true, {20, 20}, true);
    d.ws->process_pending();
    EXPECT_EQ(a.downs.size(), 2u);

    // Hiding the window under the pointer tells it the pointer left.
    d.ws->show(wa, false);
    EXPECT_EQ(a.leaves, 3);
    d.ws->show(wa, true);

    // Destroying or hiding the holder ends the capture.
    d.ws->set_capture(wb);
    d.ws->show(wb, false);
    EXPECT_EQ(d.ws->capture(), kNoWindow);
    EXPECT_EQ(count(d.log, "b:capture lost"), 1);
}

TEST(InputTest, DisabledWindowsTakeNoInputButTickAndPaint) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    top.colour = rgb(0, 0, 255);
    const WindowHandle h = d.top(top, {100, 100});
    FakeWindow& c = d.delegate("c");
    const WindowHandle child = d.child(h, c, {10, 10, 20, 20});
    d.ws->set_tab_stop(child, true);

    // A disabled child: the click goes nowhere, not to the parent either.
    d.ws->enable(child, false);
    d.backend->click(h, {15, 15});
    d.ws->process_pending();
    EXPECT_TRUE(c.downs.empty());
    EXPECT_TRUE(top.downs.empty());
    d.ws->enable(child, true);

    // A disabled top-level (a modal box is up elsewhere): no mouse, no keys; timers and paint go on.
    d.ws->set_focus(child);
    d.ws->enable(h, false);
    int ticks = 0;
    top.timer_action = [&](int) {
        ++ticks;
        top.colour = rgb(255, 0, 0);
        d.ws->invalidate(h);
    };
    d.ws->set_timer(h, 1, 50);
    d.backend->schedule_click(h, {15, 15}, MouseButton::Left, 20);
    d.backend->schedule_click(h, {60, 60}, MouseButton::Left, 20);
    d.backend->schedule_key(h, vk::kSpace, true, 30);
    d.backend->run_for(120);
    EXPECT_TRUE(c.downs.empty());
    EXPECT_TRUE(top.downs.empty());
    EXPECT_EQ(count(d.log, "c:keydown 32"), 0);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(d.ws->framebuffer(h).pixel(60, 60), rgb(255, 0, 0));
    EXPECT_FALSE(d.backend->native(h)->enabled);

    // Enabled again, the focus it kept takes keys.
    d.ws->enable(h, true);
    d.backend->key_down(h, vk::kSpace);
    d.ws->process_pending();
    EXPECT_EQ(count(d.log, "c:keydown 32"), 1);
}

TEST(InputTest, TabMovesBetweenTabStopsAndSpaceOrEnterPressTheFocusedButton) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    const WindowHandle h = d.top(top, {300, 100});
    // Built as the layout does: each later control placed behind the one before it.
    FakeWindow& start_d = d.delegate("start");
    FakeWindow& edit_d = d.delegate("edit");
    FakeWindow& hidden_d = d.delegate("hidden");
    FakeWindow& add_d = d.delegate("add");
    FakeWindow& off_d = d.delegate("off");
    const WindowHandle start = d.child(h, start_d, {0, 0, 50, 20});
    const WindowHandle edit = d.child(h, edit_d, {60, 0, 50, 20});
    const WindowHandle hidden = d.child(h, hidden_d, {120, 0, 50, 20});
    const WindowHandle add = d.child(h, add_d, {180, 0, 50, 20});
    const WindowHandle off = d.child(h, off_d, {240, 0, 50, 20});
    d.ws->place_behind(edit, start);
    d.ws->place_behind(hidden, edit);
    d.ws->place_behind(add, hidden);
    d.ws->place_behind(off, add);
    EXPECT_EQ(d.ws->children(h), (std::vector<WindowHandle>{start, edit, hidden, add, off}));
    for (WindowHandle w : {start, edit, hidden, add, off}) d.ws->set_tab_stop(w, true);
    d.ws->set_push_button(start, true);
    d.ws->set_push_button(add, true);
    d.ws->show(hidden, false);
    d.ws->enable(off, false);

    // Tab goes in z-order from the top, skipping hidden and disabled stops, and wraps.
    std::vector<WindowHandle> seen;
    for (int i = 0; i < 4; ++i) {
        d.backend->press_key(h, vk::kTab);
        d.ws->process_pending();
        seen.push_back(d.ws->focus());
    }
    EXPECT_EQ(seen, (std::vector<WindowHandle>{start, edit, add, start}));
    d.backend->key_down(h, vk::kShift);
    d.backend->press_key(h, vk::kTab);
    d.backend->key_up(h, vk::kShift);
    d.ws->process_pending();
    EXPECT_EQ(d.ws->focus(), add);

    // Space (on release) and Enter press a focused push button; not an edit box.
    d.backend->press_key(h, vk::kSpace);
    d.backend->press_key(h, vk::kReturn);
    d.ws->process_pending();
    EXPECT_EQ(add_d.activations, 2);
    d.ws->set_focus(edit);
    d.backend->press_key(h, vk::kSpace);
    d.backend->press_key(h, vk::kReturn);
    d.ws->process_pending();
    EXPECT_EQ(edit_d.activations, 0);

    // Keys the focused control leaves go on to its top-level window (a box's Escape).
    d.log.clear();
    d.backend->press_key(h, vk::kEscape);
    d.backend->press_key(h, vk::kReturn);
    d.ws->process_pending();
    EXPECT_EQ(count(d.log, "top:keydown 27"), 1);
    EXPECT_EQ(count(d.log, "top:keydown 13"), 1);

    // A window that consumes the key keeps Tab for itself.
    edit_d.consume_keys = true;
    d.backend->press_key(h, vk::kTab);
    d.ws->process_pending();
    EXPECT_EQ(d.ws->focus(), edit);

    // A click on a tab stop focuses it; focus moves are reported.
    d.backend->click(h, {10, 10});
    d.ws->process_pending();
    EXPECT_EQ(d.ws->focus(), start);
}

TEST(InputTest, KeysReportModifiersButNotThemselvesAndTheHookSeesTheTarget) {
    Desk d;
    FakeWindow& top = d.delegate("top");
    const WindowHandle h = d.top(top, {100, 100});
    FakeWindow& c = d.delegate("c");
    const WindowHandle child = d.child(h, c, {10, 10, 20, 20});

    std::vector<InputMessage> hooked;
    bool pass = true;
    d.ws->set_input_hook([&](const InputMessage& m) {
        hooked.push_back(m);
        return pass;
    });

    // No focused child: keys go to the top-level. Ctrl alone reports no Ctrl bit.
    d.backend->key_down(h, vk::kControl);
    d.backend->key_down(h, 'A');
    d.backend->key_up(h, vk::kControl);
    d.ws->process_pending();
    EXPECT_EQ(top.key_bits, (std::vector<std::uint32_t>{0u, kKeyCtrl}));
    ASSERT_EQ(hooked.size(), 3u);
    EXPECT_EQ(hooked[1].target, h);
    EXPECT_EQ(hooked[1].key, 'A');
    EXPECT_EQ(hooked[1].keys, kKeyCtrl);
    EXPECT_EQ(hooked[2].keys, 0u);
    EXPECT_EQ(d.ws->key_state(), 0u);

    // Mouse input: the hook gets the receiving window and its client point; false drops it.
    hooked.clear();
    d.backend->mouse_down(h, {15, 17});
    d.ws->process_pending();
    ASSERT_EQ(hooked.size(), 1u);
    EXPECT_EQ(hooked[0].type, InputMessage::Type::MouseDown);
    EXPECT_EQ(hooked[0].target, child);
    EXPECT_EQ(hooked[0].pos, (Point{5, 7}));
    EXPECT_EQ(c.downs.size(), 1u);
    pass = false;
    d.backend->mouse_down(h, {15, 17});
    d.ws->process_pending();
    EXPECT_EQ(c.downs.size(), 1u);

    // A close request reaches the top-level's delegate.
    d.backend->request_close(h);
    d.ws->process_pending();
    EXPECT_EQ(top.closes, 1);
}

} // namespace
} // namespace tav::platform::test
