#pragma once
// Kind `PicBox`: a picture on a background colour inside an optional border.

#include "gfx/decoded_picture.hpp"
#include "ui/control.hpp"

namespace tav::ui {

class PicBox : public Control {
public:
    enum Prop : int { kBorder = 0, kBackColor, kPicture, kPictureMode, kAnimate, kDataSource, kDataColumn };

    PicBox();
    static std::span<const PropertySpec> properties();

    std::int32_t border() const { return prop_int(kBorder); }
    std::uint32_t back_color() const { return static_cast<std::uint32_t>(prop_int(kBackColor)); }
    const Value& picture() const { return prop(kPicture); }
    std::int32_t picture_mode() const { return prop_int(kPictureMode); }

    // Paints the border, BackColor and the picture by PictureMode (drawing/pic_box_painting.cpp).
    void on_paint(Painter& p) override;
    // How many times the picture has been decoded (once per change, never per paint).
    int picture_decodes() const { return picture_.decode_count(); }

private:
    DecodedPicture picture_;
};

} // namespace tav::ui
