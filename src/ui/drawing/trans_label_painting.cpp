// TransLabel: only the caption, straight onto what the parent and lower siblings painted.
#include "platform/gfx/painter.hpp"
#include "ui/drawing/control_colors.hpp"
#include "ui/drawing/label_look.hpp"
#include "ui/trans_label.hpp"

namespace tav::ui {

void TransLabel::on_paint(Painter& p) {
    if (caption().empty() || !has_window() || p.clip_bounds().empty()) return;
    const Size size = system().client_size(handle());
    CaptionStyle style;
    style.font = prop_bytes(kFont);
    style.color = ResolveColor(static_cast<std::uint32_t>(prop_int(kTextColor)));
    style.halign = prop_int(kHAlign);
    style.valign = prop_int(kVAlign);
    style.word_wrap = prop_bool(kWordWrap);
    style.effect = prop_int(kTextEffect);
    DrawCaption(p, {0, 0, size.width, size.height}, caption().view(), style);
}

} // namespace tav::ui
