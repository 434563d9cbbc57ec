// Fonts loaded ahead on a helper thread while the window's thread asks for the same fonts.
#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/font.hpp"
#include "runtime/gbk.hpp"
#include "ui/control_kind.hpp"
#include "ui/drawing/font_preload.hpp"

namespace tav::ui {
namespace {

// Label property 15 (local 7) is its font.
constexpr std::size_t kLabelFontLocal = 7;

ControlTemplate LabelWithFont(std::uint32_t id, const std::array<std::uint8_t, kLogFontSize>& record) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind_id::kLabel;
    c.properties.resize(kLabelFontLocal + 1);
    c.properties[kLabelFontLocal] = Value::OfBytes(record);
    return c;
}

// A font asked for while the helper loads it is loaded once: both threads get the same font,
// and what the helper loaded is what later paints get. Fonts of one face at two sizes share
// the face, and each renders at its own size even while the other thread adds a size to it.
TEST(FontPreload, LoadsEachFontOnceWhoeverAsksFirst) {
    const auto song20 = MakeLogFont(Gbk("宋体").view(), 20, kWeightBold);
    const auto kai = MakeLogFont(Gbk("楷体_GB2312").view(), 19);
    const auto song13 = MakeLogFont(Gbk("宋体").view(), 13, kWeightBold);
    LayoutData layout;
    WindowTemplate w;
    w.controls = {LabelWithFont(0x16010001, song20), LabelWithFont(0x16010002, kai), LabelWithFont(0x16010003, song13),
                  LabelWithFont(0x16010004, song20)};
    layout.windows.push_back(w);

    std::shared_ptr<const Font> asked_small, asked_kai;
    std::size_t small_ink = 0;
    {
        FontPreload preload(layout);
        asked_small = SharedFonts().font(song13);
        for (char32_t c : std::u32string(U"总分得倍上开始")) small_ink += asked_small->glyph(c).coverage.size();
        asked_kai = SharedFonts().font(kai);
        preload.finish();
        preload.finish(); // a second wait returns at once
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
