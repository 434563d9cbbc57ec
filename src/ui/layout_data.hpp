#pragma once
// Layout data: the windows a program can load, each with its controls in layout order, their
// stored property data and event bindings, and the stacking order applied once all exist.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/value.hpp"
#include "gfx/geometry.hpp"

namespace tav::ui {

// The control id under which a window lists itself among its own controls.
inline constexpr std::uint32_t kWindowSelfControlId = 0x06010000;

// An event handler: takes the event's arguments, may produce a result.
using Handler = std::function<std::optional<std::int32_t>(std::span<const std::int32_t> arguments)>;

// One (event index, handler) pair; an empty handler is an unbound event.
struct EventBinding {
    std::int32_t event = 0;
    Handler handler;
};

// One control as the layout describes it.
struct ControlTemplate {
    std::uint32_t id = 0;   // 0x1601xxxx, or kWindowSelfControlId for the window
    std::uint32_t kind = 0; // a kind_id
    std::string name;       // as the layout names it (UTF-8, e.g. "标签9")
    Rect rect;              // left, top, outer width, outer height in the parent's client area
    bool visible = true;
    bool disabled = false;
    bool tab_stop = false;
    Text tag;            // common property 4
    Value mouse_pointer; // common property 7 (Absent: the default cursor)
    // The kind's own properties by local index (global − 8); a missing or Absent entry
    // leaves the property at its default.
    std::vector<Value> properties;
    std::vector<EventBinding> events;
    std::uint32_t parent = 0; // id of the container control it sits in; 0 = the window
};

// One window: its own control (kind window, id kWindowSelfControlId) first or anywhere in
// `controls`, every control in layout order, and the stacking list (topmost first).
struct WindowTemplate {
    std::uint32_t id = 0;
    std::vector<ControlTemplate> controls;
    std::vector<std::uint32_t> stacking;

    // The window's own entry; nullptr when missing.
    const ControlTemplate* self() const {
        for (const auto& c : controls)
            if (c.id == kWindowSelfControlId) return &c;
        return nullptr;
    }
};

// Everything a program loads.
struct LayoutData {
    std::vector<WindowTemplate> windows;
    std::uint32_t startup_window = 0;
};

} // namespace tav::ui
