// The TransLabel kind's model and painting: any change repaints what lies beneath; the paint is the caption.
#include "ui/trans_label.hpp"

#include <array>

#include "gfx/painter.hpp"
#include "ui/label_look.hpp"
#include "ui/services.hpp"

namespace tav::ui {
namespace {

constexpr auto kProperties = with_common(std::array<PropertySpec, 7>{
    text_prop("透明标签"),              // 8 Caption
    pick_prop(3),                       // 9 TextEffect
    typed_prop(PropertyType::Font),     // 10 Font
    typed_prop(PropertyType::Color, 0), // 11 TextColor
    pick_prop(2),                       // 12 HAlign
    bool_prop(false),                   // 13 WordWrap
    pick_prop(2, 1),                    // 14 VAlign
});

} // namespace

TransLabel::TransLabel() : Control(*find_kind(kind_id::kTransLabel)) {}

std::span<const PropertySpec> TransLabel::properties() { return kProperties; }

bool TransLabel::apply_property(int, const Value&) {
    repaint_beneath();
    return false;
}

void TransLabel::on_moved() { repaint_beneath(); }

void TransLabel::repaint_beneath() {
    if (!has_window()) return;
    auto& ws = system();
    const auto top = ws.top_level(handle());
    const Size size = ws.client_size(handle());
    const Point corner = ws.map_point(handle(), top, {0, 0});
    ws.invalidate(top, Rect{corner.x, corner.y, size.width, size.height});
    ws.invalidate(handle());
}

// --- Painting: Only the caption, straight onto what the parent and lower siblings painted.

void TransLabel::on_paint(Painter& p) {
    if (caption().empty() || !has_window() || p.clip_bounds().empty()) return;
    const Size size = system().client_size(handle());
    draw_caption(p, {0, 0, size.width, size.height}, caption().view(), caption_style_of(*this, *services().fonts));
}

} // namespace tav::ui
