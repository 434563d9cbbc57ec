#pragma once
// The game's event handlers, as the main window layout binds them. Each runs on the window's
// thread inside the event that caused it; none returns a result.

#include <cstdint>

#include "game/control_names.hpp"

namespace tav::game {

// The window's Created event: themed look of the controls on, background music started once.
void window_created();
// The window's RightDown event (pointer position and keys are ignored): the long title.
void window_right_down(std::int32_t x, std::int32_t y, std::int32_t keys);

// Click of "上分" (`按钮2`): 100 more credits, refused from 999999990 on.
void add_credits();
// Adjust of a bet spinner: `button` 1 raises the bet shown in `betDisplay` by 10 for 10 credits,
// any other value lowers it by 10 and gives the 10 credits back.
void change_bet(ControlId bet_display, std::int32_t button);

// Click of "开始" (`按钮1`): starts the acceleration timer with a drawn start interval.
void start_spin();
// Tick of `时钟1`: one step faster, or hand over to the fast run.
void acceleration_tick();
// Tick of `时钟3`: one lamp step.
void fast_run_tick();
// Tick of `时钟2`: the fast run ends and the slowing begins.
void run_length_tick();
// Tick of `时钟4`: one step slower, or settle and stop.
void deceleration_tick();

// Moves the lamp one position clockwise, lights it, shows its picture and plays the step sound.
void advance_lamp();
// Scores the position under the lamp, clears the bets and plays the result sound.
void settle_result();

} // namespace tav::game
