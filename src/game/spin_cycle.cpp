// The spin: four timers hand over to one another. `时钟1` speeds the lamp up, `时钟3` runs it
// at full speed until `时钟2` ends the run, and `时钟4` slows it until a drawn threshold stops it.
// Nothing records that a spin is running: the timer intervals are the whole story.

#include <cmath>

#include "core/clock.hpp"
#include "core/conversions.hpp"
#include "game/board.hpp"
#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game.hpp"
#include "game/game_state.hpp"
#include "runtime/runtime.hpp"

namespace tav::game {
namespace {

// A bet sum this close to 0 counts as no bet.
constexpr double kNoBetTolerance = 1e-07;

constexpr double kStartIntervalBase = 200;
constexpr std::int32_t kStartSpread = 60;
constexpr double kStartSecondsBound = 50; // plus 5 per second of the clock
constexpr double kSecondsScale = 5;

constexpr double kAccelerationStep = 10;
// The acceleration ends at the first tick that finds the interval at or below this.
constexpr std::int32_t kFastestAcceleration = 50;

constexpr double kRunLengthBase = 4000;
constexpr int kRunLengthDraws = 5;
constexpr std::int32_t kRunLengthSpread = 200;
constexpr std::int32_t kFastRunInterval = 30;

constexpr std::int32_t kSlowingStart = 50;
constexpr double kSlowingStep = 5;
constexpr double kThresholdBase = 200;
constexpr std::int32_t kThresholdSpread = 65;
constexpr double kThresholdSecondsBound = 55; // plus 5 per second of the clock

constexpr int kRingSize = static_cast<int>(board::kRing.size());

// The seconds field of the local time now.
double clock_seconds() { return second_of(current_date_time()); }

// base + random(0, spread) + random(0, 5 × s + secondsBound). The first draw comes before the
// clock is read, and the clock-scaled bound is fixed before the second draw.
double draw_scaled(double base, std::int32_t spread, double seconds_bound) {
    const double first = random_in_range(0, spread);
    const std::int32_t bound = truncate_to_integer(kSecondsScale * clock_seconds() + seconds_bound);
    const double second = random_in_range(0, bound);
    return base + first + second;
}

double draw_run_length() {
    double length = kRunLengthBase;
    for (int i = 0; i < kRunLengthDraws; ++i) {
        length += random_in_range(0, kRunLengthSpread);
    }
    return length;
}

// Shows a timer's current interval in the readout `标签`.
void show_interval(ControlId timer) {
    write_text(control(board::kIntervalReadout), kCaption, to_text(read_interval(timer)));
}

} // namespace

void start_spin() {
    double bets = 0;
    for (const board::BetColumn& column : board::kBetColumns) {
        bets += read_number(control(column.bet_display), kCaption);
    }
    if (std::fabs(bets) <= kNoBetTolerance) {
        show_refusal("请选择下面图标进行押注！", "信息提示！");
        return;
    }
    // The bets were paid for when placed; only the acceleration timer is (re)started.
    set_interval(control(board::kAccelerationTimer),
                 truncate_to_integer(draw_scaled(kStartIntervalBase, kStartSpread, kStartSecondsBound)));
}

void acceleration_tick() {
    const ControlId timer = control(board::kAccelerationTimer);
    if (read_interval(timer) > kFastestAcceleration) {
        set_interval(timer, truncate_to_integer(read_interval(timer) - kAccelerationStep));
        show_interval(timer);
        advance_lamp();
        return;
    }
    set_interval(timer, 0);
    set_interval(control(board::kRunLengthTimer), truncate_to_integer(draw_run_length()));
    set_interval(control(board::kFastRunTimer), kFastRunInterval);
}

void fast_run_tick() { advance_lamp(); }

void run_length_tick() {
    set_interval(control(board::kFastRunTimer), 0);
    set_interval(control(board::kDecelerationTimer), kSlowingStart);
    set_interval(control(board::kRunLengthTimer), 0);
}

void deceleration_tick() {
    const double threshold = draw_scaled(kThresholdBase, kThresholdSpread, kThresholdSecondsBound);
    const ControlId timer = control(board::kDecelerationTimer);
    if (read_interval(timer) < threshold) {
        set_interval(timer, truncate_to_integer(read_interval(timer) + kSlowingStep));
        show_interval(timer);
        advance_lamp();
        return;
    }
    // Settled while the timer still runs; it stops only afterwards.
    settle_result();
    set_interval(timer, 0);
}

void advance_lamp() {
    const ControlId position = control(board::kLampPosition);
    if (read_number(position, kContent) >= kRingSize) {
        write_text(position, kContent, Text());
    }
    // Empty text reads as 0, so the ring starts again at 1.
    write_number(position, kContent, read_number(position, kContent) + 1.0);
    // Nothing in the loop writes the position, so it is read once.
    const Text now = read_text(position, kContent);
    const ControlId prize = control(board::kPrizePicture);
    const auto& lamps = lamp_ids();
    const auto& pictures = ring_picture_ids();
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        // Texts are equal exactly when compare_text gives 0.
        if (now.view() == board::kRing[k].text) {
            set_visible(lamps[k], true);
            copy_picture(pictures[k], prize);
        } else {
            set_visible(lamps[k], false);
        }
    }
    play_game_sound(GameSound::Step);
}

} // namespace tav::game
