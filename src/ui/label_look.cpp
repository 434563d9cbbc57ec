#include "ui/label_look.hpp"

#include <algorithm>

#include "gfx/text.hpp"
#include "ui/property_type.hpp"

namespace tav::ui {
namespace {

Argb Mix(Argb a, Argb b, float t) {
    auto ch = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::clamp(int(float(x) + (float(y) - float(x)) * t + 0.5f), 0, 255));
    };
    return Rgb(ch(RedOf(a), RedOf(b)), ch(GreenOf(a), GreenOf(b)), ch(BlueOf(a), BlueOf(b)));
}

// The colour at `t` (0..1) along a run of two or three colours.
Argb Along(std::span<const Argb> colors, float t) {
    if (colors.size() < 3) return Mix(colors.front(), colors.back(), t);
    return t <= 0.5f ? Mix(colors[0], colors[1], t * 2.0f) : Mix(colors[1], colors[2], (t - 0.5f) * 2.0f);
}

// A straight gradient over `r` from `from` to `to`, either across (x) or down (y).
void Linear(Painter& p, const Rect& r, Argb from, Argb to, bool across) {
    if (across) p.gradient_fill(r, {from, to, from, to});
    else p.gradient_fill(r, {from, from, to, to});
}

// Colours along one axis, split into halves when there are three.
void Run(Painter& p, const Rect& r, std::span<const Argb> colors, bool across) {
    if (colors.size() < 3) {
        Linear(p, r, colors.front(), colors.back(), across);
        return;
    }
    if (across) {
        const int half = r.width / 2;
        Linear(p, {r.x, r.y, half, r.height}, colors[0], colors[1], true);
        Linear(p, {r.x + half, r.y, r.width - half, r.height}, colors[1], colors[2], true);
    } else {
        const int half = r.height / 2;
        Linear(p, {r.x, r.y, r.width, half}, colors[0], colors[1], false);
        Linear(p, {r.x, r.y + half, r.width, r.height - half}, colors[1], colors[2], false);
    }
}

} // namespace

void DrawCaption(Painter& p, const Rect& r, std::string_view caption_gbk, const CaptionStyle& style) {
    if (caption_gbk.empty() || r.empty()) return;
    const auto font = SharedFonts().font(style.font);
    if (!font) return;
    TextFormat fmt;
    fmt.halign = style.halign;
    fmt.valign = style.valign;
    fmt.word_wrap = style.word_wrap;
    DrawTextWithEffect(p, r, caption_gbk, *font, style.color, fmt, style.effect);
}

std::vector<Argb> SetColors(std::span<const std::uint32_t> stored) {
    std::vector<Argb> out;
    for (std::uint32_t c : stored)
        if (c != kColorMarker) out.push_back(FromColorRef(c));
    return out;
}

void DrawGradientFrame(Painter& p, const Rect& r, int width, std::span<const Argb> colors) {
    if (colors.size() < 2 || width <= 0) return;
    for (int i = 0; i < width; ++i) {
        const float t = width > 1 ? float(i) / float(width - 1) : 0.0f;
        p.frame_rect(r.shrunk(i), Along(colors, t));
    }
}

void DrawGradientBack(Painter& p, const Rect& r, int mode, std::span<const Argb> colors) {
    if (colors.size() < 2 || r.empty()) return;
    const std::vector<Argb> reversed(colors.rbegin(), colors.rend());
    switch (mode) {
    case 1: Run(p, r, colors, true); break;
    case 2: Run(p, r, colors, false); break;
    case 3: Run(p, r, reversed, true); break;
    case 4: Run(p, r, reversed, false); break;
    case 5:
    case 6: {
        const Argb first = colors.front(), last = colors.back();
        const Argb middle = colors.size() > 2 ? colors[1] : Mix(first, last, 0.5f);
        if (mode == 5) p.gradient_fill(r, {first, middle, middle, last});
        else p.gradient_fill(r, {middle, first, last, middle});
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
        Run(p, a, reversed, across);
        Run(p, b, colors, across);
        break;
    }
    default: break;
    }
}

} // namespace tav::ui
