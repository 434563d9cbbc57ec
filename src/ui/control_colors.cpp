#include "ui/control_colors.hpp"

#include <algorithm>

#include "gfx/system_colors.hpp"
#include "ui/property_type.hpp"

namespace tav::ui {

Argb ResolveColor(std::uint32_t stored) {
    return stored == kColorMarker ? syscolor::kFace : FromColorRef(stored);
}

bool ResolveOptionalColor(std::uint32_t stored, Argb& out) {
    if (stored == kColorMarker) return false;
    out = FromColorRef(stored);
    return true;
}

Argb Darker(Argb c, int amount) {
    auto down = [amount](std::uint8_t v) { return static_cast<std::uint8_t>(std::max(0, int(v) - amount)); };
    return Rgb(down(RedOf(c)), down(GreenOf(c)), down(BlueOf(c)));
}

} // namespace tav::ui
