// Whole spins on the real window: the timers hand over, the lamp steps and the spin settles.

#include <numeric>

#include "game_window.hpp"

namespace tav::game::test {
namespace {

// Which phase a lamp step belongs to, judged from the timers when its sound starts.
enum class Phase { Acceleration, FastRun, Slowing };

struct Step {
    Phase phase;
    std::string readout;     // the interval readout `标签`
    std::int32_t run_length; // `时钟2`
};

// Records every lamp step of `w` into `steps`.
void record_steps(GameWindow& w, std::vector<Step>& steps) {
    w.on_sound = [&w, &steps](GameSound s) {
        if (s != GameSound::Step) return;
        const Phase p = w.interval(board::kAccelerationTimer) > 0 ? Phase::Acceleration
                        : w.interval(board::kFastRunTimer) > 0    ? Phase::FastRun
                                                                  : Phase::Slowing;
        steps.push_back({p, w.text(board::kIntervalReadout), w.interval(board::kRunLengthTimer)});
    };
}

std::vector<Step> only(const std::vector<Step>& steps, Phase p) {
    std::vector<Step> out;
    std::ranges::copy_if(steps, std::back_inserter(out), [p](const Step& s) { return s.phase == p; });
    return out;
}

// The first spin after start-up with the clock's seconds at 0: every draw of it is fixed, and
// with ticks exactly on time so is the number of fast steps, hence where the lamp stops.
TEST(Spin, FirstSpinAfterStartUpFollowsItsDrawsToPositionFour) {
    GameWindow w;
    std::vector<Step> steps;
    record_steps(w, steps);
    w.add_credits();
    w.press_spinner(8, true); // 10 on orange
    ASSERT_EQ(w.text(board::kCredits), "90");

    const std::uint64_t started = w.backend->now_ms();
    w.start();
    EXPECT_EQ(w.interval(board::kAccelerationTimer), 246);
    ASSERT_TRUE(w.run_until_idle());

    // 20 acceleration steps showing 236, 226, ... 46.
    const auto acceleration = only(steps, Phase::Acceleration);
    ASSERT_EQ(acceleration.size(), 20u);
    for (std::size_t i = 0; i < acceleration.size(); ++i)
        EXPECT_EQ(acceleration[i].readout, std::to_string(236 - 10 * static_cast<int>(i)));

    // The run length 4000 + 103 + 169 + 74 + 46 + 21; 30 ms ticks fit 147 times into 4413 ms.
    const auto fast = only(steps, Phase::FastRun);
    ASSERT_FALSE(fast.empty());
    EXPECT_EQ(fast.front().run_length, 4413);
    EXPECT_EQ(fast.size(), 147u);

    // 37 slowing steps, the interval growing 55 .. 235; the tick at 235 draws 221 and settles.
    const auto slowing = only(steps, Phase::Slowing);
    ASSERT_EQ(slowing.size(), 37u);
    for (std::size_t i = 0; i < slowing.size(); ++i)
        EXPECT_EQ(slowing[i].readout, std::to_string(55 + 5 * static_cast<int>(i)));
    EXPECT_EQ(w.text(board::kIntervalReadout), "235");
    EXPECT_EQ(steps.size(), 204u);

    // The acceleration takes the sum of its intervals 246 .. 56 (and one of 46 to hand over),
    // then 4413 ms of fast run and the slowing intervals 50 .. 235.
    std::uint64_t expected = 0;
    for (int i = 246; i >= 46; i -= 10) expected += static_cast<std::uint64_t>(i);
    expected += 4413;
    for (int i = 50; i <= 235; i += 5) expected += static_cast<std::uint64_t>(i);
    EXPECT_EQ(w.backend->now_ms() - started, expected);

    // 204 steps from the empty position end on position 4, orange, paying 2 to 1.
    EXPECT_EQ(w.text(board::kLampPosition), "4");
    EXPECT_EQ(w.lit_lamps(), std::vector<int>{4});
    EXPECT_EQ(w.get(board::kPrizePicture, 10).bytes().size(), w.get(board::kRing[3].picture, 10).bytes().size());
    EXPECT_TRUE(
        std::ranges::equal(w.get(board::kPrizePicture, 10).bytes(), w.get(board::kRing[3].picture, 10).bytes()));
    EXPECT_EQ(w.text(board::kOdds), "2");
    EXPECT_EQ(w.text(board::kWin), "20");
    EXPECT_EQ(w.text(board::kCredits), "110");
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
    EXPECT_EQ(w.sound_count(GameSound::Result), 1u);
    EXPECT_EQ(w.sound_count(GameSound::Step), 204u);
    EXPECT_TRUE(w.boxes.empty());

    // The spin drew 2 + 5 + 38 × 2 values: two per deceleration tick, none for the settlement.
    const std::int32_t next = w.random().in_range(0, 32767);
    RandomSource fresh;
    for (int i = 0; i < 2 + 5 + 38 * 2; ++i) fresh.in_range(0, 1);
    EXPECT_EQ(fresh.in_range(0, 32767), next);
}

TEST(Spin, StartWithoutBetsIsRefusedAndStartsNothing) {
    GameWindow w;
    w.add_credits();
    w.start();
    ASSERT_EQ(w.boxes.size(), 1u);
    EXPECT_EQ(w.boxes[0].text, "请选择下面图标进行押注！");
    EXPECT_EQ(w.boxes[0].caption, "信息提示！");
    EXPECT_FALSE(w.spinning());
    EXPECT_EQ(w.text(board::kCredits), "100");
    // The refusal drew nothing: the first spin still starts at 246.
    w.press_spinner(1, true);
    w.start();
    EXPECT_EQ(w.interval(board::kAccelerationTimer), 246);
}

// "开始" pressed again while the lamp speeds up restarts the acceleration from a fresh start
// interval; the spin still ends in one settlement.
TEST(Spin, StartDuringTheAccelerationRestartsItAndSettlesOnce) {
    GameWindow w;
    std::vector<Step> steps;
    record_steps(w, steps);
    w.add_credits();
    w.press_spinner(4, true);
    w.start();
    w.backend->run_for(1000); // 246 + 236 + 226 + 216 = 924 ms: four steps, the next tick at 1130
    ASSERT_EQ(steps.size(), 4u);
    ASSERT_EQ(w.interval(board::kAccelerationTimer), 206);
    w.start();
    const std::int32_t restart = w.interval(board::kAccelerationTimer);
    EXPECT_GE(restart, 200);
    EXPECT_LE(restart, 605);
    EXPECT_NE(restart, 206);
    ASSERT_TRUE(w.run_until_idle());

    // After the restart the readout counts down from the new start interval again.
    const auto acceleration = only(steps, Phase::Acceleration);
    ASSERT_GT(acceleration.size(), 4u);
    EXPECT_EQ(acceleration[4].readout, std::to_string(restart - 10));
    const int restarted_steps = (restart - 50 + 9) / 10;
    EXPECT_EQ(acceleration.size(), 4u + static_cast<std::size_t>(restarted_steps));
    EXPECT_EQ(acceleration.back().readout, std::to_string(restart - 10 * restarted_steps));
    EXPECT_EQ(w.sound_count(GameSound::Result), 1u);
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
    EXPECT_EQ(w.text(board::kCredits), std::to_string(90 + std::stoi(w.text(board::kWin))));
}

// Bets are read when the spin settles: a bet raised while the lamp slows is the one paid,
// and its credits are taken at once.
TEST(Spin, BetsRaisedWhileSlowingAreTheOnesSettled) {
    GameWindow w;
    w.add_credits();
    w.add_credits();
    for (int k = 1; k <= 8; ++k) w.press_spinner(k, true);
    ASSERT_EQ(w.text(board::kCredits), "120");
    w.start();
    ASSERT_TRUE(w.backend->run_until([&] { return w.interval(board::kDecelerationTimer) > 0; }, 60000));
    for (int k = 1; k <= 8; ++k) w.press_spinner(k, true);
    EXPECT_EQ(w.text(board::kCredits), "40");
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "20"));
    ASSERT_TRUE(w.run_until_idle());

