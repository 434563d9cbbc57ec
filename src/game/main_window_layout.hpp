#pragma once
// The game's one window as data: the window itself, its 93 controls with their places, looks,
// initial contents and pictures, the stacking order, and the sixteen event bindings. What stands
// on the ring, in the bet row and in the legend comes from the game's board (game/board.hpp);
// the game's operations come in as a set of functions, so the layout carries no game code.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "gfx/geometry.hpp"
#include "ui/layout_data.hpp"

namespace tav::ui {

// The window id of the main window.
inline constexpr std::uint32_t kMainWindowId = 0x52010001;

// The client area the window opens with: the fixed 511 × 615 outer size less a 3-pixel frame
// on every side and a 25-pixel title bar.
inline constexpr Size kMainWindowClientSize = {505, 584};
// Where the window would stand if it were not centred on the screen.
inline constexpr Point kMainWindowStoredPosition = {50, 50};

// The number of controls on the main window, the window's own entry not counted.
inline constexpr std::size_t kMainWindowControlCount = 93;

// What `main_window_control_id` answers for a name the layout does not have: no control and not
// the window either, so any property access with it fails loudly.
inline constexpr std::uint32_t kNoControlId = 0xFFFFFFFFu;

// The game operations the window's events run. An empty function leaves its event unbound.
struct MainWindowHandlers {
    std::function<void()> window_created;                                                     // window Created
    std::function<void(std::int32_t x, std::int32_t y, std::int32_t keys)> window_right_down; // window RightDown
    std::function<void()> start_spin;                                                         // 按钮1 Click
    std::function<void()> add_credits;                                                        // 按钮2 Click
    // 调节器k Adjust: the control id of bet display 标签k and the step (+1 up, −1 down).
    std::function<void(std::uint32_t bet_display, std::int32_t step)> change_bet;
    std::function<void()> acceleration_tick; // 时钟1 Tick
    std::function<void()> run_length_tick;   // 时钟2 Tick
    std::function<void()> fast_run_tick;     // 时钟3 Tick
    std::function<void()> deceleration_tick; // 时钟4 Tick
};

// The names of the 93 controls in layout order, which is also the stacking order (topmost
// first). Control ids follow it: the control at place i has id 0x16010001 + i.
std::span<const std::string_view> main_window_control_names();

// The control id of the control the layout names `name` (UTF-8, e.g. "标签9"); kNoControlId
// for a name the layout does not have. The window itself is kWindowSelfControlId.
std::uint32_t main_window_control_id(std::string_view name);

// The whole layout, with the one main window as its start-up window and `handlers` bound.
// Every call builds a fresh copy (pictures included; about 400 KB).
LayoutData main_window_layout(const MainWindowHandlers& handlers);

} // namespace tav::ui
