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

// At scale 2 every logical unit is 2 x 2 target pixels: fills, frames and clips land on the
// doubled rectangles, a clip of an odd number of target pixels reads back rounded outwards,
// and a picture is resampled from its source rather than repeated pixel for pixel.
TEST(Painter, ScaleTwoDoublesEveryRectangleAndResamplesPictures) {
    Bitmap bmp(20, 20, rgb(0, 0, 0));
    Painter p(bmp, 2);
    EXPECT_EQ(p.scale(), 2);
    EXPECT_EQ(p.clip_bounds(), (Rect{0, 0, 10, 10}));
    p.translate(1, 1);
    EXPECT_EQ(p.device_origin(), (Point{2, 2}));
    p.frame_rect({0, 0, 4, 4}, rgb(255, 0, 0)); // target pixels 2..9, lines two wide
    for (int i = 2; i < 10; ++i) {
        EXPECT_EQ(bmp.pixel(i, 2), rgb(255, 0, 0)) << i;
        EXPECT_EQ(bmp.pixel(i, 3), rgb(255, 0, 0)) << i;
        EXPECT_EQ(bmp.pixel(9, i), rgb(255, 0, 0)) << i;
    }
    EXPECT_EQ(bmp.pixel(4, 4), rgb(0, 0, 0));
    EXPECT_EQ(bmp.pixel(10, 10), rgb(0, 0, 0));
    EXPECT_EQ(bmp.pixel(1, 1), rgb(0, 0, 0));

    Bitmap odd(5, 5, rgb(0, 0, 0));
    Painter q(odd, 2);
    EXPECT_EQ(q.clip_bounds(), (Rect{0, 0, 3, 3})); // the half unit at the edge still counts
    q.fill_rect({2, 2, 1, 1}, rgb(0, 0, 255));      // only target pixel (4, 4) is inside
    EXPECT_EQ(odd.pixel(4, 4), rgb(0, 0, 255));
    EXPECT_EQ(odd.pixel(3, 3), rgb(0, 0, 0));

    // A black-to-white ramp four pixels wide, drawn at natural size: eight target pixels that
    // rise steadily, not four pairs of equal ones.
    Bitmap ramp(4, 1);
    for (int x = 0; x < 4; ++x) ramp.set_pixel(x, 0, rgb(std::uint8_t(x * 85), 0, 0));
    Bitmap wide(8, 2, rgb(0, 0, 255));
    Painter r(wide, 2);
    r.draw_image(ramp, {0, 0});
    int rises = 0;
    for (int x = 1; x < 8; ++x) {
        const int before = int((wide.pixel(x - 1, 0) >> 16) & 0xFF), here = int((wide.pixel(x, 0) >> 16) & 0xFF);
        EXPECT_GE(here, before) << x;
        rises += here > before;
    }
    EXPECT_GT(rises, 4);
    EXPECT_EQ(wide.pixel(0, 1) & 0xFFu, 0u); // the picture covers both target rows
}

} // namespace
} // namespace tav
