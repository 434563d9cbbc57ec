// The PicBtn kind's model and painting: states from the pointer, a shape keyed out, the state's picture.
#include "ui/pic_btn.hpp"

#include <array>

#include "gfx/painter.hpp"
#include "ui/services.hpp"

namespace tav::ui {
namespace {

constexpr auto kProperties = with_common(std::array<PropertySpec, 7>{
    pick_prop(1),                                           // 8 ButtonKind
    bool_prop(false),                                       // 9 Down
    typed_prop(PropertyType::Picture),                      // 10 NormalPicture
    typed_prop(PropertyType::Picture),                      // 11 HotPicture
    typed_prop(PropertyType::Picture),                      // 12 PressedPicture
    typed_prop(PropertyType::Picture),                      // 13 DisabledPicture
    typed_prop(PropertyType::ColorOrDefault, kColorMarker), // 14 TransparentColor
});

} // namespace

PicBtn::PicBtn() : Control(*find_kind(kind_id::kPicBtn)) {}

std::span<const PropertySpec> PicBtn::properties() { return kProperties; }

bool PicBtn::enabled() const { return has_window() && system().is_enabled(handle()); }

bool PicBtn::inside(Point p) const {
    const Size s = system().client_size(handle());
    if (!Rect{0, 0, s.width, s.height}.contains(p)) return false;
    return !shape_ || shape_->contains(p);
}

std::span<const std::uint8_t> PicBtn::current_picture() const {
    const bool is_enabled = !has_window() || system().is_enabled(handle());
    if (!is_enabled && !prop_bytes(kDisabledPicture).empty()) return prop_bytes(kDisabledPicture);
    if (state_ == kHot && !prop_bytes(kHotPicture).empty()) return prop_bytes(kHotPicture);
    if (state_ == kPressed && !prop_bytes(kPressedPicture).empty()) return prop_bytes(kPressedPicture);
    return prop_bytes(kNormalPicture);
}

void PicBtn::on_created() {
    state_ = two_state() && down() ? kPressed : kNormal;
    refresh();
}

bool PicBtn::apply_property(int local, const Value&) {
    if (local == kDown || local == kButtonKind) state_ = two_state() && down() ? kPressed : kNormal;
    refresh();
    return false;
}

void PicBtn::refresh() {
    if (!has_window()) return;
    shape_ = transparent_color() == kColorMarker ? std::nullopt : build_shape();
    system().set_region(handle(), shape_);
    repaint();
}

void PicBtn::set_state(State s) {
    if (state_ == s) return;
    state_ = s;
    refresh();
}

void PicBtn::on_mouse_down(platform::MouseButton b, Point, std::uint32_t) {
    if (b != platform::MouseButton::Left || two_state() || !enabled()) return;
    system().set_capture(handle());
    set_state(kPressed);
}

void PicBtn::on_mouse_move(Point p, std::uint32_t) {
    if (!has_window()) return;
    const bool held = system().button_held(platform::MouseButton::Left);
    if (two_state() || !enabled()) {
        if (system().capture() == handle()) system().release_capture();
        return;
    }
    if (inside(p)) {
        if (system().capture() != handle()) system().set_capture(handle());
        set_state(held ? kPressed : kHot);
    } else {
        if (!held && system().capture() == handle()) system().release_capture();
        set_state(kNormal);
    }
}

void PicBtn::on_mouse_up(platform::MouseButton b, Point p, std::uint32_t) {
    if (b != platform::MouseButton::Left || !has_window()) return;
    if (system().capture() == handle()) system().release_capture();
    if (!inside(p) || !enabled()) return;
    if (two_state()) {
        store(kDown, Value::of_bool(!down()));
        set_state(down() ? kPressed : kNormal);
    } else {
        set_state(kNormal);
    }
    raise(kClick);
}

void PicBtn::on_mouse_leave() {
    if (!two_state() && has_window() && system().capture() != handle()) set_state(kNormal);
}

void PicBtn::on_enabled_changed(bool) { refresh(); }

// --- Painting: The image of the current state, composed off-screen on black.

DecodedPicture* PicBtn::current_decoded() const {
    const auto bytes = current_picture();
    if (bytes.empty()) return nullptr;
    for (int local = kNormalPicture; local <= kDisabledPicture; ++local) {
        if (prop_bytes(local).data() == bytes.data()) {
            DecodedPicture& d = pictures_[static_cast<std::size_t>(local - kNormalPicture)];
            return d.sync(*services().pictures, prop(local)) != nullptr ? &d : nullptr;
        }
    }
    return nullptr;
}

const Bitmap* PicBtn::current_image() const {
    const DecodedPicture* d = current_decoded();
    return d != nullptr ? d->image() : nullptr;
}

void PicBtn::on_paint(Painter& p) {
    if (!has_window() || p.clip_bounds().empty()) return;
    const Size size = system().client_size(handle());
    // One copy to the screen per paint, so a lamp switched at spin speed never flickers; the
    // buffer holds the part of the client area being painted.
    const Rect part = p.clip_bounds().intersected({0, 0, size.width, size.height});
    if (part.empty()) return;
    const int scale = p.scale();
    Bitmap buffer(part.width * scale, part.height * scale, rgb(0, 0, 0));
    if (DecodedPicture* picture = current_decoded()) {
        Painter off(buffer, scale);
        picture->draw_natural(off, {-part.x, -part.y});
    }
    p.blit(buffer, buffer.rect(), part.origin());
}

// --- Shape

// Runs of pixels that differ from the transparent colour, one row high: clicks and painting
// fall through the rest to what lies behind.
std::optional<Region> PicBtn::build_shape() const {
    if (transparent_color() == kColorMarker) return std::nullopt;
    const Bitmap* image = current_image();
    if (image == nullptr) return std::nullopt;
    return keyed_region(*image, from_color_ref(transparent_color()));
}

} // namespace tav::ui
