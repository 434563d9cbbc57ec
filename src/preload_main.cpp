// tavrino-preload: started by tavrino as it starts, makes the fonts, glyphs and pictures of the
// main window's first paint and hands them back through the area it was given.

#include <cstdio>

#include <malloc.h>

#include "game/main_window_layout.hpp"
#include "gfx/font.hpp"
#include "platform/helper_process.hpp"
#include "ui/layout_preload.hpp"

namespace {

// Allocations this large and larger would get mappings of their own; none is.
constexpr int kNeverMapped = 64 << 20;
// Free memory at the top of the heap beyond this would be given back; none is.
constexpr int kNeverTrimmed = 256 << 20;

} // namespace

int main() {
    auto channel = tav::platform::HelperChannel::inherited();
    if (!channel) {
        std::fputs("tavrino-preload: only tavrino starts this helper\n", stderr);
        return 2;
    }
    // This process ends once it has handed everything over, so what it holds in memory does
    // not matter: font files are mapped, and freed blocks are kept for reuse rather than
    // given back (FreeType frees large ones as faces open).
    tav::FontCache fonts;
    tav::ui::PictureCache pictures;
    fonts.map_files();
    mallopt(M_MMAP_THRESHOLD, kNeverMapped);
    mallopt(M_TRIM_THRESHOLD, kNeverTrimmed);
    // The handlers play no part in what is painted.
    tav::ui::preload_layout(
        tav::ui::main_window_layout({}), channel->area(), [&](std::size_t end) { return channel->hand_over(end); },
        fonts, pictures);
    return 0;
}
