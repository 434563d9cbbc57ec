#pragma once
// The game's state lives in the controls of the main window: every number is the text of a
// control, read back when it is needed and written back as text. These accessors are the only
// way the handlers touch that state.

#include <cstdint>
#include <string_view>

#include "core/value.hpp"
#include "game/control_names.hpp"

namespace tav::game {

// Property numbers of the kinds the game touches.
inline constexpr int kVisible = 5;
inline constexpr int kCaption = 8;  // window, Label, TransLabel
inline constexpr int kContent = 8;  // EditBox
inline constexpr int kInterval = 8; // Timer
inline constexpr int kPicture = 10; // PicBox

// The text of a control's property, a missing text read as the empty text.
Text read_text(ControlId control, int property);
// Replaces the text of a control's property.
void write_text(ControlId control, int property, const Text& text);

// A caption or content read as a signed 32-bit number (to_integer: empty text is 0).
std::int32_t read_number(ControlId control, int property);
// Writes a number computed in double precision as its text (to_text of the double).
void write_number(ControlId control, int property, double value);

// The credits (board::kCredits). Unlike read_number they never wrap: wins are added without limit, so
// a balance past 2147483647 must read back as itself, not as a negative number.
double read_credits();
// Writes the credits as text.
void write_credits(double credits);

// Shows or hides a control.
void set_visible(ControlId control, bool visible);
// Copies the picture data of one picture box into another.
void copy_picture(ControlId from, ControlId to);

// The interval of a timer in milliseconds, 0 while it is stopped.
std::int32_t read_interval(ControlId timer);
// Starts a timer with `ms` (its period restarts now) or stops it with 0.
void set_interval(ControlId timer, std::int32_t ms);

// Replaces the title of the main window.
void set_window_caption(const Text& caption);

} // namespace tav::game
