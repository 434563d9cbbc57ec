// Input dispatch: mouse messages to the capture or the window under the pointer, keys to the
// focus; the input hook; mouse leave; focus, tab stops and the dialog keys; capture.

#include "platform/window_system_impl.hpp"

namespace tav::platform {

namespace {

// The modifier bit a key is itself (0 for other keys): left/right variants included.
std::uint32_t own_modifier(int key) {
    switch (key) {
        case vk::kControl:
        case 0xA2:
        case 0xA3: return kKeyCtrl;
        case vk::kShift:
        case 0xA0:
        case 0xA1: return kKeyShift;
        case vk::kMenu:
        case 0xA4:
        case 0xA5: return kKeyAlt;
        default: return 0;
    }
}

std::size_t button_index(MouseButton b) { return static_cast<std::size_t>(b); }

} // namespace

std::uint32_t WindowSystem::Impl::modifiers() const {
    return (ctrl ? kKeyCtrl : 0u) | (shift ? kKeyShift : 0u) | (alt ? kKeyAlt : 0u);
}

void WindowSystem::Impl::dispatch_input(const QueuedMessage& m) {
    using T = InputMessage::Type;
    switch (m.input.type) {
        case T::KeyDown:
        case T::KeyUp:
        case T::Char: dispatch_key(m.window, m.input); break;
        default: dispatch_mouse(m.window, m.input); break;
    }
}

void WindowSystem::Impl::mouse_leave_to(WindowHandle new_hover) {
    const WindowHandle old = hover;
    hover = new_hover;
    if (old != kNoWindow && old != new_hover) {
        if (Window* o = find(old)) o->delegate->on_mouse_leave();
    }
}

void WindowSystem::Impl::dispatch_mouse(WindowHandle top, const InputMessage& in) {
    using T = InputMessage::Type;
    const Window* topw = find(top);
    if (!topw || !topw->top_level) return;
    // The state as of this message, for button_held() and cursor_pos() inside the handlers.
    cursor_top = top;
    cursor = in.pos;
    if (in.type == T::MouseDown || in.type == T::DoubleClick) buttons[button_index(in.button)] = true;
    if (in.type == T::MouseUp) buttons[button_index(in.button)] = false;

    WindowHandle target = kNoWindow;
    Point local;
    if (const Window* cw = find(capture)) {
        target = capture;
        const Point from = screen_origin(*topw);
        const Point to = screen_origin(*cw);
        local = {in.pos.x + from.x - to.x, in.pos.y + from.y - to.y};
    } else {
        target = window_at(top, in.pos);
        if (const Window* tw = find(target)) {
            const Point o = offset_in_top(*tw);
            local = {in.pos.x - o.x, in.pos.y - o.y};
        }
    }
    if (target != hover) mouse_leave_to(target);
    Window* tw = find(target);
    // Mouse input over a disabled window, or in a disabled top-level, goes nowhere.
    if (!tw || !takes_input(*tw)) return;

    InputMessage msg = in;
    msg.target = target;
    msg.pos = local;
    msg.keys = modifiers();
    if (input_hook && !input_hook(msg)) return;
    if (!(tw = find(target))) return;
    switch (in.type) {
        case T::MouseDown:
        case T::DoubleClick:
            if (tw->tab_stop) {
                set_focus(target);
                if (!(tw = find(target))) return;
            }
            if (in.type == T::MouseDown) {
                tw->delegate->on_mouse_down(in.button, local, msg.keys);
            } else {
                tw->delegate->on_double_click(in.button, local, msg.keys);
            }
            break;
        case T::MouseUp: tw->delegate->on_mouse_up(in.button, local, msg.keys); break;
        case T::MouseMove: tw->delegate->on_mouse_move(local, msg.keys); break;
        case T::Wheel: tw->delegate->on_wheel(in.wheel_delta, local, msg.keys); break;
        default: break;
    }
}

void WindowSystem::Impl::dispatch_key(WindowHandle top, const InputMessage& in) {
    using T = InputMessage::Type;
    if (in.type != T::Char) {
        const bool down = in.type == T::KeyDown;
        switch (own_modifier(in.key)) {
            case kKeyCtrl: ctrl = down; break;
            case kKeyShift: shift = down; break;
            case kKeyAlt: alt = down; break;
            default: break;
        }
    }
    // Keys go to the focus when it lies in this top-level window, else to the top-level itself.
    WindowHandle target = top;
    if (const Window* fw = find(focus); fw && top_of(*fw).handle == top) target = focus;
    Window* tw = find(target);
    if (!tw || !takes_input(*tw)) return;

    InputMessage msg = in;
    msg.target = target;
    msg.keys = modifiers() & ~own_modifier(in.key);
    if (in.type == T::Char) msg.keys = modifiers();
    if (input_hook && !input_hook(msg)) return;
    if (!(tw = find(target))) return;

    switch (in.type) {
        case T::KeyDown: {
            if (tw->delegate->on_key_down(in.key, msg.keys)) return;
            if (!(tw = find(target))) return;
            const bool focused_button = tw->push_button && target == focus;
            if (in.key == vk::kTab && !(msg.keys & (kKeyCtrl | kKeyAlt))) {
                move_tab_focus(top, (msg.keys & kKeyShift) != 0);
            } else if (in.key == vk::kReturn && focused_button) {
                tw->delegate->on_activate_key();
            } else if (in.key == vk::kSpace && focused_button) {
                space_pressed = target; // a push button clicks when Space is let go
            } else if (target != top) {
                // Like a dialog: what the focused control leaves (Escape, Enter) goes to its window.
                if (Window* t = find(top); t && takes_input(*t)) t->delegate->on_key_down(in.key, msg.keys);
            }
            break;
        }
        case T::KeyUp:
            tw->delegate->on_key_up(in.key, msg.keys);
            if (in.key == vk::kSpace && space_pressed == target) {
                space_pressed = kNoWindow;
                if ((tw = find(target)) && target == focus && takes_input(*tw)) tw->delegate->on_activate_key();
            }
            break;
        case T::Char: tw->delegate->on_char(static_cast<std::uint32_t>(in.key)); break;
        default: break;
    }
}

void WindowSystem::Impl::set_focus(WindowHandle w) {
    if (w == focus || (w != kNoWindow && !find(w))) return;
    const WindowHandle old = focus;
    focus = w;
    space_pressed = kNoWindow;
    if (Window* o = find(old)) o->delegate->on_focus_out();
    if (focus == w) {
        if (Window* n = find(w)) n->delegate->on_focus_in();
    }
}

void WindowSystem::Impl::set_capture(WindowHandle w, bool notify_old) {
    if (w == capture || (w != kNoWindow && !find(w))) return;
    const WindowHandle old = capture;
    capture = w;
    if (notify_old) {
        if (Window* o = find(old)) o->delegate->on_capture_lost();
    }
}

// Tab order: the tab stops of the top-level window in z-order from the top, each window
// before its children (so controls placed behind one another in layout order tab in that order).
void WindowSystem::Impl::move_tab_focus(WindowHandle top, bool backwards) {
    std::vector<WindowHandle> order;
    auto collect = [&](auto&& self, const Window& w) -> void {
        for (WindowHandle ch : w.children) {
            const Window* c = find(ch);
            if (!c || !c->visible || !c->enabled) continue;
            if (c->tab_stop) order.push_back(ch);
            self(self, *c);
        }
    };
    const Window* t = find(top);
    if (!t) return;
    collect(collect, *t);
    if (order.empty()) return;
    std::size_t next = backwards ? order.size() - 1 : 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] != focus) continue;
        next = backwards ? (i + order.size() - 1) % order.size() : (i + 1) % order.size();
        break;
    }
    set_focus(order[next]);
}

