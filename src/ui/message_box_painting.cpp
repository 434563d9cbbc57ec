// Painting a box's face: white above the button strip, the message lines, and four icons drawn as shapes.
#include "ui/message_box_painting.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

#include "gfx/font.hpp"
#include "gfx/logfont.hpp"
#include "gfx/system_colors.hpp"
#include "gfx/text.hpp"

namespace tav::ui {
namespace {

// How far above the buttons the face-coloured strip begins.
constexpr int kStripAboveButtons = 8;
// Samples per pixel side when an icon shape is smoothed.
constexpr int kSamples = 4;
constexpr Argb kStopRed = rgb(214, 42, 38);
constexpr Argb kQuestionBlue = rgb(28, 96, 196);
constexpr Argb kWarningYellow = rgb(250, 200, 30);
constexpr Argb kWarningEdge = rgb(200, 150, 0);
constexpr Argb kInfoBlue = rgb(24, 110, 220);

Argb blend(Argb under, Argb over, float cover) {
    auto ch = [cover](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(float(a) + (float(b) - float(a)) * cover));
    };
    return rgb(ch(red_of(under), red_of(over)), ch(green_of(under), green_of(over)), ch(blue_of(under), blue_of(over)));
}

// Paints `color` over `icon` (`scale` pixels per unit of the icon's 32 x 32 drawing) wherever
// `inside(x, y)` holds, smoothing the edges.
void shape(Bitmap& icon, int scale, Argb color, const std::function<bool(float, float)>& inside) {
    const float unit = 1.0f / float(scale);
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside((float(x) + (float(sx) + 0.5f) / kSamples) * unit,
                                   (float(y) + (float(sy) + 0.5f) / kSamples) * unit);
            if (hits > 0) icon.set_pixel(x, y, blend(icon.pixel(x, y), color, float(hits) / (kSamples * kSamples)));
        }
    }
}

bool in_circle(float x, float y, float r) {
    const float c = kBoxIconSize / 2.0f;
    return (x - c) * (x - c) + (y - c) * (y - c) <= r * r;
}

float segment_distance(float x, float y, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    const float px = ax + t * dx - x, py = ay + t * dy - y;
    return std::sqrt(px * px + py * py);
}

bool in_triangle(float x, float y, float inset) {
    // Apex at the top middle, base along the bottom.
    const float top = 1.5f + inset * 2.0f, bottom = 30.5f - inset, half = 15.0f - inset * 1.7f;
    if (y < top || y > bottom) return false;
    const float w = half * (y - top) / (bottom - top);
    return std::fabs(x - kBoxIconSize / 2.0f) <= w;
}

// A bold sans mark ("?", "!", "i") centred on the icon.
void mark(Bitmap& icon, int scale, FontCache& fonts, std::string_view mark, Argb color, int px, int dy) {
    const auto record = make_log_font("Arial", px, kWeightBold);
    const auto font = fonts.font(record);
    if (!font) return;
    Painter p(icon, scale);
    TextFormat fmt;
    fmt.halign = 1;
    fmt.valign = 1;
    draw_text(p, {0, dy, kBoxIconSize, kBoxIconSize}, mark, *font, color, fmt);
}

} // namespace

void draw_message_box_icon(Painter& p, FontCache& fonts, const Rect& r, std::uint32_t icon) {
    // Drawn at the painter's scale, so a scaled box gets a sharp icon, not a resampled one.
    const int s = p.scale();
    Bitmap image(kBoxIconSize * s, kBoxIconSize * s, syscolor::kWindow);
    const Argb white = syscolor::kWindow;
    switch (icon) {
        case kBoxIconStop:
            shape(image, s, kStopRed, [](float x, float y) { return in_circle(x, y, 15.0f); });
            shape(image, s, white, [](float x, float y) {
                return segment_distance(x, y, 10, 10, 22, 22) <= 2.0f || segment_distance(x, y, 22, 10, 10, 22) <= 2.0f;
            });
            break;
        case kBoxIconQuestion:
            shape(image, s, kQuestionBlue, [](float x, float y) { return in_circle(x, y, 15.0f); });
            mark(image, s, fonts, "?", white, 22, 0);
            break;
        case kBoxIconExclamation:
            shape(image, s, kWarningEdge, [](float x, float y) { return in_triangle(x, y, 0.0f); });
            shape(image, s, kWarningYellow, [](float x, float y) { return in_triangle(x, y, 1.2f); });
            mark(image, s, fonts, "!", rgb(0, 0, 0), 20, 3);
            break;
        case kBoxIconInformation:
            shape(image, s, kInfoBlue, [](float x, float y) { return in_circle(x, y, 15.0f); });
            mark(image, s, fonts, "i", white, 22, 0);
            break;
        default: return;
    }
    p.draw_device_image(image, r.origin());
}

void paint_message_box(Painter& p, const MessageBoxFace& face) {
    const int strip = std::clamp(face.button_top - kStripAboveButtons, 0, face.client.height);
    p.fill_rect({0, 0, face.client.width, strip}, syscolor::kWindow);
    p.fill_rect({0, strip, face.client.width, face.client.height - strip}, syscolor::kFace);
    if (face.icon != 0) draw_message_box_icon(p, *face.fonts, face.icon_rect, face.icon);
    if (face.lines == nullptr || face.lines->empty()) return;
    const auto font = face.fonts->stock();
    if (!font) return;
    TextFormat fmt;
    fmt.word_wrap = true;
    // Lines run from the text's top, clipped at the button strip.
    const Rect text{face.text_rect.x, face.text_rect.y, face.text_rect.width, strip - face.text_rect.y};
    draw_text_lines(p, text, *face.lines, *font, rgb(0, 0, 0), fmt);
}

} // namespace tav::ui
