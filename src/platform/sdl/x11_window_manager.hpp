#pragma once
// What SDL does not tell the X window manager about our windows: the class, the icon at several
// sizes, dialogs with their owner and modality, the functions a fixed-size window offers, the
// frame extents before a window is mapped, the work area, and handing the keyboard to a window.
// Every call does nothing (or answers nullopt) when the window is not on X11.

#include <optional>

#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"

struct SDL_Window;

namespace tav::platform::sdl {

// The frame the window manager puts around a window, in pixels on each side.
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
};

// WM_CLASS (instance and class name), and no WM_TRANSIENT_FOR unless it is a dialog.
void set_window_class(SDL_Window* window, const char* instance, const char* class_name);
// A top-level window, not transient for anything (SDL leaves the hint on some windows).
void clear_transient_for(SDL_Window* window);
// Before the window is mapped: _NET_WM_WINDOW_TYPE_DIALOG, WM_TRANSIENT_FOR `owner` (when given)
// and, when `modal`, _NET_WM_STATE_MODAL.
void make_dialog(SDL_Window* dialog, SDL_Window* owner, bool modal);
// Before the window is mapped: the functions the window manager offers (_MOTIF_WM_HINTS):
// closing always; moving, minimising and resizing (which also allows maximising and full
// screen) as asked. The decorations stay the window manager's.
void set_window_functions(SDL_Window* window, bool minimise, bool resize, bool move);
// _NET_WM_ICON with `icon` (ARGB) and its halvings down to 16 x 16, largest first.
void set_window_icons(SDL_Window* window, const Bitmap& icon);

// _NET_FRAME_EXTENTS of the window. A window not yet mapped asks the window manager for them
// first (_NET_REQUEST_FRAME_EXTENTS) and waits up to `wait_ms` for the answer. nullopt without
// a window manager that reports them.
std::optional<FrameExtents> frame_extents(SDL_Window* window, int wait_ms);
// The desktop's work area (_NET_WORKAREA of the current desktop), else nullopt.
std::optional<Rect> work_area(SDL_Window* window);
// The window's frame on screen (client position less the extents, size plus them); nullopt
// when it is not mapped.
std::optional<Rect> frame_on_screen(SDL_Window* window);
// Raises the window and gives it the keyboard (_NET_ACTIVE_WINDOW, as a pager would).
void activate_window(SDL_Window* window);

// The Xft.dpi of the X resources (the root window's RESOURCE_MANAGER) of the display SDL
// uses; nullopt when SDL is not on X11 or the resources name none.
std::optional<int> xft_dpi();

// `icon` shrunk to half its size by averaging 2 x 2 blocks (straight ARGB).
Bitmap halved(const Bitmap& icon);

} // namespace tav::platform::sdl
