#pragma once
// Keyboard play: accelerators that do what a click on a control does, for the keys the
// controls leave alone. Keys 1 to 8 raise the bet in that column (the upper arrow of its
// spinner), Shift+1 to 8 lower it (the lower arrow), A tops up (上分) and Enter or Space start
// (开始) when no button has the focus (a focused button keeps them for itself).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tav::game {

// One accelerator: a key with or without Shift raises `event` with `argument` (none when 0)
// on the control named `control` (layout name, UTF-8), as a click on it would.
struct Accelerator {
    int key = 0; // virtual key code
    bool shift = false;
    std::string_view control;
    std::int32_t event = 0;
    std::int32_t argument = 0;
};

// The table, in the order --help lists it.
std::span<const Accelerator> accelerators();

// Runs the accelerator for a key that reached window `window_id` unused; false when the key is
// none (or Ctrl or Alt is held, or the window is not the game's).
bool play_key(std::uint32_t window_id, int vk, std::uint32_t keys);

// Installs play_key on the running runtime.
void use_keyboard_play();

// The keys, one line each ending in a newline, indented for --help.
std::string keyboard_help();

} // namespace tav::game
