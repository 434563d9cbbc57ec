#pragma once
// Preparing what the first paint of a layout needs, ahead of it.

#include <functional>
#include <latch>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "ui/drawing/picture_cache.hpp"
#include "ui/layout_data.hpp"

namespace tav::ui {

// On a helper thread: builds a layout, then loads every font its controls name, and the
// stock font, into the shared font cache and renders the glyphs of the controls' texts in
// them; decodes every picture into the shared picture cache, and scales a window's stretched
// picture to its client area. Started before the window system, it does the slowest parts of
// the first paint while the display connection is made; a paint that needs a font, glyph or
// picture still being made waits for it. Joined when destroyed.
class LayoutPreload {
public:
    // Starts the helper, which builds the layout with `make` first.
    explicit LayoutPreload(std::function<LayoutData()> make);
    ~LayoutPreload();
    LayoutPreload(const LayoutPreload&) = delete;
    LayoutPreload& operator=(const LayoutPreload&) = delete;

    // The layout, once the helper has built it; it lives as long as this.
    const LayoutData& layout();
    // Waits until everything is made. A program that ends by exit() calls this first, as the
    // caches go with the other statics.
    void finish();

private:
    std::optional<LayoutData> layout_;
    std::latch built_{1};
    // The pictures made, held so that they stay in the cache until the controls hold them.
    std::vector<std::shared_ptr<const SharedPicture>> pictures_;
    std::jthread worker_;
};

} // namespace tav::ui
