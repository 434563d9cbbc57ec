#pragma once
// What Label and TransLabel share: the caption with its alignment and relief, and the Label's
// gradient frame and gradient backgrounds.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/geometry.hpp"
#include "gfx/painter.hpp"
#include "ui/control_colors.hpp"

namespace tav::ui {

// How a caption is set into its rectangle (the label properties of the same names).
struct CaptionStyle {
    std::span<const std::uint8_t> font; // stored Font value: a 60-byte record or the stock font
    Argb color = 0xFF000000u;
    int halign = 0;
    int valign = 1;
    bool word_wrap = false;
    int effect = 0;             // TextEffect 0..3
    FontCache* fonts = nullptr; // where the font comes from (required)
};

// The caption style of a Label or TransLabel from its properties (the two kinds name them alike).
template <typename LabelKind>
CaptionStyle caption_style_of(const LabelKind& label, FontCache& fonts) {
    CaptionStyle style;
    style.fonts = &fonts;
    style.font = label.font_record();
    style.color = resolve_color(static_cast<std::uint32_t>(label.value(LabelKind::kTextColor)));
    style.halign = label.value(LabelKind::kHAlign);
    style.valign = label.value(LabelKind::kVAlign);
    style.word_wrap = label.value(LabelKind::kWordWrap) != 0;
    style.effect = label.value(LabelKind::kTextEffect);
    return style;
}

// Draws `caption_gbk` into `r` with a transparent background, limited to the painter's clip.
void draw_caption(Painter& p, const Rect& r, std::string_view caption_gbk, const CaptionStyle& style);

// The colours of a ColorOrNone triple that are set, in order.
std::vector<Argb> set_colors(std::span<const std::uint32_t> stored);

// Paints a frame `width` pixels wide just inside `r`, blending from the first colour at the
// outer edge through the others to the last at the inner edge (two or three colours).
void draw_gradient_frame(Painter& p, const Rect& r, int width, std::span<const Argb> colors);

// Fills `r` with a gradient of two or three colours. Modes: 1 left to right, 2 top to bottom,
// 3 right to left, 4 bottom to top, 5 top-left to bottom-right, 6 top-right to bottom-left,
// 7 from the vertical centre line out to both sides, 8 from the horizontal centre line out to
// top and bottom. Other modes fill nothing.
void draw_gradient_back(Painter& p, const Rect& r, int mode, std::span<const Argb> colors);

} // namespace tav::ui
