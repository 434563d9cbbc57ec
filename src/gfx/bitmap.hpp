#pragma once
// A 32-bit image in memory: what pictures decode to and what windows paint into.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/allocation_failure.hpp"
#include "gfx/geometry.hpp"

namespace tav {

// A colour as 0xAARRGGBB; opaque colours have alpha 0xFF.
using Argb = std::uint32_t;

constexpr Argb rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}
constexpr std::uint8_t red_of(Argb c) { return std::uint8_t(c >> 16); }
constexpr std::uint8_t green_of(Argb c) { return std::uint8_t(c >> 8); }
constexpr std::uint8_t blue_of(Argb c) { return std::uint8_t(c); }
constexpr std::uint8_t alpha_of(Argb c) { return std::uint8_t(c >> 24); }

// A Windows colour value 0x00BBGGRR as an opaque ARGB colour.
constexpr Argb from_color_ref(std::uint32_t bgr) {
    return rgb(std::uint8_t(bgr), std::uint8_t(bgr >> 8), std::uint8_t(bgr >> 16));
}

// Pixels row by row from the top, each row `width` pixels long. A bitmap owns its pixels, or
// views pixels kept elsewhere until it is first changed (see Viewing). Pixels that cannot be
// allocated throw AllocationFailure with the bytes asked for.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, Argb fill = 0xFF000000u)
        : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
          pixels_(allocate(std::size_t(width_) * std::size_t(height_), fill)) {}
    // A bitmap of the `width` x `height` pixels at `pixels`, which `keeper` keeps unchanged for
    // as long as it is held: they are read in place, and copied only when the bitmap changes.
    static Bitmap viewing(int width, int height, const Argb* pixels, std::shared_ptr<const void> keeper) {
        Bitmap b;
        b.width_ = width > 0 ? width : 0;
        b.height_ = height > 0 ? height : 0;
        b.viewed_ = b.width_ * b.height_ > 0 ? pixels : nullptr;
        b.keeper_ = std::move(keeper);
        return b;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    Rect rect() const { return {0, 0, width_, height_}; }
    bool empty() const { return count() == 0; }

    Argb pixel(int x, int y) const { return data()[std::size_t(y) * width_ + x]; }
    void set_pixel(int x, int y, Argb c) { owned()[std::size_t(y) * width_ + x] = c; }
    std::span<Argb> row(int y) { return {owned() + std::size_t(y) * width_, std::size_t(width_)}; }
    std::span<const Argb> row(int y) const { return {data() + std::size_t(y) * width_, std::size_t(width_)}; }
    std::span<Argb> pixels() { return {owned(), count()}; }
    std::span<const Argb> pixels() const { return {data(), count()}; }

private:
    std::size_t count() const { return std::size_t(width_) * std::size_t(height_); }
    static std::vector<Argb> allocate(std::size_t count, Argb fill) {
        try {
            return std::vector<Argb>(count, fill);
        } catch (const std::bad_alloc&) {
            throw AllocationFailure(count * sizeof(Argb));
        }
    }
    const Argb* data() const { return viewed_ != nullptr ? viewed_ : pixels_.data(); }
    // The pixels, made this bitmap's own first if it views them.
    Argb* owned() {
        if (viewed_ != nullptr) {
            try {
                pixels_.assign(viewed_, viewed_ + count());
            } catch (const std::bad_alloc&) {
                throw AllocationFailure(count() * sizeof(Argb));
            }
            viewed_ = nullptr;
            keeper_.reset();
        }
        return pixels_.data();
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Argb> pixels_;
    const Argb* viewed_ = nullptr;       // the pixels viewed, while they are not owned
    std::shared_ptr<const void> keeper_; // keeps the viewed pixels
};

} // namespace tav
