#pragma once
// A control's picture in decoded form, kept with the control: the file bytes are decoded once
// per change and never per paint, and a scaled copy is kept for the size it is drawn at. The
// last few pictures stay at hand too, so a box that is shown the same few pictures over and
// over (the prize box during a spin) finds each of them without a search. The decoding itself
// is shared with every other control showing the same bytes.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"
#include "gfx/painter.hpp"
#include "gfx/picture_cache.hpp"

namespace tav::ui {

class DecodedPicture {
public:
    // How many pictures are kept at hand, the current one included.
    static constexpr std::size_t kKeptPictures = 12;

    // The image of the Bytes value `bytes`: takes them up from `cache` when they differ from
    // the bytes held (a set of the picture property) unless they are among the pictures kept,
    // else returns the image kept. The value a control holds is known by its block, so a repaint
    // reads no bytes. nullptr when nothing is drawable.
    const Bitmap* sync(PictureCache& cache, const Value& bytes);
    // The current image; nullptr when none.
    const Bitmap* image() const;
    // The current image scaled to `size` with the area-averaging filter, made once per picture
    // and size; the image itself when the size is its own. Only valid while image() is not null.
    const Bitmap& scaled(Size size);
    // Draws the current image scaled into `dst` (logical units; the copy is made at the
    // painter's device size, so a scaled painter gets it resampled from the source): from the
    // kept scaled copy when that copy is small enough to keep (kMaxKeptScaledPixels), else by
    // resampling only the part inside the painter's clip, so a picture stretched over a huge
    // control costs what is visible. Only valid while image() is not null.
    void draw_scaled(Painter& p, const Rect& dst);
    // Draws the current image at natural size with its corner at `at`: draw_image at scale 1,
    // else draw_scaled into the scaled size, so the resampled copy is kept for the next paint.
    void draw_natural(Painter& p, Point at);
    // The largest scaled copy kept for later paints (64 MB of pixels).
    static constexpr std::int64_t kMaxKeptScaledPixels = std::int64_t(1) << 24;
    // How many times new bytes were taken up (a repaint must never add to it).
    int decode_count() const { return decode_count_; }

private:
    struct Entry {
        std::shared_ptr<const SharedPicture> picture; // none for no bytes
        const Bitmap* image = nullptr;                // the picture's image, asked for once
        std::shared_ptr<const Bitmap> scaled;
    };
    std::vector<Entry> kept_; // the current picture first, then the most recent before it
    int decode_count_ = 0;
};

} // namespace tav::ui
