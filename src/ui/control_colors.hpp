#pragma once
// Colours as controls store them (Windows 0x00BBGGRR values with a marker) turned into pixels.

#include <cstdint>

#include "gfx/bitmap.hpp"

namespace tav::ui {

// A ColorOrDefault or Color value as a pixel colour: the marker 0xFF000000 is the system
// button-face colour, anything else a 0x00BBGGRR colour.
Argb resolve_color(std::uint32_t stored);

// A ColorOrNone value as a pixel colour; false for the marker (no colour).
bool resolve_optional_color(std::uint32_t stored, Argb& out);

// `c` darkened by `amount` in each channel (not below 0), as disabled frames are drawn.
Argb darker(Argb c, int amount);

} // namespace tav::ui
