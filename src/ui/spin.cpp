// The Spin kind's model and painting: which arrow is hit, capture and the repeat timer, the arrows' states.
#include "ui/spin.hpp"

#include <array>

#include "ui/services.hpp"
#include "ui/standard_looks.hpp"

namespace tav::ui {
namespace {

constexpr auto kProperties = with_common(std::array<PropertySpec, 2>{
    pick_prop(1, 1),  // 8 Orientation (1 vertical)
    bool_prop(false), // 9 HotTrack
});

} // namespace

Spin::Spin() : Control(*find_kind(kind_id::kSpin)) {}

std::span<const PropertySpec> Spin::properties() { return kProperties; }

bool Spin::apply_property(int local, const Value& old) {
    // Orientation and hot tracking are styles of the native control: a change re-creates it.
    return (local == kOrientation || local == kHotTrack) && !same_stored_value(old, prop(local));
}

Spin::Arrow Spin::arrow_at(Point p) const {
    if (!has_window()) return Arrow::None;
    const Size s = system().client_size(handle());
    if (!Rect{0, 0, s.width, s.height}.contains(p)) return Arrow::None;
    if (vertical()) return p.y < s.height / 2 ? Arrow::Increase : Arrow::Decrease;
    return p.x >= s.width / 2 ? Arrow::Increase : Arrow::Decrease;
}

void Spin::adjust(Arrow arrow) { raise(kAdjust, {arrow == Arrow::Increase ? 1 : -1}); }

void Spin::on_mouse_down(platform::MouseButton b, Point p, std::uint32_t) {
    if (b != platform::MouseButton::Left || !has_window() || !system().is_enabled(handle())) return;
    const Arrow arrow = arrow_at(p);
    if (arrow == Arrow::None) return;
    pressed_ = hot_ = arrow;
    system().set_capture(handle());
    system().set_timer(handle(), kRepeatTimerId, kFirstRepeatMs);
    repaint();
    adjust(arrow);
}

void Spin::on_mouse_move(Point p, std::uint32_t) {
    const Arrow now = arrow_at(p);
    if (now == hot_) return;
    hot_ = now;
    repaint();
}

void Spin::on_mouse_up(platform::MouseButton b, Point, std::uint32_t) {
    if (b != platform::MouseButton::Left || pressed_ == Arrow::None) return;
    stop();
    if (has_window() && system().capture() == handle()) system().release_capture();
}

void Spin::on_mouse_leave() {
    if (hot_ == Arrow::None || pressed_ != Arrow::None) return;
    hot_ = Arrow::None;
    repaint();
}

void Spin::on_capture_lost() { stop(); }

void Spin::stop() {
    if (pressed_ == Arrow::None) return;
    pressed_ = Arrow::None;
    if (has_window()) system().kill_timer(handle(), kRepeatTimerId);
    repaint();
}

void Spin::on_timer(int timer_id) {
    if (timer_id != kRepeatTimerId || pressed_ == Arrow::None) return;
    // The release may have gone elsewhere (a box that opened from the handler took it).
    if (!system().button_held(platform::MouseButton::Left)) {
        stop();
        if (system().capture() == handle()) system().release_capture();
        return;
    }
    system().set_timer(handle(), kRepeatTimerId, kRepeatMs);
    // The repeat pauses while the pointer is off the held arrow, as the native control does.
    if (hot_ == pressed_) adjust(pressed_);
}

platform::WindowHandle Spin::create_window(const Rect& rect) {
    theme_.join(services().themes);
    return Control::create_window(rect);
}

// --- Painting: The arrow pair's state gathered for the classic or themed look.

void Spin::on_paint(Painter& p) {
    if (!has_window()) return;
    UpDownLook look;
    look.vertical = vertical();
    look.enabled = system().is_enabled(handle());
    // The upper arrow of a vertical control and the right arrow of a horizontal one step up.
    const Arrow first = look.vertical ? Arrow::Increase : Arrow::Decrease;
    const Arrow second = look.vertical ? Arrow::Decrease : Arrow::Increase;
    look.first_pressed = pressed_arrow() == first;
    look.second_pressed = pressed_arrow() == second;
    look.first_hot = hot_arrow() == first;
    look.second_hot = hot_arrow() == second;
    look.scheme = services().themes.scheme();
    paint_up_down(p, system().client_size(handle()), look);
}

} // namespace tav::ui
