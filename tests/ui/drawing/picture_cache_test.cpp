// Decoded pictures shared between controls and threads.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "drawing_window.hpp"
#include "gfx/decoded_picture.hpp"
#include "gfx/picture_cache.hpp"

namespace tav {
namespace {

using test::solid_bmp;

TEST(PictureCache, EqualBytesShareOneDecodeAndOneScaledCopyWhoeverAsks) {
    const Value red = Value::of_bytes(solid_bmp(6, 4, rgb(255, 0, 0)));
    const Value red_again = Value::of_bytes(red.bytes()); // equal bytes in another block
    const Value blue = Value::of_bytes(solid_bmp(6, 4, rgb(0, 0, 255)));

    ui::PictureCache cache;
    ui::DecodedPicture first, second, other;
    const Bitmap* a = first.sync(cache, red);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(second.sync(cache, red_again), a);
    // The cache keeps the first holder's block, not a copy of its bytes.
    EXPECT_EQ(cache.picture(red_again)->bytes().data(), red.bytes().data());
    const Bitmap* b = other.sync(cache, blue);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b, a);
    EXPECT_EQ(b->pixel(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(&first.scaled({12, 8}), &second.scaled({12, 8}));
    EXPECT_EQ(first.scaled({12, 8}).pixel(11, 7), rgb(255, 0, 0));

    // Each control still counts what it took up, and a repaint adds nothing.
    EXPECT_EQ(second.sync(cache, red_again), a);
    EXPECT_EQ(first.decode_count(), 1);
    EXPECT_EQ(second.decode_count(), 1);

    // Two threads asking at once get the one picture and the one scaled copy.
    const Value green = Value::of_bytes(solid_bmp(30, 20, rgb(0, 255, 0)));
    std::vector<std::shared_ptr<const ui::SharedPicture>> got(2);
    std::vector<std::shared_ptr<const Bitmap>> scaled(2);
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < 2; ++i)
            threads.emplace_back([&, i] {
                got[i] = cache.picture(green);
                scaled[i] = got[i]->scaled({45, 30});
            });
    }
    EXPECT_EQ(got[0], got[1]);
    EXPECT_EQ(scaled[0], scaled[1]);
    EXPECT_EQ(got[0]->image(), got[1]->image());

    // No bytes are no picture; bytes that are no picture have no image.
    EXPECT_EQ(cache.picture(Value()), nullptr);
    const auto junk = cache.picture(Value::of_bytes(Bytes{'n', 'o'}));
    ASSERT_NE(junk, nullptr);
    EXPECT_EQ(junk->image(), nullptr);
}

// A picture adopted for later takes what its maker gives at its first use, once, and draws
// from it; a maker that gives nothing leaves the picture to be decoded here; a picture decoded
// already never calls its maker; and a picture adopted outright is not decoded here at all.
TEST(PictureCache, PicturesMadeElsewhereAreTakenWhenFirstUsed) {
    ui::PictureCache cache;
    const Value green = Value::of_bytes(solid_bmp(6, 4, rgb(0, 255, 0)));
    int calls = 0;
    const auto later = cache.adopt_later(green, [&]() -> std::optional<ui::MadePicture> {
        ++calls;
        ui::MadePicture made{Bitmap(6, 4, rgb(0, 1, 2)), {}};
        made.scaled.emplace_back(3, 2, rgb(9, 9, 9));
        return made;
    });
    EXPECT_EQ(calls, 0);
    ASSERT_NE(later->image(), nullptr);
    EXPECT_EQ(later->image()->pixel(5, 3), rgb(0, 1, 2)); // the maker's, not a decode of the bytes
    EXPECT_EQ(later->scaled({3, 2})->pixel(0, 0), rgb(9, 9, 9));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(cache.picture(green), later);

    const Value grey = Value::of_bytes(solid_bmp(6, 4, rgb(90, 90, 90)));
    const auto fallen_back = cache.adopt_later(grey, [] { return std::optional<ui::MadePicture>(); });
    ASSERT_NE(fallen_back->image(), nullptr);
    EXPECT_EQ(fallen_back->image()->pixel(0, 0), rgb(90, 90, 90));

    const Value white = Value::of_bytes(solid_bmp(2, 2, rgb(255, 255, 255)));
    const auto decoded = cache.picture(white);
    ASSERT_NE(decoded->image(), nullptr);
    bool called = false;
    cache.adopt_later(white, [&] {
        called = true;
        return std::optional<ui::MadePicture>();
    });
    EXPECT_EQ(cache.adopt(white, ui::MadePicture{Bitmap(2, 2, rgb(1, 1, 1)), {}})->image()->pixel(0, 0),
              rgb(255, 255, 255));
    EXPECT_FALSE(called);

    const Value black = Value::of_bytes(solid_bmp(2, 2, rgb(0, 0, 0)));
    EXPECT_EQ(cache.adopt(black, ui::MadePicture{Bitmap(2, 2, rgb(3, 3, 3)), {}})->image()->pixel(1, 1), rgb(3, 3, 3));
    EXPECT_EQ(cache.adopt(Value(), ui::MadePicture{}), nullptr);
}

} // namespace
} // namespace tav
