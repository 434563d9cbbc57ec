// The program's icon on its windows.

#include "game/program_icon.hpp"

#include "assets/assets.hpp"
#include "runtime/runtime.hpp"

namespace tav::game {

Bitmap program_icon() {
    const assets::IconImage image = assets::window_icon();
    Bitmap icon(image.width, image.height, 0);
    const std::uint8_t* p = image.rgba.data();
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x, p += 4) {
            icon.set_pixel(x, y, (Argb(p[3]) << 24) | (Argb(p[0]) << 16) | (Argb(p[1]) << 8) | Argb(p[2]));
        }
    }
    return icon;
}

void use_program_icon() {
    if (Runtime* rt = Runtime::current()) rt->windows().set_program_icon(program_icon());
}

} // namespace tav::game
