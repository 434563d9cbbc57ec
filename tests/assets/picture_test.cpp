// The JPEG pictures: their JFIF headers parsed by hand, then decoded with libjpeg and looked at.

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "assets/assets.hpp"
#include "le_reader.hpp"

namespace tav::assets {
namespace {

using testing::b_e16;
using testing::tag;

struct Named {
    std::string name;
    std::span<const std::uint8_t> bytes;
    int width;
    int height;
};

constexpr int kLarge = 65;
constexpr int kSmall = 30;

const char* motif_name(Motif m) {
    static const char* const kNames[] = {"cars", "bottle cap", "zipper badge", "knot",     "cherries",
                                         "kiwi", "strawberry", "orange",       "butterfly"};
    return kNames[static_cast<int>(m)];
}

std::vector<Named> all_pictures() {
    std::vector<Named> all{{"board background", board_background(), 368, 563}};
    for (std::size_t i = 0; i < kMotifCount; ++i) {
        const auto m = static_cast<Motif>(i);
        all.push_back({std::string(motif_name(m)) + " large", large_picture(m), kLarge, kLarge});
        all.push_back({std::string(motif_name(m)) + " small", small_picture(m), kSmall, kSmall});
    }
    return all;
}

// What the markers of a JPEG file say, read without a decoder.
struct Markers {
    bool soi = false;
    bool jfif_first = false; // APP0 "JFIF" is the first segment
    int jfif_major = -1, jfif_minor = -1, density_units = -1, x_density = -1, y_density = -1;
    int sof0_count = 0;
    int other_sof_count = 0; // progressive, extended, lossless or arithmetic frames
    int precision = 0, width = 0, height = 0, components = 0;
    std::vector<int> component_ids;
    bool eoi = false;
};

Markers read_markers(std::span<const std::uint8_t> b) {
    Markers m;
    if (b.size() < 4) return m;
    m.soi = b[0] == 0xFF && b[1] == 0xD8;
    m.eoi = b[b.size() - 2] == 0xFF && b[b.size() - 1] == 0xD9;
    std::size_t at = 2;
    bool first = true;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF) break;
        const int marker = b[at + 1];
        if (marker == 0xDA || marker == 0xD9) break; // entropy-coded data follows; headers are done
        const std::size_t len = b_e16(b, at + 2);
        const std::size_t body = at + 4;
        if (body + len - 2 > b.size()) break;
        if (marker == 0xE0 && len >= 16 && tag(b, body, 5) == std::string("JFIF\0", 5)) {
            m.jfif_first = first;
            m.jfif_major = b[body + 5];
            m.jfif_minor = b[body + 6];
            m.density_units = b[body + 7];
            m.x_density = static_cast<int>(b_e16(b, body + 8));
            m.y_density = static_cast<int>(b_e16(b, body + 10));
        } else if (marker == 0xC0) {
            ++m.sof0_count;
            m.precision = b[body];
            m.height = static_cast<int>(b_e16(b, body + 1));
            m.width = static_cast<int>(b_e16(b, body + 3));
            m.components = b[body + 5];
            for (int c = 0; c < m.components; ++c) m.component_ids.push_back(b[body + 6 + 3 * c]);
        } else if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            ++m.other_sof_count;
        }
        first = false;
        at = body + len - 2;
    }
    return m;
}

// An RGB image decoded by libjpeg; ok is false if the decoder gave up.
struct Decoded {
    bool ok = false;
    bool ycbcr = false;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    const std::uint8_t* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

struct ErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void trap_error(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1); }

void ignore_message(j_common_ptr) {}

