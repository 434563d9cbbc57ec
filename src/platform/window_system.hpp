#pragma once
// Our window system: a tree of top-level and child windows with z-order, shapes, capture,
// focus, invalidation and painting, a message queue with timers, and nested message loops.
// It runs on one UI thread; only post_message_threadsafe() and request_quit_threadsafe() may be
// called from other threads. A Backend (SDL desktop or headless) supplies time, input and screens.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"
#include "platform/input.hpp"
#include "platform/window_delegate.hpp"

namespace tav::platform {

class Backend;

// Names a window; 0 is no window. Handles are never reused while the system lives.
using WindowHandle = std::uint32_t;
inline constexpr WindowHandle kNoWindow = 0;

// The shortest timer period; shorter ones are raised to it, as the desktop's timers do.
inline constexpr int kMinTimerPeriodMs = 10;

// How a top-level window is first shown.
enum class StartState { Normal, Minimised, Maximised };

// How a top-level window is framed; the backend turns this into a native window.
struct TopLevelStyle {
    bool title_bar = true;
    bool close_box = true;
    bool minimise_box = false;
    bool maximise_box = false;
    bool resizable = false;
    bool tool_window = false; // a tool window's smaller title bar, no taskbar entry
    bool client_edge = false; // a 2-px sunken edge around the client area, part of the frame
    bool movable = true;      // false: the window offers no moving (no Move in its menu)
    bool top_most = false;    // kept above every ordinary window
    bool centred = false;     // placed in the middle of the screen (or of `owner`) when first shown
    // Maximised only takes on a resizable window; the window manager's new size then comes back
    // through on_native_placed().
    StartState start_state = StartState::Normal;
    bool modal_dialog = false; // a message box: the backend marks it modal for the window manager
    // A dialog of this top-level window: kept above it and centred on it; while the owner is
    // disabled, activating or clicking the owner hands the keyboard to the dialog. kNoWindow:
    // an ordinary top-level window.
    WindowHandle owner = kNoWindow;
};

// What the message loop hands to an input hook before dispatching an input message.
struct InputMessage {
    enum class Type { MouseDown, MouseUp, DoubleClick, MouseMove, Wheel, KeyDown, KeyUp, Char };
    Type type = Type::MouseMove;
    WindowHandle target = kNoWindow; // the window the message is aimed at
    MouseButton button = MouseButton::Left;
    Point pos;   // client coordinates of `target`
    int key = 0; // virtual key code (KeyDown/KeyUp) or character (Char)
    int wheel_delta = 0;
    std::uint32_t keys = 0; // KeyState bits at the time of the input
};

class WindowSystem {
public:
    // Takes ownership of the backend. There is one window system per UI thread.
    explicit WindowSystem(std::unique_ptr<Backend> backend);
    // Destroys the windows still there without calling their delegates (which may be gone).
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    Backend& backend();

    // --- Windows -------------------------------------------------------------------------
    // Creates a hidden top-level window whose client area has `client` size, titled in UTF-8.
    WindowHandle create_top_level(WindowDelegate& delegate, Size client, const TopLevelStyle& style,
                                  std::string_view caption_utf8);
    // Creates a hidden child of `parent` at `rect` (parent client coordinates), topmost among its siblings.
    WindowHandle create_child(WindowHandle parent, WindowDelegate& delegate, const Rect& rect);
    // Destroys the window and its children (children first, each told on_destroy()).
    void destroy(WindowHandle w);
    bool exists(WindowHandle w) const;

    // The top-level windows that exist, in creation order: every one of the program's own.
    std::vector<WindowHandle> top_levels() const;
    WindowHandle parent(WindowHandle w) const;    // kNoWindow for a top-level window
    WindowHandle top_level(WindowHandle w) const; // the top-level window that holds `w`
    // Moves a child to another parent, keeping its rectangle; it becomes topmost there.
    void set_parent(WindowHandle w, WindowHandle new_parent);

