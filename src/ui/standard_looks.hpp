#pragma once
// The looks of the standard controls: push buttons, up-down arrow pairs and edit boxes, each in
// the classic 3-D look and in the themed look. Themed looks are composed in an off-screen
// bitmap of the client size and copied onto the control in one step.

#include <cstdint>
#include <span>
#include <string_view>

#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/geometry.hpp"
#include "gfx/painter.hpp"
#include "ui/themed_drawing.hpp"

namespace tav::ui {

// The state of a push button as its look needs it.
struct PushButtonLook {
    std::string_view caption_gbk;
    std::span<const std::uint8_t> font; // stored Font value (anything but 60 bytes: stock font)
    int halign = 1;                     // 0 left, 1 centre, 2 right
    int valign = 1;                     // 0 top, 1 middle, 2 bottom
    bool enabled = true;
    bool focused = false;
    bool hot = false;
    bool pressed = false;
    bool checked = false;
    bool is_default = false;
    const Bitmap* picture = nullptr; // a bitmap button shows this instead of its caption
    int scheme = 0;                  // the themed look's scheme in force; 0: classic
    FontCache* fonts = nullptr;      // where the caption's font comes from (required)
};

// Paints a push button of `size` in the look in force (themed when `look.scheme` is not 0;
// a bitmap button always keeps the classic look).
void paint_push_button(Painter& p, Size size, const PushButtonLook& look);
// The classic look: a raised 3-D face, sunken while pressed, a black frame on the default or
// focused button, the caption centred as aligned and a focus rectangle.
void paint_classic_push_button(Painter& p, Size size, const PushButtonLook& look);
// The themed look of `scheme`.
void paint_themed_push_button(Painter& p, Size size, const PushButtonLook& look, const ThemeColors& scheme);

// The state of an up-down control: which arrow is pressed or under the pointer.
struct UpDownLook {
    bool vertical = true;
    bool enabled = true;
    bool first_pressed = false;  // upper (vertical) or left (horizontal) arrow
    bool second_pressed = false; // lower or right arrow
    bool first_hot = false;
    bool second_hot = false;
    int scheme = 0; // the themed look's scheme in force; 0: classic
};

// Paints an up-down control in the look in force.
void paint_up_down(Painter& p, Size size, const UpDownLook& look);

// The state of an edit box as its look needs it.
struct EditBoxLook {
    std::string_view text_gbk; // what is shown (already masked for passwords)
    std::span<const std::uint8_t> font;
    int border = 1; // Border 0..5
    Argb text_color = rgb(0, 0, 0);
    Argb back_color = rgb(255, 255, 255);
    bool enabled = true;
    bool read_only = false;
    bool focused = false;
    int sel_start = 0; // in bytes of text_gbk
    int sel_length = 0;
    int scheme = 0;             // the themed look's scheme in force; 0: classic
    FontCache* fonts = nullptr; // where the text's font comes from (required)
};

// Paints an edit box in the look in force: the classic box, with the themed frame over its
// border when the themed look is on.
void paint_edit_box(Painter& p, Size size, const EditBoxLook& look);

} // namespace tav::ui
