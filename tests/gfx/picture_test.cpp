#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include <jpeglib.h>

#include "gfx/picture.hpp"
#include "lamp.hpp"
#include "picture_builders.hpp"

namespace tav {
namespace {

using test::Bytes;
using test::make_bmp;
using test::put16;
using test::put32;

// The 3 x 2 test picture every bit depth encodes: its colours by position from the top.
const Argb kPicture[2][3] = {{rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)},
                             {rgb(255, 255, 255), rgb(0, 0, 0), rgb(255, 0, 0)}};

void expect_picture(const std::optional<Bitmap>& bmp, const char* what) {
    ASSERT_TRUE(bmp.has_value()) << what;
    ASSERT_EQ(bmp->size(), (Size{3, 2})) << what;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(bmp->pixel(x, y), kPicture[y][x]) << what << " at " << x << "," << y;
}

// Every supported depth decodes the same picture, stored bottom-up and top-down.
TEST(Bmp, EveryDepthBothRowOrders) {
    const std::vector<Argb> palette = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255),
                                       rgb(0, 0, 0)};
    auto index = [&](int x, int y) {
        return std::uint32_t(std::find(palette.begin(), palette.end(), kPicture[y][x]) - palette.begin());
    };
    auto bgr = [](int x, int y) { return kPicture[y][x] & 0x00FFFFFFu; };
    auto rgb555 = [](int x, int y) {
        const Argb c = kPicture[y][x];
        return std::uint32_t((red_of(c) >> 3) << 10 | (green_of(c) >> 3) << 5 | (blue_of(c) >> 3));
    };
    auto rgb565 = [](int x, int y) {
        const Argb c = kPicture[y][x];
        return std::uint32_t((red_of(c) >> 3) << 11 | (green_of(c) >> 2) << 5 | (blue_of(c) >> 3));
    };
    for (bool top_down : {false, true}) {
        std::vector<Argb> pal8 = palette;
        pal8.resize(200, rgb(9, 9, 9));
        expect_picture(decode_picture(make_bmp(3, 2, 4, top_down, palette, index)), "4-bit");
        expect_picture(decode_picture(make_bmp(3, 2, 8, top_down, pal8, index)), "8-bit");
        expect_picture(decode_picture(make_bmp(3, 2, 16, top_down, {}, rgb555)), "16-bit 555");
        expect_picture(decode_picture(make_bmp(3, 2, 16, top_down, {}, rgb565, {0xF800, 0x07E0, 0x001F})),
                       "16-bit 565");
        expect_picture(decode_picture(make_bmp(3, 2, 24, top_down, {}, bgr)), "24-bit");
        expect_picture(decode_picture(make_bmp(3, 2, 32, top_down, {}, bgr)), "32-bit");
        expect_picture(decode_picture(make_bmp(3, 2, 32, top_down, {}, bgr, {0xFF0000, 0xFF00, 0xFF})),
                       "32-bit fields");

        // 1 bit: a 10-wide row crosses a byte and needs padding.
        const auto mono = decode_picture(make_bmp(10, 2, 1, top_down, {rgb(0, 0, 0), rgb(255, 255, 255)},
                                                  [](int x, int y) { return std::uint32_t((x + y) % 2); }));
        ASSERT_TRUE(mono.has_value());
        EXPECT_EQ(mono->pixel(0, 0), rgb(0, 0, 0));
        EXPECT_EQ(mono->pixel(9, 0), rgb(255, 255, 255));
        EXPECT_EQ(mono->pixel(9, 1), rgb(0, 0, 0));
    }
    EXPECT_EQ(picture_size(make_bmp(7, 5, 24, true, {}, [](int, int) { return 0x123456u; })), (Size{7, 5}));
}

// Run-length coded 8- and 4-bit pictures: runs, literal groups with padding, skips and ends.
TEST(Bmp, RunLengthCoded) {
    auto rle_file = [](int bpp, const Bytes& codes) {
        // A 4 x 3 picture with a four-colour palette; the coded data replace the plain rows.
        Bytes b = test::make_bmp(4, 3, bpp, false, {rgb(0, 0, 0), rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)},
                                 [](int, int) { return 0u; });
        const std::size_t data = 14 + 40 + 16;
        b.resize(data);
        b.insert(b.end(), codes.begin(), codes.end());
        put32(b, 30, bpp == 8 ? 1 : 2);
        return b;
    };
    // Bottom row: a run of two 1s, then single 2 and 3; middle row: skip one pixel, a 2; top
    // row: a literal group 3 2 1, padded to a word.
    const Bytes rle8 = {2, 1, 1, 2, 1, 3, 0, 0, 0, 2, 1, 0, 1, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 1};
    auto bmp = decode_picture(rle_file(8, rle8));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->pixel(0, 2), rgb(255, 0, 0));
    EXPECT_EQ(bmp->pixel(1, 2), rgb(255, 0, 0));
    EXPECT_EQ(bmp->pixel(2, 2), rgb(0, 255, 0));
    EXPECT_EQ(bmp->pixel(3, 2), rgb(0, 0, 255));
    EXPECT_EQ(bmp->pixel(0, 1), rgb(0, 0, 0)); // skipped
    EXPECT_EQ(bmp->pixel(1, 1), rgb(0, 255, 0));
    EXPECT_EQ(bmp->pixel(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(bmp->pixel(2, 0), rgb(255, 0, 0));
    EXPECT_EQ(bmp->pixel(3, 0), rgb(0, 0, 0));
    // 4 bits: a run alternates the two nibbles; a literal of three takes two bytes.
    const Bytes rle4 = {4, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 1};
    bmp = decode_picture(rle_file(4, rle4));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->pixel(0, 2), rgb(255, 0, 0));
    EXPECT_EQ(bmp->pixel(1, 2), rgb(0, 255, 0));
    EXPECT_EQ(bmp->pixel(3, 2), rgb(0, 255, 0));
    EXPECT_EQ(bmp->pixel(0, 1), rgb(0, 0, 255));
    EXPECT_EQ(bmp->pixel(2, 1), rgb(255, 0, 0));
    // No end mark, or an index beyond the palette: no picture.
    EXPECT_FALSE(decode_picture(rle_file(8, {2, 1, 0, 0})).has_value());
    EXPECT_FALSE(decode_picture(rle_file(8, {2, 9, 0, 1})).has_value());
}

