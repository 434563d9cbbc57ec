// Scoring the position under the resting lamp. A random field pays nothing itself: it sends
// the lamp on and settles the new position inside this settlement, so one spin with a jump
// clears the bets and plays the result sound twice.

#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game.hpp"
#include "game/game_state.hpp"
#include "game/pay_table.hpp"
#include "core/conversions.hpp"
#include "core/random.hpp"

namespace tav::game {
namespace {

constexpr std::int32_t kShortestJump = 1;
constexpr std::int32_t kLongestJump = 20;
constexpr double kRingSize = 20;

// The pay table row of the lamp position, or nullptr when the text names no position.
const PayRow* RowUnderLamp() {
    const Text position = ReadText(Control("编辑框1"), kContent);
    for (std::size_t k = 0; k < kPayTable.size(); ++k) {
        if (CompareText(position, Text(kPositionTexts[k])) == 0) {
            return &kPayTable[k];
        }
    }
    return nullptr;
}

// Odds shown, win computed from the displays, win added to the credits.
void Pay(const PayRow& row) {
    const ControlId odds = Control("透明标签1");
    const ControlId win = Control("标签10");
    const ControlId bet = Control(row.betDisplay);
    WriteText(odds, kCaption, Text(row.odds));
    WriteText(win, kCaption, Text("0"));
    const double winSoFar = ReadNumber(win, kCaption);
    const double stake = ReadNumber(bet, kCaption);
    const double multiplier = ReadNumber(odds, kCaption);
    WriteNumber(win, kCaption, winSoFar + stake * multiplier);
    WriteCredits(ReadCredits() + ReadNumber(win, kCaption));
}

// Sends the lamp on by 1..20 positions, then one lamp step, and settles where it lands.
void Jump() {
    const ControlId position = Control("编辑框1");
    const double from = ReadNumber(position, kContent);
    const double distance = RandomInRange(kShortestJump, kLongestJump);
    WriteNumber(position, kContent, from + distance);
    if (ReadNumber(position, kContent) > kRingSize) {
        WriteNumber(position, kContent, ReadNumber(position, kContent) - kRingSize);
    }
    AdvanceLamp();
    SettleResult();
}

} // namespace

void SettleResult() {
    // Scores the row where this settlement began, and only that one.
    if (const PayRow* row = RowUnderLamp()) {
        if (row->random_field()) {
            Jump();
        } else {
            Pay(*row);
        }
    }
    for (const std::string_view display : kBetDisplays) {
        WriteText(Control(display), kCaption, Text("0"));
    }
    PlayGameSound(GameSound::Result);
}

} // namespace tav::game
