#pragma once
// Points, sizes, rectangles and regions in pixels.

#include <algorithm>
#include <vector>

namespace tav {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(Point, Point) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(Size, Size) = default;
};

// A rectangle as left, top, width and height; empty when either extent is 0 or less.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int left() const { return x; }
    int top() const { return y; }
    int right() const { return x + width; }   // one past the last column
    int bottom() const { return y + height; } // one past the last row
    Point origin() const { return {x, y}; }
    Size size() const { return {width, height}; }
    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(Point p) const { return p.x >= x && p.y >= y && p.x < right() && p.y < bottom(); }

    Rect translated(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
    // The rectangle shrunk by d on every side (grown for negative d).
    Rect shrunk(int d) const { return {x + d, y + d, width - 2 * d, height - 2 * d}; }
    // Every coordinate and length multiplied by `factor`.
    Rect scaled(int factor) const { return {x * factor, y * factor, width * factor, height * factor}; }
    Rect intersected(const Rect& o) const {
        int l = std::max(x, o.x), t = std::max(y, o.y);
        int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
        if (r <= l || b <= t) return {};
        return {l, t, r - l, b - t};
    }
    bool intersects(const Rect& o) const { return !intersected(o).empty(); }
    // The smallest rectangle holding both; an empty side is ignored.
    Rect united(const Rect& o) const {
        if (empty()) return o;
        if (o.empty()) return *this;
        int l = std::min(x, o.x), t = std::min(y, o.y);
        int r = std::max(right(), o.right()), b = std::max(bottom(), o.bottom());
        return {l, t, r - l, b - t};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// An area made of rectangles that do not overlap, as shaped windows and clips need.
class Region {
public:
    Region() = default;
    explicit Region(const Rect& r) { add(r); }

    // Adds a rectangle that overlaps none already held (the caller's promise).
    void add(const Rect& r) {
        if (r.empty()) return;
        rects_.push_back(r);
        bounds_ = bounds_.united(r);
    }
    bool empty() const { return rects_.empty(); }
    bool contains(Point p) const {
        if (!bounds_.contains(p)) return false;
        return std::any_of(rects_.begin(), rects_.end(), [p](const Rect& r) { return r.contains(p); });
    }
    const Rect& bounds() const { return bounds_; }
    const std::vector<Rect>& rects() const { return rects_; }

    Region translated(int dx, int dy) const {
        Region out;
        for (const Rect& r : rects_) out.add(r.translated(dx, dy));
        return out;
    }
    // Every rectangle multiplied by `factor`.
    Region scaled(int factor) const {
        Region out;
        for (const Rect& r : rects_) out.add(r.scaled(factor));
        return out;
    }
    Region intersected(const Rect& clip) const {
        Region out;
        for (const Rect& r : rects_) out.add(r.intersected(clip));
        return out;
    }
    Region intersected(const Region& other) const {
        Region out;
        for (const Rect& r : other.rects_) {
            for (const Rect& mine : rects_) out.add(mine.intersected(r));
        }
        return out;
    }
    // The area of this region outside `hole`.
    Region subtracted(const Rect& hole) const {
        Region out;
        for (const Rect& r : rects_) {
            Rect cut = r.intersected(hole);
            if (cut.empty()) {
                out.add(r);
                continue;
            }
            out.add({r.x, r.y, r.width, cut.y - r.y});                          // above
            out.add({r.x, cut.bottom(), r.width, r.bottom() - cut.bottom()});   // below
            out.add({r.x, cut.y, cut.x - r.x, cut.height});                     // left
            out.add({cut.right(), cut.y, r.right() - cut.right(), cut.height}); // right
        }
        return out;
    }

private:
    std::vector<Rect> rects_;
    Rect bounds_;
};

} // namespace tav
