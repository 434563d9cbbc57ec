#include "ui/pic_btn.hpp"

#include "platform/gfx/painter.hpp"

namespace tav::ui {

// Runs of pixels that differ from the transparent colour, one row high: clicks and painting
// fall through the rest to what lies behind.
std::optional<Region> PicBtn::build_shape() const {
    if (transparent_color() == kColorMarker) return std::nullopt;
    const Bitmap* image = current_image();
    if (image == nullptr) return std::nullopt;
    return KeyedRegion(*image, FromColorRef(transparent_color()));
}

} // namespace tav::ui
