#pragma once
// Kind `Label`: text over a background colour, picture or gradient, with borders up to a
// gradient frame. Every property change repaints the whole label.

#include "gfx/decoded_picture.hpp"
#include "gfx/logfont.hpp"
#include "ui/control.hpp"

namespace tav::ui {

class Label : public Control {
public:
    enum Prop : int {
        kCaption = 0,
        kTextEffect,
        kBorder,
        kGradientBorderWidth,
        kGradientBorderColor1,
        kGradientBorderColor2,
        kGradientBorderColor3,
        kFont,
        kTextColor,
        kBackColor,
        kBackPicture,
        kBackPictureMode,
        kGradientBackMode,
        kGradientBackColor1,
        kGradientBackColor2,
        kGradientBackColor3,
        kHAlign,
        kWordWrap,
        kVAlign,
        kDataSource,
        kDataColumn,
    };
    // The smallest width a gradient frame is stored with.
    static constexpr std::int32_t kMinGradientBorderWidth = 5;

    Label();
    static std::span<const PropertySpec> properties();

    const Text& caption() const { return prop_text(kCaption); }
    LogFont font() const { return resolve_log_font(prop_bytes(kFont)); }
    // The stored Font value, as drawing takes it.
    std::span<const std::uint8_t> font_record() const { return prop_bytes(kFont); }
    std::int32_t value(Prop p) const { return prop_int(p); }
    std::span<const std::uint8_t> back_picture() const { return prop_bytes(kBackPicture); }

    // Paints frame, background and caption (drawing/label_painting.cpp).
    void on_paint(Painter& p) override;

private:
    DecodedPicture back_picture_;
};

} // namespace tav::ui
