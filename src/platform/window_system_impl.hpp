#pragma once
// The private state of the window system, shared by the files that implement it
// (window_tree, message_loop, timer, painting, input_dispatch).

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/window_system.hpp"

namespace tav::platform {

// One window of the tree.
struct Window {
    WindowHandle handle = kNoWindow;
    WindowHandle parent = kNoWindow;
    WindowDelegate* delegate = nullptr;
    Rect rect; // parent client coordinates; top-level: screen, client size
    bool visible = false;
    bool enabled = true;
    bool tab_stop = false;
    bool push_button = false;
    bool destroying = false;
    std::optional<Region> region;       // client coordinates
    std::vector<WindowHandle> children; // topmost first
    std::string caption;

    // Top-level windows only.
    bool top_level = false;
    bool shown_once = false;
    TopLevelStyle style;
    Bitmap framebuffer;
    std::vector<Rect> dirty; // top-level client coordinates, few and merged
};

// A queued message: posted, input from the backend, or a close request.
struct QueuedMessage {
    enum class Kind { Posted, Input, MouseLeave, Close, SessionEnd };
    Kind kind = Kind::Posted;
    WindowHandle window = kNoWindow; // Posted: the receiver; otherwise the top-level window
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    InputMessage input; // Input: type, button, pos (top-level client), key, wheel delta
};

// A running timer of a window.
struct Timer {
    WindowHandle window = kNoWindow;
    int id = 0;
    int period_ms = 0;
    std::uint64_t due_ms = 0;
};

struct WindowSystem::Impl {
    explicit Impl(std::unique_ptr<Backend> b) : backend(std::move(b)) {}

    std::unique_ptr<Backend> backend;
    std::vector<std::unique_ptr<Window>> windows; // indexed by handle; destroyed slots are null
    std::vector<WindowHandle> top_levels;         // in creation order
    Bitmap program_icon;                          // every top-level window's icon (empty: none)

    std::deque<QueuedMessage> queue;
    std::vector<Timer> timers;

    // Posts from other threads wait here until the UI thread takes them.
    std::mutex inbox_mutex;
    std::vector<QueuedMessage> inbox;
    std::optional<int> inbox_quit;
    std::atomic<bool> inbox_pending{false};

    bool quit = false;
    int exit_code = 0;

    // Input state as of the message being dispatched.
    WindowHandle focus = kNoWindow;
    WindowHandle capture = kNoWindow;
    WindowHandle hover = kNoWindow;         // the window that took the last mouse message
    WindowHandle space_pressed = kNoWindow; // push button that took a Space key-down
    WindowHandle cursor_top = kNoWindow;
    Point cursor; // in cursor_top's client coordinates
    bool buttons[3] = {false, false, false};
    bool ctrl = false, shift = false, alt = false;

    std::function<bool(const InputMessage&)> input_hook;
    std::function<void()> idle_hook;
    std::function<int(int)> timer_period_map; // none: periods run as asked

    // --- window tree ---
    Window* find(WindowHandle w) const { return (w != kNoWindow && w < windows.size()) ? windows[w].get() : nullptr; }
    Window& top_of(const Window& w) const;
    // Offset of `w`'s client corner in its top-level's client coordinates.
    Point offset_in_top(const Window& w) const;
    // True when the window and all its ancestors are visible.
    bool can_be_seen(const Window& w) const;
    // True when the window and all its ancestors are enabled.
    bool takes_input(const Window& w) const;
    bool is_ancestor_or_self(WindowHandle ancestor, WindowHandle w) const;
    WindowHandle hit(const Window& w, Point p) const; // p in w's client coordinates; 0: w itself
    WindowHandle window_at(WindowHandle top, Point p) const;
    void unlink(Window& w);
    void destroy_tree(WindowHandle w);
    // Invalidates the area `w` covers in its parent (or all of a top-level).
    void invalidate_footprint(const Window& w);
    // Moves and sizes `w`; a top-level one gets a new framebuffer when its size changes and, when
    // `tell_backend`, its native window follows.
    void place(WindowHandle w, const Rect& r, bool tell_backend);
    // The window lost visibility or input: drops capture and focus held by it or its descendants.
    void drop_input_holders(WindowHandle w, bool focus_too);
    // A window hidden under the pointer is told the pointer left it.
    void leave_if_hidden(WindowHandle w);
    // Shows or hides `win` (handle `w`), whose state differs from `visible`.
    void change_visibility(Window& win, WindowHandle w, bool visible);

    // --- painting ---
    void invalidate_rect(const Window& w, Rect r);
    void add_dirty(Window& top, const Rect& r);
    bool paint_one(); // paints one top-level with pending areas; false when none
    void paint_top(WindowHandle top);
    // A shaped window on the way down the tree, with its client corner in top-level coordinates.
    struct Shape {
        WindowHandle window;
        Point origin;
    };
    void paint_tree(WindowHandle w, Bitmap& fb, Point origin, const Rect& clip, std::vector<Shape>& shaped);

    // --- timers ---
    std::optional<std::uint64_t> next_timer_due() const;
    bool deliver_due_timer(std::uint64_t now);
    void kill_timers_of(WindowHandle w);

    // --- messages and loops ---
    void drain_inbox();
    bool take_message(); // dispatches one queued message; false when the queue is empty
    // One step of work without waiting: a message, a paint or a due timer (after polling input).
    bool step();
    void enqueue_input(WindowHandle top, const InputMessage& input);

    // --- input ---
    void dispatch_input(const QueuedMessage& m);
    void dispatch_mouse(WindowHandle top, const InputMessage& in);
    void dispatch_key(WindowHandle top, const InputMessage& in);
    void mouse_leave_to(WindowHandle new_hover);
    void set_focus(WindowHandle w);
    void set_capture(WindowHandle w, bool notify_old);
    void move_tab_focus(WindowHandle top, bool backwards);
    std::uint32_t modifiers() const;
    Point screen_origin(const Window& w) const;
};

} // namespace tav::platform
