// Tavrino: the main window on the desktop, with the game's operations bound to its events.

#include <cstdio>
#include <string>
#include <utility>

#include "audio/play_sound.hpp"
#include "game/game_handlers.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "runtime/runtime.hpp"
#include "runtime/startup.hpp"
#include "ui/main_window_layout.hpp"

int main() {
    std::string reason;
    auto backend = tav::platform::CreateSdlBackend(&reason);
    if (!backend) {
        if (reason.empty())
            std::fputs("tavrino: cannot open a display\n", stderr);
        else
            std::fprintf(stderr, "tavrino: cannot open a display: %s\n", reason.c_str());
        return 1;
    }
    // Sounds still playing when the window goes are stopped, and their threads joined, before
    // the program ends.
    const auto stop_sounds_at_end = [] { tav::SetEndOfProgramHook([] { tav::StopSoundsAtExit(); }); };
    return tav::RunProgram(tav::ui::MainWindowLayout(tav::game::GameHandlers()), std::move(backend), stop_sounds_at_end);
}
