#pragma once
// What a present puts on a window surface: the parts of the framebuffer it may copy, and the
// sunken client edge some windows carry around their client area.

#include <span>
#include <vector>

#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"

namespace tav::platform::sdl {

// The requested areas cut to what both the framebuffer and the surface hold (the surface can be
// smaller or larger after the window manager resized the window); empty results are dropped.
std::vector<Rect> clip_present_areas(std::span<const Rect> areas, Size framebuffer, Size surface);

// Width of the sunken client edge on each side, in logical units (two lines).
inline constexpr int kClientEdgeWidth = 2;

struct EdgeStrip {
    Rect rect;
    Argb color;
};
// The sunken client edge around a surface of `outer` size, each of its two lines `thickness`
// pixels thick: an outer line in shadow (top, left) and highlight (bottom, right), an inner one
// in dark shadow and light, as the classic desktop draws it. The client area is `outer` shrunk
// by 2 * thickness.
std::vector<EdgeStrip> client_edge_strips(Size outer, int thickness);

} // namespace tav::platform::sdl
