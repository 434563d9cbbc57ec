#pragma once
// The game's handlers in the shape the main window layout binds.

#include "game/main_window_layout.hpp"

namespace tav::game {

// Every bindable handler of the game: pass it to ui::MainWindowLayout to get the game's window.
ui::MainWindowHandlers GameHandlers();

} // namespace tav::game
