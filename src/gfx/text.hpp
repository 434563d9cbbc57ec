#pragma once
// Text on the painter: GBK text laid out in lines of character height and drawn with a font.

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/geometry.hpp"
#include "gfx/painter.hpp"

namespace tav {

// How text is placed in its rectangle.
struct TextFormat {
    int halign = 0;         // 0 left, 1 centre, 2 right (each line)
    int valign = 1;         // 0 top, 1 middle, 2 bottom (text that is not word-wrapped)
    bool word_wrap = false; // break lines to fit the width, from the top of the rectangle
};

// The characters of a GBK text as Unicode code points.
std::u32string decode_gbk_text(std::string_view gbk);

// The lines of `text` as drawn in a box `width` pixels wide: CR LF, LF and CR always break;
// with `wrap`, lines also break before they pass the width, at spaces between Latin words and
// anywhere around Chinese characters (a word wider than the box is broken where it must).
// Stops once it has `max_lines` lines, so a caller that shows only so many measures no more.
std::vector<std::u32string> layout_lines(std::u32string_view text, const Font& font, int width, bool wrap,
                                         std::size_t max_lines = std::numeric_limits<std::size_t>::max());

// The width of one line in pixels.
int line_width(std::u32string_view line, const Font& font);

// The size of `gbk` unwrapped: the widest line by the number of lines times the height.
Size measure_text(std::string_view gbk, const Font& font);

// Draws `gbk` into `r` in `color` with a transparent background, clipped to `r` and to the
// painter's clip.
void draw_text(Painter& p, const Rect& r, std::string_view gbk, const Font& font, Argb color, const TextFormat& fmt);

// Draws lines already laid out (layout_lines) into `r` as draw_text draws its lines, clipped to `r`.
void draw_text_lines(Painter& p, const Rect& r, const std::vector<std::u32string>& lines, const Font& font, Argb color,
                     const TextFormat& fmt);

// draw_text with a relief: 0 none; 1 white one pixel right and down under the text; 2 white at
// `r` under the text drawn one pixel right and down; 3 black two pixels right and down under
// the text.
void draw_text_with_effect(Painter& p, const Rect& r, std::string_view gbk, const Font& font, Argb color,
                           const TextFormat& fmt, int effect);

} // namespace tav
