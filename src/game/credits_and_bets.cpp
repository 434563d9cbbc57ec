// Moving credits: top-ups on "上分" and bets placed and taken back on the eight spinners.
// A bet is paid for when it is placed, so every bet step moves 10 credits at once.

#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game.hpp"
#include "game/game_state.hpp"

namespace tav::game {
namespace {

constexpr double kTopUp = 100;
// Balances from here on are not topped up; 999999980 still gets its 100.
constexpr double kTopUpCeiling = 999999990;
constexpr double kBetStep = 10;
// Bets from here on are not raised.
constexpr double kBetCeiling = 990;
constexpr std::int32_t kUpperArrow = 1;

} // namespace

void add_credits() {
    if (read_credits() < kTopUpCeiling) {
        write_credits(read_credits() + kTopUp);
        return;
    }
    show_refusal("分数到顶了！", std::nullopt);
}

void change_bet(ControlId bet_display, std::int32_t button) {
    if (button == kUpperArrow) {
        // The credits are looked at only once the bet itself may still grow.
        bool allowed = false;
        if (read_number(bet_display, kCaption) < kBetCeiling) {
            allowed = read_credits() != 0;
        }
        if (allowed) {
            write_number(bet_display, kCaption, read_number(bet_display, kCaption) + kBetStep);
            write_credits(read_credits() - kBetStep);
            return;
        }
        show_refusal("分数不够！请先上分！", "信息提示！");
        return;
    }
    if (read_number(bet_display, kCaption) > 0) {
        write_number(bet_display, kCaption, read_number(bet_display, kCaption) - kBetStep);
        write_credits(read_credits() + kBetStep);
    }
}

} // namespace tav::game
