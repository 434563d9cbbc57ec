// The game's operations gathered into the handler set the main window's layout binds to its events.
#include "game/game_handlers.hpp"

#include "game/game.hpp"

namespace tav::game {

ui::MainWindowHandlers game_handlers() {
    ui::MainWindowHandlers h;
    h.window_created = window_created;
    h.window_right_down = window_right_down;
    h.start_spin = start_spin;
    h.add_credits = add_credits;
    h.change_bet = change_bet;
    h.acceleration_tick = acceleration_tick;
    h.run_length_tick = run_length_tick;
    h.fast_run_tick = fast_run_tick;
    h.deceleration_tick = deceleration_tick;
    return h;
}

} // namespace tav::game
