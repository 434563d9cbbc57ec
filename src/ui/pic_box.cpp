#include "ui/pic_box.hpp"

#include <array>

#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "ui/control_colors.hpp"

namespace tav::ui {
namespace {

constexpr auto kProperties = WithCommon(std::array<PropertySpec, 7>{
    PickProp(5),                                           // 8 Border
    TypedProp(PropertyType::ColorOrDefault, kColorMarker), // 9 BackColor
    TypedProp(PropertyType::Picture),                      // 10 Picture
    PickProp(2),                                           // 11 PictureMode
    BoolProp(true),                                        // 12 Animate
    TypedProp(PropertyType::DataSource),                   // 13
    TypedProp(PropertyType::DataColumn),                   // 14
});

} // namespace

PicBox::PicBox() : Control(*FindKind(kind_id::kPicBox)) {}

std::span<const PropertySpec> PicBox::Properties() { return kProperties; }

// --- Painting: The border, the background colour over the client area, then the picture.

namespace {

enum PictureMode : int { kNatural = 0, kStretched = 1, kFitted = 2 };

} // namespace

void PicBox::on_paint(Painter& p) {
    if (!has_window() || p.clip_bounds().empty()) return;
    const Size size = system().client_size(handle());
    const Rect client = p.draw_edge({0, 0, size.width, size.height}, EdgeStyleForBorder(border()));
    if (client.empty()) return;
    p.fill_rect(client, ResolveColor(back_color()));
    const Bitmap* image = picture_.sync(picture());
    if (image == nullptr) return;
    p.save();
    p.clip_rect(client);
    switch (picture_mode()) {
    case kStretched: p.draw_image(picture_.scaled(client.size()), client.origin()); break;
    case kFitted: {
        const Rect fit = ShrinkToFit(client.size(), image->size()).translated(client.x, client.y);
        p.draw_image(picture_.scaled(fit.size()), fit.origin());
        break;
    }
    default: p.draw_image(*image, client.origin()); break;
    }
    p.restore();
}

} // namespace tav::ui
