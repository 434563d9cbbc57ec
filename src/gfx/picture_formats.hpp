#pragma once
// The decoders behind DecodePicture, one per format (internal to the gfx library).

#include <cstdint>
#include <optional>
#include <span>

#include "gfx/bitmap.hpp"

namespace tav::detail {

// A whole BMP file.
std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes);
std::optional<Size> BmpSize(std::span<const std::uint8_t> bytes);

// A device-independent bitmap as icons store it: info header, palette, colour rows and a 1-bit
// AND mask; the header's height counts both halves.
std::optional<Bitmap> DecodeIconDib(std::span<const std::uint8_t> bytes);

// A JPEG stream (libjpeg).
std::optional<Bitmap> DecodeJpeg(std::span<const std::uint8_t> bytes);
std::optional<Size> JpegSize(std::span<const std::uint8_t> bytes);

// An icon or cursor file: its best entry.
std::optional<Bitmap> DecodeIcon(std::span<const std::uint8_t> bytes);
std::optional<Size> IconSize(std::span<const std::uint8_t> bytes);

// The first frame of a GIF on its logical screen.
std::optional<Bitmap> DecodeGif(std::span<const std::uint8_t> bytes);
std::optional<Size> GifSize(std::span<const std::uint8_t> bytes);

// True when a w x h picture may be decoded.
bool PixelCountAllowed(std::int64_t w, std::int64_t h);

} // namespace tav::detail
