// Labels and transparent labels: background steps, text relief and traceless caption changes.
#include <gtest/gtest.h>

#include <chrono>

#include "drawing_window.hpp"
#include "gfx/logfont.hpp"
#include "gfx/system_colors.hpp"

namespace tav::test {
namespace {

constexpr std::uint32_t kFirst = 0x16010001;
constexpr std::uint32_t kSecond = 0x16010002;
constexpr int kCaption = 8;

Value font(std::string_view face_utf8, int px) {
    const auto record = make_log_font(gbk(face_utf8).view(), px, kWeightBold);
    return Value::of_bytes(record);
}

// A Label with a caption, relief, text colour and back colour; the rest at defaults.
ui::ControlTemplate label(std::uint32_t id, Rect r, std::string_view caption, int effect, std::int32_t text,
                          std::int32_t back, int border = 0) {
    std::vector<Value> props(19);
    props[0] = Value::of_text(gbk(caption));
    props[1] = Value::of_integer(effect);
    props[2] = Value::of_integer(border);
    props[7] = font("黑体", 20);
    props[8] = Value::of_integer(text);
    props[9] = Value::of_integer(back);
    props[16] = Value::of_integer(1);
    return make(id, ui::kind_id::kLabel, r, std::move(props));
}

ui::ControlTemplate trans_label(std::uint32_t id, Rect r, std::string_view caption) {
    return make(id, ui::kind_id::kTransLabel, r,
                {Value::of_text(gbk(caption)), Value::of_integer(0), font("黑体", 21),
                 Value::of_integer(color_ref(255, 0, 255)), Value::of_integer(1), Value::of_bool(false),
                 Value::of_integer(1)});
}

// A window whose background is a fine pattern, stretched over the client area as the game's is.
std::vector<Value> patterned_window() {
    Bitmap pattern(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            pattern.set_pixel(x, y, rgb(std::uint8_t(x * 6), std::uint8_t(y * 8), std::uint8_t((x + y) % 2 * 200)));
    return {Value::of_text("T"), Value::of_integer(2), Value::of_integer(0), Value::of_bytes(bmp24(pattern)),
            Value::of_integer(3)};
}

TEST(LabelDrawing, TextEffectThreeDrawsABlackCopyTwoPixelsRightAndDownBehindTheText) {
    const Rect r0{10, 10, 120, 40}, r3{10, 60, 120, 40};
    DrawingProgram p({label(kFirst, r0, "88", 0, color_ref(255, 255, 255), color_ref(0, 0, 160)),
                      label(kSecond, r3, "88", 3, color_ref(255, 255, 255), color_ref(0, 0, 160))});
    const Argb white = rgb(255, 255, 255), back = rgb(0, 0, 160);
    int shadowed = 0, text = 0;
    for (int y = 0; y + 2 < r0.height; ++y) {
        for (int x = 0; x + 2 < r0.width; ++x) {
            const Argb plain = p.at(r0.x + x, r0.y + y);
            if (plain != white) continue;
            ++text;
            EXPECT_EQ(p.at(r3.x + x, r3.y + y), white) << x << "," << y; // the coloured text on top
            if (p.at(r0.x + x + 2, r0.y + y + 2) == back) {
                EXPECT_EQ(p.at(r3.x + x + 2, r3.y + y + 2), rgb(0, 0, 0)) << x << "," << y;
                ++shadowed;
            }
        }
    }
    EXPECT_GT(text, 20);
    EXPECT_GT(shadowed, 10);
}

TEST(LabelDrawing, BorderBackColourAndGradientBackgroundFillTheInside) {
    auto gradient = label(kSecond, {10, 60, 60, 40}, "", 0, 0, color_ref(0, 255, 0));
    gradient.properties[12] = Value::of_integer(2); // top to bottom
    gradient.properties[13] = Value::of_integer(color_ref(255, 0, 0));
    gradient.properties[14] = Value::of_integer(static_cast<std::int32_t>(0xFF000000u)); // none: skipped
    gradient.properties[15] = Value::of_integer(color_ref(0, 0, 255));
    DrawingProgram p({label(kFirst, {10, 10, 60, 30}, "", 0, 0, color_ref(0, 0, 0), 1), gradient});

    EXPECT_EQ(p.at(10, 10), syscolor::kShadow); // the sunken edge
    EXPECT_EQ(p.at(12, 12), rgb(0, 0, 0));      // BackColor inside it
    EXPECT_EQ(p.at(67, 37), rgb(0, 0, 0));

    EXPECT_EQ(p.at(30, 60), rgb(255, 0, 0)); // the gradient covers the BackColor
    EXPECT_EQ(p.at(30, 99), rgb(0, 0, 255));

    // Any property change repaints the whole label.
    p.set(kFirst, 8 + 9, Value::of_integer(color_ref(9, 9, 9)));
    EXPECT_EQ(p.at(40, 25), rgb(9, 9, 9));
}

TEST(LabelDrawing, GradientFrameAndBackPictureModesShapeTheArea) {
    auto framed = label(kFirst, {10, 10, 60, 40}, "", 0, 0, color_ref(0, 0, 0), 6);
    framed.properties[3] = Value::of_integer(3); // stored as 5
    auto pictured = label(kSecond, {100, 10, 60, 40}, "", 0, 0, color_ref(0, 0, 0));
    pictured.properties[10] = Value::of_bytes(solid_bmp(20, 10, rgb(255, 0, 0)));
    pictured.properties[11] = Value::of_integer(0); // natural size at the corner
    DrawingProgram p({framed, pictured});

    // Grey at the outer edge, white in the middle of the 5-pixel frame, grey again inside.
    EXPECT_EQ(p.at(10, 30), rgb(128, 128, 128));
    EXPECT_EQ(p.at(12, 30), rgb(255, 255, 255));
    EXPECT_EQ(p.at(14, 30), rgb(128, 128, 128));
    EXPECT_EQ(p.at(15, 30), rgb(0, 0, 0)); // BackColor inside the frame

    EXPECT_EQ(p.at(119, 19), rgb(255, 0, 0));
    EXPECT_EQ(p.at(120, 19), rgb(0, 0, 0));
    EXPECT_EQ(p.at(119, 20), rgb(0, 0, 0));
    p.set(kSecond, 8 + 11, Value::of_integer(1)); // tiled: the whole label
    EXPECT_EQ(p.at(125, 25), rgb(255, 0, 0));
    EXPECT_EQ(p.at(159, 49), rgb(255, 0, 0));
}

TEST(LabelDrawing, GradientFrameWiderThanTheLabelStopsAtItsMiddle) {
    // A frame of two billion pixels used to be drawn ring by ring, one paint taking a minute.
    auto huge = label(kFirst, {10, 10, 60, 40}, "", 0, 0, color_ref(0, 0, 0), 6);
    huge.properties[3] = Value::of_integer(2'000'000'000);
    auto wide = label(kSecond, {100, 10, 60, 40}, "", 0, 0, color_ref(0, 0, 0), 6);
    wide.properties[3] = Value::of_integer(40); // the rings reach the middle at 20
    const auto start = std::chrono::steady_clock::now();
    DrawingProgram p({huge, wide});
    p.set(kFirst, kCaption, Value::of_text("x")); // and a repaint
    p.paint();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    // Every ring of the huge frame sits at its outer end, grey: the frame covers the whole label.
    int off = 0;
    for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 70; ++x) off += p.at(x, y) != rgb(128, 128, 128);
    EXPECT_EQ(off, 0);
    // The 40-pixel frame fills its label too, brightening toward the middle; no back colour shows.
    int black = 0;
    for (int y = 10; y < 50; ++y)
        for (int x = 100; x < 160; ++x) black += p.at(x, y) == rgb(0, 0, 0);
    EXPECT_EQ(black, 0);
    EXPECT_EQ(p.at(100, 30), rgb(128, 128, 128));
    EXPECT_GT(red_of(p.at(129, 29)), 240);
    EXPECT_EQ(p.at(99, 30), p.at(161, 30)); // nothing outside the label
}

TEST(TransLabelDrawing, ShorterCaptionLeavesNoTraceOfTheOldDigitsOnThePatternedBackground) {
    const Rect r{40, 30, 60, 26};
    DrawingProgram changed({trans_label(kFirst, r, "100")}, patterned_window());
    const Bitmap before = changed.paint();
    changed.set(kFirst, kCaption, Value::of_text("5"));
    const Bitmap& after = changed.paint();

    DrawingProgram fresh({trans_label(kFirst, r, "5")}, patterned_window());
    const Bitmap& expected = fresh.paint();
    int differed_before = 0;
    for (int y = r.y; y < r.bottom(); ++y) {
        for (int x = r.x; x < r.right(); ++x) {
            ASSERT_EQ(after.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
            differed_before += before.pixel(x, y) != expected.pixel(x, y);
        }
    }
    EXPECT_GT(differed_before, 20); // "100" really was drawn there
    // The magenta "5" is there, over the picture.
    int magenta = 0;
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x) magenta += (after.pixel(x, y) | 0xFF000000u) == rgb(255, 0, 255);
    EXPECT_GT(magenta, 5);
}

TEST(TransLabelDrawing, MovingTheLabelClearsItsOldPlace) {
    const Rect r{40, 30, 60, 26};
    DrawingProgram moved({trans_label(kFirst, r, "100")}, patterned_window());
    moved.set(kFirst, 0, Value::of_integer(150));
    DrawingProgram empty({}, patterned_window());
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x) ASSERT_EQ(moved.at(x, y), empty.at(x, y)) << x << "," << y;
}

} // namespace
} // namespace tav::test
