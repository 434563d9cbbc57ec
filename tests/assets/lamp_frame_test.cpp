// The lamp frame bitmap, read back field by field and pixel by pixel.

#include <gtest/gtest.h>

#include "assets/assets.hpp"
#include "le_reader.hpp"

namespace tav::assets {
namespace {

using testing::tag;
using testing::u16;
using testing::u32;

constexpr int kSide = 69;
constexpr int kFrame = 7;
constexpr std::size_t kRowBytes = 208;
constexpr std::size_t kPixelOffset = 54;

TEST(LampFrame, HeadersDescribeA69By69TwentyFourBitBitmap) {
    const auto b = lamp_frame();
    ASSERT_EQ(b.size(), 14408u);
    EXPECT_EQ(tag(b, 0, 2), "BM");
    EXPECT_EQ(u32(b, 2), 14408u); // file size
    EXPECT_EQ(u32(b, 6), 0u);     // both reserved words
    EXPECT_EQ(u32(b, 10), kPixelOffset);
    EXPECT_EQ(u32(b, 14), 40u); // info header size
    EXPECT_EQ(static_cast<int>(u32(b, 18)), kSide);
    EXPECT_EQ(static_cast<int>(u32(b, 22)), kSide); // positive: rows stored bottom-up
    EXPECT_EQ(u16(b, 26), 1u);                      // planes
    EXPECT_EQ(u16(b, 28), 24u);                     // bits per pixel
    EXPECT_EQ(u32(b, 30), 0u);                      // no compression
    EXPECT_EQ(u32(b, 34), 14354u);                  // image size field
    EXPECT_EQ(u32(b, 38), 2834u);
    EXPECT_EQ(u32(b, 42), 2834u);
    EXPECT_EQ(u32(b, 46), 0u); // colours used
    EXPECT_EQ(u32(b, 50), 0u); // important colours
    EXPECT_EQ(kPixelOffset + kSide * kRowBytes + 2, b.size());
}

TEST(LampFrame, RedFrameSevenPixelsWideAroundBlackMiddle) {
    const auto b = lamp_frame();
    ASSERT_EQ(b.size(), 14408u);
    int red = 0;
    int black = 0;
    for (int row = 0; row < kSide; ++row) {
        const int y = kSide - 1 - row; // bottom-up storage
        const std::size_t base = kPixelOffset + static_cast<std::size_t>(row) * kRowBytes;
        for (int x = 0; x < kSide; ++x) {
            const std::uint8_t blue = b[base + 3 * x];
            const std::uint8_t green = b[base + 3 * x + 1];
            const std::uint8_t r = b[base + 3 * x + 2];
            const bool in_frame = x < kFrame || x >= kSide - kFrame || y < kFrame || y >= kSide - kFrame;
            if (in_frame) {
                ASSERT_TRUE(r == 255 && green == 0 && blue == 0) << "frame pixel " << x << "," << y;
                ++red;
            } else {
                ASSERT_TRUE(r == 0 && green == 0 && blue == 0) << "middle pixel " << x << "," << y;
                ++black;
            }
        }
        EXPECT_EQ(b[base + kRowBytes - 1], 0) << "row padding " << row;
    }
    EXPECT_EQ(red, 1736);
    EXPECT_EQ(black, 3025);
    EXPECT_EQ(b[b.size() - 2], 0);
    EXPECT_EQ(b[b.size() - 1], 0);
}

} // namespace
} // namespace tav::assets
