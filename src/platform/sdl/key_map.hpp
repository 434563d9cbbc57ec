#pragma once
// Translation of SDL key codes into the virtual key codes our window system reports.

#include <cstdint>

namespace tav::platform::sdl {

// The virtual key code (platform/input.hpp) of an SDL key code, or 0 for a key the window
// system has no code for (such keys are not reported). Left and right modifier keys share one
// code each (Shift 0x10, Control 0x11, Alt 0x12); keypad keys get the numpad codes, except
// keypad Enter, which is Return as on the classic desktop.
int virtual_key_from_sdl(std::int32_t sdl_keycode);

} // namespace tav::platform::sdl
