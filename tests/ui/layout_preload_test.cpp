// Fonts, glyphs and pictures made ahead on a helper thread while the window's thread asks for them.
#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/font.hpp"
#include "runtime/gbk.hpp"
#include "ui/control_kind.hpp"
#include "ui/drawing/layout_preload.hpp"
#include "ui/label.hpp"
#include "ui/window_control.hpp"
#include "../drawing/drawing_window.hpp"

namespace tav::ui {
namespace {

constexpr std::u32string_view kCaption = U"总分得倍上开始";

ControlTemplate LabelWithFont(std::uint32_t id, const std::array<std::uint8_t, kLogFontSize>& record) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind_id::kLabel;
    c.properties.resize(Label::kFont + 1);
    c.properties[Label::kFont] = Value::OfBytes(record);
    c.properties[Label::kCaption] = Value::OfText(Gbk("总分得倍上开始"));
    return c;
}

// A font asked for while the helper loads it is loaded once: both threads get the same font,
// and what the helper loaded is what later paints get. Fonts of one face at two sizes share
// the face, and each renders at its own size even while the other thread adds a size or a
// glyph to it. The window's stretched picture is decoded and scaled ahead too.
TEST(LayoutPreload, MakesEachFontGlyphAndPictureOnceWhoeverAsksFirst) {
    const auto song20 = MakeLogFont(Gbk("宋体").view(), 20, kWeightBold);
    const auto kai = MakeLogFont(Gbk("楷体_GB2312").view(), 19);
    const auto song13 = MakeLogFont(Gbk("宋体").view(), 13, kWeightBold);
    LayoutData layout;
    WindowTemplate w;
    w.controls = {LabelWithFont(0x16010001, song20), LabelWithFont(0x16010002, kai), LabelWithFont(0x16010003, song13),
                  LabelWithFont(0x16010004, song20)};
    const Value board = Value::OfBytes(test::SolidBmp(6, 4, Rgb(0, 90, 90)));
    ControlTemplate window;
    window.kind = kind_id::kWindow;
    window.rect = {0, 0, 12, 8};
    window.properties.resize(WindowControl::kBackPictureMode + 1);
    window.properties[WindowControl::kBackPicture] = board;
    window.properties[WindowControl::kBackPictureMode] = Value::OfInteger(WindowControl::kStretchedPicture);
    w.controls.push_back(window);
    layout.windows.push_back(w);

    std::shared_ptr<const Font> asked_small, asked_kai;
    std::size_t small_ink = 0;
    {
        LayoutPreload preload([&] { return layout; });
        ASSERT_EQ(preload.layout().windows.size(), 1u);
        EXPECT_EQ(preload.layout().windows[0].controls.size(), layout.windows[0].controls.size());
        asked_small = SharedFonts().font(song13);
        for (char32_t c : kCaption) small_ink += asked_small->glyph(c).coverage.size();
        const auto picture = SharedPictures().picture(board);
        ASSERT_NE(picture->image(), nullptr);
        EXPECT_EQ(picture->scaled({12, 8})->pixel(11, 7), Rgb(0, 90, 90));
        asked_kai = SharedFonts().font(kai);
        preload.finish();
        preload.finish(); // a second wait returns at once
        // What the helper made stays in the caches for the controls to find.
        EXPECT_GE(SharedPictures().picture(board).use_count(), 2);
        EXPECT_EQ(SharedPictures().picture(board)->scaled({12, 8}), picture->scaled({12, 8}));
    }
    ASSERT_NE(asked_small, nullptr);
    ASSERT_NE(asked_kai, nullptr);
    EXPECT_EQ(SharedFonts().font(song13), asked_small);
    EXPECT_EQ(SharedFonts().font(kai), asked_kai);
    EXPECT_EQ(asked_kai->family(), "AR PL UKai CN");

    const auto large = SharedFonts().font(song20);
    EXPECT_EQ(large->family(), asked_small->family());
    const Glyph& big = large->glyph(U'分');
    const Glyph& small = asked_small->glyph(U'分');
    EXPECT_GT(big.rows, small.rows);
    EXPECT_GT(big.advance, small.advance);
    EXPECT_LE(small.rows, 13);
    EXPECT_LE(big.rows, 20);
    EXPECT_GT(small_ink, 0u);
}

} // namespace
} // namespace tav::ui
