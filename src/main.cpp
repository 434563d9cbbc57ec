// Tavrino: the main window on the desktop, with the game's operations bound to its events.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <unistd.h>

#include "audio/play_sound.hpp"
#include "game/game_handlers.hpp"
#include "game/keyboard.hpp"
#include "game/main_window_layout.hpp"
#include "game/program_icon.hpp"
#include "gfx/font.hpp"
#include "platform/sdl/sdl_audio_device.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "runtime/command_line.hpp"
#include "runtime/runtime.hpp"
#include "runtime/startup.hpp"
#include "ui/layout_preload.hpp"
#include "ui/services.hpp"

namespace {

constexpr const char* kHelperName = "tavrino-preload";

// The helper that makes the first paint's fonts and pictures: beside this program in the
// build tree, in its own folder once installed; empty when neither has it.
std::string preload_helper() {
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

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tav::CommandLine command_line = tav::parse_command_line(args);
    if (command_line.action != tav::CommandLine::Action::Run) {
        return tav::answer_command_line(command_line, "tavrino", TAVRINO_VERSION, tav::game::keyboard_help(), stdout,
                                        stderr);
    }
    // Without a face for Chinese text every caption would be blank or boxes: say so and stop.
    if (!tav::chinese_face_installed()) {
        std::fprintf(stderr, "tavrino: no installed font covers Chinese text; install one of %s\n",
                     std::string(tav::chinese_font_packages()).c_str());
        return 1;
    }
    // What the window uses besides the display: the system's clock, our caches, the sound device.
    tav::ui::Services services;
    // The first paint's fonts, glyphs and pictures are made by the helper, on the other core,
    // while the display connection is made.
    tav::ui::LayoutPreload preload(
        preload_helper(), [] { return tav::ui::main_window_layout(tav::game::game_handlers()); }, *services.fonts,
        *services.pictures);
    std::string reason;
    auto backend = tav::platform::create_sdl_backend(&reason);
    if (!backend) {
        std::fputs(tav::display_failure_text("tavrino", std::getenv("DISPLAY")).c_str(), stderr);
        return 1;
    }
    services.sound_output = std::make_shared<tav::WaveOutput>(tav::make_sdl_audio_device());
    // Sounds still playing when the window goes are stopped, and their threads joined, before
    // the program ends, and the preloading helper is no longer listened to.
    const auto end_cleanly = [&preload] {
        tav::game::use_program_icon();
        tav::game::use_keyboard_play();
        tav::set_end_of_program_hook([&preload] {
            tav::stop_sounds_at_exit();
            preload.finish();
        });
    };
    return tav::run_program(preload.layout(), std::move(backend), end_cleanly, std::move(services));
}
