#pragma once
// A control's picture in decoded form, kept with the control: the file bytes are decoded once
// per change and never per paint, and a scaled copy is kept for the size it is drawn at.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/bitmap.hpp"
#include "platform/geometry.hpp"

namespace tav::ui {

class DecodedPicture {
public:
    // The image of `bytes`: decodes them when they differ from the bytes decoded last (a set
    // of the picture property), else returns the image kept. nullptr when nothing is drawable.
    const Bitmap* sync(std::span<const std::uint8_t> bytes);
    // The image decoded last; nullptr when none.
    const Bitmap* image() const { return image_ ? &*image_ : nullptr; }
    // The image scaled to `size` with the area-averaging filter, made once per picture and
    // size; the image itself when the size is its own. Only valid while image() is not null.
    const Bitmap& scaled(Size size);
    // How many times bytes were decoded (a repaint must never add to it).
    int decode_count() const { return decode_count_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::optional<Bitmap> image_;
    std::optional<Bitmap> scaled_;
    int decode_count_ = 0;
};

} // namespace tav::ui
