// Stored colours to pixels (the marker as the button face), and a colour darkened channel by channel.
#include "ui/control_colors.hpp"

#include <algorithm>

#include "gfx/system_colors.hpp"
#include "ui/property_type.hpp"

namespace tav::ui {

Argb resolve_color(std::uint32_t stored) { return stored == kColorMarker ? syscolor::kFace : from_color_ref(stored); }

bool resolve_optional_color(std::uint32_t stored, Argb& out) {
    if (stored == kColorMarker) return false;
    out = from_color_ref(stored);
    return true;
}

Argb darker(Argb c, int amount) {
    auto down = [amount](std::uint8_t v) { return static_cast<std::uint8_t>(std::max(0, int(v) - amount)); };
    return rgb(down(red_of(c)), down(green_of(c)), down(blue_of(c)));
}

} // namespace tav::ui