// A lamp frame as the layout stores it: 24 bits, 208-byte rows, two spare bytes at the end.
TEST(Bmp, LampFileDecodesToItsFrame) {
    const Bitmap lamp = test::make_lamp();
    Bytes file = make_bmp(69, 69, 24, false, {}, [&](int x, int y) { return lamp.pixel(x, y) & 0x00FFFFFFu; });
    file.push_back(0);
    file.push_back(0);
    ASSERT_EQ(file.size(), 14408u);
    const auto bmp = decode_picture(file);
    ASSERT_TRUE(bmp.has_value());
    EXPECT_TRUE(std::equal(bmp->pixels().begin(), bmp->pixels().end(), lamp.pixels().begin()));
}

Bytes make_jpeg(int w, int h, int components, const std::function<Argb(int, int)>& colour) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1; // no chroma subsampling
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(w * components));
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            const Argb px = colour(x, y);
            if (components == 1)
                row[std::size_t(x)] = red_of(px);
            else
                row[std::size_t(3 * x)] = red_of(px), row[std::size_t(3 * x + 1)] = green_of(px),
                                    row[std::size_t(3 * x + 2)] = blue_of(px);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// Colour and grey JPEGs made by libjpeg come back close to what went in.
TEST(Jpeg, RoundTripColourAndGrey) {
    auto colour = [](int x, int y) { return rgb(std::uint8_t(x * 16), std::uint8_t(y * 16), 128); };
    const Bytes file = make_jpeg(16, 12, 3, colour);
    EXPECT_EQ(picture_size(file), (Size{16, 12}));
    const auto bmp = decode_picture(file);
    ASSERT_TRUE(bmp.has_value());
    ASSERT_EQ(bmp->size(), (Size{16, 12}));
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Argb want = colour(x, y), got = bmp->pixel(x, y);
            EXPECT_EQ(alpha_of(got), 255);
            EXPECT_NEAR(red_of(got), red_of(want), 8);
            EXPECT_NEAR(green_of(got), green_of(want), 8);
            EXPECT_NEAR(blue_of(got), blue_of(want), 8);
        }
    }
    const auto grey = decode_picture(make_jpeg(8, 8, 1, [](int x, int) { return rgb(std::uint8_t(x * 30), 0, 0); }));
    ASSERT_TRUE(grey.has_value());
    EXPECT_NEAR(red_of(grey->pixel(7, 3)), 210, 4);
    EXPECT_EQ(red_of(grey->pixel(7, 3)), blue_of(grey->pixel(7, 3)));
}

