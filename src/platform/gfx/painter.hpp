#pragma once
// The painter: draws into a Bitmap through a stack of translation and clip states.
// A clip only ever narrows; restore() brings back the state of the matching save().

#include <vector>

#include "platform/bitmap.hpp"
#include "platform/geometry.hpp"

namespace tav {

class Painter {
public:
    // Paints into `target`; the clip starts as the whole bitmap, the origin at its corner.
    explicit Painter(Bitmap& target);

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
    // The bounding box of the clip in current coordinates; empty when nothing can be drawn.
    Rect clip_bounds() const;
    // The current origin in the target bitmap's coordinates.
    Point origin() const { return state_.origin; }
    Bitmap& target() { return target_; }

    // Fills `r` with `color` (its alpha is ignored: fills are opaque).
    void fill_rect(const Rect& r, Argb color);

private:
    struct State {
        Point origin;
        Region clip; // in target coordinates
    };

    Bitmap& target_;
    State state_;
    std::vector<State> stack_;
};

} // namespace tav
