#pragma once
// Kind `TransLabel`: text drawn straight onto whatever lies behind it. A change repaints the
// area beneath it, so old text leaves no trace on the background.

#include "gfx/logfont.hpp"
#include "ui/control.hpp"

namespace tav::ui {

class TransLabel : public Control {
public:
    enum Prop : int { kCaption = 0, kTextEffect, kFont, kTextColor, kHAlign, kWordWrap, kVAlign };

    TransLabel();
    static std::span<const PropertySpec> properties();

    const Text& caption() const { return prop_text(kCaption); }
    LogFont font() const { return resolve_log_font(prop_bytes(kFont)); }
    // The stored Font value, as drawing takes it.
    std::span<const std::uint8_t> font_record() const { return prop_bytes(kFont); }
    std::int32_t value(Prop p) const { return prop_int(p); }

    void on_moved() override;
    // Paints only the caption over what lies beneath (drawing/trans_label_painting.cpp).
    void on_paint(Painter& p) override;

protected:
    bool apply_property(int local, const Value& old) override;
    // Repaints the part of the top-level window beneath the control, then the control.
    void repaint_beneath();
};

} // namespace tav::ui
