// The state accessors over property access: texts and numbers, credits, visibility, pictures, intervals.
#include "game/game_state.hpp"

#include "core/conversions.hpp"
#include "game/board.hpp"
#include "game/credit_text.hpp"
#include "runtime/runtime.hpp"

namespace tav::game {
namespace {

// Own properties of a control take no sub-index.
constexpr std::int32_t kNoSubIndex = -1;

Value get(ControlId control, int property) { return get_property(kMainWindow, control, property, kNoSubIndex); }

void set(ControlId control, int property, const Value& value) {
    set_property(kMainWindow, control, property, kNoSubIndex, value);
}

} // namespace

Text read_text(ControlId control, int property) { return get(control, property).text(); }

void write_text(ControlId control, int property, const Text& text) { set(control, property, Value::of_text(text)); }

std::int32_t read_number(ControlId control, int property) { return to_integer(read_text(control, property)); }

void write_number(ControlId control, int property, double value) { write_text(control, property, to_text(value)); }

double read_credits() { return parse_credit_text(read_text(control(board::kCredits), kCaption)); }

void write_credits(double credits) { write_number(control(board::kCredits), kCaption, credits); }

void set_visible(ControlId control, bool visible) { set(control, kVisible, Value::of_bool(visible)); }

void copy_picture(ControlId from, ControlId to) { set(to, kPicture, get(from, kPicture)); }

std::int32_t read_interval(ControlId timer) { return to_integer(get(timer, kInterval)); }

void set_interval(ControlId timer, std::int32_t ms) { set(timer, kInterval, Value::of_integer(ms)); }

void set_window_caption(const Text& caption) { set(kWindowItself, kCaption, Value::of_text(caption)); }

} // namespace tav::game
