#pragma once
// Modal message boxes: a top-level window of our own with a text, an optional icon and a row
// of push buttons, run in a nested message loop of the window system (timers keep ticking and
// their handlers run). A box needs only the window system it opens on and the services it
// paints with: task modality disables the system's other top-level windows, which are all the
// program's own.

#include <cstdint>
#include <string>
#include <vector>

#include "core/value.hpp"
#include "platform/window_system.hpp"

namespace tav::ui {

struct Services;

// Style bits of a box.
namespace mb {
inline constexpr std::uint32_t kOk = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4,
                               kRetryCancel = 5;
inline constexpr std::uint32_t kButtonsMask = 0xF, kIconMask = 0xF0, kDefaultButtonMask = 0xF00;
inline constexpr std::uint32_t kIconStop = 0x10, kIconQuestion = 0x20, kIconExclamation = 0x30, kIconInformation = 0x40;
inline constexpr std::uint32_t kSystemModal = 0x1000, kTaskModal = 0x2000;
} // namespace mb

// The button a box was closed with, as the platform numbers them (0: failure).
enum BoxButtonId : int { kIdOk = 1, kIdCancel, kIdAbort, kIdRetry, kIdIgnore, kIdYes, kIdNo };

// One button of an open box: its id, caption (GBK), rectangle in the box's client area, window.
struct MessageBoxButtonInfo {
    int id = 0;
    Text label;
    Rect rect;
    platform::WindowHandle window = platform::kNoWindow;
};

// An open box as tests and the drawing code see it.
struct MessageBoxInfo {
    platform::WindowHandle window = platform::kNoWindow;
    Text text;
    Text caption;
    std::uint32_t style = 0; // as shown (modality bits included)
    std::uint32_t icon = 0;  // 0 or one of the mb::kIcon values
    Rect text_rect;          // where the text goes in the client area
    // The text as shown: wrapped to text_rect's width in the stock GUI font at its own line
    // breaks, at spaces, around Chinese characters, else between characters. A box is at most
    // three quarters of the screen wide and the screen high: a text past that is cut and its
    // last line ends in "…".
    std::vector<std::u32string> lines;
    std::vector<MessageBoxButtonInfo> buttons;
    int default_button = 0; // index into buttons
};

// Shows `message` (any kind: numbers, Text, Bool and DateTime as their texts, others empty)
// in a box with `flags` (Absent: 0) and `caption` (Absent: "信息："), task-modal unless the
// system-modal bit is set; returns 0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No.
std::int32_t show_message_box(platform::WindowSystem& windows, Services& services, const Value& message,
                              const Value& flags = {}, const Value& caption = {});

// The text a message value shows as.
Text message_box_text(const Value& message);

// Shows a box with no owner and waits until it is closed; returns the BoxButtonId pressed,
// or 0 when the box could not be shown or the program is quitting. Task-modal (0x2000) boxes
// disable every other top-level window of the program while they are open.
int run_message_box(platform::WindowSystem& windows, Services& services, const Text& text, const Text& caption,
                    std::uint32_t style);

// The innermost box open on `services`; nullptr when none is open. Each time a box has opened,
// before its loop runs, services.message_box_opened is called with it (tests answer it there).
const MessageBoxInfo* current_message_box(const Services& services);

} // namespace tav::ui
