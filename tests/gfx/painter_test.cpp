#include <gtest/gtest.h>

#include "gfx/painter.hpp"

namespace tav {
namespace {

// Clips narrow and never widen; restore brings back exactly the saved origin and clip.
TEST(Painter, ClipNarrowsAndRestoreReturns) {
    Bitmap bmp(10, 10, rgb(0, 0, 0));
    Painter p(bmp);
    p.save();
    p.translate(2, 2);
    p.clip_rect({0, 0, 4, 4});
    p.clip_rect({-5, -5, 100, 100}); // wider: must not widen the clip
    EXPECT_EQ(p.clip_bounds(), (Rect{0, 0, 4, 4}));
    p.fill_rect({-2, -2, 20, 20}, rgb(255, 0, 0));
    p.restore();
    EXPECT_EQ(p.origin(), (Point{0, 0}));
    EXPECT_EQ(p.clip_bounds(), bmp.rect());

    int red = 0;
    for (Argb c : bmp.pixels()) red += c == rgb(255, 0, 0);
    EXPECT_EQ(red, 16);
    EXPECT_EQ(bmp.pixel(2, 2), rgb(255, 0, 0));
    EXPECT_EQ(bmp.pixel(6, 6), rgb(0, 0, 0));
}

// A region clip paints only inside its rectangles, and a subtracted hole stays untouched.
TEST(Painter, RegionClipAndHole) {
    Bitmap bmp(8, 8, rgb(0, 0, 0));
    Painter p(bmp);
    Region ring = Region(Rect{0, 0, 8, 8}).subtracted({2, 2, 4, 4});
    p.clip_region(ring);
    p.fill_rect(bmp.rect(), rgb(0, 0, 255));
    EXPECT_EQ(bmp.pixel(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(bmp.pixel(7, 7), rgb(0, 0, 255));
    EXPECT_EQ(bmp.pixel(3, 3), rgb(0, 0, 0));
    EXPECT_TRUE(ring.contains({1, 5}));
    EXPECT_FALSE(ring.contains({5, 5}));
}

} // namespace
} // namespace tav
