// The Label kind's model and painting: its properties, then frame, back picture or gradient, colour, text.
#include "ui/label.hpp"

#include <algorithm>
#include <array>

#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "ui/control_colors.hpp"
#include "ui/label_look.hpp"
#include "ui/services.hpp"

namespace tav::ui {
namespace {

constexpr PropertySpec kGrey = typed_prop(PropertyType::ColorOrNone, 0x808080);
constexpr PropertySpec kWhite = typed_prop(PropertyType::ColorOrNone, 0xFFFFFF);

constexpr auto kProperties = with_common(std::array<PropertySpec, 21>{
    text_prop(),                                     // 8 Caption
    pick_prop(3),                                    // 9 TextEffect
    pick_prop(6),                                    // 10 Border
    int_at_least(Label::kMinGradientBorderWidth, 8), // 11 GradientBorderWidth
    kGrey,
    kWhite,
    kGrey,                                                  // 12-14 GradientBorderColor1..3
    typed_prop(PropertyType::Font),                         // 15 Font
    typed_prop(PropertyType::Color, 0),                     // 16 TextColor
    typed_prop(PropertyType::ColorOrDefault, kColorMarker), // 17 BackColor
    typed_prop(PropertyType::Picture),                      // 18 BackPicture
    pick_prop(2, 1),                                        // 19 BackPictureMode
    pick_prop(8),                                           // 20 GradientBackMode
    kGrey,
    kWhite,
    kGrey,                                // 21-23 GradientBackColor1..3
    pick_prop(2),                         // 24 HAlign
    bool_prop(false),                     // 25 WordWrap
    pick_prop(2, 1),                      // 26 VAlign
    typed_prop(PropertyType::DataSource), // 27
    typed_prop(PropertyType::DataColumn), // 28
});

} // namespace

Label::Label() : Control(*find_kind(kind_id::kLabel)) {}

std::span<const PropertySpec> Label::properties() { return kProperties; }

// --- Painting: Gradient frame or border, background picture, gradient or colour, then the caption.

namespace {

constexpr int kGradientBorder = 6;
enum BackPictureMode : int { kNatural = 0, kTiled = 1, kFitted = 2 };

} // namespace

void Label::on_paint(Painter& p) {
    const Rect clip = p.clip_bounds();
    if (clip.empty() || !has_window()) return;
    const Size size = system().client_size(handle());
    Rect r{0, 0, size.width, size.height};

    // 1. The frame: a gradient of the set frame colours, or a border style.
    const int border = prop_int(kBorder);
    if (border == kGradientBorder) {
        const int width = prop_int(kGradientBorderWidth);
        const std::array<std::uint32_t, 3> stored{static_cast<std::uint32_t>(prop_int(kGradientBorderColor1)),
                                                  static_cast<std::uint32_t>(prop_int(kGradientBorderColor2)),
                                                  static_cast<std::uint32_t>(prop_int(kGradientBorderColor3))};
        const auto colors = set_colors(stored);
        if (width > 0 && colors.size() >= 2) {
            draw_gradient_frame(p, r, width, colors);
            // A frame as wide as half the rectangle leaves nothing inside it.
            r = width >= (std::min(r.width, r.height) + 1) / 2 ? Rect{} : r.shrunk(width);
        }
    } else {
        r = p.draw_edge(r, edge_style_for_border(border));
    }
    if (r.empty()) return;

    // 2. What is left to fill: the clip box inside the frame.
    const Rect paint = clip.intersected(r);
    Region left(paint);

    // 3. The background picture or gradient.
    if (const Bitmap* image = back_picture_.sync(*services().pictures, prop(kBackPicture))) {
        p.save();
        p.clip_rect(r);
        switch (prop_int(kBackPictureMode)) {
            case kNatural: {
                const Rect placed{r.x, r.y, image->width(), image->height()};
                back_picture_.draw_natural(p, placed.origin());
                left = left.subtracted(placed);
                break;
            }
            case kFitted: {
                const Rect fit = shrink_to_fit(r.size(), image->size()).translated(r.x, r.y);
                back_picture_.draw_scaled(p, fit);
                left = left.subtracted(fit);
                break;
            }
            default:
                p.draw_tiled(*image, r, r.origin());
                left = Region();
                break;
        }
        p.restore();
    } else if (prop_int(kGradientBackMode) != 0) {
        const std::array<std::uint32_t, 3> stored{static_cast<std::uint32_t>(prop_int(kGradientBackColor1)),
                                                  static_cast<std::uint32_t>(prop_int(kGradientBackColor2)),
                                                  static_cast<std::uint32_t>(prop_int(kGradientBackColor3))};
        const auto colors = set_colors(stored);
        if (colors.size() >= 2) {
            p.save();
            p.clip_rect(r);
            draw_gradient_back(p, r, prop_int(kGradientBackMode), colors);
            p.restore();
            left = Region();
        }
    }

    // 4. The colour under what is left.
    const Argb back = resolve_color(static_cast<std::uint32_t>(prop_int(kBackColor)));
    for (const Rect& part : left.rects()) p.fill_rect(part, back);

    // 5. The caption, kept inside the paint area.
    if (caption().empty()) return;
    p.save();
    p.clip_rect(paint);
    draw_caption(p, r, caption().view(), caption_style_of(*this, *services().fonts));
    p.restore();
}

} // namespace tav::ui
