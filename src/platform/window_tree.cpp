// The window tree: creation and destruction, rectangles, visibility, enabled state, z-order,
// shapes and hit-testing. Operations on a handle that names no window do nothing.

#include <algorithm>
#include <new>

#include "platform/window_system_impl.hpp"

namespace tav::platform {

// --- Impl helpers ------------------------------------------------------------------------

Window& WindowSystem::Impl::top_of(const Window& w) const {
    const Window* cur = &w;
    while (!cur->top_level) cur = find(cur->parent);
    return *const_cast<Window*>(cur);
}

Point WindowSystem::Impl::offset_in_top(const Window& w) const {
    Point o;
    for (const Window* cur = &w; !cur->top_level; cur = find(cur->parent)) {
        o.x += cur->rect.x;
        o.y += cur->rect.y;
    }
    return o;
}

Point WindowSystem::Impl::screen_origin(const Window& w) const {
    const Window& top = top_of(w);
    const Point o = offset_in_top(w);
    return {top.rect.x + o.x, top.rect.y + o.y};
}

bool WindowSystem::Impl::can_be_seen(const Window& w) const {
    for (const Window* cur = &w; cur; cur = find(cur->parent)) {
        if (!cur->visible) return false;
    }
    return true;
}

bool WindowSystem::Impl::takes_input(const Window& w) const {
    for (const Window* cur = &w; cur; cur = find(cur->parent)) {
        if (!cur->enabled) return false;
    }
    return true;
}

bool WindowSystem::Impl::is_ancestor_or_self(WindowHandle ancestor, WindowHandle w) const {
    for (const Window* cur = find(w); cur; cur = find(cur->parent)) {
        if (cur->handle == ancestor) return true;
    }
    return false;
}

WindowHandle WindowSystem::Impl::hit(const Window& w, Point p) const {
    for (WindowHandle ch : w.children) {
        const Window* c = find(ch);
        if (!c || !c->visible || !c->rect.contains(p)) continue;
        const Point local{p.x - c->rect.x, p.y - c->rect.y};
        // A point in a shape's cut-out belongs to whatever lies beneath.
        if (c->region && !c->region->contains(local)) continue;
        if (WindowHandle deeper = hit(*c, local); deeper != kNoWindow) return deeper;
        if (c->delegate->hit_test(local)) return ch;
    }
    return kNoWindow;
}

void WindowSystem::Impl::unlink(Window& w) {
    if (Window* p = find(w.parent)) std::erase(p->children, w.handle);
}

void WindowSystem::Impl::invalidate_footprint(const Window& w) {
    if (w.top_level) {
        invalidate_rect(w, Rect{0, 0, w.rect.width, w.rect.height});
    } else if (const Window* p = find(w.parent)) {
        invalidate_rect(*p, w.rect);
    }
}

void WindowSystem::Impl::drop_input_holders(WindowHandle w, bool focus_too) {
    if (capture != kNoWindow && is_ancestor_or_self(w, capture)) {
        const WindowHandle old = capture;
        capture = kNoWindow;
        if (Window* o = find(old)) o->delegate->on_capture_lost();
    }
    if (focus_too && focus != kNoWindow && is_ancestor_or_self(w, focus)) set_focus(kNoWindow);
    if (space_pressed != kNoWindow && is_ancestor_or_self(w, space_pressed)) space_pressed = kNoWindow;
}

void WindowSystem::Impl::leave_if_hidden(WindowHandle w) {
    if (hover != kNoWindow && is_ancestor_or_self(w, hover)) mouse_leave_to(kNoWindow);
}

void WindowSystem::Impl::destroy_tree(WindowHandle h) {
    Window* w = find(h);
    if (!w) return;
    w->destroying = true;
    const std::vector<WindowHandle> kids = w->children;
    for (WindowHandle k : kids) destroy_tree(k);
    w = find(h);
    if (!w) return;
    w->delegate->on_destroy();
    w = find(h);
    if (!w) return;
    kill_timers_of(h);
    if (capture == h) capture = kNoWindow;
    if (focus == h) focus = kNoWindow;
    if (hover == h) hover = kNoWindow;
    if (space_pressed == h) space_pressed = kNoWindow;
    if (cursor_top == h) cursor_top = kNoWindow;
    unlink(*w);
    if (w->top_level) {
        std::erase(top_levels, h);
        backend->destroy_native(h);
    }
    windows[h].reset();
}

// --- Windows -----------------------------------------------------------------------------

WindowHandle WindowSystem::create_top_level(WindowDelegate& delegate, Size client, const TopLevelStyle& style,
                                            std::string_view caption_utf8) {
    Impl& i = *impl_;
    const auto h = static_cast<WindowHandle>(i.windows.size());
    client = {std::max(client.width, 0), std::max(client.height, 0)};
    if (!i.backend->create_native(h, client, style, caption_utf8)) return kNoWindow;
    auto w = std::make_unique<Window>();
    w->handle = h;
    w->delegate = &delegate;
    w->rect = {0, 0, client.width, client.height};
    w->caption = std::string(caption_utf8);
    w->top_level = true;
    w->style = style;
    w->framebuffer = Bitmap(client.width * i.backend->scale(), client.height * i.backend->scale());
    i.windows.push_back(std::move(w));
    i.top_levels.push_back(h);
    if (!i.program_icon.empty()) i.backend->set_native_icon(h, i.program_icon);
    return h;
}

std::vector<WindowHandle> WindowSystem::top_levels() const { return impl_->top_levels; }

WindowHandle WindowSystem::create_child(WindowHandle parent, WindowDelegate& delegate, const Rect& rect) {
    Impl& i = *impl_;
    Window* p = i.find(parent);
    if (!p || p->destroying) return kNoWindow;
    const auto h = static_cast<WindowHandle>(i.windows.size());
    auto w = std::make_unique<Window>();
    w->handle = h;
    w->parent = parent;
    w->delegate = &delegate;
    w->rect = {rect.x, rect.y, std::max(rect.width, 0), std::max(rect.height, 0)};
    p->children.insert(p->children.begin(), h);
    i.windows.push_back(std::move(w));
    return h;
}

void WindowSystem::destroy(WindowHandle w) {
    Impl& i = *impl_;
    Window* win = i.find(w);
    if (!win || win->destroying) return;
    if (!win->top_level && win->visible) i.invalidate_footprint(*win);
    i.destroy_tree(w);
}

bool WindowSystem::exists(WindowHandle w) const { return impl_->find(w) != nullptr; }

WindowHandle WindowSystem::parent(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win ? win->parent : kNoWindow;
}

WindowHandle WindowSystem::top_level(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win ? impl_->top_of(*win).handle : kNoWindow;
}

void WindowSystem::set_parent(WindowHandle w, WindowHandle new_parent) {
    Impl& i = *impl_;
    Window* win = i.find(w);
    Window* np = i.find(new_parent);
    if (!win || !np || win->top_level || win->parent == new_parent) return;
    if (i.is_ancestor_or_self(w, new_parent)) return; // would make a cycle
    if (win->visible) i.invalidate_footprint(*win);
    i.unlink(*win);
    win->parent = new_parent;
    np->children.insert(np->children.begin(), w);
    if (win->visible) i.invalidate_footprint(*win);
}

Rect WindowSystem::rect(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win ? win->rect : Rect{};
}

void WindowSystem::set_rect(WindowHandle w, const Rect& r) { impl_->place(w, r, true); }

void WindowSystem::on_native_placed(WindowHandle top_level, Point screen_pos, Size client) {
    const Window* win = impl_->find(top_level);
    if (!win || !win->top_level) return;
    try {
        impl_->place(top_level, {screen_pos.x, screen_pos.y, client.width, client.height}, false);
    } catch (const std::bad_alloc&) {
        // The window keeps its old framebuffer: the player sees it clipped or padded, nothing is lost.
    }
}

void WindowSystem::Impl::place(WindowHandle w, const Rect& r, bool tell_backend) {
    Window* win = find(w);
    if (!win) return;
    const Rect nr{r.x, r.y, std::max(r.width, 0), std::max(r.height, 0)};
    const Rect old = win->rect;
    if (nr == old) return;
    if (win->top_level) {
        if (nr.size() != old.size()) {
            // Allocated first: when it fails the window keeps its old size and framebuffer.
            Bitmap fresh(nr.width * backend->scale(), nr.height * backend->scale());
            win->rect = nr;
            win->framebuffer = std::move(fresh);
            win->dirty.clear();
            invalidate_footprint(*win);
        }
        win->rect = nr;
        if (tell_backend) backend->move_native(w, nr.origin(), nr.size());
    } else {
        if (win->visible) invalidate_footprint(*win);
        win->rect = nr;
        if (win->visible) invalidate_footprint(*win);
    }
    const WindowHandle keep = w;
    if (nr.origin() != old.origin()) win->delegate->on_moved();
    if (nr.size() != old.size()) {
        if (Window* again = find(keep)) again->delegate->on_resized();
    }
}

Size WindowSystem::client_size(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win ? win->rect.size() : Size{};
}

Point WindowSystem::map_point(WindowHandle from, WindowHandle to, Point p) const {
    const Impl& i = *impl_;
    const Window* f = i.find(from);
    const Window* t = i.find(to);
    const Point fo = f ? i.screen_origin(*f) : Point{};
    const Point to_o = t ? i.screen_origin(*t) : Point{};
    return {p.x + fo.x - to_o.x, p.y + fo.y - to_o.y};
}

void WindowSystem::show(WindowHandle w, bool visible) {
    // Most calls change nothing (the lamp step hides nineteen hidden lamps): the check stays
    // apart from the work.
    Window* win = impl_->find(w);
    if (win && win->visible != visible) impl_->change_visibility(*win, w, visible);
}

void WindowSystem::Impl::change_visibility(Window& win, WindowHandle w, bool visible) {
    if (win.top_level) {
        if (visible) {
            if (!win.shown_once && win.style.centred) {
                const Size screen = backend->screen_size();
                Rect area{0, 0, screen.width, screen.height};
                if (const Window* owner = find(win.style.owner); owner && owner->top_level && owner->visible) {
                    const Size frame = backend->frame_size(owner->style);
                    area = {owner->rect.x, owner->rect.y, owner->rect.width + frame.width,
                            owner->rect.height + frame.height};
                }
                const Point at = backend->centred_position(w, win.rect.size(), win.style, area);
                win.rect.x = at.x;
                win.rect.y = at.y;
            }
            win.shown_once = true;
            win.visible = true;
            backend->show_native(w, true, win.rect.origin());
            invalidate_footprint(win);
        } else {
            win.visible = false;
            win.dirty.clear();
            drop_input_holders(w, true);
            leave_if_hidden(w);
            if (Window* again = find(w)) backend->show_native(w, false, again->rect.origin());
        }
    } else {
        if (!visible) {
            invalidate_footprint(win);
            win.visible = false;
            drop_input_holders(w, true);
            leave_if_hidden(w);
        } else {
            win.visible = true;
            invalidate_footprint(win);
        }
    }
    if (Window* again = find(w)) again->delegate->on_visibility_changed(visible);
}

bool WindowSystem::is_visible(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win && win->visible;
}

void WindowSystem::enable(WindowHandle w, bool enabled) {
    Impl& i = *impl_;
    Window* win = i.find(w);
    if (!win || win->enabled == enabled) return;
    win->enabled = enabled;
    // A disabled top-level keeps its focus for when it is enabled again; it takes no keys meanwhile.
    if (!enabled) i.drop_input_holders(w, !win->top_level);
    win = i.find(w);
    if (!win) return;
    if (win->top_level) i.backend->set_native_enabled(w, enabled);
    win->delegate->on_enabled_changed(enabled);
}

bool WindowSystem::is_enabled(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win && win->enabled;
}

void WindowSystem::set_caption(WindowHandle w, std::string_view caption_utf8) {
    Window* win = impl_->find(w);
    if (!win) return;
    win->caption = std::string(caption_utf8);
    if (win->top_level) impl_->backend->set_native_caption(w, caption_utf8);
}

std::string WindowSystem::caption(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win ? win->caption : std::string();
}

void WindowSystem::set_icon(WindowHandle w, const Bitmap& icon) {
    const Window* win = impl_->find(w);
    if (win && win->top_level) impl_->backend->set_native_icon(w, icon);
}

void WindowSystem::set_program_icon(const Bitmap& icon) {
    impl_->program_icon = icon;
    const std::vector<WindowHandle> tops = impl_->top_levels;
    for (WindowHandle w : tops) set_icon(w, icon);
}

void WindowSystem::place_behind(WindowHandle w, WindowHandle behind_of) {
    Impl& i = *impl_;
    Window* win = i.find(w);
    const Window* other = i.find(behind_of);
    if (!win || !other || w == behind_of || win->top_level || win->parent != other->parent) return;
    Window* p = i.find(win->parent);
    std::erase(p->children, w);
    auto at = std::find(p->children.begin(), p->children.end(), behind_of);
    p->children.insert(at + 1, w);
    if (win->visible) i.invalidate_footprint(*win);
}

void WindowSystem::bring_to_top(WindowHandle w) {
    Impl& i = *impl_;
    Window* win = i.find(w);
    if (!win || win->top_level) return;
    Window* p = i.find(win->parent);
    std::erase(p->children, w);
    p->children.insert(p->children.begin(), w);
    if (win->visible) i.invalidate_footprint(*win);
}

void WindowSystem::send_to_bottom(WindowHandle w) {
    Impl& i = *impl_;
    Window* win = i.find(w);
    if (!win || win->top_level) return;
    Window* p = i.find(win->parent);
    std::erase(p->children, w);
    p->children.push_back(w);
    if (win->visible) i.invalidate_footprint(*win);
}

std::vector<WindowHandle> WindowSystem::children(WindowHandle w) const {
    const Window* win = impl_->find(w);
    return win ? win->children : std::vector<WindowHandle>{};
}

void WindowSystem::set_region(WindowHandle w, std::optional<Region> region) {
    Window* win = impl_->find(w);
    if (!win) return;
    win->region = std::move(region);
    if (win->visible) impl_->invalidate_footprint(*win);
}

WindowHandle WindowSystem::Impl::window_at(WindowHandle top_level, Point client_point) const {
    const Window* top = find(top_level);
    if (!top || !top->top_level || !top->visible) return kNoWindow;
    if (!Rect{0, 0, top->rect.width, top->rect.height}.contains(client_point)) return kNoWindow;
    if (top->region && !top->region->contains(client_point)) return kNoWindow;
    const WindowHandle h = hit(*top, client_point);
    return h != kNoWindow ? h : top_level;
}

WindowHandle WindowSystem::window_at(WindowHandle top_level, Point client_point) const {
    return impl_->window_at(top_level, client_point);
}

} // namespace tav::platform
