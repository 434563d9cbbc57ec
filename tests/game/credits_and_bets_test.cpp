// Top-ups and bets through the real buttons and spinners, with their refusal boxes.

#include "game/game.hpp"
#include "game_window.hpp"

namespace tav::game::test {
namespace {

const std::string kNotEnough = "分数不够！请先上分！";
const std::string kNotice = "信息提示！";

TEST(CreditsAndBets, SpinnersMoveTenCreditsAndRefuseWithoutCreditsOrAtTheLimit) {
    GameWindow w;
    // No credits: the up arrow is refused and nothing moves.
    w.press_spinner(3, true);
    ASSERT_EQ(w.boxes.size(), 1u);
    EXPECT_EQ(w.boxes[0].text, kNotEnough);
    EXPECT_EQ(w.boxes[0].caption, kNotice);
    EXPECT_EQ(ui::current_message_box(w.runtime->services()), nullptr); // answered with OK
    EXPECT_EQ(w.text(board::kBetColumns[2].bet_display), "0");
    EXPECT_EQ(w.text(board::kCredits), "0");

    // Down at 0 does nothing and says nothing.
    w.press_spinner(3, false);
    EXPECT_EQ(w.text(board::kBetColumns[2].bet_display), "0");
    EXPECT_EQ(w.text(board::kCredits), "0");
    EXPECT_EQ(w.boxes.size(), 1u);

    // 10 credits buy one step of 10; the next press is refused.
    w.set_text(board::kCredits, "10");
    w.press_spinner(5, true);
    EXPECT_EQ(w.text(board::kBetColumns[4].bet_display), "10");
    EXPECT_EQ(w.text(board::kCredits), "0");
    w.press_spinner(5, true);
    EXPECT_EQ(w.boxes.size(), 2u);
    EXPECT_EQ(w.text(board::kBetColumns[4].bet_display), "10");
    EXPECT_EQ(w.text(board::kCredits), "0");

    // A bet of 990 is not raised, plenty of credits or not, and the message is the same.
    w.set_text(board::kCredits, "500");
    w.set_text(board::kBetColumns[0].bet_display, "990");
    w.press_spinner(1, true);
    ASSERT_EQ(w.boxes.size(), 3u);
    EXPECT_EQ(w.boxes[2].text, kNotEnough);
    EXPECT_EQ(w.text(board::kBetColumns[0].bet_display), "990");
    EXPECT_EQ(w.text(board::kCredits), "500");

    // Lowering gives the 10 back at once; each spinner works on its own display only.
    w.set_text(board::kBetColumns[6].bet_display, "30");
    w.set_text(board::kCredits, "70");
    w.press_spinner(7, false);
    EXPECT_EQ(w.text(board::kBetColumns[6].bet_display), "20");
    EXPECT_EQ(w.text(board::kCredits), "80");
    EXPECT_EQ(w.bets(), (std::vector<std::string>{"990", "0", "0", "0", "10", "0", "20", "0"}));
    EXPECT_EQ(w.boxes.size(), 3u);
}

TEST(CreditsAndBets, TopUpsAddAHundredUpToTheCeiling) {
    GameWindow w;
    w.add_credits();
    EXPECT_EQ(w.text(board::kCredits), "100");
    w.add_credits();
    EXPECT_EQ(w.text(board::kCredits), "200");

    w.set_text(board::kCredits, "999999980");
    w.add_credits();
    EXPECT_EQ(w.text(board::kCredits), "1000000080");
    EXPECT_TRUE(w.boxes.empty());
    w.add_credits();
    ASSERT_EQ(w.boxes.size(), 1u);
    EXPECT_EQ(w.boxes[0].text, "分数到顶了！");
    EXPECT_EQ(w.boxes[0].caption, "信息："); // the message box's default caption
    EXPECT_EQ(w.text(board::kCredits), "1000000080");

    w.set_text(board::kCredits, "999999990");
    w.add_credits();
    EXPECT_EQ(w.boxes.size(), 2u);
    EXPECT_EQ(w.text(board::kCredits), "999999990");
}

// Wins are added without limit, so the balance can pass 2147483647; it must still read as
// itself: a wrapped (negative) reading would let a top-up through and corrupt the balance.
TEST(CreditsAndBets, CreditsBeyondThirtyTwoBitsKeepTheirValue) {
    GameWindow w;
    w.set_text(board::kCredits, "2147483600");
    w.set_text(board::kBetColumns[0].bet_display, "10");
    w.set_text(board::kLampPosition, "13"); // cars
    settle_result();
    EXPECT_EQ(w.text(board::kWin), "1000");
    EXPECT_EQ(w.text(board::kCredits), "2147484600");

    w.add_credits();
    ASSERT_EQ(w.boxes.size(), 1u);
    EXPECT_EQ(w.boxes[0].text, "分数到顶了！");
    EXPECT_EQ(w.text(board::kCredits), "2147484600");

    w.press_spinner(2, true);
    EXPECT_EQ(w.text(board::kBetColumns[1].bet_display), "10");
    EXPECT_EQ(w.text(board::kCredits), "2147484590");
    w.press_spinner(2, false);
    EXPECT_EQ(w.text(board::kCredits), "2147484600");
    EXPECT_EQ(w.boxes.size(), 1u);
}

} // namespace
} // namespace tav::game::test
