#pragma once
// How the game finds the controls of the main window: by the names the layout gives them.

#include <array>
#include <cstdint>
#include <string_view>

#include "game/board.hpp"
#include "game/main_window_layout.hpp"

namespace tav::game {

// A control of the main window as the runtime's property access identifies it.
using ControlId = std::uint32_t;

// The main window, as the layout that defines it numbers it.
inline constexpr std::uint32_t kMainWindow = ui::kMainWindowId;
// The main window listed among its own controls (its caption is property 8 of this id).
inline constexpr ControlId kWindowItself = 0x06010000;

// The control id of a control of the main window by its layout name (board::kCredits, "标签9").
// Every name the board gives exists in the layout; an unknown name is a programming error.
ControlId control(std::string_view layout_name);

// Bet displays of the eight symbols, left to right.
inline constexpr std::array<std::string_view, 8> kBetDisplays = {"标签1", "标签2", "标签3", "标签4",
                                                                 "标签5", "标签6", "标签7", "标签8"};

// Lamp frames of ring positions 1..20.
inline constexpr std::array<std::string_view, 20> kLamps = {
    "显示1",  "显示2",  "显示3",  "显示4",  "显示5",  "显示6",  "显示7",  "显示8",  "显示9",  "显示10",
    "显示11", "显示12", "显示13", "显示14", "显示15", "显示16", "显示17", "显示18", "显示19", "显示20"};

// Ring pictures of ring positions 1..20.
inline constexpr std::array<std::string_view, 20> kRingPictures = {
    "吐框1",  "吐框2",  "吐框3",  "吐框4",  "吐框5",  "吐框6",  "吐框7",  "吐框8",  "吐框9",  "吐框10",
    "吐框11", "吐框12", "吐框13", "吐框14", "吐框15", "吐框16", "吐框17", "吐框18", "吐框19", "吐框20"};

// The lamp frames and ring pictures of the board's ring positions by id, looked up once: the
// lamp step touches all forty.
using RingIds = std::array<ControlId, board::kRing.size()>;
const RingIds& lamp_ids();
const RingIds& ring_picture_ids();

} // namespace tav::game
