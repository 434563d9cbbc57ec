#pragma once
// The decoders behind decode_picture, one per format (internal to the gfx library).

#include <cstdint>
#include <optional>
#include <span>

#include "gfx/bitmap.hpp"

namespace tav::detail {

// A whole BMP file.
std::optional<Bitmap> decode_bmp(std::span<const std::uint8_t> bytes);
std::optional<Size> bmp_size(std::span<const std::uint8_t> bytes);

// A device-independent bitmap as icons store it: info header, palette, colour rows and a 1-bit
// AND mask; the header's height counts both halves.
std::optional<Bitmap> decode_icon_dib(std::span<const std::uint8_t> bytes);

// A JPEG stream (libjpeg).
std::optional<Bitmap> decode_jpeg(std::span<const std::uint8_t> bytes);
std::optional<Size> jpeg_size(std::span<const std::uint8_t> bytes);

// An icon or cursor file: its best entry.
std::optional<Bitmap> decode_icon(std::span<const std::uint8_t> bytes);
std::optional<Size> icon_size(std::span<const std::uint8_t> bytes);

// The first frame of a GIF on its logical screen.
std::optional<Bitmap> decode_gif(std::span<const std::uint8_t> bytes);
std::optional<Size> gif_size(std::span<const std::uint8_t> bytes);

// True when a w x h picture may be decoded.
bool pixel_count_allowed(std::int64_t w, std::int64_t h);

} // namespace tav::detail
