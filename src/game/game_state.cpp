#include "game/game_state.hpp"

#include "game/credit_text.hpp"
#include "core/conversions.hpp"
#include "runtime/runtime.hpp"

namespace tav::game {
namespace {

// Own properties of a control take no sub-index.
constexpr std::int32_t kNoSubIndex = -1;

Value Get(ControlId control, int property) {
    return GetProperty(kMainWindow, control, property, kNoSubIndex);
}

void Set(ControlId control, int property, const Value& value) {
    SetProperty(kMainWindow, control, property, kNoSubIndex, value);
}

} // namespace

Text ReadText(ControlId control, int property) {
    return Get(control, property).text();
}

void WriteText(ControlId control, int property, const Text& text) {
    Set(control, property, Value::OfText(text));
}

std::int32_t ReadNumber(ControlId control, int property) {
    return ToInteger(ReadText(control, property));
}

void WriteNumber(ControlId control, int property, double value) {
    WriteText(control, property, ToText(value));
}

double ReadCredits() {
    return ParseCreditText(ReadText(Control("标签9"), kCaption));
}

void WriteCredits(double credits) {
    WriteNumber(Control("标签9"), kCaption, credits);
}

void SetVisible(ControlId control, bool visible) {
    Set(control, kVisible, Value::OfBool(visible));
}

void CopyPicture(ControlId from, ControlId to) {
    Set(to, kPicture, Get(from, kPicture));
}

std::int32_t ReadInterval(ControlId timer) {
    return ToInteger(Get(timer, kInterval));
}

void SetInterval(ControlId timer, std::int32_t ms) {
    Set(timer, kInterval, Value::OfInteger(ms));
}

void SetWindowCaption(const Text& caption) {
    Set(kWindowItself, kCaption, Value::OfText(caption));
}

} // namespace tav::game
