// What all controls share: creation from stored data, own properties by number, the common ones, events.
#include "ui/control.hpp"

#include <algorithm>

#include "core/conversions.hpp"

namespace tav::ui {
namespace {

std::int32_t clamp_position(std::int32_t v) { return std::clamp(v, -kGeometryLimit, kGeometryLimit); }
std::int32_t clamp_extent(std::int32_t v) { return std::clamp(v, 0, kGeometryLimit); }

} // namespace

Control::Control(const ControlKind& kind) : kind_(kind) {}

Control::~Control() {
    if (has_window()) site_.system->destroy(handle_);
}

bool Control::has_window() const {
    return handle_ != platform::kNoWindow && site_.system != nullptr && site_.system->exists(handle_);
}

bool Control::create(const ControlSite& site, const CommonData& common, std::span<const Value> data) {
    site_ = site;
    common_ = common;
    common_.rect.x = clamp_position(common_.rect.x);
    common_.rect.y = clamp_position(common_.rect.y);
    common_.rect.width = clamp_extent(common_.rect.width);
    common_.rect.height = clamp_extent(common_.rect.height);
    const int own = kind_.own_property_count();
    props_.clear();
    props_.reserve(static_cast<std::size_t>(own));
    for (int i = 0; i < own; ++i) {
        const PropertySpec& spec = *kind_.own_property(i);
        const auto at = static_cast<std::size_t>(i);
        if (at < data.size() && !data[at].absent())
            props_.push_back(normalize_property(spec, data[at]));
        else
            props_.push_back(default_property(spec));
    }
    handle_ = create_window(common_.rect);
    if (handle_ == platform::kNoWindow) return false;
    if (common_.disabled) system().enable(handle_, false);
    if (common_.tab_stop) system().set_tab_stop(handle_, true);
    on_created();
    return true;
}

platform::WindowHandle Control::create_window(const Rect& rect) {
    if (site_.parent == platform::kNoWindow) return platform::kNoWindow;
    return system().create_child(site_.parent, *this, rect);
}

bool Control::set_property(int local, const Value& value) {
    const PropertySpec* spec = kind_.own_property(local);
    if (spec == nullptr) return false;
    Value old = std::exchange(props_[static_cast<std::size_t>(local)], normalize_property(*spec, value));
    return apply_property(local, old);
}

Value Control::get_property(int local) const {
    if (kind_.own_property(local) == nullptr) return Value();
    return prop(local);
}

std::vector<Value> Control::write_properties() const { return props_; }

std::size_t Control::stored_size(int local) const {
    if (kind_.own_property(local) == nullptr) return 0;
    return prop(local).text().size() + prop(local).bytes().size();
}

bool Control::apply_property(int, const Value&) {
    repaint();
    return false;
}

void Control::repaint() {
    if (has_window()) system().invalidate(handle_);
}

Rect Control::outer_rect() const {
    if (has_window()) return system().rect(handle_);
    return common_.rect;
}

void Control::set_outer_rect(const Rect& r) {
    common_.rect = r;
    if (has_window()) system().set_rect(handle_, r);
}

Value Control::get_common(int index) const {
    const bool live = has_window();
    switch (index) {
        case kLeft: return Value::of_integer(outer_rect().x);
        case kTop: return Value::of_integer(outer_rect().y);
        case kWidth: return Value::of_integer(outer_rect().width);
        case kHeight: return Value::of_integer(outer_rect().height);
        case kTag: return common_.tag.empty() ? Value() : Value::of_text(common_.tag);
        case kVisible: return Value::of_bool(live && shows_window() ? system().is_visible(handle_) : common_.visible);
        case kDisabled: return Value::of_bool(live ? !system().is_enabled(handle_) : common_.disabled);
        case kMousePointer:
            if (common_.mouse_pointer.is(ValueKind::Bytes) && common_.mouse_pointer.bytes().empty()) return Value();
            return common_.mouse_pointer.absent() ? Value::of_integer(0) : common_.mouse_pointer;
        default: return Value();
    }
}

void Control::set_common(int index, const Value& value) {
    const auto number = [&] { return normalize_property(int_prop(), value).as_integer(); };
    // Only the geometry cases need the rectangle; visibility changes at every lamp step.
    const auto resize = [&](auto change) {
        Rect r = outer_rect();
        change(r);
        set_outer_rect(r);
    };
    switch (index) {
        case kLeft:
            resize([&](Rect& r) { r.x = clamp_position(number()); });
            repaint();
            break;
        case kTop:
            resize([&](Rect& r) { r.y = clamp_position(number()); });
            repaint();
            break;
        case kWidth: resize([&](Rect& r) { r.width = clamp_extent(number()); }); break;
        case kHeight: resize([&](Rect& r) { r.height = clamp_extent(number()); }); break;
        case kTag: common_.tag = normalize_property(text_prop(), value).text(); break;
        case kVisible: show(truth_of(value)); break;
        case kDisabled:
            common_.disabled = truth_of(value);
            if (has_window()) system().enable(handle_, !common_.disabled);
            break;
        case kMousePointer: common_.mouse_pointer = normalize_property(typed_prop(PropertyType::Cursor), value); break;
        default: break;
    }
}

CommonData Control::current_common() const {
    CommonData c = common_;
    c.rect = outer_rect();
    if (has_window()) {
        if (shows_window()) c.visible = system().is_visible(handle_);
        c.disabled = !system().is_enabled(handle_);
    }
    return c;
}

void Control::show(bool visible) {
    common_.visible = visible;
    // The window system ignores a handle it does not have and a state the window is already
    // in, so no existence check comes first: twenty lamps are set at every step.
    if (site_.system != nullptr && handle_ != platform::kNoWindow && shows_window()) system().show(handle_, visible);
}

void Control::destroy_window() {
    if (has_window()) system().destroy(handle_);
    handle_ = platform::kNoWindow;
}

void Control::on_focus_in() { raise(-7); }
void Control::on_focus_out() { raise(-8); }

void Control::on_destroy() {
    handle_ = platform::kNoWindow;
    on_window_destroyed();
}

EventNotice Control::raise(std::int32_t event, std::initializer_list<std::int32_t> args) {
    EventNotice notice;
    notice.window_id = site_.window_id;
    notice.control_id = site_.control_id;
    notice.event = event;
    for (std::int32_t a : args) {
        if (notice.argument_count == EventNotice::kMaxArguments) break;
        notice.arguments[static_cast<std::size_t>(notice.argument_count++)] = a;
    }
    if (site_.events != nullptr) site_.events->raise_event(notice);
    return notice;
}

} // namespace tav::ui
