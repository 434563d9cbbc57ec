// What the preloading helper makes, handed over as bytes and taken in by another process's caches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gbk.hpp"
#include "drawing/drawing_window.hpp"
#include "gfx/font.hpp"
#include "gfx/scale.hpp"
#include "ui/control_kind.hpp"
#include "ui/label.hpp"
#include "ui/layout_preload.hpp"
#include "ui/preload_transfer.hpp"
#include "ui/window_control.hpp"

namespace tav::ui {
namespace {

constexpr std::u32string_view kCaption = U"总分得倍上开始";

ControlTemplate label_with_font(std::uint32_t id, const std::array<std::uint8_t, kLogFontSize>& record) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind_id::kLabel;
    c.properties.resize(Label::kFont + 1);
    c.properties[Label::kFont] = Value::of_bytes(record);
    c.properties[Label::kCaption] = Value::of_text(gbk("总分得倍上开始"));
    return c;
}

struct Preloaded {
    // Shared, so that pictures viewing their pixels in it can keep it.
    std::shared_ptr<std::vector<std::uint8_t>> area =
        std::make_shared<std::vector<std::uint8_t>>(LayoutPreload::kAreaSize / 16);
    std::vector<std::size_t> ends;
    std::span<const std::uint8_t> part(std::size_t n) const {
        const std::size_t start = n == 0 ? 0 : ends[n - 1];
        return {area->data() + start, ends[n] - start};
    }
};

// The caches the helper makes its fonts and pictures in, kept from test to test as a helper
// process keeps them.
FontCache& helper_fonts() {
    static FontCache fonts;
    return fonts;
}
PictureCache& helper_pictures() {
    static PictureCache pictures;
    return pictures;
}

Preloaded preload(const LayoutData& layout) {
    Preloaded p;
    preload_layout(
        layout, *p.area,
        [&](std::size_t end) {
            p.ends.push_back(end);
            return true;
        },
        helper_fonts(), helper_pictures());
    return p;
}

bool same_glyph(const Glyph& a, const Glyph& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.rows == b.rows && a.advance == b.advance &&
           a.coverage == b.coverage;
}

struct Board {
    LayoutData layout;
    Value picture = Value::of_bytes(test::solid_bmp(6, 4, rgb(0, 90, 90)));
    std::array<std::uint8_t, kLogFontSize> song = make_log_font(gbk("宋体").view(), 20, kWeightBold);
    std::array<std::uint8_t, kLogFontSize> kai = make_log_font(gbk("楷体_GB2312").view(), 19);

