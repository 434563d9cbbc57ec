// The spin: four timers hand over to one another. `时钟1` speeds the lamp up, `时钟3` runs it
// at full speed until `时钟2` ends the run, and `时钟4` slows it until a drawn threshold stops it.
// Nothing records that a spin is running: the timer intervals are the whole story.

#include <cmath>

#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game.hpp"
#include "game/game_state.hpp"
#include "game/pay_table.hpp"
#include "core/clock.hpp"
#include "core/conversions.hpp"
#include "core/random.hpp"

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

constexpr int kRingSize = 20;

// The seconds field of the local time now.
double ClockSeconds() {
    return SecondOf(CurrentDateTime());
}

// base + random(0, spread) + random(0, 5 × s + secondsBound). The first draw comes before the
// clock is read, and the clock-scaled bound is fixed before the second draw.
double DrawScaled(double base, std::int32_t spread, double secondsBound) {
    const double first = RandomInRange(0, spread);
    const std::int32_t bound = TruncateToInteger(kSecondsScale * ClockSeconds() + secondsBound);
    const double second = RandomInRange(0, bound);
    return base + first + second;
}

double DrawRunLength() {
    double length = kRunLengthBase;
    for (int i = 0; i < kRunLengthDraws; ++i) {
        length += RandomInRange(0, kRunLengthSpread);
    }
    return length;
}

// Shows a timer's current interval in the readout `标签`.
void ShowInterval(ControlId timer) {
    WriteText(Control("标签"), kCaption, ToText(ReadInterval(timer)));
}

} // namespace

void StartSpin() {
    double bets = 0;
    for (const std::string_view display : kBetDisplays) {
        bets += ReadNumber(Control(display), kCaption);
    }
    if (std::fabs(bets) <= kNoBetTolerance) {
        ShowRefusal("请选择下面图标进行押注！", "信息提示！");
        return;
    }
    // The bets were paid for when placed; only the acceleration timer is (re)started.
    SetInterval(Control("时钟1"), TruncateToInteger(DrawScaled(kStartIntervalBase, kStartSpread, kStartSecondsBound)));
}

void AccelerationTick() {
    const ControlId timer = Control("时钟1");
    if (ReadInterval(timer) > kFastestAcceleration) {
        SetInterval(timer, TruncateToInteger(ReadInterval(timer) - kAccelerationStep));
        ShowInterval(timer);
        AdvanceLamp();
        return;
    }
    SetInterval(timer, 0);
    SetInterval(Control("时钟2"), TruncateToInteger(DrawRunLength()));
    SetInterval(Control("时钟3"), kFastRunInterval);
}

void FastRunTick() {
    AdvanceLamp();
}

void RunLengthTick() {
    SetInterval(Control("时钟3"), 0);
    SetInterval(Control("时钟4"), kSlowingStart);
    SetInterval(Control("时钟2"), 0);
}

void DecelerationTick() {
    const double threshold = DrawScaled(kThresholdBase, kThresholdSpread, kThresholdSecondsBound);
    const ControlId timer = Control("时钟4");
    if (ReadInterval(timer) < threshold) {
        SetInterval(timer, TruncateToInteger(ReadInterval(timer) + kSlowingStep));
        ShowInterval(timer);
        AdvanceLamp();
        return;
    }
    // Settled while the timer still runs; it stops only afterwards.
    SettleResult();
    SetInterval(timer, 0);
}

void AdvanceLamp() {
    const ControlId position = Control("编辑框1");
    if (ReadNumber(position, kContent) >= kRingSize) {
        WriteText(position, kContent, Text());
    }
    // Empty text reads as 0, so the ring starts again at 1.
    WriteNumber(position, kContent, ReadNumber(position, kContent) + 1.0);
    // Nothing in the loop writes the position, so it is read once.
    const Text now = ReadText(position, kContent);
    const ControlId prize = Control("图奖");
    const auto& lamps = LampIds();
    const auto& pictures = RingPictureIds();
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        // Texts are equal exactly when CompareText gives 0.
        if (now.view() == kPositionTexts[k]) {
            SetVisible(lamps[k], true);
            CopyPicture(pictures[k], prize);
        } else {
            SetVisible(lamps[k], false);
        }
    }
    PlayGameSound(GameSound::Step);
}

} // namespace tav::game
