#pragma once
// Kind `Timer`: raises Tick every Interval milliseconds through a platform timer on its own
// hidden window. Ticks that fall due while a handler runs are merged, never queued.

#include "ui/control.hpp"

namespace tav::ui {

class Timer : public Control {
public:
    enum Prop : int { kInterval = 0 };
    enum Event : int { kTick = 0 };
    // The platform timer id the tick runs on.
    static constexpr int kTimerId = 1000;

    Timer();
    static std::span<const PropertySpec> properties();

    std::int32_t interval() const { return prop_int(kInterval); }

    void on_timer(int timer_id) override;

protected:
    void on_created() override;
    bool apply_property(int local, const Value& old) override;
    bool shows_window() const override { return false; }
};

} // namespace tav::ui
