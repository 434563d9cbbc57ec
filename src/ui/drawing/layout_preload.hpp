#pragma once
// Preparing what the first paint of a layout needs, ahead of it.

#include <memory>
#include <thread>
#include <vector>

#include "ui/drawing/picture_cache.hpp"
#include "ui/layout_data.hpp"

namespace tav::ui {

// On a helper thread: loads every font the controls of `layout` name, and the stock font,
// into the shared font cache and renders the glyphs of the controls' texts in them; decodes
// every picture into the shared picture cache, and scales a window's stretched picture to its
// client area. Started before the window system, it does the slowest parts of the first paint
// while the display connection is made; a paint that needs a font, glyph or picture still
// being made waits for it. Joined when destroyed.
class LayoutPreload {
public:
    explicit LayoutPreload(const LayoutData& layout);
    ~LayoutPreload();
    LayoutPreload(const LayoutPreload&) = delete;
    LayoutPreload& operator=(const LayoutPreload&) = delete;

    // Waits until everything is made. A program that ends by exit() calls this first, as the
    // caches go with the other statics.
    void finish();

private:
    // The pictures made, held so that they stay in the cache until the controls hold them.
    std::vector<std::shared_ptr<const SharedPicture>> pictures_;
    std::jthread worker_;
};

} // namespace tav::ui