    // Rectangle in the parent's client coordinates (top-level: the window's screen position,
    // frame included, and its client size).
    Rect rect(WindowHandle w) const;
    // Moves and sizes `w`. A top-level window whose new framebuffer cannot be allocated throws
    // AllocationFailure and keeps its old rectangle.
    void set_rect(WindowHandle w, const Rect& r);
    Size client_size(WindowHandle w) const;
    // Converts a point between the client coordinates of two windows of one top level.
    Point map_point(WindowHandle from, WindowHandle to, Point p) const;

    // Shows or hides a window; nothing happens for an unknown handle or an unchanged state.
    void show(WindowHandle w, bool visible);
    // True when the window's own visible flag is set (as a show state, not whether it can be seen).
    bool is_visible(WindowHandle w) const;
    void enable(WindowHandle w, bool enabled);
    bool is_enabled(WindowHandle w) const;
    // The title of a top-level window, in UTF-8.
    void set_caption(WindowHandle w, std::string_view caption_utf8);
    std::string caption(WindowHandle w) const;
    // Sets the window icon from 32-bit ARGB pixels (top-level windows only).
    void set_icon(WindowHandle w, const Bitmap& icon);
    // The program's icon: given to every top-level window there is and every one created later
    // (an empty bitmap: none).
    void set_program_icon(const Bitmap& icon);

    // Z-order among siblings: `w` directly behind `behind_of`; or at the top / bottom.
    void place_behind(WindowHandle w, WindowHandle behind_of);
    void bring_to_top(WindowHandle w);
    void send_to_bottom(WindowHandle w);
    // Children of `w` from the topmost to the lowest.
    std::vector<WindowHandle> children(WindowHandle w) const;

    // Shape for painting and hit-testing, in the window's client coordinates; nullopt = rectangle.
    void set_region(WindowHandle w, std::optional<Region> region);

    // Keyboard focus and tab stops. Tab moves the focus to the next visible, enabled tab stop of
    // the same top-level window in z-order from the top, each window before its children (the
    // layout puts each control behind the one before it, so this is layout order); Shift+Tab
    // goes back; both wrap. A mouse-down on a tab stop focuses it.
    void set_tab_stop(WindowHandle w, bool tab_stop);
    void set_push_button(WindowHandle w, bool push_button); // Space/Enter press it when focused
    void set_focus(WindowHandle w);
    WindowHandle focus() const;

    // Mouse capture: all mouse input goes to `w` until released. A holder that loses it to
    // another window, or by being hidden, disabled or destroyed, gets on_capture_lost (one that
    // releases it itself does not).
    void set_capture(WindowHandle w);
    void release_capture();
    WindowHandle capture() const;
    // The deepest visible, enabled-or-not window under a point of a top-level's client area.
    WindowHandle window_at(WindowHandle top_level, Point client_point) const;
    // The pointer position in `w`'s client coordinates, the held buttons and the modifier keys,
    // as of the input message being handled.
    Point cursor_pos(WindowHandle w) const;
    bool button_held(MouseButton b) const;
    std::uint32_t key_state() const;

    // --- Painting ------------------------------------------------------------------------
    // Marks `r` (client coordinates of `w`; nullopt = whole client area) for repainting.
    // Pending areas merge; painting happens later in one pass, or at once through update().
    void invalidate(WindowHandle w, std::optional<Rect> r = std::nullopt);
    // Paints every pending area of `w`'s top-level window now.
    void update(WindowHandle w);
    // The composed client pixels of a top-level window (for tests and the backend), scale()
    // times its client size.
    const Bitmap& framebuffer(WindowHandle top_level) const;
    // Target pixels per logical unit of every framebuffer (the backend's scale).
    int scale() const;

    // --- Timers --------------------------------------------------------------------------
    // Starts or restarts timer `id` of `w` with a period of `ms` (> 0; periods under
    // kMinTimerPeriodMs are raised to it, 0 or less stops the timer): the next tick comes one
    // full period from now. A tick is delivered only when no other message waits and no paint
    // is pending, and ticks that fall due while one is pending are merged into it. After a tick
    // the next one is due one period after the previous due time, or one period after the
    // delivery when that is already more than a period late (a late tick never causes a burst).
    void set_timer(WindowHandle w, int id, int ms);
    void kill_timer(WindowHandle w, int id);
    // Maps the period of every timer started afterwards (already raised to kMinTimerPeriodMs)
    // to the period it runs with, in the units of the backend's clock; an empty function (the
    // default) keeps the period as asked. Lets a tool model a coarser system tick.
    void set_timer_period_map(std::function<int(int)> map);

