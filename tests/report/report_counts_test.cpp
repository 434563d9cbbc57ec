// The report's spins against the same spins stepped by hand on the visible window: clicks on
// 上分, the spinners and 开始, the loop run until every timer has stopped.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/board.hpp"
#include "game/game_window.hpp"
#include "headless_game.hpp"
#include "report_run.hpp"
#include "statistics.hpp"

namespace tav::report {
namespace {

constexpr int kSpins = 20;

// One spin as the window shows it afterwards.
struct Seen {
    int position;
    std::string odds;
    std::string win;
    int settlements;
    friend bool operator==(const Seen&, const Seen&) = default;
};

// The player steps the real window: 10 on every symbol, then 开始 and the loop until idle.
std::vector<Seen> step_by_hand(int spins) {
    game::test::GameWindow w;
    w.play_sounds(false);
    std::vector<Seen> seen;
    for (int i = 0; i < spins; ++i) {
        while (std::stod(w.text(game::board::kCredits)) < 80) w.add_credits();
        for (int k = 1; k <= kSymbols; ++k) w.press_spinner(k, true);
        const std::size_t results = w.sound_count(game::GameSound::Result);
        w.start();
        EXPECT_TRUE(w.run_until_idle());
        EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
        seen.push_back({std::stoi(w.text(game::board::kLampPosition)), w.text(game::board::kOdds),
                        w.text(game::board::kWin), static_cast<int>(w.sound_count(game::GameSound::Result) - results)});
    }
    return seen;
}

TEST(ReportCounts, ToolSpinsMatchTheWindowSteppedByHand) {
    const std::vector<Seen> expected = step_by_hand(kSpins);

    PlayerOptions options;
    options.clock = ClockMode::Hold; // the hand-stepped window holds the seconds at 0
    std::vector<Seen> reported;
    Tally tally;
    {
        HeadlessGame game(options);
        for (int i = 0; i < kSpins; ++i) {
            const SpinRecord r = game.play_spin();
            reported.push_back(
                {r.final_position, std::to_string(r.odds), std::to_string(static_cast<long>(r.win)), r.settlements});
            tally.add(r, game.stake());
            // The win is the multiplier of the scored symbol times its bet of 10.
            ASSERT_NE(symbol_at(r.final_position), kRandomField);
            EXPECT_EQ(r.odds, multiplier(symbol_at(r.final_position)));
            EXPECT_EQ(r.win, 10.0 * r.odds);
            // A random field rested on is always followed by a jump.
            EXPECT_EQ(symbol_at(r.rest_position) == kRandomField, r.settlements > 1);
            EXPECT_GE(r.acceleration_steps, 15);
            EXPECT_LE(r.acceleration_steps, 56);
            EXPECT_GE(r.slowing_steps, 30);
            EXPECT_LE(r.slowing_steps, 113);
        }
    }
    EXPECT_EQ(reported, expected);

    // The tally counts what the spins did.
    std::vector<std::uint64_t> finals(kPositions, 0);
    for (const Seen& s : expected) ++finals[static_cast<std::size_t>(s.position - 1)];
    EXPECT_EQ(std::vector<std::uint64_t>(tally.final.begin(), tally.final.end()), finals);
    EXPECT_EQ(tally.spins, static_cast<std::uint64_t>(kSpins));
    EXPECT_EQ(tally.hits, tally.spins); // a bet on every symbol always wins something
}

// The first spin after start-up with the seconds at 0 is fixed by its draws: 20 + 147 + 37
// steps ending on position 4 (orange), as the spin cycle's own test works out.
TEST(ReportCounts, FirstSpinPhasesAndTickRounding) {
    PlayerOptions options;
    options.clock = ClockMode::Hold;
    options.bets = {0, 0, 0, 0, 0, 0, 0, 10};
    {
        HeadlessGame game(options);
        const SpinRecord r = game.play_spin();
        EXPECT_EQ(r.acceleration_steps, 20);
        EXPECT_EQ(r.fast_steps, 147);
        EXPECT_EQ(r.slowing_steps, 37);
        EXPECT_EQ(r.rest_position, 4);
        EXPECT_EQ(r.final_position, 4);
        EXPECT_EQ(r.win, 20);
        EXPECT_EQ(game.credits(), 100 - 10 + 20);
    }
    // With 15.625 ms ticks the same draws give fewer fast steps: the 30 ms period runs at 31.25
    // and the run length of 4413 ms rounds up to 4421.875 (283 ticks), so 4421.875 / 31.25 → 141.
    EXPECT_EQ(rounded_period_eighths(30), 250);
    EXPECT_EQ(rounded_period_eighths(50), 500);
    EXPECT_EQ(rounded_period_eighths(125), 1000);
    options.tick_rounding = true;
    HeadlessGame rounded(options);
    const SpinRecord r = rounded.play_spin();
    EXPECT_EQ(r.acceleration_steps, 20);
    EXPECT_EQ(r.fast_steps, 141);
    EXPECT_EQ(r.slowing_steps, 37);
}

// Two threads are two players with windows of their own; together they play every spin asked.
TEST(ReportCounts, ThreadsShareTheSpinsAndProbabilitiesSumToOne) {
    RunOptions run;
    run.spins = 41;
    run.threads = 2;
    run.player.clock = ClockMode::Player;
    const RunResult result = run_spins(run);
    const Tally& t = result.tally;
    EXPECT_EQ(t.spins, 41u);
    double rest = 0, fin = 0, symbols = 0;
    for (int p = 1; p <= kPositions; ++p) {
        rest += rest_probability(t, p).value;
        fin += final_probability(t, p).value;
    }
    for (int s = 0; s < kSymbols; ++s) symbols += symbol_probability(t, s).value;
    EXPECT_NEAR(rest, 1.0, 1e-12);
    EXPECT_NEAR(fin, 1.0, 1e-12);
    EXPECT_NEAR(symbols, 1.0, 1e-12);
    EXPECT_EQ(t.final[7] + t.final[18], 0u); // a random field is never the scored position
    EXPECT_EQ(t.settlements.count(), 41u);
}

} // namespace
} // namespace tav::report
