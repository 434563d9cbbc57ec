#include "headless_game.hpp"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "core/conversions.hpp"
#include "game/board.hpp"
#include "game/control_names.hpp"
#include "game/game_handlers.hpp"
#include "game/main_window_layout.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"

namespace tav::report {
namespace {

// Caption, content and interval are property 8 of the kinds read here.
constexpr std::int32_t kTextProperty = 8;
constexpr std::int32_t kNoSub = -1;
// Event 0 of a button is Click, of a spinner Adjust (with +1 for the upper arrow).
constexpr std::int32_t kClickOrAdjust = 0;
constexpr std::int32_t kUpperArrow = 1;
constexpr double kTopUp = 100;
constexpr int kBetStep = 10;
// A spin takes at most about 13 s; one that has not settled in this long is a fault.
constexpr std::uint64_t kLongestSpinMs = 120000;
constexpr int kSecondsPerMinute = 60;
// The day the clock shows; only its seconds matter to the game.
constexpr LocalTime kMinuteStart{2026, 12, 7, 21, 30, 0};

} // namespace

int rounded_period_eighths(int ms) {
    const int eighths = ms * kRoundedUnitsPerMs;
    return (eighths + kDesktopTickEighths - 1) / kDesktopTickEighths * kDesktopTickEighths;
}

HeadlessGame::HeadlessGame(const PlayerOptions& options)
    : options_(options), clock_random_(options.clock_seed),
      units_per_ms_(options.tick_rounding ? kRoundedUnitsPerMs : 1) {
    for (int bet : options_.bets) {
        if (bet < 0 || bet % kBetStep != 0) throw std::invalid_argument("bets are multiples of 10");
    }
    auto backend = std::make_unique<platform::HeadlessBackend>();
    backend_ = backend.get();
    runtime_ = std::make_unique<Runtime>(
        ui::main_window_layout(game::game_handlers()), std::move(backend),
        ui::Services{.wall_clock = [this] { return now(); },
                     .program = game::SoundWatch{[this](game::GameSound sound) { on_sound(sound); }, false}});
    if (options_.tick_rounding) runtime_->windows().set_timer_period_map(rounded_period_eighths);
    runtime_->load_window(ui::kMainWindowId);
    // Hidden, the window keeps its controls, timers and events but is never composed.
    runtime_->windows().show(runtime_->window_handle_of(ui::kMainWindowId), false);

    start_button_ = game::control(game::board::kStartButton);
    credit_button_ = game::control(game::board::kAddCreditsButton);
    position_ = game::control(game::board::kLampPosition);
    odds_ = game::control(game::board::kOdds);
    win_ = game::control(game::board::kWin);
    credits_ = game::control(game::board::kCredits);
    acceleration_timer_ = game::control(game::board::kAccelerationTimer);
    fast_timer_ = game::control(game::board::kFastRunTimer);
    for (std::size_t k = 0; k < spinners_.size(); ++k)
        spinners_[k] = game::control(game::board::kBetColumns[k].spinner);
    positions_.reserve(512);
}

HeadlessGame::~HeadlessGame() { runtime_.reset(); }

RandomSource& HeadlessGame::random() { return runtime_->services().random; }

double HeadlessGame::stake() const {
    double sum = 0;
    for (int bet : options_.bets) sum += bet;
    return sum;
}

double HeadlessGame::credits() {
    // Wins are added without limit, so the credits may pass the 32-bit range: read as a double.
    const Value v = runtime_->get_property(ui::kMainWindowId, credits_, kTextProperty, kNoSub);
    return std::strtod(std::string(v.text().view()).c_str(), nullptr);
}

std::int32_t HeadlessGame::interval_of(std::uint32_t timer) {
    return to_integer(runtime_->get_property(ui::kMainWindowId, timer, kTextProperty, kNoSub));
}

std::int32_t HeadlessGame::number(std::uint32_t control) {
    return to_integer(runtime_->get_property(ui::kMainWindowId, control, kTextProperty, kNoSub).text());
}

void HeadlessGame::raise(std::uint32_t control, std::optional<std::int32_t> argument) {
    EventNotice notice;
    notice.window_id = ui::kMainWindowId;
    notice.control_id = control;
    notice.event = kClickOrAdjust;
    if (argument) {
        notice.argument_count = 1;
        notice.arguments[0] = *argument;
    }
    runtime_->raise_event(notice);
}

double HeadlessGame::elapsed_ms() { return static_cast<double>(backend_->now_ms() - spin_start_) / units_per_ms_; }

LocalTime HeadlessGame::now() {
    LocalTime t = kMinuteStart;
    switch (options_.clock) {
        case ClockMode::Hold: t.second = options_.hold_seconds; break;
        case ClockMode::PerRead:
            t.second = std::uniform_int_distribution<int>(0, kSecondsPerMinute - 1)(clock_random_);
            break;
        case ClockMode::Player: {
            const double at = minute_phase_s_ + elapsed_ms() / 1000.0;
            t.second = static_cast<int>(std::fmod(std::floor(at), kSecondsPerMinute));
            break;
        }
    }
    return t;
}

void HeadlessGame::on_sound(game::GameSound sound) {
    if (sound == game::GameSound::Result) {
        ++settlements_;
        return;
    }
    if (sound != game::GameSound::Step) return;
    // The running timer tells the phase: 时钟1 while accelerating, 时钟3 in the fast run, and
    // 时钟4 alone while slowing (random jumps are told apart afterwards). The two never run
    // together in a spin started from rest, and most steps are fast: 时钟3 is asked first.
    const Phase phase = interval_of(fast_timer_) > 0           ? Phase::Fast
                        : interval_of(acceleration_timer_) > 0 ? Phase::Acceleration
                                                               : Phase::Slowing;
    ++steps_[static_cast<std::size_t>(phase)];
    positions_.push_back(number(position_));
}

SpinRecord HeadlessGame::play_spin() {
    const double staked = stake();
    while (credits() < staked) raise(credit_button_, std::nullopt);
    for (std::size_t k = 0; k < spinners_.size(); ++k) {
        for (int placed = 0; placed < options_.bets[k]; placed += kBetStep) raise(spinners_[k], kUpperArrow);
    }

    settlements_ = 0;
    steps_ = {};
    positions_.clear();
    spin_start_ = backend_->now_ms();
    if (options_.clock == ClockMode::Player) {
        minute_phase_s_ = std::uniform_real_distribution<double>(0, kSecondsPerMinute)(clock_random_);
    }

    raise(start_button_, std::nullopt);
    // Every settlement of a spin, nested ones included, happens inside the one deceleration tick
    // that also stops 时钟4; the loop checks after each message, so the spin is over here.
    if (!backend_->run_until([this] { return settlements_ > 0; },
                             kLongestSpinMs * static_cast<std::uint64_t>(units_per_ms_))) {
        throw std::runtime_error("a spin did not settle");
    }

    SpinRecord r;
    r.settlements = settlements_;
    r.acceleration_steps = steps_[static_cast<std::size_t>(Phase::Acceleration)];
    r.fast_steps = steps_[static_cast<std::size_t>(Phase::Fast)];
    // Each settlement after the first follows a random jump that made one lamp step.
    r.jump_steps = settlements_ - 1;
    r.slowing_steps = steps_[static_cast<std::size_t>(Phase::Slowing)] - r.jump_steps;
    const std::size_t n = positions_.size();
    const std::size_t jumps = static_cast<std::size_t>(r.jump_steps);
    r.rest_position = n > jumps ? positions_[n - 1 - jumps] : 0;
    r.final_position = number(position_);
    r.duration_ms = std::llround(elapsed_ms());
    r.win = number(win_);
    r.odds = number(odds_);
    return r;
}

} // namespace tav::report
