#pragma once
// A backend with no display, for tests and benchmarks: a virtual clock that moves only when the
// loop waits (or when a test advances it), input injected at once or scheduled at virtual times,
// and a record of what was presented.
//
// wait(deadline) jumps the clock to the earliest of the deadline, the next scheduled input and
// the limit of run_until()/run_for(), then delivers the input due by then. With none of these it
// returns at once and can_receive_input() is false, so WindowSystem::run() returns rather than
// hang (unless set_wait_for_threads(true): then it blocks in real time until wake()).
//
// It plays the window manager for start states: a window first shown maximised is given the
// whole screen when the loop next waits, through WindowSystem::on_native_placed().

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/calendar.hpp"
#include "platform/backend.hpp"

namespace tav::platform {

class HeadlessBackend final : public Backend {
public:
    // The screen top-level windows are placed on.
    static constexpr Size kScreenSize{1280, 1024};

    // What the backend knows of a native top-level window.
    struct Native {
        bool visible = false;
        bool enabled = true;
        Point position;
        Size client;
        std::string caption; // UTF-8
        TopLevelStyle style;
        Size icon; // the size of the icon set last (0 x 0: none)
        bool shown_once = false;
        bool minimised = false; // shown minimised (a start state); nothing here restores it
    };

    // A backend drawing at `scale` target pixels per logical unit (clamped to 1..3).
    explicit HeadlessBackend(int scale = 1);

    // --- Backend ---
    int scale() const override { return scale_; }
    void attach(WindowSystem& system) override;
    std::uint64_t now_ms() override;
    Size screen_size() override;
    Size frame_size(const TopLevelStyle& style) override;
    bool create_native(WindowHandle w, Size client, const TopLevelStyle& style, std::string_view caption_utf8) override;
    void destroy_native(WindowHandle w) override;
    void show_native(WindowHandle w, bool visible, Point screen_pos) override;
    void move_native(WindowHandle w, Point screen_pos, Size client) override;
    void set_native_caption(WindowHandle w, std::string_view caption_utf8) override;
    void set_native_icon(WindowHandle w, const Bitmap& icon) override;
    void set_native_enabled(WindowHandle w, bool enabled) override;
    void present(WindowHandle w, const Bitmap& framebuffer, std::span<const Rect> areas) override;
    void wait(std::optional<std::uint64_t> deadline_ms) override;
    void wake() override;
    bool can_receive_input() override;

    // --- Test side: input now (queued in the window system at once) ---
    WindowSystem& system();
    void mouse_down(WindowHandle top, Point client, MouseButton b = MouseButton::Left);
    void mouse_up(WindowHandle top, Point client, MouseButton b = MouseButton::Left);
    void mouse_move(WindowHandle top, Point client);
    void click(WindowHandle top, Point client, MouseButton b = MouseButton::Left); // down, then up
    void key_down(WindowHandle top, int vk);
    void key_up(WindowHandle top, int vk);
    void press_key(WindowHandle top, int vk); // down, then up
    void type_char(WindowHandle top, std::uint32_t character);
    void request_close(WindowHandle top);
    // A click at native pixel `native` of the window's client area (scale() times the logical
    // size), divided by the scale as a real backend does before the window system sees it.
    void click_native(WindowHandle top, Point native, MouseButton b = MouseButton::Left);
    // The logical client point of native pixel `native` (each coordinate divided by the scale,
    // rounding down).
    Point from_native(Point native) const;
    void request_session_end(); // as a SIGTERM or a log-off does

    // --- Test side: input at a virtual time (delivered when the loop waits and the clock gets there) ---
    void schedule(std::uint64_t at_ms, std::function<void()> input);
    void schedule_click(WindowHandle top, Point client, MouseButton b, std::uint64_t at_ms);
    void schedule_mouse_move(WindowHandle top, Point client, std::uint64_t at_ms);
    void schedule_key(WindowHandle top, int vk, bool down, std::uint64_t at_ms);

    // --- Test side: time ---
    // Moves the clock on at once, as if the code now running took `ms` (a blocking handler).
    void advance(std::uint64_t ms);
    // How far past the end of run_until() a loop nested in it (a message box left open) may run
    // before wait() throws std::runtime_error rather than let a test hang.
    static constexpr std::uint64_t kOverrunMs = 10 * 60 * 1000;
    // Runs the loop until `done()` holds or `max_virtual_ms` have passed (then what is due at
    // that moment still runs); returns done().
    bool run_until(const std::function<bool()>& done, std::uint64_t max_virtual_ms);
    // Runs the loop for `ms` of virtual time, ticks due at the end included (less if a quit ends it).
    void run_for(std::uint64_t ms);
    // With nothing scheduled and no timer, wait for wake() in real time (for posts from threads).
    void set_wait_for_threads(bool on);
    // A wall clock that reads `start` plus the virtual time since this call (or stays at `start`
    // when `running` is false); give it as the runtime's wall clock.
    std::function<LocalTime()> wall_clock(LocalTime start, bool running = true);

    // --- Test side: what was shown ---
    std::size_t present_count() const { return present_count_; }
    const std::vector<Rect>& last_present_areas() const { return last_areas_; }
    const Native* native(WindowHandle w) const;

private:
    void deliver_due_input();

    int scale_ = 1;
    WindowSystem* system_ = nullptr;
    std::atomic<std::uint64_t> now_{0};
    std::multimap<std::uint64_t, std::function<void()>> scheduled_;
    std::optional<std::uint64_t> limit_; // the end of the innermost run_until()/run_for()
    std::map<WindowHandle, Native> natives_;
    std::size_t present_count_ = 0;
    std::vector<Rect> last_areas_;

    bool wait_for_threads_ = false;
    std::mutex wake_mutex_;
    std::condition_variable wake_cv_;
    bool woken_ = false;
};

} // namespace tav::platform
