#include "ui/label.hpp"

#include <array>

#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "ui/control_colors.hpp"
#include "ui/label_look.hpp"

namespace tav::ui {
namespace {

constexpr PropertySpec kGrey = TypedProp(PropertyType::ColorOrNone, 0x808080);
constexpr PropertySpec kWhite = TypedProp(PropertyType::ColorOrNone, 0xFFFFFF);

constexpr auto kProperties = WithCommon(std::array<PropertySpec, 21>{
    TextProp(),                                           // 8 Caption
    PickProp(3),                                          // 9 TextEffect
    PickProp(6),                                          // 10 Border
    IntAtLeast(Label::kMinGradientBorderWidth, 8),        // 11 GradientBorderWidth
    kGrey, kWhite, kGrey,                                 // 12-14 GradientBorderColor1..3
    TypedProp(PropertyType::Font),                        // 15 Font
    TypedProp(PropertyType::Color, 0),                    // 16 TextColor
    TypedProp(PropertyType::ColorOrDefault, kColorMarker), // 17 BackColor
    TypedProp(PropertyType::Picture),                     // 18 BackPicture
    PickProp(2, 1),                                       // 19 BackPictureMode
    PickProp(8),                                          // 20 GradientBackMode
    kGrey, kWhite, kGrey,                                 // 21-23 GradientBackColor1..3
    PickProp(2),                                          // 24 HAlign
    BoolProp(false),                                      // 25 WordWrap
    PickProp(2, 1),                                       // 26 VAlign
    TypedProp(PropertyType::DataSource),                  // 27
    TypedProp(PropertyType::DataColumn),                  // 28
});

} // namespace

Label::Label() : Control(*FindKind(kind_id::kLabel)) {}

std::span<const PropertySpec> Label::Properties() { return kProperties; }

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
        const auto colors = SetColors(stored);
        if (width > 0 && colors.size() >= 2) {
            DrawGradientFrame(p, r, width, colors);
            r = r.shrunk(width);
        }
    } else {
        r = p.draw_edge(r, EdgeStyleForBorder(border));
    }
    if (r.empty()) return;

    // 2. What is left to fill: the clip box inside the frame.
    const Rect paint = clip.intersected(r);
    Region left(paint);

    // 3. The background picture or gradient.
    if (const Bitmap* image = back_picture_.sync(prop(kBackPicture))) {
        p.save();
        p.clip_rect(r);
        switch (prop_int(kBackPictureMode)) {
        case kNatural: {
            const Rect placed{r.x, r.y, image->width(), image->height()};
            p.draw_image(*image, placed.origin());
            left = left.subtracted(placed);
            break;
        }
        case kFitted: {
            const Rect fit = ShrinkToFit(r.size(), image->size()).translated(r.x, r.y);
            p.draw_image(back_picture_.scaled(fit.size()), fit.origin());
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
        const auto colors = SetColors(stored);
        if (colors.size() >= 2) {
            p.save();
            p.clip_rect(r);
            DrawGradientBack(p, r, prop_int(kGradientBackMode), colors);
            p.restore();
            left = Region();
        }
    }

    // 4. The colour under what is left.
    const Argb back = ResolveColor(static_cast<std::uint32_t>(prop_int(kBackColor)));
    for (const Rect& part : left.rects()) p.fill_rect(part, back);

    // 5. The caption, kept inside the paint area.
    if (caption().empty()) return;
    p.save();
    p.clip_rect(paint);
    DrawCaption(p, r, caption().view(), CaptionStyleOf(*this));
    p.restore();
}

} // namespace tav::ui
