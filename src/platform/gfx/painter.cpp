#include "platform/gfx/painter.hpp"

#include <algorithm>

namespace tav {

Painter::Painter(Bitmap& target) : target_(target) { state_.clip = Region(target.rect()); }

void Painter::save() { stack_.push_back(state_); }

void Painter::restore() {
    if (stack_.empty()) return;
    state_ = std::move(stack_.back());
    stack_.pop_back();
}

void Painter::translate(int dx, int dy) {
    state_.origin.x += dx;
    state_.origin.y += dy;
}

void Painter::clip_rect(const Rect& r) {
    state_.clip = state_.clip.intersected(r.translated(state_.origin.x, state_.origin.y));
}

void Painter::clip_region(const Region& region) {
    state_.clip = state_.clip.intersected(region.translated(state_.origin.x, state_.origin.y));
}

Rect Painter::clip_bounds() const {
    return state_.clip.bounds().translated(-state_.origin.x, -state_.origin.y);
}

void Painter::fill_rect(const Rect& r, Argb color) {
    const Rect device = r.translated(state_.origin.x, state_.origin.y);
    color |= 0xFF000000u;
    for (const Rect& clip : state_.clip.rects()) {
        const Rect area = device.intersected(clip);
        for (int y = area.top(); y < area.bottom(); ++y) {
            auto row = target_.row(y);
            std::fill(row.begin() + area.left(), row.begin() + area.right(), color);
        }
    }
}

} // namespace tav
