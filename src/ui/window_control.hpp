#pragma once
// Kind `window`: the top-level window a layout describes, itself listed among its controls.
// Raises Created (by the runtime), CloseQuery, Destroying, Moved, Resized, Shown and Hidden.

#include "gfx/decoded_picture.hpp"
#include "ui/control.hpp"

namespace tav::ui {

class WindowControl : public Control {
public:
    // Own properties by local index (global − 8).
    enum Prop : int {
        kCaption = 0,
        kBorder,
        kBackColor,
        kBackPicture,
        kBackPictureMode,
        kBackMusic,
        kMusicPlayMode,
        kControlBox,
        kMaxButton,
        kMinButton,
        kStartPosition,
        kMovable,
        kIcon,
        kShape = 20,
        kTopMost = 21,
    };
    // BackPictureMode values: the picture at its own size, tiled, shrunk to fit, or stretched
    // over the client area.
    enum PictureMode : int { kNaturalPicture = 0, kTiledPicture = 1, kFittedPicture = 2, kStretchedPicture = 3 };
    // Events of the kind.
    enum Event : int {
        kCreated = 0,
        kCloseQuery = 1,
        kDestroying = 2,
        kMoved = 3,
        kResized = 4,
        kShown = 10,
        kHidden = 11
    };

    WindowControl();
    static std::span<const PropertySpec> properties();

    // The window's outer rectangle: screen position and outer size (client plus frame).
    Rect outer_rect() const override;
    void set_outer_rect(const Rect& r) override;
    // Raises Shown or Hidden, then shows or hides the window.
    void show(bool visible) override;
    // Raises Destroying, then destroys the window and its controls.
    void destroy_window() override;
    // Size the frame and title bar add to the client area (as the backend frames the window).
    Size frame_extra() const { return frame_extra_; }

    // Paints the background: BackColor and BackPicture by BackPictureMode (drawing/window_painting.cpp).
    void on_paint(Painter& p) override;
    void on_close_request() override;
    // Keys the controls left: offered to the runtime as accelerators.
    bool on_key_down(int vk, std::uint32_t keys) override;
    // Raises CloseQuery even while a box disables the window; a result of 0 refuses.
    bool on_session_end_query() override;
    void on_moved() override;
    void on_resized() override;

protected:
    platform::WindowHandle create_window(const Rect& rect) override;
    bool apply_property(int local, const Value& old) override;
    void on_window_destroyed() override;

private:
    Size frame_extra_;
    DecodedPicture back_picture_;
};

} // namespace tav::ui
