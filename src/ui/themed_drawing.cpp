#include "ui/themed_drawing.hpp"

#include <algorithm>
#include <vector>

#include "ui/control.hpp"

namespace tav::ui {
namespace {

using Entry = std::array<Argb, 4>;

constexpr Entry Vertical(Argb top, Argb bottom) { return {top, top, bottom, bottom}; }

// Scheme 1: blue.
constexpr ThemeColors kScheme1{
    Rgb(0, 60, 115), Rgb(123, 158, 189), Rgb(33, 61, 111),
    {{Vertical(Rgb(223, 232, 245), Rgb(223, 232, 245)), Vertical(Rgb(240, 246, 255), Rgb(120, 160, 220)),
      {Rgb(196, 210, 230), Rgb(200, 214, 232), Rgb(240, 244, 250), Rgb(240, 244, 250)},
      Vertical(Rgb(206, 231, 255), Rgb(105, 130, 238)), Vertical(Rgb(255, 255, 255), Rgb(214, 224, 238)),
      Vertical(Rgb(170, 186, 210), Rgb(250, 252, 255)), Vertical(Rgb(250, 252, 255), Rgb(190, 206, 228))}}};

// Scheme 2: olive green.
constexpr ThemeColors kScheme2{
    Rgb(55, 98, 6), Rgb(164, 185, 127), Rgb(58, 80, 28),
    {{Vertical(Rgb(232, 236, 214), Rgb(232, 236, 214)), Vertical(Rgb(255, 246, 208), Rgb(216, 160, 40)),
      {Rgb(210, 214, 188), Rgb(212, 216, 194), Rgb(244, 246, 236), Rgb(244, 246, 236)},
      Vertical(Rgb(226, 240, 200), Rgb(140, 180, 80)), Vertical(Rgb(255, 255, 250), Rgb(222, 226, 204)),
      Vertical(Rgb(182, 192, 156), Rgb(250, 252, 246)), Vertical(Rgb(252, 252, 246), Rgb(200, 210, 172))}}};

// Scheme 3: silver and blue, the one the game uses.
constexpr ThemeColors kScheme3{
    Rgb(0, 60, 116), Rgb(198, 197, 215), Rgb(77, 97, 133),
    {{Vertical(Rgb(239, 227, 206), Rgb(239, 227, 206)), Vertical(Rgb(255, 240, 207), Rgb(229, 151, 0)),
      {Rgb(214, 203, 189), Rgb(214, 207, 198), Rgb(247, 243, 239), Rgb(247, 243, 239)},
      Vertical(Rgb(206, 231, 255), Rgb(105, 130, 238)), Vertical(Rgb(255, 255, 255), Rgb(226, 223, 214)),
      Vertical(Rgb(179, 178, 197), Rgb(252, 252, 251)), Vertical(Rgb(252, 252, 251), Rgb(198, 197, 215))}}};

int g_scheme = 0;

std::vector<Control*>& Registered() {
    static std::vector<Control*> controls;
    return controls;
}

// Paints a control at once, as a take-over or give-back does.
void RepaintNow(Control& c) {
    if (!c.has_window()) return;
    auto& ws = *c.site().system;
    ws.invalidate(c.handle());
    ws.update(c.handle());
}

void RepaintAll() {
    // A repaint may run code that adds or removes controls: walk a copy.
    const std::vector<Control*> controls = Registered();
    for (Control* c : controls) {
        if (std::find(Registered().begin(), Registered().end(), c) != Registered().end()) RepaintNow(*c);
    }
}

} // namespace

const ThemeColors* SchemeColors(int scheme) {
    switch (scheme) {
    case 1: return &kScheme1;
    case 2: return &kScheme2;
    case 3: return &kScheme3;
    default: return nullptr;
    }
}

int ThemedScheme() { return g_scheme; }

void ThemedDrawing(int scheme) {
    if (g_scheme != 0) {
        g_scheme = 0;
        RepaintAll();
    }
    if (SchemeColors(scheme) == nullptr) return;
    g_scheme = scheme;
    RepaintAll();
}

ThemeRegistration::ThemeRegistration(Control& control) : control_(control) { Registered().push_back(&control_); }

ThemeRegistration::~ThemeRegistration() {
    auto& list = Registered();
    list.erase(std::remove(list.begin(), list.end(), &control_), list.end());
}

} // namespace tav::ui
