// Tavrino: the main window on the desktop, with the game's operations bound to its events.

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include <unistd.h>

#include "audio/play_sound.hpp"
#include "game/game_handlers.hpp"
#include "platform/sdl/sdl_audio_device.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "runtime/runtime.hpp"
#include "runtime/startup.hpp"
#include "ui/layout_preload.hpp"
#include "game/main_window_layout.hpp"

namespace {

constexpr const char* kHelperName = "tavrino-preload";

// The helper that makes the first paint's fonts and pictures: beside this program in the
// build tree, in its own folder once installed; empty when neither has it.
std::string PreloadHelper() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const std::filesystem::path folder = exe.parent_path();
    for (const auto& helper : {folder / kHelperName, folder / TAVRINO_HELPER_FROM_BIN / kHelperName}) {
        if (::access(helper.c_str(), X_OK) == 0) return helper;
    }
    return {};
}

} // namespace

int main() {
    // The first paint's fonts, glyphs and pictures are made by the helper, on the other core,
    // while the display connection is made.
    tav::ui::LayoutPreload preload(PreloadHelper(), [] { return tav::ui::MainWindowLayout(tav::game::GameHandlers()); });
    std::string reason;
    auto backend = tav::platform::CreateSdlBackend(&reason);
    if (!backend) {
        if (reason.empty())
            std::fputs("tavrino: cannot open a display\n", stderr);
        else
            std::fprintf(stderr, "tavrino: cannot open a display: %s\n", reason.c_str());
        return 1;
    }
    tav::UseWaveDevice(tav::MakeSdlAudioDevice());
    // Sounds still playing when the window goes are stopped, and their threads joined, before
    // the program ends, and the preloading helper is no longer listened to.
    const auto end_cleanly = [&preload] {
        tav::SetEndOfProgramHook([&preload] {
            tav::StopSoundsAtExit();
            preload.finish();
        });
    };
    return tav::RunProgram(preload.layout(), std::move(backend), end_cleanly);
}
