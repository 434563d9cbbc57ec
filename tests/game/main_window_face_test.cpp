// The game's own window at start and with one lamp lit, drawn from the real layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "assets/assets.hpp"
#include "assets/embedded.hpp"
#include "game/board.hpp"
#include "game/main_window_layout.hpp"
#include "gfx/picture_cache.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/font_warm_up.hpp"

namespace tav::test {
namespace {

struct MainWindow {
    std::unique_ptr<Runtime> runtime;
    explicit MainWindow(ui::Services services = {}, int scale = 1) {
        runtime = std::make_unique<Runtime>(ui::main_window_layout({}),
                                            std::make_unique<platform::HeadlessBackend>(scale), std::move(services));
        runtime->load_window(ui::kMainWindowId);
    }
    platform::WindowSystem& ws() { return runtime->windows(); }
    platform::WindowHandle top() { return runtime->window_handle_of(ui::kMainWindowId); }
    std::uint32_t id(std::string_view name) { return ui::main_window_control_id(name); }
    const Bitmap& paint() {
        ws().update(top());
        return ws().framebuffer(top());
    }
    Argb at(int x, int y) { return paint().pixel(x, y) | 0xFF000000u; }
    int count(const Rect& r, const std::function<bool(Argb)>& pred) {
        const Bitmap& b = paint();
        int n = 0;
        for (int y = r.y; y < r.bottom(); ++y)
            for (int x = r.x; x < r.right(); ++x) n += pred(b.pixel(x, y) | 0xFF000000u);
        return n;
    }
};

TEST(MainWindowFace, StartsWithTheRingOnBlackAndLightsALampAsARedFrameAroundItsPicture) {
    MainWindow w;
    // The black ring between and around the pictures, no red frame anywhere on it.
    EXPECT_EQ(w.at(14, 14), rgb(0, 0, 0));
    EXPECT_EQ(w.at(81, 40), rgb(0, 0, 0));
    EXPECT_EQ(w.count({14, 14, 404, 404}, [](Argb c) { return c == rgb(255, 0, 0); }), 0);
    // The counters: cyan digits on black in 标签9, magenta in the odds field.
    EXPECT_GT(w.count({181, 277, 126, 24}, [](Argb c) { return c == rgb(0, 255, 255); }), 10);
    EXPECT_GT(w.count({183, 207, 66, 24}, [](Argb c) { return c == rgb(255, 0, 255); }), 10);

    const Argb inside = w.at(40, 40);
    w.runtime->set_property(ui::kMainWindowId, w.id(game::board::kRing[0].lamp), 5, -1, Value::of_bool(true));
    EXPECT_EQ(w.at(14, 14), rgb(255, 0, 0));
    EXPECT_EQ(w.at(20, 40), rgb(255, 0, 0));
    EXPECT_EQ(w.at(40, 40), inside); // the ring picture through the middle

    // The prize box shows the picture it is given, stretched inside its frame.
    const Value ring = w.runtime->get_property(ui::kMainWindowId, w.id(game::board::kRing[0].picture), 10);
    ASSERT_FALSE(ring.bytes().empty());
    const Argb empty_prize = w.at(216, 160);
    w.runtime->set_property(ui::kMainWindowId, w.id(game::board::kPrizePicture), 10, -1, ring);
    EXPECT_NE(w.at(216, 160), empty_prize);
}

// The program paints its first frame while a thread loads the same fonts and glyphs into the
// same cache: the window looks exactly as when it loads them itself.
TEST(MainWindowFace, IsTheSameWhileItsFontsAreWarmedUpOnAnotherThread) {
    Bitmap alone;
    {
        MainWindow w;
        alone = w.paint();
    }
    const auto layout = ui::main_window_layout({});
    ui::Services services;
    const auto fonts = services.fonts;
    {
        const ui::FontWarmUp warm_up(layout, *fonts);
        MainWindow w(std::move(services));
        const Bitmap& painted = w.paint();
        ASSERT_EQ(painted.size(), alone.size());
        EXPECT_TRUE(std::ranges::equal(painted.pixels(), alone.pixels()));
    }
}

// The program starts with its pictures decoded, and the board scaled to the client area, at
// build time: the window looks exactly as with every picture decoded and scaled here.
TEST(MainWindowFace, IsPixelForPixelTheSameWithThePicturesDecodedAtBuildTime) {
    if (assets::predecoded::kPictures.empty()) GTEST_SKIP() << "a cross build decodes its pictures at run time";
    Bitmap decoded_here;
    {
        MainWindow w;
        decoded_here = w.paint();
    }
    ui::Services services;
    const auto held = assets::adopt_predecoded_pictures(*services.pictures);
    MainWindow w(std::move(services));
    const Bitmap& built = w.paint();
    ASSERT_EQ(built.size(), decoded_here.size());
    EXPECT_TRUE(std::ranges::equal(built.pixels(), decoded_here.pixels()));
    // The board's copy is made at the size it is drawn at, so nothing is scaled at start.
    const auto& board = assets::predecoded::kPictures[0];
    ASSERT_EQ(board.bytes, &assets::embedded::kBoardBackground);
    EXPECT_EQ((Size{board.scaled_width, board.scaled_height}), ui::kMainWindowClientSize);
}

// `big` shrunk by two along each axis, each pixel the mean of its 2 x 2 block.
Bitmap halved(const Bitmap& big) {
    Bitmap out(big.width() / 2, big.height() / 2);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            Argb c = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) sum += int((big.pixel(2 * x + dx, 2 * y + dy) >> shift) & 0xFF);
                c |= Argb((sum + 2) / 4) << shift;
            }
            out.set_pixel(x, y, c);
        }
    }
    return out;
}

