#pragma once
// Loading a layout's fonts ahead of its first paint, on a thread of its own.

#include <future>
#include <thread>

#include "gfx/font.hpp"
#include "ui/layout_data.hpp"

namespace tav::ui {

// Starts a thread that first looks whether any installed face covers Chinese text and then,
// if one does, loads through `fonts` every font the controls of `layout` name and the stock
// font, and renders the glyphs of the controls' texts in them; a paint that asks for a font
// meanwhile waits for it rather than loading it twice. `layout` and `fonts` must outlive this;
// the destructor waits for the thread.
class FontWarmUp {
public:
    FontWarmUp(const LayoutData& layout, FontCache& fonts);

    // Whether an installed face covers Chinese text (chinese_face_installed()), waiting for the
    // thread's answer.
    bool chinese_face_installed() const { return face_found_.get(); }

private:
    std::shared_future<bool> face_found_;
    std::jthread thread_;
};

} // namespace tav::ui