Decoded decode(std::span<const std::uint8_t> bytes) {
    Decoded out;
    jpeg_decompress_struct cinfo{};
    ErrorTrap trap{};
    cinfo.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = trap_error;
    trap.mgr.output_message = ignore_message;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return Decoded{};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    out.ycbcr = cinfo.jpeg_color_space == JCS_YCbCr;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.rgb.data() + static_cast<std::size_t>(cinfo.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.ok = true;
    return out;
}

TEST(Pictures, EveryPictureIsBaselineJfif101WithSquarePixels) {
    for (const Named& p : all_pictures()) {
        SCOPED_TRACE(p.name);
        // A few kilobytes each: the window layout holds many copies.
        EXPECT_GT(p.bytes.size(), 500u);
        EXPECT_LT(p.bytes.size(), p.width > kLarge ? 40000u : 5000u);
        const Markers m = read_markers(p.bytes);
        EXPECT_TRUE(m.soi);
        EXPECT_TRUE(m.eoi);
        EXPECT_TRUE(m.jfif_first);
        EXPECT_EQ(m.jfif_major, 1);
        EXPECT_EQ(m.jfif_minor, 1);
        // Either an aspect ratio (units 0) or dots per inch/cm: the two densities must be equal.
        EXPECT_GE(m.density_units, 0);
        EXPECT_GT(m.x_density, 0);
        EXPECT_EQ(m.x_density, m.y_density);
        EXPECT_EQ(m.sof0_count, 1);
        EXPECT_EQ(m.other_sof_count, 0);
        EXPECT_EQ(m.precision, 8);
        EXPECT_EQ(m.width, p.width);
        EXPECT_EQ(m.height, p.height);
        EXPECT_EQ(m.components, 3);
        EXPECT_EQ(m.component_ids, (std::vector<int>{1, 2, 3}));
    }
}

TEST(Pictures, AMotifOutsideTheNineHasNoPicture) {
    const auto stray = static_cast<Motif>(kMotifCount);
    EXPECT_TRUE(large_picture(stray).empty());
    EXPECT_TRUE(small_picture(stray).empty());
    EXPECT_TRUE(large_picture(static_cast<Motif>(-1)).empty());
}

TEST(Pictures, EveryPictureDecodesToItsSizeInYCbCr) {
    for (const Named& p : all_pictures()) {
        SCOPED_TRACE(p.name);
        const Decoded d = decode(p.bytes);
        ASSERT_TRUE(d.ok);
        EXPECT_TRUE(d.ycbcr);
        EXPECT_EQ(d.width, p.width);
        EXPECT_EQ(d.height, p.height);
    }
}

// Hue buckets of clearly coloured pixels, so a motif mapped to the wrong picture shows up.
enum Hue { kRed, kOrange, kYellow, kGreen, kBlue, kHueCount };

struct HueShare {
    double share[kHueCount] = {};
    Hue dominant() const {
        int best = 0;
        for (int h = 1; h < kHueCount; ++h)
            if (share[h] > share[best]) best = h;
        return static_cast<Hue>(best);
    }
};

HueShare hues(const Decoded& d) {
    HueShare out;
    int counted = 0;
    int bucket[kHueCount] = {};
    for (int y = 0; y < d.height; ++y) {
        for (int x = 0; x < d.width; ++x) {
            const std::uint8_t* p = d.at(x, y);
            const int r = p[0], g = p[1], b = p[2];
            const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
            ++counted;
            if (hi - lo < 70) continue; // greys, browns and the light ground
            double h = 0;
            if (hi == r)
                h = 60.0 * (g - b) / (hi - lo);
            else if (hi == g)
                h = 120.0 + 60.0 * (b - r) / (hi - lo);
            else
                h = 240.0 + 60.0 * (r - g) / (hi - lo);
            if (h < 0) h += 360.0;
            if (h < 18 || h >= 330)
                ++bucket[kRed];
            else if (h < 45)
                ++bucket[kOrange];
            else if (h < 70)
                ++bucket[kYellow];
            else if (h < 170)
                ++bucket[kGreen];
            else if (h >= 190 && h < 260)
                ++bucket[kBlue];
        }
    }
    for (int h = 0; h < kHueCount; ++h) out.share[h] = static_cast<double>(bucket[h]) / counted;
    return out;
}

TEST(Pictures, EachMotifShowsItsColoursAtBothSizes) {
    const Hue dominant[kMotifCount] = {kBlue, kGreen, kRed, kBlue, kRed, kGreen, kRed, kOrange, kBlue};
    for (std::size_t i = 0; i < kMotifCount; ++i) {
        const auto m = static_cast<Motif>(i);
        for (const bool large : {true, false}) {
            SCOPED_TRACE(std::string(motif_name(m)) + (large ? " large" : " small"));
            const Decoded d = decode(large ? large_picture(m) : small_picture(m));
            ASSERT_TRUE(d.ok);
            const HueShare s = hues(d);
            if (m == Motif::Cars) {
                // Blue, silver and yellow cars: both bright colours must be there.
                EXPECT_GT(s.share[kBlue], 0.02);
                EXPECT_GT(s.share[kYellow], 0.02);
            } else {
                EXPECT_EQ(s.dominant(), dominant[i]);
                EXPECT_GT(s.share[dominant[i]], 0.06);
            }
            if (m == Motif::BottleCap) {
                EXPECT_GT(s.share[kRed], 0.03) << "the red star";
            }
        }
    }
}

TEST(Pictures, LargeMotifsStayClearOfTheBandTheLampCovers) {
    // A lit lamp hides the outer 5 pixels of a ring picture: only light ground may lie there.
    constexpr int kBand = 5;
    for (std::size_t i = 0; i < kMotifCount; ++i) {
        const auto m = static_cast<Motif>(i);
        SCOPED_TRACE(motif_name(m));
        const Decoded d = decode(large_picture(m));
        ASSERT_TRUE(d.ok);
        int dark = 0;
        for (int y = 0; y < d.height; ++y) {
            for (int x = 0; x < d.width; ++x) {
                if (x >= kBand && x < d.width - kBand && y >= kBand && y < d.height - kBand) continue;
                const std::uint8_t* p = d.at(x, y);
                if (std::min({p[0], p[1], p[2]}) < 170) ++dark;
            }
        }
        EXPECT_EQ(dark, 0);
    }
}

TEST(Pictures, BoardBackgroundIsDarkTealWithLighterSpots) {
    const Decoded d = decode(board_background());
    ASSERT_TRUE(d.ok);
    long sum[3] = {};
    int light = 0;
    for (int y = 0; y < d.height; ++y) {
        for (int x = 0; x < d.width; ++x) {
            const std::uint8_t* p = d.at(x, y);
            for (int c = 0; c < 3; ++c) sum[c] += p[c];
            if (p[0] + p[1] + p[2] > 3 * 110) ++light;
        }
    }
    const double n = static_cast<double>(d.width) * d.height;
    const double r = static_cast<double>(sum[0]) / n;
    const double g = static_cast<double>(sum[1]) / n;
    const double b = static_cast<double>(sum[2]) / n;
    EXPECT_LT(r + g + b, 3 * 110.0) << "dark overall";
    EXPECT_GT(g, r + 15); // teal: green and blue well above red
    EXPECT_GT(b, r + 15);
    EXPECT_GT(light, 0) << "the light circles";
}

} // namespace
} // namespace tav::assets
