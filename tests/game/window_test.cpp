// The window as the game opens it, and the right click on its background.

#include "game_window.hpp"

namespace tav::game::test {
namespace {

TEST(GameWindowEvents, FreshWindowShowsZerosNoLampThemedLookAndStartsTheMusicOnce) {
    GameWindow w;
    EXPECT_EQ(w.runtime->services().themes.scheme(), 3);
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
    for (std::string_view display : {board::kCredits, board::kWin, board::kOdds})
        EXPECT_EQ(w.text(display), "0") << display;
    EXPECT_TRUE(w.lit_lamps().empty());
    EXPECT_TRUE(w.get(board::kPrizePicture, 10).bytes().empty());
    EXPECT_EQ(w.text(board::kLampPosition), "");
    EXPECT_FALSE(w.spinning());
    EXPECT_EQ(w.sounds, std::vector<GameSound>{GameSound::Music});
    EXPECT_EQ(active_player_count(), 1u); // the music really plays
}

TEST(GameWindowEvents, RightClickOnTheBackgroundAloneShowsTheLongTitle) {
    GameWindow w;
    ASSERT_EQ(w.window_caption(), "Tavrino");
    w.click(board::kCredits, platform::MouseButton::Right);
    w.click(board::kRing[0].picture, platform::MouseButton::Right);
    EXPECT_EQ(w.window_caption(), "Tavrino");

    w.backend->click(w.top(), {480, 20}, platform::MouseButton::Right);
    w.runtime->windows().process_pending();
    const std::string title = w.window_caption();
    EXPECT_TRUE(title.starts_with("Tavrino --- ")) << title;
    EXPECT_GT(title.size(), std::string("Tavrino --- ").size());
    EXPECT_EQ(w.backend->native(w.top())->caption, title);

    w.backend->click(w.top(), {480, 20}, platform::MouseButton::Right);
    w.runtime->windows().process_pending();
    EXPECT_EQ(w.window_caption(), title);
    EXPECT_TRUE(w.boxes.empty());
}

// At scale 2 a click arrives in native pixels and is divided by the scale before the window
// system sees it: the last native pixel row and column of a button still belong to it, the
// next ones (the first native pixels of the logical unit past it) do not.
TEST(GameWindowEvents, AtScaleTwoANativeClickLandsOnTheOneTimesControl) {
    GameWindow w(2);
    EXPECT_EQ(w.runtime->windows().framebuffer(w.top()).width(), 2 * w.runtime->windows().client_size(w.top()).width);
    const Point corner = w.at(board::kAddCreditsButton, 0, 0);
    const int width = w.get(board::kAddCreditsButton, kWidth).as_integer();
    const int height = w.get(board::kAddCreditsButton, kHeight).as_integer();
    auto native_click = [&](Point native) {
        w.backend->click_native(w.top(), native);
        w.runtime->windows().process_pending();
        return w.text(board::kCredits);
    };
    EXPECT_EQ(native_click({2 * corner.x + width, 2 * corner.y + height}), "100"); // the middle
    EXPECT_EQ(native_click({2 * (corner.x + width) - 1, 2 * (corner.y + height) - 1}), "200");
    EXPECT_EQ(native_click({2 * (corner.x + width), 2 * (corner.y + height)}), "200"); // just past it
    EXPECT_EQ(w.backend->from_native({-1, 5}), (Point{-1, 2}));                        // rounding down
}

} // namespace
} // namespace tav::game::test
