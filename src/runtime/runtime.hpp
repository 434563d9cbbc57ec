#pragma once
// The runtime between the window system and the game: loaded windows with their controls,
// event dispatch to the bound handlers, property access by number, re-creation of controls,
// fatal errors and the end of the program. One runtime per UI thread; the free functions at
// the bottom address the current one. The runtime owns the services its windows use (clock,
// random source, caches, sound output, themed look, message-box observer; ui/services.hpp)
// and hands them down to every control it makes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/allocation_failure.hpp"
#include "core/value.hpp"
#include "platform/window_system.hpp"
#include "ui/control.hpp"
#include "ui/event_notice.hpp"
#include "ui/layout_data.hpp"
#include "ui/services.hpp"

namespace tav {

namespace platform {
class Backend;
}
namespace ui {
class WindowControl;
}

class Runtime final : public ui::EventSink {
public:
    // Which control's event is being handled.
    struct EventSource {
        std::uint32_t window_id = 0;
        std::uint32_t control_id = 0;
    };

    // Sets up the window system on `backend`, keeps a copy of `layout` and takes `services`;
    // becomes the current runtime of this thread until destroyed.
    Runtime(const ui::LayoutData& layout, std::unique_ptr<platform::Backend> backend, ui::Services services = {});
    ~Runtime() override;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // The runtime of this thread; nullptr when none exists. Inline: every property access of
    // the game starts here.
    static Runtime* current() { return current_; }

    platform::WindowSystem& windows() { return *system_; }
    ui::Services& services() { return services_; }
    const ui::LayoutData& layout() const { return layout_; }

    // --- Start-up and the loop ---------------------------------------------------------
    // Builds a window of the layout and its controls and shows it (raising Created, Moved and
    // Resized first); a window already loaded is brought forward. Failure is fatal.
    void load_window(std::uint32_t window_id);
    // Dispatches messages until the last loaded window is gone (or the quit message arrives).
    void run_message_loop();

    // --- Properties --------------------------------------------------------------------
    // The value of property `index` (0..7 common, 8 and up the kind's own) as a fresh copy;
    // Absent for none (an empty text or block) and for an index the kind does not have.
    // `sub` (a font attribute) is accepted and ignored: the whole value is returned.
    Value get_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t sub = -1);
    // Writes property `index`; the caller keeps `value`. Indices the kind lacks are ignored.
    void set_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t sub,
                      const Value& value);

    // --- Events ------------------------------------------------------------------------
    void raise_event(EventNotice& notice) override;
    bool events_suppressed() const override { return suppress_events_ > 0; }
    void window_destroyed(std::uint32_t window_id) override;
    // Keys that reach a loaded window unused go to the accelerator hook (not while handlers
    // are held back); true when it took the key.
    bool window_key(std::uint32_t window_id, int vk, std::uint32_t keys) override;
    using AcceleratorHook = std::function<bool(std::uint32_t window_id, int vk, std::uint32_t keys)>;
    void set_accelerator_hook(AcceleratorHook hook) { accelerator_hook_ = std::move(hook); }
    // The suppress_events counter: while above 0 no handler runs.
    int suppress_events() const { return suppress_events_; }
    void raise_suppress_events() { ++suppress_events_; }
    void lower_suppress_events() {
        if (suppress_events_ > 0) --suppress_events_;
    }
    // The source of the event whose handler is running; nullopt outside handlers.
    std::optional<EventSource> current_event_source() const { return source_; }

    // --- Errors and the end ------------------------------------------------------------
    // Shows the fatal error box (GBK message, code 0 = none), then ends the program with
    // exit code −1 after the end-of-program clean-up. No handler runs once the box is up.
    [[noreturn]] void report_runtime_error(std::string_view message_gbk, std::int32_t code = 0);
    // report_runtime_error with one of the fixed messages (UTF-8 in the source).
    [[noreturn]] void fatal(std::string_view message_utf8);
    // The fatal error of an allocation of `bytes` bytes that failed ("分配 %d 字节内存失败!").
    [[noreturn]] void report_allocation_failure(std::size_t bytes);
    // Runs once, whether the program ends normally or by a fatal error: holds back every
    // handler for good, runs the end-of-program hook (stopping sounds), destroys the windows.
    void end_program();
    // Asks the UI thread to end the program (safe from any thread): the message loop returns.
    void request_end_program() { system_->request_quit_threadsafe(0); }
    // What end_program runs before the windows go (the game registers the sound stop here).
    void set_end_of_program_hook(std::function<void()> hook) { end_hook_ = std::move(hook); }

    // --- Lookup (drawing, tests) -------------------------------------------------------
    // A loaded window's control (kWindowSelfControlId or 0 for the window); nullptr if none.
    ui::Control* find_control(std::uint32_t window_id, std::uint32_t control_id);
    // A loaded window's control by its layout name (UTF-8); nullptr if none.
    ui::Control* find_control_by_name(std::uint32_t window_id, std::string_view name_utf8);
    // The platform window of a loaded window; kNoWindow when not loaded.
    platform::WindowHandle window_handle_of(std::uint32_t window_id);
    bool is_loaded(std::uint32_t window_id) const;