// The mean absolute difference per channel of `a` and `b` over `r`.
double mean_difference(const Bitmap& a, const Bitmap& b, const Rect& r) {
    double sum = 0;
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x)
            for (int shift = 0; shift <= 16; shift += 8)
                sum += std::abs(int((a.pixel(x, y) >> shift) & 0xFF) - int((b.pixel(x, y) >> shift) & 0xFF));
    return sum / (3.0 * r.width * r.height);
}

// The largest mean_difference of `a` and `b` over the 32 x 32 blocks of the window.
double worst_block_difference(const Bitmap& a, const Bitmap& b) {
    constexpr int kBlock = 32;
    double worst = 0;
    for (int y = 0; y + kBlock <= a.height(); y += kBlock)
        for (int x = 0; x + kBlock <= a.width(); x += kBlock)
            worst = std::max(worst, mean_difference(a, b, {x, y, kBlock, kBlock}));
    return worst;
}

// At scale 2 the window is drawn at twice the size in every direction, from the pictures'
// sources and the faces at twice the height. Shrunk back by averaging it is the 1x face but for
// the edges of resampled pictures and anti-aliased glyph strokes, which fall up to half a pixel
// apart: measured, 1.8 per channel over the window and 36 in the worst 32 x 32 block (thin
// white strokes on black, 得分). The bounds, 4 and 50, leave room for other faces' hinting
// but not for a misplaced part: the 1x face against itself moved by two pixels differs by 20
// over the window and 73 in its worst block.
TEST(MainWindowFace, AtScaleTwoShrunkByHalfMatchesTheOneTimesFace) {
    Bitmap one;
    {
        MainWindow w;
        one = w.paint();
    }
    MainWindow w({}, 2);
    const Bitmap& two = w.paint();
    ASSERT_EQ(two.size(), (Size{one.width() * 2, one.height() * 2}));
    EXPECT_EQ(w.ws().client_size(w.top()), one.size()); // the window system stays at 1x
    const Bitmap shrunk = halved(two);
    const double overall = mean_difference(shrunk, one, one.rect());
    const double worst = worst_block_difference(shrunk, one);
    Bitmap moved(one.width(), one.height());
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) moved.set_pixel(x, y, one.pixel(std::max(0, x - 2), y));
    const double moved_worst = worst_block_difference(moved, one);
    std::printf("scale 2 shrunk vs scale 1: mean %.2f per channel, worst 32x32 block %.2f (1x moved by two "
                "pixels: mean %.2f, worst block %.2f)\n",
                overall, worst, mean_difference(moved, one, one.rect()), moved_worst);
    EXPECT_LT(overall, 4.0);
    EXPECT_LT(worst, 50.0);
    EXPECT_GT(mean_difference(moved, one, one.rect()), 4.0); // the bounds catch a misplaced face
    EXPECT_GT(moved_worst, 50.0);

    // A lamp lit at scale 2 is the same red frame, two target pixels for each of the 1x ones.
    w.runtime->set_property(ui::kMainWindowId, w.id(game::board::kRing[0].lamp), 5, -1, Value::of_bool(true));
    const Bitmap& lit = w.paint();
    EXPECT_EQ(lit.pixel(28, 28) | 0xFF000000u, rgb(255, 0, 0));
    EXPECT_EQ(lit.pixel(29, 29) | 0xFF000000u, rgb(255, 0, 0));
}

} // namespace
} // namespace tav::test
