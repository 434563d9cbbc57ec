// PicBtn: the image of the current state, composed off-screen on black.
#include "platform/gfx/painter.hpp"
#include "ui/pic_btn.hpp"

namespace tav::ui {

const Bitmap* PicBtn::current_image() const {
    const auto bytes = current_picture();
    if (bytes.empty()) return nullptr;
    for (int local = kNormalPicture; local <= kDisabledPicture; ++local) {
        if (prop_bytes(local).data() == bytes.data())
            return pictures_[static_cast<std::size_t>(local - kNormalPicture)].sync(prop(local));
    }
    return nullptr;
}

void PicBtn::on_paint(Painter& p) {
    if (!has_window() || p.clip_bounds().empty()) return;
    const Size size = system().client_size(handle());
    // One copy to the screen per paint, so a lamp switched at spin speed never flickers.
    Bitmap buffer(size.width, size.height, Rgb(0, 0, 0));
    if (const Bitmap* image = current_image()) {
        Painter off(buffer);
        off.draw_image(*image, {0, 0});
    }
    p.blit(buffer, buffer.rect(), {0, 0});
}

} // namespace tav::ui
