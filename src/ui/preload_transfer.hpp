#pragma once
// The fonts and pictures a preload made in another process, as the bytes it hands back.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/value.hpp"
#include "gfx/font.hpp"
#include "gfx/picture_cache.hpp"

namespace tav::ui {

// A picture with its place in the list of a layout's pictures that both processes make alike.
struct PlacedPicture {
    std::size_t index = 0;
    std::shared_ptr<const SharedPicture> picture;
};

// A picture read back: what was made of it, and the places whose values have its bytes.
struct FoundPicture {
    std::vector<std::size_t> places;
    MadePicture made;
};

// Writes `pictures` with their places, images and scaled copies into `area`, each picture
// once however many places show it. The size written; 0 when they do not all fit.
std::size_t write_preloaded_pictures(std::span<std::uint8_t> area, std::span<const PlacedPicture> pictures);
// The pictures written in `bytes` that some place's value in `values` has the bytes of. The
// pixels are read in place: `keeper` keeps `bytes` unchanged while held, and the pictures'
// bitmaps hold it. Nothing at all when the bytes are cut short.
std::vector<FoundPicture> read_preloaded_pictures(std::span<const std::uint8_t> bytes, std::span<const Value> values,
                                                  const std::shared_ptr<const void>& keeper);
// Adds the pictures read_preloaded_pictures finds to `cache`, each as the value at its places.
// The pictures taken in, for the caller to hold.
std::vector<std::shared_ptr<const SharedPicture>> take_in_preloaded_pictures(std::span<const std::uint8_t> bytes,
                                                                             PictureCache& cache,
                                                                             std::span<const Value> values,
                                                                             const std::shared_ptr<const void>& keeper);

// Writes every font `fonts` has loaded, with its glyphs, into `area`. The size written; 0
// when they do not all fit.
std::size_t write_preloaded_fonts(std::span<std::uint8_t> area, FontCache& fonts);
// Adds the fonts written in `bytes` to `fonts`, for the records they were loaded for; nothing
// when the bytes are cut short. The number of fonts made from them.
std::size_t take_in_preloaded_fonts(std::span<const std::uint8_t> bytes, FontCache& fonts);

} // namespace tav::ui
