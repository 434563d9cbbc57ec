// Text: GBK decoded, split into lines at breaks, wrapped at spaces and CJK, drawn aligned and with effects.
#include "gfx/text.hpp"

#include <algorithm>

#include "core/gbk.hpp"

namespace tav {

namespace {

constexpr Argb kEffectLight = rgb(255, 255, 255);
constexpr Argb kEffectShadow = rgb(0, 0, 0);
// Underline and strike-out lines are 1/16 of the height thick (at least one pixel); the
// strike-out stands at 3/10 of the ascent above the baseline.
constexpr int kLineThicknessDivisor = 16;
constexpr int kStrikeOutTenths = 3;

// Characters around which a line may break without a space: the CJK blocks and full-width forms.
bool breaks_anywhere(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Appends the lines of one hard line (no breaks inside) wrapped to `width`, while `out` has
// fewer than `max_lines`.
void wrap_line(std::u32string_view line, const Font& font, int width, std::size_t max_lines,
               std::vector<std::u32string>& out) {
    std::size_t start = 0;
    while (start < line.size() && out.size() < max_lines) {
        int w = 0;
        std::size_t i = start, last_break = start;
        for (; i < line.size(); ++i) {
            const char32_t c = line[i];
            if (breaks_anywhere(c) && i > start) last_break = i;
            const int next = w + font.advance(c);
            if (next > width && i > start && c != U' ') break;
            w = next;
            if (c == U' ' || breaks_anywhere(c)) last_break = i + 1;
        }
        std::size_t end = i;
        if (i < line.size() && last_break > start) end = last_break;
        std::u32string piece(line.substr(start, end - start));
        while (!piece.empty() && piece.back() == U' ') piece.pop_back();
        out.push_back(std::move(piece));
        start = end;
        // Spaces at a wrap point are swallowed, as they would stand at the start of a line.
        while (start < line.size() && line[start] == U' ') ++start;
    }
}

// Draws the lines of `gbk` laid out in `box`, clipped to `clip`.
void draw_lines(Painter& p, const Rect& box, const Rect& clip, const std::vector<std::u32string>& lines,
                const Font& font, Argb color, const TextFormat& fmt) {
    p.save();
    p.clip_rect(clip);
    const int line_height = font.height();
    const int total = line_height * int(lines.size());
    int y = box.y;
    if (!fmt.word_wrap) {
        if (fmt.valign == 1)
            y = box.y + (box.height - total) / 2;
        else if (fmt.valign == 2)
            y = box.bottom() - total;
    }
    const Rect visible = p.clip_bounds();
    const int scale = p.scale();
    const Font& sharp = font.at_scale(scale);
    for (const std::u32string& line : lines) {
        if (y >= visible.bottom()) break;
        if (y + line_height > visible.top()) {
            const int w = line_width(line, font);
            int x = box.x;
            if (fmt.halign == 1)
                x = box.x + (box.width - w) / 2;
            else if (fmt.halign == 2)
                x = box.right() - w;
            const int baseline = y + font.ascent();
            if (scale == 1) {
                int pen = x;
                for (char32_t c : line) {
                    const Glyph& g = font.glyph(c);
                    if (!g.coverage.empty())
                        p.blend_mask({pen + g.left, baseline - g.top}, {g.width, g.rows}, g.coverage, g.width, color);
                    pen += g.advance;
                }
            } else {
                // Lines are broken and placed in logical units; the glyphs come from the face
                // rendered at the scaled height and are placed in target pixels.
                const int device_width = line_width(line, sharp);
                int pen = box.x * scale;
                if (fmt.halign == 1)
                    pen = box.x * scale + (box.width * scale - device_width) / 2;
                else if (fmt.halign == 2)
                    pen = box.right() * scale - device_width;
                const int device_baseline = y * scale + sharp.ascent();
                for (char32_t c : line) {
                    const Glyph& g = sharp.glyph(c);
                    if (!g.coverage.empty())
                        p.blend_device_mask({pen + g.left, device_baseline - g.top}, {g.width, g.rows}, g.coverage,
                                            g.width, color);
                    pen += g.advance;
                }
            }
            const int thickness = std::max(1, line_height / kLineThicknessDivisor);
            if (font.underline()) p.fill_rect({x, baseline + thickness, w, thickness}, color);
            if (font.strikeout())
                p.fill_rect({x, baseline - font.ascent() * kStrikeOutTenths / 10, w, thickness}, color);
        }
        y += line_height;
    }
    p.restore();
}

} // namespace

std::u32string decode_gbk_text(std::string_view gbk) {
    const std::string utf8 = gbk_to_utf8(gbk);
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (i + std::size_t(len) > utf8.size()) len = 1;
        char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + std::size_t(k)]) & 0x3F);
        out.push_back(c);
        i += std::size_t(len);
    }
    return out;
}

int line_width(std::u32string_view line, const Font& font) {
    int w = 0;
    for (char32_t c : line) w += font.advance(c);
    return w;
}

std::vector<std::u32string> layout_lines(std::u32string_view text, const Font& font, int width, bool wrap,
                                         std::size_t max_lines) {
    std::vector<std::u32string> lines;
    std::size_t start = 0;
    while (lines.size() < max_lines) {
        std::size_t end = start;
        while (end < text.size() && text[end] != U'\r' && text[end] != U'\n') ++end;
        const std::u32string_view hard = text.substr(start, end - start);
        if (wrap && !hard.empty())
            wrap_line(hard, font, width, max_lines, lines);
        else
            lines.emplace_back(hard);
        if (end >= text.size()) break;
        start = end + ((text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n') ? 2 : 1);
    }
    return lines;
}

Size measure_text(std::string_view gbk, const Font& font) {
    const auto lines = layout_lines(decode_gbk_text(gbk), font, 0, false);
    int w = 0;
    for (const auto& line : lines) w = std::max(w, line_width(line, font));
    return {w, font.height() * int(lines.size())};
}

void draw_text_lines(Painter& p, const Rect& r, const std::vector<std::u32string>& lines, const Font& font, Argb color,
                     const TextFormat& fmt) {
    if (lines.empty() || r.empty()) return;
    draw_lines(p, r, r, lines, font, color, fmt);
}

void draw_text(Painter& p, const Rect& r, std::string_view gbk, const Font& font, Argb color, const TextFormat& fmt) {
    draw_text_with_effect(p, r, gbk, font, color, fmt, 0);
}

void draw_text_with_effect(Painter& p, const Rect& r, std::string_view gbk, const Font& font, Argb color,
                           const TextFormat& fmt, int effect) {
    if (gbk.empty() || r.empty()) return;
    const auto lines = layout_lines(decode_gbk_text(gbk), font, r.width, fmt.word_wrap);
    switch (effect) {
        case 1:
            draw_lines(p, r.translated(1, 1), r, lines, font, kEffectLight, fmt);
            draw_lines(p, r, r, lines, font, color, fmt);
            break;
        case 2:
            draw_lines(p, r, r, lines, font, kEffectLight, fmt);
            draw_lines(p, r.translated(1, 1), r, lines, font, color, fmt);
            break;
        case 3:
            draw_lines(p, r.translated(2, 2), r, lines, font, kEffectShadow, fmt);
            draw_lines(p, r, r, lines, font, color, fmt);
            break;
        default: draw_lines(p, r, r, lines, font, color, fmt); break;
    }
}

} // namespace tav
