// The window kind's model and painting: its top-level style, outer size and events, then its back picture.
#include "ui/window_control.hpp"

#include <algorithm>
#include <array>

#include "core/gbk.hpp"
#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "platform/backend.hpp"
#include "ui/control_colors.hpp"
#include "ui/services.hpp"

namespace tav::ui {
namespace {

constexpr int kStartCentred = 1, kStartMinimised = 2, kStartMaximised = 3;

constexpr auto kProperties = with_common(std::array<PropertySpec, 24>{
    text_prop(),                                            // 8 Caption
    pick_prop(6, 2),                                        // 9 Border
    typed_prop(PropertyType::ColorOrDefault, kColorMarker), // 10 BackColor
    typed_prop(PropertyType::Picture),                      // 11 BackPicture
    pick_prop(3, 1),                                        // 12 BackPictureMode
    typed_prop(PropertyType::Music),                        // 13 BackMusic
    pick_prop(2),                                           // 14 MusicPlayMode
    bool_prop(true),                                        // 15 ControlBox
    bool_prop(false),                                       // 16 MaxButton
    bool_prop(false),                                       // 17 MinButton
    pick_prop(3),                                           // 18 StartPosition
    bool_prop(true),                                        // 19 Movable
    typed_prop(PropertyType::Icon),                         // 20 Icon
    bool_prop(),
    bool_prop(),
    bool_prop(),                        // 21-23 kept with the window
    typed_prop(PropertyType::FileName), // 24
    int_prop(),                         // 25
    bool_prop(),
    bool_prop(),   // 26, 27
    pick_prop(29), // 28 Shape
    bool_prop(),   // 29 TopMost
    bool_prop(),   // 30
    text_prop(),   // 31
});

} // namespace

WindowControl::WindowControl() : Control(*find_kind(kind_id::kWindow)) {}

std::span<const PropertySpec> WindowControl::properties() { return kProperties; }

platform::WindowHandle WindowControl::create_window(const Rect& rect) {
    const int border = prop_int(kBorder);
    platform::TopLevelStyle style;
    style.title_bar = border != 0 && (!prop_text(kCaption).empty() || prop_bool(kControlBox));
    style.close_box = style.title_bar && prop_bool(kControlBox);
    style.minimise_box = style.title_bar && prop_bool(kMinButton);
    style.maximise_box = style.title_bar && prop_bool(kMaxButton);
    style.resizable = border == 1 || border == 3 || border == 5;
    style.tool_window = border == 3 || border == 4;
    style.client_edge = border == 5 || border == 6;
    style.movable = prop_bool(kMovable);
    style.top_most = prop_bool(kTopMost);
    const int start = prop_int(kStartPosition);
    style.centred = start == kStartCentred;
    if (start == kStartMinimised) style.start_state = platform::StartState::Minimised;
    // Only a window with a sizing frame opens maximised.
    if (start == kStartMaximised && style.resizable) style.start_state = platform::StartState::Maximised;

    frame_extra_ = system().backend().frame_size(style);
    const Size client{std::max(0, rect.width - frame_extra_.width), std::max(0, rect.height - frame_extra_.height)};
    // The Caption property holds GBK like every text of the game; the window system takes UTF-8.
    const auto w = system().create_top_level(*this, client, style, gbk_to_utf8(prop_text(kCaption).view()));
    if (w == platform::kNoWindow) return w;
    Point position = rect.origin();
    if (style.centred) {
        // Placed now, so that Left and Top read the centred place before the window is shown.
        const Size screen = system().backend().screen_size();
        position = system().backend().centred_position(w, client, style, {0, 0, screen.width, screen.height});
    }
    system().set_rect(w, {position.x, position.y, client.width, client.height});
    return w;
}

Rect WindowControl::outer_rect() const {
    if (!has_window()) return stored_common().rect;
    const Rect r = system().rect(handle());
    return {r.x, r.y, r.width + frame_extra_.width, r.height + frame_extra_.height};
}

void WindowControl::set_outer_rect(const Rect& r) {
    remember_rect(r);
    if (has_window()) {
        system().set_rect(handle(), {r.x, r.y, std::max(0, r.width - frame_extra_.width),
                                     std::max(0, r.height - frame_extra_.height)});
    }
}

void WindowControl::show(bool visible) {
    if (has_window() && system().is_visible(handle()) != visible) raise(visible ? kShown : kHidden);
    Control::show(visible);
}

void WindowControl::destroy_window() {
    if (!has_window()) return;
    raise(kDestroying);
    Control::destroy_window();
}

bool WindowControl::apply_property(int local, const Value& old) {
    switch (local) {
        case kCaption:
            if (has_window()) system().set_caption(handle(), gbk_to_utf8(prop_text(kCaption).view()));
            return false;
        case kBackColor:
        case kBackPicture:
        case kBackPictureMode: repaint(); return false;
        default: (void)old; return false;
    }
}

bool WindowControl::on_key_down(int vk, std::uint32_t keys) {
    return site().events != nullptr && site().events->window_key(site().window_id, vk, keys);
}

void WindowControl::on_close_request() {
    // A disabled window takes no close request: under a modal box the handler that opened the
    // box must find its window still there when the box returns.
    if (!has_window() || !system().is_enabled(handle())) return;
    const EventNotice n = raise(kCloseQuery);
    if (n.has_result && n.result == 0) return; // the handler refused
    destroy_window();
}

bool WindowControl::on_session_end_query() {
    // The window stays: the program's end destroys it once every loop has returned.
    if (!has_window()) return true;
    const EventNotice n = raise(kCloseQuery);
    return !(n.has_result && n.result == 0);
}

void WindowControl::on_moved() { raise(kMoved); }
void WindowControl::on_resized() { raise(kResized); }

void WindowControl::on_window_destroyed() {
    if (site().events != nullptr) site().events->window_destroyed(site().window_id);
}

// --- Painting: BackColor and BackPicture laid out by BackPictureMode.

namespace {

// Fills the part of `clip` that `covered` leaves with `color`.
void fill_around(Painter& p, const Rect& clip, const Rect& covered, Argb color) {
    const Region rest = Region(clip).subtracted(covered);
    for (const Rect& r : rest.rects()) p.fill_rect(r, color);
}

} // namespace

void WindowControl::on_paint(Painter& p) {
    const Rect clip = p.clip_bounds();
    if (clip.empty() || !has_window()) return;
    const Size client = system().client_size(handle());
    const Argb back = resolve_color(static_cast<std::uint32_t>(prop_int(kBackColor)));
    const Bitmap* image = back_picture_.sync(*services().pictures, prop(kBackPicture));
    if (image == nullptr) {
        p.fill_rect(clip, back);
        return;
    }
    switch (prop_int(kBackPictureMode)) {
        case kNaturalPicture:
            fill_around(p, clip, image->rect(), back);
            back_picture_.draw_natural(p, {0, 0});
            break;
        case kTiledPicture: p.draw_tiled(*image, {0, 0, client.width, client.height}, {0, 0}); break;
        case kFittedPicture: {
            const Rect fit = shrink_to_fit(client, image->size());
            fill_around(p, clip, fit, back);
            back_picture_.draw_scaled(p, fit);
            break;
        }
        default:
            // Stretched over the whole client area; the scaled copy is kept for the next paint.
            back_picture_.draw_scaled(p, {0, 0, client.width, client.height});
            break;
    }
}

} // namespace tav::ui
