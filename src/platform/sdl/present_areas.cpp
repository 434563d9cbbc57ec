// Present areas clipped to framebuffer and surface, and the strips of the sunken client edge's two rings.
#include "platform/sdl/present_areas.hpp"

#include <algorithm>

#include "gfx/system_colors.hpp"

namespace tav::platform::sdl {

std::vector<Rect> clip_present_areas(std::span<const Rect> areas, Size framebuffer, Size surface) {
    const Rect bounds{0, 0, std::min(framebuffer.width, surface.width), std::min(framebuffer.height, surface.height)};
    std::vector<Rect> out;
    out.reserve(areas.size());
    for (const Rect& r : areas) {
        const Rect clipped = r.intersected(bounds);
        if (!clipped.empty()) out.push_back(clipped);
    }
    return out;
}

std::vector<EdgeStrip> client_edge_strips(Size outer, int thickness) {
    std::vector<EdgeStrip> strips;
    Rect r{0, 0, outer.width, outer.height};
    const int t = std::max(thickness, 1);
    // Top and left take the first colour; bottom and right (with the far corners) the second.
    const auto line = [&](Argb top_left, Argb bottom_right) {
        if (r.width < 2 * t || r.height < 2 * t) return;
        strips.push_back({{r.x, r.y, r.width - t, t}, top_left});
        strips.push_back({{r.x, r.y + t, t, r.height - 2 * t}, top_left});
        strips.push_back({{r.x, r.bottom() - t, r.width, t}, bottom_right});
        strips.push_back({{r.right() - t, r.y, t, r.height - t}, bottom_right});
        r = r.shrunk(t);
    };
    line(syscolor::kShadow, syscolor::kHighlight);
    line(syscolor::kDarkShadow, syscolor::kLight);
    return strips;
}

} // namespace tav::platform::sdl
