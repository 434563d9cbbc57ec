// Each built-in picture and sound by name or motif, and the build's predecoded pictures handed to the cache.
#include "assets/assets.hpp"

#include <array>

#include "assets/embedded.hpp"

namespace tav::assets {
namespace {

constexpr int kWindowIconSize = 64;

struct MotifPictures {
    const std::span<const std::uint8_t>* large;
    const std::span<const std::uint8_t>* small;
};

// Pointers, not copies: the spans are defined in another translation unit.
constexpr std::array<MotifPictures, kMotifCount> kMotifs{{
    {&embedded::kCarsLarge, &embedded::kCarsSmall},
    {&embedded::kBottleCapLarge, &embedded::kBottleCapSmall},
    {&embedded::kZipperBadgeLarge, &embedded::kZipperBadgeSmall},
    {&embedded::kKnotLarge, &embedded::kKnotSmall},
    {&embedded::kCherriesLarge, &embedded::kCherriesSmall},
    {&embedded::kKiwiLarge, &embedded::kKiwiSmall},
    {&embedded::kStrawberryLarge, &embedded::kStrawberrySmall},
    {&embedded::kOrangeLarge, &embedded::kOrangeSmall},
    {&embedded::kButterflyLarge, &embedded::kButterflySmall},
}};

// An out-of-range motif gets no picture rather than reading past the table.
const MotifPictures* find(Motif motif) {
    const auto index = static_cast<std::size_t>(motif);
    return index < kMotifs.size() ? &kMotifs[index] : nullptr;
}

} // namespace

std::span<const std::uint8_t> board_background() { return embedded::kBoardBackground; }
std::span<const std::uint8_t> lamp_frame() { return embedded::kLampFrame; }
std::span<const std::uint8_t> step_sound() { return embedded::kStepSound; }
std::span<const std::uint8_t> result_sound() { return embedded::kResultSound; }
std::span<const std::uint8_t> background_music() { return embedded::kBackgroundMusic; }

std::span<const std::uint8_t> large_picture(Motif motif) {
    const MotifPictures* p = find(motif);
    return p != nullptr ? *p->large : std::span<const std::uint8_t>{};
}

std::span<const std::uint8_t> small_picture(Motif motif) {
    const MotifPictures* p = find(motif);
    return p != nullptr ? *p->small : std::span<const std::uint8_t>{};
}

IconImage window_icon() { return {kWindowIconSize, kWindowIconSize, embedded::kWindowIcon}; }

} // namespace tav::assets

namespace tav::assets {

std::vector<std::shared_ptr<const ui::SharedPicture>> adopt_predecoded_pictures(ui::PictureCache& cache) {
    std::vector<std::shared_ptr<const ui::SharedPicture>> held;
    for (const auto& p : predecoded::kPictures) {
        std::vector<Bitmap> scaled;
        if (p.scaled_pixels != nullptr)
            scaled.push_back(Bitmap::viewing(p.scaled_width, p.scaled_height, p.scaled_pixels, nullptr));
        held.push_back(cache.adopt(Value::of_lasting_bytes(*p.bytes),
                                   Bitmap::viewing(p.width, p.height, p.pixels, nullptr), std::move(scaled)));
    }
    return held;
}

} // namespace tav::assets
