// The game's own window at start and with one lamp lit, drawn from the real layout.
#include <gtest/gtest.h>

#include <algorithm>

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
    explicit MainWindow(ui::Services services = {}) {
        runtime = std::make_unique<Runtime>(ui::main_window_layout({}), std::make_unique<platform::HeadlessBackend>(),
                                            std::move(services));
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

} // namespace
} // namespace tav::test
