// The window icon: a white emblem on a dark rounded square, with real transparency around it.

#include <gtest/gtest.h>

#include "assets/assets.hpp"

namespace tav::assets {
namespace {

struct Pixel {
    int r, g, b, a;
};

Pixel at(const IconImage& icon, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * icon.width + x) * 4;
    return {icon.rgba[i], icon.rgba[i + 1], icon.rgba[i + 2], icon.rgba[i + 3]};
}

TEST(WindowIcon, SquareRgbaWithWhiteEmblemOnDarkGround) {
    const IconImage icon = window_icon();
    ASSERT_EQ(icon.width, 64);
    ASSERT_EQ(icon.height, 64);
    ASSERT_EQ(icon.rgba.size(), 64u * 64u * 4u);

    EXPECT_EQ(at(icon, 0, 0).a, 0) << "rounded corners are transparent";
    EXPECT_EQ(at(icon, 63, 63).a, 0);

    const Pixel centre = at(icon, 32, 32);
    EXPECT_EQ(centre.a, 255);
    EXPECT_GT(centre.r + centre.g + centre.b, 3 * 230) << "the emblem is white";

    int white = 0;
    int dark = 0;
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const Pixel p = at(icon, x, y);
            if (p.a < 255) continue;
            if (p.r + p.g + p.b > 3 * 230) ++white;
            if (p.r + p.g + p.b < 3 * 100) ++dark;
        }
    }
    const int total = icon.width * icon.height;
    EXPECT_GT(white, total / 10);
    EXPECT_GT(dark, total / 3);
}

} // namespace
} // namespace tav::assets