    Board() {
        WindowTemplate w;
        w.controls = {label_with_font(0x16010001, song), label_with_font(0x16010002, kai),
                      label_with_font(0x16010003, song)};
        ControlTemplate window;
        window.kind = kind_id::kWindow;
        window.rect = {0, 0, 12, 8};
        window.properties.resize(WindowControl::kBackPictureMode + 1);
        window.properties[WindowControl::kBackPicture] = picture;
        window.properties[WindowControl::kBackPictureMode] = Value::of_integer(WindowControl::kStretchedPicture);
        w.controls.push_back(window);
        layout.windows.push_back(w);
    }
};

// The pictures of the controls come first (this layout has none), then the fonts, then the
// window's stretched picture. Caches that take them in hold the same fonts, each named by
// the records it was loaded for, with the glyphs already rendered; a glyph the helper did not
// render comes from the face opened late, the same as from a font opened here; the stretched
// picture comes decoded and scaled to the client area.
TEST(LayoutPreload, WhatTheHelperMakesIsWhatAnotherProcessWouldHaveMade) {
    const Board board;
    Preloaded made = preload(board.layout);
    ASSERT_EQ(made.ends.size(), 3u);

    FontCache fonts;
    // The stock font, 宋体 and 楷体, and any font earlier tests left in the shared cache.
    EXPECT_GE(take_in_preloaded_fonts(made.part(1), fonts), 3u);
    const auto song = fonts.font(board.song);
    const auto kai = fonts.font(board.kai);
    EXPECT_EQ(song->family(), helper_fonts().font(board.song)->family());
    EXPECT_EQ(kai->family(), "AR PL UKai CN");
    EXPECT_EQ(song->ascent(), helper_fonts().font(board.song)->ascent());
    EXPECT_TRUE(song->synthetic_bold());
    for (char32_t c : kCaption) EXPECT_TRUE(same_glyph(song->glyph(c), helper_fonts().font(board.song)->glyph(c)));
    FontCache fresh;
    for (char32_t c : std::u32string_view(U"龙Aa9"))
        EXPECT_TRUE(same_glyph(kai->glyph(c), fresh.font(board.kai)->glyph(c))) << static_cast<std::uint32_t>(c);
    EXPECT_EQ(fonts.stock()->family(), fresh.stock()->family());

    PictureCache pictures;
    const std::vector<Value> values{board.picture};
    std::vector<std::shared_ptr<const SharedPicture>> taken;
    {
        const Preloaded from_helper = std::move(made); // after this, only the pictures hold the area
        taken = take_in_preloaded_pictures(from_helper.part(2), pictures, values, from_helper.area);
        ASSERT_EQ(taken.size(), 1u);
        const auto* area = from_helper.area->data();
        const auto* pixels = reinterpret_cast<const std::uint8_t*>(taken[0]->image()->pixels().data());
        EXPECT_TRUE(pixels > area && pixels < area + from_helper.area->size()); // read in place
    }
    EXPECT_EQ(pictures.picture(board.picture), taken[0]);
    ASSERT_EQ(taken[0]->scaled_copies().size(), 1u);
    EXPECT_EQ(taken[0]->scaled_copies()[0]->size(), Size(12, 8));
    EXPECT_EQ(taken[0]->scaled_copies()[0]->pixel(11, 7), rgb(0, 90, 90));
    ASSERT_NE(taken[0]->image(), nullptr);
    EXPECT_EQ(taken[0]->image()->size(), Size(6, 4));
}

// Bytes cut short, or parts handed to the wrong reader, take in nothing; a picture whose bytes
// differ from the value it would be taken as is left out; and caches that took nothing in load
// as they always do.
TEST(LayoutPreload, PartsCutShortOrNotMatchingAreLeftOut) {
    const Board board;
    const Preloaded made = preload(board.layout);
    ASSERT_EQ(made.ends.size(), 3u);

    FontCache fonts;
    const auto fonts_part = made.part(1);
    EXPECT_EQ(take_in_preloaded_fonts(fonts_part.first(fonts_part.size() - 1), fonts), 0u);
    EXPECT_EQ(take_in_preloaded_fonts(made.part(2), fonts), 0u);
    EXPECT_EQ(fonts.loaded().size(), 0u);
    EXPECT_EQ(fonts.font(board.kai)->family(), "AR PL UKai CN");

    PictureCache pictures;
    const std::vector<Value> values{board.picture};
    const auto pictures_part = made.part(2);
    EXPECT_TRUE(
        take_in_preloaded_pictures(pictures_part.first(pictures_part.size() / 2), pictures, values, made.area).empty());
    EXPECT_TRUE(take_in_preloaded_pictures(made.part(1), pictures, values, made.area).empty());
    const std::vector<Value> other{Value::of_bytes(test::solid_bmp(6, 4, rgb(200, 0, 0)))};
    EXPECT_TRUE(take_in_preloaded_pictures(made.part(2), pictures, other, made.area).empty());
    EXPECT_TRUE(pictures.picture(other[0])->scaled_copies().empty());
    EXPECT_EQ(pictures.picture(other[0])->image()->pixel(0, 0), rgb(200, 0, 0));
}

// A part the area cannot hold is not handed over, nor any after it.
TEST(LayoutPreload, APartTheAreaCannotHoldEndsTheHandingOver) {
    const Board board;
    std::vector<std::uint8_t> area(64);
    std::vector<std::size_t> ends;
    preload_layout(
        board.layout, area,
        [&](std::size_t end) {
            ends.push_back(end);
            return true;
        },
        helper_fonts(), helper_pictures());
    ASSERT_EQ(ends.size(), 1u); // the controls' pictures: none here, so they fit
    FontCache fonts;
    PictureCache pictures;
    EXPECT_EQ(take_in_preloaded_fonts({area.data(), ends[0]}, fonts), 0u);
    EXPECT_TRUE(take_in_preloaded_pictures({area.data(), ends[0]}, pictures, std::vector<Value>{board.picture}, nullptr)
                    .empty());
}

} // namespace
} // namespace tav::ui
