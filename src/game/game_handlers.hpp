#pragma once
// The game's handlers in the shape the main window layout binds.

#include "game/main_window_layout.hpp"

namespace tav::game {

// Every bindable handler of the game: pass it to ui::main_window_layout to get the game's window.
ui::MainWindowHandlers game_handlers();

} // namespace tav::game
