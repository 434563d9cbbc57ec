#pragma once
// The pictures and sounds built into the program: complete file images, immutable, always there.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gfx/picture_cache.hpp"

namespace tav::assets {

// The nine symbol motifs, in the order of the symbol index with the butterfly (random field) last.
enum class Motif { Cars, BottleCap, ZipperBadge, Knot, Cherries, Kiwi, Strawberry, Orange, Butterfly };

// Number of motifs; Motif values run from 0 to kMotifCount - 1.
inline constexpr std::size_t kMotifCount = 9;

// Board background: baseline JFIF JPEG, 368 x 563, stretched over the window's client area.
std::span<const std::uint8_t> board_background();

// Lamp frame: 24-bit BMP, 69 x 69, red 7-pixel frame around a black (transparent) middle.
std::span<const std::uint8_t> lamp_frame();

// Large picture of a motif: JPEG 65 x 65, shown on the ring, in the bet row and as the prize.
std::span<const std::uint8_t> large_picture(Motif motif);

// Small picture of a motif: JPEG 30 x 30, shown in the pay legend.
std::span<const std::uint8_t> small_picture(Motif motif);

// Step sound: WAV, 16-bit stereo 44 100 Hz, 2 106 frames; played at every lamp step.
std::span<const std::uint8_t> step_sound();

// Result sound: WAV, 16-bit mono 22 050 Hz, 42 923 frames; played when a spin is settled.
std::span<const std::uint8_t> result_sound();

// Background music: WAV, 16-bit stereo 44 100 Hz, 279 936 frames; played once at start.
std::span<const std::uint8_t> background_music();

// A square icon image: straight (not premultiplied) RGBA, 4 bytes a pixel, top row first.
struct IconImage {
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> rgba;
};

// The program icon at 64 x 64, ready to hand to the window system as the window's icon.
IconImage window_icon();

// Puts the embedded pictures into `cache` as decoded when the program was built (the board
// background also scaled to the main window's client area), so that none is decoded or
// scaled at run time; their pixels are read in place. The pictures stay in the cache while
// the result is held.
std::vector<std::shared_ptr<const ui::SharedPicture>> adopt_predecoded_pictures(ui::PictureCache& cache);

} // namespace tav::assets
