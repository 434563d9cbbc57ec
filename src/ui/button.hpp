#pragma once
// Kind `Button`: a standard push button. A click (mouse released over it, or Space/Enter
// while it has the focus) raises Click.

#include "gfx/decoded_picture.hpp"
#include "gfx/logfont.hpp"
#include "ui/control.hpp"
#include "ui/themed_drawing.hpp"

namespace tav::ui {

class Button : public Control {
public:
    enum Prop : int { kPicture = 0, kButtonType, kCaption, kHAlign, kVAlign, kFont };
    enum Event : int { kClick = 0 };

    Button();
    static std::span<const PropertySpec> properties();

    const Text& caption() const { return prop_text(kCaption); }
    LogFont font() const { return resolve_log_font(prop_bytes(kFont)); }
    const Value& picture() const { return prop(kPicture); }
    bool is_default() const { return prop_int(kButtonType) == 1; }
    std::int32_t value(Prop p) const { return prop_int(p); }
    // True while the left button is held down on it with the pointer inside.
    bool pressed() const { return pressed_; }
    // True while the pointer is over it with the left button up.
    bool hot() const { return hot_; }

    void on_mouse_down(platform::MouseButton b, Point p, std::uint32_t keys) override;
    void on_mouse_move(Point p, std::uint32_t keys) override;
    void on_mouse_up(platform::MouseButton b, Point p, std::uint32_t keys) override;
    void on_capture_lost() override;
    void on_activate_key() override;
    void on_enabled_changed(bool enabled) override;
    void on_mouse_leave() override;
    // Focus changes raise GotFocus/LostFocus and repaint the focus marks.
    void on_focus_in() override;
    void on_focus_out() override;
    // Paints the classic or themed push button (drawing/standard_controls_painting.cpp).
    void on_paint(Painter& p) override;

protected:
    platform::WindowHandle create_window(const Rect& rect) override;
    bool apply_property(int local, const Value& old) override;

private:
    bool inside(Point p) const;
    void set_pressed(bool pressed);

    bool tracking_ = false; // the press started on this button and the capture is held
    bool pressed_ = false;
    bool hot_ = false;
    DecodedPicture picture_;
    ThemeRegistration theme_{*this};
};

} // namespace tav::ui
