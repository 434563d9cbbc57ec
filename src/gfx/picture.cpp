// Telling a picture's format from its first bytes, and sending it to that format's decoder or size reader.
#include "gfx/picture.hpp"

#include <cstring>

#include "gfx/picture_formats.hpp"

namespace tav {

namespace {

// Bytes a block must have before its format is looked at.
constexpr std::size_t kSniffBytes = 6;

} // namespace

bool detail::pixel_count_allowed(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && std::uint64_t(w) * std::uint64_t(h) <= kMaxPicturePixels;
}

PictureFormat sniff_picture(std::span<const std::uint8_t> b) {
    if (b.size() < kSniffBytes) return PictureFormat::None;
    if (b[0] == 'B' && b[1] == 'M') return PictureFormat::Bmp;
    if (b[0] == 0xFF && b[1] == 0xD8) return PictureFormat::Jpeg;
    if (b[0] == 0 && b[1] == 0 && b[3] == 0 && (b[2] == 1 || b[2] == 2) && (b[4] | b[5]) != 0)
        return b[2] == 1 ? PictureFormat::Icon : PictureFormat::Cursor;
    if (std::memcmp(b.data(), "GIF87a", 6) == 0 || std::memcmp(b.data(), "GIF89a", 6) == 0) return PictureFormat::Gif;
    if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureFormat::Pcx;
    if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureFormat::Pcx;
    return PictureFormat::None;
}

std::optional<Bitmap> decode_picture(std::span<const std::uint8_t> bytes) {
    switch (sniff_picture(bytes)) {
        case PictureFormat::Bmp: return detail::decode_bmp(bytes);
        case PictureFormat::Jpeg: return detail::decode_jpeg(bytes);
        case PictureFormat::Icon:
        case PictureFormat::Cursor: return detail::decode_icon(bytes);
        case PictureFormat::Gif: return detail::decode_gif(bytes);
        case PictureFormat::Pcx:
        case PictureFormat::None: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Size> picture_size(std::span<const std::uint8_t> bytes) {
    switch (sniff_picture(bytes)) {
        case PictureFormat::Bmp: return detail::bmp_size(bytes);
        case PictureFormat::Jpeg: return detail::jpeg_size(bytes);
        case PictureFormat::Icon:
        case PictureFormat::Cursor: return detail::icon_size(bytes);
        case PictureFormat::Gif: return detail::gif_size(bytes);
        case PictureFormat::Pcx:
        case PictureFormat::None: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace tav
