#pragma once
// A control's picture in decoded form, kept with the control: the file bytes are decoded once
// per change and never per paint, and a scaled copy is kept for the size it is drawn at. The
// last few pictures stay decoded too, so a box that is shown the same few pictures over and
// over (the prize box during a spin) decodes and scales each of them only once.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/bitmap.hpp"
#include "platform/geometry.hpp"

namespace tav::ui {

class DecodedPicture {
public:
    // How many pictures are kept decoded, the current one included.
    static constexpr std::size_t kKeptPictures = 12;

    // The image of `bytes`: decodes them when they differ from the bytes held (a set of the
    // picture property) unless they are among the pictures kept, else returns the image kept.
    // nullptr when nothing is drawable.
    const Bitmap* sync(std::span<const std::uint8_t> bytes);
    // The current image; nullptr when none.
    const Bitmap* image() const;
    // The current image scaled to `size` with the area-averaging filter, made once per picture
    // and size; the image itself when the size is its own. Only valid while image() is not null.
    const Bitmap& scaled(Size size);
    // How many times bytes were decoded (a repaint must never add to it).
    int decode_count() const { return decode_count_; }

private:
    struct Entry {
        std::vector<std::uint8_t> bytes;
        std::optional<Bitmap> image;
        std::optional<Bitmap> scaled;
    };
    std::vector<Entry> kept_; // the current picture first, then the most recent before it
    int decode_count_ = 0;
};

} // namespace tav::ui
