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

} // namespace
} // namespace tav
