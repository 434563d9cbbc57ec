// The three colour schemes, and switching between them: every registered control repainted at once.
#include "ui/themed_drawing.hpp"

#include <algorithm>
#include <vector>

#include "ui/control.hpp"

namespace tav::ui {
namespace {

using Entry = std::array<Argb, 4>;

constexpr Entry vertical(Argb top, Argb bottom) { return {top, top, bottom, bottom}; }

// Scheme 1: blue.
constexpr ThemeColors kScheme1{rgb(0, 60, 115),
                               rgb(123, 158, 189),
                               rgb(33, 61, 111),
                               {{vertical(rgb(223, 232, 245), rgb(223, 232, 245)),
                                 vertical(rgb(240, 246, 255), rgb(120, 160, 220)),
                                 {rgb(196, 210, 230), rgb(200, 214, 232), rgb(240, 244, 250), rgb(240, 244, 250)},
                                 vertical(rgb(206, 231, 255), rgb(105, 130, 238)),
                                 vertical(rgb(255, 255, 255), rgb(214, 224, 238)),
                                 vertical(rgb(170, 186, 210), rgb(250, 252, 255)),
                                 vertical(rgb(250, 252, 255), rgb(190, 206, 228))}}};

// Scheme 2: olive green.
constexpr ThemeColors kScheme2{rgb(55, 98, 6),
                               rgb(164, 185, 127),
                               rgb(58, 80, 28),
                               {{vertical(rgb(232, 236, 214), rgb(232, 236, 214)),
                                 vertical(rgb(255, 246, 208), rgb(216, 160, 40)),
                                 {rgb(210, 214, 188), rgb(212, 216, 194), rgb(244, 246, 236), rgb(244, 246, 236)},
                                 vertical(rgb(226, 240, 200), rgb(140, 180, 80)),
                                 vertical(rgb(255, 255, 250), rgb(222, 226, 204)),
                                 vertical(rgb(182, 192, 156), rgb(250, 252, 246)),
                                 vertical(rgb(252, 252, 246), rgb(200, 210, 172))}}};

// Scheme 3: silver and blue, the one the game uses.
constexpr ThemeColors kScheme3{rgb(0, 60, 116),
                               rgb(198, 197, 215),
                               rgb(77, 97, 133),
                               {{vertical(rgb(239, 227, 206), rgb(239, 227, 206)),
                                 vertical(rgb(255, 240, 207), rgb(229, 151, 0)),
                                 {rgb(214, 203, 189), rgb(214, 207, 198), rgb(247, 243, 239), rgb(247, 243, 239)},
                                 vertical(rgb(206, 231, 255), rgb(105, 130, 238)),
                                 vertical(rgb(255, 255, 255), rgb(226, 223, 214)),
                                 vertical(rgb(179, 178, 197), rgb(252, 252, 251)),
                                 vertical(rgb(252, 252, 251), rgb(198, 197, 215))}}};

// Paints a control at once, as a take-over or give-back does.
void repaint_now(Control& c) {
    if (!c.has_window()) return;
    auto& ws = *c.site().system;
    ws.invalidate(c.handle());
    ws.update(c.handle());
}

} // namespace

void ThemeRegistry::repaint_all() {
    // A repaint may run code that adds or removes controls: walk a copy.
    const std::vector<Control*> controls = controls_;
    for (Control* c : controls) {
        if (std::find(controls_.begin(), controls_.end(), c) != controls_.end()) repaint_now(*c);
    }
}

const ThemeColors* scheme_colors(int scheme) {
    switch (scheme) {
        case 1: return &kScheme1;
        case 2: return &kScheme2;
        case 3: return &kScheme3;
        default: return nullptr;
    }
}

void ThemeRegistry::themed_drawing(int scheme) {
    if (scheme_ != 0) {
        scheme_ = 0;
        repaint_all();
    }
    if (scheme_colors(scheme) == nullptr) return;
    scheme_ = scheme;
    repaint_all();
}

void ThemeRegistry::remove(Control& control) { std::erase(controls_, &control); }

void ThemeRegistration::join(ThemeRegistry& registry) {
    if (registry_ != nullptr) return;
    registry_ = &registry;
    registry.add(control_);
}

ThemeRegistration::~ThemeRegistration() {
    if (registry_ != nullptr) registry_->remove(control_);
}

} // namespace tav::ui
