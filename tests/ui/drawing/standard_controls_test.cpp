// Push buttons, up-down controls and edit boxes in the classic and the themed look.
#include <gtest/gtest.h>

#include "drawing_window.hpp"
#include "gfx/system_colors.hpp"
#include "ui/services.hpp"

namespace tav::test {
namespace {

constexpr std::uint32_t kButton = 0x16010001;
constexpr std::uint32_t kSpin = 0x16010002;
constexpr std::uint32_t kEdit = 0x16010003;
constexpr Rect kButtonRect{10, 10, 64, 34};
constexpr Rect kSpinRect{100, 10, 33, 50};
constexpr Rect kEditRect{150, 10, 80, 24};

std::vector<ui::ControlTemplate> controls() {
    return {make(kButton, ui::kind_id::kButton, kButtonRect, {{}, {}, Value::of_text("OK")}),
            make(kSpin, ui::kind_id::kSpin, kSpinRect),
            make(kEdit, ui::kind_id::kEditBox, kEditRect, {Value::of_text("abc")})};
}

TEST(StandardControls, ClassicLookIsRaisedAndPressedLooksSunken) {
    DrawingProgram p(controls());
    ASSERT_NE(p.ws().focus(), p.control(kButton)->handle());
    EXPECT_EQ(p.at(10, 10), syscolor::kHighlight);
    EXPECT_EQ(p.at(73, 43), syscolor::kDarkShadow);
    EXPECT_EQ(p.at(40, 12), syscolor::kFace);

    p.backend->mouse_down(p.top(), {40, 25});
    p.ws().process_pending();
    // Pressed and focused: a black frame, then a flat shadow line.
    EXPECT_EQ(p.at(10, 10), rgb(0, 0, 0));
    EXPECT_EQ(p.at(11, 11), syscolor::kShadow);
    p.backend->mouse_up(p.top(), {40, 25});
    p.ws().process_pending();

    // Up-down: two raised arrow buttons with black triangles.
    EXPECT_EQ(p.at(kSpinRect.x, kSpinRect.y), syscolor::kHighlight);
    int black = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 33; ++x) black += p.at(kSpinRect.x + x, kSpinRect.y + y) == rgb(0, 0, 0);
    EXPECT_GT(black, 6);

    // Edit box: client edge, white field, dark text.
    EXPECT_EQ(p.at(kEditRect.x, kEditRect.y), syscolor::kShadow);
    EXPECT_EQ(p.at(kEditRect.right() - 4, kEditRect.y + 12), rgb(255, 255, 255));
    int text = 0;
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 20; ++y) text += red_of(p.at(kEditRect.x + 2 + x, kEditRect.y + 2 + y)) < 80;
    EXPECT_GT(text, 5);
}

