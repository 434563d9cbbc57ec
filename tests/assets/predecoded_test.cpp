// The pictures decoded at build time: the same pixels as decoding them at run time, taken from
// static data by the picture cache.
#include <gtest/gtest.h>

#include <algorithm>

#include "assets/assets.hpp"
#include "assets/embedded.hpp"
#include "gfx/picture.hpp"
#include "gfx/scale.hpp"

namespace tav::assets {
namespace {

bool same_pixels(const Bitmap& a, const Bitmap& b) {
    return a.size() == b.size() && std::ranges::equal(a.pixels(), b.pixels());
}

TEST(PredecodedPictures, AreEveryEmbeddedPictureAsDecodedAndScaledAtRunTimeAndReadInPlace) {
    if (predecoded::kPictures.empty()) GTEST_SKIP() << "a cross build decodes its pictures at run time";
    // Every picture the program shows: the board, the lamp frame and each motif in both sizes.
    ASSERT_EQ(predecoded::kPictures.size(), 2 + 2 * kMotifCount);
    ui::PictureCache cache;
    const auto held = adopt_predecoded_pictures(cache);
    ASSERT_EQ(held.size(), predecoded::kPictures.size());
    for (std::size_t i = 0; i < held.size(); ++i) {
        const auto& p = predecoded::kPictures[i];
        SCOPED_TRACE(i);
        const auto decoded = decode_picture(*p.bytes);
        ASSERT_TRUE(decoded);
        ASSERT_NE(held[i], nullptr);
        const Bitmap* image = held[i]->image();
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(same_pixels(*image, *decoded));
        // The cache reads the static pixels rather than a decode of its own.
        EXPECT_EQ(image->pixels().data(), p.pixels);
        EXPECT_EQ(cache.picture(Value::of_lasting_bytes(*p.bytes)), held[i]);
        if (p.scaled_pixels == nullptr) continue;
        const Size size{p.scaled_width, p.scaled_height};
        const auto scaled = held[i]->scaled(size);
        EXPECT_EQ(scaled->pixels().data(), p.scaled_pixels);
        EXPECT_TRUE(same_pixels(*scaled, resample(*decoded, size)));
    }
    EXPECT_EQ(predecoded::kPictures[0].bytes, &embedded::kBoardBackground);
    EXPECT_NE(predecoded::kPictures[0].scaled_pixels, nullptr);
}

} // namespace
} // namespace tav::assets
