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

// The lamp frames and ring pictures of the board's ring positions by id, looked up once: the
// lamp step touches all forty.
using RingIds = std::array<ControlId, board::kRing.size()>;
const RingIds& lamp_ids();
const RingIds& ring_picture_ids();

} // namespace tav::game
