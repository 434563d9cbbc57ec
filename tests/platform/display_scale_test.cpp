// The drawing scale: the command line first, then GDK_SCALE, then the X resources' Xft.dpi.
#include <gtest/gtest.h>

#include "platform/display_scale.hpp"

namespace tav::platform {
namespace {

TEST(DisplayScale, CommandLineThenGdkScaleThenXftDpi) {
    EXPECT_EQ(choose_display_scale(0, nullptr, std::nullopt), 1);
    EXPECT_EQ(choose_display_scale(3, "1", 96), 3); // the command line wins over both
    EXPECT_EQ(choose_display_scale(1, nullptr, 288), 1);
    EXPECT_EQ(choose_display_scale(0, "2", 96), 2); // GDK_SCALE wins over the resources
    EXPECT_EQ(choose_display_scale(0, "1", 288), 1);
    for (const char* bad : {"", "0", "4", "2x", "1.5", "-2", "22"})
        EXPECT_EQ(choose_display_scale(0, bad, 192), 2) << '"' << bad << '"'; // ignored: the dpi decides
    EXPECT_EQ(choose_display_scale(0, nullptr, 191), 1);
    EXPECT_EQ(choose_display_scale(0, nullptr, 192), 2);
    EXPECT_EQ(choose_display_scale(0, nullptr, 287), 2);
    EXPECT_EQ(choose_display_scale(0, nullptr, 288), 3);
    EXPECT_EQ(choose_display_scale(0, nullptr, 600), 3);
}

TEST(DisplayScale, XftDpiIsReadFromItsOwnLineOfTheResources) {
    EXPECT_EQ(xft_dpi_from_resources("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 192);
    EXPECT_EQ(xft_dpi_from_resources("Xft.dpi: 144.5"), 144); // the last line needs no newline
    EXPECT_EQ(xft_dpi_from_resources("Xcursor.size:\t48\n"), std::nullopt);
    EXPECT_EQ(xft_dpi_from_resources("*Xft.dpi:\t192\n"), std::nullopt); // another resource's name
    EXPECT_EQ(xft_dpi_from_resources("Xft.dpi:\tlarge\n"), std::nullopt);
    EXPECT_EQ(xft_dpi_from_resources("Xft.dpi:\t0\n"), std::nullopt);
    EXPECT_EQ(xft_dpi_from_resources(""), std::nullopt);
}

} // namespace
} // namespace tav::platform