private:
    struct LoadedControl {
        const ui::ControlTemplate* layout = nullptr;
        std::unique_ptr<ui::Control> control;
    };
    struct LoadedWindow {
        const ui::WindowTemplate* layout = nullptr;
        ui::WindowControl* self = nullptr;
        std::vector<LoadedControl> controls; // layout order, the window's own entry included
        // Every lamp step reads and writes dozens of properties, so ids are found in O(1):
        // layouts number their controls densely, and `by_offset[id - first_id]` is the
        // control with that id (the first of equal ids), or null for an unused id.
        std::uint32_t first_id = 0;
        std::vector<LoadedControl*> by_offset;
    };

    // Runs `work`; memory the runtime cannot get on the caller's behalf inside it (framebuffers,
    // scaled pictures, copies of values) is the fatal error naming the bytes asked for, or
    // `fallback_bytes` when the failure does not say.
    template <typename Work>
    decltype(auto) failing_allocations_fatally(std::size_t fallback_bytes, Work&& work) {
        try {
            return work();
        } catch (const AllocationFailure& failure) {
            report_allocation_failure(failure.bytes());
        } catch (const std::bad_alloc&) {
            report_allocation_failure(fallback_bytes);
        }
    }

    LoadedWindow* find_window(std::uint32_t window_id);
    LoadedControl* find_loaded_control(LoadedWindow& window, std::uint32_t control_id);
    // Builds the id table of a window whose controls are all made.
    static void index_controls(LoadedWindow& window);
    LoadedControl* find_by_handle(platform::WindowHandle w, LoadedWindow** window);
    bool build_window(const ui::WindowTemplate& layout);
    void raise_window_event(LoadedWindow& window, std::int32_t event);
    // Rebuilds a control from its property data at the same place, events held back.
    void recreate(ui::Control& control);
    // Raises the common mouse and key events of an input message; false drops the message.
    bool on_input(const platform::InputMessage& message);

    ui::LayoutData layout_;
    // Before the window system and the windows, so it outlives every control that uses it.
    ui::Services services_;
    std::unique_ptr<platform::WindowSystem> system_;
    std::vector<std::unique_ptr<LoadedWindow>> loaded_;
    // Destroyed windows stay here until the runtime goes: their code may still be on the stack.
    std::vector<std::unique_ptr<LoadedWindow>> destroyed_;
    int suppress_events_ = 0;
    std::optional<EventSource> source_;
    bool loop_started_ = false;
    bool ended_ = false;
    bool reporting_ = false;
    std::function<void()> end_hook_;
    AcceleratorHook accelerator_hook_;
    Runtime* previous_ = nullptr;
    static constinit thread_local Runtime* current_;
};

// --- The game's interface on the current runtime ---------------------------------------

// get_property/set_property of the current runtime (Absent / nothing without one).
Value get_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t sub = -1);
void set_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t sub,
                  const Value& value);
// Releases a value returned by get_property; none (Absent) is allowed and does nothing.
void free_value(Value& value);
void load_window(std::uint32_t window_id);
void run_message_loop();
// The fatal error of the current runtime (without one: exits with −1 at once).
[[noreturn]] void report_runtime_error(std::string_view message_gbk, std::int32_t code = 0);
// Registers what the end of the program runs first (stopping every sound).
void set_end_of_program_hook(std::function<void()> hook);
// A draw from the current runtime's random source (random_in_range of RandomSource); 0 without
// a runtime.
std::int32_t random_in_range(std::int32_t lower, std::int32_t upper);
std::int32_t random_in_range(const Value& lower, const Value& upper);
// The current local date and time from the current runtime's wall clock (the system's without
// a runtime).
double current_date_time();

} // namespace tav
