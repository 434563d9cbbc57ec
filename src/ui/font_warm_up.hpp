#pragma once
// Loading a layout's fonts ahead of its first paint, on a thread of its own.

#include <thread>

#include "gfx/font.hpp"
#include "ui/layout_data.hpp"

namespace tav::ui {

// Starts a thread that loads, through `fonts`, every font the controls of
// `layout` name and the stock font, and renders the glyphs of the controls' texts in them; a
// paint that asks for a font meanwhile waits for it rather than loading it twice. `layout`
// and `fonts` must outlive this; the destructor waits for the thread.
class FontWarmUp {
public:
    FontWarmUp(const LayoutData& layout, FontCache& fonts);

private:
    std::jthread thread_;
};

} // namespace tav::ui
