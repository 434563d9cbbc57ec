#pragma once
// Which parts of a framebuffer a present may copy to a window surface.

#include <span>
#include <vector>

#include "gfx/geometry.hpp"

namespace tav::platform::sdl {

// The requested areas cut to what both the framebuffer and the surface hold (the surface can be
// smaller or larger after the window manager resized the window); empty results are dropped.
std::vector<Rect> clip_present_areas(std::span<const Rect> areas, Size framebuffer, Size surface);

} // namespace tav::platform::sdl