// --- Public side ----------------------------------------------------------------------------

void WindowSystem::set_tab_stop(WindowHandle w, bool tab_stop) {
    if (Window* win = impl_->find(w)) win->tab_stop = tab_stop;
}

void WindowSystem::set_push_button(WindowHandle w, bool push_button) {
    if (Window* win = impl_->find(w)) win->push_button = push_button;
}

void WindowSystem::set_focus(WindowHandle w) { impl_->set_focus(w); }

WindowHandle WindowSystem::focus() const { return impl_->focus; }

void WindowSystem::set_capture(WindowHandle w) { impl_->set_capture(w, true); }

// Releasing one's own capture tells nobody; only a capture taken away is reported.
void WindowSystem::release_capture() { impl_->capture = kNoWindow; }

WindowHandle WindowSystem::capture() const { return impl_->capture; }

Point WindowSystem::cursor_pos(WindowHandle w) const {
    const Impl& i = *impl_;
    const Window* top = i.find(i.cursor_top);
    const Window* win = i.find(w);
    if (!top || !win) return {};
    const Point from = i.screen_origin(*top);
    const Point to = i.screen_origin(*win);
    return {i.cursor.x + from.x - to.x, i.cursor.y + from.y - to.y};
}

bool WindowSystem::button_held(MouseButton b) const { return impl_->buttons[button_index(b)]; }

std::uint32_t WindowSystem::key_state() const { return impl_->modifiers(); }

} // namespace tav::platform
