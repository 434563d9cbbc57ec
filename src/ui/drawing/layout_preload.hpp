#pragma once
// Loading the fonts a layout names ahead of its first paint.

#include <thread>

#include "ui/layout_data.hpp"

namespace tav::ui {

// Loads every font the controls of `layout` name, and the stock font, into the shared font
// cache on a helper thread. Started before the window system, it finds the faces and opens
// them (the slowest part of the first paint) while the display connection is made; a paint
// that needs a font still being loaded waits for it. Joined when destroyed.
class FontPreload {
public:
    explicit FontPreload(const LayoutData& layout);
    ~FontPreload();
    FontPreload(const FontPreload&) = delete;
    FontPreload& operator=(const FontPreload&) = delete;

    // Waits until every font is loaded. A program that ends by exit() calls this first, as
    // the font cache goes with the other statics.
    void finish();

private:
    std::jthread worker_;
};

} // namespace tav::ui
