// The classic 3-D borders of bordered controls.
#include "gfx/painter.hpp"
#include "gfx/system_colors.hpp"

namespace tav {

namespace {

// Width of a raised dialog frame: a 2-px raised edge and one line of face colour.
constexpr int kDialogFrameWidth = 3;

// One line around `r`: top and left in `top_left`, bottom and right (with the top-right and
// bottom-left corners) in `bottom_right`. Returns `r` shrunk by one.
Rect edge_line(Painter& p, const Rect& r, Argb top_left, Argb bottom_right) {
    if (r.empty()) return r;
    p.fill_rect({r.x, r.y, r.width - 1, 1}, top_left);
    p.fill_rect({r.x, r.y + 1, 1, r.height - 2}, top_left);
    p.fill_rect({r.x, r.bottom() - 1, r.width, 1}, bottom_right);
    p.fill_rect({r.right() - 1, r.y, 1, r.height - 1}, bottom_right);
    return r.shrunk(1);
}

Rect sunken_edge(Painter& p, Rect r) {
    r = edge_line(p, r, syscolor::kShadow, syscolor::kHighlight);
    return edge_line(p, r, syscolor::kDarkShadow, syscolor::kLight);
}

Rect raised_frame(Painter& p, Rect r) {
    r = edge_line(p, r, syscolor::kLight, syscolor::kDarkShadow);
    r = edge_line(p, r, syscolor::kHighlight, syscolor::kShadow);
    p.frame_rect(r, syscolor::kFace);
    return r.shrunk(1);
}

} // namespace

EdgeStyle edge_style_for_border(int border) {
    switch (border) {
        case 1: return EdgeStyle::Sunken;
        case 2: return EdgeStyle::RaisedFrame;
        case 3: return EdgeStyle::ThinSunken;
        case 4: return EdgeStyle::RaisedFrameSunken;
        case 5: return EdgeStyle::SingleLine;
        default: return EdgeStyle::None;
    }
}

int edge_width(EdgeStyle style) {
    switch (style) {
        case EdgeStyle::None: return 0;
        case EdgeStyle::Sunken: return 2;
        case EdgeStyle::ThinSunken: return 1;
        case EdgeStyle::RaisedFrame: return kDialogFrameWidth;
        case EdgeStyle::RaisedFrameSunken: return kDialogFrameWidth + 2;
        case EdgeStyle::SingleLine: return 1;
    }
    return 0;
}

Rect edge_inner(const Rect& outer, EdgeStyle style) { return outer.shrunk(edge_width(style)); }

Rect Painter::draw_edge(const Rect& r, EdgeStyle style) {
    switch (style) {
        case EdgeStyle::None: return r;
        case EdgeStyle::Sunken: return sunken_edge(*this, r);
        case EdgeStyle::ThinSunken: return edge_line(*this, r, syscolor::kShadow, syscolor::kHighlight);
        case EdgeStyle::RaisedFrame: return raised_frame(*this, r);
        case EdgeStyle::RaisedFrameSunken: return sunken_edge(*this, raised_frame(*this, r));
        case EdgeStyle::SingleLine: frame_rect(r, syscolor::kWindowFrame); return r.shrunk(1);
    }
    return r;
}

} // namespace tav
