#pragma once
// Kind `Spin`: an up/down (or left/right) arrow pair without a buddy. Every press of an arrow
// raises Adjust with +1 (upper or right arrow) or −1 (lower or left arrow); holding an arrow
// repeats the notification, the first repeat after kFirstRepeatMs and then every kRepeatMs.

#include "ui/control.hpp"
#include "ui/themed_drawing.hpp"

namespace tav::ui {

class Spin : public Control {
public:
    enum Prop : int { kOrientation = 0, kHotTrack };
    enum Event : int { kAdjust = 0 };
    // Which arrow: the first is the upper (vertical) or right (horizontal) one, stepping +1.
    enum class Arrow { None, Increase, Decrease };

    static constexpr int kRepeatTimerId = 1;
    static constexpr int kFirstRepeatMs = 500;
    static constexpr int kRepeatMs = 100;

    Spin();
    static std::span<const PropertySpec> properties();

    bool vertical() const { return prop_int(kOrientation) == 1; }
    bool hot_track() const { return prop_bool(kHotTrack); }
    // The arrow held down (and under the pointer), and the arrow under the pointer.
    Arrow pressed_arrow() const { return pressed_ == hot_ ? pressed_ : Arrow::None; }
    Arrow hot_arrow() const { return hot_; }
    // The arrow at a client point.
    Arrow arrow_at(Point p) const;

    void on_mouse_down(platform::MouseButton b, Point p, std::uint32_t keys) override;
    void on_mouse_move(Point p, std::uint32_t keys) override;
    void on_mouse_up(platform::MouseButton b, Point p, std::uint32_t keys) override;
    void on_mouse_leave() override;
    void on_capture_lost() override;
    void on_timer(int timer_id) override;
    void on_enabled_changed(bool) override { repaint(); }
    // Paints the two arrows, classic or themed (drawing/standard_controls_painting.cpp).
    void on_paint(Painter& p) override;

protected:
    // Joins the themed look of the control's runtime.
    platform::WindowHandle create_window(const Rect& rect) override;
    bool apply_property(int local, const Value& old) override;

private:
    void adjust(Arrow arrow);
    void stop();

    Arrow pressed_ = Arrow::None;
    Arrow hot_ = Arrow::None;
    ThemeRegistration theme_{*this};
};

} // namespace tav::ui
