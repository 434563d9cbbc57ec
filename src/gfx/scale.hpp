#pragma once
// Picture scaling: the shrink-to-fit placement and the area-averaging resampler.

#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"

namespace tav {

// Where an image of `image` size goes when shrunk to fit and centred in a client area of
// `client` size: natural size when it fits both ways, else scaled by one factor.
Rect shrink_to_fit(Size client, Size image);

// Scales `src` to `size` and returns the part `part` (in scaled coordinates) of the result.
// Each pixel is the area-weighted mean of the source pixels it covers when shrinking and a
// bilinear blend when enlarging; alpha is respected (colours are averaged premultiplied).
Bitmap resample_part(const Bitmap& src, Size size, const Rect& part);

// Scales the whole of `src` to `size`.
inline Bitmap resample(const Bitmap& src, Size size) {
    return resample_part(src, size, {0, 0, size.width, size.height});
}

} // namespace tav
