#pragma once
// The painter: draws into a Bitmap through a stack of translation and clip states.
// A clip only ever narrows; restore() brings back the state of the matching save().
// Every drawing call is limited to the clip and never writes outside the target.
// With a device scale s every coordinate and length it is given (logical units) covers s x s
// target pixels: lines become s pixels wide and pictures are resampled from their source to
// the scaled size. At scale 1 the target pixels are the logical ones.

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"

namespace tav {

// The border looks of bordered controls, drawn inside the control's outer rectangle.
enum class EdgeStyle {
    None,              // no border
    Sunken,            // 2-px sunken client edge
    ThinSunken,        // 1-px sunken static edge
    RaisedFrame,       // 3-px raised dialog frame
    RaisedFrameSunken, // raised dialog frame with a sunken client edge inside (5 px)
    SingleLine,        // 1-px black line
};

// The edge style of a control `Border` code 0..5; other codes give None.
EdgeStyle edge_style_for_border(int border);
// How many pixels `style` takes on each side.
int edge_width(EdgeStyle style);
// The client rectangle left inside `outer` by a border of `style`.
Rect edge_inner(const Rect& outer, EdgeStyle style);

// The four corner colours of a gradient fill.
struct GradientCorners {
    Argb top_left = 0;
    Argb top_right = 0;
    Argb bottom_left = 0;
    Argb bottom_right = 0;
};

class Painter {
public:
    // Paints into `target` at device scale `scale` (1 or more); the clip starts as the whole
    // bitmap, the origin at its corner.
    explicit Painter(Bitmap& target, int scale = 1);

    // Target pixels per logical unit along each axis.
    int scale() const { return scale_; }

    // Pushes the current origin and clip.
    void save();
    // Pops back to the state of the matching save(); an unmatched restore does nothing.
    void restore();

    // Moves the origin by (dx, dy) in current coordinates.
    void translate(int dx, int dy);
    // Narrows the clip to `r`, given in current coordinates.
    void clip_rect(const Rect& r);
    // Narrows the clip to `region`, given in current coordinates.
    void clip_region(const Region& region);
    // The bounding box of the clip in current coordinates (rounded outwards to whole logical
    // units); empty when nothing can be drawn.
    Rect clip_bounds() const;
    // The clip as a region in current coordinates (each part rounded outwards).
    Region clip() const;
    // The current origin in logical units from the target bitmap's corner.
    Point origin() const { return state_.origin; }
    // The current origin in target pixels.
    Point device_origin() const { return {state_.origin.x * scale_, state_.origin.y * scale_}; }
    // The bitmap painted into.
    Bitmap& target() { return target_; }

    // Fills `r` with `color` (its alpha is ignored: fills are opaque).
    void fill_rect(const Rect& r, Argb color);
    // Draws a 1-pixel frame just inside `r`.
    void frame_rect(const Rect& r, Argb color);
    // Draws the border `style` inside `r` in the system palette; returns the rectangle inside it.
    Rect draw_edge(const Rect& r, EdgeStyle style);
    // Fills `r` by interpolating the corner colours linearly over the triangles
    // (top-left, top-right, bottom-left) and (bottom-right, top-right, bottom-left).
    void gradient_fill(const Rect& r, const GradientCorners& c);
    // A vertical gradient from `top` to `bottom`.
    void gradient_fill_vertical(const Rect& r, Argb top, Argb bottom);
    // Inverts every other pixel along the edge of `r`, as a keyboard focus marker does;
    // drawing it twice restores the pixels.
    void draw_focus_rect(const Rect& r);

    // Draws `image` at natural size (each image pixel one logical unit, resampled above scale
    // 1) with its top-left corner at `at`, blending by its alpha.
    void draw_image(const Bitmap& image, Point at);
    // Draws the part `src` of `image` at natural size with that part's corner at `at`.
    void draw_image(const Bitmap& image, const Rect& src, Point at);
    // Draws `image`, already at device resolution (one image pixel a target pixel), with its
    // corner at the target pixel of logical point `at`; draw_image at scale 1.
    void draw_device_image(const Bitmap& image, Point at);
    // Draws `image` scaled to fill `dst` with an area-averaging filter (bilinear when enlarging).
    void draw_stretched(const Bitmap& image, const Rect& dst);
    // Draws `image` shrunk to fit and centred in `area` (natural size when it fits); returns
    // where it went.
    Rect draw_fitted(const Bitmap& image, const Rect& area);
    // Covers `area` with copies of `image` at anchor + (i·w, j·h).
    void draw_tiled(const Bitmap& image, const Rect& area, Point anchor);
    // Draws `image` at `at` leaving out every pixel whose colour equals `key` (alpha ignored).
    void draw_keyed(const Bitmap& image, Point at, Argb key);
    // Copies the part `src` (in its own pixels) of `source`, a back buffer painted at this
    // painter's scale, unchanged (no blending) to the target pixel of logical point `at`.
    void blit(const Bitmap& source, const Rect& src, Point at);
    // Blends opaque `color` onto the target through a coverage mask of `size` (one byte per pixel,
    // `pitch` bytes a row), the mask's corner at `at`; each mask value covers one logical unit.
    void blend_mask(Point at, Size size, std::span<const std::uint8_t> mask, int pitch, Argb color);
    // blend_mask for a mask at device resolution, its corner `at` in target pixels from
    // device_origin(); text glyphs rendered at the scaled height are drawn this way.
    void blend_device_mask(Point at, Size size, std::span<const std::uint8_t> mask, int pitch, Argb color);

private:
    struct State {
        Point origin; // logical
        Region clip;  // in target pixels
    };

    // The target pixels of logical rectangle `r` in current coordinates.
    Rect device_rect(const Rect& r) const { return r.translated(state_.origin.x, state_.origin.y).scaled(scale_); }
    // Draws the part `src` of `image` pixel for pixel with that part's corner at target pixel `at`.
    void draw_device(const Bitmap& image, const Rect& src, Point at);

    // Calls fn(device rect) for each part of device rectangle `device` inside the clip.
    template <typename Fn>
    void for_each_clipped(const Rect& device, Fn&& fn) const {
        for (const Rect& clip : state_.clip.rects()) {
            const Rect area = device.intersected(clip);
            if (!area.empty()) fn(area);
        }
    }

    Bitmap& target_;
    int scale_ = 1;
    State state_;
    std::vector<State> stack_;
};

// The region of `image`'s pixels whose colour differs from `key` (alpha ignored), built of
// one-pixel-high runs: the shape of a picture button.
Region keyed_region(const Bitmap& image, Argb key);

} // namespace tav
