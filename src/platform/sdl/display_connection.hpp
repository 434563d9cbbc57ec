#pragma once
// The display connection under SDL's windows, for waiting on input without SDL.

struct SDL_Window;

namespace tav::platform::sdl {

// The file descriptor SDL reads the window's input from (its X11 connection), or -1 when the
// video driver is not X11. Kept apart because the X11 headers define macros (Bool, Status)
// that clash with our names.
int display_connection_fd(SDL_Window* window);

} // namespace tav::platform::sdl
