#include <gtest/gtest.h>

#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "gfx/system_colors.hpp"
#include "lamp.hpp"

namespace tav {
namespace {

int count(const Bitmap& bmp, Argb c) {
    int n = 0;
    for (Argb p : bmp.pixels()) n += p == c;
    return n;
}

// The shrink-to-fit placement: natural size when it fits, one factor and centring otherwise.
TEST(ShrinkToFit, PlacesAndScales) {
    EXPECT_EQ(shrink_to_fit({65, 65}, {65, 65}), (Rect{0, 0, 65, 65}));
    EXPECT_EQ(shrink_to_fit({50, 50}, {100, 50}), (Rect{0, 12, 50, 25}));
    EXPECT_EQ(shrink_to_fit({44, 44}, {65, 65}), (Rect{0, 0, 44, 44}));
    EXPECT_EQ(shrink_to_fit({48, 48}, {30, 30}), (Rect{9, 9, 30, 30}));
    // Too tall only: the width stays centred on its natural size before scaling.
    EXPECT_EQ(shrink_to_fit({100, 20}, {40, 80}), (Rect{30 + (40 - 10) / 2, 0, 10, 20}));
    EXPECT_TRUE(shrink_to_fit({10, 10}, {0, 5}).empty());
}

// Shrinking averages the covered source pixels; enlarging keeps flat colours flat and the
// corner pixels close to the source corners.
TEST(Resample, AveragesWhenShrinkingAndBlendsWhenEnlarging) {
    Bitmap two(2, 2);
    two.set_pixel(0, 0, rgb(0, 0, 0));
    two.set_pixel(1, 0, rgb(200, 100, 40));
    two.set_pixel(0, 1, rgb(100, 100, 100));
    two.set_pixel(1, 1, rgb(100, 0, 20));
    const Bitmap one = resample(two, {1, 1});
    ASSERT_EQ(one.size(), (Size{1, 1}));
    EXPECT_EQ(one.pixel(0, 0), rgb(100, 50, 40));

    // 3 -> 2 columns: the middle source pixel is split between both outputs.
    Bitmap row(3, 1);
    row.set_pixel(0, 0, rgb(0, 0, 0));
    row.set_pixel(1, 0, rgb(90, 90, 90));
    row.set_pixel(2, 0, rgb(180, 180, 180));
    const Bitmap two_cols = resample(row, {2, 1});
    EXPECT_EQ(two_cols.pixel(0, 0), rgb(30, 30, 30));
    EXPECT_EQ(two_cols.pixel(1, 0), rgb(150, 150, 150));

    const Bitmap big = resample(two, {8, 8});
    EXPECT_EQ(big.pixel(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(big.pixel(7, 7), rgb(100, 0, 20));
    const Bitmap flat = resample(Bitmap(3, 5, rgb(7, 8, 9)), {11, 2});
    EXPECT_EQ(count(flat, rgb(7, 8, 9)), 22);

    // Transparent pixels do not darken their opaque neighbours.
    Bitmap half(2, 1, 0x00000000u);
    half.set_pixel(1, 0, rgb(255, 255, 255));
    const Bitmap mixed = resample(half, {1, 1});
    EXPECT_EQ(red_of(mixed.pixel(0, 0)), 255);
    EXPECT_NEAR(alpha_of(mixed.pixel(0, 0)), 128, 1);
}

// A part resampled alone matches the same pixels of the whole, so partial repaints leave no seams.
TEST(Resample, PartsMatchTheWhole) {
    Bitmap src(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            src.set_pixel(x, y, rgb(std::uint8_t(x * 7), std::uint8_t(y * 11), std::uint8_t(x ^ y)));
    for (Size size : {Size{50, 61}, Size{20, 9}, Size{37, 10}}) {
        const Bitmap whole = resample(src, size);
        const Rect part{size.width / 3, size.height / 4, size.width / 2, size.height / 2};
        const Bitmap piece = resample_part(src, size, part);
        ASSERT_EQ(piece.size(), part.size());
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x)
                ASSERT_EQ(piece.pixel(x, y), whole.pixel(part.x + x, part.y + y)) << size.width << "x" << size.height;
    }
}

// Stretching writes exactly the destination rectangle, clipped, wherever the origin is.
TEST(Painter, StretchStaysInsideDestinationAndClip) {
    Bitmap target(20, 20, rgb(1, 1, 1));
    Painter p(target);
    p.translate(5, 5);
    p.clip_rect({0, 0, 10, 100});
    p.draw_stretched(Bitmap(3, 3, rgb(9, 9, 9)), {-3, 2, 30, 6});
    EXPECT_EQ(count(target, rgb(9, 9, 9)), 10 * 6);
    EXPECT_EQ(target.pixel(5, 7), rgb(9, 9, 9));
    EXPECT_EQ(target.pixel(14, 12), rgb(9, 9, 9));
    EXPECT_EQ(target.pixel(15, 7), rgb(1, 1, 1));
    EXPECT_EQ(target.pixel(5, 13), rgb(1, 1, 1));

    // A destination far outside the target draws nothing and does not fault.
    p.draw_stretched(Bitmap(3, 3, rgb(2, 2, 2)), {-500, -500, 40, 40});
    p.draw_image(Bitmap(3, 3, rgb(2, 2, 2)), Point{1000, 1000});
    EXPECT_EQ(count(target, rgb(2, 2, 2)), 0);
}

// Corners carry their colours; equal top and bottom pairs make a plain vertical gradient.
TEST(Painter, GradientCornersAndVertical) {
    Bitmap bmp(11, 5);
    Painter p(bmp);
    const GradientCorners c{rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255)};
    p.gradient_fill(bmp.rect(), c);
    EXPECT_EQ(bmp.pixel(0, 0), c.top_left);
    EXPECT_EQ(bmp.pixel(10, 0), c.top_right);
    EXPECT_EQ(bmp.pixel(0, 4), c.bottom_left);
    EXPECT_EQ(bmp.pixel(10, 4), c.bottom_right);
    // The anti-diagonal lies in both triangles: the mean of top-right and bottom-left.
    EXPECT_EQ(bmp.pixel(5, 2), rgb(0, 128, 128));

    Bitmap v(4, 11);
    Painter pv(v);
    pv.gradient_fill_vertical(v.rect(), rgb(0, 0, 0), rgb(100, 200, 250));
    for (int y = 0; y < 11; ++y) {
        const Argb expect = rgb(std::uint8_t(10 * y), std::uint8_t(20 * y), std::uint8_t(25 * y));
        for (int x = 0; x < 4; ++x) EXPECT_EQ(v.pixel(x, y), expect) << x << "," << y;
    }
}

// A keyed draw leaves key-coloured pixels of the picture out; the region of a lamp holds just
// its frame, as runs one pixel high.
TEST(Painter, KeyedDrawAndLampRegion) {
    const Bitmap lamp = test::make_lamp();
    Bitmap target(80, 80, rgb(0, 128, 0));
    Painter p(target);
    p.draw_keyed(lamp, {5, 5}, rgb(0, 0, 0));
    EXPECT_EQ(count(target, rgb(255, 0, 0)), 1736);
    EXPECT_EQ(count(target, rgb(0, 0, 0)), 0);
    EXPECT_EQ(target.pixel(5 + 34, 5 + 34), rgb(0, 128, 0));

    const Region shape = keyed_region(lamp, rgb(0, 0, 0));
    int area = 0;
    for (const Rect& r : shape.rects()) {
        EXPECT_EQ(r.height, 1);
        area += r.width * r.height;
    }
    EXPECT_EQ(area, 1736);
    EXPECT_EQ(shape.rects().size(), std::size_t(7 + 55 * 2 + 7));
    EXPECT_FALSE(shape.contains({7, 7}));
    EXPECT_FALSE(shape.contains({34, 34}));
    EXPECT_FALSE(shape.contains({61, 61}));
    EXPECT_TRUE(shape.contains({6, 34}));
    EXPECT_TRUE(shape.contains({62, 34}));
    EXPECT_EQ(shape.bounds(), (Rect{0, 0, 69, 69}));

    // Alpha is ignored when comparing with the key.
    Bitmap ghost(1, 1, 0x00000000u);
    EXPECT_TRUE(keyed_region(ghost, rgb(0, 0, 0)).empty());
}

// Borders take their widths, colour their sides and tell the client rectangle.
TEST(Painter, EdgesAndFrames) {
    Bitmap bmp(10, 8, rgb(1, 2, 3));
    Painter p(bmp);
    EXPECT_EQ(p.draw_edge(bmp.rect(), EdgeStyle::Sunken), (Rect{2, 2, 6, 4}));
    EXPECT_EQ(bmp.pixel(0, 0), syscolor::kShadow);
    EXPECT_EQ(bmp.pixel(9, 7), syscolor::kHighlight);
    EXPECT_EQ(bmp.pixel(1, 1), syscolor::kDarkShadow);
    EXPECT_EQ(bmp.pixel(8, 6), syscolor::kLight);
    EXPECT_EQ(bmp.pixel(2, 2), rgb(1, 2, 3));

    EXPECT_EQ(edge_inner({0, 0, 85, 85}, edge_style_for_border(4)), (Rect{5, 5, 75, 75}));
    EXPECT_EQ(edge_inner({0, 0, 48, 48}, edge_style_for_border(1)), (Rect{2, 2, 44, 44}));
    EXPECT_EQ(edge_inner({0, 0, 30, 30}, edge_style_for_border(5)), (Rect{1, 1, 28, 28}));
    EXPECT_EQ(edge_style_for_border(6), EdgeStyle::None);

    Bitmap f(6, 6, rgb(1, 2, 3));
    Painter pf(f);
    EXPECT_EQ(pf.draw_edge(f.rect(), EdgeStyle::SingleLine), (Rect{1, 1, 4, 4}));
    EXPECT_EQ(count(f, rgb(0, 0, 0)), 20);

    // A focus rectangle drawn twice leaves nothing behind.
    Bitmap g(7, 5, rgb(10, 20, 30));
    Painter pg(g);
    pg.draw_focus_rect(g.rect());
    EXPECT_EQ(g.pixel(0, 0), rgb(245, 235, 225));
    EXPECT_EQ(g.pixel(1, 0), rgb(10, 20, 30));
    EXPECT_EQ(g.pixel(3, 3), rgb(10, 20, 30));
    pg.draw_focus_rect(g.rect());
    EXPECT_EQ(count(g, rgb(10, 20, 30)), 35);
}

// Tiles repeat from the anchor and stay inside the area; blit copies alpha unchanged.
TEST(Painter, TilesAndBlit) {
    Bitmap tile(2, 2, rgb(0, 0, 0));
    tile.set_pixel(0, 0, rgb(255, 255, 255));
    Bitmap bmp(9, 9, rgb(1, 1, 1));
    Painter p(bmp);
    p.draw_tiled(tile, {1, 1, 7, 7}, {-1, -1});
    EXPECT_EQ(bmp.pixel(0, 0), rgb(1, 1, 1));
    EXPECT_EQ(bmp.pixel(1, 1), rgb(255, 255, 255));
    EXPECT_EQ(bmp.pixel(7, 7), rgb(255, 255, 255));
    EXPECT_EQ(bmp.pixel(2, 1), rgb(0, 0, 0));
    EXPECT_EQ(bmp.pixel(8, 8), rgb(1, 1, 1));
    EXPECT_EQ(count(bmp, rgb(255, 255, 255)), 16);

    Bitmap src(4, 4, 0x12345678u);
    Bitmap dst(4, 4, rgb(0, 0, 0));
    Painter pd(dst);
    pd.blit(src, {1, 1, 10, 10}, {0, 0});
    EXPECT_EQ(dst.pixel(2, 2), 0x12345678u);
    EXPECT_EQ(dst.pixel(3, 3), rgb(0, 0, 0));
}

} // namespace
} // namespace tav