    EXPECT_GE(w.sound_count(GameSound::Result), 1u);
    const int odds = std::stoi(w.text(board::kOdds));
    EXPECT_EQ(w.text(board::kWin), std::to_string(20 * odds));
    EXPECT_EQ(w.text(board::kCredits), std::to_string(40 + 20 * odds));
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
}

// A refusal box runs its own loop: the spin's timers keep ticking and the lamp keeps moving
// until the player presses OK, and the spin then ends normally.
TEST(Spin, TheSpinRunsOnWhileARefusalBoxIsOpen) {
    GameWindow w;
    std::vector<std::uint64_t> step_times;
    w.on_sound = [&](GameSound s) {
        if (s == GameSound::Step) step_times.push_back(w.backend->now_ms());
    };
    w.add_credits();
    for (int i = 0; i < 10; ++i) w.press_spinner(2, true); // every credit on the bottle cap
    ASSERT_EQ(w.text(board::kCredits), "0");
    w.start();
    w.backend->run_for(300);
    w.box_answer_delay_ms = 3000;
    w.press_spinner(6, true); // refused: no credits; OK pressed 3 s later
    ASSERT_EQ(w.boxes.size(), 1u);
    EXPECT_EQ(w.boxes[0].text, "分数不够！请先上分！");
    const std::uint64_t opened = w.boxes[0].opened_ms;
    EXPECT_EQ(w.backend->now_ms(), opened + 3000); // the handler returned when OK was pressed
    const auto during =
        std::ranges::count_if(step_times, [&](std::uint64_t t) { return t > opened && t < opened + 3000; });
    EXPECT_GT(during, 20);
    EXPECT_TRUE(w.spinning());
    EXPECT_EQ(w.sound_count(GameSound::Result), 0u);

    ASSERT_TRUE(w.run_until_idle());
    EXPECT_EQ(w.text(board::kBetColumns[5].bet_display), "0");
    EXPECT_EQ(w.text(board::kWin), std::to_string(std::stoi(w.text(board::kCredits))));
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
}

} // namespace
} // namespace tav::game::test
