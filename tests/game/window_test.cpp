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

} // namespace
} // namespace tav::game::test
