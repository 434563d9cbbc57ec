// Scoring the position under the resting lamp. A random field pays nothing itself: it sends
// the lamp on and settles the new position inside this settlement, so one spin with a jump
// clears the bets and plays the result sound twice.

#include "core/conversions.hpp"
#include "game/board.hpp"
#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game.hpp"
#include "game/game_state.hpp"
#include "runtime/runtime.hpp"

namespace tav::game {
namespace {

constexpr std::int32_t kShortestJump = 1;
constexpr std::int32_t kLongestJump = 20;
constexpr double kRingSize = static_cast<double>(board::kRing.size());

// The ring position the lamp position names, or nullptr when the text names none.
const board::RingPosition* position_under_lamp() {
    const Text position = read_text(control(board::kLampPosition), kContent);
    for (const board::RingPosition& p : board::kRing) {
        if (compare_text(position, Text(p.text)) == 0) {
            return &p;
        }
    }
    return nullptr;
}

// Odds shown, win computed from the displays, win added to the credits.
void pay(const board::BetColumn& column) {
    const ControlId odds = control(board::kOdds);
    const ControlId win = control(board::kWin);
    const ControlId bet = control(column.bet_display);
    write_number(odds, kCaption, column.multiplier);
    write_text(win, kCaption, Text("0"));
    const double win_so_far = read_number(win, kCaption);
    const double stake = read_number(bet, kCaption);
    const double multiplier = read_number(odds, kCaption);
    write_number(win, kCaption, win_so_far + stake * multiplier);
    write_credits(read_credits() + read_number(win, kCaption));
}

// Sends the lamp on by 1..20 positions, then one lamp step, and settles where it lands.
void jump() {
    const ControlId position = control(board::kLampPosition);
    const double from = read_number(position, kContent);
    const double distance = random_in_range(kShortestJump, kLongestJump);
    write_number(position, kContent, from + distance);
    if (read_number(position, kContent) > kRingSize) {
        write_number(position, kContent, read_number(position, kContent) - kRingSize);
    }
    advance_lamp();
    settle_result();
}

} // namespace

void settle_result() {
    // Scores the position where this settlement began, and only that one.
    if (const board::RingPosition* position = position_under_lamp()) {
        if (position->random_field()) {
            jump();
        } else {
            pay(*board::column_of(position->motif));
        }
    }
    for (const board::BetColumn& column : board::kBetColumns) {
        write_text(control(column.bet_display), kCaption, Text("0"));
    }
    play_game_sound(GameSound::Result);
}

} // namespace tav::game
