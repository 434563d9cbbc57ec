#pragma once
// The Windows desktop backend: one native top-level window per top-level window of our window
// system, painted from the window system's framebuffers through a DIB section.
//
// Windows are framed from their style (caption, system menu, minimise box, a fixed border unless
// resizable; a tool window's frame, the sunken client edge and the top-most band as asked; no
// Move in the system menu, and no dragging, for a window that may not move), sized so that the
// client area is exactly the asked size times the scale, and placed relative to the work area
// (the screen without the task bar). Moves and resizes the player makes are reported back
// through WindowSystem::on_native_placed(). Input arrives as the window system's on_native_*
// calls: mouse buttons (the class asks for double clicks), moves and the pointer leaving, the
// wheel, keys as the virtual key codes Windows reports, typed characters as GBK character codes
// (the keyboard translation's WM_CHAR, so Backspace, Tab, Return and Escape type their control
// characters), close requests and the session's end (WM_QUERYENDSESSION). Keys still held when
// a window loses the keyboard are released there. The deadline wait is MsgWaitForMultipleObjectsEx
// on the message queue and a wake event, with the system timer at 1 ms while the backend lives.

#include <memory>
#include <string>

#include "platform/backend.hpp"

namespace tav::platform {

// Registers the window class and returns the backend, or nullptr (with the reason in `error`,
// if given) when it cannot. It draws at `scale` (1..3; 0: the system DPI decides, 2 at 192 DPI
// and more, 3 at 288, as choose_display_scale() says), fixed for its life: the manifest declares
// per-monitor awareness, so Windows does not stretch the window, and a DPI change while it runs
// is not followed. With TAVRINO_TRACE_FIRST_FRAME=1 in the environment, the first present prints
// "tavrino: first frame <ms> ms after the process started" on stderr.
std::unique_ptr<Backend> create_win32_backend(std::string* error = nullptr, int scale = 0);

} // namespace tav::platform
