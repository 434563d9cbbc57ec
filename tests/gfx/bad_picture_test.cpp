// Malformed picture blocks: each gives no picture and never reads out of bounds.
#include <gtest/gtest.h>

#include <climits>

#include <jpeglib.h>

#include "gfx/picture.hpp"
#include "picture_builders.hpp"

namespace tav {
namespace {

using test::Bytes;
using test::put16;
using test::put32;

Bytes small_bmp(int bpp, std::vector<Argb> palette = {}) {
    return test::make_bmp(5, 4, bpp, false, palette, [](int x, int y) { return std::uint32_t(x + y) % 2; });
}

Bytes small_jpeg() {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = 24;
    c.image_height = 16;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(24 * 3);
    while (c.next_scanline < c.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = JSAMPLE((i * 7 + c.next_scanline * 13) & 0xFF);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// Offset of the frame header's height field in a JPEG stream.
std::size_t sof_dimensions(const Bytes& jpeg) {
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i + 5;
    }
    return 0;
}

// Any picture that does decode has a sane size; used where malformed input may still be a picture.
void expect_sane_if_any(const std::optional<Bitmap>& bmp) {
    if (!bmp) return;
    EXPECT_GT(bmp->width(), 0);
    EXPECT_LE(std::uint64_t(bmp->width()) * std::uint64_t(bmp->height()), kMaxPicturePixels);
}

TEST(BadPicture, TooShortOrUnknown) {
    EXPECT_EQ(sniff_picture(Bytes{}), PictureFormat::None);
    EXPECT_EQ(sniff_picture(Bytes{'B', 'M', 0, 0, 0}), PictureFormat::None);
    EXPECT_EQ(sniff_picture(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0}), PictureFormat::None);
    EXPECT_FALSE(decode_picture(Bytes{'G', 'I', 'F', '8', '9'}).has_value());
    EXPECT_FALSE(decode_picture(Bytes{'P', 'K', 3, 4, 0, 0, 0, 0}).has_value());
    // An icon directory with no entries is not an icon.
    EXPECT_EQ(sniff_picture(Bytes{0, 0, 1, 0, 0, 0, 0, 0}), PictureFormat::None);
    // PCX is recognised but not decoded.
    const Bytes pcx = {0x0A, 5, 1, 8, 0, 0, 0, 0};
    EXPECT_EQ(sniff_picture(pcx), PictureFormat::Pcx);
    EXPECT_EQ(sniff_picture(Bytes{0x0A, 3, 1, 1, 0, 0}), PictureFormat::Pcx);
    EXPECT_FALSE(decode_picture(pcx).has_value());
}

TEST(BadPicture, BmpHeadersAndData) {
    Bytes huge = small_bmp(24);
    put32(huge, 18, 65536);
    put32(huge, 22, 65536);
    EXPECT_FALSE(decode_picture(huge).has_value());
    EXPECT_FALSE(picture_size(huge).has_value());

    Bytes min_height = small_bmp(24);
    put32(min_height, 22, std::uint32_t(INT_MIN));
    EXPECT_FALSE(decode_picture(min_height).has_value());

    Bytes wide_negative = small_bmp(24);
    put32(wide_negative, 18, std::uint32_t(-5));
    EXPECT_FALSE(decode_picture(wide_negative).has_value());

    // Two palette entries, but a pixel uses index 5.
    Bytes beyond = test::make_bmp(4, 2, 8, false, {rgb(1, 1, 1), rgb(2, 2, 2)},
                                  [](int x, int y) { return std::uint32_t(x == 3 && y == 1 ? 5 : 1); });
    EXPECT_FALSE(decode_picture(beyond).has_value());

    Bytes odd_depth = small_bmp(24);
    put16(odd_depth, 28, 7);
    EXPECT_FALSE(decode_picture(odd_depth).has_value());

    Bytes odd_header = small_bmp(24);
    put32(odd_header, 14, 1000);
    EXPECT_FALSE(decode_picture(odd_header).has_value());

    Bytes far_data = small_bmp(24);
    put32(far_data, 10, 0xFFFFFFF0u);
    EXPECT_FALSE(decode_picture(far_data).has_value());

    Bytes rle_24 = small_bmp(24);
    put32(rle_24, 30, 1);
    EXPECT_FALSE(decode_picture(rle_24).has_value());

    // Every truncation of a valid file is refused; the whole file decodes.
    for (const Bytes& file : {small_bmp(24), small_bmp(4, {rgb(0, 0, 0), rgb(9, 9, 9)}), small_bmp(16)}) {
        ASSERT_TRUE(decode_picture(file).has_value());
        // The last row may lack its padding, so start below the last row's start.
        for (std::size_t n = 0; n + 16 < file.size(); ++n)
            EXPECT_FALSE(decode_picture(std::span(file).first(n)).has_value()) << n;
    }
}

TEST(BadPicture, JpegHeadersAndTruncation) {
    const Bytes good = small_jpeg();
    ASSERT_TRUE(decode_picture(good).has_value());

    Bytes huge = good;
    const std::size_t dims = sof_dimensions(huge);
    ASSERT_NE(dims, 0u);
    huge[dims] = 0xFF, huge[dims + 1] = 0xDC, huge[dims + 2] = 0xFF, huge[dims + 3] = 0xDC; // 65500 x 65500
    EXPECT_FALSE(picture_size(huge).has_value());
    EXPECT_FALSE(decode_picture(huge).has_value());
    // Just the frame header claiming that size, in a few bytes.
    const Bytes tiny = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0xFF, 0xDC, 0xFF, 0xDC, 1, 1, 0x11, 0};
    EXPECT_FALSE(decode_picture(tiny).has_value());

