// The Button kind's model and painting: properties, pressing with capture, hot and focus repaints, its look.
#include "ui/button.hpp"

#include <array>

#include "ui/services.hpp"
#include "ui/standard_looks.hpp"

namespace tav::ui {
namespace {

constexpr auto kProperties = with_common(std::array<PropertySpec, 6>{
    typed_prop(PropertyType::Picture), // 8 Picture
    pick_prop(1),                      // 9 ButtonType
    text_prop(),                       // 10 Caption
    pick_prop(2, 1),                   // 11 HAlign
    pick_prop(2, 1),                   // 12 VAlign
    typed_prop(PropertyType::Font),    // 13 Font
});

} // namespace

Button::Button() : Control(*find_kind(kind_id::kButton)) {}

std::span<const PropertySpec> Button::properties() { return kProperties; }

platform::WindowHandle Button::create_window(const Rect& rect) {
    theme_.join(services().themes);
    const auto w = Control::create_window(rect);
    if (w != platform::kNoWindow) system().set_push_button(w, true);
    return w;
}

bool Button::apply_property(int local, const Value& old) {
    if (local == kPicture) return !same_stored_value(old, prop(kPicture));
    repaint();
    return false;
}

bool Button::inside(Point p) const {
    const Size s = system().client_size(handle());
    return Rect{0, 0, s.width, s.height}.contains(p);
}

void Button::set_pressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    repaint();
}

void Button::on_mouse_down(platform::MouseButton b, Point, std::uint32_t) {
    if (b != platform::MouseButton::Left || !has_window() || !system().is_enabled(handle())) return;
    system().set_focus(handle());
    system().set_capture(handle());
    tracking_ = true;
    set_pressed(true);
}

void Button::on_mouse_move(Point p, std::uint32_t) {
    if (tracking_) set_pressed(inside(p));
    const bool hot = inside(p) && !system().button_held(platform::MouseButton::Left);
    if (hot != hot_) {
        hot_ = hot;
        repaint();
    }
}

void Button::on_mouse_leave() {
    if (!hot_) return;
    hot_ = false;
    repaint();
}

void Button::on_focus_in() {
    Control::on_focus_in();
    repaint();
}

void Button::on_focus_out() {
    Control::on_focus_out();
    repaint();
}

void Button::on_mouse_up(platform::MouseButton b, Point p, std::uint32_t) {
    if (b != platform::MouseButton::Left || !tracking_) return;
    tracking_ = false;
    const bool click = inside(p);
    set_pressed(false);
    if (has_window() && system().capture() == handle()) system().release_capture();
    if (click) raise(kClick);
}

void Button::on_capture_lost() {
    tracking_ = false;
    set_pressed(false);
}

void Button::on_activate_key() {
    if (has_window() && system().is_enabled(handle())) raise(kClick);
}

void Button::on_enabled_changed(bool) { repaint(); }

// --- Painting: The push button's state gathered for the classic or themed look.

void Button::on_paint(Painter& p) {
    if (!has_window()) return;
    PushButtonLook look;
    look.caption_gbk = caption().view();
    look.font = prop_bytes(kFont);
    look.halign = prop_int(kHAlign);
    look.valign = prop_int(kVAlign);
    look.enabled = system().is_enabled(handle());
    look.focused = system().focus() == handle();
    look.hot = hot_;
    look.pressed = pressed_;
    look.is_default = is_default();
    look.picture = picture_.sync(*services().pictures, picture());
    look.scheme = services().themes.scheme();
    look.fonts = services().fonts.get();
    paint_push_button(p, system().client_size(handle()), look);
}

} // namespace tav::ui
