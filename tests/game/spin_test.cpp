// Whole spins on the real window: the timers hand over, the lamp steps and the spin settles.

#include <numeric>

#include "game_window.hpp"

namespace tav::game::test {
namespace {

// Which phase a lamp step belongs to, judged from the timers when its sound starts.
enum class Phase { Acceleration, FastRun, Slowing };

struct Step {
    Phase phase;
    std::string readout;   // the interval readout `标签`
    std::int32_t run_length; // `时钟2`
};

// Records every lamp step of `w` into `steps`.
void RecordSteps(GameWindow& w, std::vector<Step>& steps) {
    w.on_sound = [&w, &steps](GameSound s) {
        if (s != GameSound::Step) return;
        const Phase p = w.interval("时钟1") > 0 ? Phase::Acceleration
                        : w.interval("时钟3") > 0 ? Phase::FastRun
                                                  : Phase::Slowing;
        steps.push_back({p, w.text("标签"), w.interval("时钟2")});
    };
}

std::vector<Step> Only(const std::vector<Step>& steps, Phase p) {
    std::vector<Step> out;
    std::ranges::copy_if(steps, std::back_inserter(out), [p](const Step& s) { return s.phase == p; });
    return out;
}

// The first spin after start-up with the clock's seconds at 0: every draw of it is fixed, and
// with ticks exactly on time so is the number of fast steps, hence where the lamp stops.
TEST(Spin, FirstSpinAfterStartUpFollowsItsDrawsToPositionFour) {
    GameWindow w;
    std::vector<Step> steps;
    RecordSteps(w, steps);
    w.add_credits();
    w.press_spinner(8, true); // 10 on orange
    ASSERT_EQ(w.text("标签9"), "90");

    const std::uint64_t started = w.backend->now_ms();
    w.start();
    EXPECT_EQ(w.interval("时钟1"), 246);
    ASSERT_TRUE(w.run_until_idle());

    // 20 acceleration steps showing 236, 226, ... 46.
    const auto acceleration = Only(steps, Phase::Acceleration);
    ASSERT_EQ(acceleration.size(), 20u);
    for (std::size_t i = 0; i < acceleration.size(); ++i)
        EXPECT_EQ(acceleration[i].readout, std::to_string(236 - 10 * static_cast<int>(i)));

    // The run length 4000 + 103 + 169 + 74 + 46 + 21; 30 ms ticks fit 147 times into 4413 ms.
    const auto fast = Only(steps, Phase::FastRun);
    ASSERT_FALSE(fast.empty());
    EXPECT_EQ(fast.front().run_length, 4413);
    EXPECT_EQ(fast.size(), 147u);

    // 37 slowing steps, the interval growing 55 .. 235; the tick at 235 draws 221 and settles.
    const auto slowing = Only(steps, Phase::Slowing);
    ASSERT_EQ(slowing.size(), 37u);
    for (std::size_t i = 0; i < slowing.size(); ++i)
        EXPECT_EQ(slowing[i].readout, std::to_string(55 + 5 * static_cast<int>(i)));
    EXPECT_EQ(w.text("标签"), "235");
    EXPECT_EQ(steps.size(), 204u);

    // The acceleration takes the sum of its intervals 246 .. 56 (and one of 46 to hand over),
    // then 4413 ms of fast run and the slowing intervals 50 .. 235.
    std::uint64_t expected = 0;
    for (int i = 246; i >= 46; i -= 10) expected += static_cast<std::uint64_t>(i);
    expected += 4413;
    for (int i = 50; i <= 235; i += 5) expected += static_cast<std::uint64_t>(i);
    EXPECT_EQ(w.backend->now_ms() - started, expected);

    // 204 steps from the empty position end on position 4, orange, paying 2 to 1.
    EXPECT_EQ(w.text("编辑框1"), "4");
    EXPECT_EQ(w.lit_lamps(), std::vector<int>{4});
    EXPECT_EQ(w.get("图奖", 10).bytes().size(), w.get("吐框4", 10).bytes().size());
    EXPECT_TRUE(std::ranges::equal(w.get("图奖", 10).bytes(), w.get("吐框4", 10).bytes()));
    EXPECT_EQ(w.text("透明标签1"), "2");
    EXPECT_EQ(w.text("标签10"), "20");
    EXPECT_EQ(w.text("标签9"), "110");
    EXPECT_EQ(w.bets(), std::vector<std::string>(8, "0"));
    EXPECT_EQ(w.sound_count(GameSound::Result), 1u);
    EXPECT_EQ(w.sound_count(GameSound::Step), 204u);
    EXPECT_TRUE(w.boxes.empty());
}

} // namespace
} // namespace tav::game::test
