// tavrino-first-frame: writes the main window's first frame, painted headless with the game's
// handlers at a fixed time of day, as a binary PPM, so that two builds can be compared pixel
// for pixel (the Windows build under Wine against the Linux build, with the same font files).
//
// Usage: tavrino-first-frame OUT.ppm     exit 0 when written, 1 when the file cannot be written

#include <cstdio>
#include <memory>
#include <utility>

#include "game/game_handlers.hpp"
#include "game/main_window_layout.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/services.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: tavrino-first-frame OUT.ppm\n", stderr);
        return 2;
    }
    auto owned = std::make_unique<tav::platform::HeadlessBackend>();
    tav::platform::HeadlessBackend& backend = *owned;
    tav::Runtime runtime(
        tav::ui::main_window_layout(tav::game::game_handlers()), std::move(owned),
        tav::ui::Services{.wall_clock = backend.wall_clock(tav::LocalTime{2026, 12, 7, 21, 30, 0}, false)});
    runtime.load_window(tav::ui::kMainWindowId);
    const tav::platform::WindowHandle window = runtime.window_handle_of(tav::ui::kMainWindowId);
    runtime.windows().update(window);
    const tav::Bitmap& frame = runtime.windows().framebuffer(window);

    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", frame.width(), frame.height());
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const tav::Argb p = frame.pixel(x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                          static_cast<unsigned char>(p)};
            std::fwrite(rgb, 1, sizeof rgb, out);
        }
    }
    const bool written = std::fclose(out) == 0;
    if (!written) std::perror(argv[1]);
    return written ? 0 : 1;
}
