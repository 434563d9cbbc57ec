#include "game/game_handlers.hpp"

#include "game/game.hpp"

namespace tav::game {

ui::MainWindowHandlers GameHandlers() {
    ui::MainWindowHandlers h;
    h.window_created = WindowCreated;
    h.window_right_down = WindowRightDown;
    h.start_spin = StartSpin;
    h.add_credits = AddCredits;
    h.change_bet = ChangeBet;
    h.acceleration_tick = AccelerationTick;
    h.run_length_tick = RunLengthTick;
    h.fast_run_tick = FastRunTick;
    h.deceleration_tick = DecelerationTick;
    return h;
}

} // namespace tav::game
