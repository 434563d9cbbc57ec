#pragma once
// What a window does with the messages it receives: the owner of a window implements this.

#include <cstdint>

#include "gfx/geometry.hpp"
#include "platform/input.hpp"

namespace tav {
class Painter;
}

namespace tav::platform {

// Every method runs on the UI thread from the message loop (or from update()/dispatch that
// the window system does synchronously). Defaults do nothing.
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;

    // Paints the client area. The painter's origin is the client corner; its clip is the dirty
    // part of this window, already narrowed to the window's shape region.
    virtual void on_paint(Painter&) {}
    // Answers whether a point in client coordinates belongs to the window for hit-testing
    // beyond its shape region (e.g. a transparent label lets clicks fall through: false).
    virtual bool hit_test(Point) { return true; }

    // Mouse input in client coordinates of this window (the one under the pointer or with capture).
    virtual void on_mouse_down(MouseButton, Point, std::uint32_t /*keys*/) {}
    virtual void on_mouse_up(MouseButton, Point, std::uint32_t /*keys*/) {}
    // The second press of a double click; by default a plain press, so no press is lost.
    virtual void on_double_click(MouseButton b, Point p, std::uint32_t keys) { on_mouse_down(b, p, keys); }
    virtual void on_mouse_move(Point, std::uint32_t /*keys*/) {}
    // The pointer left the window (sent once after a move took it elsewhere).
    virtual void on_mouse_leave() {}
    // Wheel turned by `delta` (120 per notch, positive away from the user).
    virtual void on_wheel(int /*delta*/, Point, std::uint32_t /*keys*/) {}
    // The capture was taken away by another window or released by the system.
    virtual void on_capture_lost() {}

    // Keyboard input for the window with the focus. Returning true from on_key_down means the
    // window consumed the key, so the window system does not apply its dialog keys (Tab, Space, Enter).
    // A key a focused child leaves that is no dialog key for it (Escape, Enter on a non-button)
    // goes on to its top-level window's on_key_down, as a dialog box takes Escape.
    virtual bool on_key_down(int /*vk*/, std::uint32_t /*keys*/) { return false; }
    virtual void on_key_up(int /*vk*/, std::uint32_t /*keys*/) {}
    virtual void on_char(std::uint32_t /*character*/) {}
    virtual void on_focus_in() {}
    virtual void on_focus_out() {}
    // Space or Enter pressed on a focused window that is a push button (its click).
    virtual void on_activate_key() {}

    // A timer of this window fell due (at most one pending tick per timer: late ticks merge).
    virtual void on_timer(int /*timer_id*/) {}
    // A message posted to this window with post_message().
    virtual void on_posted(std::uint32_t /*message*/, std::uintptr_t /*wparam*/, std::intptr_t /*lparam*/) {}

    // A top-level window was asked to close (close box, window manager, signal, Alt+F4).
    virtual void on_close_request() {}
    // The session is ending (log-off, shut-down, a termination signal): true lets it end. Asked
    // of every top-level window, disabled ones under a modal box included; destroy nothing here,
    // as the code that opened a box may still be on the stack.
    virtual bool on_session_end_query() { return true; }
    // The window's enabled state, visibility, position or size changed.
    virtual void on_enabled_changed(bool /*enabled*/) {}
    virtual void on_visibility_changed(bool /*visible*/) {}
    virtual void on_moved() {}
    virtual void on_resized() {}
    // The window is being destroyed; its children are destroyed first.
    virtual void on_destroy() {}
};

} // namespace tav::platform
