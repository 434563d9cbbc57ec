// Message boxes: the icon of the flags, the message, the buttons.
#include <gtest/gtest.h>

#include "drawing_window.hpp"
#include "gfx/system_colors.hpp"
#include "runtime/message_box.hpp"
#include "ui/themed_drawing.hpp"

namespace tav::test {
namespace {

struct Seen {
    Bitmap pixels;
    MessageBoxInfo info;
};

// Opens a box with `style`, keeps what it showed and closes it with its first button.
Seen ShowBox(DrawingProgram& p, std::string_view text_utf8, std::uint32_t style) {
    Seen seen;
    SetMessageBoxOpenedHook([&](const MessageBoxInfo& info) {
        p.ws().update(info.window);
        seen.pixels = p.ws().framebuffer(info.window);
        seen.info = info;
        const Rect b = info.buttons.front().rect;
        p.backend->click(info.window, {b.x + b.width / 2, b.y + b.height / 2});
    });
    RunMessageBox(Gbk(text_utf8), Gbk("信息提示！"), style);
    SetMessageBoxOpenedHook({});
    return seen;
}

// Pixels inside the 32 x 32 icon at the box's left margin matching `pred`.
int CountIcon(const Bitmap& b, const std::function<bool(Argb)>& pred) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < 48 && x < b.width(); ++x) n += pred(b.pixel(x, y));
    return n;
}

bool Reddish(Argb c) { return RedOf(c) > 180 && GreenOf(c) < 90 && BlueOf(c) < 90; }
bool Bluish(Argb c) { return BlueOf(c) > 180 && RedOf(c) < 60; }
bool Yellowish(Argb c) { return RedOf(c) > 220 && GreenOf(c) > 170 && BlueOf(c) < 80; }

TEST(MessageBoxDrawing, IconsTextAndButtonsFollowTheFlags) {
    DrawingProgram p({});
    const Seen plain = ShowBox(p, "分数不够！请先上分！", 0);
    ASSERT_FALSE(plain.pixels.empty());
    EXPECT_EQ(CountIcon(plain.pixels, Reddish) + CountIcon(plain.pixels, Bluish), 0);
    // Dark text on white in the message area.
    const Rect t = plain.info.text_rect;
    int dark = 0;
    for (int y = t.y; y < t.bottom(); ++y)
        for (int x = t.x; x < t.right() && x < plain.pixels.width(); ++x) dark += RedOf(plain.pixels.pixel(x, y)) < 90;
    EXPECT_GT(dark, 20);
    EXPECT_EQ(plain.pixels.pixel(2, 2) | 0xFF000000u, syscolor::kWindow);
    // The button strip is face-coloured and the button is a raised push button.
    const Rect b = plain.info.buttons.front().rect;
    EXPECT_EQ(plain.pixels.pixel(2, plain.pixels.height() - 2) | 0xFF000000u, syscolor::kFace);
    EXPECT_EQ(plain.pixels.pixel(b.right() - 1, b.bottom() - 1) | 0xFF000000u, syscolor::kWindowFrame);

    const Seen stop = ShowBox(p, "x", 0x10);
    EXPECT_GT(CountIcon(stop.pixels, Reddish), 300);
    EXPECT_GT(CountIcon(stop.pixels, [](Argb c) { return (c | 0xFF000000u) == Rgb(255, 255, 255); }), 50);
    const Seen question = ShowBox(p, "x", 0x20);
    EXPECT_GT(CountIcon(question.pixels, Bluish), 300);
    const Seen warning = ShowBox(p, "x", 0x30);
    EXPECT_GT(CountIcon(warning.pixels, Yellowish), 150);
    EXPECT_GT(CountIcon(warning.pixels, [](Argb c) { return RedOf(c) < 60 && GreenOf(c) < 60; }), 10); // the "!"
    const Seen info = ShowBox(p, "x", 0x40);
    EXPECT_GT(CountIcon(info.pixels, Bluish), 300);
}

TEST(MessageBoxDrawing, ButtonsAreThemedWhileTheThemedLookIsOn) {
    DrawingProgram p({});
    ui::ThemedDrawing(3);
    const Seen seen = ShowBox(p, "分数到顶了！", 4);
    ui::ThemedDrawing(0);
    ASSERT_EQ(seen.info.buttons.size(), 2u);
    for (const auto& button : seen.info.buttons) {
        const Rect b = button.rect;
        EXPECT_EQ(seen.pixels.pixel(b.x + b.width / 2, b.y + 1) | 0xFF000000u, Rgb(0, 60, 116));
    }
}

} // namespace
} // namespace tav::test
