#pragma once
// The program's icon on its windows.

#include "gfx/bitmap.hpp"

namespace tav::game {

// The embedded program icon as ARGB pixels.
Bitmap program_icon();

// Gives every top-level window of the running runtime, and every later one, the program icon
// (the game window and the message boxes alike). Does nothing without a runtime.
void use_program_icon();

} // namespace tav::game