    for (std::size_t n = 0; n < good.size(); n += 3)
        EXPECT_FALSE(decode_picture(std::span(good).first(n)).has_value()) << n;

    Bytes garbage = {0xFF, 0xD8};
    for (int i = 0; i < 300; ++i) garbage.push_back(std::uint8_t(i * 37 + 11));
    EXPECT_FALSE(decode_picture(garbage).has_value());
}

TEST(BadPicture, IconAndGif) {
    Bytes icon = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0x0F};
    EXPECT_EQ(sniff_picture(icon), PictureFormat::Icon);
    EXPECT_FALSE(decode_picture(icon).has_value());
    Bytes many = {0, 0, 2, 0, 0xFF, 0xFF};
    EXPECT_FALSE(decode_picture(many).has_value());

    const Bytes gif = test::make_gif(4, 4, {rgb(0, 0, 0), rgb(255, 255, 255)}, std::vector<std::uint8_t>(16, 1));
    ASSERT_TRUE(decode_picture(gif).has_value());
    for (std::size_t n = 0; n + 2 < gif.size(); ++n)
        EXPECT_FALSE(decode_picture(std::span(gif).first(n)).has_value()) << n;

    Bytes huge = gif;
    put16(huge, 6, 65535);
    put16(huge, 8, 65535);
    EXPECT_FALSE(decode_picture(huge).has_value());

    // A frame with no image descriptor, only the trailer.
    Bytes empty = {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    EXPECT_FALSE(decode_picture(empty).has_value());

    // Codes beyond the table: decoding stops without reading outside.
    std::vector<std::uint8_t> idx(16, 1);
    Bytes bad_codes = test::make_gif(4, 4, {rgb(0, 0, 0), rgb(255, 255, 255)}, idx);
    const std::size_t data_at = 13 + 4 * 3 + 10 + 1; // header, table, descriptor, min code size
    for (std::size_t i = data_at + 1; i < bad_codes.size() - 2; ++i) bad_codes[i] = 0xFF;
    expect_sane_if_any(decode_picture(bad_codes));
}

// Flipped bytes anywhere in each format never fault; what decodes has a sane size.
TEST(BadPicture, CorruptedBytes) {
    const std::vector<Bytes> files = {
        small_bmp(24), small_bmp(8, {rgb(0, 0, 0), rgb(9, 9, 9)}), small_jpeg(),
        test::make_gif(6, 5, {rgb(0, 0, 0), rgb(255, 255, 255)}, std::vector<std::uint8_t>(30, 1), -1, true)};
    std::uint32_t seed = 99;
    for (const Bytes& file : files) {
        for (int round = 0; round < 150; ++round) {
            Bytes bad = file;
            for (int k = 0; k < 3; ++k) {
                seed = seed * 1664525u + 1013904223u;
                const std::size_t at = 2 + (seed >> 8) % (bad.size() - 2);
                bad[at] = std::uint8_t(seed >> 24);
            }
            expect_sane_if_any(decode_picture(bad));
            const auto size = picture_size(bad);
            if (size) {
                EXPECT_LE(std::uint64_t(size->width) * std::uint64_t(size->height), kMaxPicturePixels);
            }
        }
    }
}

} // namespace
} // namespace tav
