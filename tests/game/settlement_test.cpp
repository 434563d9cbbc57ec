// Settling a lamp position directly on the real window: the pay table and the random jumps.

#include "game/game.hpp"
#include "game_window.hpp"

namespace tav::game::test {
namespace {

// Puts the random source where its next jump draw gives `distance`, counted from program start.
void prepare_jump(RandomSource& random, int distance) {
    for (int burned = 0; burned < 1000; ++burned) {
        random = RandomSource{};
        for (int i = 0; i < burned; ++i) random.in_range(0, 200);
        if (random.in_range(1, 20) == distance) {
            random = RandomSource{};
            for (int i = 0; i < burned; ++i) random.in_range(0, 200);
            return;
        }
    }
    FAIL() << "no draw gives " << distance;
}

void place_bets(GameWindow& w, const std::vector<std::string>& bets) {
    for (std::size_t k = 0; k < bets.size(); ++k) w.set_text(board::kBetColumns[k].bet_display, bets[k]);
}

TEST(Settlement, PaysTheBetOnTheSymbolUnderTheLampTimesItsOdds) {
    GameWindow w;
    w.sounds.clear();
    // Cars with 10 on them and 50 on every other symbol: only the cars pay.
    w.set_text(board::kCredits, "500");
    place_bets(w, {"10", "50", "50", "50", "50", "50", "50", "50"});
    w.set_text(board::kLampPosition, "3");
    settle_result();
    EXPECT_EQ(w.text(board::kOdds), "100");
    EXPECT_EQ(w.text(board::kWin), "1000");
    EXPECT_EQ(w.text(board::kCredits), "1500");
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
    EXPECT_EQ(w.sounds, std::vector<GameSound>{GameSound::Result});

    // Orange unbet: its odds show, the win is 0 and the credits stay.
    place_bets(w, {"10", "20", "0", "0", "0", "0", "0", "0"});
    w.set_text(board::kLampPosition, "4");
    settle_result();
    EXPECT_EQ(w.text(board::kOdds), "2");
    EXPECT_EQ(w.text(board::kWin), "0");
    EXPECT_EQ(w.text(board::kCredits), "1500");
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));

    // Strawberry 30 and orange 20 on a strawberry: 90, the orange bet lost.
    place_bets(w, {"0", "0", "0", "0", "0", "0", "30", "20"});
    w.set_text(board::kLampPosition, "9");
    settle_result();
    EXPECT_EQ(w.text(board::kOdds), "3");
    EXPECT_EQ(w.text(board::kWin), "90");
    EXPECT_EQ(w.text(board::kCredits), "1590");

    // Every paying row of the ring: odds text and the display staked.
    const std::vector<std::pair<std::string, int>> rows = {
        {"6", 4}, {"5", 5}, {"100", 1}, {"2", 8}, {"10", 3}, {"3", 7}, {"50", 2}, {"", 0},  {"3", 7}, {"6", 4},
        {"4", 6}, {"5", 5}, {"100", 1}, {"2", 8}, {"10", 3}, {"3", 7}, {"50", 2}, {"4", 6}, {"", 0},  {"2", 8}};
    for (int p = 1; p <= 20; ++p) {
        const auto& [odds, symbol] = rows[static_cast<std::size_t>(p - 1)];
        if (symbol == 0) continue;
        std::vector<std::string> bets(8, "0");
        bets[static_cast<std::size_t>(symbol - 1)] = "10";
        place_bets(w, bets);
        w.set_text(board::kCredits, "0");
        w.set_text(board::kLampPosition, std::to_string(p));
        settle_result();
        EXPECT_EQ(w.text(board::kOdds), odds) << p;
        EXPECT_EQ(w.text(board::kCredits), std::to_string(10 * std::stoi(odds))) << p;
    }

    // A position text that names no position ("020") scores nothing but still clears and sounds.
    w.sounds.clear();
    w.set_text(board::kWin, "7");
    place_bets(w, {"10", "10", "10", "10", "10", "10", "10", "10"});
    w.set_text(board::kLampPosition, "020");
    settle_result();
    EXPECT_EQ(w.text(board::kWin), "7");
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
    EXPECT_EQ(w.sounds, std::vector<GameSound>{GameSound::Result});
}

TEST(Settlement, RandomFieldsJumpOnAndSettleTheNewPositionInside) {
    GameWindow w;
    struct Case {
        std::string from;
        int distance;
        std::string landed; // after the jump and one lamp step
        std::string odds;
        int symbol; // the bet display paid
    };
    for (const Case& c : {Case{"8", 1, "10", "6", 4}, Case{"8", 12, "1", "6", 4}, Case{"19", 20, "20", "2", 8}}) {
        SCOPED_TRACE(c.from + " + " + std::to_string(c.distance));
        w.sounds.clear();
        w.set_text(board::kCredits, "0");
        w.set_text(board::kWin, "0");
        std::vector<std::string> bets(8, "10");
        bets[static_cast<std::size_t>(c.symbol - 1)] = "30";
        place_bets(w, bets);
        w.set_text(board::kLampPosition, c.from);

        // The nested settlement clears the bets before the outer one does it again.
        std::vector<std::vector<std::string>> bets_at_sound;
        w.on_sound = [&](GameSound) { bets_at_sound.push_back(w.bets()); };
        prepare_jump(w.random(), c.distance);
        settle_result();
        w.on_sound = nullptr;

        EXPECT_EQ(w.text(board::kLampPosition), c.landed);
        EXPECT_EQ(w.lit_lamps(), std::vector<int>{std::stoi(c.landed)});
        EXPECT_TRUE(std::ranges::equal(w.get(board::kPrizePicture, 10).bytes(),
                                       w.get(board::kRing[std::stoul(c.landed) - 1].picture, 10).bytes()));
        EXPECT_EQ(w.text(board::kOdds), c.odds);
        EXPECT_EQ(w.text(board::kWin), std::to_string(30 * std::stoi(c.odds)));
        EXPECT_EQ(w.text(board::kCredits), std::to_string(30 * std::stoi(c.odds)));
        EXPECT_EQ(w.sounds, (std::vector<GameSound>{GameSound::Step, GameSound::Result, GameSound::Result}));
        ASSERT_EQ(bets_at_sound.size(), 3u);
        EXPECT_EQ(bets_at_sound[0], bets);                             // the jump's step: bets still there
        EXPECT_EQ(bets_at_sound[1], std::vector<std::string>(8, "0")); // cleared by the nested settlement
    }

    // From 8 a jump of 19 ends on 8 again: a further jump follows inside, and the position
    // finally scored is the one the lamp rests on.
    w.sounds.clear();
    w.set_text(board::kCredits, "0");
    place_bets(w, std::vector<std::string>(8, "10"));
    w.set_text(board::kLampPosition, "8");
    prepare_jump(w.random(), 19);
    settle_result();
    const std::size_t steps = w.sound_count(GameSound::Step);
    EXPECT_GE(steps, 2u);
    EXPECT_EQ(w.sound_count(GameSound::Result), steps + 1);
    const std::string rest = w.text(board::kLampPosition);
    EXPECT_NE(rest, "8");
    EXPECT_NE(rest, "19");
    EXPECT_EQ(w.lit_lamps(), std::vector<int>{std::stoi(rest)});
    EXPECT_EQ(w.text(board::kWin), std::to_string(10 * std::stoi(w.text(board::kOdds))));
    EXPECT_EQ(w.text(board::kCredits), w.text(board::kWin));
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
}

} // namespace
} // namespace tav::game::test
