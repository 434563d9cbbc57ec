#pragma once
// Loading a layout's fonts ahead of its first paint, on a thread of its own.

#include <thread>

#include "ui/layout_data.hpp"

namespace tav::ui {

// Starts a thread that loads, through the shared font cache, every font the controls of
// `layout` name and the stock font, and renders the glyphs of the controls' texts in them; a
// paint that asks for a font meanwhile waits for it rather than loading it twice. `layout`
// must outlive this; the destructor waits for the thread.
class FontWarmUp {
public:
    explicit FontWarmUp(const LayoutData& layout);

private:
    std::jthread thread_;
};

} // namespace tav::ui
