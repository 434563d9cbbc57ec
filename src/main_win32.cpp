// Tavrino on Windows: the main window through the Win32 backend, sounds through waveOut.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "audio/play_sound.hpp"
#include "game/game_handlers.hpp"
#include "game/keyboard.hpp"
#include "game/main_window_layout.hpp"
#include "gfx/windows_faces.hpp"
#include "platform/win32/wave_out_device.hpp"
#include "platform/win32/win32_backend.hpp"
#include "runtime/command_line.hpp"
#include "runtime/runtime.hpp"
#include "runtime/startup.hpp"
#include "ui/services.hpp"

namespace {

// A start-up problem for the player, in a box (a program of the GUI subsystem has no console).
void show_box(const std::string& utf8, UINT icon) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), n);
    MessageBoxW(nullptr, text.c_str(), L"Tavrino", MB_OK | icon);
}

void show_start_problem(const std::string& utf8) { show_box(utf8, MB_ICONERROR); }

// --help, --version and a wrong option: the same texts and exit codes as on Linux, shown in a box.
int answer_in_a_box(const tav::CommandLine& line) {
    std::FILE* text = std::tmpfile();
    if (text == nullptr) return line.action == tav::CommandLine::Action::Error ? 2 : 0;
    const int code = tav::answer_command_line(line, "tavrino", TAVRINO_VERSION, tav::game::keyboard_help(), text, text);
    std::rewind(text);
    std::string said;
    for (int c = std::fgetc(text); c != EOF; c = std::fgetc(text)) said += char(c);
    std::fclose(text);
    show_box(said, code == 0 ? MB_ICONINFORMATION : MB_ICONERROR);
    return code;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tav::CommandLine command_line = tav::parse_command_line(args);
    if (command_line.action != tav::CommandLine::Action::Run) return answer_in_a_box(command_line);
    if (const std::string missing = tav::missing_chinese_faces(); !missing.empty()) {
        show_start_problem(missing);
        return 1;
    }
    std::string reason;
    auto backend = tav::platform::create_win32_backend(&reason, command_line.scale);
    if (!backend) {
        show_start_problem("Tavrino cannot open its window: " + reason);
        return 1;
    }
    // What the window uses besides the display: the system's clock, our caches, the sound device.
    tav::ui::Services services{.sound_output = std::make_shared<tav::WaveOutput>(tav::make_wave_out_device())};
    // Sounds still playing when the window goes are stopped, and their threads joined, before
    // the program ends.
    const auto end_cleanly = [] {
        tav::game::use_keyboard_play();
        tav::set_end_of_program_hook([] { tav::stop_sounds_at_exit(); });
    };
    return tav::run_program(tav::ui::main_window_layout(tav::game::game_handlers()), std::move(backend), end_cleanly,
                            std::move(services));
}
