// Tavrino: the main window on the desktop, with the game's operations bound to its events.

#include <cstdio>
#include <string>
#include <utility>

#include "audio/play_sound.hpp"
#include "game/game_handlers.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "runtime/runtime.hpp"
#include "runtime/startup.hpp"
#include "ui/drawing/layout_preload.hpp"
#include "ui/main_window_layout.hpp"

int main() {
    // The layout is built, and its fonts, glyphs and pictures made, on the other core while
    // the display connection is made.
    tav::ui::LayoutPreload preload([] { return tav::ui::MainWindowLayout(tav::game::GameHandlers()); });
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
    // the program ends; so is the preloading, should a fatal error end the program early.
    const auto end_cleanly = [&preload] {
        tav::SetEndOfProgramHook([&preload] {
            tav::StopSoundsAtExit();
            preload.finish();
        });
    };
    return tav::RunProgram(preload.layout(), std::move(backend), end_cleanly);
}
