// The window's background: BackColor and BackPicture laid out by BackPictureMode.
#include "platform/gfx/painter.hpp"
#include "platform/gfx/scale.hpp"
#include "ui/drawing/control_colors.hpp"
#include "ui/window_control.hpp"

namespace tav::ui {
namespace {

// Fills the part of `clip` that `covered` leaves with `color`.
void FillAround(Painter& p, const Rect& clip, const Rect& covered, Argb color) {
    const Region rest = Region(clip).subtracted(covered);
    for (const Rect& r : rest.rects()) p.fill_rect(r, color);
}

} // namespace

void WindowControl::on_paint(Painter& p) {
    const Rect clip = p.clip_bounds();
    if (clip.empty() || !has_window()) return;
    const Size client = system().client_size(handle());
    const Argb back = ResolveColor(static_cast<std::uint32_t>(prop_int(kBackColor)));
    const Bitmap* image = back_picture_.sync(prop(kBackPicture));
    if (image == nullptr) {
        p.fill_rect(clip, back);
        return;
    }
    switch (prop_int(kBackPictureMode)) {
    case kNaturalPicture:
        FillAround(p, clip, image->rect(), back);
        p.draw_image(*image, {0, 0});
        break;
    case kTiledPicture: p.draw_tiled(*image, {0, 0, client.width, client.height}, {0, 0}); break;
    case kFittedPicture: {
        const Rect fit = ShrinkToFit(client, image->size());
        FillAround(p, clip, fit, back);
        p.draw_image(back_picture_.scaled(fit.size()), fit.origin());
        break;
    }
    default:
        // Stretched over the whole client area; the scaled copy is kept for the next paint.
        p.draw_image(back_picture_.scaled(client), {0, 0});
        break;
    }
}

} // namespace tav::ui
