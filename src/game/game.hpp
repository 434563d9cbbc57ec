#pragma once
// The game's event handlers, as the main window layout binds them. Each runs on the window's
// thread inside the event that caused it; none returns a result.

#include <cstdint>

#include "game/control_names.hpp"

namespace tav::game {

// The window's Created event: themed look of the controls on, background music started once.
void WindowCreated();
// The window's RightDown event (pointer position and keys are ignored): the long title.
void WindowRightDown(std::int32_t x, std::int32_t y, std::int32_t keys);

// Click of "上分" (`按钮2`): 100 more credits, refused from 999999990 on.
void AddCredits();
// Adjust of a bet spinner: `button` 1 raises the bet shown in `betDisplay` by 10 for 10 credits,
// any other value lowers it by 10 and gives the 10 credits back.
void ChangeBet(ControlId betDisplay, std::int32_t button);

// Click of "开始" (`按钮1`): starts the acceleration timer with a drawn start interval.
void StartSpin();
// Tick of `时钟1`: one step faster, or hand over to the fast run.
void AccelerationTick();
// Tick of `时钟3`: one lamp step.
void FastRunTick();
// Tick of `时钟2`: the fast run ends and the slowing begins.
void RunLengthTick();
// Tick of `时钟4`: one step slower, or settle and stop.
void DecelerationTick();

// Moves the lamp one position clockwise, lights it, shows its picture and plays the step sound.
void AdvanceLamp();
// Scores the position under the lamp, clears the bets and plays the result sound.
void SettleResult();

} // namespace tav::game
