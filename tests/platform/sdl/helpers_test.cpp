#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "gfx/painter.hpp"
#include "platform/sdl/present_areas.hpp"
#include "platform/sdl/text_input.hpp"
#include "platform/sdl/wait_timeout.hpp"

namespace tav::platform::sdl {
namespace {

using Codes = std::vector<std::uint32_t>;

TEST(GbkCharCodes, AsciiAndDoubleByteCharacters) {
    EXPECT_EQ(gbk_char_codes(""), Codes{});
    EXPECT_EQ(gbk_char_codes("a1 "), (Codes{'a', '1', ' '}));
    // 中 D6 D0, 文 CE C4, the full-width ！ A3 A1: lead byte high, trail byte low.
    EXPECT_EQ(gbk_char_codes("中"), Codes{0xD6D0});
    EXPECT_EQ(gbk_char_codes("a中文！b"), (Codes{'a', 0xD6D0, 0xCEC4, 0xA3A1, 'b'}));
}

TEST(GbkCharCodes, CharactersGbkCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(gbk_char_codes("\xF0\x9F\x98\x80"), Codes{'?'}); // an emoji
    EXPECT_EQ(gbk_char_codes("x\xF0\x9F\x98\x80y"), (Codes{'x', '?', 'y'}));
    EXPECT_EQ(gbk_char_codes("\xC3"), Codes{'?'}); // cut-off UTF-8
}

TEST(ClipPresentAreas, CutsToTheSmallerOfFramebufferAndSurface) {
    const Size fb{505, 584};
    const std::vector<Rect> inside{{10, 20, 30, 40}};
    EXPECT_EQ(clip_present_areas(inside, fb, fb), inside);

    const std::vector<Rect> areas{{-5, -5, 20, 20}, {500, 580, 50, 50}, {600, 0, 10, 10}, {0, 0, 0, 5}, {1, 2, 3, 4}};
    const std::vector<Rect> expected{{0, 0, 15, 15}, {500, 580, 5, 4}, {1, 2, 3, 4}};
    EXPECT_EQ(clip_present_areas(areas, fb, fb), expected);

    // A surface smaller than the framebuffer (window shrunk) and one larger (window grown).
    const std::vector<Rect> all{{0, 0, 505, 584}};
    EXPECT_EQ(clip_present_areas(all, fb, {300, 200}), (std::vector<Rect>{{0, 0, 300, 200}}));
    EXPECT_EQ(clip_present_areas(all, fb, {800, 800}), all);
    EXPECT_TRUE(clip_present_areas(all, fb, {0, 0}).empty());
}

TEST(WaitTimeoutMs, RoundsUpSoTheWaitNeverEndsEarly) {
    EXPECT_EQ(wait_timeout_ms(10, 10'000), 0);
    EXPECT_EQ(wait_timeout_ms(10, 12'000), 0);
    EXPECT_EQ(wait_timeout_ms(10, 9'999), 1);
    EXPECT_EQ(wait_timeout_ms(10, 9'000), 1);
    EXPECT_EQ(wait_timeout_ms(10, 8'999), 2);
    EXPECT_EQ(wait_timeout_ms(1'000, 0), 1'000);
    EXPECT_EQ(wait_timeout_ms(std::uint64_t(INT_MAX) * 4, 0), INT_MAX);
}

// The edge the backend draws round a window's client area is the sunken edge our controls
// draw, line for line, and at scale 2 each of its pixels is a 2 x 2 block.
TEST(ClientEdgeStrips, DrawThePaintersSunkenEdgeAtAnyThickness) {
    const auto draw = [](Size outer, int thickness) {
        Bitmap b(outer.width, outer.height, rgb(1, 2, 3));
        for (const EdgeStrip& s : client_edge_strips(outer, thickness)) {
            for (int y = s.rect.y; y < s.rect.bottom(); ++y)
                for (int x = s.rect.x; x < s.rect.right(); ++x) b.set_pixel(x, y, s.color);
        }
        return b;
    };
    const Size outer{24, 17};
    Bitmap painted(outer.width, outer.height, rgb(1, 2, 3));
    Painter p(painted);
    EXPECT_EQ(p.draw_edge({0, 0, outer.width, outer.height}, EdgeStyle::Sunken), (Rect{2, 2, 20, 13}));
    const Bitmap one = draw(outer, 1);
    EXPECT_EQ(one.pixels().size(), painted.pixels().size());
    EXPECT_TRUE(std::equal(one.pixels().begin(), one.pixels().end(), painted.pixels().begin()));

    const Bitmap two = draw({outer.width * 2, outer.height * 2}, 2);
    int differing = 0;
    for (int y = 0; y < two.height(); ++y)
        for (int x = 0; x < two.width(); ++x) differing += two.pixel(x, y) != painted.pixel(x / 2, y / 2);
    EXPECT_EQ(differing, 0);
    // Too small for both lines: nothing is drawn that would cover the other side.
    EXPECT_TRUE(client_edge_strips({3, 3}, 2).empty());
}

} // namespace
} // namespace tav::platform::sdl
