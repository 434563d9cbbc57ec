#pragma once
// The face of a message box: a white message area over a button strip in the face colour,
// the icon of the box's flags and the message's lines, laid out by the box, in the stock GUI font. The buttons
// are push buttons of their own (paint_push_button).

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/font.hpp"
#include "gfx/geometry.hpp"
#include "gfx/painter.hpp"

namespace tav::ui {

// Icon flags of a message box (the 0xF0 bits of its style).
inline constexpr std::uint32_t kBoxIconStop = 0x10;
inline constexpr std::uint32_t kBoxIconQuestion = 0x20;
inline constexpr std::uint32_t kBoxIconExclamation = 0x30;
inline constexpr std::uint32_t kBoxIconInformation = 0x40;
// Width and height of a box's icon.
inline constexpr int kBoxIconSize = 32;

// Where things go in the box's client area.
struct MessageBoxFace {
    Size client;
    std::uint32_t icon = 0;                             // 0 or one of the kBoxIcon values
    Rect icon_rect;                                     // kBoxIconSize square
    Rect text_rect;                                     // the top of the message and the width its lines fit
    const std::vector<std::u32string>* lines = nullptr; // the message, one entry a line (none: no text)
    int button_top = 0;                                 // the top of the button row
    FontCache* fonts = nullptr;                         // the message's and the icon's fonts come from here (required)
};

// Paints the whole face of a box.
void paint_message_box(Painter& p, const MessageBoxFace& face);

// Draws an icon into `r` (at most kBoxIconSize square used) over a white background: a red circle with a
// white cross (stop), a blue circle with "?" (question), a yellow triangle with "!"
// (exclamation), a blue circle with "i" (information). Other flags draw nothing.
void draw_message_box_icon(Painter& p, FontCache& fonts, const Rect& r, std::uint32_t icon);

} // namespace tav::ui
