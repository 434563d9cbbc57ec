#pragma once
// The byte arrays tavrino_embed generates from src/assets/data at build time (private to assets).

#include <cstdint>
#include <span>

namespace tav::assets::embedded {

// One span per file; the names match the NAME=FILE pairs in src/assets/CMakeLists.txt.
extern const std::span<const std::uint8_t> kBoardBackground;
extern const std::span<const std::uint8_t> kLampFrame;
extern const std::span<const std::uint8_t> kStepSound;
extern const std::span<const std::uint8_t> kResultSound;
extern const std::span<const std::uint8_t> kBackgroundMusic;
extern const std::span<const std::uint8_t> kWindowIcon;
extern const std::span<const std::uint8_t> kCarsLarge;
extern const std::span<const std::uint8_t> kCarsSmall;
extern const std::span<const std::uint8_t> kBottleCapLarge;
extern const std::span<const std::uint8_t> kBottleCapSmall;
extern const std::span<const std::uint8_t> kZipperBadgeLarge;
extern const std::span<const std::uint8_t> kZipperBadgeSmall;
extern const std::span<const std::uint8_t> kKnotLarge;
extern const std::span<const std::uint8_t> kKnotSmall;
extern const std::span<const std::uint8_t> kCherriesLarge;
extern const std::span<const std::uint8_t> kCherriesSmall;
extern const std::span<const std::uint8_t> kKiwiLarge;
extern const std::span<const std::uint8_t> kKiwiSmall;
extern const std::span<const std::uint8_t> kStrawberryLarge;
extern const std::span<const std::uint8_t> kStrawberrySmall;
extern const std::span<const std::uint8_t> kOrangeLarge;
extern const std::span<const std::uint8_t> kOrangeSmall;
extern const std::span<const std::uint8_t> kButterflyLarge;
extern const std::span<const std::uint8_t> kButterflySmall;

} // namespace tav::assets::embedded

namespace tav::assets::predecoded {

// An embedded picture as tavrino_predecode decoded it at build time: ARGB pixels row by row,
// and a copy scaled to the size the program shows it at, if it is shown stretched.
struct PredecodedPicture {
    const std::span<const std::uint8_t>* bytes; // the embedded file
    int width;
    int height;
    const std::uint32_t* pixels;
    int scaled_width; // 0 when there is no scaled copy
    int scaled_height;
    const std::uint32_t* scaled_pixels;
};

// Every embedded picture, generated from the NAME=FILE[@SIZE] list in src/assets/CMakeLists.txt.
extern const std::span<const PredecodedPicture> kPictures;

} // namespace tav::assets::predecoded
