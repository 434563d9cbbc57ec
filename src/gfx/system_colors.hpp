#pragma once
// The system palette the classic 3-D look is drawn with (one palette for the whole program).

#include "gfx/bitmap.hpp"

namespace tav::syscolor {

// Button face: the background of buttons, dialogs and the "system default" colour.
inline constexpr Argb kFace = rgb(240, 240, 240);
// Shadow side of a 3-D edge (outer line of a sunken edge, inner line of a raised one).
inline constexpr Argb kShadow = rgb(160, 160, 160);
// Darkest line of a 3-D edge (inner line of a sunken edge, outer of a raised one).
inline constexpr Argb kDarkShadow = rgb(105, 105, 105);
// Lit side of a 3-D edge.
inline constexpr Argb kHighlight = rgb(255, 255, 255);
// Softer lit line next to the highlight.
inline constexpr Argb kLight = rgb(227, 227, 227);
// Background of edit boxes and lists.
inline constexpr Argb kWindow = rgb(255, 255, 255);
// Text on the window colour and the single-line border.
inline constexpr Argb kWindowFrame = rgb(0, 0, 0);

} // namespace tav::syscolor