    // --- Messages and loops --------------------------------------------------------------
    // Posts a message to `w`'s delegate (on_posted) behind the messages already queued.
    void post_message(WindowHandle w, std::uint32_t message, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
    // The same from any thread; wakes the loop.
    void post_message_threadsafe(WindowHandle w, std::uint32_t message, std::uintptr_t wparam = 0,
                                 std::intptr_t lparam = 0);
    // Asks the running loops to end: every loop, nested ones included, returns once the message
    // being handled is done; messages still queued stay queued. The quit stays posted.
    void post_quit(int exit_code);
    // The same from any thread; wakes the loop, which posts the quit on the UI thread.
    void request_quit_threadsafe(int exit_code);
    bool quit_posted() const;
    int exit_code() const;

    // Runs the message loop until the quit message arrives, or `until()` becomes true (checked
    // before the first and after every message). Returns false when it ended by quit. Also
    // returns (true) when no timer runs and the backend says no input can ever arrive (the
    // headless backend with nothing scheduled). Used by the main loop and by modal loops alike;
    // loops nest.
    bool run(const std::function<bool()>& until = {});
    // Takes and dispatches every message already waiting (paints and due timers included), no waiting.
    void process_pending();

    // Called for every input message just before it is dispatched; returning false drops it.
    // The target is the capture, else the window under the pointer, for mouse input; the focus
    // (or, with no focus in that top-level window, the top-level itself) for keys. Input that
    // goes nowhere (over a disabled window or in a disabled top-level) does not reach the hook.
    void set_input_hook(std::function<bool(const InputMessage&)> hook);
    // Called when the loop has nothing to do, before it waits (idle processing).
    void set_idle_hook(std::function<void()> hook);

    // Milliseconds of the backend's monotonic clock (virtual in the headless backend).
    std::uint64_t now_ms() const;

    // --- Backend side --------------------------------------------------------------------
    // Input arriving from the backend (on the UI thread, usually inside Backend::wait), in a
    // top-level window's client coordinates. It is queued and dispatched by the loop in order;
    // moves not yet taken collapse into the latest.
    void on_native_mouse_button(WindowHandle top_level, MouseButton b, bool down, Point p, bool double_click = false);
    void on_native_mouse_move(WindowHandle top_level, Point p);
    void on_native_mouse_leave(WindowHandle top_level);
    void on_native_wheel(WindowHandle top_level, int delta, Point p);
    void on_native_key(WindowHandle top_level, int vk, bool down);
    void on_native_char(WindowHandle top_level, std::uint32_t character);
    // Queued like input; when taken, the top-level delegate's on_close_request() decides.
    void on_native_close_request(WindowHandle top_level);
    // The whole program is asked to end (session end, SIGTERM). Queued like input; when taken,
    // each top-level delegate's on_session_end_query() is asked in creation order and, unless
    // one refuses, the quit (exit code 0) is posted, so every loop, nested ones included, returns
    // and the program's own end runs. Unlike a close request it reaches disabled windows too.
    void on_native_session_end();
    // The whole top-level client area must be repainted (exposed).
    void on_native_expose(WindowHandle top_level);
    // The player or the window manager moved or resized a top-level window (maximising it, say):
    // its client area is now at `screen_pos` (frame corner, as set_rect() takes it) with size
    // `client`. Taken at once, without telling the backend back; the delegate hears on_moved()
    // and on_resized() as after set_rect(). A new size that cannot be allocated keeps the old
    // framebuffer and rectangle, so the window shows its old content clipped or padded.
    void on_native_placed(WindowHandle top_level, Point screen_pos, Size client);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tav::platform
