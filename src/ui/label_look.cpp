// Drawing the caption with its effect, and the Label's gradient frame rings and gradient backgrounds.
#include "ui/label_look.hpp"

#include <algorithm>

#include "gfx/text.hpp"
#include "ui/property_type.hpp"

namespace tav::ui {
namespace {

Argb mix(Argb a, Argb b, float t) {
    auto ch = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::clamp(int(float(x) + (float(y) - float(x)) * t + 0.5f), 0, 255));
    };
    return rgb(ch(red_of(a), red_of(b)), ch(green_of(a), green_of(b)), ch(blue_of(a), blue_of(b)));
}

// The colour at `t` (0..1) along a run of two or three colours.
Argb along(std::span<const Argb> colors, float t) {
    if (colors.size() < 3) return mix(colors.front(), colors.back(), t);
    return t <= 0.5f ? mix(colors[0], colors[1], t * 2.0f) : mix(colors[1], colors[2], (t - 0.5f) * 2.0f);
}

// A straight gradient over `r` from `from` to `to`, either across (x) or down (y).
void linear(Painter& p, const Rect& r, Argb from, Argb to, bool across) {
    if (across)
        p.gradient_fill(r, {from, to, from, to});
    else
        p.gradient_fill(r, {from, from, to, to});
}

// Colours along one axis, split into halves when there are three.
void run(Painter& p, const Rect& r, std::span<const Argb> colors, bool across) {
    if (colors.size() < 3) {
        linear(p, r, colors.front(), colors.back(), across);
        return;
    }
    if (across) {
        const int half = r.width / 2;
        linear(p, {r.x, r.y, half, r.height}, colors[0], colors[1], true);
        linear(p, {r.x + half, r.y, r.width - half, r.height}, colors[1], colors[2], true);
    } else {
        const int half = r.height / 2;
        linear(p, {r.x, r.y, r.width, half}, colors[0], colors[1], false);
        linear(p, {r.x, r.y + half, r.width, r.height - half}, colors[1], colors[2], false);
    }
}

} // namespace

void draw_caption(Painter& p, const Rect& r, std::string_view caption_gbk, const CaptionStyle& style) {
    if (caption_gbk.empty() || r.empty()) return;
    const auto font = style.fonts->font(style.font);
    if (!font) return;
    TextFormat fmt;
    fmt.halign = style.halign;
    fmt.valign = style.valign;
    fmt.word_wrap = style.word_wrap;
    draw_text_with_effect(p, r, caption_gbk, *font, style.color, fmt, style.effect);
}

std::vector<Argb> set_colors(std::span<const std::uint32_t> stored) {
    std::vector<Argb> out;
    for (std::uint32_t c : stored)
        if (c != kColorMarker) out.push_back(from_color_ref(c));
    return out;
}

void draw_gradient_frame(Painter& p, const Rect& r, int width, std::span<const Argb> colors) {
    if (colors.size() < 2 || width <= 0 || r.empty()) return;
    // Rings past the middle of `r` are empty: a frame wider than half the rectangle stops there
    // (each ring keeps the colour of its place across the whole width).
    const int rings = std::min(width, (std::min(r.width, r.height) + 1) / 2);
    for (int i = 0; i < rings; ++i) {
        const float t = width > 1 ? float(i) / float(width - 1) : 0.0f;
        p.frame_rect(r.shrunk(i), along(colors, t));
    }
}

void draw_gradient_back(Painter& p, const Rect& r, int mode, std::span<const Argb> colors) {
    if (colors.size() < 2 || r.empty()) return;
    const std::vector<Argb> reversed(colors.rbegin(), colors.rend());
    switch (mode) {
        case 1: run(p, r, colors, true); break;
        case 2: run(p, r, colors, false); break;
        case 3: run(p, r, reversed, true); break;
        case 4: run(p, r, reversed, false); break;
        case 5:
        case 6: {
            const Argb first = colors.front(), last = colors.back();
            const Argb middle = colors.size() > 2 ? colors[1] : mix(first, last, 0.5f);
            if (mode == 5)
                p.gradient_fill(r, {first, middle, middle, last});
            else
                p.gradient_fill(r, {middle, first, last, middle});
            break;
        }
        case 7:
        case 8: {
            // The first colour on the centre line, fading out through the rest to both edges.
            const bool across = mode == 7;
            const int half = across ? r.width / 2 : r.height / 2;
            const Rect a = across ? Rect{r.x, r.y, half, r.height} : Rect{r.x, r.y, r.width, half};
            const Rect b = across ? Rect{r.x + half, r.y, r.width - half, r.height}
                                  : Rect{r.x, r.y + half, r.width, r.height - half};
            run(p, a, reversed, across);
            run(p, b, colors, across);
            break;
        }
        default: break;
    }
}

} // namespace tav::ui
