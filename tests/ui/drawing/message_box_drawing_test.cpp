// Message boxes: the icon of the flags, the message, the buttons.
#include <gtest/gtest.h>

#include <cstdlib>

#include "drawing_window.hpp"
#include "gfx/font.hpp"
#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "gfx/system_colors.hpp"
#include "ui/message_box.hpp"
#include "ui/message_box_painting.hpp"
#include "ui/services.hpp"

namespace tav::test {
namespace {

struct Seen {
    Bitmap pixels;
    ui::MessageBoxInfo info;
};

// Opens a box with `style`, keeps what it showed and closes it with its first button.
Seen show_box(DrawingProgram& p, std::string_view text_utf8, std::uint32_t style) {
    Seen seen;
    p.runtime->services().message_box_opened = [&](const ui::MessageBoxInfo& info) {
        p.ws().update(info.window);
        seen.pixels = p.ws().framebuffer(info.window);
        seen.info = info;
        const Rect b = info.buttons.front().rect;
        p.backend->click(info.window, {b.x + b.width / 2, b.y + b.height / 2});
    };
    ui::run_message_box(p.ws(), p.runtime->services(), gbk(text_utf8), gbk("信息提示！"), style);
    p.runtime->services().message_box_opened = {};
    return seen;
}

// Pixels inside the 32 x 32 icon at the box's left margin matching `pred`.
int count_icon(const Bitmap& b, const std::function<bool(Argb)>& pred) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < 48 && x < b.width(); ++x) n += pred(b.pixel(x, y));
    return n;
}

bool reddish(Argb c) { return red_of(c) > 180 && green_of(c) < 90 && blue_of(c) < 90; }
bool bluish(Argb c) { return blue_of(c) > 180 && red_of(c) < 60; }
bool yellowish(Argb c) { return red_of(c) > 220 && green_of(c) > 170 && blue_of(c) < 80; }

TEST(MessageBoxDrawing, IconsTextAndButtonsFollowTheFlags) {
    DrawingProgram p({});
    const Seen plain = show_box(p, "分数不够！请先上分！", 0);
    ASSERT_FALSE(plain.pixels.empty());
    EXPECT_EQ(count_icon(plain.pixels, reddish) + count_icon(plain.pixels, bluish), 0);
    // Dark text on white in the message area.
    const Rect t = plain.info.text_rect;
    int dark = 0;
    for (int y = t.y; y < t.bottom(); ++y)
        for (int x = t.x; x < t.right() && x < plain.pixels.width(); ++x) dark += red_of(plain.pixels.pixel(x, y)) < 90;
    EXPECT_GT(dark, 20);
    EXPECT_EQ(plain.pixels.pixel(2, 2) | 0xFF000000u, syscolor::kWindow);
    // The button strip is face-coloured and the button is a raised push button.
    const Rect b = plain.info.buttons.front().rect;
    EXPECT_EQ(plain.pixels.pixel(2, plain.pixels.height() - 2) | 0xFF000000u, syscolor::kFace);
    EXPECT_EQ(plain.pixels.pixel(b.right() - 1, b.bottom() - 1) | 0xFF000000u, syscolor::kWindowFrame);

    const Seen stop = show_box(p, "x", 0x10);
    EXPECT_GT(count_icon(stop.pixels, reddish), 300);
    EXPECT_GT(count_icon(stop.pixels, [](Argb c) { return (c | 0xFF000000u) == rgb(255, 255, 255); }), 50);
    const Seen question = show_box(p, "x", 0x20);
    EXPECT_GT(count_icon(question.pixels, bluish), 300);
    const Seen warning = show_box(p, "x", 0x30);
    EXPECT_GT(count_icon(warning.pixels, yellowish), 150);
    EXPECT_GT(count_icon(warning.pixels, [](Argb c) { return red_of(c) < 60 && green_of(c) < 60; }), 10); // the "!"
    const Seen info = show_box(p, "x", 0x40);
    EXPECT_GT(count_icon(info.pixels, bluish), 300);
}

TEST(MessageBoxDrawing, ButtonsAreThemedWhileTheThemedLookIsOn) {
    DrawingProgram p({});
    p.themes().themed_drawing(3);
    const Seen seen = show_box(p, "分数到顶了！", 4);
    p.themes().themed_drawing(0);
    ASSERT_EQ(seen.info.buttons.size(), 2u);
    for (const auto& button : seen.info.buttons) {
        const Rect b = button.rect;
        EXPECT_EQ(seen.pixels.pixel(b.x + b.width / 2, b.y + 1) | 0xFF000000u, rgb(0, 60, 116));
    }
}

// At scale 2 an icon is drawn at 64 x 64, not its 32 x 32 drawing resampled: each 2 x 2 block
// averages back to the 1x icon up to the smoothing of the edges, and the edges are sharper than
// those of the resampled copy.
TEST(MessageBoxDrawing, IconsAreDrawnAnewAtTwiceTheScale) {
    FontCache fonts;
    for (const std::uint32_t icon :
         {ui::kBoxIconStop, ui::kBoxIconQuestion, ui::kBoxIconExclamation, ui::kBoxIconInformation}) {
        SCOPED_TRACE(icon);
        Bitmap one(ui::kBoxIconSize, ui::kBoxIconSize, rgb(0, 0, 0));
        Painter p1(one);
        ui::draw_message_box_icon(p1, fonts, {0, 0, ui::kBoxIconSize, ui::kBoxIconSize}, icon);
        Bitmap two(2 * ui::kBoxIconSize, 2 * ui::kBoxIconSize, rgb(0, 0, 0));
        Painter p2(two, 2);
        ui::draw_message_box_icon(p2, fonts, {0, 0, ui::kBoxIconSize, ui::kBoxIconSize}, icon);

        long total = 0;
        for (int y = 0; y < one.height(); ++y) {
            for (int x = 0; x < one.width(); ++x) {
                for (int shift = 0; shift <= 16; shift += 8) {
                    int sum = 0;
                    for (int d = 0; d < 4; ++d) sum += int((two.pixel(2 * x + d % 2, 2 * y + d / 2) >> shift) & 0xFF);
                    total += std::abs((sum + 2) / 4 - int((one.pixel(x, y) >> shift) & 0xFF));
                }
            }
        }
        // The marks are glyphs hinted at their own size, so they move by a fraction of a pixel.
        EXPECT_LT(double(total) / (3.0 * one.width() * one.height()), 6.0);

        // A resampled copy blurs every edge over two pixels; the fresh drawing keeps them one
        // pixel wide, so along each edge the two differ clearly.
        const Bitmap blown = resample(one, two.size());
        int apart = 0;
        for (int y = 0; y < two.height(); ++y) {
            for (int x = 0; x < two.width(); ++x) {
                const Argb a = two.pixel(x, y), b = blown.pixel(x, y);
                apart += std::abs(red_of(a) - red_of(b)) + std::abs(green_of(a) - green_of(b)) +
                             std::abs(blue_of(a) - blue_of(b)) >
                         48;
            }
        }
        EXPECT_GT(apart, 60);
    }
}

} // namespace
} // namespace tav::test
