// Scoring the position under the resting lamp. A random field pays nothing itself: it sends
// the lamp on and settles the new position inside this settlement, so one spin with a jump
// clears the bets and plays the result sound twice.

#include "core/conversions.hpp"
#include "core/random.hpp"
#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game.hpp"
#include "game/game_state.hpp"
#include "game/pay_table.hpp"

namespace tav::game {
namespace {

constexpr std::int32_t kShortestJump = 1;
constexpr std::int32_t kLongestJump = 20;
constexpr double kRingSize = 20;

// The pay table row of the lamp position, or nullptr when the text names no position.
const PayRow* row_under_lamp() {
    const Text position = read_text(control("编辑框1"), kContent);
    for (std::size_t k = 0; k < kPayTable.size(); ++k) {
        if (compare_text(position, Text(kPositionTexts[k])) == 0) {
            return &kPayTable[k];
        }
    }
    return nullptr;
}

// Odds shown, win computed from the displays, win added to the credits.
void pay(const PayRow& row) {
    const ControlId odds = control("透明标签1");
    const ControlId win = control("标签10");
    const ControlId bet = control(row.bet_display);
    write_text(odds, kCaption, Text(row.odds));
    write_text(win, kCaption, Text("0"));
    const double win_so_far = read_number(win, kCaption);
    const double stake = read_number(bet, kCaption);
    const double multiplier = read_number(odds, kCaption);
    write_number(win, kCaption, win_so_far + stake * multiplier);
    write_credits(read_credits() + read_number(win, kCaption));
}

// Sends the lamp on by 1..20 positions, then one lamp step, and settles where it lands.
void jump() {
    const ControlId position = control("编辑框1");
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
    // Scores the row where this settlement began, and only that one.
    if (const PayRow* row = row_under_lamp()) {
        if (row->random_field()) {
            jump();
        } else {
            pay(*row);
        }
    }
    for (const std::string_view display : kBetDisplays) {
        write_text(control(display), kCaption, Text("0"));
    }
    play_game_sound(GameSound::Result);
}

} // namespace tav::game
