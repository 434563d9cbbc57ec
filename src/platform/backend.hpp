#pragma once
// The one interface between our window system and a real or simulated desktop. Texts cross it
// in UTF-8 (window captions); the GBK of the game's values is converted above it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"
#include "platform/window_system.hpp"

namespace tav::platform {

// Where a frame of `frame` size goes when centred on `area` and kept on `work`: whole when it
// fits, else its top-left corner (title bar first) on the work area.
inline Point centred_on(const Rect& area, Size frame, const Rect& work) {
    Point at{area.x + (area.width - frame.width) / 2, area.y + (area.height - frame.height) / 2};
    // Right and bottom edges in first, then the left and top ones, so the top-left corner (the
    // title bar and the close box's side) wins when the frame is larger than the work area.
    at.x = std::max(std::min(at.x, work.right() - frame.width), work.x);
    at.y = std::max(std::min(at.y, work.bottom() - frame.height), work.y);
    return at;
}

class Backend {
public:
    virtual ~Backend() = default;

    // Called once by the window system that owns the backend, before anything else.
    virtual void attach(WindowSystem& system) = 0;

    // Target pixels per logical unit (1 to 3): every top-level's framebuffer is this many times
    // its client size along each axis. Coordinates crossing this interface are logical (client
    // sizes, positions, mouse points, present areas) and the backend scales them itself. Fixed
    // for the backend's lifetime.
    virtual int scale() const { return 1; }

    // Monotonic milliseconds since an arbitrary start.
    virtual std::uint64_t now_ms() = 0;
    // Size of the screen top-level windows are placed on.
    virtual Size screen_size() = 0;
    // Extra width and height a frame of `style` adds around the client area (0, 0 when unknown).
    virtual Size frame_size(const TopLevelStyle& style) = 0;
    // Where the frame corner of the hidden top-level `w` (client size `client`) goes so that its
    // frame is centred on `area` (screen coordinates: the screen, or the owner's frame), kept on
    // the desktop's work area as far as it fits, the title bar first. The default centres a
    // frame of frame_size(style) on the area and keeps its top-left corner on the screen.
    virtual Point centred_position(WindowHandle w, Size client, const TopLevelStyle& style, const Rect& area) {
        (void)w;
        const Size frame = frame_size(style);
        return {std::max(0, area.x + (area.width - (client.width + frame.width)) / 2),
                std::max(0, area.y + (area.height - (client.height + frame.height)) / 2)};
    }

    // Native counterpart of a top-level window: created hidden, sized to `client`.
    virtual bool create_native(WindowHandle w, Size client, const TopLevelStyle& style,
                               std::string_view caption_utf8) = 0;
    virtual void destroy_native(WindowHandle w) = 0;
    virtual void show_native(WindowHandle w, bool visible, Point screen_pos) = 0;
    // The window was moved or resized by the program (screen position, client size).
    virtual void move_native(WindowHandle w, Point screen_pos, Size client) = 0;
    virtual void set_native_caption(WindowHandle w, std::string_view caption_utf8) = 0;
    virtual void set_native_icon(WindowHandle w, const Bitmap& icon) = 0;
    // A modal box is up (owner disabled) or gone: the backend may tell the window manager.
    virtual void set_native_enabled(WindowHandle w, bool enabled) = 0;

    // Shows the given areas (logical units) of a top-level window's composed framebuffer (at
    // scale() times the client size).
    virtual void present(WindowHandle w, const Bitmap& framebuffer, std::span<const Rect> areas) = 0;

    // Blocks until input arrives (delivered through the window system's on_native_* calls) or
    // until the monotonic clock reaches `deadline_ms` (none: no timer is due). The headless
    // backend instead jumps its virtual clock to the deadline when it has no scheduled input.
    // A deadline at or before now makes wait() a poll: it delivers the input already there.
    virtual void wait(std::optional<std::uint64_t> deadline_ms) = 0;
    // Wakes a wait() from any thread (thread-safe).
    virtual void wake() = 0;
    // False when no input can ever arrive again (the headless backend with nothing scheduled):
    // a loop with no timer running then returns instead of waiting for ever.
    virtual bool can_receive_input() = 0;
};

} // namespace tav::platform