// One icon DIB entry: height counts colour and mask rows; rows bottom-up.
Bytes icon_dib(int size, int bpp, const std::function<std::uint32_t(int, int)>& value,
               const std::function<bool(int, int)>& masked) {
    const std::size_t stride = (std::size_t(size) * std::size_t(bpp) + 31) / 32 * 4;
    const std::size_t mask_stride = (std::size_t(size) + 31) / 32 * 4;
    Bytes b(40 + (stride + mask_stride) * std::size_t(size), 0);
    put32(b, 0, 40);
    put32(b, 4, std::uint32_t(size));
    put32(b, 8, std::uint32_t(2 * size));
    put16(b, 12, 1);
    put16(b, 14, std::uint32_t(bpp));
    for (int y = 0; y < size; ++y) {
        const std::size_t row = 40 + stride * std::size_t(size - 1 - y);
        const std::size_t mrow = 40 + stride * std::size_t(size) + mask_stride * std::size_t(size - 1 - y);
        for (int x = 0; x < size; ++x) {
            const std::uint32_t v = value(x, y);
            for (int i = 0; i < bpp / 8; ++i) b[row + std::size_t(x * bpp / 8 + i)] = std::uint8_t(v >> (8 * i));
            if (masked(x, y)) b[mrow + std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        }
    }
    return b;
}

Bytes icon_file(const std::vector<std::pair<int, Bytes>>& entries, std::uint8_t type = 1) {
    Bytes b(6 + 16 * entries.size(), 0);
    b[2] = type;
    b[4] = std::uint8_t(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t e = 6 + 16 * i;
        b[e] = b[e + 1] = std::uint8_t(entries[i].first);
        put32(b, e + 8, std::uint32_t(entries[i].second.size()));
        put32(b, e + 12, std::uint32_t(b.size()));
        b.insert(b.end(), entries[i].second.begin(), entries[i].second.end());
    }
    return b;
}

// The largest entry wins; a 32-bit entry keeps its alpha, a 24-bit one takes the AND mask,
// and a PNG entry is passed over.
TEST(Icon, LargestEntryWithAlphaOrMask) {
    const Bytes small = icon_dib(
        16, 24, [](int, int) { return 0x0000FFu; }, [](int x, int) { return x < 8; });
    const Bytes big = icon_dib(
        32, 32, [](int x, int) { return x < 16 ? 0x80FFFFFFu : 0xFF00FF00u; }, [](int, int) { return true; });
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0};
    const Bytes file = icon_file({{16, small}, {32, big}, {64, png}});
    ASSERT_EQ(sniff_picture(file), PictureFormat::Icon);
    const auto bmp = decode_picture(file);
    ASSERT_TRUE(bmp.has_value());
    ASSERT_EQ(bmp->size(), (Size{32, 32}));
    EXPECT_EQ(bmp->pixel(0, 0), 0x80FFFFFFu);
    EXPECT_EQ(bmp->pixel(31, 31), 0xFF00FF00u);

    const auto cur = decode_picture(icon_file({{16, small}}, 2));
    ASSERT_TRUE(cur.has_value());
    EXPECT_EQ(alpha_of(cur->pixel(3, 5)), 0);
    EXPECT_EQ(cur->pixel(12, 5), rgb(0, 0, 255));
}

// The first frame lands on the logical screen; the transparent index gets alpha 0.
TEST(Gif, FirstFrameWithTransparency) {
    const std::vector<Argb> table = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)};
    std::vector<std::uint8_t> idx;
    for (int i = 0; i < 5 * 3; ++i) idx.push_back(std::uint8_t(i % 3));
    const Bytes file = test::make_gif(5, 3, table, idx, 2);
    EXPECT_EQ(sniff_picture(file), PictureFormat::Gif);
    EXPECT_EQ(picture_size(file), (Size{5, 3}));
    const auto bmp = decode_picture(file);
    ASSERT_TRUE(bmp.has_value());
    ASSERT_EQ(bmp->size(), (Size{5, 3}));
    EXPECT_EQ(bmp->pixel(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(bmp->pixel(1, 0), rgb(0, 255, 0));
    EXPECT_EQ(alpha_of(bmp->pixel(2, 0)), 0);
    EXPECT_EQ(alpha_of(bmp->pixel(0, 1)), 0);
    EXPECT_EQ(bmp->pixel(1, 1), rgb(255, 0, 0));

    // A compressed frame long enough to fill the code table and start it again.
    std::vector<Argb> grey;
    for (int i = 0; i < 256; ++i) grey.push_back(rgb(std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)));
    std::vector<std::uint8_t> noise(120 * 90);
    std::uint32_t seed = 12345;
    for (auto& v : noise) {
        seed = seed * 1103515245u + 12345u;
        v = std::uint8_t((seed >> 16) % 7 + ((&v - noise.data()) % 120 < 60 ? 0 : 200));
    }
    const auto big = decode_picture(test::make_gif(120, 90, grey, noise, -1, true));
    ASSERT_TRUE(big.has_value());
    for (int i = 0; i < 120 * 90; ++i) {
        ASSERT_EQ(big->pixel(i % 120, i / 120), grey[noise[std::size_t(i)]]) << i;
    }
}

// The size told without decoding is the canvas the decoder draws on, also when the first frame
// reaches beyond a logical screen that is too small or empty.
TEST(Gif, SizeIsTheCanvasOfTheFirstFrame) {
    const std::vector<Argb> table = {rgb(255, 0, 0), rgb(0, 255, 0)};
    const std::vector<std::uint8_t> idx(4 * 9, 1);
    Bytes file = test::make_gif(4, 9, table, idx);
    const std::size_t frame_at = 13 + 2 * 3;
    ASSERT_EQ(file[frame_at], 0x2C);
    test::put16(file, frame_at + 1, 3); // frame left edge at x = 3
    test::put16(file, 6, 5);            // screen 5 wide: the frame ends at 7
    test::put16(file, 8, 0);            // screen 0 high: the frame makes it 9
    const auto bmp = decode_picture(file);
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->size(), (Size{7, 9}));
    EXPECT_EQ(bmp->pixel(3, 8), rgb(0, 255, 0));
    EXPECT_EQ(picture_size(file), (Size{7, 9}));
}

} // namespace
} // namespace tav
