#pragma once
// The desktop backend: one SDL window per top-level window of our window system, painted from
// the window system's framebuffers through SDL's window surface (no GPU renderer).
//
// Input arrives as the window system's on_native_* calls: mouse buttons (every second press of
// a quick series is a double click), moves, the wheel (120 per notch), keys as virtual key codes
// (Backspace, Tab, Return and Escape also type their control character, as the desktop's
// keyboard translation does), typed text as GBK character codes (see text_input.hpp), the pointer
// leaving, exposure, and close requests from the window manager. Keys still held when a window
// loses the keyboard are released there.

#include <memory>
#include <string>

#include "platform/backend.hpp"

namespace tav::platform {

// Opens SDL's video subsystem on a screen (X11, Wayland or the console's KMS, unless
// SDL_VIDEODRIVER names another) and returns the backend, or nullptr when there is no display;
// `error` (if given) then receives SDL's reason. Nothing is printed: the caller reports
// "tavrino: cannot open a display: <reason>" and exits non-zero. While the backend lives,
// SIGTERM, SIGINT and SIGHUP become a session-end request (WindowSystem::on_native_session_end).
// With TAVRINO_TRACE_FIRST_FRAME=1 in the environment, the first present prints
// "tavrino: first frame at <seconds>" (CLOCK_MONOTONIC) on stderr, for start-up measurements.
// The backend draws at `scale` (1..3) when given, else at the scale the desktop asks for
// (choose_display_scale: GDK_SCALE, then Xft.dpi of the X resources): native windows are the
// scale times their client size and mouse positions are divided by it.
std::unique_ptr<Backend> create_sdl_backend(std::string* error = nullptr, int scale = 0);

} // namespace tav::platform
