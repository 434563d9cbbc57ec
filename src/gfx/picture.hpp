#pragma once
// Pictures from byte blocks: the format is told by the first bytes, never by a name.

#include <cstdint>
#include <optional>
#include <span>

#include "gfx/bitmap.hpp"

namespace tav {

// The formats a picture block can hold.
enum class PictureFormat { None, Bmp, Jpeg, Icon, Cursor, Gif, Pcx };

// The largest picture decoded, in pixels; larger ones are refused before any allocation.
inline constexpr std::uint64_t kMaxPicturePixels = 16u * 1024u * 1024u;

// The format of `bytes` from its first bytes; fewer than 6 bytes is no picture.
PictureFormat sniff_picture(std::span<const std::uint8_t> bytes);

// Decodes a BMP (run-length coded too), JPEG, icon, cursor or GIF (first frame) block into ARGB
// pixels; nothing for anything unrecognised, malformed, truncated or larger than
// kMaxPicturePixels. PCX blocks are recognised but not decoded.
std::optional<Bitmap> decode_picture(std::span<const std::uint8_t> bytes);

// The pixel size of a picture from its headers, without decoding its pixels.
std::optional<Size> picture_size(std::span<const std::uint8_t> bytes);

} // namespace tav
