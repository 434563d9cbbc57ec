// The PicBox kind's model and painting: border, back colour, then the picture natural, stretched or fitted.
#include "ui/pic_box.hpp"

#include <array>

#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "ui/control_colors.hpp"
#include "ui/services.hpp"

namespace tav::ui {
namespace {

constexpr auto kProperties = with_common(std::array<PropertySpec, 7>{
    pick_prop(5),                                           // 8 Border
    typed_prop(PropertyType::ColorOrDefault, kColorMarker), // 9 BackColor
    typed_prop(PropertyType::Picture),                      // 10 Picture
    pick_prop(2),                                           // 11 PictureMode
    bool_prop(true),                                        // 12 Animate
    typed_prop(PropertyType::DataSource),                   // 13
    typed_prop(PropertyType::DataColumn),                   // 14
});

} // namespace

PicBox::PicBox() : Control(*find_kind(kind_id::kPicBox)) {}

std::span<const PropertySpec> PicBox::properties() { return kProperties; }

// --- Painting: The border, the background colour over the client area, then the picture.

namespace {

enum PictureMode : int { kNatural = 0, kStretched = 1, kFitted = 2 };

} // namespace

void PicBox::on_paint(Painter& p) {
    if (!has_window() || p.clip_bounds().empty()) return;
    const Size size = system().client_size(handle());
    const Rect client = p.draw_edge({0, 0, size.width, size.height}, edge_style_for_border(border()));
    if (client.empty()) return;
    p.fill_rect(client, resolve_color(back_color()));
    const Bitmap* image = picture_.sync(*services().pictures, picture());
    if (image == nullptr) return;
    p.save();
    p.clip_rect(client);
    switch (picture_mode()) {
        case kStretched: picture_.draw_scaled(p, client); break;
        case kFitted: {
            const Rect fit = shrink_to_fit(client.size(), image->size()).translated(client.x, client.y);
            picture_.draw_scaled(p, fit);
            break;
        }
        default: picture_.draw_natural(p, client.origin()); break;
    }
    p.restore();
}

} // namespace tav::ui
