// Painting push buttons, up-down arrows and edit boxes: classic bevels, or themed gradients made off-screen.
#include "ui/standard_looks.hpp"

#include <algorithm>
#include <string>

#include "gfx/font.hpp"
#include "gfx/system_colors.hpp"
#include "gfx/text.hpp"
#include "ui/control_colors.hpp"

namespace tav::ui {
namespace {

// Text colours of disabled captions.
constexpr Argb kThemedDisabledText = rgb(165, 162, 148);
// The face of a disabled themed button.
constexpr Argb kThemedDisabledFace = rgb(245, 244, 234);
// How much darker than the face a disabled themed frame and its corners are.
constexpr int kDisabledFrameDarkening = 32;
constexpr int kDisabledOuterCornerDarkening = 21;
constexpr int kDisabledInnerCornerDarkening = 17;
// Selected text in an edit box.
constexpr Argb kSelectionBack = rgb(0, 120, 215);
constexpr Argb kSelectionText = rgb(255, 255, 255);
// Space between a button's edge and its caption.
constexpr int kCaptionMargin = 3;

// Gradient entries of a themed button by state.
enum Entry : int {
    kPressedEntry = 0,
    kHotEntry,
    kCheckedEntry,
    kFocusedEntry,
    kNormalEntry,
    kFaceDownEntry,
    kFaceEntry
};

// A 1-pixel bevel inside `r`: `lit` along the top and left, `dark` along the bottom and right.
void bevel(Painter& p, const Rect& r, Argb lit, Argb dark) {
    if (r.empty()) return;
    p.fill_rect({r.x, r.y, r.width - 1, 1}, lit);
    p.fill_rect({r.x, r.y, 1, r.height - 1}, lit);
    p.fill_rect({r.x, r.bottom() - 1, r.width, 1}, dark);
    p.fill_rect({r.right() - 1, r.y, 1, r.height}, dark);
}

void raised(Painter& p, const Rect& r) {
    bevel(p, r, syscolor::kHighlight, syscolor::kDarkShadow);
    bevel(p, r.shrunk(1), syscolor::kLight, syscolor::kShadow);
}

void sunken(Painter& p, const Rect& r) {
    bevel(p, r, syscolor::kShadow, syscolor::kHighlight);
    bevel(p, r.shrunk(1), syscolor::kDarkShadow, syscolor::kLight);
}

void fill_entry(Painter& p, const Rect& r, const std::array<Argb, 4>& e) {
    p.gradient_fill(r, {e[0], e[1], e[2], e[3]});
}

void caption(Painter& p, const Rect& r, const PushButtonLook& look, Argb color) {
    if (look.caption_gbk.empty()) return;
    const auto font = look.fonts->font(look.font);
    if (!font) return;
    TextFormat fmt;
    fmt.halign = look.halign;
    fmt.valign = look.valign;
    draw_text(p, r, look.caption_gbk, *font, color, fmt);
}

// Copies what `paint` draws (in client coordinates) onto the control in one step, through a
// bitmap the size of the part of the client area that is to be painted.
template <typename Fn>
void off_screen(Painter& p, Size size, Fn&& paint) {
    const Rect part = p.clip_bounds().intersected({0, 0, size.width, size.height});
    if (part.empty()) return;
    Bitmap buffer(part.width * p.scale(), part.height * p.scale(), syscolor::kFace);
    Painter off(buffer, p.scale());
    off.translate(-part.x, -part.y);
    paint(off);
    p.blit(buffer, buffer.rect(), part.origin());
}

enum class Direction { Up, Down, Left, Right };

// A filled triangle pointing `dir`, centred in `r`.
void arrow(Painter& p, const Rect& r, Direction dir, Argb color) {
    const int s = std::max(2, std::min(r.width, r.height) / 5);
    const int cx = r.x + r.width / 2, cy = r.y + r.height / 2;
    for (int i = 0; i < s; ++i) {
        switch (dir) {
            case Direction::Up: p.fill_rect({cx - i, cy - s / 2 + i, 2 * i + 1, 1}, color); break;
            case Direction::Down: p.fill_rect({cx - i, cy + s / 2 - i, 2 * i + 1, 1}, color); break;
            case Direction::Left: p.fill_rect({cx - s / 2 + i, cy - i, 1, 2 * i + 1}, color); break;
            case Direction::Right: p.fill_rect({cx + s / 2 - i, cy - i, 1, 2 * i + 1}, color); break;
        }
    }
}

// The two halves of an up-down control and the way their arrows point.
struct Halves {
    Rect first, second;
    Direction first_dir, second_dir;
};

Halves split(Size size, bool vertical) {
    if (vertical) {
        const int h = size.height / 2;
        return {{0, 0, size.width, h}, {0, h, size.width, size.height - h}, Direction::Up, Direction::Down};
    }
    const int w = size.width / 2;
    return {{0, 0, w, size.height}, {w, 0, size.width - w, size.height}, Direction::Left, Direction::Right};
}

void classic_arrow_button(Painter& p, const Rect& r, Direction dir, bool pressed, bool enabled) {
    p.fill_rect(r, syscolor::kFace);
    if (pressed)
        sunken(p, r);
    else
        raised(p, r);
    const Rect glyph = pressed ? r.translated(1, 1) : r;
    if (enabled) {
        arrow(p, glyph, dir, rgb(0, 0, 0));
    } else {
        arrow(p, glyph.translated(1, 1), dir, syscolor::kHighlight);
        arrow(p, glyph, dir, syscolor::kShadow);
    }
}

void themed_arrow_button(Painter& p, const Rect& r, Direction dir, bool pressed, bool hot, bool enabled,
                         const ThemeColors& scheme) {
    const Rect face = r.shrunk(1);
    if (face.empty()) return;
    if (!enabled)
        p.fill_rect(face, kThemedDisabledFace);
    else
        fill_entry(p, face, scheme.gradients[pressed ? kPressedEntry : hot ? kHotEntry : kFaceEntry]);
    // Rounded corners: the corner pixels take the control's background.
    for (auto [x, y] : {std::pair{face.x, face.y},
                        {face.right() - 1, face.y},
                        {face.x, face.bottom() - 1},
                        {face.right() - 1, face.bottom() - 1}})
        p.fill_rect({x, y, 1, 1}, scheme.up_down);
    arrow(p, pressed ? face.translated(1, 1) : face, dir, enabled ? scheme.arrow : kThemedDisabledText);
}

} // namespace

void paint_push_button(Painter& p, Size size, const PushButtonLook& look) {
    const ThemeColors* scheme = scheme_colors(look.scheme);
    if (scheme != nullptr && look.picture == nullptr)
        off_screen(p, size, [&](Painter& off) { paint_themed_push_button(off, size, look, *scheme); });
    else
        paint_classic_push_button(p, size, look);
}

void paint_classic_push_button(Painter& p, Size size, const PushButtonLook& look) {
    const Rect client{0, 0, size.width, size.height};
    p.fill_rect(client, syscolor::kFace);
    Rect r = client;
    if (look.is_default || look.focused) {
        p.frame_rect(r, syscolor::kWindowFrame);
        r = r.shrunk(1);
    }
    const bool down = look.pressed || look.checked;
    if (down) {
        p.frame_rect(r, syscolor::kShadow);
    } else {
        raised(p, r);
    }
    Rect text = client.shrunk(kCaptionMargin);
    if (down) text = text.translated(1, 1);
    if (look.picture != nullptr) {
        p.save();
        p.clip_rect(r.shrunk(2));
        p.draw_image(*look.picture, {text.x + (text.width - look.picture->width()) / 2,
                                     text.y + (text.height - look.picture->height()) / 2});
        p.restore();
    } else if (look.enabled) {
        caption(p, text, look, rgb(0, 0, 0));
    } else {
        caption(p, text.translated(1, 1), look, syscolor::kHighlight);
        caption(p, text, look, syscolor::kShadow);
    }
    if (look.focused) p.draw_focus_rect(client.shrunk(4));
}

void paint_themed_push_button(Painter& p, Size size, const PushButtonLook& look, const ThemeColors& scheme) {
    const Rect client{0, 0, size.width, size.height};
    // 1. The parent's button background, framed in the face colour.
    p.fill_rect(client, syscolor::kFace);
    p.frame_rect(client, syscolor::kFace);
    // 2. The frame.
    const Rect framed = client.shrunk(1);
    const Argb frame = look.enabled ? scheme.frame : darker(syscolor::kFace, kDisabledFrameDarkening);
    p.frame_rect(framed, frame);
    // 3. The state gradient.
    const Rect ring = framed.shrunk(1);
    if (!look.enabled) {
        p.fill_rect(ring, kThemedDisabledFace);
    } else {
        const int entry = look.pressed                        ? kPressedEntry
                          : look.hot                          ? kHotEntry
                          : look.checked                      ? kCheckedEntry
                          : (look.focused || look.is_default) ? kFocusedEntry
                                                              : kNormalEntry;
        fill_entry(p, ring, scheme.gradients[static_cast<std::size_t>(entry)]);
    }
    // 4. The face inside a 2-pixel ring of the state gradient.
    const Rect face = ring.shrunk(2);
    if (look.enabled || look.pressed || look.checked)
        fill_entry(p, face, scheme.gradients[look.pressed || look.checked ? kFaceDownEntry : kFaceEntry]);
    // 5. Rounded corners: the corner pixels of the frame take the face colour, the pixels
    // diagonally inside them the frame colour.
    const Argb outer = look.enabled ? syscolor::kFace : darker(syscolor::kFace, kDisabledOuterCornerDarkening);
    const Argb inner = look.enabled ? frame : darker(syscolor::kFace, kDisabledInnerCornerDarkening);
    if (framed.width >= 4 && framed.height >= 4) {
        const int l = framed.x, t = framed.y, r = framed.right() - 1, b = framed.bottom() - 1;
        for (auto [x, y] : {std::pair{l, t}, {r, t}, {l, b}, {r, b}}) p.fill_rect({x, y, 1, 1}, outer);
        for (auto [x, y] : {std::pair{l + 1, t + 1}, {r - 1, t + 1}, {l + 1, b - 1}, {r - 1, b - 1}})
            p.fill_rect({x, y, 1, 1}, inner);
    }
    // 6. The focus rectangle one pixel outside the face.
    if (look.focused) p.draw_focus_rect(face.shrunk(-1));
    // 7. The caption.
    Rect text = client.shrunk(kCaptionMargin);
    if (look.pressed) text = text.translated(1, 1);
    caption(p, text, look, look.enabled ? rgb(0, 0, 0) : kThemedDisabledText);
}

void paint_up_down(Painter& p, Size size, const UpDownLook& look) {
    const Halves halves = split(size, look.vertical);
    if (const ThemeColors* scheme = scheme_colors(look.scheme)) {
        off_screen(p, size, [&](Painter& off) {
            // The background reaches one pixel beyond the client area, as far as the clip allows.
            off.fill_rect(Rect{0, 0, size.width, size.height}.shrunk(-1), scheme->up_down);
            themed_arrow_button(off, halves.first, halves.first_dir, look.first_pressed, look.first_hot, look.enabled,
                                *scheme);
            themed_arrow_button(off, halves.second, halves.second_dir, look.second_pressed, look.second_hot,
                                look.enabled, *scheme);
        });
        return;
    }
    classic_arrow_button(p, halves.first, halves.first_dir, look.first_pressed, look.enabled);
    classic_arrow_button(p, halves.second, halves.second_dir, look.second_pressed, look.enabled);
}

void paint_edit_box(Painter& p, Size size, const EditBoxLook& look) {
    const ThemeColors* scheme = scheme_colors(look.scheme);
    auto paint = [&](Painter& q) {
        const Rect client{0, 0, size.width, size.height};
        const Rect inside = q.draw_edge(client, edge_style_for_border(look.border));
        const bool grey = !look.enabled || look.read_only;
        q.fill_rect(inside, grey ? syscolor::kFace : look.back_color);

        const auto font = look.fonts->font(look.font);
        const Rect field{inside.x + 2, inside.y + 1, inside.width - 4, inside.height - 1};
        if (font && !field.empty()) {
            q.save();
            q.clip_rect(field);
            TextFormat fmt;
            fmt.valign = 0;
            const Argb color = look.enabled ? look.text_color : syscolor::kShadow;
            const auto x_at = [&](int byte) {
                const auto prefix = look.text_gbk.substr(0, static_cast<std::size_t>(std::max(0, byte)));
                return field.x + line_width(decode_gbk_text(prefix), *font);
            };
            draw_text(q, field, look.text_gbk, *font, color, fmt);
            if (look.focused && look.sel_length > 0) {
                const int from = x_at(look.sel_start), to = x_at(look.sel_start + look.sel_length);
                const Rect sel{from, field.y, to - from, std::min(font->height(), field.height)};
                q.fill_rect(sel, kSelectionBack);
                q.clip_rect(sel);
                draw_text(q, field, look.text_gbk, *font, kSelectionText, fmt);
            } else if (look.focused) {
                q.fill_rect({x_at(look.sel_start), field.y, 1, std::min(font->height(), field.height)},
                            look.text_color);
            }
            q.restore();
        }
        // The themed frame goes over the border the box drew itself.
        if (scheme != nullptr) {
            q.frame_rect(client, look.enabled ? scheme->up_down : darker(syscolor::kFace, kDisabledFrameDarkening));
            q.frame_rect(client.shrunk(1), grey ? syscolor::kFace : syscolor::kWindow);
        }
    };
    if (scheme != nullptr)
        off_screen(p, size, paint);
    else
        paint(p);
}

} // namespace tav::ui
