#include "gfx/picture.hpp"

#include <cstring>

#include "gfx/picture_formats.hpp"

namespace tav {

namespace {

// Bytes a block must have before its format is looked at.
constexpr std::size_t kSniffBytes = 6;

} // namespace

bool detail::PixelCountAllowed(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && std::uint64_t(w) * std::uint64_t(h) <= kMaxPicturePixels;
}

PictureFormat SniffPicture(std::span<const std::uint8_t> b) {
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

std::optional<Bitmap> DecodePicture(std::span<const std::uint8_t> bytes) {
    switch (SniffPicture(bytes)) {
    case PictureFormat::Bmp: return detail::DecodeBmp(bytes);
    case PictureFormat::Jpeg: return detail::DecodeJpeg(bytes);
    case PictureFormat::Icon:
    case PictureFormat::Cursor: return detail::DecodeIcon(bytes);
    case PictureFormat::Gif: return detail::DecodeGif(bytes);
    case PictureFormat::Pcx:
    case PictureFormat::None: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Size> PictureSize(std::span<const std::uint8_t> bytes) {
    switch (SniffPicture(bytes)) {
    case PictureFormat::Bmp: return detail::BmpSize(bytes);
    case PictureFormat::Jpeg: return detail::JpegSize(bytes);
    case PictureFormat::Icon:
    case PictureFormat::Cursor: return detail::IconSize(bytes);
    case PictureFormat::Gif: return detail::GifSize(bytes);
    case PictureFormat::Pcx:
    case PictureFormat::None: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace tav
