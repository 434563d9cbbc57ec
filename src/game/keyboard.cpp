// Keyboard play: accelerators that raise the event a click on a control raises.

#include "game/keyboard.hpp"

#include <array>

#include "game/board.hpp"
#include "game/control_names.hpp"
#include "platform/input.hpp"
#include "runtime/runtime.hpp"
#include "ui/button.hpp"
#include "ui/control.hpp"
#include "ui/spin.hpp"

namespace tav::game {
namespace {

namespace vk = platform::vk;

constexpr int kColumns = static_cast<int>(board::kBetColumns.size());
constexpr std::int32_t kUpperArrow = 1, kLowerArrow = -1;
constexpr int kTopUpKey = 'A';

constexpr std::array<Accelerator, 2 * kColumns + 3> make_table() {
    std::array<Accelerator, 2 * kColumns + 3> table{};
    for (int c = 0; c < kColumns; ++c) {
        table[std::size_t(c)] = {vk::kDigit0 + 1 + c, false, board::kBetColumns[std::size_t(c)].spinner,
                                 ui::Spin::kAdjust, kUpperArrow};
        table[std::size_t(kColumns + c)] = {vk::kDigit0 + 1 + c, true, board::kBetColumns[std::size_t(c)].spinner,
                                            ui::Spin::kAdjust, kLowerArrow};
    }
    table[2 * kColumns] = {kTopUpKey, false, board::kAddCreditsButton, ui::Button::kClick, 0};
    table[2 * kColumns + 1] = {vk::kReturn, false, board::kStartButton, ui::Button::kClick, 0};
    table[2 * kColumns + 2] = {vk::kSpace, false, board::kStartButton, ui::Button::kClick, 0};
    return table;
}

constexpr auto kTable = make_table();

} // namespace

std::span<const Accelerator> accelerators() { return kTable; }

bool play_key(std::uint32_t window_id, int key, std::uint32_t keys) {
    if (window_id != kMainWindow || (keys & (platform::kKeyCtrl | platform::kKeyAlt)) != 0) return false;
    const bool shift = (keys & platform::kKeyShift) != 0;
    Runtime* rt = Runtime::current();
    if (rt == nullptr) return false;
    for (const Accelerator& a : kTable) {
        if (a.key != key || a.shift != shift) continue;
        ui::Control* control = rt->find_control_by_name(window_id, a.control);
        // A control the player could not click (hidden or disabled) takes no key either.
        if (control == nullptr || !control->has_window() || !rt->windows().is_visible(control->handle()) ||
            !rt->windows().is_enabled(control->handle()))
            return false;
        EventNotice n;
        n.window_id = window_id;
        n.control_id = control->site().control_id;
        n.event = a.event;
        if (a.argument != 0) {
            n.arguments[0] = a.argument;
            n.argument_count = 1;
        }
        rt->raise_event(n);
        return true;
    }
    return false;
}

void use_keyboard_play() {
    if (Runtime* rt = Runtime::current()) rt->set_accelerator_hook(play_key);
}

std::string keyboard_help() {
    return "  1 to 8           raise the bet on the symbol in that column (10 credits)\n"
           "  Shift+1 to 8     lower it again\n"
           "  A                上分: add 100 credits\n"
           "  Enter, Space     开始: start the lamp (when no button has the focus)\n"
           "  Tab, Shift+Tab   move the focus between 上分 and 开始; Space or Enter presses it\n"
           "  Enter, Escape    close a message box\n";
}

} // namespace tav::game
