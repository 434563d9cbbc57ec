// Invalidation and painting: pending areas per top-level window, composed in one pass with the
// painter's algorithm (what lies behind first) and handed to the backend.

#include <algorithm>

#include "gfx/painter.hpp"
#include "platform/window_system_impl.hpp"

namespace tav::platform {

namespace {

// Pending areas at most this far apart merge into one rectangle.
constexpr int kMergeGap = 8;
// More pending rectangles than this fall back to their bounding box.
constexpr std::size_t kMaxDirtyRects = 8;

bool close_enough(const Rect& a, const Rect& b) { return a.shrunk(-kMergeGap).intersects(b); }

} // namespace

void WindowSystem::Impl::invalidate_rect(const Window& w, Rect r) {
    r = r.intersected({0, 0, w.rect.width, w.rect.height});
    for (const Window* cur = &w; cur;) {
        if (!cur->visible || r.empty()) return;
        if (cur->top_level) {
            add_dirty(*const_cast<Window*>(cur), r);
            return;
        }
        r = r.translated(cur->rect.x, cur->rect.y);
        cur = find(cur->parent);
        if (cur) r = r.intersected({0, 0, cur->rect.width, cur->rect.height});
    }
}

void WindowSystem::Impl::add_dirty(Window& top, const Rect& added) {
    Rect r = added;
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = top.dirty.begin(); it != top.dirty.end(); ++it) {
            if (close_enough(*it, r)) {
                r = r.united(*it);
                top.dirty.erase(it);
                merged = true;
                break;
            }
        }
    }
    top.dirty.push_back(r);
    if (top.dirty.size() > kMaxDirtyRects) {
        Rect box;
        for (const Rect& d : top.dirty) box = box.united(d);
        top.dirty.assign(1, box);
    }
}

bool WindowSystem::Impl::paint_one() {
    for (WindowHandle h : top_levels) {
        const Window* top = find(h);
        if (top && top->visible && !top->dirty.empty()) {
            paint_top(h);
            return true;
        }
    }
    return false;
}

void WindowSystem::Impl::paint_top(WindowHandle h) {
    Window* top = find(h);
    if (!top || !top->visible || top->dirty.empty()) return;
    // Areas invalidated while painting go to the next pass.
    const std::vector<Rect> areas = std::move(top->dirty);
    top->dirty.clear();
    std::vector<Shape> shaped;
    for (const Rect& area : areas) {
        top = find(h);
        if (!top) return;
        paint_tree(h, top->framebuffer, {0, 0}, area, shaped);
    }
    if ((top = find(h)) != nullptr) backend->present(h, top->framebuffer, areas);
}

void WindowSystem::Impl::paint_tree(WindowHandle h, Bitmap& fb, Point origin, const Rect& clip,
                                    std::vector<Shape>& shaped) {
    const Window* w = find(h);
    if (!w) return;
    const bool pushed = w->region.has_value();
    if (pushed) shaped.push_back({h, origin});
    {
        // A fresh painter per window: a delegate's unbalanced save/restore cannot leak.
        Painter p(fb, backend->scale());
        p.clip_rect(clip);
        for (const Shape& s : shaped) {
            const Window* sw = find(s.window);
            if (!sw || !sw->region) continue;
            p.translate(s.origin.x, s.origin.y);
            p.clip_region(*sw->region);
            p.translate(-s.origin.x, -s.origin.y);
        }
        p.translate(origin.x, origin.y);
        w->delegate->on_paint(p);
    }
    w = find(h);
    if (!w) {
        if (pushed) shaped.pop_back();
        return;
    }
    // Lowest first, so windows in front paint over (or, transparent, let show) those behind.
    const std::vector<WindowHandle> kids = w->children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        const Window* c = find(*it);
        if (!c || !c->visible) continue;
        const Rect child_clip = c->rect.translated(origin.x, origin.y).intersected(clip);
        if (child_clip.empty()) continue;
        paint_tree(*it, fb, {origin.x + c->rect.x, origin.y + c->rect.y}, child_clip, shaped);
    }
    if (pushed) shaped.pop_back();
}

void WindowSystem::invalidate(WindowHandle w, std::optional<Rect> r) {
    const Window* win = impl_->find(w);
    if (!win) return;
    impl_->invalidate_rect(*win, r.value_or(Rect{0, 0, win->rect.width, win->rect.height}));
}

void WindowSystem::update(WindowHandle w) {
    const Window* win = impl_->find(w);
    if (win) impl_->paint_top(impl_->top_of(*win).handle);
}

const Bitmap& WindowSystem::framebuffer(WindowHandle top_level) const {
    static const Bitmap kNone;
    const Window* win = impl_->find(top_level);
    return (win && win->top_level) ? win->framebuffer : kNone;
}

int WindowSystem::scale() const { return impl_->backend->scale(); }

void WindowSystem::on_native_expose(WindowHandle top_level) {
    const Window* win = impl_->find(top_level);
    if (win && win->top_level) impl_->invalidate_footprint(*win);
}

} // namespace tav::platform
