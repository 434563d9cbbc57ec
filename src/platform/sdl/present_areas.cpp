#include "platform/sdl/present_areas.hpp"

#include <algorithm>

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

} // namespace tav::platform::sdl
