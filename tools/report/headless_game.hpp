#pragma once
// One player at the real game: the main window with the game's handlers, loaded by the real
// runtime on the headless backend of the calling thread, driven by events of its real controls
// and by the virtual clock. The window is hidden after loading, so nothing is composed; the
// game's sounds are counted but not played.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "core/calendar.hpp"
#include "core/random.hpp"
#include "game/feedback.hpp"
#include "statistics.hpp"

namespace tav {
class Runtime;
namespace platform {
class HeadlessBackend;
}
} // namespace tav

namespace tav::report {

// Where the seconds of the wall clock come from.
enum class ClockMode {
    // Each spin starts at a uniformly random moment of the minute (the tool's own generator);
    // from there the clock follows the virtual time of the spin.
    Player,
    // Every read of the clock gives an independent uniformly random second 0..59.
    PerRead,
    // Every read gives the same second.
    Hold,
};

// Length of one system tick of the desktop the game was made for, in eighths of a millisecond
// (15.625 ms); with tick rounding every timer period is rounded up to a whole number of these.
inline constexpr int kDesktopTickEighths = 125;
// Clock units per millisecond when periods are rounded: eighths make 15.625 ms a whole number.
inline constexpr int kRoundedUnitsPerMs = 8;

// How a player plays.
struct PlayerOptions {
    ClockMode clock = ClockMode::Player;
    int hold_seconds = 0;                                           // for ClockMode::Hold
    bool tick_rounding = false;                                     // periods rounded up to 15.625 ms steps
    std::uint64_t clock_seed = 1;                                   // the tool's generator for the clock
    std::array<int, kSymbols> bets{10, 10, 10, 10, 10, 10, 10, 10}; // credits per symbol, multiples of 10
};

// The timer period a desktop with 15.625 ms ticks delivers for `ms`, in eighths of a ms.
int rounded_period_eighths(int ms);

class HeadlessGame {
public:
    // Builds the runtime and loads the main window on this thread (the game's Created handler
    // runs as at program start). The runtime's wall clock is the player's, its random source
    // starts at its starting state, and the game's sounds are counted here and not played.
    explicit HeadlessGame(const PlayerOptions& options);
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // Places the bets (topping up first when the credits fall short), presses 开始 and runs the
    // loop until the spin has settled; returns what the spin did.
    SpinRecord play_spin();
    // Credits staked per spin by the bet pattern.
    double stake() const;
    // The credits display now.
    double credits();

    // The random source of the game's runtime.
    RandomSource& random();

private:
    // What the game's sounds and its clock reads come to.
    void on_sound(game::GameSound sound);
    LocalTime now();

    enum class Phase { Acceleration, Fast, Slowing };
    std::int32_t interval_of(std::uint32_t timer);
    std::int32_t number(std::uint32_t control);
    void raise(std::uint32_t control, std::optional<std::int32_t> argument);
    double elapsed_ms();

    PlayerOptions options_;
    platform::HeadlessBackend* backend_ = nullptr;
    std::unique_ptr<Runtime> runtime_;
    std::mt19937_64 clock_random_;
    int units_per_ms_ = 1;

    // Control ids looked up once.
    std::uint32_t start_button_, credit_button_, position_, odds_, win_, credits_;
    std::uint32_t acceleration_timer_, fast_timer_;
    std::array<std::uint32_t, kSymbols> spinners_{};

    // The spin being played.
    std::uint64_t spin_start_ = 0;
    double minute_phase_s_ = 0;
    int settlements_ = 0;
    std::array<int, 3> steps_{};
    std::vector<int> positions_;
};

} // namespace tav::report
