// The least an SDL program does to show a window like ours, as the yardstick for start-up time:
// with the same hints, a hidden 505 x 584 window, centred, shown, filled through the window
// surface. It prints the same first-frame trace as our backend and runs until closed or sent
// SIGTERM/SIGINT.

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

int main(int, char**) {
    // The hints our SDL backend sets, so that only the work differs; but SDL's own signal
    // handlers stay, as they turn SIGTERM into the quit this program waits for.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland,KMSDRM");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_sdl_window: cannot open a display: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("Tavrino", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 505, 584, SDL_WINDOW_HIDDEN);
    if (!window) return 1;
    SDL_ShowWindow(window);
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface) return 1;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0x20, 0x60, 0xA0));
    SDL_UpdateWindowSurface(window);
    const char* trace = std::getenv("TAVRINO_TRACE_FIRST_FRAME");
    if (trace && std::strcmp(trace, "1") == 0) {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        std::fprintf(stderr, "tavrino: first frame at %lld.%09ld\n", static_cast<long long>(ts.tv_sec), ts.tv_nsec);
    }
    SDL_Event event;
    while (SDL_WaitEvent(&event)) {
        if (event.type == SDL_QUIT) break;
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED)
            SDL_UpdateWindowSurface(window);
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
