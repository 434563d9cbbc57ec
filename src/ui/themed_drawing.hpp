#pragma once
// The themed look of standard controls: push buttons, up-down controls and edit boxes painted
// in one of three colour schemes instead of the classic 3-D look. Controls of those kinds put
// themselves on their runtime's ThemeRegistry (one of its Services) once made, so switching
// the mode repaints the ones that exist and those created later paint themed from the start.

#include <array>
#include <vector>

#include "gfx/bitmap.hpp"

namespace tav::ui {

class Control;

// The colours of one scheme.
struct ThemeColors {
    Argb frame;   // the 1-pixel frame of push buttons
    Argb up_down; // the up-down control's background and the edit box's outer frame
    Argb arrow;   // the triangles of up-down arrows
    // Four corner colours (top-left, top-right, bottom-left, bottom-right) per gradient entry:
    // 0 pressed, 1 hot, 2 checked, 3 focused or default, 4 normal, 5 face pressed or checked,
    // 6 face otherwise.
    std::array<std::array<Argb, 4>, 7> gradients;
};

// The colours of scheme 1..3; nullptr for any other number.
const ThemeColors* scheme_colors(int scheme);

// The themed look in force for the controls of one runtime, and the controls it repaints.
class ThemeRegistry {
public:
    // Switches the themed look on with colour scheme 1, 2 or 3 (a mode already on is switched
    // off first); any other number switches it off. Every listed control is repainted at once.
    void themed_drawing(int scheme);
    // The scheme in force; 0 while the themed look is off.
    int scheme() const { return scheme_; }

    void add(Control& control) { controls_.push_back(&control); }
    void remove(Control& control);

private:
    void repaint_all();

    int scheme_ = 0;
    std::vector<Control*> controls_;
};

// Keeps a control on its registry while it lives (a member of the kind), from the time the
// kind joins it, once its site is known.
class ThemeRegistration {
public:
    explicit ThemeRegistration(Control& control) : control_(control) {}
    ~ThemeRegistration();
    ThemeRegistration(const ThemeRegistration&) = delete;
    ThemeRegistration& operator=(const ThemeRegistration&) = delete;

    // Puts the control on `registry`; later calls do nothing.
    void join(ThemeRegistry& registry);

private:
    Control& control_;
    ThemeRegistry* registry_ = nullptr;
};

} // namespace tav::ui
