// Property access by number, fatal on an unknown window or control, and a control's window re-made in place.
#include "runtime/runtime.hpp"

#include <new>

#include "runtime/runtime_error.hpp"
#include "ui/window_control.hpp"

namespace tav {

Value Runtime::get_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t) {
    LoadedWindow* window = find_window(window_id);
    if (window == nullptr) fatal(fatal::kWindowNotLoaded);
    LoadedControl* loaded = find_loaded_control(*window, control_id);
    if (loaded == nullptr) fatal(fatal::kControlNotFound);
    ui::Control& control = *loaded->control;
    if (index < ui::kCommonPropertyCount) return control.get_common(index);

    if (!control.has_window()) fatal(fatal::kControlWindowMissing);
    const ui::PropertySpec* spec = control.kind().property(index);
    if (spec == nullptr) return Value();
    return failing_allocations_fatally(control.stored_size(index - ui::kCommonPropertyCount) + 1, [&] {
        return ui::export_property(*spec, control.get_property(index - ui::kCommonPropertyCount));
    });
}

void Runtime::set_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t,
                           const Value& value) {
    LoadedWindow* window = find_window(window_id);
    if (window == nullptr) fatal(fatal::kWindowNotLoaded);
    LoadedControl* loaded = find_loaded_control(*window, control_id);
    if (loaded == nullptr) fatal(fatal::kControlNotFound);
    ui::Control& control = *loaded->control;
    const std::size_t value_bytes = value.text().size() + value.bytes().size() + 1;
    if (index < ui::kCommonPropertyCount) {
        // A new size takes a new framebuffer.
        failing_allocations_fatally(value_bytes, [&] { control.set_common(index, value); });
        return;
    }
    if (!control.has_window()) fatal(fatal::kControlWindowMissing);
    const bool must_recreate = failing_allocations_fatally(
        value_bytes, [&] { return control.set_property(index - ui::kCommonPropertyCount, value); });
    if (must_recreate && control.has_window()) failing_allocations_fatally(value_bytes, [&] { recreate(control); });
}

void Runtime::recreate(ui::Control& control) {
    system_->process_pending();
    ++suppress_events_;
    const platform::WindowHandle old = control.handle();
    const ui::CommonData common = control.current_common();
    const std::vector<Value> data = control.write_properties();
    ui::ControlSite site = control.site();
    site.parent = system_->parent(old);
    const bool focused = system_->focus() == old;
    // The new window takes the old one's place in the z-order: behind the sibling above it.
    platform::WindowHandle above = platform::kNoWindow;
    const auto siblings = system_->children(site.parent);
    for (std::size_t i = 1; i < siblings.size(); ++i)
        if (siblings[i] == old) above = siblings[i - 1];

    control.destroy_window();
    ui::CommonData hidden = common;
    hidden.visible = false;
    if (control.create(site, hidden, data)) {
        const platform::WindowHandle fresh = control.handle();
        if (above != platform::kNoWindow && system_->exists(above))
            system_->place_behind(fresh, above);
        else
            system_->bring_to_top(fresh);
        if (common.visible) control.show(true);
        if (focused) system_->set_focus(fresh);
    }
    system_->process_pending();
    --suppress_events_;
    if (!control.has_window()) fatal(fatal::kControlWindowMissing);
}

Value get_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t sub) {
    Runtime* rt = Runtime::current();
    return rt ? rt->get_property(window_id, control_id, index, sub) : Value();
}

void set_property(std::uint32_t window_id, std::uint32_t control_id, std::int32_t index, std::int32_t sub,
                  const Value& value) {
    if (Runtime* rt = Runtime::current()) rt->set_property(window_id, control_id, index, sub, value);
}

void free_value(Value& value) { value = Value(); }

} // namespace tav