TEST(StandardControls, ThemedSchemeThreeTakesOverAtOnceWithItsFrameGradientsAndUpDownColour) {
    DrawingProgram p(controls());
    p.themes().themed_drawing(3);
    // Painted at once, without waiting for the loop.
    const Bitmap& fb = p.ws().framebuffer(p.top());
    const auto px = [&](int x, int y) { return fb.pixel(x, y) | 0xFF000000u; };
    const int cx = kButtonRect.x + kButtonRect.width / 2;
    EXPECT_EQ(px(cx, kButtonRect.y), syscolor::kFace);
    EXPECT_EQ(px(cx, kButtonRect.y + 1), rgb(0, 60, 116));
    EXPECT_EQ(px(kButtonRect.x + 1, kButtonRect.y + 1), syscolor::kFace); // rounded corner
    // The normal gradient on the 2-pixel ring: white at the top, (226, 223, 214) at the bottom.
    EXPECT_EQ(px(cx, kButtonRect.y + 2), rgb(255, 255, 255));
    EXPECT_EQ(px(cx, kButtonRect.bottom() - 3), rgb(226, 223, 214));
    // The face inside it: entry 6, (252, 252, 251) at its top.
    EXPECT_EQ(px(cx, kButtonRect.y + 4), rgb(252, 252, 251));

    EXPECT_EQ(px(kSpinRect.x, kSpinRect.y), rgb(198, 197, 215));
    EXPECT_EQ(px(kSpinRect.x + 16, kSpinRect.y + 24), rgb(198, 197, 215)); // between the arrows
    EXPECT_EQ(px(kEditRect.x, kEditRect.y), rgb(198, 197, 215));
    EXPECT_EQ(px(kEditRect.x + 1, kEditRect.y + 1), rgb(255, 255, 255));
    // An edit box with no border of its own gets the same themed frame.
    p.set(kEdit, 9, Value::of_integer(0));
    EXPECT_EQ(p.at(kEditRect.x, kEditRect.y), rgb(198, 197, 215));
    EXPECT_EQ(p.at(kEditRect.x + 1, kEditRect.y + 1), rgb(255, 255, 255));

    // Hot, then pressed: the ring follows the state flags at once.
    p.backend->mouse_move(p.top(), {cx, 25});
    p.ws().process_pending();
    EXPECT_EQ(p.at(cx, kButtonRect.y + 2), rgb(255, 240, 207));
    p.backend->mouse_down(p.top(), {cx, 25});
    p.ws().process_pending();
    EXPECT_EQ(p.at(cx, kButtonRect.y + 2), rgb(239, 227, 206));
    EXPECT_EQ(p.at(cx, kButtonRect.y + 4), rgb(179, 178, 197));
    p.backend->mouse_up(p.top(), {cx, 25});
    p.backend->mouse_move(p.top(), {200, 200});
    p.ws().process_pending();
    // Released and left: focused now (the press took the focus), entry 3.
    EXPECT_EQ(p.at(cx, kButtonRect.y + 2), rgb(206, 231, 255));

    // Disabled: the face colour minus 32 as frame, the flat disabled face.
    p.set(kButton, 6, Value::of_bool(true));
    EXPECT_EQ(p.at(cx, kButtonRect.y + 1), rgb(208, 208, 208));
    EXPECT_EQ(p.at(cx, kButtonRect.y + 2), rgb(245, 244, 234));

    // Given back at once.
    p.themes().themed_drawing(0);
    EXPECT_EQ(px(kSpinRect.x, kSpinRect.y), syscolor::kHighlight);
}

TEST(StandardControls, SchemesSwitchOverAndControlsMadeLaterAreThemedToo) {
    ui::Services themed;
    themed.themes.themed_drawing(1);
    DrawingProgram p(controls(), {}, {300, 240}, std::move(themed));
    EXPECT_EQ(p.at(kSpinRect.x, kSpinRect.y), rgb(123, 158, 189));
    EXPECT_EQ(p.at(kButtonRect.x + 20, kButtonRect.y + 1), rgb(0, 60, 115));
    p.themes().themed_drawing(2);
    EXPECT_EQ(p.at(kSpinRect.x, kSpinRect.y), rgb(164, 185, 127));
    EXPECT_EQ(p.at(kButtonRect.x + 20, kButtonRect.y + 1), rgb(55, 98, 6));
    // A re-created spinner (a new control) is taken over as it is made.
    p.set(kSpin, 8, Value::of_integer(0));
    EXPECT_EQ(p.at(kSpinRect.x, kSpinRect.y), rgb(164, 185, 127));
    // Any other number switches the look off.
    p.themes().themed_drawing(7);
    EXPECT_EQ(p.themes().scheme(), 0);
    EXPECT_EQ(p.at(kSpinRect.x, kSpinRect.y), syscolor::kHighlight);
}

TEST(StandardControls, BitmapButtonShowsItsPictureAndStaysClassic) {
    ui::Services themed;
    themed.themes.themed_drawing(3);
    DrawingProgram p({make(kButton, ui::kind_id::kButton, kButtonRect,
                           {Value::of_bytes(solid_bmp(10, 10, rgb(255, 0, 0))), {}, Value::of_text("OK")})},
                     {}, {300, 240}, std::move(themed));
    const int cx = kButtonRect.x + kButtonRect.width / 2, cy = kButtonRect.y + kButtonRect.height / 2;
    EXPECT_EQ(p.at(cx, cy), rgb(255, 0, 0));
    EXPECT_EQ(p.at(cx, kButtonRect.y), syscolor::kHighlight);
}

} // namespace
} // namespace tav::test
