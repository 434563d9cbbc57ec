// Loading windows and their controls, finding them, raising events from input, and the program's end.
#include "runtime/runtime.hpp"

#include <algorithm>
#include <cstdint>

#include "core/gbk.hpp"
#include "platform/backend.hpp"
#include "runtime/runtime_error.hpp"
#include "ui/window_control.hpp"

namespace tav {
namespace {

// A window's id table is kept while its ids span at most this many slots per control.
constexpr std::size_t kMaxIdSpread = 16;

// Key codes as events report them: keypad digits as the main digits, keypad minus, point and
// slash as the main keyboard's.
int reported_key(int vk) {
    if (vk >= platform::vk::kNumpad0 && vk <= platform::vk::kNumpad0 + 9)
        return vk - platform::vk::kNumpad0 + platform::vk::kDigit0;
    if (vk == platform::vk::kSubtract) return platform::vk::kOemMinus;
    if (vk == platform::vk::kDecimal) return platform::vk::kOemPeriod;
    if (vk == platform::vk::kDivide) return platform::vk::kOem2;
    return vk;
}

// The modifier bits with the pressed modifier key itself left out.
std::int32_t reported_keys(int vk, std::uint32_t keys) {
    if (vk == platform::vk::kControl) keys &= ~std::uint32_t(platform::kKeyCtrl);
    if (vk == platform::vk::kShift) keys &= ~std::uint32_t(platform::kKeyShift);
    if (vk == platform::vk::kMenu) keys &= ~std::uint32_t(platform::kKeyAlt);
    return static_cast<std::int32_t>(keys & (platform::kKeyCtrl | platform::kKeyShift | platform::kKeyAlt));
}

// Mouse coordinates travel as the low and high 16 bits of the message, taken unsigned.
std::int32_t coordinate(int v) { return v & 0xFFFF; }

constexpr std::int32_t kLeftDown = -1, kLeftUp = -2, kDoubleClick = -3, kRightDown = -4, kRightUp = -5, kMouseMove = -6,
                       kKeyDown = -9, kKeyUp = -10, kChar = -11, kWheel = -12;
constexpr int kWheelNotch = 120;

} // namespace

Runtime::Runtime(const ui::LayoutData& layout, std::unique_ptr<platform::Backend> backend, ui::Services services)
    : layout_(layout), services_(std::move(services)),
      system_(std::make_unique<platform::WindowSystem>(std::move(backend))), previous_(current_) {
    current_ = this;
    system_->set_input_hook([this](const platform::InputMessage& m) { return on_input(m); });
}

Runtime::~Runtime() {
    ++suppress_events_;
    system_->set_input_hook({});
    // Controls go before the window system; children before their windows.
    for (auto* list : {&loaded_, &destroyed_}) {
        for (auto& w : *list) {
            for (auto it = w->controls.rbegin(); it != w->controls.rend(); ++it) {
                if (it->control.get() != w->self) it->control.reset();
            }
            w->controls.clear();
        }
        list->clear();
    }
    system_.reset();
    current_ = previous_;
}

constinit thread_local Runtime* Runtime::current_ = nullptr;

// --- Lookup ----------------------------------------------------------------------------

Runtime::LoadedWindow* Runtime::find_window(std::uint32_t window_id) {
    for (auto& w : loaded_)
        if (w->layout->id == window_id) return w.get();
    return nullptr;
}

Runtime::LoadedControl* Runtime::find_loaded_control(LoadedWindow& window, std::uint32_t control_id) {
    if (control_id == 0) control_id = ui::kWindowSelfControlId;
    const std::uint32_t offset = control_id - window.first_id;
    if (offset < window.by_offset.size()) return window.by_offset[offset];
    // Ids far from the others have no slot in the table.
    for (auto& c : window.controls)
        if (c.layout->id == control_id) return &c;
    return nullptr;
}

void Runtime::index_controls(LoadedWindow& window) {
    // The table spans the ids of the children; the window's own id (0x0601…) lies far below
    // them and, like any id outside the span, is found by the walk.
    std::uint32_t lowest = UINT32_MAX, highest = 0;
    for (const auto& c : window.controls) {
        if (c.layout->id == ui::kWindowSelfControlId) continue;
        lowest = std::min(lowest, c.layout->id);
        highest = std::max(highest, c.layout->id);
    }
    window.by_offset.clear();
    if (lowest > highest || highest - lowest >= kMaxIdSpread * window.controls.size()) return;
    window.first_id = lowest;
    window.by_offset.assign(highest - lowest + 1, nullptr);
    for (auto it = window.controls.rbegin(); it != window.controls.rend(); ++it) {
        if (it->layout->id == ui::kWindowSelfControlId) continue;
        window.by_offset[it->layout->id - lowest] = &*it;
    }
}

Runtime::LoadedControl* Runtime::find_by_handle(platform::WindowHandle handle, LoadedWindow** window) {
    for (auto& w : loaded_) {
        for (auto& c : w->controls) {
            if (c.control->handle() == handle) {
                *window = w.get();
                return &c;
            }
        }
    }
    return nullptr;
}

ui::Control* Runtime::find_control(std::uint32_t window_id, std::uint32_t control_id) {
    LoadedWindow* w = find_window(window_id);
    LoadedControl* c = w ? find_loaded_control(*w, control_id) : nullptr;
    return c ? c->control.get() : nullptr;
}

ui::Control* Runtime::find_control_by_name(std::uint32_t window_id, std::string_view name_utf8) {
    LoadedWindow* w = find_window(window_id);
    if (w == nullptr) return nullptr;
    for (auto& c : w->controls)
        if (c.layout->name == name_utf8) return c.control.get();
    return nullptr;
}

platform::WindowHandle Runtime::window_handle_of(std::uint32_t window_id) {
    LoadedWindow* w = find_window(window_id);
    return w ? w->self->handle() : platform::kNoWindow;
}

bool Runtime::is_loaded(std::uint32_t window_id) const {
    return std::any_of(loaded_.begin(), loaded_.end(),
                       [window_id](const auto& w) { return w->layout->id == window_id; });
}

// --- Loading ---------------------------------------------------------------------------

void Runtime::load_window(std::uint32_t window_id) {
    if (LoadedWindow* loaded = find_window(window_id)) {
        const auto h = loaded->self->handle();
        if (!system_->is_visible(h)) loaded->self->show(true);
        system_->set_focus(h);
        return;
    }
    const auto it = std::find_if(layout_.windows.begin(), layout_.windows.end(),
                                 [window_id](const ui::WindowTemplate& w) { return w.id == window_id; });
    if (it == layout_.windows.end()) fatal(fatal::kStartupWindowFailed);

    failing_allocations_fatally(0, [&] {
        system_->process_pending();
        ++suppress_events_;
        if (!build_window(*it)) fatal(fatal::kStartupWindowFailed);
        system_->process_pending();
        --suppress_events_;
    });

    LoadedWindow& window = *find_window(window_id);
    for (std::int32_t event : {ui::WindowControl::kCreated, ui::WindowControl::kMoved, ui::WindowControl::kResized}) {
        if (find_window(window_id) == nullptr || !window.self->has_window()) return;
        raise_window_event(window, event);
    }
    if (find_window(window_id) == nullptr || !window.self->has_window()) return;
    const platform::WindowHandle focus = system_->focus();
    if (window.layout->self()->visible) window.self->show(true);
    if (focus != platform::kNoWindow && system_->exists(focus) && system_->top_level(focus) == window.self->handle())
        system_->set_focus(focus);
}

bool Runtime::build_window(const ui::WindowTemplate& layout) {
    const ui::ControlTemplate* self = layout.self();
    if (self == nullptr || self->kind != ui::kind_id::kWindow) return false;

    auto window = std::make_unique<LoadedWindow>();
    window->layout = &layout;
    window->controls.reserve(layout.controls.size());
    for (const auto& c : layout.controls) {
        const ui::ControlKind* kind = ui::find_kind(c.kind);
        if (kind == nullptr || (c.kind == ui::kind_id::kWindow) != (&c == self)) return false;
        window->controls.push_back({&c, kind->make()});
    }
    index_controls(*window);
    const auto common_of = [](const ui::ControlTemplate& c) {
        return ui::CommonData{c.rect, c.tag, c.visible, c.disabled, c.tab_stop, c.mouse_pointer};
    };

    LoadedControl& own = *find_loaded_control(*window, ui::kWindowSelfControlId);
    window->self = static_cast<ui::WindowControl*>(own.control.get());
    ui::ControlSite site{system_.get(), &services_, this, layout.id, 0, platform::kNoWindow};
    if (!window->self->create(site, common_of(*self), self->properties)) return false;
    LoadedWindow* raw = window.get();
    loaded_.push_back(std::move(window));

    // Each new child is made topmost, so creating from the last to the first leaves the
    // first control of the layout on top.
    site.parent = raw->self->handle();
    for (auto it = raw->controls.rbegin(); it != raw->controls.rend(); ++it) {
        if (it->control.get() == raw->self) continue;
        site.control_id = it->layout->id;
        if (!it->control->create(site, common_of(*it->layout), it->layout->properties)) return false;
    }
    for (auto& c : raw->controls) {
        if (c.layout->parent == 0 || c.control.get() == raw->self) continue;
        LoadedControl* container = find_loaded_control(*raw, c.layout->parent);
        if (container != nullptr && container != &c)
            system_->set_parent(c.control->handle(), container->control->handle());
    }
    platform::WindowHandle previous = platform::kNoWindow;
    for (std::uint32_t id : layout.stacking) {
        LoadedControl* c = find_loaded_control(*raw, id);
        if (c == nullptr || c->control.get() == raw->self) continue;
        const platform::WindowHandle h = c->control->handle();
        if (previous == platform::kNoWindow || system_->parent(previous) != system_->parent(h))
            system_->bring_to_top(h);
        else
            system_->place_behind(h, previous);
        previous = h;
    }
    for (auto& c : raw->controls)
        if (c.control.get() != raw->self && c.layout->visible) c.control->show(true);
    return true;
}

void Runtime::raise_window_event(LoadedWindow& window, std::int32_t event) {
    EventNotice notice;
    notice.window_id = window.layout->id;
    notice.control_id = 0;
    notice.event = event;
    raise_event(notice);
}

void Runtime::run_message_loop() {
    loop_started_ = true;
    if (loaded_.empty()) return;
    // Paints allocate: a window grown huge fails here, however deep in a handler it grew.
    failing_allocations_fatally(0, [&] { system_->run(); });
}

void Runtime::window_destroyed(std::uint32_t window_id) {
    const auto it =
        std::find_if(loaded_.begin(), loaded_.end(), [window_id](const auto& w) { return w->layout->id == window_id; });
    if (it == loaded_.end()) return;
    destroyed_.push_back(std::move(*it));
    loaded_.erase(it);
    if (loaded_.empty() && loop_started_ && !ended_) system_->post_quit(0);
}

// --- Events ----------------------------------------------------------------------------

void Runtime::raise_event(EventNotice& notice) {
    // Once the quit is posted the program is ending: code still on the stack (a handler whose
    // box the end closed) may go on, but no further handler starts.
    if (suppress_events_ > 0 || system_->quit_posted()) return;
    LoadedWindow* window = find_window(notice.window_id);
    if (window == nullptr) fatal(fatal::kEventWindowNotFound);
    LoadedControl* control = find_loaded_control(*window, notice.control_id);
    if (control == nullptr) fatal(fatal::kEventControlNotFound);
    if (control->control == nullptr || ui::find_kind(control->control->kind().id) != &control->control->kind())
        fatal(fatal::kEventControlInvalid);

    const ui::Handler* handler = nullptr;
    for (const auto& b : control->layout->events) {
        if (b.event == notice.event) {
            handler = &b.handler;
            break;
        }
    }
    if (handler == nullptr || !*handler) return;

    const std::optional<EventSource> outer = source_;
    source_ = EventSource{notice.window_id, notice.control_id};
    const int count = std::clamp(notice.argument_count, 0, EventNotice::kMaxArguments);
    const std::optional<std::int32_t> result =
        (*handler)(std::span<const std::int32_t>(notice.arguments.data(), static_cast<std::size_t>(count)));
    source_ = outer;
    if (result) {
        notice.has_result = true;
        notice.result = *result;
    }
}

bool Runtime::window_key(std::uint32_t window_id, int vk, std::uint32_t keys) {
    if (suppress_events_ > 0 || !accelerator_hook_) return false;
    return accelerator_hook_(window_id, vk, keys);
}

bool Runtime::on_input(const platform::InputMessage& m) {
    if (suppress_events_ > 0) return true;
    LoadedWindow* window = nullptr;
    LoadedControl* control = find_by_handle(m.target, &window);
    if (control == nullptr) return true;

    EventNotice n;
    n.window_id = window->layout->id;
    n.control_id = control->control.get() == window->self ? 0 : control->layout->id;
    const auto keys =
        static_cast<std::int32_t>(m.keys & (platform::kKeyCtrl | platform::kKeyShift | platform::kKeyAlt));
    const auto mouse = [&](std::int32_t event) {
        n.event = event;
        n.arguments = {coordinate(m.pos.x), coordinate(m.pos.y), keys};
        n.argument_count = 3;
    };
    using Type = platform::InputMessage::Type;
    const bool left = m.button == platform::MouseButton::Left;
    const bool right = m.button == platform::MouseButton::Right;
    switch (m.type) {
        case Type::MouseDown:
        case Type::DoubleClick:
            if (!left && !right) return true;
            mouse(right ? kRightDown : (m.type == Type::DoubleClick ? kDoubleClick : kLeftDown));
            break;
        case Type::MouseUp:
            if (!left && !right) return true;
            mouse(left ? kLeftUp : kRightUp);
            break;
        case Type::MouseMove: mouse(kMouseMove); break;
        case Type::Wheel:
            n.event = kWheel;
            n.arguments = {m.wheel_delta / kWheelNotch, keys};
            n.argument_count = 2;
            break;
        case Type::KeyDown:
        case Type::KeyUp:
            n.event = m.type == Type::KeyDown ? kKeyDown : kKeyUp;
            n.arguments = {reported_key(m.key), reported_keys(m.key, m.keys)};
            n.argument_count = 2;
            break;
        case Type::Char:
            n.event = kChar;
            n.arguments = {m.key};
            n.argument_count = 1;
            break;
    }
    ui::Control* target = control->control.get();
    const platform::WindowHandle handle = target->handle();
    raise_event(n);
    if (!n.has_result) return true;
    if (m.type == Type::Char) {
        // A non-zero result replaces the typed character, zero swallows it.
        if (n.result != 0 && n.result != m.key && system_->exists(handle))
            target->on_char(static_cast<std::uint32_t>(n.result));
        return n.result == m.key;
    }
    return n.result != 0;
}

// --- The end ---------------------------------------------------------------------------

void Runtime::end_program() {
    ++suppress_events_;
    if (ended_) return;
    ended_ = true;
    if (end_hook_) end_hook_();
    std::vector<platform::WindowHandle> windows;
    for (auto& w : loaded_)
        if (w->self->has_window()) windows.push_back(w->self->handle());
    for (platform::WindowHandle w : windows)
        if (system_->exists(w)) system_->destroy(w);
}

// --- Free functions --------------------------------------------------------------------

void load_window(std::uint32_t window_id) {
    if (Runtime* rt = Runtime::current()) rt->load_window(window_id);
}

void run_message_loop() {
    if (Runtime* rt = Runtime::current()) rt->run_message_loop();
}

void set_end_of_program_hook(std::function<void()> hook) {
    if (Runtime* rt = Runtime::current()) rt->set_end_of_program_hook(std::move(hook));
}

std::int32_t random_in_range(std::int32_t lower, std::int32_t upper) {
    Runtime* rt = Runtime::current();
    return rt ? rt->services().random.in_range(lower, upper) : 0;
}

std::int32_t random_in_range(const Value& lower, const Value& upper) {
    Runtime* rt = Runtime::current();
    return rt ? rt->services().random.in_range(lower, upper) : 0;
}

double current_date_time() {
    Runtime* rt = Runtime::current();
    return current_date_time(rt ? rt->services().wall_clock : WallClock());
}

} // namespace tav
