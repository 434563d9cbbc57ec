#pragma once
// The base of every control: stored property data, the four kind operations, the common
// properties 0..7, and the raising of events through the runtime's EventSink.
// A kind derives from Control, lists its own properties in its kind table, and overrides the
// hooks it needs (making its platform window, applying a changed property, its input).
// Drawing is added per kind by overriding WindowDelegate::on_paint.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "core/value.hpp"
#include "platform/window_system.hpp"
#include "ui/control_kind.hpp"
#include "ui/event_notice.hpp"

namespace tav::ui {

struct Services;

// Where a control lives and whom it tells about its events.
struct ControlSite {
    platform::WindowSystem* system = nullptr;
    Services* services = nullptr; // the runtime's fonts, pictures, themed look and the rest
    EventSink* events = nullptr;
    std::uint32_t window_id = 0;
    std::uint32_t control_id = 0;                        // quoted in notices; 0 for the window itself
    platform::WindowHandle parent = platform::kNoWindow; // kNoWindow: the control is a top-level window
};

// The common properties as stored with a control.
struct CommonData {
    Rect rect; // outer rectangle in the parent's client area (window: screen position)
    Text tag;
    bool visible = true;
    bool disabled = false;
    bool tab_stop = false;
    Value mouse_pointer; // Integer cursor number or Bytes of a cursor file; Absent: default
};

class Control : public platform::WindowDelegate {
public:
    explicit Control(const ControlKind& kind);
    // Destroys the platform window if it still exists (no events).
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlKind& kind() const { return kind_; }
    const ControlSite& site() const { return site_; }
    platform::WindowHandle handle() const { return handle_; }
    bool has_window() const;

    // --- The four kind operations ------------------------------------------------------
    // Create: takes the stored property data (by local index; Absent = default) and makes the
    // platform window, hidden, disabled and with a tab stop as `common` says. False on failure.
    bool create(const ControlSite& site, const CommonData& common, std::span<const Value> data);
    // Set own property `local` (global − 8): stores the value in its type's form, applies it,
    // and returns true when the control must be re-created. Unknown indices are ignored.
    virtual bool set_property(int local, const Value& value);
    // Get own property `local` in its stored form; Absent for an index the kind lacks.
    virtual Value get_property(int local) const;
    // Bytes held by own property `local` (text or block length; 0 for other types).
    std::size_t stored_size(int local) const;
    // All own property data, in the form create() takes.
    virtual std::vector<Value> write_properties() const;

    // --- Common properties (0..7) ------------------------------------------------------
    // The current value of a common property (geometry and flags from the platform window
    // when it exists, else stored).
    Value get_common(int index) const;
    // Clamps, applies and stores a common property.
    void set_common(int index, const Value& value);
    // The common data as it is now (what a re-creation starts from).
    CommonData current_common() const;

    // Shows or hides the control as common Visible does (the window raises Shown/Hidden).
    virtual void show(bool visible);
    // Destroys the platform window (the window kind raises Destroying first).
    virtual void destroy_window();

    // Outer rectangle in the parent's client area (the window: screen position, outer size).
    virtual Rect outer_rect() const;
    virtual void set_outer_rect(const Rect& r);

    // WindowDelegate: the second press of a double click presses the control again, focus
    // changes raise GotFocus/LostFocus, destruction forgets the handle.
    void on_double_click(platform::MouseButton b, Point p, std::uint32_t keys) override { on_mouse_down(b, p, keys); }
    void on_focus_in() override;
    void on_focus_out() override;
    void on_destroy() final;

protected:
    // Makes the platform window (hidden) at `rect`; the default is a plain child window.
    virtual platform::WindowHandle create_window(const Rect& rect);
    // Runs once the window exists and every stored property is in place.
    virtual void on_created() {}
    // A set changed own property `local` (its old value given): apply it, answer re-create.
    // The default repaints the control.
    virtual bool apply_property(int local, const Value& old);
    // The platform window has been destroyed.
    virtual void on_window_destroyed() {}
    // False for kinds that never show their platform window (Timer).
    virtual bool shows_window() const { return true; }

    // Stored own values by local index.
    const Value& prop(int local) const { return props_[static_cast<std::size_t>(local)]; }
    std::int32_t prop_int(int local) const { return prop(local).as_integer(); }
    bool prop_bool(int local) const { return prop(local).as_bool(); }
    const Text& prop_text(int local) const { return prop(local).text(); }
    std::span<const std::uint8_t> prop_bytes(int local) const { return prop(local).bytes(); }
    // Replaces a stored value without applying it (the kind keeps it in its type's form).
    void store(int local, Value v) { props_[static_cast<std::size_t>(local)] = std::move(v); }

    platform::WindowSystem& system() const { return *site_.system; }
    Services& services() const { return *site_.services; }
    // Raises event `event` with `args`; the notice comes back with the handler's result.
    EventNotice raise(std::int32_t event, std::initializer_list<std::int32_t> args = {});
    // Repaints the whole control when it has a window.
    void repaint();

    const CommonData& stored_common() const { return common_; }
    // Keeps `r` as the stored rectangle without moving the platform window.
    void remember_rect(const Rect& r) { common_.rect = r; }

private:
    const ControlKind& kind_;
    ControlSite site_;
    CommonData common_;
    std::vector<Value> props_;
    platform::WindowHandle handle_ = platform::kNoWindow;
};

} // namespace tav::ui
