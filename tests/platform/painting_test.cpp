// Painting: composition order, transparency, clipping to ancestors and shapes, invalidation
// merging, and the areas handed to the backend.

#include <gtest/gtest.h>

#include "fake_window.hpp"

namespace tav::platform::test {
namespace {

constexpr Argb kBack = rgb(0, 0, 255), kLow = rgb(0, 255, 0), kHigh = rgb(255, 0, 0), kDot = rgb(255, 255, 0);

struct PaintingTest : ::testing::Test {
    Desk d;
    FakeWindow& top = d.delegate("top");
    WindowHandle h = kNoWindow;
    void SetUp() override {
        top.colour = kBack;
        h = d.top(top, {200, 100});
    }
    Argb at(int x, int y) const { return d.ws->framebuffer(h).pixel(x, y); }
};

TEST_F(PaintingTest, LowerSiblingsPaintFirstAndTransparentWindowsShowWhatIsBeneath) {
    FakeWindow& low = d.delegate("low");
    low.colour = kLow;
    const WindowHandle lw = d.child(h, low, {10, 10, 50, 50});
    FakeWindow& high = d.delegate("high");
    high.colour = kHigh;
    const WindowHandle hw = d.child(h, high, {40, 40, 50, 50});
    FakeWindow& glass = d.delegate("glass");
    glass.colour = kDot;
    glass.transparent = true;
    d.child(h, glass, {0, 0, 30, 30});
    d.ws->process_pending();
    d.log.clear();

    d.ws->invalidate(h);
    d.ws->update(h);
    EXPECT_EQ(d.log, (std::vector<std::string>{"top:paint", "low:paint", "high:paint", "glass:paint"}));
    EXPECT_EQ(at(45, 45), kHigh); // the upper sibling covers the lower
    EXPECT_EQ(at(15, 15), kLow);  // the transparent window lets the lower one show
    EXPECT_EQ(at(5, 5), kBack);   // and the parent's background
    EXPECT_EQ(at(0, 0), kDot);    // what it draws itself
    EXPECT_EQ(at(95, 95), kBack);

    // Swapping the z-order repaints the overlap the other way round.
    d.ws->place_behind(hw, lw);
    d.ws->process_pending();
    EXPECT_EQ(at(45, 45), kLow);
}

TEST_F(PaintingTest, PaintIsClippedToAncestorsAndShapes) {
    FakeWindow& panel = d.delegate("panel");
    panel.colour = kLow;
    const WindowHandle pw = d.child(h, panel, {20, 20, 40, 40});
    FakeWindow& wide = d.delegate("wide");
    wide.colour = kHigh;
    d.child(pw, wide, {30, 30, 100, 100}); // reaches far beyond its parent
    FakeWindow& lamp = d.delegate("lamp");
    lamp.colour = kDot;
    const WindowHandle lamp_w = d.child(h, lamp, {100, 10, 30, 30});
    Region frame;
    frame.add({0, 0, 30, 5});
    frame.add({0, 25, 30, 5});
    d.ws->set_region(lamp_w, frame);
    d.ws->process_pending();

    EXPECT_EQ(at(55, 55), kHigh);  // inside the parent
    EXPECT_EQ(at(65, 65), kBack);  // beyond the parent: not painted
    EXPECT_EQ(at(110, 12), kDot);  // on the shape
    EXPECT_EQ(at(110, 25), kBack); // in its cut-out: what lies beneath

    // An invalidation in a child is clipped to its parent and given to the backend in
    // top-level coordinates.
    const std::size_t presents = d.backend->present_count();
    d.ws->invalidate(pw, Rect{30, 30, 100, 100});
    d.ws->process_pending();
    EXPECT_EQ(d.backend->present_count(), presents + 1);
    EXPECT_EQ(d.backend->last_present_areas(), (std::vector<Rect>{{50, 50, 10, 10}}));

    // Hidden windows neither paint nor get invalidated.
    d.ws->show(pw, false);
    d.ws->process_pending();
    EXPECT_EQ(at(55, 55), kBack);
    d.ws->invalidate(pw);
    d.ws->process_pending();
    EXPECT_EQ(d.backend->present_count(), presents + 2);
}

TEST_F(PaintingTest, PendingAreasMergeWhenCloseAndFallBackToTheirBoundingBox) {
    d.ws->process_pending();
    d.ws->invalidate(h, Rect{0, 0, 10, 10});
    d.ws->invalidate(h, Rect{12, 0, 10, 10});   // close: merged
    d.ws->invalidate(h, Rect{100, 50, 10, 10}); // far: its own rectangle
    d.ws->invalidate(h, Rect{190, 95, 50, 50}); // clipped to the client area
    d.ws->process_pending();
    EXPECT_EQ(d.backend->last_present_areas(),
              (std::vector<Rect>{{0, 0, 22, 10}, {100, 50, 10, 10}, {190, 95, 10, 5}}));

    // One pass for everything invalidated before the loop got to painting.
    for (int i = 0; i < 12; ++i) d.ws->invalidate(h, Rect{i * 16, (i % 2) * 60, 4, 4});
    const std::size_t presents = d.backend->present_count();
    d.ws->process_pending();
    EXPECT_EQ(d.backend->present_count(), presents + 1);
    const auto& areas = d.backend->last_present_areas();
    ASSERT_LE(areas.size(), 8u);
    Rect box;
    for (const Rect& r : areas) box = box.united(r);
    EXPECT_EQ(box, (Rect{0, 0, 180, 64}));

    // Moving a child repaints its old place with what lies beneath.
    FakeWindow& c = d.delegate("c");
    c.colour = kHigh;
    const WindowHandle cw = d.child(h, c, {10, 10, 20, 20});
    d.ws->process_pending();
    EXPECT_EQ(at(15, 15), kHigh);
    d.ws->set_rect(cw, {100, 10, 20, 20});
    d.ws->process_pending();
    EXPECT_EQ(at(15, 15), kBack);
    EXPECT_EQ(at(105, 15), kHigh);
}

} // namespace
} // namespace tav::platform::test
