// TransLabel: only the caption, straight onto what the parent and lower siblings painted.
#include "platform/gfx/painter.hpp"
#include "ui/drawing/label_look.hpp"
#include "ui/trans_label.hpp"

namespace tav::ui {

void TransLabel::on_paint(Painter& p) {
    if (caption().empty() || !has_window() || p.clip_bounds().empty()) return;
    const Size size = system().client_size(handle());
    DrawCaption(p, {0, 0, size.width, size.height}, caption().view(), CaptionStyleOf(*this));
}

} // namespace tav::ui
