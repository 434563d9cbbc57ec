// The X display's descriptor from SDL's window-manager info, or -1 when SDL is not on X11.
#include "platform/sdl/display_connection.hpp"

#include <SDL.h>
#include <SDL_syswm.h>

namespace tav::platform::sdl {

int display_connection_fd(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return -1;
    return ConnectionNumber(info.info.x11.display);
}

} // namespace tav::platform::sdl
