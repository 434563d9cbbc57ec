#pragma once
// What a control hands to the event dispatch when it raises an event, and who receives it.

#include <array>
#include <cstdint>

namespace tav {

// One raised event: the source, the event number, up to five 32-bit arguments, and the
// handler's result when one ran and produced one.
struct EventNotice {
    static constexpr int kMaxArguments = 5;

    std::uint32_t window_id = 0;
    std::uint32_t control_id = 0; // 0 = the window itself
    std::int32_t event = 0;       // kind event (0 and up) or common event (negative)
    std::int32_t argument_count = 0;
    std::array<std::int32_t, kMaxArguments> arguments{};
    bool has_result = false;
    std::int32_t result = 0;
};

namespace ui {

// The receiver of a control's events and lifecycle notes: the runtime implements it.
class EventSink {
public:
    virtual ~EventSink() = default;
    // Runs the handler bound to the notice's event, if any, synchronously.
    virtual void raise_event(EventNotice& notice) = 0;
    // True while handlers are held back (a window is being built or a control re-created).
    virtual bool events_suppressed() const = 0;
    // The top-level window of `window_id` has been destroyed.
    virtual void window_destroyed(std::uint32_t window_id) = 0;
    // A key went down that neither the focused control nor the window system used (a focused
    // push button keeps Space and Enter, Tab moves the focus) and reached the window
    // `window_id`; true when it was taken as a keyboard accelerator. None by default.
    virtual bool window_key(std::uint32_t window_id, int vk, std::uint32_t keys) {
        (void)window_id;
        (void)vk;
        (void)keys;
        return false;
    }
};

} // namespace ui
} // namespace tav
