#pragma once
// Kind `PicBtn`: a button drawn entirely from pictures, in state 0 (normal), 1 (hot) or
// 2 (pressed); a push button or a two-state button that stays down until clicked again.
// Its shape is cut out of the current image by TransparentColor.

#include <array>
#include <optional>

#include "gfx/decoded_picture.hpp"
#include "ui/control.hpp"

namespace tav::ui {

class PicBtn : public Control {
public:
    enum Prop : int {
        kButtonKind = 0,
        kDown,
        kNormalPicture,
        kHotPicture,
        kPressedPicture,
        kDisabledPicture,
        kTransparentColor
    };
    enum Event : int { kClick = 0 };
    enum State : int { kNormal = 0, kHot = 1, kPressed = 2 };

    PicBtn();
    static std::span<const PropertySpec> properties();

    State state() const { return state_; }
    bool two_state() const { return prop_int(kButtonKind) == 1; }
    bool down() const { return prop_bool(kDown); }
    std::uint32_t transparent_color() const { return static_cast<std::uint32_t>(prop_int(kTransparentColor)); }
    // The picture for the current state: the disabled picture while disabled, the hot or
    // pressed picture in those states when present, else the normal picture.
    std::span<const std::uint8_t> current_picture() const;
    // The shape set by the last refresh (nullopt: the whole rectangle).
    const std::optional<Region>& shape() const { return shape_; }

    void on_mouse_down(platform::MouseButton b, Point p, std::uint32_t keys) override;
    void on_mouse_move(Point p, std::uint32_t keys) override;
    void on_mouse_up(platform::MouseButton b, Point p, std::uint32_t keys) override;
    void on_mouse_leave() override;
    void on_enabled_changed(bool enabled) override;
    // Paints the current image on black through an off-screen buffer (drawing/pic_btn_painting.cpp).
    void on_paint(Painter& p) override;

protected:
    void on_created() override;
    bool apply_property(int local, const Value& old) override;

    // Rebuilds the shape from the current image and repaints: after creation, a state change,
    // a picture or TransparentColor change.
    void refresh();
    // The shape of the current image with the transparent colour cut out; nullopt for a
    // rectangular button (no cut-out colour, or no drawable image). Kept with the drawing code.
    std::optional<Region> build_shape() const;

private:
    bool enabled() const;
    bool inside(Point p) const;
    void set_state(State s);

    State state_ = kNormal;
    std::optional<Region> shape_;
    // The decoded Normal, Hot, Pressed and Disabled pictures, decoded once per change.
    mutable std::array<DecodedPicture, 4> pictures_;
    // The decoded image for the current state; nullptr when it has none that can be drawn.
    const Bitmap* current_image() const;
    // The decoded picture behind current_image(), synced; nullptr when there is no image.
    DecodedPicture* current_decoded() const;
};

} // namespace tav::ui
