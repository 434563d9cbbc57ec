// Fonts loaded ahead on a helper thread while the window's thread asks for the same fonts.
#include <gtest/gtest.h>

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
// and what the helper loaded is what later paints get.
TEST(FontPreload, LoadsEachFontOnceWhoeverAsksFirst) {
    const auto song = MakeLogFont(Gbk("宋体").view(), 13, kWeightBold);
    const auto kai = MakeLogFont(Gbk("楷体_GB2312").view(), 19);
    LayoutData layout;
    WindowTemplate w;
    w.controls = {LabelWithFont(0x16010001, song), LabelWithFont(0x16010002, kai), LabelWithFont(0x16010003, song)};
    layout.windows.push_back(w);

    std::shared_ptr<const Font> asked_song, asked_kai;
    {
        FontPreload preload(layout);
        asked_kai = SharedFonts().font(kai);
        asked_song = SharedFonts().font(song);
        preload.finish();
        preload.finish(); // a second wait returns at once
    }
    ASSERT_NE(asked_song, nullptr);
    ASSERT_NE(asked_kai, nullptr);
    EXPECT_EQ(SharedFonts().font(song), asked_song);
    EXPECT_EQ(SharedFonts().font(kai), asked_kai);
    EXPECT_EQ(asked_song->height(), 13);
    EXPECT_EQ(asked_kai->family(), "AR PL UKai CN");
    EXPECT_FALSE(asked_song->glyph(U'分').coverage.empty());
}

} // namespace
} // namespace tav::ui
