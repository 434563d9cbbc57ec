// Tavrino: the main window on the desktop, with the game's operations bound to its events.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "assets/assets.hpp"
#include "audio/play_sound.hpp"
#include "game/game_handlers.hpp"
#include "game/keyboard.hpp"
#include "game/main_window_layout.hpp"
#include "game/program_icon.hpp"
#include "gfx/font.hpp"
#include "platform/sdl/compose_cache.hpp"
#include "platform/sdl/sdl_audio_device.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "platform/sdl/termination_signals.hpp"
#include "runtime/command_line.hpp"
#include "runtime/runtime.hpp"
#include "runtime/startup.hpp"
#include "ui/font_warm_up.hpp"
#include "ui/services.hpp"

namespace {

// A display server that is stopped takes the connection but never answers: start-up waits this
// long for it, then says so and ends with 1.
constexpr std::chrono::seconds kDisplayAnswerTimeout{10};
// A termination request ends the program within a second: when the orderly end has not come
// this long after the request (a stopped display blocks the window calls), the sounds are
// stopped and the process ends at once, with the code the orderly end gives.
constexpr std::chrono::milliseconds kTerminationGrace{750};
constexpr int kTerminationExitCode = 0;

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tav::CommandLine command_line = tav::parse_command_line(args);
    if (command_line.action != tav::CommandLine::Action::Run) {
        return tav::answer_command_line(command_line, "tavrino", TAVRINO_VERSION, tav::game::keyboard_help(), stdout,
                                        stderr);
    }
    // Xlib parses the Compose file as the display opens unless it finds a cache of it; it is told
    // where to keep one here, before any thread could be reading the environment.
    tav::platform::sdl::use_compose_cache();
    // What the window uses besides the display: the system's clock, our caches, the sound device.
    tav::ui::Services services;
    const auto layout = tav::ui::main_window_layout(tav::game::game_handlers());
    // The pictures come decoded, and the board scaled, from the program's static data.
    const auto pictures = tav::assets::adopt_predecoded_pictures(*services.pictures);
    // Whether any face covers Chinese text is found out, and the fonts and glyphs of the first
    // paint are made, on the other core while the display connection is opened.
    const auto fonts = services.fonts; // held until the warm-up thread has ended
    const tav::ui::FontWarmUp font_warm_up(layout, *fonts);
    std::string reason;
    std::unique_ptr<tav::platform::Backend> backend;
    {
        using tav::platform::sdl::ExitWatchdog;
        const std::string silent = tav::display_silent_text("tavrino", std::getenv("DISPLAY"));
        const ExitWatchdog display_answers(ExitWatchdog::Arming::Now, kDisplayAnswerTimeout, 1,
                                           [&silent] { std::fputs(silent.c_str(), stderr); });
        backend = tav::platform::create_sdl_backend(&reason, command_line.scale);
    }
    if (!backend) {
        std::fputs(tav::display_failure_text("tavrino", std::getenv("DISPLAY")).c_str(), stderr);
        return 1;
    }
    // Without a face for Chinese text every caption would be blank or boxes: say so and stop.
    if (!font_warm_up.chinese_face_installed()) {
        std::fprintf(stderr, "tavrino: no installed font covers Chinese text; install one of %s\n",
                     std::string(tav::chinese_font_packages()).c_str());
        return 1;
    }
    services.sound_output = std::make_shared<tav::WaveOutput>(tav::make_sdl_audio_device());
    // Sounds still playing when the window goes are stopped, and their threads joined, before
    // the program ends.
    const auto end_cleanly = [] {
        tav::game::use_program_icon();
        tav::game::use_keyboard_play();
        tav::set_end_of_program_hook([] { tav::stop_sounds_at_exit(); });
    };
    // The game's windows never refuse a session end, so every request the backend takes ends it.
    const tav::platform::sdl::ExitWatchdog termination(tav::platform::sdl::ExitWatchdog::Arming::OnTerminationRequest,
                                                       kTerminationGrace, kTerminationExitCode,
                                                       [] { tav::stop_sounds_at_exit(); });
    return tav::run_program(layout, std::move(backend), end_cleanly, std::move(services));
}
