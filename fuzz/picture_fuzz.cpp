// Recognising and decoding arbitrary picture blocks: BMP, JPEG, icon, cursor and GIF.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.hpp"
#include "gfx/picture.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const tav::PictureFormat format = tav::sniff_picture(bytes);
    const auto size_only = tav::picture_size(bytes);
    const auto picture = tav::decode_picture(bytes);
    if (format == tav::PictureFormat::None || format == tav::PictureFormat::Pcx) {
        FUZZ_CHECK(!size_only && !picture);
        return 0;
    }
    if (!picture) return 0;
    const auto w = static_cast<std::uint64_t>(picture->width());
    const auto h = static_cast<std::uint64_t>(picture->height());
    // A decoded picture is never empty, never over the cap, and holds exactly its pixels.
    FUZZ_CHECK(w > 0 && h > 0);
    FUZZ_CHECK(w * h <= tav::kMaxPicturePixels);
    FUZZ_CHECK(picture->pixels().size() == w * h);
    FUZZ_CHECK(size_only.has_value());
    // The headers tell the size the decoder produced. An icon's size is its directory's word for
    // the best entry, while the pixels come from the entry's own header or from a later entry
    // when the best one is damaged, so only single pictures are held to it.
    if (format != tav::PictureFormat::Icon && format != tav::PictureFormat::Cursor)
        FUZZ_CHECK(*size_only == picture->size());
    return 0;
}
