#pragma once
// Per-pixel colour arithmetic shared by the drawing code.

#include <cstdint>

#include "gfx/bitmap.hpp"

namespace tav::pixel {

// Mixes `src` over `dst` with coverage `a` (0 = dst unchanged, 255 = src); the result is opaque.
inline Argb mix(Argb dst, Argb src, std::uint32_t a) {
    if (a >= 255) return src | 0xFF000000u;
    if (a == 0) return dst;
    const std::uint32_t na = 255 - a;
    // Red and blue in one multiply, green in another; +128 and the /255 trick round correctly.
    std::uint32_t rb = (src & 0x00FF00FFu) * a + (dst & 0x00FF00FFu) * na + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t g = (src & 0x0000FF00u) * a + (dst & 0x0000FF00u) * na + 0x00008000u;
    g = ((g + ((g >> 8) & 0x0000FF00u)) >> 8) & 0x0000FF00u;
    return 0xFF000000u | rb | g;
}

// Draws `src` over `dst` by the source's own alpha.
inline Argb over(Argb dst, Argb src) { return mix(dst, src, src >> 24); }

// True when two colours have the same red, green and blue (alpha ignored).
inline bool same_rgb(Argb a, Argb b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }

} // namespace tav::pixel
